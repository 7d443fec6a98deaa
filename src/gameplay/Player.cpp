// Player: construction, set-up, the per-step update, movement and the
// answer to floor and ceiling contacts. Health, pickups, items and the level
// start and end are in PlayerHealth.cpp.
#include "gameplay/Player.h"

#include <algorithm>
#include <cassert>

#include "shell/Config.h"
#include "gameplay/GameSaveManager.h"
#include "shell/Input.h"
#include "shell/SoundManager.h"
#include "gameplay/FirstPersonController.h"
#include "world/IMonster.h"
#include "world/IUsable.h"
#include "gameplay/WeaponView.h"
#include "render/MeshPrimitives.h"
#include "world/Collision.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
// The player starts a hair inside the map's start point along z.
constexpr float StartNudge = 0.0001f;
constexpr int32_t StompParticles = 20;
} // namespace

Player::Player(World* world_, Camera* camera_)
    : GridObject(world_, {}, nullptr), weaponView(std::make_unique<WeaponView>(this)), camera(camera_)
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
    StartLevel();
}

void Player::Update()
{
    assert(controller && "the player is set up before its first update");
    if (inAir)
        verticalSpeed += FallAcceleration;
    verticalSpeed *= FallDrag;

    if (dead) {
        // The view still turns and the body still falls; nothing else.
        controller->Update();
        return;
    }

    ControllerStep();
    if (usableInReach && usable && Input::GetInstance().IsActionPressed(KeybindAction::Use))
        usable->Use();
    ArtifactStep();
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
    world->collision->MoveObject(*this, from, to);
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
