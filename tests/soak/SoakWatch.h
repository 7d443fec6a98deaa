// SoakWatch: the limits a long game must keep, checked after every step of
// the soak, and the highest counts seen, for the report.
//
// Per level (from the end of its load step):
//   - the World's objects other than projectiles never outnumber those the
//     level was built with (pickups and monsters may go, nothing else may
//     come), and no object is left pending after a step;
//   - no projectile outlives its kind's flight (floor(range / speed) steps at
//     the game's difficulty) plus its fireball (Projectile::ExplosionSteps),
//     counted in the World's own steps (none while the inventory or a menu
//     is open), which a probe object the watch adds to each level counts;
//   - the point lights never outnumber the level's own plus one for each live
//     projectile (and, back at the title, where the level stays until the
//     next load, the title scene's MenuScene::LightCount, the only lights
//     on there, which stay until that load);
//   - the particle store stays within the nodes it reserves
//     (ParticleSystem::ReservedParticles), the simulator within its
//     reserved motion records (ParticleSimulator::ReservedMotions), and dead
//     particles do not pile up: after a step the store holds no more of them
//     than the shots that may have ended in it (the level's peak of live
//     projectiles), whether frames are drawn or not;
//   - the blood-decal ring keeps exactly the "maxBloodDecals" setting's slots
//     and no grid cell holds more than BloodDecals::DecalsPerCell decals;
// and at all times the message list holds at most NotificationBox::MaxMessages.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace mirefell
{
class Core;
}

namespace mirefell::soak
{

class StepProbe;

struct SoakPeaks
{
    size_t objects = 0; // non-projectile objects of a level
    size_t projectiles = 0;
    size_t lights = 0;
    size_t particles = 0;
    size_t deadParticles = 0;
    size_t motions = 0;
    size_t decals = 0; // decal slots in use
    size_t messages = 0;
    int32_t oldestProjectileSteps = 0;
};

class SoakWatch
{
public:
    explicit SoakWatch(Core& core_);

    // A level was loaded in the last step: its counts become the limits,
    // and the step probe joins its objects (last, after the player).
    void OnLevelLoaded();
    // After every step: empty while every limit holds, else what broke.
    std::string Check(uint64_t step);
    // The World steps of the current level so far.
    uint64_t WorldSteps() const;

    SoakPeaks peaks;
    uint32_t levelsLoaded = 0;

private:
    std::string CheckWorld();
    std::string CheckDecals();

    Core& core;
    size_t objectsAtLoad = 0;
    size_t levelPeakProjectiles = 0;
    size_t lightsAtLoad = 0;
    int32_t projectileStepLimit = 0;
    const StepProbe* probe = nullptr; // in the current World's objects
    // Live projectiles by object id, with the World step each was first seen.
    std::vector<std::pair<uint32_t, uint64_t>> projectiles;
    std::vector<std::pair<uint32_t, uint64_t>> seen;
};

} // namespace mirefell::soak
