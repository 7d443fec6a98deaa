// World: the cell grid, cell ranges, the update pass and particle bursts.
#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "MapTestData.h"
#include "platform/GameError.h"
#include "render/BloodDecals.h"
#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "shell/Config.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/MapScript.h"
#include "world/WorldCollision.h"

namespace mirefell
{
namespace
{

using testing::TestObject;
using testing::WorldFixture;

using testing::RoomMap; // one linked sector whose bounds are exactly the given box

TEST(WorldGrid, CellsCoverTheBoundsInSixteenUnitSquares)
{
    WorldFixture narrow(RoomMap(0, 0, 40, 16));
    EXPECT_EQ(narrow.world->columns, 3);
    EXPECT_EQ(narrow.world->rows, 1);
    WorldFixture square(RoomMap(-8, 8, 24, 40));
    EXPECT_EQ(square.world->columns, 2);
    EXPECT_EQ(square.world->rows, 2);
    const GridCell& cell = square.world->CellAt(1, 1);
    EXPECT_EQ(cell.min, Vector2(8, 24));
    EXPECT_EQ(cell.max, Vector2(24, 40));
    EXPECT_EQ(cell.column, 1);
    EXPECT_EQ(cell.row, 1);
}

TEST(WorldGrid, EmptyOrDegenerateMapsGiveAnEmptyGridThatFindsNothing)
{
    for (const MapData& map : {MapData{}, RoomMap(0, 0, 0, 64), RoomMap(0, 5, 64, 5)}) {
        WorldFixture fixture(map);
        World& world = *fixture.world;
        EXPECT_EQ(world.columns, 0);
        EXPECT_EQ(world.rows, 0);
        EXPECT_TRUE(world.cells.empty());
        const CellRange range = world.GetCellRange({{0, 0}, {64, 64}});
        EXPECT_FALSE(range.valid);
        EXPECT_TRUE(world.CellsInRange(range).empty());

        TestObject object(&world, GridObjectType::Monster);
        object.SetCells(range);
        EXPECT_FALSE(object.registered);
        int visits = 0;
        world.ForEachObjectInRange(range, ~0u, [&](GridObject*) { ++visits; });
        EXPECT_EQ(visits, 0);
    }
}

TEST(WorldGrid, AMapTooLargeForTheGridIsRefused)
{
    try {
        WorldFixture fixture(RoomMap(0, 0, 1e9f, 1e9f));
        FAIL() << "expected the map to be refused";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), World::BoundsTooLarge);
    }
}

TEST(WorldGrid, CellRangesClampToTheGridAndTouchingCounts)
{
    WorldFixture fixture(RoomMap(0, 0, 64, 64));
    const World& world = *fixture.world;
    const auto column = [&](Vector2 p) { return world.GetCellRange({p}).firstColumn; };
    EXPECT_EQ(column({16, 0}), 1.0f);
    EXPECT_EQ(column({15.99f, 0}), 0.0f);

    const CellRange corner = world.GetCellRange({{64, 64}});
    ASSERT_TRUE(corner.valid);
    EXPECT_EQ(corner.lastColumn, 3.0f); // 64 / 16 = 4 lies past the last column
    EXPECT_EQ(corner.lastRow, 3.0f);

    EXPECT_FALSE(world.GetCellRange({{-10, 5}, {-1, 50}}).valid);
    EXPECT_FALSE(world.GetCellRange(std::span<const Vector2>{}).valid);
    const CellRange straddling = world.GetCellRange({{-40, 20}, {20, 30}});
    ASSERT_TRUE(straddling.valid);
    EXPECT_EQ(straddling.firstColumn, 0.0f);
    EXPECT_EQ(straddling.lastColumn, 1.0f);
    EXPECT_EQ(straddling.boxMin, Vector2(-40, 20));             // the box itself is not cut
    EXPECT_TRUE(world.GetCellRange({{-5, 64}, {0, 70}}).valid); // touches the corner

    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(world.GetCellRange({{nan, nan}}).valid);

    const std::vector<GridCell*> cells = fixture.world->CellsInRange(world.GetCellRange({{20, 5}, {40, 20}}));
    ASSERT_EQ(cells.size(), 4u); // columns 1-2, rows 0-1, row by row
    EXPECT_EQ(cells[1], &fixture.world->CellAt(2, 0));
    EXPECT_EQ(cells[2], &fixture.world->CellAt(1, 1));
}

TEST(WorldGrid, TheBloodDecalsFindTheirCellsInTheGrid)
{
    WorldFixture fixture(RoomMap(-8, 8, 24, 40)); // 2 x 2 cells from (-8, 8)
    World& world = *fixture.world;
    EXPECT_EQ(world.FindDecalCell({8, 5, 24}), &world.CellAt(1, 1)); // a cell owns its minimum corner
    EXPECT_EQ(world.FindDecalCell({-8, 0, 39.9f}), &world.CellAt(0, 1));
    EXPECT_EQ(world.FindDecalCell({24, 0, 20}), nullptr); // the far edge lies past the last column
    EXPECT_EQ(world.FindDecalCell({-8.1f, 0, 20}), nullptr);
    EXPECT_EQ(world.FindDecalCell({0, 0, 7.9f}), nullptr);
    fixture.AddStaticGeometry(); // the room's floor lies in every cell
    world.ReserveDecalCells(8);
    for (const auto& row : world.cells)
        for (const GridCell& cell : row)
            EXPECT_GE(cell.decals.capacity(), 8u);

    Config::GetInstance().settings.maxBloodDecals = 4;
    world.Reset();
    Config::GetInstance().settings = Settings{};
    world.bloodDecals->Add({10, 0, 30}, Color(1, 0, 0, 1));
    EXPECT_EQ(world.CellAt(1, 1).decals, std::vector<int32_t>{0});
}

// Two 32-unit rooms 4,000 units apart: a grid of 252 x 2 cells, almost all
// of it empty. Room for a crowd and for decals is kept only where the
// rooms' pieces lie and in the cells next to them.
TEST(WorldGrid, ASparseMapKeepsRoomOnlyNearItsPieces)
{
    MapData map;
    map.sectors.push_back(testing::RectSector(1, 0, 0, 32, 32));
    map.sectors.push_back(testing::RectSector(2, 4000, 0, 4032, 32));
    map.sectorLinks = {1, 1, 2, 2};
    map.ComputeBounds();
    WorldFixture fixture(map);
    World& world = *fixture.world;
    ASSERT_EQ(world.columns, 252);
    ASSERT_EQ(world.rows, 2);
    fixture.AddStaticGeometry(); // the first floor in columns 0 to 2, the second in 250 and 251
    world.Reset();
    world.ReserveDecalCells(8);

    for (const auto& [column, row] : {std::pair{0, 0}, std::pair{2, 1}, std::pair{3, 0}, std::pair{249, 1}}) {
        const GridCell& cell = world.CellAt(column, row);
        EXPECT_GE(cell.objects.capacity(), cell.objects.size() + 12) << column << ", " << row;
        EXPECT_GE(cell.decals.capacity(), 8u) << column << ", " << row;
    }
    for (const auto& [column, row] : {std::pair{4, 0}, std::pair{125, 1}, std::pair{248, 0}}) {
        EXPECT_EQ(world.CellAt(column, row).objects.capacity(), 0u) << column << ", " << row;
        EXPECT_EQ(world.CellAt(column, row).decals.capacity(), 0u) << column << ", " << row;
    }
}

struct UpdatePass : ::testing::Test
{
    UpdatePass() : fixture(RoomMap(0, 0, 64, 64))
    {
        for (int i = 0; i < 3; ++i) {
            auto object = std::make_unique<TestObject>(fixture.world.get(), GridObjectType::Projectile);
            list.push_back(object.get());
            fixture.world->AddObject(std::move(object));
        }
        fixture.world->Reset();
    }

    WorldFixture fixture;
    std::vector<TestObject*> list;
};

TEST_F(UpdatePass, ObjectsSpawnedDuringThePassJoinAfterIt)
{
    World& world = *fixture.world;
    TestObject* spawned = nullptr;
    list[0]->onUpdate = [&](TestObject& self) {
        if (spawned)
            return;
        auto object = std::make_unique<TestObject>(&world, GridObjectType::Projectile);
        spawned = object.get();
        self.world->AddPendingObject(std::move(object));
    };
    world.Update();
    ASSERT_NE(spawned, nullptr);
    EXPECT_EQ(spawned->updates, 0);
    ASSERT_EQ(world.objects.size(), 4u);
    EXPECT_EQ(world.objects.back().get(), spawned);
    EXPECT_TRUE(world.pendingObjects.empty());
    world.Update();
    EXPECT_EQ(spawned->updates, 1);
}

TEST_F(UpdatePass, RemovedObjectsFinishThePassAndAreDestroyedAfterIt)
{
    World& world = *fixture.world;
    list[1]->Place({32, 0, 32}, {20, 1, 20});
    ASSERT_EQ(list[1]->cells.size(), 16u); // 12..52 on both axes: every cell
    std::vector<int> seenInCells;
    int secondUpdates = 0;
    // The first removes the second, which still has its turn; the third
    // removes itself and still counts what the cells hold in the same pass.
    list[0]->onUpdate = [&](TestObject&) { list[1]->Remove(); };
    list[1]->onUpdate = [&](TestObject&) { ++secondUpdates; };
    list[2]->onUpdate = [&](TestObject& self) {
        int found = 0;
        world.ForEachObjectInRange(world.GetCellRange({{0, 0}, {64, 64}}), ~0u, [&](GridObject*) { ++found; });
        seenInCells.push_back(found);
        self.Remove();
    };
    world.Update();
    EXPECT_EQ(secondUpdates, 1);
    EXPECT_EQ(seenInCells, std::vector<int>{0}); // out of its cells at once
    ASSERT_EQ(world.objects.size(), 1u);
    EXPECT_EQ(world.objects[0].get(), list[0]);
    EXPECT_EQ(list[0]->updates, 1);
}

TEST_F(UpdatePass, ParticleBurstsCountAndColour)
{
    World& world = *fixture.world;
    auto& store = fixture.particleStore.particles;
    world.SpawnParticles({1, 2, 3}, Color(0.5f, 1.0f, 0.0f, 0.25f), 0);
    EXPECT_TRUE(store.empty());
    for (int i = 0; i < 40; ++i) {
        const size_t before = store.size();
        world.SpawnParticles({1, 2, 3}, Color(0.5f, 1.0f, 0.0f, 0.25f), -1);
        const size_t added = store.size() - before;
        EXPECT_GE(added, 3u);
        EXPECT_LE(added, 6u);
    }
    const Particle& blood = store.back();
    EXPECT_EQ(blood.position, Vector3(1, 2, 3));
    EXPECT_NEAR(blood.colour.r, 0.2176f, 1e-4f); // 0.5^2.2: linear light
    EXPECT_EQ(blood.colour.a, 0.25f);
    EXPECT_EQ(world.particles->motions.back().kind, ParticleKindBlood);

    const size_t before = store.size();
    world.SpawnParticlesWithVelocity({0, 0, 0}, {1, 0, 0}, Color(1, 1, 1, 1), 5);
    world.SpawnParticlesWithVelocity({0, 0, 0}, {1, 0, 0}, Color(1, 1, 1, 1), -3);
    EXPECT_EQ(store.size(), before + 5);
    EXPECT_EQ(world.particles->motions.back().kind, ParticleKindPuff);
}

// Steps with no frame between them (no device) still erase what has ended:
// a body another owner released before the step, and one released during
// the pass (a shot made and shot down in that same pass), while the living
// stay.
TEST_F(UpdatePass, EndedParticlesLeaveTheStoreWithTheStep)
{
    World& world = *fixture.world;
    auto& store = fixture.particleStore.particles;
    world.SpawnParticles({32, 30, 32}, Color(1, 0, 0, 1), 1);
    const Particle* flying = &store.back();
    fixture.particleStore.AddParticle().dead = true;
    list[0]->onUpdate = [&](TestObject&) {
        if (world.objects.size() < 4)
            fixture.particleStore.AddParticle().dead = true;
    };
    world.Update();
    ASSERT_EQ(store.size(), 1u);
    EXPECT_EQ(&store.front(), flying);
}

TEST(WorldReset, MovesTheLevelsMeshesUnderTheSceneNodesAndSetsEveryObjectUp)
{
    Config::GetInstance().settings.maxBloodDecals = 4;
    WorldFixture fixture(RoomMap(0, 0, 64, 64));
    World& world = *fixture.world;
    Mesh* regionMesh = world.sectorGraph.Regions()[0].mesh;
    std::vector<Mesh*> drawn;
    std::vector<TestObject*> added;
    for (const uint32_t mask : {GridObjectType::Door, GridObjectType::Elevator, GridObjectType::Switch,
                                GridObjectType::TVScreen, GridObjectType::Powerup, GridObjectType::Projectile}) {
        auto object = std::make_unique<TestObject>(&world, mask);
        object->mesh = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
        object->boundsMesh = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
        drawn.push_back(object->mesh.get());
        drawn.push_back(object->boundsMesh.get());
        added.push_back(object.get());
        world.AddObject(std::move(object));
    }
    world.entityMeshRoot = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);
    Mesh* entities = world.entityMeshRoot.get();
    world.Reset();
    Config::GetInstance().settings = Settings{};

    // Root: the region meshes, the map objects' meshes, the entity batches,
    // then the blood decals.
    ASSERT_EQ(fixture.root.children.size(), 4u);
    EXPECT_EQ(fixture.root.children[0]->children.at(0).get(), regionMesh);
    EXPECT_FALSE(regionMesh->visible); // hidden until the player's first move
    const Mesh& mapObjects = *fixture.root.children[1];
    ASSERT_EQ(mapObjects.children.size(), 4u); // door, elevator, switch, screen in list order
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(mapObjects.children[i].get(), drawn[2 * i]);
    EXPECT_EQ(fixture.root.children[2].get(), entities);
    EXPECT_EQ(fixture.root.children[3]->name, "blood_decals");
    EXPECT_EQ(world.bloodDecals->mesh, fixture.root.children[3].get());
    // Only the pickup's debug box goes under the debug root; the projectile keeps both.
    ASSERT_EQ(fixture.debugRoot.children.size(), 1u);
    EXPECT_EQ(fixture.debugRoot.children[0].get(), drawn[9]);
    EXPECT_NE(world.objects[5]->mesh, nullptr);
    EXPECT_NE(world.objects[5]->boundsMesh, nullptr);
    for (const TestObject* object : added)
        EXPECT_EQ(object->setUps, 1);
    EXPECT_NE(world.collision, nullptr);
    EXPECT_EQ(world.collision->world, &world);
}

TEST(WorldReset, TheLevelScriptRunsBeforeTheObjectsEveryStep)
{
    WorldFixture fixture(RoomMap(0, 0, 64, 64));
    World& world = *fixture.world;
    std::vector<std::string> calls;
    auto object = std::make_unique<TestObject>(&world, GridObjectType::Projectile);
    object->onUpdate = [&calls](TestObject&) { calls.push_back("object"); };
    world.AddObject(std::move(object));
    world.Reset();

    struct StepScript : MapScript
    {
        explicit StepScript(std::vector<std::string>& calls_) : MapScript(nullptr, nullptr), calls(calls_) {}
        void Update() override { calls.push_back("script"); }
        std::vector<std::string>& calls;
    };
    world.aiRegions->script = std::make_unique<StepScript>(calls);
    world.Update();
    world.Update();
    EXPECT_EQ(calls, (std::vector<std::string>{"script", "object", "script", "object"}));
}

} // namespace
} // namespace mirefell
