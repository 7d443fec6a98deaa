// Crosshair: the aiming mark.
#include "ui/Crosshair.h"

#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "ui/HudState.h"

namespace mirefell
{

Crosshair::Crosshair(Painter* painter_) : BaseUIComponent(painter_) {}

Crosshair::~Crosshair() = default;

void Crosshair::Draw()
{
    static constexpr Vector2 Size{16.0f, 16.0f};
    if (inventoryWindowOpen || IsMasochistic() || !IsHudShown())
        return;
    painter->DrawTexture(painter->GetAnchorPoint(5, -0.5f * Size.x, -0.5f * Size.y), Size, "crosshair",
                         Color(1.0f, 1.0f, 1.0f, 1.0f));
}

} // namespace mirefell
