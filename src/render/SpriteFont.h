// SpriteFont: a bitmap font read from a sprite-font file (SpriteFontFile.h),
// with its atlas as a texture, that lays out and draws wide strings through a
// SpriteBatch. The atlas is white with the glyph coverage in alpha, so a text
// takes its colour from the tint and suits non-premultiplied blending.
//
// Layout of a string, the same for measuring and drawing: the pen starts at
// (0, 0); "\r" is skipped; "\n" returns the pen to x = 0 and moves it down by
// the line spacing; any other character takes its glyph (the default glyph
// when the font has none of its own), moves the pen right by the glyph's x
// offset (never left of 0), places the glyph's rectangle there, y offset
// below the line top, and moves the pen on by the rectangle's width plus the
// glyph's x advance. Whitespace glyphs without ink advance the pen only.
//
// MeasureString gives the box of the laid-out glyphs: the width reaches the
// right edge of the rightmost inked glyph; the height reaches the bottom of
// the last line, at least one line spacing per line (0 x 0 for an empty text
// or one of blanks only).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gpu/GpuResources.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/SpriteFontFile.h"

namespace mirefell
{

namespace gpu
{
class Device;
}
class SpriteBatch;

class SpriteFont
{
public:
    // Reads the file through ReadData and makes the atlas texture on the
    // device. Throws "ReadData" for a missing file and "sprite font is
    // invalid" for a broken one.
    SpriteFont(gpu::Device* device, const wchar_t* fileName);
    // From data already read; without a device there is no texture and the
    // font only measures (DrawString then throws std::logic_error).
    SpriteFont(gpu::Device* device, SpriteFontData data);
    ~SpriteFont();
    SpriteFont(const SpriteFont&) = delete;
    SpriteFont& operator=(const SpriteFont&) = delete;

    // Queues one sprite per inked glyph on the begun batch. The text is laid
    // out as above, scaled about the origin (pixels of the layout), rotated
    // about it and placed with it at the position.
    void DrawString(SpriteBatch* spriteBatch, const wchar_t* text, const Vector2& position,
                    const Color& color = Color(1.0f, 1.0f, 1.0f, 1.0f), float rotation = 0.0f,
                    const Vector2& origin = {}, float scale = 1.0f, float layerDepth = 0.0f) const;
    Vector2 MeasureString(const wchar_t* text) const;

    float GetLineSpacing() const { return data.lineSpacing; }
    wchar_t GetDefaultCharacter() const { return static_cast<wchar_t>(data.defaultCharacter); }
    bool ContainsCharacter(wchar_t character) const;
    // The glyph of a character, or the default glyph; never null.
    const SpriteGlyph* FindGlyph(wchar_t character) const;
    gpu::ShaderResourceView* GetSpriteSheet() const { return texture.get(); }

private:
    template <class Action> void ForEachGlyph(const wchar_t* text, Action action) const;
    const SpriteGlyph* Lookup(uint32_t character) const;

    SpriteFontData data;
    const SpriteGlyph* defaultGlyph = nullptr;
    std::shared_ptr<gpu::ShaderResourceView> texture;
};

} // namespace mirefell
