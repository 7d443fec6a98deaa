#include "gameplay/Weapons.h"

namespace mirefell::Weapons
{

namespace
{

// Projectile kinds the weapons launch.
constexpr uint32_t BoltProjectile = 2;
constexpr uint32_t RocketProjectile = 4;

std::unique_ptr<Weapon> MakeWeapon(const wchar_t* name, const char* textureId, int32_t width, int32_t height,
                                   const WeaponData& data)
{
    auto weapon = std::make_unique<Weapon>();
    weapon->name = name;
    weapon->textureId = textureId;
    weapon->width = width;
    weapon->height = height;
    weapon->data = data;
    return weapon;
}

// Fields a weapon does not use stay 0; the colours and puff count keep the
// record's defaults.
WeaponData BaseData(WeaponClass weaponClass, AmmoType ammo, uint32_t cooldownMs, float damage, FireMode fireMode,
                    uint32_t viewIndex, const char* viewName)
{
    WeaponData data;
    data.weaponClass = weaponClass;
    data.ammoType = ammo;
    data.ammoPerShot = 1;
    data.cooldownMs = cooldownMs;
    data.damage = damage;
    data.fireMode = fireMode;
    data.viewIndex = viewIndex;
    data.viewName = viewName;
    return data;
}

} // namespace

std::unique_ptr<Weapon> MakeHammer()
{
    const WeaponData data = BaseData(WeaponClass::Melee, AmmoType::None, 500, 12.5f, FireMode::None, 5, "hammer");
    return MakeWeapon(L"Sledgehammer", "item_hammer", 2, 3, data);
}

std::unique_ptr<Weapon> MakeDoubleShotgun()
{
    WeaponData data =
        BaseData(WeaponClass::Ranged, AmmoType::Shells, 900, 3.5f, FireMode::Hitscan, 2, "double_shotgun");
    data.hitscan.pellets = 6;
    data.hitscan.spread = 3.0f;
    return MakeWeapon(L"Double Shotgun", "item_double_shotgun", 2, 3, data);
}

std::unique_ptr<Weapon> MakeHyperBlaster()
{
    WeaponData data =
        BaseData(WeaponClass::Ranged, AmmoType::Cells, 80, 2.5f, FireMode::Projectile, 3, "hyper_blaster");
    data.projectile.projectileType = BoltProjectile;
    return MakeWeapon(L"HyperBlaster", "item_hyper_blaster", 2, 3, data);
}

std::unique_ptr<Weapon> MakeRocketLauncher()
{
    WeaponData data =
        BaseData(WeaponClass::Ranged, AmmoType::Rockets, 1000, 85.0f, FireMode::Projectile, 4, "rocket_launcher");
    data.projectile.projectileType = RocketProjectile;
    return MakeWeapon(L"Holy Rocket Launcher", "item_rocket_launcher", 3, 2, data);
}

} // namespace mirefell::Weapons
