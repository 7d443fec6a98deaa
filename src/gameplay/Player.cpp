// Player: construction, set-up, the per-step update, movement and the
// answer to floor and ceiling contacts. Health, pickups, items and the level
// start and end are in PlayerHealth.cpp.
#include "gameplay/Player.h"

#include <algorithm>
#include <cassert>
#include <limits>
#include <optional>

#include "gameplay/CheatCodeInput.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Powerup.h"
#include "gameplay/WeaponView.h"
#include "render/MeshPrimitives.h"
#include "shell/Config.h"
#include "shell/Input.h"
#include "shell/SoundManager.h"
#include "world/AIRegionGraph.h"
#include "world/Collision.h"
#include "world/IMonster.h"
#include "world/IUsable.h"
#include "world/Intersections.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
// The player starts a hair inside the map's start point along z.
constexpr float StartNudge = 0.0001f;
constexpr int32_t StompParticles = 20;
constexpr Color TeleportFlashColour{0.0f, 1.0f, 0.0f, 1.0f};
constexpr float TeleportFlash = 0.3f;
constexpr float TeleportLightLevel = 2.0f;
} // namespace

Player::Player(World* world_, Camera* camera_)
    : GridObject(world_, {}, nullptr), weaponView(std::make_unique<WeaponView>(this)), camera(camera_),
      cheats(std::make_unique<CheatCodeInput>(this))
{
    typeMask = GridObjectType::Player;
    halfExtents = BodyHalfExtents;
    collisionHalfExtents = BodyHalfExtents;
    useReach = halfExtents.x + UseReachBeyondBody;
    artifacts = {{ArtifactBoots, nullptr}, {ArtifactBloodlust, nullptr}, {ArtifactNightmare, nullptr}};
    const GameSave& save = GameSaveManager::GetInstance().current;
    health = save.health;
    armor = save.armor;
    const Vector2 start = world->map.playerStartPosition;
    position = Vector3(start.x, 0.0f, start.y - StartNudge);
}

Player::~Player() = default;

void Player::SetUp()
{
    SnapToFloor();
    vertices = BuildUnitCubeVertices();
    for (Vector3& vertex : vertices)
        vertex = vertex * halfExtents + position;
    UpdateBounds();

    const Settings& settings = Config::GetInstance().settings;
    controller =
        std::make_unique<FirstPersonController>(camera, position, settings.mouseSensitivity, settings.mouseInvertY);
    controller->speed = WalkSpeed;
    controller->SetAngles(FirstPersonController::DefaultYaw, controller->pitch);
    controller->move = [this](Vector3& from, Vector3& to) { MoveWithCollision(from, to); };
    direction = controller->look;
    yaw = controller->yaw;
    pitch = controller->pitch;

    weaponView->bobAmplitude = Vector2(0.41666666f, 0.41666666f);
    weaponView->headBobAmplitude = 1.25f;
    for (uint32_t index = 1; index <= 5; ++index)
        weaponView->LoadModel(index);
    weaponView->LoadShield();
    StartLevel();
}

void Player::Update()
{
    assert(controller && "the player is set up before its first update");
    if (inAir)
        verticalSpeed += FallAcceleration;
    verticalSpeed *= FallDrag;

    if (dead) {
        // The view still turns and the body still falls; codes are read.
        controller->Update();
        cheats->Update();
        return;
    }

    ControllerStep();
    if (usableInReach && usable && Input::GetInstance().IsActionPressed(KeybindAction::Use))
        usable->Use();
    Fire();
    SelectWeaponByKey();
    UpdateBlock();
    ArtifactStep();
    cheats->Update();
}

void Player::ControllerStep()
{
    if (stepSmoothingLeft >= 1) {
        --stepSmoothingLeft;
        controller->smoothEye = true;
    } else {
        controller->smoothEye = false;
    }
    controller->flying = fly;
    controller->Update();
    direction = (controller->lookAt - controller->eye).Normalized();
    yaw = controller->yaw;
    pitch = controller->pitch;
    weaponView->Update();
}

void Player::ArtifactStep()
{
    if (HasArtifact(ArtifactNightmare) && health > NightmareHealthFloor)
        health = std::max(health - NightmareDrain, NightmareHealthFloor);
    // Only the boots jump, and only from a floor contact of the last move.
    if (HasArtifact(ArtifactBoots) && !inAir && Input::GetInstance().IsActionPressed(KeybindAction::UseAntiGravBoots))
        Jump();
}

bool Player::HasArtifact(uint32_t number) const
{
    const auto found = artifacts.find(number);
    return found != artifacts.end() && found->second;
}

void Player::MoveWithCollision(Vector3& from, Vector3& to)
{
    if (noclip) {
        SetPosition(to);
        return;
    }
    WorldCollision& collision = *world->collision;
    const Vector3 triggerStart = from;
    const bool teleported = collision.TryTeleport(*this, from, to);
    if (const std::optional<CollisionResult> contact = collision.CollidePlayer(*this, from, to, GravityScale())) {
        OnVerticalContact(*contact, teleported);
    } else {
        // Off the grid there is nothing to stand on: the body falls freely
        // (until it falls out of the level below).
        to.y -= Collision::GravityStep * GravityScale();
        OnVerticalContact(CollisionResult{}, teleported);
    }
    collision.PlaceObject(this, to);

    if (teleported) {
        weaponView->StartTeleportFlash(TeleportFlashColour, TeleportFlash, TeleportLightLevel);
        SoundManager::GetInstance().PlaySound("teleport");
        collision.Telefrag(*this);
    }
    // A corpse still falls, but collects nothing (not even the exit).
    if (!IsDead())
        PickUpPowerups();
    UpdatePlayerTargets();

    if (AIRegionGraph* regions = world->aiRegions.get()) {
        if (regions->script)
            regions->CheckAreaTriggers(triggerStart, to);
        regions->Traverse(this, AIRegionGraph::Awaken);
        regions->MarkReachable(this);
    }

    if (to.y < WorldCollision::FallOutHeight && !IsDead())
        TakeDamage(WorldCollision::FallOutDamage, nullptr, Vector3());
}

void Player::PickUpPowerups()
{
    World::ForEachObjectInCells(cells, GridObjectType::Powerup, [&](GridObject* object) {
        if (object->removed || !object->box.Overlaps(box))
            return;
        PickUpPowerup(static_cast<Powerup*>(object));
    });
}

void Player::UpdatePlayerTargets()
{
    const Vector3 eye = EyePosition();
    const Vector3 look = LookDirection();

    crosshairMonster = nullptr;
    const RaycastResult aim =
        world->collision->Raycast(eye, look, GridObjectType::Concrete | GridObjectType::Door | GridObjectType::Elevator,
                                  GridObjectType::Monster, 5, nullptr);
    if (aim.type == RaycastResult::Object)
        crosshairMonster = aim.object;

    const Vector3 reachEnd = eye + look * useReach;
    const CellRange range = world->GetCellRange({{eye.x, eye.z}, {reachEnd.x, reachEnd.z}});
    if (!range.valid)
        return; // the usable target stays as it was

    GridObject* best = nullptr;
    float bestDistance = std::numeric_limits<float>::infinity();
    world->ForEachObjectInRange(range, WorldCollision::UseTargets, [&](GridObject* object) {
        Vector3 candidate = eye;
        const bool inside = eye.x >= object->box.min.x && eye.x <= object->box.max.x && eye.y >= object->box.min.y &&
                            eye.y <= object->box.max.y && eye.z >= object->box.min.z && eye.z <= object->box.max.z;
        if (!inside && !RayIntersectsBox(Ray{eye, look}, object->box, candidate))
            return;
        const float distance = Vector3::Distance(eye, candidate);
        if (distance <= useReach && distance < bestDistance) {
            best = object;
            bestDistance = distance;
        }
    });

    usable = nullptr;
    usableInReach = false;
    if (best) {
        usable = dynamic_cast<IUsable*>(best);
        usableInReach = usable && usable->IsUsable();
    }
}

void Player::SetPosition(const Vector3& newPosition)
{
    weaponView->Sway(position, newPosition);
    Translate(newPosition - position);
    position = newPosition;
    if (controller)
        controller->position = newPosition;
    UpdateBounds();
}

float Player::GravityScale() const
{
    return fly ? 0.0f : verticalSpeed;
}

void Player::OnVerticalContact(const CollisionResult& result, bool teleported)
{
    GridObject* hit = result.hitObject;
    bool stomped = false;
    if (result.collided && !result.movedUp && hit && hit->typeMask == GridObjectType::Monster &&
        HasArtifact(ArtifactBoots)) {
        // Landing on a monster with the boots kills it and bounces.
        auto* monster = dynamic_cast<IMonster*>(hit);
        auto* killable = dynamic_cast<IKillable*>(hit);
        assert(monster && killable && "every monster is an IMonster and an IKillable");
        if (monster && killable) {
            hit->TakeDamage(monster->GetMaxHealth(), this, Vector3());
            world->SpawnParticles(hit->position, killable->GetBloodColor(), StompParticles);
            Jump();
            stomped = true;
        }
    }
    // The eye follows a step up smoothly; a platform or a teleport moves it
    // at once.
    if (result.collided && result.movedUp && !(hit && hit->typeMask == GridObjectType::Elevator) && !teleported)
        stepSmoothingLeft = stepSmoothingDuration;
    if (result.collided) {
        inAir = false;
        if (!stomped)
            verticalSpeed = GroundSpeed;
    } else {
        inAir = true;
    }
}

void Player::Jump()
{
    SoundManager::GetInstance().PlaySound("jump");
    verticalSpeed = JumpSpeed;
}

Vector3 Player::EyePosition() const
{
    const float eyeHeight = controller ? controller->eyeHeight : FirstPersonController::DefaultEyeHeight;
    return position + Vector3(0.0f, eyeHeight, 0.0f);
}

Vector3 Player::LookDirection() const
{
    return controller ? controller->look : direction;
}

} // namespace mirefell
