// AIRegionGraph: building the regions, reachability through doors and the
// area triggers.
#include "world/AIRegionGraph.h"

#include <cassert>
#include <string>

#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "render/Mesh.h"
#include "world/GridObject.h"
#include "world/IDoor.h"
#include "world/IElevator.h"
#include "world/IMonster.h"
#include "world/IPowerup.h"
#include "world/ISwitch.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

// Kinds of object the level script can address.
constexpr uint32_t ScriptableMask = GridObjectType::Concrete | GridObjectType::Door | GridObjectType::Elevator |
                                    GridObjectType::Powerup | GridObjectType::Monster | GridObjectType::Switch;
static_assert(ScriptableMask == 159);

// Enters the object under the key that keyOf reads from it, when it offers
// the interface. Doors and elevators know their sector, and pickups,
// monsters and switches their map record, from the moment they are built.
template <class Interface, class KeyOf>
void Index(std::map<uint32_t, Interface*>& index, GridObject* object, KeyOf keyOf)
{
    if (auto* handle = dynamic_cast<Interface*>(object))
        index[keyOf(object)] = handle;
}

uint32_t SectorId(const GridObject* object)
{
    assert(object->sector && "a door or elevator is tied to its sector");
    return static_cast<uint32_t>(object->sector->id);
}

template <class Record> uint32_t RecordId(const GridObject* object)
{
    assert(object->source && "a map object keeps its record");
    return static_cast<uint32_t>(static_cast<const Record*>(object->source)->id);
}

template <class Operation> void ForEachMonster(AIRegion* region, Operation operation)
{
    for (GridObject* object : region->monsters) {
        auto* monster = dynamic_cast<IMonster*>(object);
        assert(monster && "every object of the monster mask is an IMonster");
        if (monster)
            operation(*monster);
    }
}

} // namespace

AIRegionGraph::AIRegionGraph(World* world_) : world(world_), mapData(&world_->map) {}

AIRegionGraph::~AIRegionGraph() = default;

void AIRegionGraph::Build()
{
    for (const MapArea& area : mapData->areas) {
        AreaTrigger& trigger = areaTriggers.emplace_back();
        trigger.name = area.name;
        trigger.id = area.id;
        trigger.start = area.start;
        trigger.end = area.end;
        trigger.box.Widen(area.start);
        trigger.box.Widen(area.end);
    }

    size_t linkCount = 0;
    for (SectorRegion& region : world->sectorGraph.Regions()) {
        region.mesh->visible = false;
        AIRegion& added = regions[static_cast<int32_t>(region.id)];
        added.region = &region;
        linkCount += region.links.size();
    }
    // Each sector belongs to at most one region; the first in id order wins.
    for (auto& [id, region] : regions)
        for (const uint32_t sectorId : region.region->sectors)
            regionOfSector.emplace(sectorId, &region);
    stack.reserve(linkCount + 1);

    world->ForEachObject(GridObjectType::Monster, [&](GridObject* monster) {
        // At set-up a monster's current sector is the one under it.
        if (const MapSector* spawn = monster->FindSector())
            RegionForSector(static_cast<uint32_t>(spawn->id))->monsters.push_back(monster);
    });

    world->ForEachObject(ScriptableMask, [&](GridObject* object) {
        switch (object->typeMask) {
        case GridObjectType::Door:
            Index(objects.doors, object, SectorId);
            break;
        case GridObjectType::Elevator:
            Index(objects.elevators, object, SectorId);
            break;
        case GridObjectType::Powerup:
            Index(objects.pickups, object, RecordId<MapEntity>);
            break;
        case GridObjectType::Monster:
            Index(objects.monsters, object, RecordId<MapEntity>);
            break;
        case GridObjectType::Switch:
            Index(objects.switches, object, RecordId<MapSegment>);
            break;
        default:
            break; // static geometry is visited and skipped
        }
    });

    if (mapData->hasScript) {
        toolbox = std::make_unique<MapScriptToolbox>(world);
        script = MapScript::Create(mapData->name, &objects, toolbox.get());
        script->Start();
    }
}

AIRegion* AIRegionGraph::RegionForSector(uint32_t sectorId)
{
    const auto found = regionOfSector.find(sectorId);
    if (found == regionOfSector.end())
        throw GameError(SectorGraph::NoCorrespondingRegion, "sector " + std::to_string(static_cast<int32_t>(sectorId)));
    return found->second;
}

bool AIRegionGraph::CanPass(uint32_t doorSectorId) const
{
    const auto& table = world->sectorGraph.Sectors();
    const auto found = table.find(doorSectorId);
    // A door sector without a built door has nothing in the way.
    if (found == table.end() || !found->second.sector->doorObject)
        return true;
    return found->second.sector->doorObject->GetState() != DoorStateClosed;
}

void AIRegionGraph::Traverse(GridObject* object, RegionVisitor visit)
{
    assert(!traversing && "a traversal callback does not traverse again");
    const MapSector* start = object->FindSector();
    if (!start)
        return;
    AIRegion* first = RegionForSector(static_cast<uint32_t>(start->id));

    struct Guard
    {
        bool& flag;
        explicit Guard(bool& flag_) : flag(flag_) { flag = true; }
        ~Guard() { flag = false; }
    } guard(traversing);

    ++traversal;
    stack.clear();
    stack.push_back(first);
    while (!stack.empty()) {
        AIRegion* region = stack.back();
        stack.pop_back();
        if (region->visitMark == traversal)
            continue;
        region->visitMark = traversal;
        discovered[static_cast<int32_t>(region->region->id)] = region;
        visit(region);
        for (const RegionLink& link : region->region->links)
            if (CanPass(link.doorSectorId))
                stack.push_back(&MapAt(regions, static_cast<int32_t>(link.region->id)));
    }
}

void AIRegionGraph::MarkReachable(GridObject* object)
{
    for (auto& [id, region] : regions)
        region.reachable = false;
    Traverse(object, Reachable);
    for (auto& [id, region] : regions)
        if (!region.reachable && region.region->mesh->visible)
            region.region->mesh->visible = false;
}

void AIRegionGraph::CheckAreaTriggers(const Vector3& oldPosition, const Vector3& newPosition)
{
    if (!script)
        return;
    for (const AreaTrigger& trigger : areaTriggers) {
        const bool wasInside = trigger.Contains(oldPosition);
        const bool isInside = trigger.Contains(newPosition);
        if (wasInside && !isInside)
            script->OnTriggerLeave(trigger);
        else if (!wasInside && isInside)
            script->OnTriggerEnter(trigger);
    }
}

void AIRegionGraph::Alert(AIRegion* region)
{
    if (region->alerted)
        return;
    ForEachMonster(region, [](IMonster& monster) { monster.Roar(false); });
    region->alerted = true;
}

void AIRegionGraph::Awaken(AIRegion* region)
{
    if (region->awakened)
        return;
    ForEachMonster(region, [](IMonster& monster) { monster.Awaken(); });
    region->awakened = true;
}

void AIRegionGraph::Reachable(AIRegion* region)
{
    region->reachable = true;
    region->region->mesh->visible = true;
}

} // namespace mirefell
