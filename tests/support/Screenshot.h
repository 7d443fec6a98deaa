// Screenshot: writes a render target to "<run folder>/test-output/<name>.png"
// so a person can open what a drawing test drew. Returns the path written.
#pragma once

#include <filesystem>
#include <string>

namespace mirefell
{
namespace gpu
{
class Context;
class Texture2D;
} // namespace gpu

namespace testing
{

std::filesystem::path SaveScreenshot(gpu::Context& context, gpu::Texture2D* target, const std::string& name);

} // namespace testing
} // namespace mirefell
