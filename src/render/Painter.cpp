// Painter: layout values, rectangles and texts.
#include "render/Painter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/Lookup.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "render/CommonStatesHolder.h"
#include "render/GraphicsDevice.h"
#include "render/TextureRegistry.h"
#include "shell/Screen.h"

namespace mirefell
{

namespace
{

constexpr int32_t AlignCentre = 2;
constexpr int32_t AlignEnd = 3; // right, for the horizontal alignment
constexpr Color Black{0.0f, 0.0f, 0.0f, 1.0f};
constexpr Color Halo{1.0f, 1.0f, 1.0f, 0.05f};

// The fixed line heights of the display fonts, shared by every painter.
const std::map<int32_t, float>& LineHeights()
{
    static const std::map<int32_t, float> heights = {{0, 32.0f}, {1, 47.0f}, {2, 63.0f}, {3, 94.0f}};
    return heights;
}

// How far left a text starts from its anchor x for the alignment.
float AlignmentShift(int32_t alignment, float width)
{
    if (alignment == AlignCentre)
        return width * 0.5f;
    if (alignment == AlignEnd)
        return width;
    return 0.0f;
}

} // namespace

const std::array<const wchar_t*, Painter::FontCount + 1>& Painter::GetFontFiles()
{
    static constexpr std::array<const wchar_t*, FontCount + 1> files = {
        L"assets/fonts/arial12.spritefont",    L"assets/fonts/capsuula20.spritefont",
        L"assets/fonts/capsuula30.spritefont", L"assets/fonts/capsuula40.spritefont",
        L"assets/fonts/capsuula60.spritefont",
    };
    return files;
}

Painter::Painter() : lineBatch(std::make_unique<LineBatch>()) {}

Painter::~Painter() = default;

void Painter::Initialize()
{
    spriteBatch = std::make_unique<SpriteBatch>(Device, DeviceContext);
    const auto& files = GetFontFiles();
    smallFont = std::make_unique<SpriteFont>(Device, files.front());
    // A second Initialize without a Release in between must not leave eight
    // fonts, so the list starts over.
    fonts.clear();
    for (size_t id = 1; id < files.size(); ++id)
        fonts.push_back(std::make_unique<SpriteFont>(Device, files[id]));
    pixelShader = std::make_unique<PainterPixelShader>(Device);
    lineBatch->Initialize();
}

void Painter::Release()
{
    lineBatch->Release();
    spriteBatch.reset();
    fonts.clear();
    pixelShader.reset();
}

void Painter::UpdateScales()
{
    const auto w = static_cast<float>(ScreenWidth);
    const auto h = static_cast<float>(ScreenHeight);
    const float xs[3] = {0.0f, w * 0.5f, w};
    const float ys[3] = {0.0f, h * 0.5f, h};
    for (int32_t anchor = 1; anchor <= 9; ++anchor)
        anchors[anchor] = Vector2(xs[(anchor - 1) % 3], ys[(anchor - 1) / 3]);

    float unit = 36.0f;
    fontStep = 1;
    if (ScreenHeight > 680) {
        unit = 48.0f;
        fontStep = 2;
    }
    if (ScreenWidth > 1400 && ScreenHeight >= 1000) {
        unit = 64.0f;
        fontStep = 3;
    }
    margin = std::floor(unit * 0.25f);
    unitSize = Vector2(unit, unit);
}

float Painter::GetLineHeight(int32_t fontSizeId)
{
    return MapAt(LineHeights(), fontSizeId);
}

Vector2 Painter::GetAnchorPoint(int32_t anchor, float dx, float dy) const
{
    return MapAt(anchors, anchor) + Vector2(dx, dy);
}

void Painter::BeginWithShader()
{
    spriteBatch->Begin(SpriteSortMode::Deferred, GetCommonStates()->NonPremultiplied(), nullptr, nullptr, nullptr,
                       [this] { DeviceContext->PSSetShader(pixelShader->Get()); });
}

void Painter::DrawRectangle(Vector2 position, Vector2 size, const std::string& textureName, Color color)
{
    // Looked up by reference: a long texture name costs no copy per draw.
    gpu::ShaderResourceView* texture = MapAt(TextureRegistry::GetInstance().Entries(), textureName).get();
    lastRectangle = {static_cast<int32_t>(position.x), static_cast<int32_t>(position.y), static_cast<int32_t>(size.x),
                     static_cast<int32_t>(size.y)};
    const gpu::Rect destination{lastRectangle.x, lastRectangle.y, lastRectangle.x + lastRectangle.width,
                                lastRectangle.y + lastRectangle.height};
    spriteBatch->Draw(texture, destination, color);
    if (drawLog)
        drawLog->textures.push_back(
            {textureName, lastRectangle.x, lastRectangle.y, lastRectangle.width, lastRectangle.height, color});
}

void Painter::FillRectangle(Vector2 position, Vector2 size, Color color)
{
    DrawRectangle(position, size, "white", color);
}

void Painter::DrawShadowedBox(Vector2 position, Vector2 size, Color color)
{
    DrawRectangle(position - Vector2(3, 3), size + Vector2(6, 6), "white", Halo);
    DrawRectangle(position - Vector2(2, 2), size + Vector2(4, 4), "white", color);
}

void Painter::DrawTexture(Vector2 position, Vector2 size, const std::string& textureName, Color color)
{
    DrawRectangle(position, size, textureName, color);
}

void Painter::DrawTextureShadow(Vector2 position, Vector2 size, const std::string& textureName, Color color)
{
    DrawTexture(position + Vector2(4, 4), size, textureName, color);
}

const SpriteFont& Painter::FontAt(int32_t index) const
{
    if (index < 0 || index >= static_cast<int32_t>(fonts.size()))
        throw std::out_of_range("invalid vector<T> subscript");
    return *fonts[static_cast<size_t>(index)];
}

void Painter::DrawText(int32_t fontSizeId, bool scaled, Vector2 position, const wchar_t* text, Color color,
                       int32_t horizontalAlignment, int32_t verticalAlignment, bool outline)
{
    int32_t index = fontSizeId;
    if (scaled)
        index = std::min(fontSizeId + fontStep, static_cast<int32_t>(fonts.size()) - 1);
    const SpriteFont& font = FontAt(index);

    float x = position.x - AlignmentShift(horizontalAlignment, font.MeasureString(text).x);
    float y = position.y;
    if (verticalAlignment == AlignCentre)
        y -= 0.5f * GetLineHeight(index);
    x = std::floor(x);
    y = std::floor(y);

    if (outline) {
        const Color shade(0.0f, 0.0f, 0.0f, color.a);
        font.DrawString(spriteBatch.get(), text, Vector2(x + 2, y + 2), shade);
        font.DrawString(spriteBatch.get(), text, Vector2(x + 1, y + 1), shade);
    }
    font.DrawString(spriteBatch.get(), text, Vector2(x, y), color);
    LogText(font, x, y, text, outline);
}

void Painter::LogText(const SpriteFont& font, float x, float y, const wchar_t* text, bool outlined)
{
    if (drawLog && !drawingShadow)
        drawLog->texts.push_back({&font, Vector2(x, y), text, outlined});
}

void Painter::DrawTextShadow(int32_t fontSizeId, bool scaled, Vector2 position, const wchar_t* text,
                             int32_t horizontalAlignment)
{
    drawingShadow = true;
    for (int i = 1; i <= 4; ++i) {
        const auto offset = static_cast<float>(i);
        DrawText(fontSizeId, scaled, position + Vector2(offset, offset), text, Black, horizontalAlignment, AlignCentre,
                 false);
    }
    drawingShadow = false;
}

void Painter::DrawSmallText(Vector2 position, const wchar_t* text, Color color, int32_t horizontalAlignment)
{
    const float x = std::floor(position.x - AlignmentShift(horizontalAlignment, smallFont->MeasureString(text).x));
    const float y = std::floor(position.y);
    smallFont->DrawString(spriteBatch.get(), text, Vector2(x + 1, y + 1), Black);
    smallFont->DrawString(spriteBatch.get(), text, Vector2(x, y), color);
    LogText(*smallFont, x, y, text, false);
}

} // namespace mirefell
