// WeaponView: the player's weapon (and with the hammer, its shield) in front
// of the camera, and the view's lights and screen flashes. It raises and
// lowers the model when weapons change, bobs and sways it while the player
// walks, kicks it back when a gun fires, swings the hammer, pushes the
// shield back on a blocked blow and hides everything when the player dies.
// It plays each weapon's fire sound, drives the muzzle-flash and teleport
// lights and the player's own light under Blackout, and keeps the ambient
// colour the frame lights the scene with (which the level scripts' light
// switch changes through World::viewLighting).
//
// The models are Mesh nodes under `root`, a tree of the view's own, posed in
// camera space and carried into world space by the inverse of the view
// camera's view matrix; the view camera copies the player's camera every
// step. The renderer draws the tree with that camera. Every motion is a
// tween in `tweens`, counted in steps. Nothing here needs a GPU: a model's
// texture is looked up when its node gets device data (Mesh::Update), or at
// once when it already has them.
//
// Owned by the Player, made in its constructor; models loaded at its set-up;
// updated once per step from the player's controller step. Weapon states:
// none up -> switching in (30 steps) -> ready -> switching out (15 steps) ->
// switching in the next. Death leaves it hidden and not ready. Its lights
// stay in PointLights (emptied at the next level load).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "gameplay/TweenList.h"
#include "gameplay/WeaponViewTable.h"
#include "platform/math/Color.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"
#include "render/Camera.h"

namespace mirefell
{

class Item;
class Mesh;
class Player;
class Weapon;
struct PointLight;

class WeaponView
{
public:
    // Per-step decay of the flashes and light levels; each stops at 0.
    static constexpr float HurtFlashDecay = 0.02f;
    static constexpr float TeleportFlashDecay = 0.01f;
    static constexpr float PickupFlashDecay = 0.02f;
    static constexpr float LightLevelDecay = 0.08f;
    // A light's intensity per unit of its level.
    static constexpr float LightIntensityPerLevel = 10.0f;
    // The muzzle flash: a light of intensity 12 that dies in 15 steps.
    static constexpr float FireLightLevel = 1.2f;
    static constexpr float FireLightRadius = 256.0f;
    static constexpr float TeleportLightRadius = 128.0f;
    // The player's own light under Blackout.
    static constexpr float PlayerLightRadius = 128.0f;
    // The view camera.
    static constexpr float FieldOfView = 75.0f;
    static constexpr float NearPlane = 0.75f;
    static constexpr float FarPlane = 50.0f;
    // Steps of the motions.
    static constexpr int32_t SwitchOutSteps = 15;
    static constexpr int32_t SwitchInSteps = 30;
    static constexpr int32_t ShieldMoveSteps = 6;
    static constexpr int32_t ShieldHitSteps = 12;
    // How far the hammer thrusts forward along z during a swing, and the
    // parts of its cool-down its rotation spends swinging out and back.
    static constexpr float SwingThrust = 3.0f;
    static constexpr float SwingOutFraction = 0.1f;
    static constexpr float SwingBackFraction = 0.9f;
    // Milliseconds to steps: roundf(ms x this).
    static constexpr float StepsPerMillisecond = 0.060024012f;
    // The view's ambient colour with the map's lights on, and off.
    static constexpr Vector4 LitAmbient{0.05f, 0.05f, 0.05f, 0.0f};
    static constexpr Vector4 DarkAmbient{0.0f, 0.0f, 0.0f, 0.0f};
    static constexpr Vector3 ShieldBlockPosition{-4.25f, -3.25f, -8.0f};
    static constexpr Vector3 ShieldRestPosition{-4.75f, -7.25f, -8.0f};
    static constexpr Vector3 ShieldLoweredPosition{-3.5f, -9.25f, -4.0f};
    static constexpr Vector3 ShieldRestRotation{0.0f, 0.0f, 0.17453292f};
    static constexpr Vector3 ShieldScale{0.6f, 0.6f, 0.6f};
    // A blow pushes the shield back this far and turns it by up to 15 degrees.
    static constexpr float ShieldHitPush = 3.0f;
    static constexpr float ShieldHitTurn = -0.2617994f;

    // The view camera, the three lights (the player's lit only under
    // Blackout), the ambient colour, and the World's view lighting pointed at
    // them.
    explicit WeaponView(Player* player_);
    ~WeaponView();
    WeaponView(const WeaponView&) = delete;
    WeaponView& operator=(const WeaponView&) = delete;

    // Copies the table's entry and makes its hidden model from the
    // MeshRegistry's geometry ("invalid map<K, T> key" for an index or a
    // mesh that is not there).
    void LoadModel(uint32_t index);
    // The shield's hidden model ("shield", textured "hammer").
    void LoadShield();
    // Once per step: the camera, head bob and model bob, the flashes and
    // lights, the poses, the tweens, the hammer's thrust, the lights to the
    // camera and the shield-hit countdown.
    void Update();
    // Feeds the walk and sway smoothing with one move of the player.
    void Sway(const Vector3& oldPosition, const Vector3& newPosition);
    // Shows a weapon (a Weapon item) or none: a weapon that is up is lowered
    // first, even when it is the same one.
    void Equip(Item* item);
    // Lowers the current model (and the shield) in 15 steps, discarding any
    // running motion, then runs the continuation.
    void SwitchOut(std::function<void()> continuation);
    // Raises the model of the index (loading it when it is not yet loaded)
    // in 30 steps, with the shield for the hammer; ready at the end.
    void SwitchIn(uint32_t index);
    // The weapon's cool-down, muzzle-flash colour and texture on the
    // current entry.
    void ApplyItem(const Weapon& weapon);
    // The attack's motion (a kick back or the hammer's swing) over the
    // weapon's cool-down, the muzzle flash of a gun, and the fire sound.
    void Fire();
    // Moves the shield to its base position in 6 steps.
    void MoveShield();
    // A blow on the raised shield: pushed back and turned, then lowered to
    // rest; "shield_hit".
    void ShieldHit();
    // The view drops to the floor, the models hide and it is no longer
    // ready; "player_death".
    void PlayDeath();
    // The flash of a teleport: screen flash, light colour and light level.
    void StartTeleportFlash(const Color& colour, float flash, float lightLevel);
    // The hammer is in its swing.
    bool IsAttacking() const { return swinging; }

    std::unique_ptr<Mesh> root;
    Camera camera;
    TweenList tweens;
    WeaponViewEntry* current = nullptr; // one of `entries`; null when no weapon is up
    bool ready = true;                  // a weapon is up and may fire
    bool switching = false;             // a weapon is being lowered or raised
    bool face = false;                  // the face indicator (a cheat toggles it)
    bool bobEnabled = true;
    Vector2 bobAmplitude{0.25f, 0.25f};
    Vector3 bobOffset;
    float bobPhase = 0.0f;
    float bobSpeed = 0.1f;
    bool headBobEnabled = true;
    float headBobAmplitude = 0.75f;
    float headBobOffset = 0.0f;
    float headBobPhase = 0.0f;
    float headBobSpeed = 0.2f;
    float swaySmoothed = 0.0f;
    float swayTarget = 0.0f;
    float swayStep = 0.1f;
    float walkSmoothed = 0.0f;
    float walkTarget = 0.0f;
    float walkStep = 0.1f;
    PointLight* playerLight = nullptr; // in PointLights
    PointLight* fireLight = nullptr;
    PointLight* teleportLight = nullptr;
    Player* player;
    std::map<uint32_t, WeaponViewEntry> entries; // one per loaded model
    Vector3 shieldBasePosition = ShieldRestPosition;
    Vector3 shieldPosition = ShieldRestPosition;
    Vector3 shieldRotation = ShieldRestRotation;
    Mesh* shieldModel = nullptr;
    int32_t shieldHitTicks = 0;
    float hurtFlash = 0.0f;
    float teleportFlash = 0.0f;
    float pickupFlash = 0.0f;
    float teleportLightLevel = 0.0f;
    float fireLightLevel = 0.0f;
    Vector3 modelPosition;
    Vector3 modelRotation;
    float swingAngle = 0.0f; // degrees
    float swingStep = 0.0f;
    bool swinging = false;
    // What the frame lights the scene with besides the point lights.
    Vector4 ambient = LitAmbient;

private:
    // The model's pose into its node, carried by the inverse view.
    void Place(Mesh* model, const Vector3& position, const Vector3& rotation);
    void PlaceModel();
    void PlaceShield();
    bool CurrentIsMelee() const { return current && current->kind == WeaponViewKind::Melee; }
    // A motion of the current model's position or rotation out to `out`,
    // then back to the entry's rest value, each part a tween of its steps.
    void MoveOutAndBack(Vector3 WeaponView::*pose, const Vector3& out, int32_t outSteps, Vector3 WeaponViewEntry::*rest,
                        int32_t backSteps);
    void FollowCamera();

    Matrix viewInverse; // of `camera`, refreshed with it
};

} // namespace mirefell
