// Screenshots of headless GL tests: PNG files under "test-output/" in the
// run folder, named by the test, for a person to open and look at.
#pragma once

#include <filesystem>
#include <string>

#include "platform/Image.h"

namespace mirefell::testing
{

// Writes `image` as test-output/<name>.png (folders in `name` are made) and
// returns the file's path.
std::filesystem::path WriteScreenshot(const std::string& name, const Image& image);

} // namespace mirefell::testing
