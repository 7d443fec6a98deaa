// Painter: the one object through which the user interface draws in 2D:
// rectangles and textures from the TextureRegistry, texts in the small font
// and the four display fonts, and lines through its LineBatch. It also owns
// the layout vocabulary widgets place themselves with: nine anchor points
// (keypad order from the top: 1 top-left, 5 centre, 9 bottom-right), a unit
// size and a margin, and a font step, recomputed from the screen size by
// UpdateScales.
//
// Ownership: the UIManager owns the UI's painter and the profiler owns the
// overlay's; a painter owns its sprite batch, fonts, pixel shader and line
// batch. Textures drawn by name belong to the TextureRegistry.
//
// Drawing happens between BeginWithShader and `spriteBatch->End()` (or
// EndBatch): non-premultiplied alpha through the painter's pixel shader. A
// widget that draws lines in between ends the batch, draws its lines and
// begins it again. Rectangles are truncated to whole pixels and text
// positions floored. Alignments: horizontal 1 left, 2 centre, 3 right;
// vertical 1 top, 2 centred on the line height; other values act as 1.
//
// Device objects exist between Initialize and Release, on the process-wide
// Device and DeviceContext; the layout values do not depend on them.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/LineBatch.h"
#include "render/PainterDrawLog.h"
#include "render/PainterPixelShader.h"
#include "render/SpriteBatch.h"
#include "render/SpriteFont.h"
#include "shell/IOverlayPainter.h"

namespace mirefell
{

// A whole-pixel rectangle: left, top, width, height.
struct PixelRectangle
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PixelRectangle&) const = default;
};

class Painter final : public IOverlayPainter
{
public:
    static constexpr int32_t FontCount = 4;
    // The font files Initialize reads: the small font, then the display
    // fonts by id.
    static const std::array<const wchar_t*, FontCount + 1>& GetFontFiles();

    // No device objects and no layout yet; the line batch exists at once.
    Painter();
    ~Painter() override;
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Sprite batch, the small font, the four display fonts (ids 0 to 3), the
    // pixel shader, the line batch's device objects. A missing or broken font
    // file or shader throws out of here.
    void Initialize() override;
    // Drops the line batch's device objects, the sprite batch, the display
    // fonts and the pixel shader; the small font stays until the next
    // Initialize replaces it.
    void Release() override;
    // Anchors, font step, unit size and margin from ScreenWidth and
    // ScreenHeight.
    void UpdateScales() override;

    // The fixed line height of a display font: 32, 47, 63, 94 for ids 0 to
    // 3; any other id throws "invalid map<K, T> key".
    float GetLineHeight(int32_t fontSizeId) override;
    float GetMargin() const override { return margin; }
    // The anchor's point plus (dx, dy). An anchor outside 1 to 9, or any
    // before the first UpdateScales, throws "invalid map<K, T> key".
    Vector2 GetAnchorPoint(int32_t anchor, float dx = 0.0f, float dy = 0.0f) const;

    void BeginWithShader() override;
    void EndBatch() override { spriteBatch->End(); }

    // "white" tinted over the rectangle.
    void FillRectangle(Vector2 position, Vector2 size, Color color);
    // The frame under a box: a faint white halo 3 pixels out, then a border
    // of the colour 2 pixels out; the caller fills the box itself.
    void DrawShadowedBox(Vector2 position, Vector2 size, Color color);
    // The named texture stretched over the rectangle, tinted. An unknown name
    // throws "invalid map<K, T> key".
    void DrawTexture(Vector2 position, Vector2 size, const std::string& textureName, Color color);
    // DrawTexture 4 pixels right and down, for a widget's shadow.
    void DrawTextureShadow(Vector2 position, Vector2 size, const std::string& textureName, Color color);

    // A text in display font fontSizeId, or, when scaled, fontSizeId plus
    // the font step (at most the largest font). With outline, black copies
    // (in the colour's alpha) 2 and 1 pixels right and down go first. A font
    // index the painter does not hold (4 or more unscaled, or any after
    // Release) throws std::out_of_range("invalid vector<T> subscript").
    void DrawText(int32_t fontSizeId, bool scaled, Vector2 position, const wchar_t* text, Color color,
                  int32_t horizontalAlignment, int32_t verticalAlignment, bool outline) override;
    // The shadow pass of a text: four opaque black copies 1 to 4 pixels right
    // and down, always vertically centred; the caller then draws the text.
    void DrawTextShadow(int32_t fontSizeId, bool scaled, Vector2 position, const wchar_t* text,
                        int32_t horizontalAlignment);
    // A text in the small font over a one-pixel black shadow; no vertical
    // alignment.
    void DrawSmallText(Vector2 position, const wchar_t* text, Color color, int32_t horizontalAlignment);

    // Read directly by widgets.
    std::unique_ptr<SpriteBatch> spriteBatch;
    std::unique_ptr<SpriteFont> smallFont;
    std::vector<std::unique_ptr<SpriteFont>> fonts;
    int32_t fontStep = 0; // 1, 2 or 3 once the layout exists
    std::unique_ptr<PainterPixelShader> pixelShader;
    float margin = 0.0f;
    Vector2 unitSize;
    std::map<int32_t, Vector2> anchors;
    PixelRectangle lastRectangle; // of the latest rectangle or texture draw
    std::unique_ptr<LineBatch> lineBatch;
    // Null in the game; a layout test's record of every draw (PainterDrawLog.h).
    PainterDrawLog* drawLog = nullptr;

private:
    void DrawRectangle(Vector2 position, Vector2 size, const std::string& textureName, Color color);
    const SpriteFont& FontAt(int32_t index) const;
    void LogText(const SpriteFont& font, float x, float y, const wchar_t* text, bool outlined);

    bool drawingShadow = false; // inside DrawTextShadow: its copies go unlogged
};

} // namespace mirefell
