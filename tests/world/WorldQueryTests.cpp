// World queries: objects by mask in cells (once each, ascending id), the
// whole-list visit, and the triangle and segment sources.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

#include "MapTestData.h"
#include "support/WorldFixture.h"
#include "world/ConcreteBuilder.h"

namespace mirefell
{
namespace
{

using testing::TestObject;
using testing::WorldFixture;

MapData OpenMap(float size)
{
    return testing::RoomMap(0, 0, size, size);
}

std::vector<uint32_t> VisitIds(const World& world, const CellRange& range, uint32_t mask)
{
    std::vector<uint32_t> ids;
    world.ForEachObjectInRange(range, mask, [&](GridObject* object) { ids.push_back(object->id); });
    return ids;
}

TEST(WorldQueries, CellVisitsMatchABruteForceModelOverRandomObjects)
{
    WorldFixture fixture(OpenMap(256));
    World& world = *fixture.world;
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-20.0f, 276.0f);
    std::uniform_real_distribution<float> size(0.0f, 40.0f);
    std::uniform_int_distribution<int> maskBit(0, 9);

    // Objects registered in reverse order of creation, so cell order and id
    // order disagree; some move, some leave.
    std::vector<std::unique_ptr<TestObject>> objects;
    for (int i = 0; i < 120; ++i)
        objects.push_back(std::make_unique<TestObject>(&world, 1u << maskBit(random)));
    const auto place = [&](TestObject& object) {
        const Vector2 corner{coordinate(random), coordinate(random)};
        object.SetCells(world.GetCellRange({corner, corner + Vector2(size(random), size(random))}));
    };
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        place(**it);
    for (int i = 0; i < 120; i += 3)
        place(*objects[static_cast<size_t>(i)]);
    for (int i = 1; i < 120; i += 7)
        objects[static_cast<size_t>(i)]->Remove();

    int answered = 0;
    for (int query = 0; query < 200; ++query) {
        const Vector2 corner{coordinate(random), coordinate(random)};
        const CellRange range = world.GetCellRange({corner, corner + Vector2(size(random), size(random))});
        const uint32_t mask = query % 5 == 0 ? ~0u : (1u << maskBit(random)) | (1u << maskBit(random));

        // The model: every registered object whose cell block meets the range's.
        std::vector<uint32_t> expected;
        if (range.valid) {
            for (const auto& object : objects) {
                if (!object->registered || !(object->typeMask & mask))
                    continue;
                const auto& rect = object->cellRect;
                if (rect[0] <= range.lastColumn && rect[2] >= range.firstColumn && rect[1] <= range.lastRow &&
                    rect[3] >= range.firstRow)
                    expected.push_back(object->id);
            }
        }
        ASSERT_EQ(VisitIds(world, range, mask), expected) << "query " << query;
        answered += expected.size() > 1 ? 1 : 0;

        std::vector<uint32_t> fromCells;
        World::ForEachObjectInCells(world.CellsInRange(range), mask,
                                    [&](GridObject* object) { fromCells.push_back(object->id); });
        ASSERT_EQ(fromCells, expected);

        // A search takes the first of them its test accepts, trying each
        // object once at most.
        const uint32_t divisor = static_cast<uint32_t>(query % 4) + 1;
        std::set<uint32_t> tried;
        const auto accept = [&](GridObject* object) {
            EXPECT_TRUE(tried.insert(object->id).second) << "tried twice: " << object->id;
            return object->id % divisor == 0;
        };
        uint32_t first = 0;
        for (const uint32_t id : expected)
            if (id % divisor == 0 && first == 0)
                first = id;
        GridObject* found = world.FindObjectInRange(range, mask, accept);
        ASSERT_EQ(found ? found->id : 0u, first) << "query " << query;
        tried.clear();
        found = World::FindObjectInCells(world.CellsInRange(range), mask, accept);
        ASSERT_EQ(found ? found->id : 0u, first) << "query " << query;
    }
    EXPECT_GT(answered, 40); // the model is not vacuous
}

TEST(WorldQueries, VisitorsMayQueryAgainAndTheVisitedSetIsFixedFirst)
{
    WorldFixture fixture(OpenMap(64));
    World& world = *fixture.world;
    TestObject a(&world, GridObjectType::Monster);
    TestObject b(&world, GridObjectType::Monster);
    a.Place({8, 0, 8}, {10, 1, 10}); // four cells
    b.Place({40, 0, 40}, {1, 1, 1});
    const CellRange all = world.GetCellRange({{0, 0}, {64, 64}});

    std::vector<std::pair<uint32_t, size_t>> seen;
    world.ForEachObjectInRange(all, GridObjectType::Monster, [&](GridObject* object) {
        size_t inner = 0;
        world.ForEachObjectInRange(all, ~0u, [&](GridObject*) { ++inner; });
        seen.emplace_back(object->id, inner);
        // Moving the other object out of the map does not change this visit.
        b.SetCells(world.GetCellRange({{-100, -100}}));
    });
    EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, size_t>>{{a.id, 2}, {b.id, 1}}));
}

TEST(WorldQueries, ForEachObjectWalksTheListByMaskWithoutPendingObjects)
{
    WorldFixture fixture(OpenMap(64));
    World& world = *fixture.world;
    world.AddObject(std::make_unique<TestObject>(&world, GridObjectType::Door));
    world.AddObject(std::make_unique<TestObject>(&world, GridObjectType::Switch));
    world.AddPendingObject(std::make_unique<TestObject>(&world, GridObjectType::Door));
    int visits = 0;
    world.ForEachObject(0, [&](GridObject*) { ++visits; });
    EXPECT_EQ(visits, 0);
    world.ForEachObject(~0u, [&](GridObject*) { ++visits; });
    EXPECT_EQ(visits, 2);
    world.ForEachObject(GridObjectType::Door | GridObjectType::Elevator, [&](GridObject*) { ++visits; });
    EXPECT_EQ(visits, 3);
}

TEST(WorldQueries, TriangleSourcesFilterByPredicateAndSeeLaterRegistrations)
{
    WorldFixture fixture(OpenMap(64));
    World& world = *fixture.world;
    TestObject first(&world, GridObjectType::Concrete);
    first.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {5, 5, 5}, {6, 5, 5}, {5, 5, 6}};
    first.Place({8, 0, 8}, {4, 1, 4});
    TestObject second(&world, GridObjectType::Door);
    second.vertices = {{9, 9, 9}, {9, 9, 8}, {8, 9, 9}};
    const CellRange range = world.GetCellRange({{0, 0}, {20, 20}});

    const TriangleSource source = world.CollectObjectsInRange(range, GridObjectType::Concrete | GridObjectType::Door);
    std::vector<std::pair<uint32_t, int32_t>> triangles;
    const auto record = [&](GridObject* owner, const Vector3& a, const Vector3&, const Vector3& c, int32_t index) {
        triangles.emplace_back(owner->id, index);
        if (owner == &first && index == 3) {
            EXPECT_EQ(a, Vector3(5, 5, 5));
            EXPECT_EQ(c, Vector3(5, 5, 6));
        }
    };
    source(record);
    EXPECT_EQ(triangles, (std::vector<std::pair<uint32_t, int32_t>>{{first.id, 0}, {first.id, 3}}));

    // The same source looks the cells up again on its next call.
    second.Place({10, 0, 10}, {1, 1, 1});
    triangles.clear();
    source(record);
    EXPECT_EQ(triangles.size(), 3u);

    const TriangleSource refusing = world.CollectObjectsInRange(range, ~0u, [](GridObject*) { return false; });
    refusing(TriangleVisitor{}); // never called, so an empty visitor is fine
    EXPECT_THROW(source(TriangleVisitor{}), std::bad_function_call);

    // Outside the range, or with an invalid one, nothing comes.
    triangles.clear();
    world.CollectObjectsInRange(world.GetCellRange({{40, 40}, {60, 60}}), ~0u)(record);
    world.CollectObjectsInRange(CellRange{}, ~0u)(record);
    EXPECT_TRUE(triangles.empty());
}

TEST(WorldQueries, SegmentSourcesYieldWallsAndMovingCopiesButNoFloors)
{
    MapData map = OpenMap(64);
    MapSegment wall;
    wall.id = 5;
    wall.start = {0, 0};
    wall.end = {0, 64};
    wall.topY = 32;
    wall.sectorId = 1;
    map.segments.push_back(wall);
    WorldFixture fixture(map);
    World& world = *fixture.world;
    ConcreteBuilder::AddSectorConcrete(world, world.map.sectors[0], false);
    const CellRange middle = world.GetCellRange({{24, 24}, {40, 40}});

    std::vector<std::pair<int32_t, float>> found;
    const auto record = [&](const MapSegment& segment) { found.emplace_back(segment.id, segment.topY); };
    world.CollectSegmentsInRange(middle)(record);
    EXPECT_TRUE(found.empty()); // only the floor lies there

    TestObject door(&world, GridObjectType::Door);
    door.segments.resize(2);
    door.segments[0].id = 70;
    door.segments[1].id = 71;
    door.Place({32, 0, 32}, {4, 4, 4});
    ConcreteBuilder::AddWallConcrete(world, world.map.segments[0]);
    const SegmentSource all = world.CollectSegmentsInRange(world.GetCellRange({{0, 0}, {64, 64}}));
    door.RaiseSegments(10.0f);
    all(record);
    EXPECT_EQ(found, (std::vector<std::pair<int32_t, float>>{{70, 10}, {71, 10}, {5, 32}}));

    found.clear();
    world.CollectSegmentsInRange(world.GetCellRange({{0, 0}, {64, 64}}),
                                 [](const MapSegment& segment) { return segment.id != 70; })(record);
    EXPECT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].first, 71);
}

} // namespace
} // namespace mirefell
