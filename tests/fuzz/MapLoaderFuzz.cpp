// Fuzz target for the map loader: any text must either load or be refused
// with the loader's clear errors (GameError, also for malformed JSON and
// wrong value types). A loaded map then has its references checked, as a
// level load does, and goes through what the level build does first with it
// (sector graph, door and elevator geometry, polygon tests), which relies on
// the loader's index checks. Any other exception, crash or sanitizer report
// is a finding.
#include <cstdint>
#include <string>

#include "platform/GameError.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/MovingSector.h"
#include "world/Polygon.h"
#include "world/SectorGraph.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace mirefell;
    static const bool typesReady = (MapEntityTypes::Initialize(), true);
    (void)typesReady;

    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        const MapData map = MapLoader::Parse(text);
        MapLoader::CheckReferences(map);
        uint32_t counter = 0;
        const SectorGraph graph = SectorGraph::Build(counter, map.sectors, map.sectorLinks);
        const MapRect probe{map.boundsMin.x, map.boundsMin.y, map.boundsMin.x + 16.0f, map.boundsMin.y + 16.0f};
        for (const MapSector& sector : map.sectors) {
            if (sector.door || sector.elevator)
                (void)MovingSector::Build(sector, !sector.door);
            (void)SectorOverlapsRect(sector, probe);
            (void)Polygon::ContainsPoint(sector, map.playerStartPosition);
            (void)graph.RegionOfSector(static_cast<uint32_t>(sector.id));
        }
    } catch (const GameError&) {
    }
    return 0;
}
