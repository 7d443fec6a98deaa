// SpriteFontFile: every count and size is checked before it is used, in
// 64-bit arithmetic, so a hostile file can neither overflow nor over-read.
#include "render/SpriteFontFile.h"

#include <cmath>
#include <cstring>
#include <string>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

constexpr char Magic[8] = {'M', 'F', 'S', 'P', 'F', 'O', 'N', 'T'};
constexpr uint32_t Version = 1;
constexpr size_t HeaderBytes = 32;
constexpr size_t GlyphBytes = 32;
// Offsets and spacing beyond this many pixels are not a font of ours.
constexpr float MaxMetric = 4096.0f;
constexpr uint32_t MaxCharacter = 0x10FFFF;

[[noreturn]] void Fail(const std::string& why)
{
    throw GameError("sprite font is invalid", why);
}

uint32_t U32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

float F32(const uint8_t* at)
{
    const uint32_t bits = U32(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool Metric(float value)
{
    return std::isfinite(value) && std::fabs(value) <= MaxMetric;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutF32(std::vector<uint8_t>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(out, bits);
}

} // namespace

SpriteFontData ReadSpriteFont(const uint8_t* bytes, size_t size)
{
    if (size < HeaderBytes)
        Fail("shorter than its header");
    if (std::memcmp(bytes, Magic, sizeof Magic) != 0)
        Fail("not a sprite font");
    if (U32(bytes + 8) != Version)
        Fail("unknown version " + std::to_string(U32(bytes + 8)));

    SpriteFontData font;
    font.lineSpacing = F32(bytes + 12);
    font.defaultCharacter = U32(bytes + 16);
    const uint32_t glyphCount = U32(bytes + 20);
    font.width = U32(bytes + 24);
    font.height = U32(bytes + 28);
    if (!Metric(font.lineSpacing) || font.lineSpacing <= 0.0f)
        Fail("line spacing out of range");
    if (glyphCount == 0 || glyphCount > MaxSpriteFontGlyphs)
        Fail("glyph count out of range");
    if (font.width == 0 || font.height == 0 || font.width > MaxSpriteFontAtlasSide ||
        font.height > MaxSpriteFontAtlasSide)
        Fail("atlas size out of range");
    const uint64_t atlasBytes = uint64_t(font.width) * font.height;
    const uint64_t expected = HeaderBytes + uint64_t(glyphCount) * GlyphBytes + atlasBytes;
    if (size != expected)
        Fail("size " + std::to_string(size) + " where the header gives " + std::to_string(expected));

    font.glyphs.resize(glyphCount);
    bool hasDefault = false;
    for (uint32_t i = 0; i < glyphCount; ++i) {
        const uint8_t* at = bytes + HeaderBytes + size_t(i) * GlyphBytes;
        SpriteGlyph& glyph = font.glyphs[i];
        glyph.character = U32(at);
        glyph.left = static_cast<int32_t>(U32(at + 4));
        glyph.top = static_cast<int32_t>(U32(at + 8));
        glyph.right = static_cast<int32_t>(U32(at + 12));
        glyph.bottom = static_cast<int32_t>(U32(at + 16));
        glyph.xOffset = F32(at + 20);
        glyph.yOffset = F32(at + 24);
        glyph.xAdvance = F32(at + 28);
        const std::string which = "glyph " + std::to_string(i);
        if (glyph.character > MaxCharacter || (i > 0 && glyph.character <= font.glyphs[i - 1].character))
            Fail(which + ": characters not strictly ascending");
        if (glyph.left < 0 || glyph.top < 0 || glyph.left > glyph.right || glyph.top > glyph.bottom ||
            uint32_t(glyph.right) > font.width || uint32_t(glyph.bottom) > font.height)
            Fail(which + ": rectangle outside the atlas");
        if (!Metric(glyph.xOffset) || !Metric(glyph.yOffset) || !Metric(glyph.xAdvance))
            Fail(which + ": metrics out of range");
        hasDefault = hasDefault || glyph.character == font.defaultCharacter;
    }
    if (!hasDefault)
        Fail("default character has no glyph");

    const uint8_t* atlas = bytes + HeaderBytes + size_t(glyphCount) * GlyphBytes;
    font.coverage.assign(atlas, atlas + atlasBytes);
    return font;
}

std::vector<uint8_t> WriteSpriteFont(const SpriteFontData& font)
{
    std::vector<uint8_t> out(sizeof Magic);
    out.reserve(HeaderBytes + font.glyphs.size() * GlyphBytes + font.coverage.size());
    std::memcpy(out.data(), Magic, sizeof Magic);
    PutU32(out, Version);
    PutF32(out, font.lineSpacing);
    PutU32(out, font.defaultCharacter);
    PutU32(out, static_cast<uint32_t>(font.glyphs.size()));
    PutU32(out, font.width);
    PutU32(out, font.height);
    for (const SpriteGlyph& glyph : font.glyphs) {
        PutU32(out, glyph.character);
        for (int32_t edge : {glyph.left, glyph.top, glyph.right, glyph.bottom})
            PutU32(out, static_cast<uint32_t>(edge));
        PutF32(out, glyph.xOffset);
        PutF32(out, glyph.yOffset);
        PutF32(out, glyph.xAdvance);
    }
    out.insert(out.end(), font.coverage.begin(), font.coverage.end());
    return out;
}

} // namespace mirefell
