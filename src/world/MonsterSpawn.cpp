// The monster spawn: sprite frame instances, debug box and collision cube.
#include "world/MonsterSpawn.h"

#include <array>
#include <string>

#include "render/MeshPrimitives.h"
#include "render/SpriteAnimator.h"
#include "world/BoundsMesh.h"
#include "world/EntityGridObject.h"
#include "world/InstancedMeshBatches.h"
#include "world/MapData.h"

namespace mirefell
{

namespace
{

// The animations' parts of the sprite mesh names, by MonsterAnimation id.
constexpr std::array<const char*, 4> AnimationNames = {"walk", "death", "attack", "idle"};
static_assert(static_cast<size_t>(MonsterAnimation::Idle) == AnimationNames.size(),
              "one name per animation id, 1 to 4");

const char* AnimationName(MonsterAnimation id)
{
    return AnimationNames.at(static_cast<size_t>(id) - 1);
}

} // namespace

void SetUpMonsterInstances(InstancedMeshBatches& batches, EntityGridObject& monster)
{
    const MapEntityType& type = monster.record->entityType;
    auto* owner = dynamic_cast<ISpriteOwner*>(&monster);
    for (const auto& [animation, count] : type.animations) {
        for (uint32_t frame = 0; frame < count; ++frame) {
            const std::string meshName = type.name + "_" + AnimationName(animation) + std::to_string(frame);
            const auto [batch, index] = batches.AddInstance(meshName, type.name);
            MeshInstance& instance = batch->instances[static_cast<size_t>(index)];
            instance.shown = false;
            instance.position = monster.position;
            if (owner)
                owner->GetAnimationFrames()[animation].push_back({batch, static_cast<uint32_t>(index)});
        }
    }

    monster.boundsMesh = CreateBoundsMesh(monster.position);
    monster.sceneNode = monster.boundsMesh.get();

    monster.vertices = BuildUnitCubeVertices();
    for (Vector3& corner : monster.vertices)
        corner = Vector3(corner.x * monster.halfExtents.x, corner.y * monster.halfExtents.y,
                         corner.z * monster.halfExtents.z) +
                 monster.position;
    const Vector3& at = monster.position;
    const Vector3& half = monster.halfExtents;
    monster.footprint = MapRect(at.x - half.x, at.z - half.z, at.x + half.x, at.z + half.z);
}

} // namespace mirefell
