// HealthBar: reads the player's health each step and draws it.
#include "ui/HealthBar.h"

#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "render/Painter.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t BottomLeft = 7;

} // namespace

HealthBar::HealthBar(Painter* painter_) : BaseUIComponent(painter_) {}

HealthBar::~HealthBar() = default;

void HealthBar::Update()
{
    const Player* player = PlayerOf(context);
    if (!player)
        return;
    iconName = GameSaveManager::GetInstance().current.permadeath ? "hud_permadeath" : "hud_health";
    counter.Track(player->health);
    counter.Step();
}

Vector2 HealthBar::IconPosition(const Painter& painter)
{
    const float unit = painter.unitSize.x;
    return painter.GetAnchorPoint(BottomLeft, 0.0f, -2.0f * unit);
}

void HealthBar::Draw()
{
    const Player* player = PlayerOf(context);
    if (!player || !AreHudNumbersShown(visible))
        return;
    const float unit = painter->unitSize.x;
    const Vector2 icon = IconPosition(*painter);
    const Color text = player->health > LowHealth ? HudWhite : HudHealthRed;
    DrawHudNumber(*painter, icon, 3.75f * unit, iconName, HudHealthRed, counter.Shown(), text);
}

} // namespace mirefell
