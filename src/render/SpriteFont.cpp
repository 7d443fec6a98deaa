// SpriteFont: glyph look-up, the shared layout walk, measuring and drawing.
#include "render/SpriteFont.h"

#include <algorithm>
#include <stdexcept>

#include "platform/gpu/Device.h"
#include "render/ReadData.h"
#include "render/SpriteBatch.h"

namespace mirefell
{

namespace
{

bool IsWhitespace(uint32_t character)
{
    return character == ' ' || (character >= '\t' && character <= '\r');
}

bool HasInk(const SpriteGlyph& glyph)
{
    return glyph.right > glyph.left && glyph.bottom > glyph.top;
}

SpriteFontData ReadFontFile(const wchar_t* fileName)
{
    const std::vector<uint8_t> bytes = ReadData(fileName);
    return ReadSpriteFont(bytes.data(), bytes.size());
}

} // namespace

SpriteFont::SpriteFont(gpu::Device* device, const wchar_t* fileName) : SpriteFont(device, ReadFontFile(fileName)) {}

SpriteFont::SpriteFont(gpu::Device* device, SpriteFontData data_) : data(std::move(data_))
{
    defaultGlyph = Lookup(data.defaultCharacter);
    if (defaultGlyph == nullptr)
        throw std::invalid_argument("SpriteFont: the default character has no glyph");
    if (device == nullptr)
        return;
    // White texels with the coverage as alpha.
    std::vector<uint32_t> texels(data.coverage.size());
    for (size_t i = 0; i < texels.size(); ++i)
        texels[i] = 0x00ffffffu | uint32_t(data.coverage[i]) << 24;
    gpu::Texture2DDesc desc;
    desc.width = data.width;
    desc.height = data.height;
    desc.format = gpu::Format::R8G8B8A8_UNORM;
    desc.usage = gpu::Usage::Immutable;
    const gpu::SubresourceData initial{texels.data(), data.width * 4};
    auto atlas = device->CreateTexture2D(desc, &initial);
    texture = device->CreateShaderResourceView(atlas.get());
}

SpriteFont::~SpriteFont() = default;

const SpriteGlyph* SpriteFont::Lookup(uint32_t character) const
{
    auto at = std::lower_bound(data.glyphs.begin(), data.glyphs.end(), character,
                               [](const SpriteGlyph& glyph, uint32_t c) { return glyph.character < c; });
    return at != data.glyphs.end() && at->character == character ? &*at : nullptr;
}

bool SpriteFont::ContainsCharacter(wchar_t character) const
{
    return Lookup(static_cast<uint32_t>(character)) != nullptr;
}

const SpriteGlyph* SpriteFont::FindGlyph(wchar_t character) const
{
    const SpriteGlyph* glyph = Lookup(static_cast<uint32_t>(character));
    return glyph != nullptr ? glyph : defaultGlyph;
}

// Calls action(glyph, x, y) for every glyph with ink, at its pen position.
template <class Action> void SpriteFont::ForEachGlyph(const wchar_t* text, Action action) const
{
    float x = 0.0f;
    float y = 0.0f;
    for (; *text != L'\0'; ++text) {
        const wchar_t character = *text;
        if (character == L'\r')
            continue;
        if (character == L'\n') {
            x = 0.0f;
            y += data.lineSpacing;
            continue;
        }
        const SpriteGlyph& glyph = *FindGlyph(character);
        x = std::max(0.0f, x + glyph.xOffset);
        if (HasInk(glyph) || !IsWhitespace(glyph.character))
            action(glyph, x, y);
        x += static_cast<float>(glyph.right - glyph.left) + glyph.xAdvance;
    }
}

Vector2 SpriteFont::MeasureString(const wchar_t* text) const
{
    Vector2 size;
    ForEachGlyph(text, [&](const SpriteGlyph& glyph, float x, float y) {
        const float height = static_cast<float>(glyph.bottom - glyph.top) + glyph.yOffset;
        size.x = std::max(size.x, x + static_cast<float>(glyph.right - glyph.left));
        size.y = std::max(size.y, y + std::max(height, data.lineSpacing));
    });
    return size;
}

void SpriteFont::DrawString(SpriteBatch* spriteBatch, const wchar_t* text, const Vector2& position, const Color& color,
                            float rotation, const Vector2& origin, float scale, float layerDepth) const
{
    if (!texture)
        throw std::logic_error("SpriteFont: no texture to draw with");
    ForEachGlyph(text, [&](const SpriteGlyph& glyph, float x, float y) {
        if (!HasInk(glyph))
            return;
        const gpu::Rect source{glyph.left, glyph.top, glyph.right, glyph.bottom};
        // The glyph's sprite origin is the text origin seen from the glyph's
        // top-left corner, so scale and rotation act about the text origin.
        const Vector2 glyphOrigin = origin - Vector2(x, y + glyph.yOffset);
        spriteBatch->Draw(texture.get(), position, &source, color, rotation, glyphOrigin, scale, SpriteEffects::None,
                          layerDepth);
    });
}

} // namespace mirefell
