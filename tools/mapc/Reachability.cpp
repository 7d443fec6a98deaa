// Reachability: the walk over places until nothing new is reached.
#include "Reachability.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "EntityBodies.h"
#include "gameplay/Player.h"
#include "gameplay/Powerup.h"
#include "world/Polygon.h"
#include "world/WorldCollision.h"

namespace mirefell::maptool
{

namespace
{

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double Slack = 1e-4;
constexpr double PlayerHeight = 2.0 * Player::BodyHalfExtents.y;
constexpr double PlayerHeightLimit = PlayerHeight - Slack;
// Switch panels cover the band 8 to 16 above their segment's foot.
constexpr double SwitchBandLow = 8.0;
constexpr double SwitchBandHigh = 16.0;
// Area rectangles are shrunk by this much so that merely touching a sector
// does not count as reaching into it.
constexpr float AreaInset = 0.5f;

double DistanceToSegment(Vector2 p, Vector2 a, Vector2 b)
{
    const Vector2 ab = b - a;
    const double length2 = ab.x * ab.x + ab.y * ab.y;
    double t = length2 > 0.0 ? ((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + ab.x * t), p.y - (a.y + ab.y * t));
}

double DistanceToSector(Vector2 p, const MapSector& sector)
{
    if (Polygon::ContainsPoint(sector, p))
        return 0.0;
    const std::vector<Vector2>& points = sector.collisionVertices;
    double best = Infinity;
    for (size_t i = 0; i < points.size(); ++i)
        best = std::min(best, DistanceToSegment(p, points[i], points[(i + 1) % points.size()]));
    return best;
}

} // namespace

Reachability::Reachability(const MapData& map_, const ScriptModel& model_)
    : map(map_), model(model_), neighbours(map_.sectors.size()), elevatorMoves(map_.sectors.size()),
      doorOpeners(map_.sectors.size()), heights(map_.sectors.size())
{
    std::map<int32_t, size_t> indexOf;
    for (size_t i = 0; i < map.sectors.size(); ++i)
        indexOf[map.sectors[i].id] = i;
    for (size_t k = 0; k + 1 < map.sectorLinks.size(); k += 2) {
        const auto a = indexOf.find(map.sectorLinks[k]);
        const auto b = indexOf.find(map.sectorLinks[k + 1]);
        if (a == indexOf.end() || b == indexOf.end() || a->second == b->second)
            continue;
        neighbours[a->second].push_back(b->second);
        neighbours[b->second].push_back(a->second);
    }

    std::map<std::string, size_t> causeIndex;
    const auto causeOf = [&](const ScriptCause& cause) {
        const auto [found, fresh] = causeIndex.emplace(cause.Describe(), causes.size());
        if (fresh)
            causes.push_back({cause, false});
        return found->second;
    };
    for (size_t i = 0; i < map.sectors.size(); ++i) {
        const auto id = static_cast<uint32_t>(map.sectors[i].id);
        if (const auto door = model.doors.find(id); door != model.doors.end())
            for (const ScriptCause& cause : door->second.openedBy)
                doorOpeners[i].push_back(causeOf(cause));
        if (const auto elevator = model.elevators.find(id); elevator != model.elevators.end())
            for (const ScriptModel::ElevatorMove& move : elevator->second.moves)
                elevatorMoves[i].push_back({causeOf(move.cause), move.surface});
    }
}

int Reachability::SectorAt(Vector2 point) const
{
    for (size_t i = 0; i < map.sectors.size(); ++i)
        if (Polygon::ContainsPoint(map.sectors[i], point))
            return static_cast<int>(i);
    return -1;
}

bool Reachability::DoorOpenable(size_t index) const
{
    const MapSector& sector = map.sectors[index];
    const auto id = static_cast<uint32_t>(sector.id);
    if (forcedDoor == id)
        return true;
    const auto found = model.doors.find(id);
    const bool usable = found == model.doors.end() || found->second.usable;
    if (found != model.doors.end() && found->second.cycling)
        return true;
    for (const size_t cause : doorOpeners[index])
        if (causes[cause].fired)
            return true;
    if (!usable)
        return false;
    return sector.key == 0 || (sector.key == 1 && hasRedKey) || (sector.key == 2 && hasBlueKey);
}

double Reachability::Top(size_t index, double floor) const
{
    const MapSector& sector = map.sectors[index];
    if (sector.door)
        return floor + std::min<double>(sector.doorMaxHeight, sector.ceilBottomY - sector.floorTopY);
    return sector.ceiling ? sector.ceilBottomY : Infinity;
}

bool Reachability::CanEnter(size_t from, double fromFloor, size_t to, double toFloor) const
{
    if (map.sectors[to].door && !DoorOpenable(to))
        return false;
    if (toFloor - fromFloor > WorldCollision::MaxStepHeight + Slack)
        return false;
    const double targetTop = Top(to, toFloor);
    if (targetTop - toFloor < PlayerHeightLimit)
        return false;
    return std::min(Top(from, fromFloor), targetTop) - std::max(fromFloor, toFloor) >= PlayerHeightLimit;
}

bool Reachability::PickupReached(const MapEntity& entity) const
{
    const EntityBody body = BodyOf(entity.entityType);
    const Vector2 centre{entity.pos.x + body.spawnOffset.x, entity.pos.y + body.spawnOffset.z};
    const double bottom = entity.y + body.spawnOffset.y - body.halfExtents.y;
    const double top = entity.y + body.spawnOffset.y + body.halfExtents.y;
    for (size_t i = 0; i < heights.size(); ++i) {
        if (heights[i].empty() || !Polygon::ContainsPoint(map.sectors[i], centre))
            continue;
        for (const double floor : heights[i])
            if (bottom <= floor + PlayerHeight && top >= floor)
                return true;
    }
    return false;
}

bool Reachability::FiresFrom(const ScriptCause& cause, size_t index, double floor) const
{
    const MapSector& sector = map.sectors[index];
    switch (cause.kind) {
    case ScriptCause::Kind::Area:
        for (const MapArea& area : map.areas) {
            if (area.name != cause.area)
                continue;
            const MapRect rect(
                std::min(area.start.x, area.end.x) + AreaInset, std::min(area.start.y, area.end.y) + AreaInset,
                std::max(area.start.x, area.end.x) - AreaInset, std::max(area.start.y, area.end.y) - AreaInset);
            if (rect.minX <= rect.maxX && rect.minY <= rect.maxY && SectorOverlapsRect(sector, rect))
                return true;
        }
        return false;
    case ScriptCause::Kind::Switch:
        for (const MapSegment& segment : map.segments) {
            if (segment.type != SegmentTypeSwitch || static_cast<uint32_t>(segment.id) != cause.id)
                continue;
            const Vector2 middle = (segment.start + segment.end) * 0.5f;
            const bool near = segment.sectorId == sector.id || DistanceToSector(middle, sector) <= SwitchReach;
            const double eye = floor + EyeAboveFloor;
            const double below = segment.bottomY + SwitchBandLow - eye;
            const double above = eye - (segment.bottomY + SwitchBandHigh);
            if (near && std::max({below, above, 0.0}) <= SwitchReach)
                return true;
        }
        return false;
    case ScriptCause::Kind::Pickup:
        for (const MapEntity& entity : map.entities) {
            if (static_cast<uint32_t>(entity.id) != cause.id)
                continue;
            const EntityBody body = BodyOf(entity.entityType);
            const Vector2 centre{entity.pos.x + body.spawnOffset.x, entity.pos.y + body.spawnOffset.z};
            const double bottom = entity.y + body.spawnOffset.y - body.halfExtents.y;
            const double top = entity.y + body.spawnOffset.y + body.halfExtents.y;
            if (Polygon::ContainsPoint(sector, centre) && bottom <= floor + PlayerHeight && top >= floor)
                return true;
        }
        return false;
    }
    return false;
}

bool Reachability::Add(size_t index, double floor)
{
    return heights[index].insert(floor).second;
}

void Reachability::Run(std::optional<uint32_t> doorOpenedAnyway)
{
    forcedDoor = doorOpenedAnyway;
    hasRedKey = hasBlueKey = false;
    for (Cause& cause : causes)
        cause.fired = false;
    for (std::set<double>& reached : heights)
        reached.clear();

    const int start = SectorAt(map.playerStartPosition);
    if (start < 0)
        return;
    const auto floorsOf = [&](size_t index) {
        std::vector<double> floors;
        const MapSector& sector = map.sectors[index];
        if (!sector.elevator) {
            floors.push_back(sector.floorTopY);
            return floors;
        }
        const auto found = model.elevators.find(static_cast<uint32_t>(sector.id));
        floors.push_back(found != model.elevators.end() ? found->second.restingSurface : sector.floorTopY);
        for (const Move& move : elevatorMoves[index])
            if (causes[move.cause].fired)
                floors.push_back(move.surface);
        return floors;
    };
    Add(static_cast<size_t>(start), floorsOf(static_cast<size_t>(start)).front());

    for (bool changed = true; changed;) {
        changed = false;
        for (Cause& cause : causes) {
            for (size_t i = 0; i < heights.size() && !cause.fired; ++i)
                for (const double floor : heights[i])
                    if (FiresFrom(cause.cause, i, floor)) {
                        cause.fired = changed = true;
                        break;
                    }
        }
        for (const MapEntity& entity : map.entities) {
            const auto type = static_cast<PowerupType>(entity.entityType.powerupType);
            if (entity.entityType.kind != MapEntityKind::Powerup ||
                (type != PowerupType::RedKey && type != PowerupType::BlueKey))
                continue;
            bool& found = type == PowerupType::RedKey ? hasRedKey : hasBlueKey;
            if (!found && PickupReached(entity))
                found = changed = true;
        }
        for (size_t i = 0; i < heights.size(); ++i) {
            const std::vector<double> here(heights[i].begin(), heights[i].end());
            for (const double floor : here) {
                for (const size_t next : neighbours[i])
                    for (const double nextFloor : floorsOf(next))
                        if (CanEnter(i, floor, next, nextFloor) && Add(next, nextFloor))
                            changed = true;
                // Riding: a reaction fired from the platform moves the rider.
                for (const Move& move : elevatorMoves[i])
                    if (causes[move.cause].fired && FiresFrom(causes[move.cause].cause, i, floor) &&
                        Add(i, move.surface))
                        changed = true;
            }
        }
    }
}

} // namespace mirefell::maptool
