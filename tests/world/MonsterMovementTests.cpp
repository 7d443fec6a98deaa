// Monster movement: the floor probe and its 6-unit step limit, the fit
// test, sliding along wall segments, and blocking by other monsters and the
// player.
#include <vector>

#include <gtest/gtest.h>

#include "support/WorldFixture.h"
#include "world/MapTestData.h"
#include "world/WorldCollision.h"

namespace mirefell
{
namespace
{

using testing::RectSector;
using testing::TestMonster;
using testing::TestObject;
using testing::WorldFixture;

const Vector3 MonsterHalf{4.0f, 8.0f, 4.0f};

// Two rooms side by side, x 0..64 and 64..128, z 0..64; the second floor
// `step` units higher; ceilings at `ceiling`.
MapData TwoRooms(float step, float ceiling = 100.0f)
{
    MapData map = testing::TwoRoomsMap(step);
    for (MapSector& sector : map.sectors) {
        sector.ceiling = true;
        sector.ceilBottomY = ceiling;
    }
    return map;
}

MapSegment Wall(Vector2 start, Vector2 end, float bottom, float top)
{
    MapSegment segment;
    segment.start = start;
    segment.end = end;
    segment.bottomY = bottom;
    segment.topY = top;
    return segment;
}

struct MonsterMove : ::testing::Test
{
    void Build(const MapData& map)
    {
        fixture = std::make_unique<WorldFixture>(map);
        fixture->AddStaticGeometry();
        collision = std::make_unique<WorldCollision>(fixture->world.get());
    }
    TestMonster* AddMonster(const Vector3& at)
    {
        auto monster = std::make_unique<TestMonster>(fixture->world.get(), at, MonsterHalf);
        return static_cast<TestMonster*>(fixture->world->AddObject(std::move(monster)));
    }
    // One move; the monster is placed where the move allowed.
    GridObject* Move(TestMonster* monster, const Vector3& by, Vector3& reached)
    {
        const Vector3 from = monster->position;
        reached = from + by;
        GridObject* blocker = collision->MoveMonster(monster, from, reached);
        collision->PlaceObject(monster, reached);
        return blocker;
    }

    std::unique_ptr<WorldFixture> fixture;
    std::unique_ptr<WorldCollision> collision;
};

TEST_F(MonsterMove, StepsUpToSixUnitsAndRefusesAnyHigher)
{
    Build(TwoRooms(6.0f));
    TestMonster* monster = AddMonster({58, 8, 32});
    Vector3 reached;
    EXPECT_EQ(Move(monster, {2, 0, 0}, reached), nullptr);
    EXPECT_FLOAT_EQ(reached.x, 60.0f);
    EXPECT_FLOAT_EQ(reached.y, 6.0f + MonsterHalf.y); // stands on the higher floor
    Move(monster, {8, 0, 0}, reached);
    EXPECT_FLOAT_EQ(reached.x, 68.0f);

    Build(TwoRooms(6.01f));
    monster = AddMonster({58, 8, 32});
    const Vector3 before = monster->position;
    Move(monster, {2, 0, 0}, reached);
    EXPECT_EQ(reached, before); // the whole move is refused, height too
    // Inside one room it still walks.
    Move(monster, {-2, 0, 0}, reached);
    EXPECT_FLOAT_EQ(reached.x, 56.0f);
}

TEST_F(MonsterMove, AFootprintOffEveryFloorDoesNotMove)
{
    Build(TwoRooms(0.0f));
    TestMonster* monster = AddMonster({120, 8, 32});
    Vector3 reached;
    Move(monster, {20, 0, 0}, reached); // beyond the map's last floor
    EXPECT_EQ(reached, Vector3(120, 8, 32));
}

TEST_F(MonsterMove, WallsBlockOnlyWhereTheyReachTheBodyUnlessTheMonsterDoesNotFit)
{
    MapData map = TwoRooms(0.0f);
    map.segments.push_back(Wall({40, 64}, {40, 0}, 0.0f, 100.0f));  // faces -X
    map.segments.push_back(Wall({20, 64}, {20, 0}, -10.0f, 0.0f));  // a sunken kerb, faces -X
    map.segments.push_back(Wall({20, 0}, {20, 64}, 30.0f, 100.0f)); // a lintel, faces +X
    for (MapSegment& segment : map.segments)
        segment.sectorId = 1;
    Build(map);

    // Over the kerb (its top at the floor, below the body span) and under
    // the lintel; walls are never stepped over, only floors.
    TestMonster* monster = AddMonster({14, 8, 32});
    Vector3 reached;
    Move(monster, {4, 0, 0}, reached);
    Move(monster, {4, 0, 0}, reached);
    EXPECT_FLOAT_EQ(reached.x, 22.0f);
    // Walking back, the lintel does not reach down to the body either.
    Move(monster, {-4, 0, 0}, reached);
    EXPECT_FLOAT_EQ(reached.x, 18.0f);

    // Into the wall at an angle: slides along it.
    TestMonster* walker = AddMonster({33, 8, 20});
    Move(walker, {4, 0, 3}, reached);
    EXPECT_NEAR(reached.x, 40.0f - MonsterHalf.x, 0.01f);
    EXPECT_LT(reached.x, 40.0f - MonsterHalf.x);
    EXPECT_NEAR(reached.z, 23.0f, 0.01f);

    // A room too low for the body: the monster keeps its height and the kerb
    // now stops it too.
    MapData low = map;
    for (MapSector& sector : low.sectors)
        sector.ceilBottomY = 10.0f;
    Build(low);
    monster = AddMonster({14, 30, 32});
    Move(monster, {4, 0, 0}, reached);
    EXPECT_LT(reached.x, 20.0f - MonsterHalf.x);
    EXPECT_FLOAT_EQ(reached.y, 30.0f);
}

TEST_F(MonsterMove, MonstersStopAtEachOtherAndAtThePlayerButNotAtCorpses)
{
    Build(TwoRooms(0.0f));
    TestMonster* a = AddMonster({20, 20, 32}); // above its floor: takes the floor's height
    TestMonster* b = AddMonster({29, 8, 32});
    Vector3 reached;
    EXPECT_EQ(Move(a, {2, 0, 0}, reached), b);
    EXPECT_FLOAT_EQ(reached.x, 20.0f);
    EXPECT_FLOAT_EQ(reached.y, MonsterHalf.y); // its own new height is kept
    EXPECT_EQ(Move(b, {-2, 0, 0}, reached), a);
    EXPECT_FLOAT_EQ(reached.x, 29.0f);

    b->dead = true;
    EXPECT_EQ(Move(a, {2, 0, 0}, reached), nullptr);
    EXPECT_FLOAT_EQ(reached.x, 22.0f);

    auto* player = static_cast<TestObject*>(
        fixture->world->AddObject(std::make_unique<TestObject>(fixture->world.get(), GridObjectType::Player)));
    player->Place({31, 7, 32}, {3, 7, 3});
    EXPECT_EQ(Move(a, {4, 0, 0}, reached), player);
    EXPECT_FLOAT_EQ(reached.x, 22.0f);
}

TEST(FloorProbe, NeighbouringFloorsMayDifferBySixAtMost)
{
    std::vector<float> heights{12.0f, 0.0f, 6.0f};
    FloorProbe probe = WorldCollision::FloorFromHeights(heights, 12.0f, 50.0f);
    EXPECT_TRUE(probe.valid);
    EXPECT_FLOAT_EQ(probe.floor, 12.0f);
    EXPECT_FLOAT_EQ(probe.ceiling, 50.0f);

    heights = {0.0f, 12.0f};
    EXPECT_FALSE(WorldCollision::FloorFromHeights(heights, 12.0f, 50.0f).valid);
    heights = {};
    EXPECT_FALSE(WorldCollision::FloorFromHeights(heights, 0.0f, 50.0f).valid);
}

TEST(SegmentPush, ASweptBoxEndsOnTheWallLineAndSlidesAlongIt)
{
    const MapSegment wall = Wall({10, 20}, {10, -20}, 0, 10); // faces -X
    const SegmentSource one([&wall](SegmentVisitor visit) { visit(wall); });
    const MapRect box(-1, -1, 1, 1);
    const Vector2 end = WorldCollision::PushAlongSegments(box, {0, 0}, {12, 6}, one);
    EXPECT_NEAR(end.x, 9.0f, 0.01f);
    EXPECT_LE(end.x, 9.0f);
    EXPECT_NEAR(end.y, 6.0f, 0.01f);

    // Moving away from its front: no push.
    const Vector2 away = WorldCollision::PushAlongSegments(MapRect(11, -1, 13, 1), {12, 0}, {20, 3}, one);
    EXPECT_EQ(away, Vector2(20, 3));
}

} // namespace
} // namespace mirefell
