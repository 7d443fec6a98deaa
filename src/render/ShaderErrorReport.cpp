// ShaderErrorReport: stderr and a message box, or the replacement.
#include "render/ShaderErrorReport.h"

#include <cstdio>
#include <utility>

#include "platform/MessageBox.h"

namespace mirefell
{

namespace
{

ShaderErrorReporter& Replacement()
{
    static ShaderErrorReporter reporter;
    return reporter;
}

} // namespace

void ReportShaderError(const std::string& caption, const std::string& text)
{
    if (Replacement()) {
        Replacement()(caption, text);
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    ShowErrorMessageBox(caption, text);
}

ShaderErrorReporter SetShaderErrorReporter(ShaderErrorReporter reporter)
{
    return std::exchange(Replacement(), std::move(reporter));
}

} // namespace mirefell
