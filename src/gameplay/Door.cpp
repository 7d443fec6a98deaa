// Door: the state machine of a sliding door.
#include "gameplay/Door.h"

#include "gameplay/Player.h"
#include "shell/INotificationService.h"
#include "shell/SoundManager.h"
#include "world/AIRegionGraph.h"
#include "world/MapData.h"
#include "world/MapScript.h"
#include "world/MovingSector.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

Door::Door(World* world_, MapSector* sector_) : GridObject(world_, {}, sector_)
{
    typeMask = GridObjectType::Door;
    sector = sector_;
    sector_->doorObject = this;
}

void Door::SetUp()
{
    closedHeight = position.y;
    openHeight = position.y + sector->doorMaxHeight;
    usableNow = true;
    UpdateBounds();
}

void Door::SetUsable(bool usable_)
{
    usable = usable_;
    usableNow = usable_;
}

void Door::Open()
{
    StartOpening();
}

void Door::SetCycling(bool cycling_)
{
    cycling = cycling_;
    usable = !cycling_;
    usableNow = !cycling_;
}

void Door::StartOpening()
{
    sector->doorOpen = 1;
    state = DoorStateOpening;
}

void Door::Use()
{
    if (state != DoorStateClosed)
        return;
    SoundManager& sound = SoundManager::GetInstance();
    const auto* player = static_cast<const Player*>(world->player);
    const bool hasRed = player && player->hasRedKey;
    const bool hasBlue = player && player->hasBlueKey;
    if ((sector->key == SectorKeyRed && !hasRed) || (sector->key == SectorKeyBlue && !hasBlue)) {
        GetNotificationService().Notify(sector->key == SectorKeyRed ? NeedRedKey : NeedBlueKey, MessageSteps);
        sound.PlaySound("door_close");
        return;
    }
    StartOpening();
    sound.PlaySound("door_open");
    if (world->aiRegions && world->aiRegions->script)
        world->aiRegions->script->OnDoorOpened(this);
}

void Door::Update()
{
    float dy = 0.0f;
    switch (state) {
    case DoorStateOpen:
        if (cycling) {
            state = DoorStateClosing;
        } else if (usable) {
            if (--autoCloseCountdown <= 0) {
                autoCloseCountdown = autoClosePeriod;
                state = DoorStateClosing;
                SoundManager::GetInstance().PlaySound("door_close");
            }
        } else {
            autoCloseCountdown = autoClosePeriod; // an unusable open door stays open
        }
        break;
    case DoorStateClosed:
        if (cycling)
            state = DoorStateOpening;
        break;
    case DoorStateOpening: {
        const float before = position.y;
        position.y += speed;
        if (position.y >= openHeight) {
            position.y = openHeight;
            state = DoorStateOpen;
        }
        dy = position.y - before;
        break;
    }
    case DoorStateClosing: {
        WorldCollision& collision = *world->collision;
        if (cycling)
            collision.CrushLivingKillablesInBox(cells, box);
        if (WorldCollision::AnyLivingKillableInBox(cells, box)) {
            // Something stands in the way: back up, silently.
            StartOpening();
            break;
        }
        const float before = position.y;
        position.y -= speed;
        if (position.y <= closedHeight) {
            position.y = closedHeight;
            state = DoorStateClosed;
        }
        dy = position.y - before;
        break;
    }
    default:
        break;
    }
    usableNow = state == DoorStateClosed && usable && !cycling;
    if (dy != 0.0f)
        ApplyMove(dy);
}

void Door::ApplyMove(float dy)
{
    UpdateBounds();
    Translate(Vector3(0.0f, dy, 0.0f));
    RaiseSegments(dy);
    MovingSector::UpdateMeshes(*this);
}

} // namespace mirefell
