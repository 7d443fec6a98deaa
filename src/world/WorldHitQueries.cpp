// WorldCollision: the hit queries. The stepped ray cast and what is built on
// it (hitscan pellets, the hammer, line of sight), the projectile sweep, the
// particles' landing trace, the blast of an explosion and the box tests of a
// closing door.
#include <cassert>
#include <cmath>

#include "platform/Random.h"
#include "shell/SoundManager.h"
#include "world/GridObject.h"
#include "world/HitscanWeaponData.h"
#include "world/IKillable.h"
#include "world/IProjectile.h"
#include "world/Intersections.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
constexpr int32_t CrushParticles = 20;
constexpr uint32_t KillableMask = GridObjectType::Monster | GridObjectType::Player;
// The yaw spread of a pellet grows by up to this many degrees as the aim
// turns from level to straight up or down.
constexpr float VerticalYawSpread = 20.0f;
constexpr Color HammerPuffColour{1.0f, 1.0f, 1.0f, 1.0f};
// Blood of a blast victim: 10 plus up to 10 more.
constexpr int32_t SplashBloodBase = 10;
constexpr float SplashBloodRange = 10.0f;
constexpr float SplashMinFactor = 0.5f;
// The radius of the particles' landing sweep.
constexpr Vector3 ParticleRadius{1.0f, 1.0f, 1.0f};

// The blood colour of a hit object; white for anything that does not bleed.
Color BloodOf(GridObject* object)
{
    auto* killable = dynamic_cast<IKillable*>(object);
    return killable ? killable->GetBloodColor() : Color{1.0f, 1.0f, 1.0f, 1.0f};
}

// -1 + 2 r for a random number r of 0..1: a uniform draw in [-1, 1].
float RandomSign()
{
    return 2.0f * static_cast<float>(Rand()) / static_cast<float>(RandMax) - 1.0f;
}

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

void WorldCollision::FireHitscan(GridObject* shooter, const Vector3& origin, const HitscanWeaponData& data,
                                 float damage, float yawDegrees, float pitchDegrees)
{
    const uint32_t objectMask =
        shooter && shooter->typeMask == GridObjectType::Player ? GridObjectType::Monster : GridObjectType::None;
    const float tilt = std::fabs(pitchDegrees - 90.0f) * (1.0f / 90.0f);
    const float yawSpread = VerticalYawSpread * tilt * tilt + data.spread;
    for (uint32_t pellet = 0; pellet < data.pellets; ++pellet) {
        const float yawSign = RandomSign();
        const float pitchSign = RandomSign();
        const float yaw = ToRadians(yawDegrees + yawSpread * yawSign);
        const float pitch = ToRadians(pitchDegrees + data.spread * pitchSign);
        const Vector3 direction =
            Vector3(std::cos(yaw) * std::sin(pitch), std::cos(pitch), std::sin(yaw) * std::sin(pitch)).Normalized();
        FirePellet(shooter, origin, direction, data, damage, objectMask);
    }
}

void WorldCollision::FirePellet(GridObject* shooter, const Vector3& origin, const Vector3& direction,
                                const HitscanWeaponData& data, float damage, uint32_t objectMask)
{
    const RaycastResult hit = Raycast(origin, direction, RayBlockers, objectMask, PelletSteps, nullptr);
    if (hit.type == RaycastResult::Triangle) {
        world->SpawnParticlesWithVelocity(hit.point, hit.normal, data.puffColor, data.puffCount);
        hit.object->TakeDamage(0.0f, nullptr, Vector3());
    } else if (hit.type == RaycastResult::Object) {
        world->SpawnParticles(hit.point, BloodOf(hit.object), -1);
        hit.object->TakeDamage(damage, shooter, Vector3());
    }
}

void WorldCollision::HammerHit(GridObject* player, const Vector3& eye, const Vector3& look, float damage)
{
    const RaycastResult hit = Raycast(eye, look, RayBlockers, GridObjectType::Monster, HammerSteps, nullptr);
    if (hit.type == RaycastResult::Nothing || Vector3::Distance(eye, hit.point) > HammerReach)
        return;
    SoundManager& sound = SoundManager::GetInstance();
    if (hit.type == RaycastResult::Triangle) {
        world->SpawnParticlesWithVelocity(hit.point, hit.normal, HammerPuffColour, HammerPuffs);
        hit.object->TakeDamage(0.0f, nullptr, Vector3());
        sound.PlaySound("hammer_hit");
    } else {
        world->SpawnParticles(hit.point, BloodOf(hit.object), -1);
        hit.object->TakeDamage(damage, player, look);
        sound.PlaySound("hammer_hit_flesh");
    }
}

bool WorldCollision::CanReach(GridObject* from, GridObject* target, float range)
{
    const Vector3 offset = target->position - from->position;
    const float distance = offset.Length();
    if (distance > range)
        return false;
    const auto steps = static_cast<int32_t>(std::ceil(distance * (1.0f / RayStride)));
    const RaycastResult hit = Raycast(from->position, offset.Normalized(), RayBlockers, target->typeMask, steps, from);
    return hit.type == RaycastResult::Object && hit.object == target;
}

void WorldCollision::TraceProjectile(GridObject* projectile, Vector3& oldPosition, Vector3& newPosition)
{
    auto* shot = dynamic_cast<IProjectile*>(projectile);
    assert(shot && "a traced object is a projectile");
    if (!shot)
        return;
    const Vector3 radius = shot->GetCollisionHalfExtents();
    const CellRange range = world->GetCellRange({{oldPosition.x - radius.x, oldPosition.z - radius.z},
                                                 {oldPosition.x + radius.x, oldPosition.z + radius.z},
                                                 {newPosition.x - radius.x, newPosition.z - radius.z},
                                                 {newPosition.x + radius.x, newPosition.z + radius.z}});
    if (!range.valid)
        return; // off the grid: the shot waits where it is

    RaycastResult hit;
    const Vector3 size = shot->GetSize();
    const Box3 query(Vector3::Min(oldPosition, newPosition) - size, Vector3::Max(oldPosition, newPosition) + size);
    const Box3* queryBox = &query;
    const TriangleSource surfaces(world, CellBlock(range), RayBlockers,
                                  [queryBox](GridObject* object) { return object->box.Overlaps(*queryBox); });
    const CollisionResult contact = Collision::SweepToContact(oldPosition, newPosition, radius, surfaces);
    if (contact.collided) {
        const float distanceSquared = Vector3::DistanceSquared(oldPosition, contact.position);
        if (distanceSquared < hit.distanceSquared) {
            hit.type = RaycastResult::Triangle;
            hit.point = contact.position;
            hit.normal = contact.hitNormal.Normalized();
            hit.object = contact.hitObject;
            hit.distanceSquared = distanceSquared;
        }
    }

    GridObject* owner = shot->GetOwner();
    const Box3 body(oldPosition - size, oldPosition + size);
    world->ForEachObjectInRange(range, KillableMask, [&](GridObject* object) {
        Vector3 at;
        if (object == owner || !IsLivingKillable(object) ||
            !SweepBoxAgainstBox(body, oldPosition, newPosition, object->box, at))
            return;
        const float distanceSquared = Vector3::DistanceSquared(oldPosition, at);
        if (distanceSquared < hit.distanceSquared) {
            hit.type = RaycastResult::Object;
            hit.point = at;
            hit.object = object;
            hit.distanceSquared = distanceSquared;
        }
    });

    bool strikes = true;
    if (hit.type == RaycastResult::Nothing) {
        projectile->SetPosition(newPosition);
        strikes = false;
    } else if (hit.type == RaycastResult::Triangle && shot->Bounces()) {
        shot->Deflect(owner, true, hit.normal);
        newPosition = oldPosition;
        projectile->SetPosition(newPosition);
        strikes = false;
    } else if (hit.type == RaycastResult::Triangle) {
        if (!shot->IsExplosive()) {
            world->SpawnParticlesWithVelocity(hit.point, hit.normal, shot->GetImpactColor(), ImpactPuffs);
            hit.object->TakeDamage(0.0f, nullptr, Vector3());
        }
    } else if (!shot->IsExplosive()) {
        // A shot fired at its own position has no direction: the zero vector.
        const Vector3 direction = (hit.point - projectile->position).Normalized();
        const bool hurt = hit.object->TakeDamage(shot->GetDamage(), owner, direction);
        if (hurt) {
            world->SpawnParticles(hit.point, BloodOf(hit.object), -1);
        } else if (hit.object->typeMask == GridObjectType::Player && RandUnit() * 100.0f <= DeflectChance) {
            shot->Deflect(hit.object, false, Vector3());
            newPosition = oldPosition;
            projectile->SetPosition(newPosition);
            strikes = false;
        } else {
            world->SpawnParticlesWithVelocity(hit.point, direction, shot->GetImpactColor(), ImpactPuffs);
        }
    }
    if (strikes) {
        projectile->SetPosition(hit.point);
        projectile->TakeDamage(0.0f, nullptr, Vector3()); // the shot's own impact
    }

    if (!projectile->removed)
        PlaceObject(projectile, newPosition);
}

bool WorldCollision::TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal)
{
    const CellRange range = world->GetCellRange({{from.x, from.z}, {to.x, to.z}});
    if (!range.valid)
        return false;
    const Box3 path(Vector3::Min(from, to), Vector3::Max(from, to));
    const Box3* pathBox = &path;
    const TriangleSource source(world, CellBlock(range), GridObjectType::Concrete,
                                [pathBox](GridObject* object) { return object->box.Overlaps(*pathBox); });
    Vector3 end = to;
    const CollisionResult contact = Collision::SweepToContact(from, end, ParticleRadius, source);
    if (!contact.collided)
        return false;
    to = end;
    normal = contact.hitNormal.Normalized();
    return true;
}

void WorldCollision::SplashDamage(const Vector3& centre, GridObject* attacker, float damage, float radius)
{
    const CellRange range =
        world->GetCellRange({{centre.x - radius, centre.z - radius}, {centre.x + radius, centre.z + radius}});
    const Box3 blast(centre - Vector3(radius), centre + Vector3(radius));
    world->ForEachObjectInRange(range, KillableMask, [&](GridObject* object) {
        if (!IsLivingKillable(object) || !object->box.Overlaps(blast))
            return;
        float factor = 1.0f - Vector3::Distance(centre, object->position) / radius;
        if (!(factor >= SplashMinFactor)) // NaN (a zero radius at the centre) too
            factor = SplashMinFactor;
        if (factor > 1.0f)
            factor = 1.0f;
        object->TakeDamage(factor * damage, attacker, Vector3());
        const auto count = SplashBloodBase + static_cast<int32_t>(std::round(RandUnit() * SplashBloodRange));
        world->SpawnParticles(object->position, BloodOf(object), count);
    });
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
