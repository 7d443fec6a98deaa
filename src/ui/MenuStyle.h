// MenuStyle: the colours and text placement the menu rows share. Colours are
// linear values: the display values raised to the power 2.2 per channel,
// alpha unchanged; white is used as it stands.
#pragma once

#include <cstdint>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Painter;

inline constexpr Color MenuWhite{1.0f, 1.0f, 1.0f, 1.0f};
// Behind a hovered button: display (0.125, 0, 0).
inline constexpr Color MenuHoverRed{0.0103086f, 0.0f, 0.0f, 1.0f};
// Text and icons of a disabled row: display grey 0.25.
const Color& MenuDisabledGrey();
// The text colour of a pulsing button at `pulseTime`: white fading to red
// and back, (1, p, p) with p = ((sin t + 1) / 2) ^ 2.2.
Color MenuPulseColour(float pulseTime);

// Alignments and font the menu rows use.
inline constexpr int32_t MenuAlignLeft = 1;
inline constexpr int32_t MenuAlignCentre = 2;
inline constexpr int32_t MenuAlignRight = 3;
inline constexpr int32_t MenuValueFont = 0; // slider values, never scaled

// The x a row's text is drawn at: one margin in from the left edge (left
// alignment), one margin in from the right edge (right), else the centre.
float MenuTextX(float margin, Vector2 position, Vector2 size, int32_t alignment);

// The width a row's single text may take: the whole row when centred, else
// the row less the margin it starts from.
float MenuTextRoom(float margin, Vector2 size, int32_t alignment);
// The x range, in pixels, that a single text of a row may cover.
struct TextSpan
{
    float left = 0.0f;
    float right = 0.0f;
};

// The width a single text drawn at `x` may take inside `span`: to the span's
// right end when left-aligned, from its left end when right-aligned, and
// twice the distance to the nearer end when centred.
float MenuTextRoomInSpan(float x, int32_t alignment, TextSpan span);

// A rectangle of the screen that a widget covers, in pixels: left and top
// edges inside, right and bottom outside.
struct ScreenArea
{
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// The display font a row draws `text` in: the row's own (its size id, raised
// by the painter's font step when scaled, at most the largest), unless that
// font's line is taller than the row (it would reach into the rows above and
// below) or the text is wider than `room`; then the largest smaller font that
// fits both, or font 0 when none does. Only the smallest screens need it:
// rows of 36 pixels hold no 47-pixel line, and some columns are narrower than
// their captions.
int32_t MenuFont(Painter& painter, int32_t textSize, bool scaleText, const wchar_t* text, float room, float rowHeight);

} // namespace mirefell
