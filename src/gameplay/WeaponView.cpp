// WeaponView: models, motions, lights and flashes of the first-person view.
#include "gameplay/WeaponView.h"

#include <algorithm>
#include <cmath>

#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/Weapon.h"
#include "platform/Lookup.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/PointLights.h"
#include "shell/Config.h"
#include "shell/Screen.h"
#include "shell/SoundManager.h"
#include "world/World.h"

namespace mirefell
{

namespace
{

void Decay(float& value, float step)
{
    value = std::max(value - step, 0.0f);
}

// Moves value towards target by at most step.
void Approach(float& value, float target, float step)
{
    if (value < target)
        value = std::min(value + step, target);
    else if (value > target)
        value = std::max(value - step, target);
}

// A light of the view: black, disabled, of a fixed radius, marked for the
// light shader.
PointLight& AddViewLight(float radius)
{
    PointLight& light = PointLights::GetInstance().Add();
    light.shaderFlag = 1;
    light.useFixedRadius = 1;
    light.fixedRadius = radius;
    light.ComputeRange();
    return light;
}

// Width over height of the configured screen, else of the back buffer;
// nothing while neither is known.
bool ScreenAspect(float& aspect)
{
    const Settings& settings = Config::GetInstance().settings;
    if (settings.screenWidth > 0 && settings.screenHeight > 0) {
        aspect = static_cast<float>(settings.screenWidth) / static_cast<float>(settings.screenHeight);
        return true;
    }
    if (ScreenWidth > 0 && ScreenHeight > 0) {
        aspect = static_cast<float>(ScreenWidth) / static_cast<float>(ScreenHeight);
        return true;
    }
    return false;
}

int32_t StepsOf(int32_t milliseconds)
{
    return static_cast<int32_t>(std::round(static_cast<float>(milliseconds) * WeaponView::StepsPerMillisecond));
}

} // namespace

WeaponView::WeaponView(Player* player_)
    : root(std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor)), player(player_)
{
    camera.fieldOfView = FieldOfView;
    camera.nearPlane = NearPlane;
    camera.farPlane = FarPlane;
    ScreenAspect(camera.aspectRatio);
    camera.Reset();
    camera.UpdateProjection();
    viewInverse = camera.view.Inverted();

    const bool blackout = GameSaveManager::GetInstance().current.blackout;
    playerLight = &AddViewLight(PlayerLightRadius);
    playerLight->colour = {1.0f, 1.0f, 1.0f, 1.0f};
    playerLight->enabled = blackout ? 1 : 0;
    fireLight = &AddViewLight(FireLightRadius);
    teleportLight = &AddViewLight(TeleportLightRadius);
    ambient = blackout ? DarkAmbient : LitAmbient;
    if (player && player->world)
        player->world->viewLighting = {playerLight, &ambient};
}

WeaponView::~WeaponView() = default;

void WeaponView::LoadModel(uint32_t index)
{
    WeaponViewEntry& entry = entries[index] = MapAt(WeaponViewTable, index);
    auto model = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    model->geometry = MeshRegistry::GetInstance().GetMesh(entry.meshName);
    model->textureName = "white";
    model->visible = false;
    model->position = entry.offset;
    model->rotation = entry.rotation;
    model->scale = entry.scale;
    model->UpdateTransform();
    entry.model = root->AddChild(std::move(model));
}

void WeaponView::LoadShield()
{
    auto model = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    model->geometry = MeshRegistry::GetInstance().GetMesh("shield");
    model->textureName = "hammer";
    model->visible = false;
    model->position = shieldPosition;
    model->rotation = shieldRotation;
    model->scale = ShieldScale;
    model->UpdateTransform();
    shieldModel = root->AddChild(std::move(model));
}

void WeaponView::Place(Mesh* model, const Vector3& position, const Vector3& rotation)
{
    if (!model)
        return;
    model->position = position;
    model->rotation = rotation;
    model->UpdateTransform();
    model->world = model->world * viewInverse;
}

void WeaponView::PlaceModel()
{
    if (current)
        Place(current->model, modelPosition, modelRotation);
}

void WeaponView::PlaceShield()
{
    if (CurrentIsMelee())
        Place(shieldModel, shieldPosition, shieldRotation);
}

void WeaponView::FollowCamera()
{
    if (const Camera* eye = player ? player->camera : nullptr) {
        camera.position = eye->position;
        camera.target = eye->target;
    }
    camera.UpdateView();
    viewInverse = camera.view.Inverted();
}

void WeaponView::Update()
{
    FollowCamera();

    if (headBobEnabled) {
        if (FirstPersonController* controller = player->controller.get())
            controller->eyeBob = headBobOffset;
        headBobPhase += headBobSpeed;
        headBobOffset = std::sin(headBobPhase) * walkSmoothed * headBobAmplitude;
    }

    if (bobEnabled && !player->fly) {
        bobPhase += bobSpeed;
        const float s = std::sin(bobPhase);
        bobOffset = {swaySmoothed * bobAmplitude.x * s, -std::fabs(swaySmoothed * bobAmplitude.y * s), 0.0f};
        if (current) {
            modelPosition = current->offset + bobOffset;
            if (current->kind == WeaponViewKind::Melee) {
                const float c = std::sin(bobPhase + HalfPi);
                shieldPosition = shieldBasePosition + Vector3(swaySmoothed * bobAmplitude.x * c,
                                                              -std::fabs(swaySmoothed * bobAmplitude.y * c), 0.0f);
            }
        }
    }

    Decay(hurtFlash, HurtFlashDecay);
    Decay(teleportFlash, TeleportFlashDecay);
    Decay(pickupFlash, PickupFlashDecay);
    Decay(fireLightLevel, LightLevelDecay);
    Decay(teleportLightLevel, LightLevelDecay);
    fireLight->intensity = LightIntensityPerLevel * fireLightLevel;
    fireLight->enabled = fireLightLevel > 0.0f ? 1 : 0;
    teleportLight->intensity = LightIntensityPerLevel * teleportLightLevel;
    teleportLight->enabled = teleportLightLevel > 0.0f ? 1 : 0;

    PlaceModel();
    PlaceShield();

    tweens.Update();

    if (swinging && current) {
        modelPosition.z = current->offset.z - SwingThrust * std::cos(ToRadians(swingAngle - 90.0f));
        PlaceModel();
        swingAngle += swingStep;
        if (swingAngle >= 360.0f)
            swinging = false;
    }

    for (PointLight* light : {playerLight, fireLight, teleportLight})
        light->position = camera.position;

    if (shieldHitTicks > 0)
        --shieldHitTicks;
}

void WeaponView::Sway(const Vector3& oldPosition, const Vector3& newPosition)
{
    const float speed = 0.8f * Vector2::Distance({oldPosition.x, oldPosition.z}, {newPosition.x, newPosition.z});
    walkTarget = speed;
    Approach(walkSmoothed, walkTarget, walkStep);
    if (!player->fly && ready) {
        swayTarget = speed;
        Approach(swaySmoothed, swayTarget, swayStep);
    }
}

void WeaponView::Equip(Item* item)
{
    swaySmoothed = 0.0f;
    bobPhase = 0.0f;
    auto* weapon = dynamic_cast<Weapon*>(item);
    const auto raise = [this, weapon] {
        if (!weapon)
            return;
        SwitchIn(weapon->data.viewIndex);
        ApplyItem(*weapon);
    };
    if (current)
        SwitchOut(raise);
    else
        raise();
}

void WeaponView::SwitchOut(std::function<void()> continuation)
{
    ready = false;
    switching = true;
    swinging = false;
    tweens.Clear();
    WeaponViewEntry* lowering = current;
    if (!lowering) {
        switching = false;
        continuation();
        return;
    }
    auto lower = std::make_unique<Math::Vector3Tween>(modelPosition, lowering->loweredOffset, SwitchOutSteps,
                                                      [this](const Vector3& at) {
                                                          modelPosition = at;
                                                          PlaceModel();
                                                      });
    lower->onComplete = [this, lowering, continuation = std::move(continuation)] {
        if (lowering->model)
            lowering->model->visible = false;
        current = nullptr;
        switching = false;
        continuation();
    };
    tweens.Add(std::move(lower));

    if (lowering->kind == WeaponViewKind::Melee) {
        auto shield = std::make_unique<Math::Vector3Tween>(shieldPosition, ShieldLoweredPosition, SwitchOutSteps,
                                                           [this](const Vector3& at) {
                                                               shieldPosition = at;
                                                               PlaceShield();
                                                           });
        shield->onComplete = [this] {
            if (shieldModel)
                shieldModel->visible = false;
            shieldBasePosition = ShieldRestPosition;
        };
        tweens.Add(std::move(shield));
    }
}

void WeaponView::SwitchIn(uint32_t index)
{
    switching = true;
    if (entries.find(index) == entries.end())
        LoadModel(index);
    current = &entries[index];
    current->model->visible = true;
    modelPosition = current->loweredOffset;
    modelRotation = current->rotation;
    PlaceModel();
    auto raise = std::make_unique<Math::Vector3Tween>(current->loweredOffset, current->offset, SwitchInSteps,
                                                      [this](const Vector3& at) {
                                                          modelPosition = at;
                                                          PlaceModel();
                                                      });
    raise->onComplete = [this] {
        ready = true;
        switching = false;
    };
    tweens.Add(std::move(raise));

    if (current->kind == WeaponViewKind::Melee && shieldModel) {
        shieldModel->visible = true;
        shieldHitTicks = 0;
        shieldPosition = ShieldLoweredPosition;
        PlaceShield();
        tweens.Add(std::make_unique<Math::Vector3Tween>(ShieldLoweredPosition, shieldBasePosition, SwitchInSteps,
                                                        [this](const Vector3& at) {
                                                            shieldPosition = at;
                                                            PlaceShield();
                                                        }));
    }
}

void WeaponView::ApplyItem(const Weapon& weapon)
{
    if (!current)
        return;
    current->cooldownMs = static_cast<int32_t>(weapon.data.cooldownMs);
    if (weapon.data.weaponClass == WeaponClass::Ranged)
        fireLight->colour = weapon.data.fireMode == FireMode::Hitscan ? weapon.data.hitscan.secondColor
                                                                      : weapon.data.projectile.lightColor;
    if (Mesh* model = current->model) {
        model->textureName = weapon.data.viewName;
        // A node with device data looks its texture up now; one without does
        // when it gets them.
        if (model->effectId == EffectIdTexture && model->vertexBuffer)
            model->RefreshTexture();
    }
}

void WeaponView::Fire()
{
    if (!current)
        return;
    const float steps = static_cast<float>(StepsOf(current->cooldownMs));
    const auto part = [steps](float fraction) { return static_cast<int32_t>(std::floor(steps * fraction)); };
    if (current->kind == WeaponViewKind::Ranged) {
        fireLightLevel = FireLightLevel;
        swaySmoothed = 0.0f;
        bobPhase = 0.0f;
        const Vector3 kicked = current->offset + Vector3(0.0f, 0.0f, current->kickBack);
        MoveOutAndBack(&WeaponView::modelPosition, kicked, part(current->kickFraction), &WeaponViewEntry::offset,
                       part(current->returnFraction));
    } else {
        modelRotation = current->rotation;
        swinging = true;
        swingAngle = 0.0f;
        swingStep = 360.0f / steps;
        MoveOutAndBack(&WeaponView::modelRotation, current->swingRotation, part(SwingOutFraction),
                       &WeaponViewEntry::rotation, part(SwingBackFraction));
    }
    if (!current->fireSound.empty())
        SoundManager::GetInstance().PlaySound(current->fireSound);
}

void WeaponView::MoveOutAndBack(Vector3 WeaponView::*pose, const Vector3& out, int32_t outSteps,
                                Vector3 WeaponViewEntry::*rest, int32_t backSteps)
{
    const auto apply = [this, pose](const Vector3& value) {
        this->*pose = value;
        PlaceModel();
    };
    auto there = std::make_unique<Math::Vector3Tween>(this->*pose, out, outSteps, apply);
    there->onComplete = [this, pose, rest, backSteps, apply] {
        if (current)
            tweens.Add(std::make_unique<Math::Vector3Tween>(this->*pose, current->*rest, backSteps, apply));
    };
    tweens.Add(std::move(there));
}

void WeaponView::MoveShield()
{
    const Vector3 from = shieldPosition;
    tweens.Add(std::make_unique<Math::NumberTween>(ShieldMoveSteps, [this, from](float t, int32_t) {
        shieldPosition = from * (1.0f - t) + shieldBasePosition * t;
        PlaceShield();
    }));
}

void WeaponView::ShieldHit()
{
    shieldHitTicks = ShieldHitSteps;
    const Vector3 from = shieldPosition;
    const Vector3 pushed = from + Vector3(0.0f, 0.0f, ShieldHitPush);
    const Vector3 turned = ShieldRestRotation + Vector3(0.0f, ShieldHitTurn, 0.0f);
    auto hit = std::make_unique<Math::NumberTween>(ShieldHitSteps, [this, from, pushed, turned](float t, int32_t) {
        const float s = std::sin(t * Pi);
        shieldPosition = from * (1.0f - t) + pushed * t;
        shieldRotation = ShieldRestRotation * (1.0f - s) + turned * s;
        PlaceShield();
    });
    hit->onComplete = [this] {
        shieldBasePosition = ShieldRestPosition;
        shieldRotation = ShieldRestRotation;
        MoveShield();
    };
    tweens.Add(std::move(hit));
    SoundManager::GetInstance().PlaySound("shield_hit");
}

void WeaponView::PlayDeath()
{
    if (FirstPersonController* controller = player->controller.get()) {
        controller->position.y -= player->halfExtents.y;
        controller->UpdateCamera();
    }
    ready = false;
    if (current && current->model)
        current->model->visible = false;
    if (shieldModel)
        shieldModel->visible = false;
    SoundManager::GetInstance().PlaySound("player_death");
}

void WeaponView::StartTeleportFlash(const Color& colour, float flash, float lightLevel)
{
    teleportFlash = flash;
    teleportLight->colour = colour;
    teleportLightLevel = lightLevel;
}

} // namespace mirefell
