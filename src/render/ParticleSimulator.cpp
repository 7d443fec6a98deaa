// ParticleSimulator: spawning and moving the level's particles.
#include "render/ParticleSimulator.h"

#include <cassert>
#include <cmath>

#include "platform/Random.h"
#include "render/BloodDecals.h"
#include "render/ILevelTrace.h"
#include "render/ParticleSystem.h"

namespace mirefell
{

ParticleSimulator::ParticleSimulator(ParticleSystem* particleStore_, BloodDecals* bloodDecals_, ILevelTrace* trace_)
    : particleStore(particleStore_), bloodDecals(bloodDecals_), trace(trace_)
{
    motions.reserve(ReservedMotions);
}

ParticleMotion& ParticleSimulator::Spawn(const Color& colour, int32_t kind, const Vector3& origin)
{
    assert(particleStore && "particles live in the renderer's store");
    Particle& particle = particleStore->AddParticle();
    particle.scale = {1.0f, 1.0f, 1.0f};
    particle.colour = colour;

    ParticleMotion motion;
    motion.particle = &particle;
    motion.origin = origin;
    motion.gravity = gravity;
    motion.spin = RandUnit() * 0.25f;
    motion.kind = kind;
    motion.colour = colour;
    if (kind == ParticleKindPuff) {
        motion.horizontalSpeed = 15.0f;
        motion.verticalSpeed = RandUnit() * 10.0f;
    } else if (kind == ParticleKindBlood) {
        motion.horizontalSpeed = 10.0f + RandUnit() * 20.0f;
        motion.verticalSpeed = 60.0f + RandUnit() * 10.0f;
    }
    SetRandomVelocity(motion);
    return motions.emplace_back(motion);
}

void ParticleSimulator::SetRandomVelocity(ParticleMotion& motion)
{
    const float z = RandUnit() * 2.0f - 1.0f;
    const float x = RandUnit() * 2.0f - 1.0f;
    const Vector3 direction = Vector3(x, 0.0f, z).Normalized();
    motion.velocity =
        Vector3(direction.x * motion.horizontalSpeed, motion.verticalSpeed, direction.z * motion.horizontalSpeed) *
        scale;
}

void ParticleSimulator::SetVelocityFromNormal(ParticleMotion& motion, const Vector3& normal)
{
    if (normal.x == 0.0f && normal.z == 0.0f) {
        if (normal.y == -1.0f)
            return;
        motion.horizontalSpeed = 20.0f;
        motion.verticalSpeed = 30.0f + RandUnit() * 10.0f;
        SetRandomVelocity(motion);
        return;
    }
    const float base = Pi - std::atan2(normal.z, normal.x);
    const float angle = base - RandUnit() * Pi;
    motion.velocity = Vector3(std::sin(angle) * motion.horizontalSpeed * scale, motion.verticalSpeed * scale,
                              std::cos(angle) * motion.horizontalSpeed * scale);
    motion.particle->rotation.y += base;
}

void ParticleSimulator::Update()
{
    for (ParticleMotion& motion : motions) {
        Particle& particle = *motion.particle;
        if (motion.landed) {
            motion.life -= 0.01f;
            particle.scale = Vector3(motion.life);
            if (motion.life <= 0.0f) {
                particle.dead = true;
                motion.dead = true;
            }
        } else {
            motion.velocity += motion.gravity;
            motion.displacement += motion.velocity;
            const Vector3 from = particle.position;
            Vector3 to = from + motion.displacement;
            Vector3 normal;
            const bool hit = trace && trace->TraceLineOfSight(from, to, normal);
            if (!hit) {
                particle.position += motion.displacement;
                particle.rotation.y += motion.spin;
            } else if (motion.kind == ParticleKindBlood) {
                if (bloodDecals)
                    bloodDecals->Add(to, motion.colour);
                particle.dead = true;
                motion.dead = true;
            } else {
                particle.position = to;
                motion.landed = true;
            }
        }
        motion.age += 1;
        if (motion.age > MaxAge) {
            particle.dead = true;
            motion.dead = true;
        }
    }
    RemoveDead();
}

void ParticleSimulator::RemoveDead()
{
    std::erase_if(motions, [](const ParticleMotion& motion) { return motion.dead; });
}

} // namespace mirefell
