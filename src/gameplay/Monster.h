// Monster: the one class behind every monster of a level, the melee "nom"
// and the ranged "eye"; what differs between them is its MonsterData and one
// switch on the attack kind.
//
// A monster sleeps until the AI region graph awakens it (it then watches for
// its target) or alerts it (it hunts at once). Hunting, it re-aims at its
// target every 30 steps with a random scatter, walks with collision through
// the world (the world's move reports the blocker; a monster in the way makes
// this one pick a new direction), turns aside at random when it is stuck or
// its target is dead, and attacks with a wind-up: the nom bites in reach, the
// eye charges and fires a projectile. Hits make it turn on its attacker and
// sometimes flinch; at zero health it faces its killer, plays its death
// animation, shrinks its box to a corpse and counts one kill for the player.
// A monster whose region the player cannot reach is dormant: neither thinks
// nor is drawn, and its timers wait.
//
// It is drawn as a sprite: one hidden MeshInstance per animation frame (made
// by the level build into `animationFrames`), one shown at a time by its
// SpriteAnimator. It is made by the monster factory, set up by World::Reset,
// updated once per step and never removed during the level (a corpse stays).
// The target is borrowed; a monster whose target is gone falls back to the
// World's player.
#pragma once

#include <cstdint>
#include <memory>

#include "gameplay/MonsterData.h"
#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/SpriteAnimator.h"
#include "world/EntityGridObject.h"
#include "world/IKillable.h"
#include "world/IMonster.h"

namespace mirefell
{

enum class MonsterState : uint32_t
{
    Held = 1,     // set only by level scripts; ignores awakening and unforced alerts
    Asleep = 2,   // the initial state: nothing but animation
    Watching = 3, // looks for its target every step
    Hunting = 4,  // chases and attacks
};

class Monster final : public EntityGridObject, public IMonster, public IKillable, public ISpriteOwner
{
public:
    static constexpr int32_t ReaimInterval = 30;
    // Steps a wander keeps its new direction; a new wander needs 20 or fewer.
    static constexpr int32_t WanderTurnSteps = 30;
    static constexpr int32_t WanderReadySteps = 20;

    // The kind comes from the record's type name ("nom" or "eye", else
    // "invalid map<K, T> key"), the data from its maker at the current save's
    // difficulty. Faces the record's rotation; draws the first ranged
    // cooldown (one Rand()).
    Monster(World* world_, MapEntity* record_);
    ~Monster() override;

    // A fresh animator over the frames (idle), the bounds and the sector.
    void SetUp() override;
    // Dormancy, animation, the state's logic (watching: Look; hunting:
    // Think, then the kind's attack logic), the elevator ride and the
    // sprite instance.
    void Update() override;
    // Same-kind immunity, the bloodlust heal, turning on the attacker, the
    // flinch roll and death; false when the monster takes no damage. A
    // source that is not killable (or none) hurts without retargeting.
    bool TakeDamage(float damage, GridObject* source, const Vector3& direction) override;
    // The end of every move: the body, its triangles and bounds follow; a
    // move of less than a tenth of a step counts as stuck (Wander); the
    // sector under it becomes current (the last one stays when there is
    // none).
    void SetPosition(const Vector3& newPosition) override;
    // A corpse's box is a quarter of the living height, lying on the floor.
    void UpdateBounds() override;

    // IMonster
    void Roar(bool force) override;
    void SetState(uint32_t state_) override { state = static_cast<MonsterState>(state_); }
    void Awaken() override;
    float GetMaxHealth() override { return data.maxHealth; }
    float GetHealth() override { return health; }

    // IKillable
    bool IsDead() override { return dead; }
    // Health 0 and death; false (and no second kill) when already dead.
    bool Kill() override;
    Color GetBloodColor() override { return bloodColor; }
    Vector3 GetPosition() override { return position; }

    // ISpriteOwner
    SpriteFrameMap& GetAnimationFrames() override { return animationFrames; }
    int32_t GetWalkFrameTicks() const override { return data.walkFrameTicks; }
    bool IsOwnerDead() const override { return dead; }
    bool IsOwnerMoving() const override { return moving; }
    void ClearFlinching() override { flinching = false; }

    // A new random direction when the turn countdown is down to 20 and the
    // target is dead or farther than (sprite scale x + 1) x 10; nothing
    // without a target.
    void Wander();
    Vector3 GetEyePosition() const;
    void SetTarget(IKillable* target_);
    World* GetWorld() const { return world; }
    // Faces the target, death animation, corpse box, one kill for the player.
    void Die();
    // Dormant while the region of the current sector is not reachable.
    void UpdateDormancy();
    // The shown frame's instance: position raised by the bob, yaw plus the
    // sprite's offset and the flinch tilt, the sprite scale.
    void UpdateSpriteInstance();
    // Watching: roars when the target is within melee range or anywhere
    // ahead (no wall test).
    void Look();
    // Hunting: faces the target during a wind-up; otherwise wanders or
    // chases when the turn countdown is out, and moves unless flinching.
    void Think();
    // Re-aims every 30 steps: straight at a near target, at a point
    // scattered around a far one.
    void Chase();
    // One step along the direction through the world's monster move.
    void Move();

    // Nom: cooldown, wind-up and bite.
    void MeleeLogic();
    void StartAttack();
    void Bite();
    // Eye: cooldown, charge and shot.
    void RangedLogic();
    void Charge();
    void StopAttack();
    void FireProjectile();

    // Whether the point lies strictly ahead of the line through the monster
    // at right angles to its facing (height ignored).
    bool IsInFront(const Vector3& point) const;
    // direction := the unit vector towards the point in the map plane (zero
    // stays zero).
    void SetDirectionTowards(const Vector3& point);
    void UpdateYaw();
    bool IsInMeleeRange(const Vector3& point) const;
    bool IsInRangedRange(const Vector3& point) const;
    // health / maxHealth, 0 for a kind without health.
    float HealthFraction() const;

    std::unique_ptr<SpriteAnimator> animator; // made at set-up
    SpriteFrameMap animationFrames;           // filled by the level build
    MonsterType kind;
    MonsterData data;
    bool moving = false;
    bool flinching = false;
    float yaw = 0.0f;  // radians
    Vector3 direction; // unit walking direction in the map plane, or zero
    float health = 0.0f;
    int32_t turnCountdown = 0; // while above 0 the direction is kept
    MonsterState state = MonsterState::Asleep;
    int32_t reaimInterval = ReaimInterval;
    int32_t reaimCountdown = 1;
    int32_t biteCooldownLeft = 0;
    int32_t rangedCooldownLeft = 0;
    int32_t windupLeft = 0;
    bool attacking = false;
    IKillable* target = nullptr; // borrowed
    bool dead = false;
    bool dormant = false;
    Color bloodColor;

private:
    void Play(MonsterAnimation animation);
    // The unit vector the monster faces (its yaw and the sprite's offset).
    Vector3 Facing() const;
    // The target in reach of an attack: ahead and in the line of sight
    // within `range`.
    bool CanReachTarget(float range);
    // Counts the attack's cooldown down; then whether the monster may wind
    // up or go on winding up (a living target and no flinch).
    bool ReadyToAttack(int32_t& cooldownLeft);

    GridObject* targetObject = nullptr; // the target as a GridObject
};

} // namespace mirefell
