// Static geometry: floors, ceilings and walls with their lit colours,
// texture coordinates, winding, collision quads and boxes.
#include <gtest/gtest.h>

#include <cmath>

#include "MapTestData.h"
#include "platform/GameError.h"
#include "support/WorldFixture.h"
#include "world/Concrete.h"
#include "world/ConcreteBuilder.h"

namespace mirefell
{
namespace
{

using testing::WorldFixture;

// Sector 1 over (0,-64)-(128,64) and a free sector 9 that no link names.
MapData Hall()
{
    MapData map;
    map.sectors.push_back(testing::RectSector(1, 0, -64, 128, 64));
    map.sectors.push_back(testing::RectSector(9, 200, 0, 216, 16));
    MapSector& hall = map.sectors[0];
    hall.floorTopY = 8.0f;
    hall.ceilBottomY = 96.0f;
    hall.ceiling = true;
    hall.lightLevel = 9;
    hall.lightColor = 0xFFFFFF;
    hall.ceilingCatColor = 0x808080;
    map.sectorLinks = {1, 1};
    map.ComputeBounds();
    return map;
}

// A wall like the test map's, in sector 1.
MapSegment Wall(Vector2 start, Vector2 end, float bottom, float top)
{
    return testing::WallSegment(0, 1, start, end, bottom, top);
}

Vector3 Normal(const Vector3& a, const Vector3& b, const Vector3& c)
{
    return (b - a).Cross(c - a).Normalized();
}

const MeshGeometry& RegionGeometry(World& world)
{
    return world.sectorGraph.Regions()[0].mesh->geometry;
}

TEST(ConcreteBuilder, SectorLightClampsAndColoursAreLinear)
{
    const auto floorColour = [](int32_t level, uint32_t colour) {
        MapData map = Hall();
        map.sectors[0].lightLevel = level;
        map.sectors[0].lightColor = colour;
        WorldFixture fixture(map);
        ConcreteBuilder::AddSectorConcrete(*fixture.world, fixture.world->map.sectors[0], false);
        return RegionGeometry(*fixture.world).triangles.at(0).colour;
    };
    EXPECT_NEAR(floorColour(5, 0xFFFFFF).x, std::pow(0.25f, 2.2f), 1e-5f);
    EXPECT_NEAR(floorColour(8, 0xFFFFFF).y, std::pow(0.64f, 2.2f), 1e-5f);
    const Vector4 bright = floorColour(9, 0xFFFFFF);
    EXPECT_NEAR(bright.x, 0.531f, 1e-3f);
    EXPECT_NEAR(bright.z, 0.531f, 1e-3f);
    EXPECT_EQ(bright.w, 0.0f); // a plain 0xRRGGBB has no alpha
    const Vector4 red = floorColour(9, 0x80FF0000);
    EXPECT_NEAR(red.x, 0.531f, 1e-3f);
    EXPECT_EQ(red.y, 0.0f);
    EXPECT_NEAR(red.w, 128.0f / 255.0f * 0.75f, 1e-5f); // alpha scaled but not raised
}

TEST(ConcreteBuilder, FloorsFaceUpCeilingsFaceDownWithWorldTextureCoordinates)
{
    WorldFixture fixture(Hall());
    World& world = *fixture.world;
    MapSector& hall = world.map.sectors[0];
    Concrete* floor = ConcreteBuilder::AddSectorConcrete(world, hall, false);
    const size_t floorTriangles = RegionGeometry(world).triangles.size();
    Concrete* ceiling = ConcreteBuilder::AddSectorConcrete(world, hall, true);
    const MeshGeometry& geometry = RegionGeometry(world);
    ASSERT_EQ(floorTriangles, 2u);
    ASSERT_EQ(geometry.triangles.size(), 4u);

    for (size_t k = 0; k < geometry.triangles.size(); ++k) {
        const MeshTriangle& t = geometry.triangles[k];
        const float up = Normal(geometry.positions[t.a], geometry.positions[t.b], geometry.positions[t.c]).y;
        EXPECT_EQ(up, k < floorTriangles ? 1.0f : -1.0f) << "triangle " << k;
    }
    for (size_t i = 0; i < floor->vertices.size(); i += 3) {
        EXPECT_EQ(Normal(floor->vertices[i], floor->vertices[i + 1], floor->vertices[i + 2]).y, 1.0f);
        EXPECT_EQ(Normal(ceiling->vertices[i], ceiling->vertices[i + 1], ceiling->vertices[i + 2]).y, -1.0f);
    }

    // Ceiling triangles carry the ceiling colour, their indices moved past the floor's.
    EXPECT_NEAR(geometry.triangles[2].colour.x, std::pow(128.0f / 255.0f * 0.75f, 2.2f), 1e-5f);
    EXPECT_EQ(geometry.triangles[2].a, 6u);
    // One repeat per 64 units of world x and z.
    const MeshTriangle& first = geometry.triangles[0];
    ASSERT_EQ(geometry.positions[first.a], Vector3(128, 8, 64)); // i2 of the first triple comes first
    EXPECT_EQ(first.uvA, Vector2(2, 1));
    EXPECT_EQ(first.uvB, Vector2(2, -1));
    EXPECT_EQ(first.uvC, Vector2(0, -1));

    EXPECT_EQ(floor->box, Box3({0, 8, -64}, {128, 8, 64}));
    EXPECT_EQ(floor->name, SectorLayerKey);
    EXPECT_EQ(floor->sector, &hall);
    EXPECT_EQ(floor->cells.size(), 9u * 8u); // x = 128 touches column 8; y = 64 is the last row
    EXPECT_EQ(world.objects.size(), 2u);
}

TEST(ConcreteBuilder, AnElevatorFloorIsRegisteredWithoutGeometry)
{
    MapData map = Hall();
    map.sectors[0].elevator = true;
    WorldFixture fixture(map);
    Concrete* floor = ConcreteBuilder::AddSectorConcrete(*fixture.world, fixture.world->map.sectors[0], false);
    EXPECT_TRUE(RegionGeometry(*fixture.world).triangles.empty());
    EXPECT_TRUE(floor->vertices.empty());
    EXPECT_EQ(floor->box, Box3());
    EXPECT_TRUE(floor->registered);
}

TEST(ConcreteBuilder, WallsRepeatTheirTextureByLengthAndRunBackAfterTheBottomRightCorner)
{
    MapData map = Hall();
    map.segments = {Wall({0, 0}, {32, 0}, 0, 64), Wall({0, 0}, {0, 100}, -32, 96), Wall({128, 0}, {64, 0}, 0, 32),
                    Wall({0, 10}, {96, 10}, 0, 64)};
    WorldFixture fixture(map);
    World& world = *fixture.world;
    std::vector<float> repeats;
    for (MapSegment& segment : world.map.segments) {
        const size_t first = RegionGeometry(world).triangles.size();
        Concrete* piece = ConcreteBuilder::AddWallConcrete(world, segment);
        EXPECT_EQ(segment.bottomRightIndex, 3); // the first triangle closes at corner 2
        EXPECT_EQ(piece->sector, nullptr);
        EXPECT_EQ(piece->mapSector, &world.map.sectors[0]);
        const MeshTriangle& front = RegionGeometry(world).triangles[first];
        const MeshTriangle& back = RegionGeometry(world).triangles[first + 1];
        repeats.push_back(front.uvB.x);
        EXPECT_EQ(front.uvA.x, 0.0f);
        EXPECT_EQ(front.uvC.x, front.uvB.x);
        EXPECT_EQ(back.uvA.x, front.uvB.x); // the end-bottom corner again
        EXPECT_EQ(back.uvB.x, 0.0f);
        EXPECT_EQ(front.uvA.y, segment.topY / 64.0f);
        EXPECT_EQ(back.uvB.y, segment.bottomY / 64.0f);
    }
    EXPECT_EQ(repeats, (std::vector<float>{0.5f, 2.0f, 1.0f, 2.0f})); // 32, 100, 64 and 96 units
}

TEST(ConcreteBuilder, AWallWithoutRenderIndicesStillCollidesThroughItsQuad)
{
    MapData map = Hall();
    MapSegment bare = Wall({16, -16}, {16, 16}, 8, 40);
    bare.indices.clear();
    map.segments.push_back(bare);
    WorldFixture fixture(map);
    World& world = *fixture.world;
    Concrete* wall = ConcreteBuilder::AddWallConcrete(world, world.map.segments[0]);
    EXPECT_TRUE(RegionGeometry(world).triangles.empty());
    EXPECT_EQ(world.map.segments[0].bottomRightIndex, 0);
    ASSERT_EQ(wall->vertices.size(), 6u);
    EXPECT_EQ(wall->vertices[0], Vector3(16, 40, -16));
    EXPECT_EQ(wall->vertices[4], Vector3(16, 8, 16));
    EXPECT_EQ(wall->box, Box3({16, 8, -16}, {16, 40, 16}));

    // A box pre-filter in front of the wall, as the movement code makes one.
    const Box3 query({12, 10, -4}, {20, 20, 4});
    const TriangleSource source =
        world.CollectObjectsInRange(world.GetCellRange({{12, -4}, {20, 4}}), GridObjectType::Concrete,
                                    [&query](GridObject* object) { return object->box.Overlaps(query); });
    int triangles = 0;
    source([&](GridObject* owner, const Vector3&, const Vector3&, const Vector3&, int32_t) {
        EXPECT_EQ(owner, wall);
        ++triangles;
    });
    EXPECT_EQ(triangles, 2);
}

TEST(ConcreteBuilder, PiecesOutsideEveryRegionFailTheLoad)
{
    WorldFixture fixture(Hall());
    World& world = *fixture.world;
    try {
        ConcreteBuilder::AddSectorConcrete(world, world.map.sectors[1], false);
        FAIL() << "sector 9 belongs to no region";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "sector has no corresponding region");
    }
    MapSegment stray = Wall({0, 0}, {8, 0}, 0, 8);
    stray.sectorId = 9;
    EXPECT_THROW(ConcreteBuilder::AddWallConcrete(world, stray), GameError);
    EXPECT_TRUE(world.objects.empty());
}

TEST(ConcreteBuilder, TheTestMapStandsOnItsSectors)
{
    WorldFixture fixture(testing::LoadTestMap());
    fixture.AddStaticGeometry();
    World& world = *fixture.world;
    // Seven floors less the elevator's, five ceilings (not the doors'), and
    // every wall but the switch.
    size_t walls = 0;
    for (const auto& object : world.objects)
        walls += object->name == SegmentLayerKey ? 1 : 0;
    EXPECT_EQ(world.objects.size() - walls, 6u + 5u);
    EXPECT_EQ(walls, world.map.segments.size() - 1);

    testing::TestObject probe(&world, GridObjectType::Player);
    const auto sectorAt = [&](float x, float y) -> int32_t {
        probe.position = {x, 0, y};
        probe.SetCells(world.GetCellRange({{x, y}}));
        const MapSector* found = probe.FindSector();
        return found ? found->id : 0;
    };
    EXPECT_EQ(sectorAt(32, 32), 1);
    EXPECT_EQ(sectorAt(136, 64), 2); // a door sector has its floor piece
    EXPECT_EQ(sectorAt(400, 64), 5);
    EXPECT_EQ(sectorAt(500, 64), 7);
    // The elevator has no floor piece, but its ceiling piece stands for it.
    EXPECT_EQ(sectorAt(304, 64), 4);
}

} // namespace
} // namespace mirefell
