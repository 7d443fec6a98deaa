// Screenshots of headless GL tests: PNG files under "test-output/" in the
// run folder, named by the test, for a person to open and look at.
#pragma once

#include <filesystem>
#include <string>

#include "platform/Image.h"

namespace mirefell
{
namespace gpu
{
class Context;
class Texture2D;
} // namespace gpu

namespace testing
{

// Writes `image` as test-output/<name>.png (folders in `name` are made) and
// returns the file's path.
std::filesystem::path WriteScreenshot(const std::string& name, const Image& image);
// Reads the render target back and writes it the same way.
std::filesystem::path SaveScreenshot(gpu::Context& context, gpu::Texture2D* target, const std::string& name);

} // namespace testing
} // namespace mirefell
