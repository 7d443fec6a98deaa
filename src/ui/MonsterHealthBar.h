// MonsterHealthBar: the health of the monster under the crosshair, as a row
// of twenty segments at the top centre (276 pixels wide: segments of 10 with
// gaps of 4), filled up to the monster's share of its maximum health. Hidden
// while the crosshair is on no monster; never shown, and never updated, on
// "Masochistic".
#pragma once

#include <cstdint>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class MonsterHealthBar : public BaseUIComponent
{
public:
    static constexpr int32_t Segments = 20;

    explicit MonsterHealthBar(Painter* painter_);
    ~MonsterHealthBar() override;

    void Update() override;
    void Draw() override;

    // Segments 0 to `value` are filled: health / maximum health x 20,
    // truncated; 0 when the maximum is not positive, and never outside -1 to
    // 20, so the conversion is always defined.
    static int32_t ValueOf(float health, float maxHealth);
    // Whether Draw puts the row on the screen now: a monster under the
    // crosshair, not "Masochistic", the HUD on and the inventory closed.
    bool IsShown() const;
    // Where the row stands, shadows included, for the widgets that keep
    // clear of it: its left x and its bottom y.
    static float RowLeft(const Painter& painter);
    static float RowBottom(const Painter& painter);

    int32_t value = 0;
};

} // namespace mirefell
