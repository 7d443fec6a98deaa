// PNG decoding and encoding through stb (the library's compiled copies; this
// file defines no implementation macro). Decoding checks the file's framing
// and size first, so stb only ever sees a bounded PNG.
#include "platform/Image.h"

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void Refuse(const std::string& reason)
{
    throw GameError("image cannot be decoded", reason);
}

uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
}

// Walks the chunks up to IEND: each must fit in the file. The decoder sizes
// its buffers from the chunk lengths before it reads them, so a forged length
// would otherwise ask for up to a gigabyte.
void CheckChunks(const uint8_t* bytes, size_t size)
{
    if (size < sizeof PngSignature || std::memcmp(bytes, PngSignature, sizeof PngSignature) != 0)
        Refuse("not a PNG file");
    size_t offset = sizeof PngSignature;
    while (offset < size) {
        constexpr size_t framing = 12; // length, type, CRC
        if (size - offset < framing)
            Refuse("truncated chunk");
        const uint32_t length = ReadBigEndian32(bytes + offset);
        if (length > size - offset - framing)
            Refuse("a chunk is longer than the file");
        const bool end = std::memcmp(bytes + offset + 4, "IEND", 4) == 0;
        // The decoder copies an empty first IDAT from a null buffer.
        if (length == 0 && std::memcmp(bytes + offset + 4, "IDAT", 4) == 0)
            Refuse("an empty image data chunk");
        offset += framing + length;
        if (end)
            break;
    }
}

} // namespace

Image DecodeImage(const uint8_t* bytes, size_t size)
{
    if (bytes == nullptr || size == 0 || size > static_cast<size_t>(INT_MAX))
        Refuse("empty or oversized file");
    CheckChunks(bytes, size);
    int width = 0;
    int height = 0;
    int channels = 0;
    if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels))
        Refuse(stbi_failure_reason() ? stbi_failure_reason() : "unreadable header");
    if (width <= 0 || height <= 0 || static_cast<uint32_t>(width) > MaxImageSide ||
        static_cast<uint32_t>(height) > MaxImageSide)
        Refuse(std::to_string(width) + "x" + std::to_string(height) + " is larger than the " +
               std::to_string(MaxImageSide) + "x" + std::to_string(MaxImageSide) + " the game reads");
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4);
    if (pixels == nullptr)
        Refuse(stbi_failure_reason() ? stbi_failure_reason() : "");
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
