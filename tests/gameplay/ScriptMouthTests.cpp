// Script_Mouth on the shipped map: the locked jail, tunnel and blue doors,
// the jail opening for good, the red key's lift rising once and its switch,
// and the doors that open on every entry.
#include <gtest/gtest.h>

#include "ShippedLevelFixture.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"

namespace mirefell::testing
{
namespace
{

class ScriptMouth : public ShippedLevelTest
{
protected:
    void SetUp() override
    {
        ShippedLevelTest::SetUp();
        LoadLevel("mouth");
    }
};

const int32_t JailDoors[] = {8, 9, 10, 11, 12};
// A door opens 72 at half a unit a step.
constexpr int OpeningSteps = 144;
// An open usable door would close after this many steps.
constexpr int AutoCloseSteps = 300;

TEST_F(ScriptMouth, StartLocksItsDoorsAndLeavesTheRedKeyLiftDown)
{
    for (const int32_t id : {8, 9, 10, 11, 12, 63, 267, 203, 205})
        EXPECT_FALSE(DoorOf(id).usable) << "door " << id;
    EXPECT_TRUE(DoorOf(20).usable); // the stash: no concern of the script
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateBottom);
    EXPECT_FLOAT_EQ(Surface(62), -96.0f);
    EXPECT_FLOAT_EQ(ElevatorOf(62).speed, 1.0f);
}

TEST_F(ScriptMouth, TheJailDoorsIgnoreUseUntilTheJailOpensThemForGood)
{
    // In the jail corridor, a few steps towards the cell door to the north.
    player->SetPosition({360.0f, -41.0f, 1288.0f});
    player->controller->SetAngles(90.0f, 90.0f); // facing +y, level
    Hold(KeybindAction::MoveForward, true);
    Step(8);
    Hold(KeybindAction::MoveForward, false);
    Hold(KeybindAction::Use, true);
    Step();
    Hold(KeybindAction::Use, false);
    EXPECT_EQ(player->usable, static_cast<IUsable*>(&DoorOf(10))); // the door is the target...
    EXPECT_FALSE(player->usableInReach);                           // ...but does not answer
    for (const int32_t id : JailDoors)
        EXPECT_EQ(DoorOf(id).GetState(), DoorStateClosed) << "door " << id;

    Enter("jail");
    for (const int32_t id : JailDoors)
        EXPECT_EQ(DoorOf(id).GetState(), DoorStateOpening) << "door " << id;
    Step(OpeningSteps + AutoCloseSteps + 1);
    for (const int32_t id : JailDoors)
        EXPECT_EQ(DoorOf(id).GetState(), DoorStateOpen) << "door " << id;
}

TEST_F(ScriptMouth, TheRedKeyRaisesItsLiftAndOpensItsDoorOnceAndTheSwitchLowersTheLift)
{
    Enter("redkey");
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateMovingUp);
    EXPECT_EQ(DoorOf(63).GetState(), DoorStateOpening);
    Step(OpeningSteps); // the lift rises 72 at one unit a step, the door opens 72
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateTop);
    EXPECT_FLOAT_EQ(Surface(62), -24.0f);
    EXPECT_EQ(DoorOf(63).GetState(), DoorStateOpen);

    Throw(3030);
    EXPECT_TRUE(SwitchOf(3030)->IsOn());
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateMovingDown);
    Step(72);
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateBottom);
    EXPECT_FLOAT_EQ(Surface(62), -96.0f);

    Enter("redkey");
    EXPECT_EQ(ElevatorOf(62).state, ElevatorStateBottom);
    EXPECT_EQ(DoorOf(63).GetState(), DoorStateOpen);
}

TEST_F(ScriptMouth, TheTunnelTheJailAndTheBlueKeyOpenTheirDoorsOnEveryEntry)
{
    Enter("tunnel");
    Enter("bluekey");
    Enter("jail");
    Step(OpeningSteps);
    // Closed again by force, as nothing else in the level closes them.
    DoorOf(267).Close();
    DoorOf(203).Close();
    DoorOf(205).Close();
    DoorOf(8).Close();
    Step();
    Enter("tunnel");
    Enter("bluekey");
    Enter("jail");
    for (const int32_t id : {267, 203, 205, 8})
        EXPECT_EQ(DoorOf(id).GetState(), DoorStateOpening) << "door " << id;
}

} // namespace
} // namespace mirefell::testing
