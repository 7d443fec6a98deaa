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

TEST(ItemMakers, ConsumablesAreLargerThanABareConsumable)
{
    // The makers give both consumables 2 x 2 cells; the kind's own default
    // is one cell.
    EXPECT_EQ(Consumable().width, 1);
    for (const auto& consumable : {MakeHealthCube(), MakeBreastplate()})
        EXPECT_EQ(std::make_pair(consumable->width, consumable->height), std::make_pair(2, 2));
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
