// Elevator: the state machine of a moving platform.
#include "gameplay/Elevator.h"

#include "shell/SoundManager.h"
#include "world/MovingSector.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

Elevator::Elevator(World* world_, MapSector* sector_) : GridObject(world_, {}, sector_)
{
    typeMask = GridObjectType::Elevator;
    sector = sector_;
}

void Elevator::SetUp()
{
    bottom = position.y;
    top = position.y + sector->elevatorMaxHeight;
    UpdateBounds();
}

void Elevator::SnapToTop()
{
    state = ElevatorStateTop;
    displacement = Vector3(0.0f, top - position.y, 0.0f);
    position.y = top;
    ApplyMove();
}

void Elevator::SnapToBottom()
{
    state = ElevatorStateBottom;
    displacement = Vector3(0.0f, bottom - position.y, 0.0f);
    position.y = bottom;
    ApplyMove();
}

void Elevator::MoveUp()
{
    state = ElevatorStateMovingUp;
    SoundManager::GetInstance().PlaySound("elevator_move");
}

void Elevator::MoveDown()
{
    state = ElevatorStateMovingDown;
    SoundManager::GetInstance().PlaySound("elevator_move");
}

void Elevator::Update()
{
    displacement = Vector3();
    const float before = position.y;
    switch (state) {
    case ElevatorStateBottom:
    case ElevatorStateTop:
        if (autoCycle && --waitCountdown <= 0) {
            state = state == ElevatorStateBottom ? ElevatorStateMovingUp : ElevatorStateMovingDown;
            waitCountdown = waitPeriod;
        }
        break;
    case ElevatorStateMovingDown:
        position.y -= speed;
        if (position.y > bottom) {
            displacement.y = -speed;
        } else {
            state = ElevatorStateBottom;
            position.y = bottom;
            displacement.y = bottom - before;
            SoundManager::GetInstance().PlaySound("elevator_stop");
        }
        break;
    case ElevatorStateMovingUp:
        position.y += speed;
        if (position.y < top) {
            displacement.y = speed;
        } else {
            state = ElevatorStateTop;
            position.y = top;
            displacement.y = top - before;
            SoundManager::GetInstance().PlaySound("elevator_stop");
        }
        break;
    default:
        break;
    }
    ApplyMove();
}

void Elevator::ApplyMove()
{
    const float dy = displacement.y;
    if (dy == 0.0f)
        return;
    UpdateBounds();
    Translate(displacement);
    RaiseSegments(dy);
    sector->floorTopY += dy;
    sector->ceilBottomY += dy;
    MovingSector::UpdateMeshes(*this);
    world->collision->ForEachObjectOnPlatform(this, dy);
}

} // namespace mirefell
