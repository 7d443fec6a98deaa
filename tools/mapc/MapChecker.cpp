// MapChecker: the level build, the script's needs, the static checks and the
// reachability of sectors, keys and the exit.
#include "MapChecker.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>

#include "EntityBodies.h"
#include "Reachability.h"
#include "ScriptProbe.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "platform/GameError.h"
#include "render/Camera.h"
#include "render/EffectRegistry.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSystem.h"
#include "world/MapScript.h"
#include "world/Polygon.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell::maptool
{

namespace
{

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double PlayerHeight = 2.0 * Player::BodyHalfExtents.y;
// Heights written by the compiler are exact; this only absorbs float noise.
constexpr double HeightSlack = 0.01;

std::string Number(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string Sector(const MapSector& sector)
{
    return "sector " + std::to_string(sector.id);
}

std::string Entity(const MapEntity& entity, const std::string& code)
{
    return "entity " + std::to_string(entity.id) + " (" + code + ")";
}

// The type code of a record, for messages.
std::string CodeOf(const MapEntity& entity)
{
    for (const auto& [code, type] : MapEntityTypes::All())
        if (type.name == entity.entityType.name && type.kind == entity.entityType.kind &&
            (type.powerupType == entity.entityType.powerupType || type.name == "powerup"))
            return code;
    return "?";
}

// A working folder of its own for as long as it lives.
class ScratchFolder
{
public:
    ScratchFolder() : previous(std::filesystem::current_path())
    {
        std::random_device device;
        for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
            const auto candidate =
                std::filesystem::temp_directory_path() / ("mirefell-mapcheck-" + std::to_string(device()));
            if (std::filesystem::create_directory(candidate))
                path = candidate;
        }
        if (path.empty())
            throw std::runtime_error("could not create a scratch folder");
        std::filesystem::current_path(path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

private:
    std::filesystem::path previous;
    std::filesystem::path path;
};

// The level script the checked build makes: the catalogue's maker under
// test, wrapped so that what its Start throws is kept for the report. The
// registry takes plain function pointers, so the maker and the report are
// file-wide; one check runs at a time.
MapScript::Maker checkedMaker = nullptr;
std::string startFailure;

class WatchedStart final : public MapScript
{
public:
    explicit WatchedStart(std::unique_ptr<MapScript> inner_)
        : MapScript(inner_->objects, inner_->toolbox), inner(std::move(inner_))
    {}
    void Start() override
    {
        try {
            inner->Start();
        } catch (const GameError& error) {
            startFailure = error.Describe();
            throw;
        } catch (const std::exception& error) {
            startFailure = error.what();
            throw;
        }
    }

private:
    std::unique_ptr<MapScript> inner;
};

std::unique_ptr<MapScript> MakeWatchedScript(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<WatchedStart>(checkedMaker(objects, toolbox));
}

// The level built as the game's level start builds it, at "Normal": every
// object made by the gameplay's own factories and, for a scripted map with
// a script, the script made and started on them by the build. A script
// whose start fails on the built level is reported as such.
void CheckBuild(const MapData& map, const LevelScriptCatalogue::Entry* script, std::vector<std::string>& problems)
{
    // Pickups and monsters are drawn through the entity meshes, which the
    // build needs loaded: read from "assets/meshes/" under the current folder, as the
    // game reads them (before the scratch folder becomes current).
    try {
        MeshRegistry::GetInstance().LoadAll();
    } catch (const std::exception& error) {
        problems.push_back(std::string("the entity meshes cannot be read from \"assets/meshes/\": ") + error.what());
        return;
    }
    ScratchFolder folder;
    GameSaveManager& saves = GameSaveManager::GetInstance();
    const GameSave kept = saves.current;
    saves.current = GameSave();
    saves.current.levelId = map.name;
    saves.current.difficulty = GameDifficulty::Normal; // the monsters' numbers depend on it
    MapData copy = map;
    // A scripted map without a script is reported by the script check; the
    // rest of the level is still built.
    copy.hasScript = map.hasScript && script;
    if (copy.hasScript) {
        checkedMaker = script->make;
        MapScript::Register(map.name, MakeWatchedScript);
    }
    startFailure.clear();
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::string failure;
    try {
        World::Create(&root, &debugRoot, &particles, &camera, copy, saves.GetLevelSettings(), MakeMapObjectFactories());
    } catch (const GameError& error) {
        failure = error.Describe();
    } catch (const std::exception& error) {
        failure = error.what();
    }
    if (!startFailure.empty())
        problems.push_back("the script of \"" + map.name + "\" fails to start on this map: " + startFailure);
    else if (!failure.empty())
        problems.push_back("the level build fails: " + failure);
    if (copy.hasScript)
        MapScript::Register(map.name, script->make); // as the game registers it
    saves.current = kept;
}

void CheckScriptNeeds(const MapData& map, const LevelScriptCatalogue::Entry* script, std::vector<std::string>& problems)
{
    if (!map.hasScript)
        return;
    const std::string who = "the script of \"" + map.name + "\"";
    if (!script) {
        problems.push_back("the map sets \"hasScript\" but no level script is named \"" + map.name + "\"");
        return;
    }
    const LevelScriptNeeds& needs = *script->needs;
    const auto sectorOf = [&](uint32_t id) -> const MapSector* {
        for (const MapSector& sector : map.sectors)
            if (static_cast<uint32_t>(sector.id) == id)
                return &sector;
        return nullptr;
    };
    for (const uint32_t id : needs.doors) {
        const MapSector* sector = sectorOf(id);
        if (!sector || !sector->door)
            problems.push_back(who + " needs door " + std::to_string(id) + ", which the map lacks" +
                               (sector ? " (sector " + std::to_string(id) + " is no door)" : ""));
    }
    for (const uint32_t id : needs.elevators) {
        const MapSector* sector = sectorOf(id);
        if (!sector || !sector->elevator || sector->door)
            problems.push_back(who + " needs elevator " + std::to_string(id) + ", which the map lacks" +
                               (sector ? " (sector " + std::to_string(id) + " is no elevator)" : ""));
    }
    for (const uint32_t id : needs.switches) {
        const bool found = std::any_of(map.segments.begin(), map.segments.end(), [&](const MapSegment& segment) {
            return segment.type == SegmentTypeSwitch && static_cast<uint32_t>(segment.id) == id;
        });
        if (!found)
            problems.push_back(who + " needs switch " + std::to_string(id) + ", which the map lacks");
    }
    const auto entityOf = [&](uint32_t id) -> const MapEntity* {
        for (const MapEntity& entity : map.entities)
            if (static_cast<uint32_t>(entity.id) == id)
                return &entity;
        return nullptr;
    };
    for (const uint32_t id : needs.pickups) {
        const MapEntity* entity = entityOf(id);
        if (!entity || entity->entityType.kind != MapEntityKind::Powerup)
            problems.push_back(who + " needs pickup " + std::to_string(id) + ", which the map lacks");
        else if (entity->entityType.name == "powerup")
            problems.push_back(who + " needs pickup " + std::to_string(id) +
                               ", a random \"P\" record: once collected it is not made again");
    }
    for (const uint32_t id : needs.monsters) {
        const MapEntity* entity = entityOf(id);
        if (!entity || entity->entityType.kind != MapEntityKind::Monster)
            problems.push_back(who + " needs monster " + std::to_string(id) + ", which the map lacks");
    }
    for (const std::string& name : needs.areas) {
        const bool found =
            std::any_of(map.areas.begin(), map.areas.end(), [&](const MapArea& area) { return area.name == name; });
        if (!found)
            problems.push_back(who + " needs area \"" + name + "\", which the map lacks");
    }
}

double OpenGap(const MapSector& door)
{
    return std::min<double>(door.doorMaxHeight, door.ceilBottomY - door.floorTopY);
}

void CheckDoors(const MapData& map, std::vector<std::string>& problems)
{
    for (const MapSector& sector : map.sectors) {
        if (!sector.door)
            continue;
        const double gap = OpenGap(sector);
        if (gap < PlayerHeight)
            problems.push_back("door " + std::to_string(sector.id) + " opens only " + Number(gap) +
                               " high; the player needs " + Number(PlayerHeight));
        else if (gap < MapChecker::MonsterHeadroom)
            problems.push_back("door " + std::to_string(sector.id) + " opens only " + Number(gap) +
                               " high; monsters need " + Number(MapChecker::MonsterHeadroom));
    }
}

// The floor a sector offers once the script has started.
double RestingFloor(const MapSector& sector, const ScriptModel& model)
{
    if (sector.elevator)
        if (const auto found = model.elevators.find(static_cast<uint32_t>(sector.id)); found != model.elevators.end())
            return found->second.restingSurface;
    return sector.floorTopY;
}

void CheckEntities(const MapData& map, const ScriptModel& model, std::vector<std::string>& problems)
{
    for (const MapEntity& entity : map.entities) {
        const std::string name = Entity(entity, CodeOf(entity));
        const EntityBody body = BodyOf(entity.entityType);
        const Vector2 centre{entity.pos.x + body.spawnOffset.x, entity.pos.y + body.spawnOffset.z};
        const MapSector* sector = nullptr;
        for (const MapSector& candidate : map.sectors)
            if (!sector && Polygon::ContainsPoint(candidate, centre))
                sector = &candidate;
        if (!sector) {
            problems.push_back(name + " at " + Number(centre.x) + "," + Number(centre.y) +
                               " (its position plus its offset) stands outside every sector");
            continue;
        }
        if (!sector->elevator && std::abs(entity.y - sector->floorTopY) > HeightSlack)
            problems.push_back(name + " is placed at height " + Number(entity.y) + " but the floor of " +
                               Sector(*sector) + " is at " + Number(sector->floorTopY));
        if (entity.entityType.kind != MapEntityKind::Monster)
            continue;
        const double floor = RestingFloor(*sector, model);
        const double room = (sector->ceiling ? sector->ceilBottomY : Infinity) - floor;
        if (room < MapChecker::MonsterHeadroom)
            problems.push_back(name + " has " + Number(room) + " between floor and ceiling in " + Sector(*sector) +
                               "; monsters need " + Number(MapChecker::MonsterHeadroom));
        const MapRect footprint(centre.x - body.halfExtents.x, centre.y - body.halfExtents.z,
                                centre.x + body.halfExtents.x, centre.y + body.halfExtents.z);
        double low = Infinity;
        double high = -Infinity;
        for (const MapSector& under : map.sectors)
            if (SectorOverlapsRect(under, footprint)) {
                low = std::min(low, RestingFloor(under, model));
                high = std::max(high, RestingFloor(under, model));
            }
        if (high - low > WorldCollision::MaxStepHeight)
            problems.push_back(name + " stands across floors " + Number(high - low) +
                               " apart and cannot move; monsters climb " + Number(WorldCollision::MaxStepHeight));
    }
}

void CheckSteps(const MapData& map, const CheckNotes& notes, std::vector<std::string>& problems)
{
    const auto find = [&](int32_t id) -> const MapSector* {
        for (const MapSector& sector : map.sectors)
            if (sector.id == id)
                return &sector;
        return nullptr;
    };
    const auto top = [](const MapSector& sector) {
        if (sector.door)
            return sector.floorTopY + OpenGap(sector);
        return sector.ceiling ? static_cast<double>(sector.ceilBottomY) : Infinity;
    };
    std::vector<std::pair<int32_t, int32_t>> seen;
    for (size_t k = 0; k + 1 < map.sectorLinks.size(); k += 2) {
        const std::pair<int32_t, int32_t> pair{std::min(map.sectorLinks[k], map.sectorLinks[k + 1]),
                                               std::max(map.sectorLinks[k], map.sectorLinks[k + 1])};
        if (std::find(seen.begin(), seen.end(), pair) != seen.end())
            continue;
        seen.push_back(pair);
        const MapSector* a = find(pair.first);
        const MapSector* b = find(pair.second);
        if (!a || !b || a == b || a->elevator || b->elevator || notes.unwalkable.contains(a->id) ||
            notes.unwalkable.contains(b->id) || notes.IsLedge(a->id, b->id))
            continue;
        const std::string between = "sectors " + std::to_string(a->id) + " and " + std::to_string(b->id);
        const double step = std::abs(a->floorTopY - b->floorTopY);
        if (step > WorldCollision::MaxStepHeight)
            problems.push_back("the step between " + between + " is " + Number(step) + " high; monsters climb " +
                               Number(WorldCollision::MaxStepHeight) + " (declare 'ledge " + std::to_string(a->id) +
                               " " + std::to_string(b->id) + "' if monsters are meant to stay apart)");
        const double opening = std::min(top(*a), top(*b)) - std::max(a->floorTopY, b->floorTopY);
        if (opening < MapChecker::MonsterHeadroom)
            problems.push_back("the opening between " + between + " is " + Number(opening) + " high; monsters need " +
                               Number(MapChecker::MonsterHeadroom));
    }
}

void CheckReach(const MapData& map, const ScriptModel& model, const CheckNotes& notes,
                std::vector<std::string>& problems)
{
    Reachability reach(map, model);
    if (reach.SectorAt(map.playerStartPosition) < 0) {
        problems.push_back("the player start lies outside every sector");
        return;
    }
    reach.Run();
    for (size_t i = 0; i < map.sectors.size(); ++i)
        if (!reach.SectorReached(i) && !notes.unwalkable.contains(map.sectors[i].id))
            problems.push_back(Sector(map.sectors[i]) + " cannot be reached from the start");

    for (size_t i = 0; i < map.sectors.size(); ++i) {
        const MapSector& door = map.sectors[i];
        if (!door.door || door.key == 0 || reach.DoorOpenable(i))
            continue;
        const auto keyType = door.key == 1 ? PowerupType::RedKey : PowerupType::BlueKey;
        const std::string keyName = door.key == 1 ? "red key" : "blue key";
        std::vector<const MapEntity*> keys;
        for (const MapEntity& entity : map.entities)
            if (entity.entityType.kind == MapEntityKind::Powerup &&
                static_cast<PowerupType>(entity.entityType.powerupType) == keyType)
                keys.push_back(&entity);
        if (keys.empty()) {
            problems.push_back("door " + std::to_string(door.id) + " needs the " + keyName +
                               ", which the map does not hold");
            continue;
        }
        Reachability opened(map, model);
        opened.Run(static_cast<uint32_t>(door.id));
        for (const MapEntity* key : keys)
            if (opened.PickupReached(*key))
                problems.push_back("the " + keyName + " (" + Entity(*key, CodeOf(*key)) + ") lies behind door " +
                                   std::to_string(door.id) + ", which it opens");
    }

    bool anyExit = false;
    for (const MapEntity& entity : map.entities) {
        if (entity.entityType.kind != MapEntityKind::Powerup ||
            static_cast<PowerupType>(entity.entityType.powerupType) != PowerupType::LevelExit)
            continue;
        anyExit = true;
        if (!reach.PickupReached(entity))
            problems.push_back("the exit (" + Entity(entity, "L") + ") cannot be reached from the start");
    }
    if (!anyExit)
        problems.push_back("the map has no exit (L)");
}

} // namespace

CheckNotes CheckNotes::From(const LevelSource& source)
{
    CheckNotes notes;
    notes.ledges = source.ledges;
    for (const SourceSector& sector : source.sectors)
        if (!sector.walkable)
            notes.unwalkable.insert(sector.id);
    return notes;
}

bool CheckNotes::IsLedge(int32_t a, int32_t b) const
{
    return std::any_of(ledges.begin(), ledges.end(), [&](const auto& ledge) {
        return (ledge.first == a && ledge.second == b) || (ledge.first == b && ledge.second == a);
    });
}

std::vector<std::string> MapChecker::Check(const MapData& map, const CheckNotes& notes,
                                           const LevelScriptCatalogue::Entry* script)
{
    std::vector<std::string> problems;
    // What the script does to doors and elevators, for the reachability
    // walk, is learnt on stand-ins (ScriptProbe) rather than on the built
    // level: each area, switch and pickup is tried on a fresh script from its
    // start, which on real objects would take a level build per cause and
    // stepping each door and lift until it arrived; the stand-ins record at
    // once what the script asked of them. Whether the script starts at all
    // is the real build's to say.
    const ScriptModel model = ScriptProbe::Run(map, script && map.hasScript ? script->make : nullptr);
    CheckScriptNeeds(map, script, problems);
    CheckBuild(map, script, problems);
    CheckDoors(map, problems);
    CheckEntities(map, model, problems);
    CheckSteps(map, notes, problems);
    CheckReach(map, model, notes, problems);
    return problems;
}

} // namespace mirefell::maptool
