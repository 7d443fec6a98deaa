// AIRegionGraph: the sector regions of the World's sector graph as AI
// regions that know their monsters. It answers which region holds a sector,
// which regions an object can reach without passing a fully closed door,
// which regions the player has reached this level (the automap's discovered
// map), and whether the player has just entered or left a named area.
// Through it the player's attack alerts, and each player move awakens, the
// monsters of every reachable region (each region once per level), and after
// each move only the geometry meshes of reachable regions stay visible.
//
// One per World: World::Reset makes it after every object's SetUp and calls
// Build at once, which also indexes the scriptable objects and, for a map
// with "hasScript", makes and starts the level script with its toolbox.
//
// After each player move the movement code calls, in this order:
// CheckAreaTriggers (old and new position; only when there is a script),
// Traverse from the player with Awaken, then MarkReachable. The player's
// first shot of a burst calls Traverse from the player with Alert.
//
// Traversals allocate nothing once the graph is built, except when a region
// is discovered for the first time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/math/Vector.h"
#include "world/AIRegion.h"
#include "world/AreaTrigger.h"
#include "world/FunctionRef.h"
#include "world/MapObjectIndex.h"
#include "world/MapScript.h"
#include "world/MapScriptToolbox.h"

namespace mirefell
{

class GridObject;
class World;
struct MapData;

class AIRegionGraph
{
public:
    using RegionVisitor = FunctionRef<void(AIRegion*)>;

    explicit AIRegionGraph(World* world_);
    ~AIRegionGraph();
    AIRegionGraph(const AIRegionGraph&) = delete;
    AIRegionGraph& operator=(const AIRegionGraph&) = delete;

    // Area triggers, regions (meshes hidden), monsters by spawn region, the
    // object index and the level script. Throws "sector has no corresponding
    // region" for a monster outside every region and "script doesn't exist"
    // for a scripted map without a script.
    void Build();
    // The region whose sectors hold the id; throws "sector has no
    // corresponding region".
    AIRegion* RegionForSector(uint32_t sectorId);
    // Visits, depth first and each once, the regions reachable from the
    // object's sector (a fresh FindSector) through doors that are not fully
    // closed, recording each as discovered. An object on no sector visits
    // nothing.
    void Traverse(GridObject* object, RegionVisitor visit);
    // Recomputes the reachable flags from the object; shows the meshes of
    // reachable regions and hides the others.
    void MarkReachable(GridObject* object);
    // Calls the script's leave hook for every area the old position was in
    // and the new one is not, and the enter hook for the reverse, in area
    // order. Nothing without a script.
    void CheckAreaTriggers(const Vector3& oldPosition, const Vector3& newPosition);

    // The three traversal callbacks. Alert roars (unforced) at the monsters
    // of a region not yet alerted; Awaken wakes those of a region not yet
    // awakened; Reachable flags a region and shows its mesh.
    static void Alert(AIRegion* region);
    static void Awaken(AIRegion* region);
    static void Reachable(AIRegion* region);

    MapScript* Script() const { return script.get(); }

    World* world;
    MapData* mapData;
    std::map<int32_t, AIRegion*> discovered; // only grows during the level
    std::map<int32_t, AIRegion> regions;
    std::unique_ptr<MapScriptToolbox> toolbox; // only with a script
    std::unique_ptr<MapScript> script;
    std::vector<AreaTrigger> areaTriggers; // in file order
    MapObjectIndex objects;                // handed to the script

private:
    bool CanPass(uint32_t doorSectorId) const;

    std::unordered_map<uint32_t, AIRegion*> regionOfSector;
    std::vector<AIRegion*> stack; // traversal work list, kept between traversals
    uint32_t traversal = 0;
    bool traversing = false;
};

} // namespace mirefell
