// Items: what the makers build, fresh identities, and the tooltip lines.
#include <set>

#include <gtest/gtest.h>

#include "gameplay/ItemMakers.h"
#include "gameplay/Weapons.h"
#include "platform/Random.h"

namespace mirefell
{
namespace
{

const Color Cyan{0.0f, 1.0f, 1.0f, 1.0f};
const Color White{1.0f, 1.0f, 1.0f, 1.0f};

std::vector<std::wstring> Texts(const std::vector<TooltipLine>& lines)
{
    std::vector<std::wstring> texts;
    for (const TooltipLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

TEST(ItemMakers, EveryMakeIsANewIdentityOfTheSameItem)
{
    // The game's generator seeded alike must not make identities repeat,
    // and making items must not move that generator.
    SeedRand(1);
    const int expected = Rand();
    SeedRand(1);
    auto first = Weapons::MakeDoubleShotgun();
    SeedRand(1);
    auto second = Weapons::MakeDoubleShotgun();
    EXPECT_EQ(Rand(), expected);
    EXPECT_NE(first->id, second->id);
    EXPECT_EQ(first->name, second->name);

    std::set<GUID> ids;
    for (int i = 0; i < 200; ++i) {
        const GUID id = MakeHealthCube()->id;
        EXPECT_FALSE(id.IsEmpty());
        EXPECT_EQ(id.Data3 >> 12, 4) << "version 4";
        EXPECT_EQ(id.Data4[0] & 0xC0, 0x80) << "standard variant";
        ids.insert(id);
    }
    EXPECT_EQ(ids.size(), 200u);
}

TEST(ItemMakers, WeaponsCarryTheirTuning)
{
    auto hammer = Weapons::MakeHammer();
    EXPECT_EQ(hammer->category, ItemCategory::Weapon);
    EXPECT_EQ(hammer->data.weaponClass, WeaponClass::Melee);
    EXPECT_EQ(hammer->data.ammoType, AmmoType::None);
    EXPECT_EQ(hammer->data.cooldownMs, 500u);
    EXPECT_EQ(hammer->data.viewName, "hammer");

    auto shotgun = Weapons::MakeDoubleShotgun();
    EXPECT_EQ(shotgun->data.ammoType, AmmoType::Shells);
    EXPECT_EQ(shotgun->data.fireMode, FireMode::Hitscan);
    EXPECT_EQ(shotgun->data.hitscan.pellets, 6u);
    EXPECT_FLOAT_EQ(shotgun->data.hitscan.spread, 3.0f);
    // Colours and puff count keep their defaults on every weapon.
    EXPECT_EQ(shotgun->data.hitscan.puffColor, White);
    EXPECT_EQ(shotgun->data.hitscan.puffCount, 1);
    EXPECT_EQ(shotgun->data.projectile.lightColor, Color(0.75f, 0.85f, 1.0f, 1.0f));

    auto blaster = Weapons::MakeHyperBlaster();
    EXPECT_EQ(blaster->data.fireMode, FireMode::Projectile);
    EXPECT_EQ(blaster->data.projectile.projectileType, 2u);
    EXPECT_EQ(blaster->data.hitscan.pellets, 0u);

    auto launcher = Weapons::MakeRocketLauncher();
    EXPECT_EQ(launcher->name, L"Holy Rocket Launcher");
    EXPECT_EQ(launcher->width, 3); // the one weapon lying on its side
    EXPECT_EQ(launcher->height, 2);
    EXPECT_EQ(launcher->data.projectile.projectileType, 4u);
    EXPECT_EQ(launcher->data.viewIndex, 4u);
}

TEST(ItemMakers, ArtifactsAndConsumablesTakeTwoByTwoCells)
{
    std::unique_ptr<Artifact> artifacts[] = {MakeArtifactBoots(), MakeArtifactNightmare(), MakeArtifactBloodlust()};
    for (const auto& artifact : artifacts) {
        EXPECT_EQ(artifact->category, ItemCategory::Artifact);
        EXPECT_EQ(artifact->width, 2);
        EXPECT_EQ(artifact->height, 2);
    }
    EXPECT_EQ(MakeArtifactNightmare()->number, ArtifactNumber::Nightmare);
    EXPECT_EQ(MakeArtifactBoots()->name, L"\"Killer\" Anti-Grav Boots");
    auto breastplate = MakeBreastplate();
    EXPECT_EQ(breastplate->category, ItemCategory::Consumable);
    EXPECT_EQ(breastplate->number, ConsumableNumber::Breastplate);
    EXPECT_EQ(breastplate->width, 2);
    EXPECT_EQ(breastplate->height, 2);
    EXPECT_EQ(Consumable().width, 1) << "a bare consumable is one cell";
}

TEST(ItemTooltip, WeaponDamageRoundsHalfAwayAndShowsPellets)
{
    auto shotgun = Weapons::MakeDoubleShotgun();
    const auto lines = Item::GetTooltipLines(*shotgun, false);
    EXPECT_EQ(Texts(lines), (std::vector<std::wstring>{L"Double Shotgun", L"Weapon", L"", L"Damage: 4 (x6)",
                                                       L"Ammo type: Shells", L"", L"Right-click to equip"}));
    EXPECT_EQ(lines[0].color, Cyan);
    EXPECT_EQ(lines[3].color, White);
    EXPECT_EQ(lines.back().color, Cyan);

    EXPECT_EQ(
        Texts(Item::GetTooltipLines(*Weapons::MakeHammer(), true)),
        (std::vector<std::wstring>{L"Sledgehammer", L"Weapon", L"", L"Damage: 13", L"", L"Right-click to unequip"}));
    EXPECT_EQ(Item::GetTooltipLines(*Weapons::MakeHyperBlaster(), false)[3].text, L"Damage: 3");

    // One pellet needs no multiplier.
    shotgun->data.hitscan.pellets = 1;
    EXPECT_EQ(Item::GetTooltipLines(*shotgun, false)[3].text, L"Damage: 4");
}

TEST(ItemTooltip, ArtifactsAndConsumables)
{
    auto boots = MakeArtifactBoots();
    EXPECT_EQ(Texts(Item::GetTooltipLines(*boots, true)),
              (std::vector<std::wstring>{L"\"Killer\" Anti-Grav Boots", L"Artifact", L"", L"You can now jump",
                                         L"Land on something living, preferably", L"", L"Right-click to unequip"}));
    boots->line2.clear(); // no empty line in its place
    EXPECT_EQ(Item::GetTooltipLines(*boots, false).size(), 6u);

    EXPECT_EQ(Texts(Item::GetTooltipLines(*MakeHealthCube(), false)),
              (std::vector<std::wstring>{L"Health Cube", L"Consumable", L"", L"Gain 200 health", L"",
                                         L"Right-click to use"}));
}

TEST(ItemTooltip, UnknownCategoryOrAmmunitionFails)
{
    auto shotgun = Weapons::MakeDoubleShotgun();
    shotgun->data.ammoType = static_cast<AmmoType>(9);
    EXPECT_THROW(Item::GetTooltipLines(*shotgun, false), std::out_of_range);
    auto cube = MakeHealthCube();
    cube->category = static_cast<ItemCategory>(0);
    try {
        Item::GetTooltipLines(*cube, false);
        FAIL();
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
}

} // namespace
} // namespace mirefell
