// IProjectile: what the world's projectile trace (WorldCollision::
// TraceProjectile) reads of a flying shot and how it turns one round. The
// gameplay's Projectile implements it; the world never includes the class.
#pragma once

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class GridObject;

class IProjectile
{
public:
    virtual ~IProjectile() = default;

    // The radii of the ellipsoid that sweeps through the level's triangles.
    virtual Vector3 GetCollisionHalfExtents() = 0;
    // The half extents of the box swept against players and monsters.
    virtual Vector3 GetSize() = 0;
    // Who fired it (may be null); damage is credited to it, and it is never
    // hit by its own shot in flight.
    virtual GridObject* GetOwner() = 0;
    // Reflects off walls instead of stopping.
    virtual bool Bounces() = 0;
    // Explodes on impact (splash) instead of hurting what it hits.
    virtual bool IsExplosive() = 0;
    virtual float GetDamage() = 0;
    // The colour of the puffs where it strikes.
    virtual Color GetImpactColor() = 0;
    // With reflect, mirrors the direction about the unit normal; without,
    // reverses it. The shot then belongs to newOwner.
    virtual void Deflect(GridObject* newOwner, bool reflect, const Vector3& normal) = 0;
};

} // namespace mirefell
