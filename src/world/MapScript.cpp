// MapScript: making a level's script and the index queries.
#include "world/MapScript.h"

#include <algorithm>

#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "platform/PrintableText.h"
#include "world/MapObjectIndex.h"

namespace mirefell
{

namespace
{

template <class T> std::vector<T*> Select(const std::map<uint32_t, T*>& index, const std::vector<uint32_t>& ids)
{
    std::vector<T*> found;
    for (const auto& [id, object] : index)
        if (std::find(ids.begin(), ids.end(), id) != ids.end())
            found.push_back(object);
    return found;
}

// The object of `id` in one kind's index, or the failure that names it.
template <class T> T* Need(const std::map<uint32_t, T*>& index, uint32_t id, const char* kind, const char* idKey)
{
    const auto found = index.find(id);
    if (found == index.end())
        throw MissingEntryError("the level script needs the " + std::string(kind) + " whose " + idKey + " is " +
                                std::to_string(id) + ", which the map does not have");
    return found->second;
}

MapScript::MakerTable& RegisteredScripts()
{
    static MapScript::MakerTable makers;
    return makers;
}

} // namespace

const MapScript::MakerTable& MapScript::LevelScripts()
{
    return RegisteredScripts();
}

void MapScript::Register(const std::string& levelName, Maker maker)
{
    RegisteredScripts()[levelName] = maker;
}

std::unique_ptr<MapScript> MapScript::Create(std::string levelName, MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return Create(LevelScripts(), levelName, objects, toolbox);
}

std::unique_ptr<MapScript> MapScript::Create(const MakerTable& makers, const std::string& levelName,
                                             MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    const auto found = makers.find(levelName);
    if (found == makers.end())
        throw GameError(ScriptDoesntExist, "the map's \"name\" is \"" + PrintableText(levelName) +
                                               "\" and it \"hasScript\", but no level script has that name");
    return found->second(objects, toolbox);
}

std::vector<IMonster*> MapScript::GetMonsters(std::vector<uint32_t> ids)
{
    return Select(objects->monsters, ids);
}

std::vector<IElevator*> MapScript::GetElevators(std::vector<uint32_t> ids)
{
    return Select(objects->elevators, ids);
}

std::vector<IDoor*> MapScript::GetDoors(std::vector<uint32_t> ids)
{
    return Select(objects->doors, ids);
}

IDoor* MapScript::GetDoor(uint32_t id) const
{
    return Need(objects->doors, id, "door", "sector \"id\"");
}

IElevator* MapScript::GetElevator(uint32_t id) const
{
    return Need(objects->elevators, id, "elevator", "sector \"id\"");
}

ISwitch* MapScript::GetSwitch(uint32_t id) const
{
    return Need(objects->switches, id, "switch", "segment \"id\"");
}

IPowerup* MapScript::GetPickup(uint32_t id) const
{
    return Need(objects->pickups, id, "pickup", "entity \"id\"");
}

} // namespace mirefell
