// DdsReader: our small reader of DirectDraw Surface files, enough for the sky
// box: 2D textures and cube maps with their mip chains, stored as 32-bit RGBA
// or BGRA (with or without the DX10 header) or block-compressed BC1, BC2 or
// BC3, which it decodes. Every size and offset is checked against the file,
// so a truncated or hostile file fails with a clear error, never a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirefell
{

struct DdsImage
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t mipLevels = 1;
    bool cube = false;
    // One RGBA8 block per face and mip, face-major (every mip of face 0,
    // then of face 1, ...), rows top first.
    std::vector<std::vector<uint8_t>> subresources;
};

// Throws GameError("DDS file cannot be read", <why>).
DdsImage ReadDds(const uint8_t* bytes, size_t size);

} // namespace mirefell
