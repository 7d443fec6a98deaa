// Monster: construction, set-up, the step, waking, looking, chasing,
// wandering and moving. The attacks, damage and death are in
// MonsterCombat.cpp.
#include "gameplay/Monster.h"

#include <cmath>

#include "gameplay/GameSaveManager.h"
#include "platform/Lookup.h"
#include "platform/Random.h"
#include "shell/SoundManager.h"
#include "world/AIRegion.h"
#include "world/AIRegionGraph.h"
#include "world/MapData.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{

constexpr float DegreesToRadians = 0.017453292f;

} // namespace

Monster::Monster(World* world_, MapEntity* record_) : EntityGridObject(world_, record_)
{
    typeMask = GridObjectType::Monster;
    name = record_->entityType.name;
    kind = MonsterTypeFromString(name);
    data = MapAt(MonsterDataMakers, kind)(GameSaveManager::GetInstance().current.difficulty);

    bloodColor = data.bloodColor;
    halfExtents = data.halfExtents;
    collisionHalfExtents = data.halfExtents;
    meshOffset = data.spawnOffset;
    meshScale = data.spriteScale;
    yaw = (360.0f - record_->rotation) * DegreesToRadians;
    health = data.maxHealth;
    rangedCooldownLeft = static_cast<int32_t>(std::floor(RandUnit() * static_cast<float>(data.rangedCooldownRandom)));
}

Monster::~Monster() = default;

void Monster::SetUp()
{
    animator = std::make_unique<SpriteAnimator>(this);
    animator->Start();
    animator->Play(MonsterAnimation::Idle);
    // Every frame culls with the monster's box, which stays where it is
    // (living or dead) for the monster's life: pointed at once.
    animator->SetBounds(BoxFloats());
    UpdateBounds();
    if (MapSector* found = FindSector())
        sector = found;
    else if (!sector)
        sector = startingSector;
}

void Monster::Update()
{
    UpdateDormancy();
    if (animator)
        animator->Advance(!dormant);

    if (!dead && !dormant) {
        if (!target || target->IsDead())
            SetTarget(dynamic_cast<IKillable*>(world->player));
        // Without anyone to hunt there is nothing to look for or chase.
        if (target) {
            if (state == MonsterState::Watching) {
                Look();
            } else if (state == MonsterState::Hunting) {
                Think();
                if (data.attackKind == MonsterAttackKind::Melee)
                    MeleeLogic();
                else if (data.attackKind == MonsterAttackKind::Ranged)
                    RangedLogic();
            }
        }
    }

    // A monster on an elevator rides it, alive or dead.
    if (sector && sector->elevator) {
        const float dy = sector->floorTopY + halfExtents.y - position.y;
        position.y += dy;
        Translate(Vector3(0.0f, dy, 0.0f));
        UpdateBounds();
    }
    UpdateSpriteInstance();
}

void Monster::UpdateDormancy()
{
    // A monster that has stood on no sector since it was placed keeps its
    // last answer: the sector it was last found on stands for it.
    if (!sector || !world->aiRegions)
        return;
    dormant = !world->aiRegions->RegionForSector(static_cast<uint32_t>(sector->id))->reachable;
}

void Monster::UpdateSpriteInstance()
{
    if (!animator || !animator->currentFrame)
        return;
    MeshInstance& instance = animator->currentFrame->Instance();
    instance.position = Vector3(position.x, position.y + animator->bobOffset, position.z);
    instance.rotation.y = yaw + data.spriteYawOffset + animator->turnOffset;
    instance.scale = meshScale;
}

void Monster::UpdateBounds()
{
    if (!dead) {
        GridObject::UpdateBounds();
    } else {
        // A corpse lies on the floor: a quarter of the living height.
        const Vector3 savedPosition = position;
        const Vector3 savedHalfExtents = halfExtents;
        const float floor = sector ? sector->floorTopY : position.y - halfExtents.y;
        halfExtents.y = 0.25f * savedHalfExtents.y;
        position.y = floor + 0.125f * savedHalfExtents.y;
        GridObject::UpdateBounds();
        position = savedPosition;
        halfExtents = savedHalfExtents;
    }
}

void Monster::Roar(bool force)
{
    if (dead || state == MonsterState::Hunting || (!force && state == MonsterState::Held))
        return;
    state = MonsterState::Hunting;
    Play(MonsterAnimation::Walk);
    SoundManager::GetInstance().PlaySound("monster_roar");
}

void Monster::Awaken()
{
    if (dead || state == MonsterState::Held || state == MonsterState::Watching)
        return;
    state = MonsterState::Watching;
    Play(MonsterAnimation::Idle);
}

void Monster::Look()
{
    const Vector3 at = target->GetPosition();
    if (IsInMeleeRange(at) || IsInFront(at))
        Roar(false);
}

void Monster::Think()
{
    if (attacking) {
        SetDirectionTowards(target->GetPosition());
        UpdateYaw();
        return;
    }
    if (turnCountdown < 1) {
        if (target->IsDead())
            Wander();
        else
            Chase();
    } else {
        --turnCountdown;
    }
    if (!flinching)
        Move();
}

void Monster::Chase()
{
    if (reaimCountdown <= 0 || --reaimCountdown != 0)
        return;
    reaimCountdown = reaimInterval;
    Vector3 aim = target->GetPosition();
    if (Vector3::Distance(position, aim) > data.chaseScatter) {
        const float a = RandUnit(); // z first
        const float b = RandUnit();
        aim += Vector3(b - 0.5f, 0.0f, a - 0.5f).Normalized() * data.chaseScatter;
    }
    SetDirectionTowards(aim);
    UpdateYaw();
}

void Monster::Wander()
{
    if (!target || turnCountdown > WanderReadySteps)
        return;
    const float wanderDistance = (meshScale.x + 1.0f) * 10.0f;
    if (!target->IsDead() && Vector3::Distance(position, target->GetPosition()) <= wanderDistance)
        return;
    const float a = RandUnit(); // z first
    const float b = RandUnit();
    direction = Vector3(2.0f * b - 1.0f, 0.0f, 2.0f * a - 1.0f).Normalized();
    UpdateYaw();
    turnCountdown = WanderTurnSteps;
}

void Monster::Move()
{
    moving = true;
    Vector3 to = position + direction * data.speed;
    GridObject* blocker = world->collision->MoveMonster(this, position, to);
    if (blocker && (blocker->typeMask & GridObjectType::Monster))
        Wander();
    world->collision->PlaceObject(this, to);
}

void Monster::SetPosition(const Vector3& newPosition)
{
    const Vector3 delta = newPosition - position;
    const float moved = delta.Length();
    position = newPosition;
    Translate(delta);
    UpdateBounds();
    // Less than a tenth of a step: stuck against something.
    if (moved < 0.1f * data.speed)
        Wander();
    if (MapSector* found = FindSector())
        sector = found;
}

Vector3 Monster::GetEyePosition() const
{
    return position + Vector3(0.0f, halfExtents.y, 0.0f);
}

void Monster::SetTarget(IKillable* target_)
{
    target = target_;
    targetObject = dynamic_cast<GridObject*>(target_);
}

bool Monster::IsInFront(const Vector3& point) const
{
    const float a = yaw + data.spriteYawOffset;
    return (point.x - position.x) * std::sin(a) + (point.z - position.z) * std::cos(a) > 0.0f;
}

Vector3 Monster::Facing() const
{
    const float a = yaw + data.spriteYawOffset;
    return Vector3(std::sin(a), 0.0f, std::cos(a));
}

void Monster::SetDirectionTowards(const Vector3& point)
{
    direction = Vector3(point.x - position.x, 0.0f, point.z - position.z).Normalized();
}

void Monster::UpdateYaw()
{
    yaw = std::atan2(direction.x, direction.z) + Pi;
}

bool Monster::IsInMeleeRange(const Vector3& point) const
{
    return Vector3::Distance(position, point) < data.meleeRange;
}

bool Monster::IsInRangedRange(const Vector3& point) const
{
    return Vector3::Distance(position, point) < data.rangedRange;
}

float Monster::HealthFraction() const
{
    return data.maxHealth > 0.0f ? health / data.maxHealth : 0.0f;
}

void Monster::Play(MonsterAnimation animation)
{
    if (animator)
        animator->Play(animation);
}

} // namespace mirefell
