// GridObject: ids, registration in the cell grid, the sector under an
// object, and removal.
#include <gtest/gtest.h>

#include <algorithm>

#include "MapTestData.h"
#include "render/Mesh.h"
#include "support/WorldFixture.h"
#include "world/ConcreteBuilder.h"
#include "world/GridCell.h"

namespace mirefell
{
namespace
{

using testing::TestObject;
using testing::WorldFixture;

// Two rooms side by side, sector 1 over (0,0)-(64,64) and sector 2 over
// (64,0)-(128,64), floors at 0 and 24, no doors.
MapData TwoRooms()
{
    return testing::TwoRoomsMap(24.0f);
}

size_t Entries(const GridCell& cell, const GridObject* object)
{
    return static_cast<size_t>(std::count(cell.objects.begin(), cell.objects.end(), object));
}

TEST(GridObject, RegistrationMirrorsTheCellsAndNeverDuplicates)
{
    WorldFixture fixture(TwoRooms());
    World& world = *fixture.world;
    TestObject object(&world, GridObjectType::Monster);
    const CellRange range = world.GetCellRange({{10, 10}, {20, 20}}); // columns 0-1, rows 0-1

    object.SetCells(range);
    object.SetCells(range);
    ASSERT_EQ(object.cells.size(), 4u);
    EXPECT_TRUE(object.registered);
    for (GridCell* cell : object.cells)
        EXPECT_EQ(Entries(*cell, &object), 1u);

    // A move to other cells leaves the old ones.
    object.SetCells(world.GetCellRange({{100, 50}}));
    EXPECT_EQ(Entries(world.CellAt(0, 0), &object), 0u);
    ASSERT_EQ(object.cells.size(), 1u);
    EXPECT_EQ(object.cells[0], &world.CellAt(6, 3));

    // Off the map: out of every cell.
    object.SetCells(world.GetCellRange({{-50, -50}}));
    EXPECT_TRUE(object.cells.empty());
    EXPECT_FALSE(object.registered);
    EXPECT_EQ(Entries(world.CellAt(6, 3), &object), 0u);

    // Entering twice without leaving doubles every entry; one removal takes both.
    object.AddToCells(range);
    object.AddToCells(range);
    EXPECT_EQ(Entries(world.CellAt(1, 1), &object), 2u);
    object.RemoveFromCells();
    EXPECT_EQ(Entries(world.CellAt(1, 1), &object), 0u);
    EXPECT_TRUE(object.cells.empty());
}

TEST(GridObject, FindSectorReadsOnlyFloorsAndElevatorsInItsOwnCells)
{
    WorldFixture fixture(TwoRooms());
    World& world = *fixture.world;
    MapSector& left = world.map.sectors[0];
    MapSector& right = world.map.sectors[1];

    TestObject probe(&world, GridObjectType::Monster);
    probe.position = {32, 0, 32};
    probe.halfExtents = {1, 4, 1};
    probe.SetCells(world.GetCellRange({{32, 32}}));
    EXPECT_EQ(probe.FindSector(), nullptr); // nothing registered yet

    // A wall piece never stands for a sector, even one whose record is a sector.
    TestObject wall(&world, GridObjectType::Concrete, SegmentLayerKey, &left);
    wall.SetCells(world.GetCellRange({{0, 0}, {64, 64}}));
    EXPECT_EQ(probe.FindSector(), nullptr);

    ConcreteBuilder::AddSectorConcrete(world, left, false);
    EXPECT_EQ(probe.FindSector(), &left);

    // An elevator counts through its own sector.
    TestObject lift(&world, GridObjectType::Elevator);
    lift.sector = &right;
    lift.SetCells(world.GetCellRange(right.collisionVertices));
    probe.position = {96, 0, 32};
    probe.SetCells(world.GetCellRange({{96, 32}}));
    EXPECT_EQ(probe.FindSector(), &right);
    EXPECT_EQ(probe.SnapToFloor(), &right);
    EXPECT_FLOAT_EQ(probe.position.y, 4.0f + 24.0f + 0.03f);

    // A sector beneath an object that is in no cell is not found, and the
    // object stays where it is.
    probe.RemoveFromCells();
    probe.position.y = 50.0f;
    EXPECT_EQ(probe.SnapToFloor(), nullptr);
    EXPECT_EQ(probe.position.y, 50.0f);
}

TEST(GridObject, BoundsFollowPositionIntoFootprintSceneNodeAndInstance)
{
    WorldFixture fixture(TwoRooms());
    TestObject object(fixture.world.get(), GridObjectType::Powerup);
    Mesh node(EffectIdColor, MeshVertexFormatColor);
    Mesh batch(EffectIdInstancedTexture, MeshVertexFormatTexture);
    batch.instances.resize(3);
    object.sceneNode = &node;
    object.instanceBatch = &batch;
    object.instanceIndex = 2;
    object.position = {10, 5, 20};
    object.halfExtents = {1, 2, 3};
    object.UpdateBounds();

    EXPECT_EQ(object.box, Box3({9, 3, 17}, {11, 7, 23}));
    EXPECT_EQ(object.footprint, MapRect(9, 17, 11, 23));
    EXPECT_EQ(node.scale, Vector3(2, 4, 6));
    EXPECT_EQ(node.position, Vector3(10, 5, 20));
    EXPECT_EQ(batch.instances[2].bounds, object.BoxFloats());
    EXPECT_EQ(batch.instances[2].bounds[3], 11.0f); // max x
    EXPECT_EQ(batch.instances[0].bounds, nullptr);
}

} // namespace
} // namespace mirefell
