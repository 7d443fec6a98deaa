// ArmorBar: the player's armour at the bottom-left, right of the health, an
// icon with a number that counts toward the player's armour by one per
// update step.
#pragma once

#include "ui/BaseUIComponent.h"
#include "ui/HudNumber.h"

namespace mirefell
{

class ArmorBar : public BaseUIComponent
{
public:
    explicit ArmorBar(Painter* painter_);
    ~ArmorBar() override;

    void Update() override;
    void Draw() override;

    // The top-left corner of its icon (a HudIconSize square) in the
    // painter's layout.
    static Vector2 IconPosition(const Painter& painter);

    HudCounter counter;
};

} // namespace mirefell
