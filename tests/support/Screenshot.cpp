// Screenshot: read-back, PNG coding, file.
#include "support/Screenshot.h"

#include <fstream>
#include <stdexcept>

#include "platform/Image.h"
#include "platform/gpu/Context.h"

namespace mirefell::testing
{

std::filesystem::path SaveScreenshot(gpu::Context& context, gpu::Texture2D* target, const std::string& name)
{
    Image image(target->Desc().width, target->Desc().height);
    image.rgba = context.ReadPixelsRGBA8(target);
    const std::vector<uint8_t> png = EncodePng(image);
    const std::filesystem::path folder = std::filesystem::path(MIREFELL_RUN_DIR) / "test-output";
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = folder / (name + ".png");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

} // namespace mirefell::testing
