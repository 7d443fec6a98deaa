// The authored routes through the shipped levels, played headless from the
// start to the exit (see LevelRoute). On the way each scripted trigger fires
// as often as the route passes it, each switch is thrown once, and the
// script's once-only reactions act once.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "LevelRoute.h"
#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "render/PointLight.h"
#include "support/GameplayFixture.h"
#include "world/GridObject.h"
#include "world/ISwitch.h"
#include "world/LightSource.h"

namespace mirefell::testing
{
namespace
{

class PentagramRoute : public LevelRouteTest
{};
class DescentRoute : public LevelRouteTest
{};
class MouthRoute : public LevelRouteTest
{};

TEST_F(PentagramRoute, ReachesTheExitAndFiresEachTriggerOnce)
{
    LoadLevel("pentagram");
    IPowerup* closetKey = PickupById(118);
    ASSERT_NE(closetKey, nullptr);
    WalkToTheExit();
    if (HasFatalFailure())
        return;

    EXPECT_TRUE(player->hasRedKey);
    // The alcoves by the start armed the player.
    EXPECT_TRUE(Carries("item_hammer"));
    EXPECT_TRUE(Carries("item_double_shotgun"));

    ExpectEntered(
        {{"space_elevator_down", 1}, {"space_elevator_right", 1}, {"pentagram_tunnel", 1}, {"pentagram_left", 1}});
    ASSERT_EQ(counter->switches.size(), 1u);
    EXPECT_EQ(Throws(1973), 1);
    EXPECT_TRUE(SwitchOf(1973)->IsOn());
    EXPECT_EQ(counter->pickups[closetKey], 1);
    // The caged monsters were let out.
    for (const int32_t id : {23, 24, 25, 26, 27, 115}) {
        ASSERT_NE(FindMonster(*world, id), nullptr) << "monster " << id;
        EXPECT_NE(FindMonster(*world, id)->state, MonsterState::Held) << "monster " << id;
    }
}

TEST_F(DescentRoute, ReachesTheExitThroughTheDarkAndBothKeys)
{
    LoadLevel("descent");
    IPowerup* chapelKey = PickupById(127);
    ASSERT_NE(chapelKey, nullptr);
    WalkToTheExit();
    if (HasFatalFailure())
        return;

    EXPECT_TRUE(player->hasRedKey);
    EXPECT_TRUE(player->hasBlueKey);

    // The secret niche is passed on the way into the vault and out again.
    ExpectEntered({{"secret_passage", 2}, {"bluekey", 1}, {"final_room_top", 1}, {"final_room_bottom", 1}});
    EXPECT_EQ(counter->switches.size(), 5u);
    for (const uint32_t id : {1299u, 3859u, 1301u, 2575u, 1300u}) {
        EXPECT_EQ(Throws(id), 1) << "switch " << id;
        EXPECT_TRUE(SwitchOf(id)->IsOn()) << "switch " << id;
    }
    EXPECT_EQ(counter->pickups[chapelKey], 1);
    // The key put the lights out and the generator's switch put them back.
    world->ForEachObject(GridObjectType::LightSource,
                         [](GridObject* object) { EXPECT_EQ(static_cast<LightSource*>(object)->light->enabled, 1); });
    // Each lift ended where the route left it.
    EXPECT_EQ(FindElevator(*world, 216)->state, ElevatorStateTop);
    for (const int32_t id : {3, 73, 74, 197, 247, 248, 126, 392})
        EXPECT_EQ(FindElevator(*world, id)->state, ElevatorStateBottom) << "lift " << id;
}

TEST_F(MouthRoute, ReachesTheExitThroughTheJailTheCavernAndTheSanctum)
{
    LoadLevel("mouth");
    WalkToTheExit();
    if (HasFatalFailure())
        return;

    EXPECT_TRUE(player->hasRedKey);
    EXPECT_TRUE(player->hasBlueKey);

    // The red key's lift is stepped on twice: up with the key, down with
    // the switch; it rose only once.
    ExpectEntered({{"jail", 1}, {"tunnel", 1}, {"redkey", 2}, {"bluekey", 1}});
    EXPECT_EQ(counter->switches.size(), 1u);
    EXPECT_EQ(Throws(3030), 1);
    EXPECT_EQ(FindElevator(*world, 62)->state, ElevatorStateBottom);
    // Every door the script opened is still open.
    for (const int32_t id : {8, 9, 10, 11, 12, 63, 267, 203, 205})
        EXPECT_EQ(FindDoor(*world, id)->GetState(), DoorStateOpen) << "door " << id;
}

// A route of the source format, walked from where the player stands.
std::vector<RouteStep> Route(const std::string& steps)
{
    return maptool::LevelSource::Parse("level detour\nstart 0,0\n" + steps, "detour").route;
}

TEST_F(DescentRoute, ThePitCanBeLeftByItsStairsWhenItsLiftIsUp)
{
    LoadLevel("descent");
    player->SetPosition({1300.0f, -97.0f, 1300.0f}); // on the pit's floor, the lift at the top
    Walk(Route("route walk 1120,1192\nroute walk 1112,1240\nroute walk 1112,1420\nroute walk 1120,1500\n"));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_NEAR(player->position.y, -32.0f + Player::BodyHalfExtents.y, 0.5f); // on the ledge
}

TEST_F(MouthRoute, TheRedStairwayClimbsFromTheCavernToTheGallery)
{
    LoadLevel("mouth");
    player->SetPosition({720.0f, -89.0f, 992.0f}); // in the cavern, by the red door
    player->hasRedKey = true;
    Walk(Route("route use 776,992\nroute door 110 open\nroute walk 900,992\nroute walk 1008,976\n"
               "route walk 1008,800\n"));
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_NEAR(player->position.y, -24.0f + Player::BodyHalfExtents.y, 0.5f); // in the gallery
}

} // namespace
} // namespace mirefell::testing
