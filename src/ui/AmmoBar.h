// AmmoBar: the ammunition of the equipped weapon at the bottom-right, an icon
// with a number. A weapon change shows the new weapon's count at once; after
// that the number counts toward the count held by one per update step.
// Nothing is drawn, and the counter keeps its state, while no weapon that
// uses ammunition is equipped.
#pragma once

#include "platform/Guid.h"
#include "ui/BaseUIComponent.h"
#include "ui/HudNumber.h"

namespace mirefell
{

class Weapon;

class AmmoBar : public BaseUIComponent
{
public:
    explicit AmmoBar(Painter* painter_);
    ~AmmoBar() override;

    // Also starts the counter's last value at the ammunition of the weapon
    // equipped now (0 without one).
    void Initialize(World* context_) override;
    void Update() override;
    void Draw() override;

    // The top-left corner of its icon (a HudIconSize square) in the
    // painter's layout.
    static Vector2 IconPosition(const Painter& painter);

    GUID weapon; // the weapon last shown; all zero at first
    HudCounter counter;

private:
    // The player's equipped weapon when it uses ammunition, else null.
    const Weapon* AmmoWeapon() const;
};

} // namespace mirefell
