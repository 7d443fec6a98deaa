// Screenshot: read-back, PNG coding, file.
#include "support/Screenshot.h"

#include <fstream>
#include <stdexcept>
#include <vector>

#include "platform/gpu/Context.h"

namespace mirefell::testing
{

std::filesystem::path WriteScreenshot(const std::string& name, const Image& image)
{
    const std::filesystem::path path = std::filesystem::path(MIREFELL_RUN_DIR) / "test-output" / (name + ".png");
    std::filesystem::create_directories(path.parent_path());
    const std::vector<uint8_t> png = EncodePng(image);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

std::filesystem::path SaveScreenshot(gpu::Context& context, gpu::Texture2D* target, const std::string& name)
{
    Image image(target->Desc().width, target->Desc().height);
    image.rgba = context.ReadPixelsRGBA8(target);
    return WriteScreenshot(name, image);
}

} // namespace mirefell::testing
