// Fuzz target for the map loader: any text must either load or be refused
// with the loader's clear errors (GameError, also for malformed JSON and
// wrong value types). A loaded map then has its references checked, as a
// level load does, and goes through what the level build does first with it
// (sector graph, door and elevator geometry, polygon tests, wall triangles,
// switch and screen panels, lit colours), which relies on the loader's index
// checks. Any other exception, crash or sanitizer report is a finding, and so
// is a panel corner, a wall split or a colour that is not a finite number.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "gameplay/SegmentPanel.h"
#include "gameplay/Switch.h"
#include "platform/GameError.h"
#include "render/Mesh.h"
#include "world/ConcreteBuilder.h"
#include "world/MapColour.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/MovingSector.h"
#include "world/Polygon.h"
#include "world/SectorGraph.h"

namespace
{

void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool Finite(const mirefell::Vector4& colour)
{
    return std::isfinite(colour.x) && std::isfinite(colour.y) && std::isfinite(colour.z) && std::isfinite(colour.w);
}

} // namespace

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
            Require(Finite(SectorColour(sector)));
        }
        for (const MapSegment& record : map.segments) {
            MapSegment segment = record; // the builders rewrite the World's copy
            if (segment.type == SegmentTypeSwitch || segment.type == SegmentTypeTVScreen) {
                if (segment.type == SegmentTypeSwitch) {
                    segment.bottomY += Switch::PanelLift;
                    segment.topY = segment.bottomY + Switch::PanelHeight;
                }
                // Held here: a temporary mesh would be gone before the loop reads it.
                const std::unique_ptr<Mesh> panel = BuildSegmentPanelMesh(segment);
                for (const Vector3& corner : panel->geometry.positions)
                    Require(std::isfinite(corner.x) && std::isfinite(corner.y) && std::isfinite(corner.z));
            } else {
                const size_t positions = ConcreteBuilder::WallTrianglePositions(segment).size();
                Require(segment.bottomRightIndex >= 0 && static_cast<size_t>(segment.bottomRightIndex) <= positions);
                Require(Finite(LitMapColour(segment.lightColor, 0.75f)));
            }
        }
    } catch (const GameError&) {
    }
    return 0;
}
