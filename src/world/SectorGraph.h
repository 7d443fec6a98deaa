// SectorGraph: the map's "sectorLinks" as a graph over sectors, and the
// sectors grouped into regions separated by door sectors. The World builds it
// once per level from its own copy of the MapData, whose sectors must outlive
// the graph (the graph points into them). The AI region graph wraps the
// regions to alert monsters, show the automap and hide the geometry of
// regions behind closed doors; each region collects the static geometry of
// its sectors in the geometry of one coloured mesh, drawn as one.
//
// Regions point at each other, so a graph is built in place and may be moved
// but never copied.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/math/Vector.h"
#include "render/Mesh.h"

namespace mirefell
{

struct MapSector;
struct SectorRegion;

struct RegionLink
{
    uint32_t doorSectorId = 0;
    SectorRegion* region = nullptr; // the region on the other side of the door
};

struct SectorRegion
{
    uint32_t id = 0;            // 0, 1, 2 ... in creation order
    std::set<uint32_t> doors;   // ids of the door sectors that border the region
    std::set<uint32_t> sectors; // ids of the region's sectors
    // The mesh of the region's static geometry: the static geometry builder
    // appends the region's floors, ceilings and walls to its geometry, every
    // triangle in its own colour. The World moves it into the scene tree
    // when the level starts, after which meshOwner is empty and `mesh` still
    // addresses it; the AI region graph shows and hides it.
    std::unique_ptr<Mesh> meshOwner;
    Mesh* mesh;
    std::vector<RegionLink> links; // one per (door, neighbouring region) pair

    SectorRegion() : meshOwner(std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor)), mesh(meshOwner.get())
    {
        mesh->geometry.useTriangleColours = true;
    }
};

struct SectorNode
{
    int32_t vertexIndex = -1; // position in the link graph's vertices; -1 for a sector linked only to itself
    const MapSector* sector = nullptr;
    Vector2 centroid;
};

// Sectors joined by the links, with each sector at most once.
struct SectorLinkGraph
{
    std::vector<std::pair<int32_t, int32_t>> edges; // vertex indices, one per link between two sectors
    std::vector<const MapSector*> vertices;         // in the order the links first name them
    // Per vertex: its neighbours, ordered by address (for the sectors of one
    // map, their order in the file).
    std::vector<std::set<const MapSector*>> adjacency;
};

class SectorGraph
{
public:
    // The message of a link naming a sector id the map lacks.
    static constexpr const char* SectorNotFound = "sector not found";
    // The message of a sector that belongs to no region where one is needed.
    static constexpr const char* NoCorrespondingRegion = "sector has no corresponding region";

    SectorGraph() = default;
    SectorGraph(const SectorGraph&) = delete;
    SectorGraph& operator=(const SectorGraph&) = delete;
    SectorGraph(SectorGraph&&) = default;
    SectorGraph& operator=(SectorGraph&&) = default;

    // Builds links and regions; counter is reset to 0 and advanced once per
    // region. Throws "sector not found" for a link to a missing id.
    static SectorGraph Build(uint32_t& counter, const std::vector<MapSector>& sectors,
                             const std::vector<int32_t>& sectorLinks);
    // The link pass: pairs of ids, a lone last id ignored.
    void LinkSectors(const std::vector<MapSector>& sectors, const std::vector<int32_t>& sectorLinks);
    // Groups the linked sectors into regions separated by doors.
    static std::vector<SectorRegion> GroupSectors(uint32_t& counter, const std::map<uint32_t, SectorNode>& table,
                                                  const SectorLinkGraph& graph);

    const SectorLinkGraph& Links() const { return links; }
    // Sector id (as unsigned, so negative ids sort last) to its node; only
    // sectors named by a link are present.
    const std::map<uint32_t, SectorNode>& Sectors() const { return sectors; }
    const std::vector<SectorRegion>& Regions() const { return regions; }
    std::vector<SectorRegion>& Regions() { return regions; }
    // The first region holding the sector, or null.
    const SectorRegion* RegionOfSector(uint32_t sectorId) const;
    SectorRegion* RegionOfSector(uint32_t sectorId);

private:
    // Fills regionOfSector from the finished region list.
    void IndexRegions();

    SectorLinkGraph links;
    std::map<uint32_t, SectorNode> sectors;
    std::vector<SectorRegion> regions;
    // Sector id to the position in `regions` of the first region holding it.
    std::unordered_map<uint32_t, size_t> regionOfSector;
};

} // namespace mirefell
