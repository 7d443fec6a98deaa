// The inventory grid: where items land, the page rules, the window's drag
// queries at odd cells, and the player's ammunition and weapon list. A
// randomised run checks the grid against the items after every operation.
#include <limits>
#include <random>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "gameplay/ItemMakers.h"
#include "gameplay/PlayerInventory.h"
#include "gameplay/Weapons.h"

namespace mirefell
{
namespace
{

std::unique_ptr<Item> Block(int32_t w, int32_t h)
{
    auto item = MakeHealthCube();
    item->width = w;
    item->height = h;
    return item;
}

// Adds and returns the item's (x, y).
std::pair<int32_t, int32_t> Add(Inventory& inventory, std::unique_ptr<Item> item)
{
    Item* raw = item.get();
    inventory.AddItem(std::move(item));
    return {raw->x, raw->y};
}

// Every item covers exactly its rectangle, on one page; no other cell is
// taken.
void ExpectConsistent(const Inventory& inventory)
{
    const auto& grid = inventory.GetGrid();
    ASSERT_EQ(static_cast<int32_t>(grid.size()), inventory.GetPageCount() * inventory.GetPageHeight());
    std::set<std::pair<int32_t, int32_t>> covered;
    for (const auto& item : inventory.GetItems()) {
        ASSERT_GE(item->x, 0);
        ASSERT_LE(item->x + item->width, inventory.GetWidth());
        ASSERT_EQ(inventory.PageOfRow(item->y), inventory.PageOfRow(item->y + item->height - 1));
        for (int32_t y = item->y; y < item->y + item->height; ++y)
            for (int32_t x = item->x; x < item->x + item->width; ++x) {
                ASSERT_EQ(grid[y][x], item->id);
                ASSERT_TRUE(covered.insert({x, y}).second) << "two items on one cell";
            }
    }
    for (int32_t y = 0; y < static_cast<int32_t>(grid.size()); ++y)
        for (int32_t x = 0; x < inventory.GetWidth(); ++x)
            if (!covered.count({x, y})) {
                ASSERT_TRUE(grid[y][x].IsEmpty());
            }
}

// Where AddItem must put a w x h item, found cell by cell: the first free
// place of the first page with room, else the top-left of a new page.
std::pair<int32_t, int32_t> FirstFreePlace(const Inventory& inventory, int32_t w, int32_t h)
{
    const int32_t rows = inventory.GetPageCount() * inventory.GetPageHeight();
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < inventory.GetWidth(); ++x)
            if (inventory.CanPlace(x, y, w, h))
                return {x, y};
    return {0, rows};
}

TEST(Inventory, ItemsFillRowsLeftToRightFromTheTop)
{
    Inventory inventory;
    EXPECT_EQ(Add(inventory, Block(2, 2)), std::make_pair(0, 0));
    EXPECT_EQ(Add(inventory, Weapons::MakeHammer()), std::make_pair(2, 0));         // 2 x 3
    EXPECT_EQ(Add(inventory, Weapons::MakeRocketLauncher()), std::make_pair(4, 0)); // 3 x 2
    EXPECT_EQ(Add(inventory, Block(3, 1)), std::make_pair(7, 0));
    EXPECT_EQ(Add(inventory, Block(1, 1)), std::make_pair(7, 1)); // the first free cell in reading order
    EXPECT_EQ(Add(inventory, Block(4, 1)), std::make_pair(4, 2)); // too wide for the gap left of the hammer
    ExpectConsistent(inventory);
}

TEST(Inventory, TallItemsNeverCrossAPageAndOpenANewOne)
{
    Inventory inventory;
    // Fill rows 0 to 7 completely; only rows 8 and 9 stay free.
    for (int i = 0; i < 8; ++i)
        Add(inventory, Block(10, 1));
    EXPECT_FALSE(inventory.CanPlace(0, 8, 2, 3));
    const auto place = Add(inventory, Block(2, 3));
    EXPECT_EQ(place, std::make_pair(0, 10)) << "column 0 of the first row of a new page";
    EXPECT_EQ(inventory.GetPageCount(), 2);
    // A two-row item still fits the gap on the first page.
    EXPECT_EQ(Add(inventory, Block(2, 2)), std::make_pair(0, 8));
    ExpectConsistent(inventory);
}

TEST(Inventory, AddItemAtGrowsPagesAndRefusesToWriteOffTheGrid)
{
    Inventory inventory;
    inventory.AddItemAt(4, 25, Block(2, 2));
    EXPECT_EQ(inventory.GetPageCount(), 3);
    EXPECT_EQ(inventory.GetItems().back()->y, 25);

    // Stored positions that cannot hold the item go to the first free place:
    // past the right edge, negative, across a page break, over another item,
    // and absurdly far down.
    const std::pair<int32_t, int32_t> bad[] = {{10, 0}, {9, 0}, {-1, 0}, {0, -3}, {0, 9}, {4, 25}, {0, 1 << 30}};
    for (const auto& [x, y] : bad) {
        auto item = Block(2, 2);
        Item* raw = item.get();
        inventory.AddItemAt(x, y, std::move(item));
        EXPECT_TRUE(raw->x != x || raw->y != y) << x << "," << y;
        ExpectConsistent(inventory);
    }
    EXPECT_LE(inventory.GetPageCount(), 3);
    EXPECT_THROW(inventory.AddItem(Block(11, 1)), std::invalid_argument);
    EXPECT_THROW(inventory.AddItemAt(0, 0, Block(1, 0)), std::invalid_argument);
}

TEST(Inventory, DragQueriesAnswerNoOffTheGrid)
{
    Inventory inventory;
    auto hammer = Weapons::MakeHammer();
    const GUID hammerId = hammer->id;
    inventory.AddItemAt(0, 0, std::move(hammer));
    Item* found = nullptr;
    GUID swap;
    for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {10, 0}, {0, 10}, {-5, -5}, {0, 1000}}) {
        EXPECT_FALSE(inventory.CanPlace(x, y, 1, 1)) << x << "," << y;
        EXPECT_FALSE(inventory.CanPlaceWithSwap(x, y, 1, 1, swap)) << x << "," << y;
        EXPECT_FALSE(inventory.ItemAtCell(x, y, found)) << x << "," << y;
    }
    EXPECT_FALSE(inventory.CanPlace(9, 0, 2, 1)) << "past the right edge";

    ASSERT_TRUE(inventory.ItemAtCell(1, 2, found));
    EXPECT_EQ(found->id, hammerId);
    EXPECT_FALSE(inventory.ItemAtCell(2, 0, found));

    // Over one item: a swap with it; over two items: no.
    EXPECT_TRUE(inventory.CanPlaceWithSwap(1, 1, 2, 2, swap));
    EXPECT_EQ(swap, hammerId);
    EXPECT_TRUE(inventory.CanPlaceWithSwap(4, 4, 2, 2, swap));
    EXPECT_TRUE(swap.IsEmpty());
    inventory.AddItemAt(2, 0, Block(2, 2));
    EXPECT_FALSE(inventory.CanPlaceWithSwap(1, 0, 2, 2, swap));
}

// Any int may come from a save file or a drag: the shape arithmetic must not
// overflow (UBSan stops the sanitised builds at a signed overflow), and the
// answers stay "no" at the extremes.
TEST(Inventory, ExtremeCellsOverflowNothing)
{
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    PlayerInventory inventory;
    GUID swap;
    for (const int32_t x : {0, Max, Min, Max - 1})
        for (const int32_t y : {0, Max, Min, Max - 9, Max - 10}) {
            for (const auto& [w, h] : {std::pair{2, 2}, {1, 10}, {Max, Max}, {Min, Min}}) {
                const bool inside = x == 0 && y == 0 && w > 0 && w <= 10; // the first two shapes
                EXPECT_EQ(inventory.CanPlace(x, y, w, h), inside) << x << "," << y << " " << w << "x" << h;
                EXPECT_EQ(inventory.CanPlaceWithSwap(x, y, w, h, swap), inside) << x << "," << y;
            }
            auto item = Block(2, 3);
            Item* raw = item.get();
            inventory.AddItemAt(x, y, std::move(item));
            EXPECT_LT(raw->y, 2 * inventory.GetPageHeight()) << x << "," << y << " went to a free place";
            ExpectConsistent(inventory);
        }
    // The row after the last page of an int: the largest int, not a wrap.
    EXPECT_EQ(inventory.PageOfRow(Max), 214748364);
    EXPECT_EQ(inventory.EndRowOfPage(Max), Max);
    EXPECT_EQ(inventory.EndRowOfPage(Max - 7), Max);
    EXPECT_EQ(inventory.EndRowOfPage(2147483639), 2147483640);
}

TEST(Inventory, RemoveFreesCellsAndLookupsOfAbsentItemsFail)
{
    Inventory inventory;
    auto shotgun = Weapons::MakeDoubleShotgun();
    const GUID id = shotgun->id;
    inventory.AddItem(std::move(shotgun));
    inventory.AddItem(MakeArtifactBoots());
    EXPECT_EQ(inventory.FindByName("item_boots")->name, L"\"Killer\" Anti-Grav Boots");
    EXPECT_EQ(inventory.FindByName("Bloodlust Goggles"), nullptr) << "looked up by identifier, not display name";

    auto removed = inventory.RemoveItem(id);
    EXPECT_EQ(removed->id, id);
    EXPECT_TRUE(inventory.CanPlace(0, 0, 2, 3));
    ExpectConsistent(inventory);
    try {
        inventory.RemoveItem(id);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "item not found");
    }
    EXPECT_THROW(inventory.GetItem(id), std::runtime_error);
}

TEST(Inventory, RandomOperationsKeepTheGridTrue)
{
    std::mt19937 random(2024);
    Inventory inventory;
    std::vector<GUID> held;
    for (int step = 0; step < 3000; ++step) {
        const int choice = static_cast<int>(random() % 10);
        if (choice < 4) {
            auto item = Block(1 + static_cast<int32_t>(random() % 4), 1 + static_cast<int32_t>(random() % 4));
            held.push_back(item->id);
            const std::pair<int32_t, int32_t> first = FirstFreePlace(inventory, item->width, item->height);
            ASSERT_EQ(Add(inventory, std::move(item)), first) << "step " << step;
        } else if (choice < 7) {
            auto item = Block(1 + static_cast<int32_t>(random() % 3), 1 + static_cast<int32_t>(random() % 3));
            const int32_t x = static_cast<int32_t>(random() % 14) - 2;
            const int32_t y = static_cast<int32_t>(random() % 44) - 2;
            const bool free = inventory.CanPlace(x, y, item->width, item->height);
            Item* raw = item.get();
            held.push_back(item->id);
            inventory.AddItemAt(x, y, std::move(item));
            if (free) {
                ASSERT_EQ(std::make_pair(raw->x, raw->y), std::make_pair(x, y));
            }
        } else if (!held.empty()) {
            const size_t index = random() % held.size();
            inventory.RemoveItem(held[index]);
            held.erase(held.begin() + static_cast<long>(index));
        }
        ASSERT_NO_FATAL_FAILURE(ExpectConsistent(inventory)) << "step " << step;
    }
    EXPECT_EQ(inventory.GetItems().size(), held.size());
}

TEST(PlayerInventory, AmmunitionClampsAndCannotGoNegative)
{
    PlayerInventory inventory;
    for (AmmoType type : {AmmoType::Bullets, AmmoType::Shells, AmmoType::Cells, AmmoType::Rockets})
        EXPECT_EQ(inventory.GetAmmo(type), 0);
    inventory.AddAmmo(AmmoType::Rockets, 40);
    EXPECT_EQ(inventory.GetAmmo(AmmoType::Rockets), 30);
    inventory.AddAmmo(AmmoType::Shells, 48);
    inventory.AddAmmo(AmmoType::Shells, 6);
    EXPECT_EQ(inventory.GetAmmo(AmmoType::Shells), 50);
    inventory.AddAmmo(AmmoType::Cells, 2147483647);
    EXPECT_EQ(inventory.GetAmmo(AmmoType::Cells), 200) << "no overflow on the way to the maximum";

    inventory.RemoveAmmo(AmmoType::Shells, 50);
    EXPECT_EQ(inventory.GetAmmo(AmmoType::Shells), 0);
    try {
        inventory.RemoveAmmo(AmmoType::Shells, 1);
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "remove ammo count exceeds available count");
    }
    EXPECT_EQ(inventory.GetAmmo(AmmoType::Shells), 0);
    EXPECT_THROW(inventory.AddAmmo(AmmoType::None, 1), std::out_of_range);
    EXPECT_THROW(inventory.RemoveAmmo(static_cast<AmmoType>(7), 0), std::out_of_range);
}

TEST(PlayerInventory, WeaponListFollowsAddsAndRemoves)
{
    PlayerInventory inventory;
    auto hammer = Weapons::MakeHammer();
    auto shotgun = Weapons::MakeDoubleShotgun();
    auto launcher = Weapons::MakeRocketLauncher();
    const GUID a = hammer->id, b = shotgun->id, c = launcher->id;
    inventory.AddItem(std::move(hammer));
    inventory.AddItem(MakeArtifactBloodlust());     // not a weapon
    inventory.AddItemAt(0, 40, std::move(shotgun)); // past the grid: still joins the list once
    inventory.AddItem(std::move(launcher));
    EXPECT_EQ(inventory.weaponIds, (std::vector<GUID>{a, b, c}));
    EXPECT_EQ(inventory.IndexOfWeapon(c), 2);

    inventory.weaponIndex = 2;
    inventory.RemoveItem(c);
    EXPECT_EQ(inventory.weaponIndex, 1);
    EXPECT_THROW(inventory.IndexOfWeapon(c), std::exception);
    EXPECT_THROW(inventory.RemoveItem(c), std::runtime_error);
    EXPECT_EQ(inventory.weaponIds, (std::vector<GUID>{a, b}));
    inventory.RemoveItem(a);
    inventory.RemoveItem(b);
    EXPECT_EQ(inventory.weaponIndex, 0);
}

TEST(PlayerInventory, SecondItemOfANameIsNotAdded)
{
    PlayerInventory inventory;
    inventory.AddItemIfNew(Weapons::MakeHyperBlaster());
    inventory.AddItemIfNew(Weapons::MakeHyperBlaster());
    inventory.AddItemIfNew(MakeBreastplate());
    EXPECT_EQ(inventory.GetItems().size(), 2u);
    EXPECT_EQ(inventory.weaponIds.size(), 1u);
    EXPECT_TRUE(inventory.HasItemNamed(*Weapons::MakeHyperBlaster()));
    EXPECT_FALSE(inventory.HasItemNamed(*Weapons::MakeHammer()));
}

} // namespace
} // namespace mirefell
