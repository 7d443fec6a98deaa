// ShaderErrorReport: how the renderer tells the player that a shader it
// compiles at run time (the adaptive SSAO's) failed: the caption and the
// compiler's text on stderr and in a message box when a display exists. The
// report is replaceable, so tests see it without a window; the renderer
// carries on without the effect either way.
#pragma once

#include <functional>
#include <string>

namespace mirefell
{

using ShaderErrorReporter = std::function<void(const std::string& caption, const std::string& text)>;

void ReportShaderError(const std::string& caption, const std::string& text);

// Replaces the report and returns the one it replaces; an empty function
// brings back the default (stderr and message box).
ShaderErrorReporter SetShaderErrorReporter(ShaderErrorReporter reporter);

} // namespace mirefell
