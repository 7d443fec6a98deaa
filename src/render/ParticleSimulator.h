// ParticleSimulator: the level's particle motion. The World makes one at
// every Reset and advances it first in every update. It spawns particles
// into the renderer's ParticleSystem, keeps one motion record per particle,
// and moves them with gravity until they hit the level: blood (kind 2) then
// becomes one of the level's blood decals and vanishes, debris (kind 1)
// lands, shrinks and vanishes. A particle lives at most 301 updates.
//
// Landing asks the level's line-of-sight trace (ILevelTrace, which the World
// implements); without one no particle lands, and each simply falls until
// its age runs out.
//
// Random numbers come from the game's generator (Rand), drawn in a fixed
// order per spawn, so a seeded run repeats exactly.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class BloodDecals;
class ILevelTrace;
class ParticleSystem;
struct Particle;

inline constexpr int32_t ParticleKindPuff = 1;  // debris: lands and shrinks
inline constexpr int32_t ParticleKindBlood = 2; // becomes a decal on impact

struct ParticleMotion
{
    Particle* particle = nullptr; // in the ParticleSystem's list
    Vector3 origin;               // the spawn position
    Vector3 velocity;
    Vector3 displacement; // applied per update
    Vector3 gravity;
    float spin = 0.0f; // radians added to the yaw per flying update
    int32_t kind = 0;
    Color colour;
    float life = 1.0f;
    bool landed = false;
    int32_t age = 0;
    bool dead = false;
    float horizontalSpeed = 0.0f;
    float verticalSpeed = 0.0f;
};

class ParticleSimulator
{
public:
    static constexpr float VelocityScale = 0.00075f;
    static constexpr float GravityY = -0.003f;
    static constexpr int32_t MaxAge = 300;
    // Motion records reserved at creation, so bursts do not allocate.
    static constexpr size_t ReservedMotions = 2048;

    // None is owned. particleStore_ holds the particles; bloodDecals_ (may be
    // null: blood then simply vanishes) takes the blood that lands; trace_
    // (may be null: nothing lands) is the level the particles land on.
    ParticleSimulator(ParticleSystem* particleStore_, BloodDecals* bloodDecals_, ILevelTrace* trace_ = nullptr);

    // Adds a particle of `colour` (linear) to the particle store and
    // its motion record with a random spin and launch; returns the record
    // (valid until the next spawn). The caller places the particle.
    ParticleMotion& Spawn(const Color& colour, int32_t kind, const Vector3& origin);
    // A random horizontal direction at the record's speeds.
    void SetRandomVelocity(ParticleMotion& motion);
    // A launch off a surface: spread around the normal's horizontal
    // direction; a vertical normal draws a new random launch, except straight
    // down, which keeps the one from Spawn.
    void SetVelocityFromNormal(ParticleMotion& motion, const Vector3& normal);
    // One step for every record, then RemoveDead. The particles it ends are
    // flagged dead and stay in the store until the World's step erases them
    // at its end.
    void Update();
    // Erases the dead records, keeping the order of the rest.
    void RemoveDead();

    float scale = VelocityScale;
    Vector3 gravity{0.0f, GravityY, 0.0f};
    ParticleSystem* particleStore;
    BloodDecals* bloodDecals;
    ILevelTrace* trace;
    std::vector<ParticleMotion> motions; // in spawn order
};

} // namespace mirefell
