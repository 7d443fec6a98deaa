// AmmoBar: follows the equipped weapon's ammunition and draws it.
#include "ui/AmmoBar.h"

#include "gameplay/Player.h"
#include "gameplay/Weapon.h"
#include "render/Painter.h"
#include "ui/HudState.h"

namespace mirefell
{

namespace
{

constexpr int32_t BottomRight = 9;

} // namespace

AmmoBar::AmmoBar(Painter* painter_) : BaseUIComponent(painter_) {}

AmmoBar::~AmmoBar() = default;

const Weapon* AmmoBar::AmmoWeapon() const
{
    const Player* player = PlayerOf(context);
    if (!player || !player->equippedItem || player->equippedItem->category != ItemCategory::Weapon)
        return nullptr;
    const auto* equipped = static_cast<const Weapon*>(player->equippedItem);
    return equipped->data.weaponClass == WeaponClass::Ranged ? equipped : nullptr;
}

void AmmoBar::Initialize(World* context_)
{
    BaseUIComponent::Initialize(context_);
    const Weapon* equipped = AmmoWeapon();
    counter.last = equipped ? static_cast<float>(PlayerOf(context)->inventory.GetAmmo(equipped->data.ammoType)) : 0.0f;
}

void AmmoBar::Update()
{
    const Weapon* equipped = AmmoWeapon();
    if (!equipped)
        return;
    const auto held = static_cast<float>(PlayerOf(context)->inventory.GetAmmo(equipped->data.ammoType));
    if (equipped->id != weapon) {
        counter.last = counter.displayed = counter.target = held;
        weapon = equipped->id;
    } else {
        counter.Track(held);
    }
    counter.Step();
}

Vector2 AmmoBar::IconPosition(const Painter& painter)
{
    const float unit = painter.unitSize.x;
    return painter.GetAnchorPoint(BottomRight, -4.5f * unit, -2.0f * unit);
}

void AmmoBar::Draw()
{
    if (!AmmoWeapon() || !AreHudNumbersShown(visible))
        return;
    const float unit = painter->unitSize.x;
    const Vector2 icon = IconPosition(*painter);
    DrawHudNumber(*painter, icon, 4.0f * unit, "hud_ammo", HudAmmoCyan, counter.Shown(), HudWhite);
}

} // namespace mirefell
