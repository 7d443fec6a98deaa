// Powerup: set-up, animation, riding and removal of a pickup.
#include "gameplay/Powerup.h"

#include <cmath>

#include "render/Mesh.h"
#include "render/PointLight.h"
#include "render/PointLights.h"
#include "world/MapData.h"

namespace mirefell
{

namespace
{
constexpr float DegreesToRadians = 0.017453292f;

MeshInstance* InstanceOf(GridObject& object)
{
    if (!object.instanceBatch || object.instanceIndex >= object.instanceBatch->instances.size())
        return nullptr;
    return &object.instanceBatch->instances[object.instanceIndex];
}
} // namespace

Powerup::Powerup(World* world_, MapEntity* record_) : EntityGridObject(world_, record_)
{
    typeMask = GridObjectType::Powerup;
    halfExtents = Vector3(HalfSize);
    collisionHalfExtents = halfExtents;
    meshScale = Vector3(0.4f);
    meshOffset = SpawnOffset;
}

bool Powerup::RidesElevator(int32_t elevatorSectorId_) const
{
    return !isStatic && elevatorSectorId == elevatorSectorId_;
}

PowerupType Powerup::GetType() const
{
    return static_cast<PowerupType>(record->entityType.powerupType);
}

void Powerup::SetUp()
{
    UpdateBounds();
    sector = FindSector();
    if (sector && sector->elevator)
        elevatorSectorId = sector->id;
    if (GetType() == PowerupType::LevelExit) {
        PointLight& light = PointLights::GetInstance().Add();
        light.enabled = 1;
        light.drawFirst = 1;
        light.shaderFlag = 1;
        light.useFixedRadius = 1;
        light.fixedRadius = ExitLightRadius;
        light.intensity = ExitLightIntensity;
        light.position = position;
        light.ComputeRange();
        light.colour = Color(1.0f, 0.0f, 0.0f, 1.0f); // red stays red in linear light
        exitLight = &light;
    }
}

void Powerup::Update()
{
    MeshInstance* instance = InstanceOf(*this);
    bobPhase += bobSpeed;
    if (!instance)
        return;
    instance->rotation.y += spinSpeed;
    instance->position.y = position.y + bobAmplitude * std::sin(bobPhase * DegreesToRadians);
}

void Powerup::SetPosition(const Vector3& newPosition)
{
    position = newPosition;
    if (MeshInstance* instance = InstanceOf(*this))
        instance->position = newPosition;
    if (exitLight)
        exitLight->position = newPosition;
    UpdateBounds();
}

void Powerup::Remove()
{
    RemoveFromCells();
    removed = true;
    if (MeshInstance* instance = InstanceOf(*this))
        instance->removed = true;
    if (sceneNode && sceneNode->parent) {
        sceneNode->parent->RemoveChild(sceneNode);
        sceneNode = nullptr;
    }
    if (exitLight) {
        exitLight->remove = 1;
        exitLight = nullptr;
    }
}

} // namespace mirefell
