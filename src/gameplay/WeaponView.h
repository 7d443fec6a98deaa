// WeaponView: the first-person view of the player's weapon and the screen
// flashes that the post effects read. This is the part the player's
// movement, damage, pickups and death drive: the walk sway, the hurt,
// teleport and pickup flashes with their per-step decay, the teleport
// light's colour and level, and the drop of the view at death. The weapon
// models, their tweens, firing kicks, the shield and the lights' point-light
// records join it with the weapon code.
//
// Owned by the Player, made in its constructor; updated once per step from
// the player's controller step.
#pragma once

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class Player;

class WeaponView
{
public:
    // Per-step decay of the flashes and light levels; each stops at 0.
    static constexpr float HurtFlashDecay = 0.02f;
    static constexpr float TeleportFlashDecay = 0.01f;
    static constexpr float PickupFlashDecay = 0.02f;
    static constexpr float LightLevelDecay = 0.08f;

    explicit WeaponView(Player* player_);

    // The per-step decay of the flashes and light levels.
    void Update();
    // Feeds the walk and sway smoothing with one move of the player.
    void Sway(const Vector3& oldPosition, const Vector3& newPosition);
    // The flash of a teleport: screen flash, light colour and light level.
    void StartTeleportFlash(const Color& colour, float flash, float lightLevel);
    // The view drops to the floor and is no longer ready; "player_death".
    void PlayDeath();

    Player* player;
    bool ready = true;      // a weapon is up and may fire
    bool switching = false; // a weapon is being lowered or raised
    bool face = false;      // the face indicator (a cheat toggles it)
    bool bobEnabled = true;
    Vector2 bobAmplitude{0.25f, 0.25f};
    bool headBobEnabled = true;
    float headBobAmplitude = 0.75f;
    float swaySmoothed = 0.0f;
    float swayTarget = 0.0f;
    float swayStep = 0.1f;
    float walkSmoothed = 0.0f;
    float walkTarget = 0.0f;
    float walkStep = 0.1f;
    float hurtFlash = 0.0f;
    float teleportFlash = 0.0f;
    float pickupFlash = 0.0f;
    float teleportLightLevel = 0.0f;
    float fireLightLevel = 0.0f;
    Color teleportLightColour{0.0f, 0.0f, 0.0f, 1.0f};
};

} // namespace mirefell
