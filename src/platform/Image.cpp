// PNG decoding and encoding through stb (the library's compiled copies; this
// file defines no implementation macro).
#include "platform/Image.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/GameError.h"

namespace mirefell
{

Image DecodeImage(const uint8_t* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX))
        throw GameError("image cannot be decoded", "empty or oversized file");
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (pixels == nullptr)
        throw GameError("image cannot be decoded", stbi_failure_reason() ? stbi_failure_reason() : "");
    Image image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    std::memcpy(image.rgba.data(), pixels, image.rgba.size());
    stbi_image_free(pixels);
    return image;
}

std::vector<uint8_t> EncodePng(const Image& image)
{
    std::vector<uint8_t> out;
    auto append = [](void* context, void* data, int size) {
        auto* target = static_cast<std::vector<uint8_t>*>(context);
        const auto* bytes = static_cast<const uint8_t*>(data);
        target->insert(target->end(), bytes, bytes + size);
    };
    const int ok = stbi_write_png_to_func(append, &out, static_cast<int>(image.width), static_cast<int>(image.height),
                                          4, image.rgba.data(), static_cast<int>(image.width * 4));
    if (ok == 0)
        throw GameError("image cannot be encoded", std::to_string(image.width) + "x" + std::to_string(image.height));
    return out;
}

} // namespace mirefell
