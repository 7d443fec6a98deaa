#include "gameplay/Loot.h"

#include <random>
#include <utility>

#include "world/PowerupType.h"

namespace mirefell
{

namespace
{

LootEntry Entry(const char* name, PowerupType type)
{
    return {name, name, static_cast<uint32_t>(type)};
}

// Swaps each position p = 1 .. n-1 with a position j drawn uniformly from
// 0 .. p. A draw r is kept only when it lies in the whole multiples of
// m = p + 1 below 2^32 - 1 (or m divides 2^32 evenly), so that r mod m is
// unbiased.
void Shuffle(std::vector<LootEntry>& entries, std::mt19937& engine)
{
    constexpr uint64_t Top = 0xFFFFFFFFull;
    for (size_t p = 1; p < entries.size(); ++p) {
        const uint64_t m = p + 1;
        uint64_t r = 0;
        do {
            r = engine();
        } while (!(r / m < Top / m || Top % m == m - 1));
        std::swap(entries[p], entries[static_cast<size_t>(r % m)]);
    }
}

} // namespace

const std::array<LootEntry, 7>& Loot::MasterList()
{
    static const std::array<LootEntry, 7> list = {
        Entry("hyper_blaster", PowerupType::HyperBlaster), Entry("rocket_launcher", PowerupType::RocketLauncher),
        Entry("health_cube", PowerupType::HealthCube),     Entry("boots", PowerupType::Boots),
        Entry("armor", PowerupType::Breastplate),          Entry("nightmare", PowerupType::Nightmare),
        Entry("bloodlust", PowerupType::Bloodlust)};
    return list;
}

Loot::Lists& Loot::State()
{
    static Lists lists;
    return lists;
}

void Loot::Pick(int32_t seed, int32_t index, uint32_t tier, LootEntry& out)
{
    Lists& lists = State();
    if (lists.seed != seed) {
        lists.seed = seed;
        Reseed();
    }
    const uint64_t position = static_cast<uint64_t>(static_cast<int64_t>(index));
    switch (tier) {
    case 1:
        out = Entry("hammer", PowerupType::Hammer);
        break;
    case 2:
        out = Entry("double_shotgun", PowerupType::DoubleShotgun);
        break;
    case 3:
        out = lists.listA[position % lists.listA.size()];
        break;
    case 4:
        out = lists.listB[position % lists.listB.size()];
        break;
    default:
        break; // no loot table: the caller's entry stands
    }
}

void Loot::Reseed()
{
    Lists& lists = State();
    std::mt19937 engine(static_cast<std::mt19937::result_type>(static_cast<uint32_t>(lists.seed.value_or(0))));
    const std::array<LootEntry, 7>& master = MasterList();

    lists.listA.assign(master.begin(), master.end());
    Shuffle(lists.listA, engine);

    lists.listB.clear();
    for (const LootEntry& entry : master)
        if (entry.powerupType != static_cast<uint32_t>(PowerupType::Boots))
            lists.listB.push_back(entry);
    Shuffle(lists.listB, engine);
}

} // namespace mirefell
