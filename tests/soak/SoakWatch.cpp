#include "soak/SoakWatch.h"

#include <algorithm>
#include <cmath>
#include <list>
#include <memory>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Projectile.h"
#include "gameplay/ProjectileData.h"
#include "render/BloodDecals.h"
#include "render/Mesh.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "ui/MenuScene.h"
#include "ui/NotificationBox.h"
#include "world/GridObject.h"
#include "world/World.h"

namespace mirefell::soak
{

namespace
{

constexpr ProjectileType ProjectileTypes[] = {ProjectileType::Bolt, ProjectileType::HyperBlasterBolt,
                                              ProjectileType::EyeShot, ProjectileType::Rocket};
// Cells are scanned for decals once a second of game time: a scan reads
// every cell of the level.
constexpr uint64_t DecalScanSteps = 60;

std::string Broke(uint64_t step, const std::string& what, size_t count, size_t limit)
{
    return "step " + std::to_string(step) + ": " + what + " " + std::to_string(count) + " > " + std::to_string(limit);
}

} // namespace

// Counts the World's steps: an object without cells, kind or mesh, whose
// Update the World calls once a step, in list order like every other.
class StepProbe final : public GridObject
{
public:
    explicit StepProbe(World* world_) : GridObject(world_, "soak step probe", nullptr) {}
    void Update() override { ++steps; }
    uint64_t steps = 0;
};

SoakWatch::SoakWatch(Core& core_) : core(core_) {}

uint64_t SoakWatch::WorldSteps() const
{
    return probe ? probe->steps : 0;
}

void SoakWatch::OnLevelLoaded()
{
    ++levelsLoaded;
    World* world = core.GetWorld();
    projectiles.clear();
    levelPeakProjectiles = 0;
    probe = nullptr;
    if (!world)
        return;
    probe = static_cast<StepProbe*>(world->AddObject(std::make_unique<StepProbe>(world)));
    size_t live = 0;
    objectsAtLoad = 0;
    for (const auto& object : world->objects)
        (object->typeMask & GridObjectType::Projectile ? live : objectsAtLoad) += 1;
    lightsAtLoad = PointLights::GetInstance().lights.size() - live;

    // The longest a shot of any kind may live at this difficulty: its flight,
    // one step past it, its fireball and the step it is destroyed in.
    const GameDifficulty difficulty = GameSaveManager::GetInstance().current.difficulty;
    projectileStepLimit = 0;
    for (ProjectileType type : ProjectileTypes) {
        const ProjectileData data = MakeProjectileData(type, difficulty);
        const auto flight = static_cast<int32_t>(std::floor(data.range / data.speed));
        projectileStepLimit = std::max(projectileStepLimit, flight + 1 + Projectile::ExplosionSteps + 1);
    }
}

std::string SoakWatch::Check(uint64_t step)
{
    const size_t messages = NotificationBox::GetMessages().size();
    peaks.messages = std::max(peaks.messages, messages);
    if (messages > NotificationBox::MaxMessages)
        return Broke(step, "messages", messages, NotificationBox::MaxMessages);

    const size_t particles = core.GetParticles().particles.size();
    peaks.particles = std::max(peaks.particles, particles);
    if (particles > ParticleSystem::ReservedParticles)
        return Broke(step, "particles", particles, ParticleSystem::ReservedParticles);

    if (!core.GetWorld())
        return {};
    std::string failure = CheckWorld();
    if (failure.empty() && step % DecalScanSteps == 0)
        failure = CheckDecals();
    return failure.empty() ? failure : "step " + std::to_string(step) + ": " + failure;
}

std::string SoakWatch::CheckWorld()
{
    const uint64_t step = WorldSteps();
    World& world = *core.GetWorld();
    if (!world.pendingObjects.empty())
        return std::to_string(world.pendingObjects.size()) + " objects left pending after the step";

    size_t others = 0;
    seen.clear();
    for (const auto& object : world.objects) {
        if (!(object->typeMask & GridObjectType::Projectile)) {
            ++others;
            continue;
        }
        const auto known = std::find_if(projectiles.begin(), projectiles.end(),
                                        [&](const auto& entry) { return entry.first == object->id; });
        seen.emplace_back(object->id, known == projectiles.end() ? step : known->second);
    }
    projectiles.swap(seen);

    peaks.objects = std::max(peaks.objects, others);
    peaks.projectiles = std::max(peaks.projectiles, projectiles.size());
    levelPeakProjectiles = std::max(levelPeakProjectiles, projectiles.size());
    if (others > objectsAtLoad)
        return "objects " + std::to_string(others) + " > " + std::to_string(objectsAtLoad) + " built";
    for (const auto& [id, born] : projectiles) {
        const auto age = static_cast<int32_t>(step - born);
        peaks.oldestProjectileSteps = std::max(peaks.oldestProjectileSteps, age);
        if (age > projectileStepLimit)
            return "projectile " + std::to_string(id) + " alive " + std::to_string(age) + " world steps > " +
                   std::to_string(projectileStepLimit);
    }

    // Back at the title the level stays until the next load, and the title
    // scene adds its own lights, the only ones it leaves on. They stay until
    // that load too, through the step that asks for it from the title's
    // menu (the load runs when the next step announces it).
    const GameStateManager& states = GameStateManager::GetInstance();
    const bool atTitle = states.current == GameState::MainMenu;
    const bool leavingTitle = states.changed && states.previous == GameState::MainMenu;
    const size_t title = atTitle || leavingTitle ? MenuScene::LightCount : 0;
    const std::list<PointLight>& lightList = PointLights::GetInstance().lights;
    const size_t lights = lightList.size();
    peaks.lights = std::max(peaks.lights, lights);
    if (lights > lightsAtLoad + projectiles.size() + title)
        return "lights " + std::to_string(lights) + " > " + std::to_string(lightsAtLoad) + " of the level + " +
               std::to_string(projectiles.size()) + " projectiles + " + std::to_string(title) + " of the title";
    if (atTitle) {
        const auto on = static_cast<size_t>(std::count_if(lightList.begin(), lightList.end(),
                                                          [](const PointLight& light) { return light.enabled != 0; }));
        if (on > title)
            return "lights on at the title " + std::to_string(on) + " > " + std::to_string(title) + " of its own";
    }

    const std::list<Particle>& store = core.GetParticles().particles;
    const auto dead = static_cast<size_t>(
        std::count_if(store.begin(), store.end(), [](const Particle& particle) { return particle.dead; }));
    peaks.deadParticles = std::max(peaks.deadParticles, dead);
    if (dead > levelPeakProjectiles)
        return "dead particles " + std::to_string(dead) + " left in the store > " +
               std::to_string(levelPeakProjectiles) + " shots";

    if (world.particles) {
        const size_t motions = world.particles->motions.size();
        peaks.motions = std::max(peaks.motions, motions);
        if (motions > ParticleSimulator::ReservedMotions)
            return "particle motions " + std::to_string(motions) + " > " +
                   std::to_string(ParticleSimulator::ReservedMotions);
    }
    return {};
}

std::string SoakWatch::CheckDecals()
{
    World& world = *core.GetWorld();
    const BloodDecals* decals = world.bloodDecals.get();
    const int32_t setting = Config::GetInstance().settings.maxBloodDecals;
    if (!decals || !decals->mesh)
        return {};
    const auto slots = static_cast<size_t>(std::max(setting, 0));
    if (decals->mesh->instances.size() != slots || decals->slotBoxes.size() != slots)
        return "decal slots " + std::to_string(decals->mesh->instances.size()) + " != the setting's " +
               std::to_string(slots);
    const size_t shown =
        static_cast<size_t>(std::count_if(decals->mesh->instances.begin(), decals->mesh->instances.end(),
                                          [](const MeshInstance& instance) { return instance.shown; }));
    peaks.decals = std::max(peaks.decals, shown);
    for (const auto& row : world.cells)
        for (const GridCell& cell : row)
            if (cell.decals.size() > static_cast<size_t>(BloodDecals::DecalsPerCell))
                return "a cell holds " + std::to_string(cell.decals.size()) + " decals > " +
                       std::to_string(BloodDecals::DecalsPerCell);
    return {};
}

} // namespace mirefell::soak
