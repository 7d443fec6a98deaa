// HealthBar: the player's health at the bottom-left, an icon with a number
// that counts toward the player's health by one per update step. The icon
// is the permadeath one for a permadeath game. The number turns red at 25
// and below (the real health, not the shown one).
#pragma once

#include <string>

#include "ui/BaseUIComponent.h"
#include "ui/HudNumber.h"

namespace mirefell
{

class HealthBar : public BaseUIComponent
{
public:
    static constexpr float LowHealth = 25.0f; // this and below: red

    explicit HealthBar(Painter* painter_);
    ~HealthBar() override;

    void Update() override;
    void Draw() override;

    // The top-left corner of its icon (a HudIconSize square) in the
    // painter's layout.
    static Vector2 IconPosition(const Painter& painter);

    HudCounter counter;
    std::string iconName;
};

} // namespace mirefell
