// ArmorBar: reads the player's armour each step and draws it.
#include "ui/ArmorBar.h"

#include "gameplay/Player.h"
#include "render/Painter.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t BottomLeft = 7;

} // namespace

ArmorBar::ArmorBar(Painter* painter_) : BaseUIComponent(painter_) {}

ArmorBar::~ArmorBar() = default;

void ArmorBar::Update()
{
    const Player* player = PlayerOf(context);
    if (!player)
        return;
    counter.Track(player->armor);
    counter.Step();
}

Vector2 ArmorBar::IconPosition(const Painter& painter)
{
    const float unit = painter.unitSize.x;
    return painter.GetAnchorPoint(BottomLeft, 4.0f * unit, -2.0f * unit);
}

void ArmorBar::Draw()
{
    if (!PlayerOf(context) || !AreHudNumbersShown(visible))
        return;
    const float unit = painter->unitSize.x;
    const Vector2 icon = IconPosition(*painter);
    DrawHudNumber(*painter, icon, 3.75f * unit, "hud_armor", HudArmourGreen, counter.Shown(), HudWhite);
}

} // namespace mirefell
