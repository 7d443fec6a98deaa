// Monster: the attacks (the nom's wind-up and bite, the eye's charge and
// shot), the damage it takes and its death.
#include <algorithm>
#include <cmath>

#include "gameplay/Monster.h"
#include "gameplay/Player.h"
#include "platform/Random.h"
#include "shell/SoundManager.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

bool Monster::CanReachTarget(float range)
{
    return targetObject && IsInFront(target->GetPosition()) && world->collision->CanReach(this, targetObject, range);
}

bool Monster::ReadyToAttack(int32_t& cooldownLeft)
{
    if (cooldownLeft > 0) {
        --cooldownLeft;
        return false;
    }
    // A wind-up whose target died before the blow is given up: the monster
    // goes back to walking instead of standing in its attack pose for good.
    if (target->IsDead()) {
        if (attacking)
            StopAttack();
        return false;
    }
    return !flinching;
}

void Monster::MeleeLogic()
{
    if (!ReadyToAttack(biteCooldownLeft))
        return;
    const auto inReach = [this] { return IsInMeleeRange(target->GetPosition()) && CanReachTarget(data.meleeRange); };
    if (windupLeft < 1) {
        if (inReach())
            StartAttack();
        return;
    }
    if (--windupLeft == 0) {
        if (inReach())
            Bite();
        else
            StopAttack();
    }
}

void Monster::StartAttack()
{
    windupLeft = data.attackWindup;
    moving = false;
    attacking = true;
    Play(MonsterAnimation::Attack);
}

void Monster::Bite()
{
    SoundManager::GetInstance().PlaySound("monster_bite");
    biteCooldownLeft = data.biteCooldown;
    if (targetObject && targetObject->TakeDamage(data.biteDamage, this, direction))
        world->SpawnParticles(target->GetPosition(), target->GetBloodColor(), -1);
    moving = false;
    attacking = false;
    Play(MonsterAnimation::Walk);
}

void Monster::StopAttack()
{
    attacking = false;
    windupLeft = 0;
    Play(MonsterAnimation::Walk);
}

void Monster::RangedLogic()
{
    if (!ReadyToAttack(rangedCooldownLeft))
        return;
    if (windupLeft < 1) {
        if (CanReachTarget(data.rangedRange))
            Charge();
        return;
    }
    // A charge fires whatever happened meanwhile.
    if (--windupLeft == 0)
        FireProjectile();
}

void Monster::Charge()
{
    SoundManager::GetInstance().PlaySound("eye_charging");
    windupLeft = data.attackWindup;
    moving = false;
    attacking = true;
    Play(MonsterAnimation::Attack);
}

void Monster::FireProjectile()
{
    moving = false;
    attacking = false;
    Play(MonsterAnimation::Walk);
    rangedCooldownLeft = static_cast<int32_t>(std::floor(static_cast<float>(data.rangedCooldownRandom) * RandUnit())) +
                         data.rangedCooldownBase;

    const Vector3 start = position + Vector3(0.0f, halfExtents.y * 0.5f, 0.0f);
    Vector3 aim = (target->GetPosition() - start).Normalized();
    // A target right at the muzzle gives no line: shoot the way it faces.
    if (aim == Vector3())
        aim = Facing();
    world->SpawnProjectile(this, static_cast<ProjectileType>(data.projectileType), data.projectileColor,
                           data.projectileLightColor, start, aim, data.projectileDamage);
}

bool Monster::TakeDamage(float damage, GridObject* source, const Vector3&)
{
    if (dead)
        return false;
    // Monsters of one kind do not hurt each other.
    if (source && source->typeMask == typeMask && source->name == name)
        return false;

    if (source && source->typeMask == GridObjectType::Player && world->player) {
        auto& player = *static_cast<Player*>(world->player);
        if (player.HasArtifact(Player::ArtifactBloodlust) && player.health < player.maxHealth)
            player.health = std::min(player.health + 0.25f * damage, player.maxHealth);
    }

    // Whatever is not killable (a trap, a fall) hurts without being hunted.
    if (auto* attacker = dynamic_cast<IKillable*>(source))
        SetTarget(attacker);
    if (state != MonsterState::Hunting)
        Roar(true);

    if (RandUnit() <= data.flinchChance) {
        moving = false;
        flinching = true;
        StopAttack();
        if (animator)
            animator->RandomizeFacing();
    }

    health -= damage;
    if (health <= 0.0f) {
        health = 0.0f;
        Die();
    }
    return true;
}

void Monster::Die()
{
    moving = false;
    if (target) {
        SetDirectionTowards(target->GetPosition());
        UpdateYaw();
    }
    dead = true;
    Play(MonsterAnimation::Death);
    UpdateSpriteInstance();
    UpdateBounds();
    if (world->player)
        ++static_cast<Player*>(world->player)->killCount;
}

bool Monster::Kill()
{
    if (dead)
        return false;
    health = 0.0f;
    Die();
    return true;
}

} // namespace mirefell
