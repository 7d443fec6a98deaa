// ParticleSystem: the particle list.
#include "render/ParticleSystem.h"

namespace mirefell
{

Particle& ParticleSystem::AddParticle()
{
    return particles.emplace_back();
}

void ParticleSystem::RemoveDead()
{
    particles.remove_if([](const Particle& particle) { return particle.dead; });
}

void ParticleSystem::Clear()
{
    particles.clear();
}

} // namespace mirefell
