// The sector graph: links, door-separated regions and their links.
#include <gtest/gtest.h>

#include "MapTestData.h"
#include "platform/GameError.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/SectorGraph.h"

namespace mirefell
{
namespace
{

using Ids = std::set<uint32_t>;

// Sectors laid side by side, 16 units wide; door ids given separately.
std::vector<MapSector> Row(std::initializer_list<int32_t> ids, std::set<int32_t> doors = {})
{
    std::vector<MapSector> sectors;
    float x = 0;
    for (int32_t id : ids) {
        sectors.push_back(testing::RectSector(id, x, 0, x + 16, 16, doors.count(id) > 0));
        x += 16;
    }
    return sectors;
}

// Each region's link list as (door, other region's id) pairs.
std::vector<std::pair<uint32_t, uint32_t>> LinksOf(const SectorRegion& region)
{
    std::vector<std::pair<uint32_t, uint32_t>> links;
    for (const RegionLink& link : region.links)
        links.emplace_back(link.doorSectorId, link.region->id);
    return links;
}

TEST(SectorGraph, TestMapFormsThreeRegionsAroundItsTwoDoors)
{
    MapEntityTypes::Initialize();
    const MapData map = MapLoader::LoadFromFile(testing::TestMapPath());
    uint32_t counter = 99;
    SectorGraph graph = SectorGraph::Build(counter, map.sectors, map.sectorLinks);
    EXPECT_EQ(counter, 3u);
    const auto& regions = graph.Regions();
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].sectors, Ids({1}));
    EXPECT_EQ(regions[0].doors, Ids({2}));
    EXPECT_EQ(regions[1].sectors, Ids({2, 3, 4, 5})); // the first region to pop door 2 keeps it
    EXPECT_EQ(regions[1].doors, Ids({2, 6}));
    EXPECT_EQ(regions[2].sectors, Ids({6, 7}));
    EXPECT_EQ(regions[2].doors, Ids({6}));
    EXPECT_EQ(LinksOf(regions[0]), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 1}}));
    EXPECT_EQ(LinksOf(regions[1]), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 0}, {6, 2}}));
    EXPECT_EQ(LinksOf(regions[2]), (std::vector<std::pair<uint32_t, uint32_t>>{{6, 1}}));
    EXPECT_EQ(graph.RegionOfSector(7), &regions[2]);
    EXPECT_EQ(graph.RegionOfSector(42), nullptr);
    EXPECT_TRUE(regions[1].mesh->geometry.useTriangleColours);

    // The chain of links: six edges over seven vertices in file order.
    EXPECT_EQ(graph.Links().edges.size(), 6u);
    ASSERT_EQ(graph.Links().vertices.size(), 7u);
    EXPECT_EQ(graph.Links().vertices[0], &map.sectors[0]);
    EXPECT_EQ(graph.Links().adjacency[1], (std::set<const MapSector*>{&map.sectors[0], &map.sectors[2]}));
    const SectorNode& hall = graph.Sectors().at(3);
    EXPECT_EQ(hall.vertexIndex, 2);
    EXPECT_EQ(hall.centroid, Vector2(216, 64));

    // Regions point at each other; moving the graph keeps them valid.
    SectorGraph moved = std::move(graph);
    EXPECT_EQ(moved.Regions()[0].links[0].region, &moved.Regions()[1]);
}

TEST(SectorGraph, WithoutDoorsEveryLinkedSectorIsOneRegion)
{
    const std::vector<MapSector> sectors = Row({1, 2, 3, 4});
    uint32_t counter = 7;
    const SectorGraph graph = SectorGraph::Build(counter, sectors, {1, 2, 3, 2});
    ASSERT_EQ(graph.Regions().size(), 1u);
    EXPECT_EQ(counter, 1u);
    EXPECT_EQ(graph.Regions()[0].id, 0u);
    EXPECT_EQ(graph.Regions()[0].sectors, Ids({1, 2, 3})); // 4 is named by no link
    EXPECT_TRUE(graph.Regions()[0].doors.empty() && graph.Regions()[0].links.empty());
}

TEST(SectorGraph, TwoDoorsBetweenTheSameRoomsLinkThemTwice)
{
    const std::vector<MapSector> sectors = Row({1, 10, 11, 2}, {10, 11});
    uint32_t counter = 0;
    const SectorGraph graph = SectorGraph::Build(counter, sectors, {1, 10, 10, 2, 1, 11, 11, 2});
    ASSERT_EQ(graph.Regions().size(), 2u);
    EXPECT_EQ(graph.Regions()[0].sectors, Ids({1}));
    EXPECT_EQ(graph.Regions()[1].sectors, Ids({2, 10, 11}));
    EXPECT_EQ(LinksOf(graph.Regions()[0]), (std::vector<std::pair<uint32_t, uint32_t>>{{10, 1}, {11, 1}}));
    EXPECT_EQ(LinksOf(graph.Regions()[1]), (std::vector<std::pair<uint32_t, uint32_t>>{{10, 0}, {11, 0}}));
}

TEST(SectorGraph, AdjacentDoorsSeedEachOther)
{
    // Room 1 | door 2 | door 3 | room 4. Door 2's seed pair pops before any
    // room reaches it, so it becomes a region of its own.
    const std::vector<MapSector> sectors = Row({1, 2, 3, 4}, {2, 3});
    uint32_t counter = 0;
    const SectorGraph graph = SectorGraph::Build(counter, sectors, {1, 2, 2, 3, 3, 4});
    const auto& regions = graph.Regions();
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].sectors, Ids({1}));
    EXPECT_EQ(regions[1].sectors, Ids({2}));
    EXPECT_EQ(regions[1].doors, Ids({2}));
    EXPECT_EQ(regions[2].sectors, Ids({3, 4}));
    EXPECT_EQ(regions[2].doors, Ids({3}));
    EXPECT_EQ(LinksOf(regions[0]), (std::vector<std::pair<uint32_t, uint32_t>>{{2, 1}}));
    EXPECT_TRUE(regions[2].links.empty()); // no other region borders door 3
}

TEST(SectorGraph, SelfLinksAndStrayEntries)
{
    // A door linked only to itself has no vertex and seeds nothing; without
    // another door the map stays one region.
    std::vector<MapSector> sectors = Row({1, 2, 3}, {1});
    uint32_t counter = 0;
    SectorGraph graph = SectorGraph::Build(counter, sectors, {1, 1, 2, 3});
    EXPECT_EQ(graph.Sectors().at(1).vertexIndex, -1);
    EXPECT_EQ(graph.Links().edges.size(), 1u);
    ASSERT_EQ(graph.Regions().size(), 1u);
    EXPECT_EQ(graph.Regions()[0].sectors, Ids({1, 2, 3}));

    // Beside a real door it belongs to no region.
    sectors = Row({1, 2, 3, 4}, {1, 3});
    graph = SectorGraph::Build(counter, sectors, {1, 1, 2, 3, 3, 4});
    ASSERT_EQ(graph.Regions().size(), 2u);
    EXPECT_EQ(graph.RegionOfSector(1), nullptr);

    // A self pair is later joined by a real one; a lone last id is never looked up.
    sectors = Row({5, 6});
    graph = SectorGraph::Build(counter, sectors, {5, 5, 5, 6, 777});
    EXPECT_EQ(graph.Sectors().at(5).vertexIndex, 0);
    EXPECT_EQ(graph.Links().edges, (std::vector<std::pair<int32_t, int32_t>>{{0, 1}}));
    EXPECT_EQ(graph.Sectors().size(), 2u);
}

TEST(SectorGraph, UnknownIdsFailAndNegativeIdsSortLast)
{
    const std::vector<MapSector> sectors = Row({-1, 1, 2});
    SectorGraph graph;
    try {
        graph.LinkSectors(sectors, {1, 2, -1, 99});
        ADD_FAILURE() << "no error";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), SectorGraph::SectorNotFound);
    }
    EXPECT_EQ(graph.Sectors().count(static_cast<uint32_t>(-1)), 0u); // nothing of the failing pair was stored

    uint32_t counter = 0;
    graph = SectorGraph::Build(counter, sectors, {2, -1, 1, 2});
    ASSERT_EQ(graph.Sectors().size(), 3u);
    EXPECT_EQ(graph.Sectors().rbegin()->first, static_cast<uint32_t>(-1));
    EXPECT_EQ(graph.Links().vertices[1]->id, -1); // vertices in order of first naming
}

} // namespace
} // namespace mirefell
