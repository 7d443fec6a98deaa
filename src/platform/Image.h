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

// The longest side of a picture the game reads: its largest texture is
// 512 pixels wide, so this leaves room and still bounds what a forged header
// can make the decoder allocate (16 MB of RGBA).
inline constexpr uint32_t MaxImageSide = 2048;

// Decodes a PNG to RGBA8. Throws GameError("image cannot be decoded",
// <reason>) for bytes it cannot read: not a PNG, a chunk longer than the
// file, an empty IDAT chunk, a picture with a side longer than MaxImageSide (refused from its
// header, before anything is decoded), or data the decoder rejects.
Image DecodeImage(const uint8_t* bytes, size_t size);

// Encodes RGBA8 as PNG bytes. Same image, same bytes.
std::vector<uint8_t> EncodePng(const Image& image);

} // namespace mirefell
