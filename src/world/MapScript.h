// MapScript: the base of the level scripts. A level whose map sets
// "hasScript" gets one script, made by name when the level starts, after the
// World and its objects exist and the object index is filled; Start runs at
// once. The game then calls its hooks: Update every step before the objects
// update, and the door, pickup, switch and area hooks when the player opens
// a door, collects a pickup, throws a switch or enters or leaves a named
// area. The base hooks do nothing.
//
// A script reaches the level's objects by map id through the object index
// (single look-ups go through GetDoor, GetElevator, GetSwitch and GetPickup
// and fail with "invalid map<K, T> key", naming the id the map lacks) and
// asks the toolbox for level-wide effects. Both are borrowed; the AI region graph
// owns them and the script, which lives until the level's World goes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace mirefell
{

class IDoor;
class IElevator;
class IMapScriptToolbox;
class IMonster;
class IPowerup;
class ISwitch;
struct AreaTrigger;
struct MapObjectIndex;

class MapScript
{
public:
    static constexpr const char* ScriptDoesntExist = "script doesn't exist";

    using Maker = std::unique_ptr<MapScript> (*)(MapObjectIndex* objects, IMapScriptToolbox* toolbox);
    using MakerTable = std::map<std::string, Maker>;

    MapScript(MapObjectIndex* objects_, IMapScriptToolbox* toolbox_) : objects(objects_), toolbox(toolbox_) {}
    virtual ~MapScript() = default;
    MapScript(const MapScript&) = delete;
    MapScript& operator=(const MapScript&) = delete;

    // The script of a level, by its exact (case-sensitive) name; a level
    // without one throws "script doesn't exist".
    static std::unique_ptr<MapScript> Create(std::string levelName, MapObjectIndex* objects,
                                             IMapScriptToolbox* toolbox);
    // The same over any table of makers.
    static std::unique_ptr<MapScript> Create(const MakerTable& makers, const std::string& levelName,
                                             MapObjectIndex* objects, IMapScriptToolbox* toolbox);
    // Level name to the maker of its script: empty until the gameplay layer,
    // which owns the level scripts, registers them at start-up.
    static const MakerTable& LevelScripts();
    // Adds or replaces the maker of a level's script.
    static void Register(const std::string& levelName, Maker maker);

    // Once, right after the script is made.
    virtual void Start() {}
    // Every step, before the objects' updates.
    virtual void Update() {}
    // After the player opened a door (not after scripted opens).
    virtual void OnDoorOpened(IDoor*) {}
    // After a pickup's effect, before the pickup leaves the world.
    virtual void OnPowerupPickedUp(IPowerup*) {}
    // After a switch toggled, before its sound.
    virtual void OnSwitchToggled(ISwitch*) {}
    // When the player moves from outside to inside a named area's box.
    virtual void OnTriggerEnter(const AreaTrigger&) {}
    // When the player moves from inside to outside.
    virtual void OnTriggerLeave(const AreaTrigger&) {}

    // The indexed objects whose ids are listed, in ascending id: missing ids
    // are skipped and an id listed twice gives one entry.
    virtual std::vector<IMonster*> GetMonsters(std::vector<uint32_t> ids);
    virtual std::vector<IElevator*> GetElevators(std::vector<uint32_t> ids);
    virtual std::vector<IDoor*> GetDoors(std::vector<uint32_t> ids);

    // The one indexed object of that id; a missing id throws
    // MissingEntryError ("invalid map<K, T> key"), whose detail says which
    // object of which kind the map lacks.
    IDoor* GetDoor(uint32_t id) const;
    IElevator* GetElevator(uint32_t id) const;
    ISwitch* GetSwitch(uint32_t id) const;
    IPowerup* GetPickup(uint32_t id) const;

    MapObjectIndex* objects;
    IMapScriptToolbox* toolbox;
};

} // namespace mirefell
