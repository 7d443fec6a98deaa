// HudNumber: what the three number widgets of the HUD (health, armour,
// ammunition) share: the counter that moves the shown number toward the
// player's value by one per update step instead of jumping, the rule that
// decides whether they are drawn, and the drawing of an icon with its number
// beside it.
//
// Colours are linear values (the display values raised to the power 2.2,
// alpha unchanged).
#pragma once

#include <cstdint>
#include <string>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Painter;

inline constexpr Color HudHealthRed{0.745449f, 0.010309f, 0.010309f, 1.0f};   // display (0.875, 0.125, 0.125)
inline constexpr Color HudArmourGreen{0.010309f, 0.745449f, 0.010309f, 1.0f}; // display (0.125, 0.875, 0.125)
inline constexpr Color HudAmmoCyan{0.010309f, 0.745449f, 0.745449f, 1.0f};    // display (0.125, 0.875, 0.875)
inline constexpr Color HudIconShadow{0.0f, 0.0f, 0.0f, 1.0f};
inline constexpr Color HudWhite{1.0f, 1.0f, 1.0f, 1.0f};

// The shown number and the value it moves to.
struct HudCounter
{
    float last = 0.0f;      // the source value at its last change
    float displayed = 0.0f; // the value shown
    float target = 0.0f;
    float rate = 1.0f; // per update step

    // A source value that differs from the last one becomes the target.
    void Track(float value);
    // One step of `rate` toward the target, never past it.
    void Step();
    // The displayed value truncated toward zero.
    int32_t Shown() const;
};

// Whether a number widget is drawn: visible, the HUD setting on, and either
// the inventory open or the game not on "Masochistic" (where the numbers show
// only in the inventory).
bool AreHudNumbersShown(bool visible);

// The side of a number widget's icon: two of the painter's units.
float HudIconSize(const Painter& painter);

// The icon (a HudIconSize square) at `iconPosition` over its shadow, then the number
// right-aligned on iconPosition + (textOffsetX, u) and centred on it
// vertically, over its shadow, in display font 0 raised by the font step.
void DrawHudNumber(Painter& painter, Vector2 iconPosition, float textOffsetX, const std::string& iconName,
                   Color iconColor, int32_t number, Color textColor);

} // namespace mirefell
