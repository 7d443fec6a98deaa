// Player: choosing, firing and blocking with weapons, and the give-all cheat.
#include <cmath>
#include <map>

#include "gameplay/FirstPersonController.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "world/AIRegionGraph.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{

// The weapon keys and the items they select, in increasing action order.
const std::map<KeybindAction, const char*>& WeaponKeys()
{
    static const std::map<KeybindAction, const char*> keys = {
        {KeybindAction::Sledgehammer, "item_hammer"},
        {KeybindAction::DoubleShotgun, "item_double_shotgun"},
        {KeybindAction::HyperBlaster, "item_hyper_blaster"},
        {KeybindAction::RocketLauncher, "item_rocket_launcher"},
    };
    return keys;
}

const WeaponData& DataOf(const Item* weapon)
{
    return static_cast<const Weapon*>(weapon)->data;
}

} // namespace

void Player::SelectWeaponByKey()
{
    if (inventory.weaponIds.empty() || weaponView->switching)
        return;
    const Input& input = Input::GetInstance();
    Item* found = nullptr;
    for (const auto& [action, textureId] : WeaponKeys()) {
        if (input.IsActionPressed(action) && (found = inventory.FindByName(textureId)))
            break;
    }
    if (!found)
        CycleWeapon();
    else if (found != equippedItem)
        UseItem(found);
}

void Player::CycleWeapon()
{
    const int32_t wheel = Input::GetInstance().wheel;
    const auto count = static_cast<int32_t>(inventory.weaponIds.size());
    if ((equippedItem && count == 1) || wheel == 0 || count == 0)
        return;
    int32_t index = 0;
    if (equippedItem) {
        index = inventory.IndexOfWeapon(equippedItem->id) + (wheel > 0 ? 1 : -1);
        if (index >= count)
            index = 0;
        else if (index < 0)
            index = count - 1;
    }
    inventory.weaponIndex = index;
    UseItem(inventory.GetItem(inventory.weaponIds[static_cast<size_t>(index)]));
}

void Player::Fire()
{
    if (inventoryWindowOpen || !equippedItem)
        return;
    if (cooldownSteps > 0) {
        --cooldownSteps;
        return;
    }
    const bool wasFiring = firing;
    const Input& input = Input::GetInstance();
    if (!input.IsActionDown(KeybindAction::Attack) || !weaponView->ready || input.clickConsumed || blocking) {
        firing = false;
        return;
    }

    const WeaponData& data = DataOf(equippedItem);
    const float damage = HasArtifact(ArtifactNightmare) ? data.damage * NightmareDamageFactor : data.damage;
    const auto cooldown = static_cast<int32_t>(std::round(static_cast<float>(data.cooldownMs) * StepsPerMillisecond));
    if (data.weaponClass != WeaponClass::Ranged) {
        firing = true;
        if (!wasFiring)
            AlertMonsters();
        weaponView->Fire();
        cooldownSteps = cooldown;
        world->collision->HammerHit(this, EyePosition(), direction, damage);
        return;
    }

    // Out of ammunition the trigger does nothing, and the burst goes on.
    if (inventory.GetAmmo(data.ammoType) < static_cast<int32_t>(data.ammoPerShot))
        return;
    firing = true;
    if (!wasFiring)
        AlertMonsters();
    inventory.RemoveAmmo(data.ammoType, static_cast<int32_t>(data.ammoPerShot));
    weaponView->Fire();
    cooldownSteps = cooldown;
    const Vector3 origin = EyePosition();
    if (data.fireMode == FireMode::Hitscan)
        world->collision->FireHitscan(this, origin, data.hitscan, damage, yaw, pitch);
    else
        world->SpawnProjectile(this, static_cast<ProjectileType>(data.projectile.projectileType), data.projectile.color,
                               data.projectile.lightColor, origin, direction, damage);
}

void Player::AlertMonsters()
{
    if (world->aiRegions)
        world->aiRegions->Traverse(this, AIRegionGraph::Alert);
}

void Player::UpdateBlock()
{
    const Input& input = Input::GetInstance();
    const bool melee = equippedItem && DataOf(equippedItem).weaponClass != WeaponClass::Ranged;
    if (melee && !blocking) {
        if (input.IsActionPressed(KeybindAction::Block) && !inventoryWindowOpen && weaponView->ready &&
            !weaponView->IsAttacking())
            SetBlocking(true);
    } else if (blocking && (!melee || !input.IsActionDown(KeybindAction::Block))) {
        SetBlocking(false);
    }
}

void Player::SetBlocking(bool raised)
{
    blocking = raised;
    controller->speed = raised ? BlockingSpeed : WalkSpeed;
    weaponView->shieldBasePosition = raised ? WeaponView::ShieldBlockPosition : WeaponView::ShieldRestPosition;
    weaponView->MoveShield();
}

void Player::GiveAllItems()
{
    inventory.AddItemIfNew(Weapons::MakeHammer());
    inventory.AddItemIfNew(Weapons::MakeDoubleShotgun());
    inventory.AddItemIfNew(Weapons::MakeHyperBlaster());
    inventory.AddItemIfNew(Weapons::MakeRocketLauncher());
    inventory.AddItemIfNew(MakeArtifactBoots());
    inventory.AddItemIfNew(MakeArtifactBloodlust());
    inventory.AddItemIfNew(MakeArtifactNightmare());
    inventory.AddItemIfNew(MakeBreastplate());
    inventory.AddItemIfNew(MakeHealthCube());
    for (const AmmoType type : {AmmoType::Shells, AmmoType::Bullets, AmmoType::Cells, AmmoType::Rockets})
        inventory.AddAmmo(type, GetMaxAmmo(type));
    hasRedKey = true;
    hasBlueKey = true;
}

} // namespace mirefell
