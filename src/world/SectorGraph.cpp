// Building the sector link graph and grouping sectors into door-separated
// regions.
#include "world/SectorGraph.h"

#include <string>
#include <unordered_map>

#include "platform/GameError.h"
#include "world/MapData.h"
#include "world/Polygon.h"

namespace mirefell
{

namespace
{

// Sector id to the first sector of the map with that id.
using SectorsById = std::unordered_map<int32_t, const MapSector*>;

const MapSector* FindSector(const SectorsById& byId, int32_t id)
{
    const auto found = byId.find(id);
    if (found == byId.end())
        throw GameError(SectorGraph::SectorNotFound, "sector " + std::to_string(id));
    return found->second;
}

// The sector's position in the vertex list, appending it when absent.
int32_t VertexOf(std::vector<const MapSector*>& vertices, std::unordered_map<const MapSector*, int32_t>& indices,
                 const MapSector* sector)
{
    const auto [found, added] = indices.try_emplace(sector, static_cast<int32_t>(vertices.size()));
    if (added)
        vertices.push_back(sector);
    return found->second;
}

uint32_t KeyOf(const MapSector* sector)
{
    return static_cast<uint32_t>(sector->id);
}

} // namespace

SectorGraph SectorGraph::Build(uint32_t& counter, const std::vector<MapSector>& sectors,
                               const std::vector<int32_t>& sectorLinks)
{
    SectorGraph graph;
    graph.LinkSectors(sectors, sectorLinks);
    graph.regions = GroupSectors(counter, graph.sectors, graph.links);
    graph.IndexRegions();
    return graph;
}

void SectorGraph::LinkSectors(const std::vector<MapSector>& mapSectors, const std::vector<int32_t>& sectorLinks)
{
    // Every look-up by id or by sector is a hash look-up, so the pass grows
    // with the links, not with links times sectors.
    SectorsById byId;
    byId.reserve(mapSectors.size());
    for (const MapSector& sector : mapSectors)
        byId.try_emplace(sector.id, &sector); // the first of an id wins
    std::unordered_map<const MapSector*, int32_t> vertexIndices;

    // Pairs only: an odd count leaves a last id without partner, which is ignored.
    for (size_t k = 0; k + 1 < sectorLinks.size(); k += 2) {
        const MapSector* a = FindSector(byId, sectorLinks[k]);
        const MapSector* b = FindSector(byId, sectorLinks[k + 1]);
        sectors[KeyOf(a)] = SectorNode{-1, a, PolygonCentroid(*a)};
        sectors[KeyOf(b)] = SectorNode{-1, b, PolygonCentroid(*b)};
        if (a != b) {
            const int32_t first = VertexOf(links.vertices, vertexIndices, a);
            const int32_t second = VertexOf(links.vertices, vertexIndices, b);
            links.edges.emplace_back(first, second);
        }
    }

    for (auto& [id, node] : sectors) {
        const auto found = vertexIndices.find(node.sector);
        node.vertexIndex = found == vertexIndices.end() ? -1 : found->second;
    }

    links.adjacency.assign(links.vertices.size(), {});
    for (const auto& [first, second] : links.edges) {
        links.adjacency[static_cast<size_t>(first)].insert(links.vertices[static_cast<size_t>(second)]);
        links.adjacency[static_cast<size_t>(second)].insert(links.vertices[static_cast<size_t>(first)]);
    }
}

std::vector<SectorRegion> SectorGraph::GroupSectors(uint32_t& counter, const std::map<uint32_t, SectorNode>& table,
                                                    const SectorLinkGraph& graph)
{
    struct Work
    {
        std::set<uint32_t> doors;
        std::set<uint32_t> sectors;
    };
    // Neighbours of a sector in the table; none for a sector linked only to itself.
    const auto neighboursOf = [&](uint32_t id) -> const std::set<const MapSector*>* {
        const auto found = table.find(id);
        if (found == table.end() || found->second.vertexIndex < 0)
            return nullptr;
        return &graph.adjacency[static_cast<size_t>(found->second.vertexIndex)];
    };
    const auto isDoor = [&](uint32_t id) {
        const auto found = table.find(id);
        return found != table.end() && found->second.sector->door;
    };

    counter = 0;
    std::vector<std::pair<uint32_t, uint32_t>> stack; // (sector id, region key)
    std::map<uint32_t, Work> work;
    // Every neighbour of a door seeds a region of its own key. A door that
    // touches nothing seeds nothing and does not split the map.
    size_t doorCount = 0;
    for (const auto& [id, node] : table) {
        if (!node.sector->door)
            continue;
        const auto* neighbours = neighboursOf(id);
        if (!neighbours)
            continue;
        for (const MapSector* neighbour : *neighbours) {
            stack.emplace_back(KeyOf(neighbour), KeyOf(neighbour));
            work[KeyOf(neighbour)] = Work{};
        }
        ++doorCount;
    }

    std::vector<SectorRegion> regions;
    if (doorCount == 0) {
        SectorRegion& region = regions.emplace_back();
        region.id = counter++;
        for (const auto& [id, node] : table)
            region.sectors.insert(id);
        return regions;
    }

    // Depth-first from the seeds, never through a door: a door joins the
    // doors of every region that reaches it and the sectors of the first.
    std::set<uint32_t> visited;
    while (!stack.empty()) {
        const auto [sector, key] = stack.back();
        stack.pop_back();
        const bool door = isDoor(sector);
        if (door)
            work[key].doors.insert(sector);
        if (!visited.insert(sector).second)
            continue;
        work[key].sectors.insert(sector);
        if (door)
            continue;
        if (const auto* neighbours = neighboursOf(sector))
            for (const MapSector* neighbour : *neighbours)
                stack.emplace_back(KeyOf(neighbour), key);
    }

    for (auto& [key, entry] : work) {
        if (entry.sectors.empty())
            continue; // its seed was taken by an earlier region
        SectorRegion& region = regions.emplace_back();
        region.id = counter++;
        region.doors = std::move(entry.doors);
        region.sectors = std::move(entry.sectors);
    }

    // Links point into the finished list, which is only moved from here on.
    // Each door names the regions it borders, in list order.
    std::map<uint32_t, std::vector<SectorRegion*>> regionsOfDoor;
    for (SectorRegion& region : regions)
        for (const uint32_t door : region.doors)
            regionsOfDoor[door].push_back(&region);
    for (SectorRegion& region : regions)
        for (const uint32_t door : region.doors)
            for (SectorRegion* other : regionsOfDoor[door])
                if (other != &region)
                    region.links.push_back({door, other});
    return regions;
}

void SectorGraph::IndexRegions()
{
    regionOfSector.clear();
    for (size_t i = 0; i < regions.size(); ++i)
        for (const uint32_t sector : regions[i].sectors)
            regionOfSector.try_emplace(sector, i); // the first region holding it
}

const SectorRegion* SectorGraph::RegionOfSector(uint32_t sectorId) const
{
    const auto found = regionOfSector.find(sectorId);
    return found == regionOfSector.end() ? nullptr : &regions[found->second];
}

SectorRegion* SectorGraph::RegionOfSector(uint32_t sectorId)
{
    return const_cast<SectorRegion*>(std::as_const(*this).RegionOfSector(sectorId));
}

} // namespace mirefell
