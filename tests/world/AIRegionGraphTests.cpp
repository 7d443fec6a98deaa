// The AI region graph over the test map: regions and their monsters,
// alerting and awakening through doors, visible region meshes, the
// discovered regions and the area triggers.
#include <gtest/gtest.h>

#include <string>

#include "platform/GameError.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/MapScript.h"

namespace mirefell
{
namespace
{

using testing::TestDoor;
using testing::TestMonster;
using testing::TestObject;
using testing::WorldFixture;

MapEntity& EntityWithId(World& world, int32_t id)
{
    for (MapEntity& entity : world.map.entities)
        if (entity.id == id)
            return entity;
    throw std::runtime_error("no entity " + std::to_string(id));
}

MapSector& SectorWithId(World& world, int32_t id)
{
    return *world.map.sectorsById.at(id);
}

class RecordingScript : public MapScript
{
public:
    RecordingScript() : MapScript(nullptr, nullptr) {}
    void OnTriggerEnter(const AreaTrigger& trigger) override { calls.push_back("enter " + trigger.name); }
    void OnTriggerLeave(const AreaTrigger& trigger) override { calls.push_back("leave " + trigger.name); }
    std::vector<std::string> calls;
};

// Room A (region 0) | door 2 | hall, lift, ledge (region 1) | door 6 |
// closet (region 2). The nom stands in the hall, the eye on the ledge, and a
// third monster in the closet; the player starts in room A.
struct RegionWorld : ::testing::Test
{
    RegionWorld() : fixture(testing::LoadTestMap())
    {
        World& w = world();
        w.map.areas = {{"west", 1, {0, 0}, {64, 64}}, {"east", 2, {128, 64}, {64, 0}}};
        fixture.AddStaticGeometry();
        door2 = Add<TestDoor>(&SectorWithId(w, 2));
        door6 = Add<TestDoor>(&SectorWithId(w, 6));
        nom = Add<TestMonster>(&EntityWithId(w, 3));
        eye = Add<TestMonster>(&EntityWithId(w, 7));
        closetMonster = Add<TestMonster>(&EntityWithId(w, 8));
        player = Add<TestObject>(GridObjectType::Player);
        MoveTo(32, 32);
        w.Reset();
    }

    template <class T, class... Args> T* Add(Args... args)
    {
        auto object = std::make_unique<T>(&world(), args...);
        T* added = object.get();
        world().AddObject(std::move(object));
        return added;
    }

    World& world() { return *fixture.world; }
    AIRegionGraph& graph() { return *world().aiRegions; }
    void MoveTo(float x, float y) { player->Place({x, 4, y}, {3, 4, 3}); }
    std::vector<bool> VisibleMeshes()
    {
        std::vector<bool> visible;
        for (const SectorRegion& region : world().sectorGraph.Regions())
            visible.push_back(region.mesh->visible);
        return visible;
    }

    WorldFixture fixture;
    TestDoor* door2 = nullptr;
    TestDoor* door6 = nullptr;
    TestMonster* nom = nullptr;
    TestMonster* eye = nullptr;
    TestMonster* closetMonster = nullptr;
    TestObject* player = nullptr;
};

TEST_F(RegionWorld, BuildListsMonstersByRegionAndIndexesScriptHandles)
{
    ASSERT_EQ(graph().regions.size(), 3u);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(graph().regions.at(0).monsters.empty());
    EXPECT_EQ(graph().regions.at(1).monsters, (std::vector<GridObject*>{nom, eye}));
    EXPECT_EQ(graph().regions.at(2).monsters, (std::vector<GridObject*>{closetMonster}));
    EXPECT_EQ(graph().RegionForSector(7), &graph().regions.at(2));
    try {
        graph().RegionForSector(42);
        FAIL() << "sector 42 is in no region";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "sector has no corresponding region");
    }

    const MapObjectIndex& index = graph().objects;
    EXPECT_EQ(index.doors.size(), 2u);
    EXPECT_EQ(index.doors.at(6), door6);
    EXPECT_EQ(index.monsters.at(7), eye);
    EXPECT_EQ(index.monsters.size(), 3u);
    EXPECT_TRUE(index.pickups.empty() && index.elevators.empty() && index.switches.empty());
    EXPECT_EQ(graph().Script(), nullptr); // the test map has no script
    ASSERT_EQ(graph().areaTriggers.size(), 2u);
    EXPECT_EQ(graph().areaTriggers[1].box, MapRect(64, 0, 128, 64));
}

TEST_F(RegionWorld, AlertsPassOnlyDoorsThatAreNotClosedAndHappenOncePerRegion)
{
    graph().Traverse(player, AIRegionGraph::Alert);
    EXPECT_EQ(nom->roars, 0); // door 2 is closed
    EXPECT_TRUE(graph().regions.at(0).alerted);

    door2->state = DoorStateOpening;
    graph().Traverse(player, AIRegionGraph::Alert);
    EXPECT_EQ(nom->roars, 1);
    EXPECT_EQ(eye->roars, 1);
    EXPECT_EQ(closetMonster->roars, 0); // door 6 still closed

    graph().Traverse(player, AIRegionGraph::Alert);
    EXPECT_EQ(nom->roars, 1); // a second shot alerts nobody again

    door6->state = DoorStateClosing;
    graph().Traverse(player, AIRegionGraph::Alert);
    EXPECT_EQ(closetMonster->roars, 1); // only the newly reachable region
    EXPECT_EQ(nom->roars, 1);
    EXPECT_EQ(nom->forcedRoars, 0);
    EXPECT_EQ(nom->awakenings, 0);

    // Awakening is counted apart from alerting, also once per region.
    graph().Traverse(player, AIRegionGraph::Awaken);
    graph().Traverse(player, AIRegionGraph::Awaken);
    EXPECT_EQ(nom->awakenings, 1);
    EXPECT_EQ(closetMonster->awakenings, 1);
}

TEST_F(RegionWorld, OnlyReachableRegionsStayVisibleWhileDiscoveredOnesAreRemembered)
{
    graph().MarkReachable(player);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{true, false, false}));

    door2->state = DoorStateOpen;
    graph().MarkReachable(player);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{true, true, false}));
    EXPECT_TRUE(graph().regions.at(1).reachable);

    door2->state = DoorStateClosed;
    graph().MarkReachable(player);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{true, false, false}));
    EXPECT_FALSE(graph().regions.at(1).reachable);
    EXPECT_EQ(graph().discovered.size(), 2u);

    // Standing on the ledge: the hall's region and nothing behind door 6.
    MoveTo(400, 64);
    graph().MarkReachable(player);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{false, true, false}));

    // Off every sector: nothing is reachable and nothing is drawn.
    MoveTo(-200, -200);
    graph().MarkReachable(player);
    EXPECT_EQ(VisibleMeshes(), (std::vector<bool>{false, false, false}));
    graph().Traverse(player, AIRegionGraph::Alert);
    EXPECT_EQ(nom->roars, 0);
}

TEST_F(RegionWorld, AreaTriggersFireOnCrossingTheirClosedBoxesInListOrder)
{
    auto script = std::make_unique<RecordingScript>();
    RecordingScript* recording = script.get();
    graph().script = std::move(script);
    const auto move = [&](Vector3 from, Vector3 to) {
        recording->calls.clear();
        graph().CheckAreaTriggers(from, to);
        return recording->calls;
    };
    using Calls = std::vector<std::string>;
    EXPECT_EQ(move({32, 0, 32}, {96, 0, 32}), (Calls{"leave west", "enter east"}));
    EXPECT_EQ(move({96, 0, 32}, {32, 0, 32}), (Calls{"enter west", "leave east"}));
    EXPECT_EQ(move({10, 0, 10}, {20, 0, 20}), Calls{});               // staying inside fires nothing
    EXPECT_EQ(move({32, 0, 32}, {64, 0, 64}), (Calls{"enter east"})); // the shared corner is in both
    EXPECT_EQ(move({-10, 0, 32}, {140, 0, 32}), Calls{});             // jumping across never enters
    EXPECT_EQ(move({64, 0, 70}, {64, 0, 64}), (Calls{"enter west", "enter east"}));
}

TEST(AIRegionGraph, AScriptedMapWithoutAScriptFailsTheLevelStart)
{
    MapData map = testing::LoadTestMap();
    map.hasScript = true;
    map.name = "testmap";
    WorldFixture fixture(map);
    fixture.AddStaticGeometry();
    try {
        fixture.world->Reset();
        FAIL() << "no script is named testmap";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "script doesn't exist");
    }
}

} // namespace
} // namespace mirefell
