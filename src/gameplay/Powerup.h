// Powerup: a pickup lying in the level. It spins and bobs its drawn
// instance, rides an elevator it lies on unless it is static, glows red when
// it is the level exit, and leaves the world when the player collects it.
// What it gives is the player's business (Player::PickUpPowerup), read from
// the record's powerup type.
//
// The position is the resting centre of a 10-unit cube that the pickup and
// hit queries use; the bob moves only the drawn instance. Without a drawn
// instance (a level built without meshes) everything but the picture works.
#pragma once

#include <cstdint>

#include "world/EntityGridObject.h"
#include "world/IPowerup.h"
#include "world/PowerupType.h"

namespace mirefell
{

struct PointLight;

class Powerup : public EntityGridObject, public IPowerup
{
public:
    static constexpr float HalfSize = 5.0f;
    // Added to the record's point (x, "y", y): where the pickup's centre rests.
    static constexpr Vector3 SpawnOffset{4.0f, 3.0f, 4.0f};
    static constexpr float ExitLightRadius = 96.0f;
    static constexpr float ExitLightIntensity = 4.0f;

    Powerup(World* world_, MapEntity* record_);

    // Bounds, the sector it lies on (an elevator's id is kept for riding) and
    // the level exit's light.
    void SetUp() override;
    // Spin and bob of the drawn instance.
    void Update() override;
    // Moves the pickup, its instance and its light.
    void SetPosition(const Vector3& newPosition) override;
    // Out of the cells and the picture; the exit light goes too.
    void Remove() override;

    PowerupType GetType() const;
    bool RidesElevator(int32_t elevatorSectorId) const override;

    int32_t elevatorSectorId = 0; // the elevator sector it lies on, 0 for none
    float spinSpeed = 0.01f;      // radians per step
    float bobAmplitude = 0.25f;
    float bobPhase = 0.0f;           // degrees; grows without wrapping
    float bobSpeed = 2.0f;           // degrees per step
    PointLight* exitLight = nullptr; // owned by PointLights
};

} // namespace mirefell
