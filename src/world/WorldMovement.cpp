// WorldCollision: the movers. The world's steps of the player's move, the
// monsters' footprint sliding and floor probe, moving platforms and the
// re-registration of movers in the grid.
#include <algorithm>
#include <cmath>

#include "world/GridObject.h"
#include "world/IKillable.h"
#include "world/IMonster.h"
#include "world/IPowerup.h"
#include "world/Intersections.h"
#include "world/Polygon.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell
{

namespace
{

// Floor heights a probe can hold before its scratch list has to grow.
constexpr size_t ReservedFloorHeights = 64;
// A monster's body span is raised this much before the wall filter.
constexpr float BodySpanLift = 0.03f;

// The 2D box of a position's footprint, plus and minus the half extents.
MapRect FootprintAt(const Vector3& position, const Vector3& half)
{
    return MapRect(position.x - half.x, position.z - half.z, position.x + half.x, position.z + half.z);
}

// The cells a footprint covers at either end of a move.
CellRange MoveRange(const World& world, const Vector3& from, const Vector3& to, const Vector3& half)
{
    return world.GetCellRange({{from.x - half.x, from.z - half.z},
                               {from.x + half.x, from.z + half.z},
                               {to.x - half.x, to.z - half.z},
                               {to.x + half.x, to.z + half.z}});
}

} // namespace

WorldCollision::WorldCollision(World* world_) : world(world_)
{
    floorHeights.reserve(ReservedFloorHeights);
}

// ---------------------------------------------------------------------------
// The player's steps

bool WorldCollision::TryTeleport(GridObject& player, Vector3& oldPosition, Vector3& newPosition)
{
    const MapSector* sector = player.FindSector();
    if (!sector || sector->teleportInID == 0)
        return false;
    // An id without a destination (no sector sends there) is no teleport.
    const auto found = world->teleportDestinations.find(static_cast<uint32_t>(sector->teleportInID));
    if (found == world->teleportDestinations.end())
        return false;
    const Vector3 destination = found->second + Vector3(0.0f, player.halfExtents.y, 0.0f);
    oldPosition = destination;
    newPosition = destination;
    return true;
}

float WorldCollision::QueryMargin(float gravity)
{
    return std::max(MinQueryMargin, 2.0f * std::fabs(gravity));
}

std::optional<CollisionResult> WorldCollision::CollidePlayer(GridObject& player, const Vector3& oldPosition,
                                                             Vector3& newPosition, float gravity)
{
    const CellRange range = MoveRange(*world, oldPosition, newPosition, player.collisionHalfExtents);
    if (!range.valid)
        return std::nullopt;

    Box3 query(Vector3::Min(oldPosition, newPosition) - player.halfExtents,
               Vector3::Max(oldPosition, newPosition) + player.halfExtents);
    const Vector3 margin(QueryMargin(gravity));
    query.min -= margin;
    query.max += margin;

    // Captures one pointer, so the predicate is stored without allocating.
    const Box3* queryBox = &query;
    const TriangleSource source(world, CellBlock(range), PlayerBlockers, [queryBox](GridObject* object) {
        if (IsDeadMonster(object))
            return false;
        return object->box.Overlaps(*queryBox);
    });
    return Collision::Slide(oldPosition, newPosition, gravity, player.collisionHalfExtents, source);
}

void WorldCollision::Telefrag(GridObject& player)
{
    const Vector3& half = player.collisionHalfExtents;
    const CellRange range = world->GetCellRange({{player.position.x - half.x, player.position.z - half.z},
                                                 {player.position.x + half.x, player.position.z + half.z}});
    world->ForEachObjectInRange(range, GridObjectType::Monster, [&](GridObject* object) {
        auto* killable = dynamic_cast<IKillable*>(object);
        auto* monster = dynamic_cast<IMonster*>(object);
        if (!killable || !monster || killable->IsDead() || !object->box.Overlaps(player.box))
            return;
        object->TakeDamage(monster->GetMaxHealth(), &player, Vector3());
        world->SpawnParticles(object->position, killable->GetBloodColor(), TelefragParticles);
    });
}

// ---------------------------------------------------------------------------
// Monsters

GridObject* WorldCollision::MoveMonster(GridObject* monster, const Vector3& oldPosition, Vector3& newPosition)
{
    const Vector3& half = monster->collisionHalfExtents;
    const CellRange range = MoveRange(*world, oldPosition, newPosition, half);
    if (!range.valid)
        return nullptr;

    SlideAlongSegments(monster, range, oldPosition, newPosition);

    const CellRange moved = MoveRange(*world, oldPosition, newPosition, half);
    if (!moved.valid)
        return nullptr;

    MapRect footprint = monster->footprint;
    const float dx = newPosition.x - oldPosition.x;
    const float dz = newPosition.z - oldPosition.z;
    footprint.minX += dx;
    footprint.maxX += dx;
    footprint.minY += dz;
    footprint.maxY += dz;

    // The first living body in the way, by id; in a crowd that is found at
    // once, whatever the crowd's size.
    GridObject* blocker = world->FindObjectInRange(moved, MonsterBlockers, [&](GridObject* other) {
        return other != monster && other->footprint.Overlaps(footprint) && !IsDeadMonster(other);
    });
    if (blocker) {
        newPosition.x = oldPosition.x;
        newPosition.z = oldPosition.z;
    }
    return blocker;
}

void WorldCollision::SlideAlongSegments(GridObject* monster, const CellRange& range, const Vector3& oldPosition,
                                        Vector3& newPosition)
{
    const Vector3& half = monster->halfExtents;
    const FloorProbe probe = ProbeFloor(range, FootprintAt(newPosition, half));
    if (!probe.valid) {
        newPosition = oldPosition;
        return;
    }

    // A monster that fits between floor and ceiling stands on the floor and
    // is stopped only by walls that reach into its body; one that does not
    // fit keeps its height and every wall stops it.
    const bool fits = 2.0f * half.y <= std::fabs(probe.ceiling - probe.floor);
    float low = -std::numeric_limits<float>::infinity();
    float high = std::numeric_limits<float>::infinity();
    if (fits) {
        newPosition.y = probe.floor + half.y;
        low = newPosition.y - half.y + BodySpanLift;
        high = newPosition.y + half.y + BodySpanLift;
    }
    struct Span
    {
        bool all;
        float low;
        float high;
    } span{!fits, low, high};
    const Span* filter = &span;
    const SegmentSource blocking = world->CollectSegmentsInRange(range, [filter](const MapSegment& segment) {
        return filter->all || SegmentMeetsSpan(segment, filter->low, filter->high);
    });

    const Vector2 from{oldPosition.x, oldPosition.z};
    const Vector2 target =
        PushAlongSegments(FootprintAt(oldPosition, half), from, {newPosition.x, newPosition.z}, blocking);
    newPosition.x = target.x;
    newPosition.z = target.y;
}

bool WorldCollision::SegmentMeetsSpan(const MapSegment& segment, float low, float high)
{
    const auto inside = [low, high](float y) { return y >= low && y <= high; };
    return inside(segment.bottomY) || inside(segment.topY) || (segment.bottomY < low && segment.topY > high);
}

Vector2 WorldCollision::PushAlongSegments(const MapRect& boxAtFrom, Vector2 from, Vector2 target,
                                          const SegmentSource& blocking)
{
    for (int32_t round = 0; round < MaxSegmentPushes; ++round) {
        bool hit = false;
        blocking([&](const MapSegment& segment) {
            const SweepHit contact = SweepBoxAgainstSegment(boxAtFrom, from, target, segment);
            if (!contact.hit)
                return;
            // Onto the wall's line, and a hair back towards the contact. A
            // target exactly at the contact has no way back to go.
            const Vector2 c = contact.point;
            const Vector2 n = contact.normal;
            const Vector2 back = (c - target).Normalized();
            target = target - n * (target - c).Dot(n) + back * Collision::VeryCloseDistance;
            hit = true;
        });
        if (!hit)
            break;
    }
    return target;
}

FloorProbe WorldCollision::ProbeFloor(const CellRange& range, const MapRect& footprint)
{
    floorHeights.clear();
    float highest = -std::numeric_limits<float>::infinity();
    float ceiling = std::numeric_limits<float>::infinity();
    world->ForEachObjectInRange(range, GridObjectType::Concrete | GridObjectType::Elevator, [&](GridObject* object) {
        const MapSector* sector = nullptr;
        if (object->typeMask == GridObjectType::Concrete) {
            if (object->name != SectorLayerKey)
                return;
            sector = static_cast<const MapSector*>(object->source);
        } else {
            sector = object->sector;
        }
        if (!sector || !SectorOverlapsRect(*sector, footprint))
            return;
        floorHeights.push_back(sector->floorTopY);
        if (sector->floorTopY > highest) {
            highest = sector->floorTopY;
            ceiling = sector->ceiling ? sector->ceilBottomY : std::numeric_limits<float>::infinity();
        }
    });
    return FloorFromHeights(floorHeights, highest, ceiling);
}

FloorProbe WorldCollision::FloorFromHeights(std::span<float> heights, float highestFloor, float ceiling)
{
    FloorProbe probe;
    if (heights.empty())
        return probe;
    std::sort(heights.begin(), heights.end());
    for (size_t i = 1; i < heights.size(); ++i)
        if (heights[i] - heights[i - 1] > MaxStepHeight)
            return probe;
    probe.valid = true;
    probe.floor = highestFloor;
    probe.ceiling = ceiling;
    return probe;
}

// ---------------------------------------------------------------------------
// Platforms and placing

void WorldCollision::ForEachObjectOnPlatform(GridObject* platform, float heightDelta)
{
    const uint32_t mask =
        heightDelta > 0.0f ? GridObjectType::Powerup | GridObjectType::Player : GridObjectType::Powerup;
    World::ForEachObjectInCells(platform->cells, mask, [&](GridObject* object) {
        if (!object->box.Overlaps(platform->box))
            return;
        if (object->typeMask == GridObjectType::Powerup) {
            const auto* pickup = dynamic_cast<const IPowerup*>(object);
            if (!pickup || !platform->sector || !pickup->RidesElevator(platform->sector->id))
                return;
        }
        object->SetPosition(object->position + Vector3(0.0f, heightDelta, 0.0f));
    });
}

void WorldCollision::PlaceObject(GridObject* object, const Vector3& position)
{
    const Vector3& half = object->collisionHalfExtents;
    object->SetCells(
        world->GetCellRange({{position.x - half.x, position.z - half.z}, {position.x + half.x, position.z + half.z}}));
    object->SetPosition(position);
}

} // namespace mirefell
