// Crosshair: the 16 x 16 aiming mark at the screen centre during play,
// hidden while the inventory is open, on "Masochistic" and with the HUD
// switched off. It stays while the player is dead.
#pragma once

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class Crosshair : public BaseUIComponent
{
public:
    explicit Crosshair(Painter* painter_);
    ~Crosshair() override;

    void Draw() override;
};

} // namespace mirefell
