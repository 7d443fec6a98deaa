// Projectile: a flying shot (the hyper blaster's bolts, rockets, the eye's
// charged shots). A GridObject with the IProjectile face the world's trace
// reads. Its tuning comes from ProjectileData by kind and the current game's
// difficulty.
//
// Each step it asks the world's projectile trace to carry it one step along
// its direction; the trace deals with walls and bodies and calls its impact
// (TakeDamage), Deflect or SetPosition. It lives floor(range / speed) steps;
// past that an explosive shot explodes and any other fizzles. An explosion
// deals splash damage once, then grows a fireball for 15 steps, after which
// the shot is removed; every other shot is removed at once.
//
// It draws itself as one particle of the renderer's particle store (a cube,
// or a sphere for an explosive shot) and carries a point light; both are
// hidden during its first step so nothing shows at the muzzle, and both are
// flagged for release when it is removed. Made by World::MakeProjectile
// (through the factory table) or directly; set up at once and added to the
// World's pending list. The owner is borrowed and may be null. Its storage
// and cell list come from the ProjectilePool, so firing allocates nothing
// while the pool has room.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gameplay/ProjectileData.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "world/GridObject.h"
#include "world/IProjectile.h"

namespace mirefell
{

struct Particle;
struct PointLight;

class Projectile : public GridObject, public IProjectile
{
public:
    // Steps a fireball grows before the shot is removed (roundf(15.006002)).
    static constexpr int32_t ExplosionSteps = 15;
    // The light: its starting radius and its attenuation, the radius's
    // growth per explosion step, and the fireball's colour (orange, 0.5
    // green raised by the 2.2 of the colour convention).
    static constexpr float LightRadius = 2.0f;
    static constexpr float LightLinear = 0.045f;
    static constexpr float LightQuadratic = 0.0075f;
    static constexpr float ExplosionLightGrowth = 5.0f;
    static constexpr float SpinPerStep = 0.1f;
    static constexpr int32_t FizzleParticles = 5;

    // Takes the tuning of `type` at the current game's difficulty (throws
    // "invalid map<K, T> key" for a kind or difficulty without an entry);
    // stands at origin with its light hidden.
    Projectile(World* world_, GridObject* owner_, ProjectileType type_, const Color& colour_, const Color& lightColour_,
               const Vector3& origin, const Vector3& direction_, float damage_);
    ~Projectile() override;

    // A slot of the ProjectilePool, or the heap when none is free.
    static void* operator new(std::size_t size);
    static void operator delete(void* storage);

    // Its box, its drawn body (hidden) and its cells.
    void SetUp() override;
    void Update() override;
    // The impact: an explosive shot explodes, any other plays
    // "hyper_blaster_hit" and is removed. Always true.
    bool TakeDamage(float damage_, GridObject* source, const Vector3& direction_) override;
    // From the second step on the body and the light show.
    void SetPosition(const Vector3& newPosition) override;
    // The body and the light are flagged for release, then the base Remove.
    void Remove() override;

    Vector3 GetCollisionHalfExtents() override { return collisionHalfExtents; }
    Vector3 GetSize() override { return halfExtents; }
    GridObject* GetOwner() override { return owner; }
    bool Bounces() override { return data.bounces; }
    bool IsExplosive() override { return data.explosive; }
    float GetDamage() override { return damage; }
    Color GetImpactColor() override { return colour; }
    void Deflect(GridObject* newOwner, bool reflect, const Vector3& normal) override;

    // "explosion", the splash at its position (once), and the fireball.
    void Explode();

    ProjectileType type;
    ProjectileData data;
    GridObject* owner;
    Particle* instance = nullptr; // in the renderer's particle store; null once released
    PointLight* light = nullptr;  // in PointLights; null once released
    Vector3 direction;            // unit
    int32_t age = 0;
    int32_t lifetime = 0;
    float damage;
    Color colour;
    Color lightColour;
    bool exploding = false;
    float fireballGrowth = 0.0f;
    float fireballScale = 0.0f;
    int32_t explosionStepsLeft = 0;

private:
    void ExplosionStep();
    void Fizzle();
    // The body's pitch and yaw along the direction.
    void AimInstance();
};

} // namespace mirefell
