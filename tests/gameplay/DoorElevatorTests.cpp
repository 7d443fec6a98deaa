// Doors and elevators of the test map driven step by step: keys, exact end
// heights, the automatic close, blocking and crushing, and the platform
// carrying its riders.
#include <memory>

#include <gtest/gtest.h>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"

namespace mirefell::testing
{
namespace
{

class MapObjects : public TestMapTest
{
protected:
    void Build()
    {
        BuildLevel(map);
        for (const auto& object : world->objects) {
            if (auto* door = dynamic_cast<Door*>(object.get()))
                (door->sector->id == 2 ? plainDoor : redDoor) = door;
            if (auto* found = dynamic_cast<Elevator*>(object.get()))
                elevator = found;
        }
        riderAmmo = FindPickup(9);
        ASSERT_TRUE(plainDoor && redDoor && elevator && riderAmmo);
    }
    // Steps until the door reaches the state (at most `limit` steps);
    // returns the steps taken.
    int StepUntil(Door* door, uint32_t state, int limit = 1000)
    {
        int steps = 0;
        while (door->GetState() != state && steps < limit) {
            Step();
            ++steps;
        }
        return steps;
    }
    Door* plainDoor = nullptr;
    Door* redDoor = nullptr;
    Elevator* elevator = nullptr;
    Powerup* riderAmmo = nullptr;
};

TEST_F(MapObjects, AKeyDoorOpensOnlyForTheKeyHolder)
{
    Build();
    EXPECT_TRUE(redDoor->IsUsable());
    redDoor->Use();
    EXPECT_EQ(redDoor->GetState(), DoorStateClosed);
    ASSERT_FALSE(notifications.posted.empty());
    EXPECT_EQ(notifications.posted.back().text, Door::NeedRedKey);
    EXPECT_EQ(notifications.posted.back().ticks, Door::MessageSteps);

    player->hasRedKey = true;
    redDoor->Use();
    EXPECT_EQ(redDoor->GetState(), DoorStateOpening);
    EXPECT_EQ(redDoor->sector->doorOpen, 1);
    Step();
    EXPECT_FALSE(redDoor->IsUsable()); // only a closed door answers the key
    redDoor->Use();
    EXPECT_EQ(redDoor->GetState(), DoorStateOpening);
}

TEST_F(MapObjects, ForceOpenOpensWithoutAKeyAndSendsAClosingDoorBackUp)
{
    Build();
    // Through the interface the scripts hold: no key test, no message.
    IDoor& door = *redDoor;
    door.ForceOpen();
    EXPECT_EQ(door.GetState(), DoorStateOpening);
    EXPECT_EQ(redDoor->sector->doorOpen, 1);
    EXPECT_TRUE(notifications.posted.empty());

    StepUntil(redDoor, DoorStateOpen);
    const float top = redDoor->position.y;
    door.Close();
    Step(4);
    EXPECT_FLOAT_EQ(redDoor->position.y, top - 4 * Door::DefaultSpeed);
    redDoor->sector->doorOpen = 0;
    door.ForceOpen();
    EXPECT_EQ(door.GetState(), DoorStateOpening);
    EXPECT_EQ(redDoor->sector->doorOpen, 1);
    Step(4);
    EXPECT_FLOAT_EQ(redDoor->position.y, top);
    EXPECT_EQ(door.GetState(), DoorStateOpen);
}

TEST_F(MapObjects, ADoorStopsExactlyAtItsHeightsAndClosesByItself)
{
    Build();
    const float closed = plainDoor->position.y;
    const float top = plainDoor->box.max.y;
    const float segmentTop = plainDoor->segments.front().topY;
    plainDoor->SetSpeed(0.3f); // 88 is no multiple of it
    plainDoor->Use();
    EXPECT_EQ(StepUntil(plainDoor, DoorStateOpen), 294); // ceil(88 / 0.3)
    EXPECT_FLOAT_EQ(plainDoor->position.y, closed + 88.0f);
    EXPECT_FLOAT_EQ(plainDoor->box.max.y, top + 88.0f);
    // Geometry moves by each step's change, so it drifts by rounding only.
    EXPECT_NEAR(plainDoor->segments.front().topY, segmentTop + 88.0f, 1e-3f);
    float highest = -1e9f;
    for (const Vector3& v : plainDoor->vertices)
        highest = std::max(highest, v.y);
    EXPECT_NEAR(highest, top + 88.0f, 1e-3f); // the collision geometry moved with it

    // Five seconds open, then closing by itself.
    EXPECT_EQ(StepUntil(plainDoor, DoorStateClosing), Door::AutoCloseSteps);
    StepUntil(plainDoor, DoorStateClosed);
    EXPECT_FLOAT_EQ(plainDoor->position.y, closed);
    EXPECT_NEAR(plainDoor->segments.front().topY, segmentTop, 1e-3f);
    EXPECT_TRUE(plainDoor->IsUsable());
}

TEST_F(MapObjects, SomethingAliveInAClosingDoorMakesItReopenAndACyclingDoorCrushesIt)
{
    Build();
    plainDoor->Open();
    StepUntil(plainDoor, DoorStateOpen);
    TestMonster* corpse = AddTestMonster({136, 8, 64});
    corpse->dead = true;
    plainDoor->Close();
    Step(10);
    EXPECT_EQ(plainDoor->GetState(), DoorStateClosing); // the dead do not block

    TestMonster* monster = AddTestMonster({136, 8, 64});
    StepUntil(plainDoor, DoorStateOpening, 400);
    EXPECT_EQ(plainDoor->GetState(), DoorStateOpening);
    EXPECT_FALSE(monster->dead);

    plainDoor->SetCycling(true);
    EXPECT_FALSE(plainDoor->IsUsable());
    StepUntil(plainDoor, DoorStateClosing, 400);
    StepUntil(plainDoor, DoorStateClosed, 400);
    EXPECT_EQ(plainDoor->GetState(), DoorStateClosed); // the crushed do not block
    EXPECT_TRUE(monster->dead);
    Step();
    EXPECT_EQ(plainDoor->GetState(), DoorStateOpening); // no rest while cycling
}

TEST_F(MapObjects, AnElevatorStopsExactlyAndItsSectorFollowsIt)
{
    Build();
    MapSector& shaft = *elevator->sector;
    const float floor = shaft.floorTopY;
    const float ceiling = shaft.ceilBottomY;
    const float bottom = elevator->GetBottom();
    elevator->SetSpeed(0.3f); // 64 is no multiple of it
    elevator->MoveUp();
    int steps = 0;
    while (elevator->state != ElevatorStateTop && steps < 1000) {
        Step();
        ++steps;
        ASSERT_NEAR(shaft.floorTopY - floor, elevator->position.y - bottom, 1e-4f);
    }
    EXPECT_EQ(steps, 214); // ceil(64 / 0.3)
    EXPECT_FLOAT_EQ(elevator->position.y, bottom + 64.0f);
    EXPECT_NEAR(elevator->displacement.y, 64.0f - 213 * 0.3f, 1e-3f); // only the rest of the way
    EXPECT_NEAR(shaft.floorTopY, floor + 64.0f, 1e-3f);
    EXPECT_NEAR(shaft.ceilBottomY, ceiling + 64.0f, 1e-3f);

    elevator->SnapToBottom();
    EXPECT_NEAR(shaft.floorTopY, floor, 1e-3f);
    EXPECT_EQ(elevator->state, ElevatorStateBottom);

    // Cycling starts up at the next step and turns back at each end.
    elevator->SetSpeed(32.0f);
    elevator->SetAutoCycle(true);
    Step();
    EXPECT_EQ(elevator->state, ElevatorStateMovingUp);
    Step(2);
    EXPECT_EQ(elevator->state, ElevatorStateTop);
    Step();
    EXPECT_EQ(elevator->state, ElevatorStateMovingDown);
}

TEST_F(MapObjects, APlatformCarriesThePickupsLyingOnItButNotStaticOnes)
{
    Build();
    const float restingY = riderAmmo->position.y;
    elevator->MoveUp();
    Step(256);
    EXPECT_FLOAT_EQ(riderAmmo->position.y, restingY + 64.0f);
    EXPECT_FLOAT_EQ(riderAmmo->box.min.y, restingY + 64.0f - Powerup::HalfSize);
    elevator->MoveDown();
    Step(256);
    EXPECT_FLOAT_EQ(riderAmmo->position.y, restingY);

    map.entities[8].isStatic = true;
    plainDoor = redDoor = nullptr;
    Build();
    elevator->MoveUp();
    Step(256);
    EXPECT_FLOAT_EQ(riderAmmo->position.y, restingY);
}

} // namespace
} // namespace mirefell::testing
