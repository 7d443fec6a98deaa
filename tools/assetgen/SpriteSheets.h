// Layout of the monster sprite sheets "nom" and "eye": square frames of
// FrameSize pixels, four to a row, in the order of the monsters' entity meshes
// (nom_walk0 .. nom_death3, eye_walk0 .. eye_attack1). The mesh generator maps
// each frame mesh onto its cell with FrameRect.
#pragma once

#include <array>

namespace mirefell::assetgen
{

inline constexpr int SpriteFrameSize = 64;
inline constexpr int SpriteSheetColumns = 4;

inline constexpr std::array<const char*, 8> NomFrames = {"nom_walk0",  "nom_walk1",  "nom_attack0", "nom_attack1",
                                                         "nom_death0", "nom_death1", "nom_death2",  "nom_death3"};
inline constexpr std::array<const char*, 10> EyeFrames = {"eye_walk0",   "eye_walk1",  "eye_walk2",  "eye_walk3",
                                                          "eye_death0",  "eye_death1", "eye_death2", "eye_death3",
                                                          "eye_attack0", "eye_attack1"};

// Sheet sizes in pixels.
inline constexpr int NomSheetWidth = SpriteFrameSize * SpriteSheetColumns;
inline constexpr int NomSheetHeight = SpriteFrameSize * 2;
inline constexpr int EyeSheetWidth = SpriteFrameSize * SpriteSheetColumns;
inline constexpr int EyeSheetHeight = SpriteFrameSize * 3;

struct FrameUv
{
    float u0, v0, u1, v1; // top-left and bottom-right texture coordinates
};

// Texture coordinates of frame `index` in a sheet of the given size.
constexpr FrameUv FrameRect(int index, int sheetWidth, int sheetHeight)
{
    const int column = index % SpriteSheetColumns;
    const int row = index / SpriteSheetColumns;
    return {float(column * SpriteFrameSize) / float(sheetWidth), float(row * SpriteFrameSize) / float(sheetHeight),
            float((column + 1) * SpriteFrameSize) / float(sheetWidth),
            float((row + 1) * SpriteFrameSize) / float(sheetHeight)};
}

} // namespace mirefell::assetgen
