// WorldCollision: the stepped ray cast and the box tests of a closing door.
#include <cmath>

#include "world/GridObject.h"
#include "world/IKillable.h"
#include "world/Intersections.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
constexpr int32_t CrushParticles = 20;
constexpr uint32_t KillableMask = GridObjectType::Monster | GridObjectType::Player;
} // namespace

bool WorldCollision::IsDeadMonster(GridObject* object)
{
    if (!(object->typeMask & GridObjectType::Monster))
        return false;
    auto* killable = dynamic_cast<IKillable*>(object);
    return killable && killable->IsDead();
}

bool WorldCollision::IsLivingKillable(GridObject* object)
{
    auto* killable = dynamic_cast<IKillable*>(object);
    return killable && !killable->IsDead();
}

RaycastResult WorldCollision::Raycast(const Vector3& origin, const Vector3& direction, uint32_t triangleMask,
                                      uint32_t objectMask, int32_t steps, const GridObject* ignore)
{
    RaycastResult result;
    const Ray ray{origin, direction};
    const Vector2 start{origin.x, origin.z};
    const Vector2 stride = Vector2(direction.x, direction.z) * RayStride;
    for (int32_t i = 0; i < steps; ++i) {
        const Vector2 from = start + stride * static_cast<float>(i);
        const CellRange range = world->GetCellRange({from, from + stride});
        if (!range.valid)
            break; // the ray has left the map

        const TriangleSource triangles(world, CellBlock(range), triangleMask, {});
        triangles([&](GridObject* owner, const Vector3& a, const Vector3& b, const Vector3& c, int32_t) {
            Vector3 hit;
            if (owner == ignore || !RayIntersectsTriangle(ray, a, b, c, hit))
                return;
            const float distanceSquared = Vector3::DistanceSquared(origin, hit);
            if (distanceSquared < result.distanceSquared) {
                result.type = RaycastResult::Triangle;
                result.normal = (b - a).Cross(c - a).Normalized();
                result.point = hit + result.normal;
                result.distanceSquared = distanceSquared;
                result.object = owner;
            }
        });

        world->ForEachObjectInRange(range, objectMask, [&](GridObject* object) {
            Vector3 hit;
            if (object == ignore || IsDeadMonster(object) || !RayIntersectsBox(ray, object->box, hit))
                return;
            const float distanceSquared = Vector3::DistanceSquared(origin, hit);
            if (distanceSquared < result.distanceSquared) {
                result.type = RaycastResult::Object;
                result.point = hit;
                result.distanceSquared = distanceSquared;
                result.object = object;
            }
        });
    }
    return result;
}

bool WorldCollision::AnyLivingKillableInBox(std::span<GridCell* const> cells, const Box3& box)
{
    bool found = false;
    World::ForEachObjectInCells(cells, KillableMask, [&](GridObject* object) {
        if (!found && IsLivingKillable(object) && object->box.Overlaps(box))
            found = true;
    });
    return found;
}

void WorldCollision::CrushLivingKillablesInBox(std::span<GridCell* const> cells, const Box3& box)
{
    World::ForEachObjectInCells(cells, KillableMask, [&](GridObject* object) {
        if (!IsLivingKillable(object) || !object->box.Overlaps(box))
            return;
        auto* killable = dynamic_cast<IKillable*>(object);
        if (killable->Kill())
            world->SpawnParticles(object->position, killable->GetBloodColor(), CrushParticles);
    });
}

} // namespace mirefell
