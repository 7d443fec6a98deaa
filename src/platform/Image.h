// Image: an RGBA8 picture in memory, top row first, and the PNG coding the
// texture loader and the asset generator need. The codecs are stb's, kept
// behind this header so that nothing outside the platform layer includes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirefell
{

struct Image
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba; // width x height x 4 bytes, rows top first

    Image() = default;
    Image(uint32_t width_, uint32_t height_) : width(width_), height(height_), rgba(size_t(width_) * height_ * 4) {}
};

// Decodes a PNG (or another format stb reads) to RGBA8. Throws
// GameError("image cannot be decoded", <reason>) for bytes it cannot read.
Image DecodeImage(const uint8_t* bytes, size_t size);

// Encodes RGBA8 as PNG bytes. Same image, same bytes.
std::vector<uint8_t> EncodePng(const Image& image);

} // namespace mirefell
