// Script_Descent on the shipped map: where its start parks the lifts, and
// what the switches, the blue key's area, the chapel's key, the secret
// passage and the final room do to the real doors, elevators and lights.
#include <gtest/gtest.h>

#include "ShippedLevelFixture.h"
#include "gameplay/GameSaveManager.h"
#include "render/PointLight.h"
#include "world/LightSource.h"

namespace mirefell::testing
{
namespace
{

class ScriptDescent : public ShippedLevelTest
{
protected:
    void SetUp() override
    {
        ShippedLevelTest::SetUp();
        LoadLevel("descent");
        world->viewLighting = {&viewLight, &viewAmbient};
    }

    // Whether every map light is on (or off).
    bool MapLightsAre(uint8_t enabled)
    {
        bool all = true;
        world->ForEachObject(GridObjectType::LightSource, [&](GridObject* object) {
            const PointLight* light = static_cast<LightSource*>(object)->light;
            all = all && light && light->enabled == enabled;
        });
        return all;
    }

    // The first-person view's light and ambient colour, as the weapon view
    // hands them to the world; as they are while the map is lit.
    PointLight viewLight;
    Vector4 viewAmbient{0.05f, 0.05f, 0.05f, 0.0f};
};

const int32_t Pillars[] = {126, 118, 122, 121, 110, 114, 112, 392};

TEST_F(ScriptDescent, StartParksTheLiftsAtTheirTopsAndLocksTheClosetAndTheSecretDoor)
{
    // Map floor plus travel.
    const std::pair<int32_t, float> tops[] = {{3, 160.0f},  {73, 64.0f},   {74, -32.0f}, {216, -32.0f},
                                              {197, 60.0f}, {247, -96.0f}, {248, -80.0f}};
    for (const auto& [id, top] : tops) {
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateTop) << "lift " << id;
        EXPECT_FLOAT_EQ(Surface(id), top) << "lift " << id;
    }
    for (const int32_t id : Pillars) {
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateTop) << "pillar " << id;
        EXPECT_FLOAT_EQ(Surface(id), 52.0f) << "pillar " << id;
        EXPECT_FLOAT_EQ(ElevatorOf(id).bottom, -20.0f) << "pillar " << id;
    }
    EXPECT_FLOAT_EQ(ElevatorOf(3).bottom, -60.0f);
    for (const int32_t id : {216, 247, 248})
        EXPECT_FLOAT_EQ(ElevatorOf(id).speed, 1.0f) << "lift " << id;
    EXPECT_FLOAT_EQ(ElevatorOf(3).speed, 0.25f);
    EXPECT_FALSE(DoorOf(372).usable);
    EXPECT_FALSE(DoorOf(198).usable);
    EXPECT_TRUE(DoorOf(4).usable); // a door of no concern to the script
    EXPECT_TRUE(MapLightsAre(1));
}

TEST_F(ScriptDescent, TheDropSwitchesSendTheirLiftsDownAndStayOn)
{
    Throw(1299);
    Throw(1301);
    Throw(1300);
    for (const uint32_t id : {1299u, 1301u, 1300u})
        EXPECT_TRUE(SwitchOf(id)->IsOn()) << "switch " << id;
    for (const int32_t id : {3, 73, 74})
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateMovingDown) << "lift " << id;

    Step(384); // the longest travel, 96, at a quarter of a unit a step
    for (const int32_t id : {3, 73, 74})
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateBottom) << "lift " << id;
    EXPECT_FLOAT_EQ(Surface(3), 64.0f); // the new bottom, -60, plus half the travel, 124
    EXPECT_FLOAT_EQ(Surface(73), -32.0f);
    EXPECT_FLOAT_EQ(Surface(74), -96.0f);
}

TEST_F(ScriptDescent, ThePitLiftSwitchBeforeTheBlueKeyEndsAtOnce)
{
    Throw(2575);
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateMovingUp);
    EXPECT_TRUE(SwitchOf(2575)->IsOn());
    Step();
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateTop);
    EXPECT_FLOAT_EQ(Surface(216), -32.0f);
}

TEST_F(ScriptDescent, EnteringTheBlueKeyAreaTwiceOpensTheClosetAndLowersThePitLiftOnce)
{
    Enter("bluekey");
    EXPECT_EQ(DoorOf(372).GetState(), DoorStateOpening);
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateMovingDown);
    Step(144); // the closet opens 72 at half a unit a step; the lift drops 72 at one
    EXPECT_EQ(DoorOf(372).GetState(), DoorStateOpen);
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateBottom);
    EXPECT_FLOAT_EQ(Surface(216), -104.0f);

    Enter("bluekey");
    EXPECT_EQ(DoorOf(372).GetState(), DoorStateOpen);
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateBottom);
    Step(400); // the locked closet never closes by itself
    EXPECT_EQ(DoorOf(372).GetState(), DoorStateOpen);

    Throw(2575); // back up to the balcony
    Step(72);
    EXPECT_EQ(ElevatorOf(216).state, ElevatorStateTop);
    EXPECT_FLOAT_EQ(Surface(216), -32.0f);
}

TEST_F(ScriptDescent, TheChapelKeyDropsThePillarsAndPutsTheLightsOutUntilTheSwitch)
{
    Collect(300); // an ammunition pack: no concern of the script
    EXPECT_EQ(ElevatorOf(126).state, ElevatorStateTop);
    EXPECT_TRUE(MapLightsAre(1));

    Collect(127);
    for (const int32_t id : Pillars)
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateMovingDown) << "pillar " << id;
    EXPECT_TRUE(MapLightsAre(0));
    EXPECT_EQ(viewLight.enabled, 1);
    EXPECT_EQ(viewAmbient, Vector4(0.0f, 0.0f, 0.0f, 0.0f));
    Step(192); // 48 down at a quarter of a unit a step: flush with the floor
    for (const int32_t id : Pillars)
        EXPECT_FLOAT_EQ(Surface(id), 4.0f) << "pillar " << id;

    Throw(3859);
    EXPECT_TRUE(SwitchOf(3859)->IsOn());
    EXPECT_TRUE(MapLightsAre(1));
    EXPECT_EQ(viewLight.enabled, 0);
    EXPECT_EQ(viewAmbient, Vector4(0.05f, 0.05f, 0.05f, 0.0f));
}

TEST_F(ScriptDescent, WithBlackoutTheChapelKeyDropsThePillarsAndLeavesTheLightingAlone)
{
    GameSaveManager::GetInstance().current.blackout = true;
    LoadLevel("descent"); // again, under Blackout: the map has no lights
    // Values neither switch would write, so that any change shows.
    const Vector4 marked{0.02f, 0.03f, 0.04f, 0.0f};
    viewLight.enabled = 1;
    viewAmbient = marked;
    world->viewLighting = {&viewLight, &viewAmbient};

    Collect(127);
    for (const int32_t id : Pillars)
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateMovingDown) << "pillar " << id;
    EXPECT_EQ(viewAmbient, marked);
    Throw(3859);
    EXPECT_EQ(viewLight.enabled, 1);
    EXPECT_EQ(viewAmbient, marked);
    world->ForEachObject(GridObjectType::LightSource,
                         [](GridObject* object) { EXPECT_EQ(static_cast<LightSource*>(object)->light, nullptr); });
}

TEST_F(ScriptDescent, TheSecretPassageAndTheFinalRoomActOnlyOnTheirFirstEntry)
{
    Enter("secret_passage");
    Enter("final_room_top");
    Enter("final_room_bottom");
    EXPECT_EQ(DoorOf(198).GetState(), DoorStateOpening);
    for (const int32_t id : {197, 247, 248})
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateMovingDown) << "lift " << id;
    Step(224); // the plug's 56 at a quarter of a unit a step is the longest
    EXPECT_FLOAT_EQ(Surface(197), 4.0f);
    EXPECT_FLOAT_EQ(Surface(247), -144.0f);
    EXPECT_FLOAT_EQ(Surface(248), -144.0f);

    Enter("secret_passage");
    Enter("final_room_top");
    Enter("final_room_bottom");
    EXPECT_EQ(DoorOf(198).GetState(), DoorStateOpen);
    for (const int32_t id : {197, 247, 248})
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateBottom) << "lift " << id;
}

} // namespace
} // namespace mirefell::testing
