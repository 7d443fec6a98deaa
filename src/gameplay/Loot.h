// Loot: the loot tables of random pickups. A map's "powerup" records carry a
// loot table (tier) instead of a kind; each gets its kind from the tables:
// tier 1 the hammer, tier 2 the double shotgun, tiers 3 and 4 an entry of
// list A or list B, two orders of the master list shuffled with the game's
// loot seed. The seed lives in the save and never changes during a game, so
// every build of a level places the same loot, and a new game other loot.
//
// The lists are process-wide and rebuilt only when a pick comes with another
// seed than the last. The shuffle is fixed to the draw rule below: another
// rule would give a stored seed different loot.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "world/LootEntry.h"

namespace mirefell
{

class Loot
{
public:
    // Hyper blaster, rocket launcher, health cube, boots, breastplate,
    // nightmare, bloodlust, in this order.
    static const std::array<LootEntry, 7>& MasterList();

    // The loot of the index-th (1-based) random pickup of a level with the
    // given loot table: tier 1 and 2 their fixed entries, tier 3 list A and
    // tier 4 list B at index modulo the list's length (a negative index
    // wraps as an unsigned 64-bit number). Any other tier leaves `out` as it
    // was. Rebuilds the lists first when the seed is new.
    static void Pick(int32_t seed, int32_t index, uint32_t tier, LootEntry& out);
    // Rebuilds lists A and B for the remembered seed: A the master list, B
    // the master list without the boots, both shuffled, in that order, by
    // one mt19937 seeded with it.
    static void Reseed();

    // The lists of the last seed (empty before the first pick).
    static const std::vector<LootEntry>& ListA() { return State().listA; }
    static const std::vector<LootEntry>& ListB() { return State().listB; }

private:
    struct Lists
    {
        std::vector<LootEntry> listA;
        std::vector<LootEntry> listB;
        std::optional<int32_t> seed; // unset until the first pick
    };
    static Lists& State();
};

} // namespace mirefell
