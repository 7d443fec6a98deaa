// The entity type codes that maps use, and their fixed meanings.
#include "world/MapEntityTypes.h"

namespace mirefell
{

namespace
{

MapEntityType Pickup(uint32_t powerupType, std::string name = {})
{
    return {std::move(name), MapEntityKind::Powerup, {}, powerupType};
}

MapEntityType Monster(std::string name, uint32_t walk, uint32_t death, uint32_t attack)
{
    return {std::move(name),
            MapEntityKind::Monster,
            {{MonsterAnimation::Walk, walk}, {MonsterAnimation::Death, death}, {MonsterAnimation::Attack, attack}},
            0};
}

} // namespace

std::map<std::string, MapEntityType>& MapEntityTypes::Table()
{
    static std::map<std::string, MapEntityType> table;
    return table;
}

void MapEntityTypes::Initialize()
{
    auto& table = Table();
    table.clear();
    table.emplace("RK", Pickup(4));           // red key
    table.emplace("BK", Pickup(5));           // blue key
    table.emplace("AM", Pickup(2));           // ammo pack
    table.emplace("MK", Pickup(1));           // medkit
    table.emplace("L", Pickup(3));            // level exit
    table.emplace("P", Pickup(0, "powerup")); // loot tables choose the kind at spawn
    table.emplace("A", Pickup(12));           // armour shard
    table.emplace("N", Monster("nom", 2, 4, 2));
    table.emplace("E", Monster("eye", 4, 4, 2));
}

const MapEntityType* MapEntityTypes::Find(const std::string& code)
{
    const auto& table = Table();
    const auto found = table.find(code);
    return found == table.end() ? nullptr : &found->second;
}

const std::map<std::string, MapEntityType>& MapEntityTypes::All()
{
    return Table();
}

} // namespace mirefell
