// The game's fixed texture table: 69 rows in load order, each a registry
// name, a file under "assets/textures/" and how it is loaded. The asset
// generator writes exactly these files.
#pragma once

#include <array>
#include <string>

namespace mirefell
{

enum class TextureLoadMode
{
    MippedSrgb, // sRGB, full mip chain made on the GPU (level and model textures)
    SingleSrgb, // sRGB, one level (interface images and sprites)
    NormalMap,  // the file's own linear format, full mip chain
    DdsSrgb,    // the DDS sky box, read as sRGB
};

struct TextureTableRow
{
    const char* name;
    std::wstring path;
    TextureLoadMode mode;
};

inline constexpr size_t TextureTableSize = 69;

// The table, built once.
const std::array<TextureTableRow, TextureTableSize>& GetTextureTable();

} // namespace mirefell
