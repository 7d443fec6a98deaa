// Script_Pentagram on the shipped map: what its start leaves behind, and
// what each area, switch and the red key do to the real doors, elevators,
// switches and monsters.
#include <gtest/gtest.h>

#include "ShippedLevelFixture.h"
#include "gameplay/Monster.h"

namespace mirefell::testing
{
namespace
{

class ScriptPentagram : public ShippedLevelTest
{
protected:
    void SetUp() override
    {
        ShippedLevelTest::SetUp();
        LoadLevel("pentagram");
    }
};

constexpr int32_t FirstPillar = 25;
constexpr int32_t LastPillar = 54;
const int32_t CagedMonsters[] = {23, 24, 25, 26, 27, 115};

TEST_F(ScriptPentagram, StartLocksDoorsSetsCrushersRaisesThePillarsAndHoldsTheCage)
{
    for (const int32_t id : {460, 453, 333, 335}) {
        EXPECT_FALSE(DoorOf(id).usable) << "door " << id;
        EXPECT_FALSE(DoorOf(id).cycling) << "door " << id;
    }
    EXPECT_TRUE(DoorOf(181).usable); // a door of no concern to the script
    const std::pair<int32_t, float> crushers[] = {{457, 0.5f}, {456, 1.0f}, {296, 0.75f}};
    for (const auto& [id, speed] : crushers) {
        EXPECT_TRUE(DoorOf(id).cycling) << "crusher " << id;
        EXPECT_FLOAT_EQ(DoorOf(id).speed, speed) << "crusher " << id;
    }
    EXPECT_FLOAT_EQ(ElevatorOf(155).speed, 0.5f);
    EXPECT_EQ(ElevatorOf(155).state, ElevatorStateBottom);
    EXPECT_FLOAT_EQ(ElevatorOf(440).speed, 10.0f);
    EXPECT_EQ(ElevatorOf(440).sector->floorTopY, -48.0f);
    for (int32_t id = FirstPillar; id <= LastPillar; ++id) {
        const Elevator& pillar = ElevatorOf(id);
        EXPECT_EQ(pillar.state, ElevatorStateTop) << "pillar " << id;
        EXPECT_FLOAT_EQ(pillar.speed, 1.0f);
        EXPECT_FLOAT_EQ(pillar.bottom, -58.0f);
        // Map floor -44 with a travel of 164: the closed ring stands at 120.
        EXPECT_FLOAT_EQ(pillar.sector->floorTopY, 120.0f) << "pillar " << id;
    }
    for (const int32_t id : CagedMonsters)
        EXPECT_EQ(MonsterOf(id).state, MonsterState::Held) << "monster " << id;
    EXPECT_EQ(MonsterOf(1).state, MonsterState::Asleep); // outside the cage: untouched
}

TEST_F(ScriptPentagram, EitherEntranceDropsThePillarsAndLoosesTheCageOnce)
{
    Enter("pentagram_left");
    for (int32_t id = FirstPillar; id <= LastPillar; ++id)
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateMovingDown) << "pillar " << id;
    for (const int32_t id : CagedMonsters)
        EXPECT_EQ(MonsterOf(id).state, MonsterState::Hunting) << "monster " << id;

    // Held again, they show whether a second entrance roars once more.
    for (const int32_t id : CagedMonsters)
        MonsterOf(id).SetState(static_cast<uint32_t>(MonsterState::Held));
    Step(96); // 120 down to 24 at one unit a step
    for (int32_t id = FirstPillar; id <= LastPillar; ++id) {
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateBottom) << "pillar " << id;
        EXPECT_FLOAT_EQ(ElevatorOf(id).sector->floorTopY, 24.0f) << "pillar " << id;
    }

    Enter("pentagram_right");
    Enter("pentagram_left");
    for (int32_t id = FirstPillar; id <= LastPillar; ++id)
        EXPECT_EQ(ElevatorOf(id).state, ElevatorStateBottom) << "pillar " << id;
    for (const int32_t id : CagedMonsters)
        EXPECT_EQ(MonsterOf(id).state, MonsterState::Held) << "monster " << id;
}

TEST_F(ScriptPentagram, AreasSwitchesAndTheKeyDriveTheirDoorsAndElevators)
{
    Enter("pentagram_tunnel");
    EXPECT_EQ(DoorOf(453).GetState(), DoorStateOpening);

    Elevator& space = ElevatorOf(155);
    Enter("space_elevator_down");
    EXPECT_EQ(space.state, ElevatorStateMovingUp);
    Enter("space_elevator_right");
    EXPECT_EQ(space.state, ElevatorStateMovingDown);
    Throw(550);
    EXPECT_EQ(space.state, ElevatorStateMovingUp);
    Throw(551);
    EXPECT_EQ(space.state, ElevatorStateMovingDown);
    EXPECT_FALSE(SwitchOf(550)->IsOn());
    EXPECT_FALSE(SwitchOf(551)->IsOn());

    Throw(1973);
    EXPECT_EQ(ElevatorOf(440).state, ElevatorStateMovingUp);
    EXPECT_EQ(DoorOf(460).GetState(), DoorStateOpening);
    EXPECT_TRUE(SwitchOf(1973)->IsOn());
    Step(5); // 48 up at ten a step: the bridge is level with the ledges
    EXPECT_EQ(ElevatorOf(440).state, ElevatorStateTop);
    EXPECT_FLOAT_EQ(ElevatorOf(440).sector->floorTopY, 0.0f);

    Collect(229); // the exit: no concern of the script
    EXPECT_EQ(DoorOf(333).GetState(), DoorStateClosed);
    Collect(118);
    EXPECT_EQ(DoorOf(333).GetState(), DoorStateOpening);
    EXPECT_EQ(DoorOf(335).GetState(), DoorStateOpening);
}

} // namespace
} // namespace mirefell::testing
