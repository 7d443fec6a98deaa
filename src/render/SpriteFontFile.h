// SpriteFontFile: the byte layout of "assets/fonts/<name>.spritefont", our own,
// with its bounded reader and the writer the asset generator uses. It holds
// the glyph table and one alpha atlas; it knows nothing of the GPU (SpriteFont
// turns it into a texture) and nothing of FreeType (the generator fills it).
//
// Layout, little-endian, no padding:
//   0   8 bytes  "MFSPFONT"
//   8   u32      version, 1
//   12  f32      line spacing in pixels
//   16  u32      default character (drawn for characters the font lacks)
//   20  u32      glyph count
//   24  u32      atlas width, 28 u32 atlas height
//   32  glyphs, 32 bytes each, characters strictly ascending:
//       u32 character; i32 left, top, right, bottom (the atlas rectangle);
//       f32 x offset (added to the pen before the glyph), y offset (from the
//       line top to the rectangle's top), x advance (added after the
//       rectangle's width)
//   then width x height bytes of coverage, rows top first.
// The file ends exactly there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace mirefell
{

struct SpriteGlyph
{
    uint32_t character = 0;
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    float xOffset = 0.0f;
    float yOffset = 0.0f;
    float xAdvance = 0.0f;
};

struct SpriteFontData
{
    float lineSpacing = 0.0f;
    uint32_t defaultCharacter = 0;
    std::vector<SpriteGlyph> glyphs; // ascending by character
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> coverage; // width x height, rows top first
};

// Largest atlas side and glyph count a file may declare.
inline constexpr uint32_t MaxSpriteFontAtlasSide = 4096;
inline constexpr uint32_t MaxSpriteFontGlyphs = 65536;

// Throws GameError("sprite font is invalid", <why>) for anything but a whole,
// consistent file: a wrong magic or version, counts or sizes past the limits
// or the byte count, glyphs out of order or outside the atlas, numbers that
// are not finite or a default character that has no glyph.
SpriteFontData ReadSpriteFont(const uint8_t* bytes, size_t size);

// The bytes of a font; ReadSpriteFont(WriteSpriteFont(d)) gives d back.
std::vector<uint8_t> WriteSpriteFont(const SpriteFontData& font);

} // namespace mirefell
