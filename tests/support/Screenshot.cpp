// Screenshot files of the tests.
#include "support/Screenshot.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace mirefell::testing
{

std::filesystem::path WriteScreenshot(const std::string& name, const Image& image)
{
    const std::filesystem::path path = std::filesystem::path(MIREFELL_RUN_DIR) / "test-output" / (name + ".png");
    std::filesystem::create_directories(path.parent_path());
    const std::vector<uint8_t> png = EncodePng(image);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

} // namespace mirefell::testing
