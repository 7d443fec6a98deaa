#include "gameplay/Projectile.h"

#include <cmath>

#include "gameplay/GameSaveManager.h"
#include "gameplay/ProjectilePool.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "shell/SoundManager.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{
constexpr Vector3 Up{0.0f, 1.0f, 0.0f};
} // namespace

Projectile::Projectile(World* world_, GridObject* owner_, ProjectileType type_, const Color& colour_,
                       const Color& lightColour_, const Vector3& origin, const Vector3& direction_, float damage_)
    : GridObject(world_, {}, owner_, ProjectilePool::GetInstance().TakeCells(this)), type(type_),
      data(MakeProjectileData(type_, GameSaveManager::GetInstance().current.difficulty)), owner(owner_),
      direction(direction_), damage(damage_), colour(colour_), lightColour(lightColour_)
{
    typeMask = GridObjectType::Projectile;
    halfExtents = data.halfExtents;
    collisionHalfExtents = data.halfExtents;
    position = origin;
    lifetime = static_cast<int32_t>(std::floor(data.range / data.speed));

    PointLight& added = PointLights::GetInstance().Add();
    added.colour = lightColour;
    added.position = origin;
    added.shaderFlag = 1;
    added.fixedRadius = LightRadius;
    added.attenuationConstant = 0.0f;
    added.attenuationLinear = LightLinear;
    added.attenuationQuadratic = LightQuadratic;
    added.ComputeRange();
    light = &added;
}

Projectile::~Projectile()
{
    ProjectilePool::GetInstance().ReturnCells(this, std::move(cells));
}

void* Projectile::operator new(std::size_t size)
{
    return ProjectilePool::GetInstance().Allocate(size);
}

void Projectile::operator delete(void* storage)
{
    ProjectilePool::GetInstance().Free(storage);
}

void Projectile::SetUp()
{
    UpdateBounds();
    if (world->particleStore) {
        Particle& body = world->particleStore->AddParticle();
        body.colour = colour;
        body.position = position;
        body.scale = data.scale;
        body.visible = false;
        body.shape = data.explosive ? ParticleShapeSphere : ParticleShapeCube;
        instance = &body;
        AimInstance();
    }
    SetCells(world->GetCellRange({{position.x - halfExtents.x, position.z - halfExtents.z},
                                  {position.x + halfExtents.x, position.z + halfExtents.z}}));
}

void Projectile::AimInstance()
{
    if (instance)
        instance->rotation = {-std::asin(direction.y), std::atan2(direction.x, direction.z), 0.0f};
}

void Projectile::Update()
{
    if (exploding) {
        ExplosionStep();
        return;
    }
    ++age;
    Vector3 from = position;
    Vector3 to = position + direction * data.speed;
    world->collision->TraceProjectile(this, from, to);

    if (instance) {
        instance->position = position;
        if (data.spin) {
            instance->rotation.x += SpinPerStep;
            instance->rotation.y += SpinPerStep;
        }
    }
    if (light)
        light->position = position;

    if (cells.empty() && !removed)
        Remove(); // it left the grid
    // A shot that struck in this step has exploded or gone already: its
    // splash is dealt once.
    if (age > lifetime && !removed && !exploding) {
        if (data.explosive)
            Explode();
        else
            Fizzle();
    }
}

void Projectile::Fizzle()
{
    SoundManager::GetInstance().PlaySound("hyper_blaster_hit");
    world->SpawnParticlesWithVelocity(position, Up, colour, FizzleParticles);
    Remove();
}

bool Projectile::TakeDamage(float, GridObject*, const Vector3&)
{
    if (exploding || removed)
        return true;
    if (data.explosive) {
        Explode();
    } else {
        SoundManager::GetInstance().PlaySound("hyper_blaster_hit");
        Remove();
    }
    return true;
}

void Projectile::SetPosition(const Vector3& newPosition)
{
    if (age > 1) {
        if (instance)
            instance->visible = true;
        if (light)
            light->enabled = 1;
    }
    position = newPosition;
    UpdateBounds();
}

void Projectile::Remove()
{
    if (removed)
        return;
    if (instance)
        instance->dead = true;
    if (light)
        light->remove = 1;
    instance = nullptr;
    light = nullptr;
    GridObject::Remove();
}

void Projectile::Deflect(GridObject* newOwner, bool reflect, const Vector3& normal)
{
    if (reflect)
        direction = direction - normal * (2.0f * direction.Dot(normal));
    else
        direction = -direction;
    AimInstance();
    owner = newOwner;
}

void Projectile::Explode()
{
    if (exploding)
        return;
    SoundManager::GetInstance().PlaySound("explosion");
    world->collision->SplashDamage(position, owner, damage, data.explosionRadius);
    fireballScale = data.scale.x;
    fireballGrowth = (data.explosionRadius - data.scale.x) / static_cast<float>(ExplosionSteps);
    exploding = true;
    explosionStepsLeft = ExplosionSteps;
    if (light)
        light->colour = {1.0f, std::pow(0.5f, 2.2f), 0.0f, 1.0f};
}

void Projectile::ExplosionStep()
{
    explosionStepsLeft -= 1;
    if (explosionStepsLeft <= 0) {
        Remove();
        return;
    }
    fireballScale += fireballGrowth;
    if (instance)
        instance->scale = Vector3(fireballScale);
    if (light) {
        light->fixedRadius += ExplosionLightGrowth;
        light->ComputeRange();
    }
}

} // namespace mirefell
