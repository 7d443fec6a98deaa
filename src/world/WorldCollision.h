// WorldCollision: the World's small collision service. It holds nothing but
// its World (and a scratch list that keeps the floor probe allocation-free);
// the movement operations and the hit queries are its operations, built on
// the World's cell queries:
//
// - the world's steps of the player's move, which the Player runs in order
//   with its own (the teleport flash, pickups, crosshair and use targets,
//   death by falling out of the level): the teleport, the ellipsoid
//   collide-and-slide against static geometry, doors, elevators and living
//   monsters, and the telefrag at the destination;
// - the monsters' move (MoveMonster): a footprint box sliding along wall
//   segments in the map plane, standing on the highest floor under it,
//   refusing steps over 6 units and stopping at other monsters and the
//   player;
// - platforms carrying what stands on them, and the re-registration of any
//   mover in the grid (PlaceObject);
// - the hit queries: the stepped ray cast, the hitscan pellets of the
//   player's guns, the hammer's strike, the monsters' line of sight, the
//   projectile sweep with its impact rules, the particles' landing trace,
//   the blast of an explosion, and the box tests a closing door runs. Hits
//   spray particles through the World and deal damage through the hit
//   object's TakeDamage.
//
// The geometric cores (the sweep in Collision, the segment push and the
// floor-height decision here) are plain functions over their inputs and a
// source callback, so they are tested without a World. Everything runs on
// the game thread inside World::Update and allocates nothing once warm.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"
#include "world/CellRange.h"
#include "world/Collision.h"
#include "world/SegmentSource.h"

namespace mirefell
{

class GridObject;
class World;
struct GridCell;
struct HitscanWeaponData;
struct MapSegment;

// What the monsters' floor query finds under a footprint.
struct FloorProbe
{
    bool valid = false;
    float floor = -std::numeric_limits<float>::infinity();  // highest floor top under the footprint
    float ceiling = std::numeric_limits<float>::infinity(); // ceiling bottom of that floor's sector
};

// What a stepped ray cast meets first.
struct RaycastResult
{
    static constexpr int32_t Nothing = 0;
    static constexpr int32_t Triangle = 1; // a triangle of an object
    static constexpr int32_t Object = 2;   // an object's bounding box

    int32_t type = Nothing;
    // A triangle hit: the hit point one unit out along the triangle's normal;
    // an object hit: the entry point into its box.
    Vector3 point;
    GridObject* object = nullptr;
    float distanceSquared = std::numeric_limits<float>::infinity(); // to the raw hit point
    Vector3 normal; // of the hit triangle; not reset by a later object hit
};

class WorldCollision
{
public:
    // The player's query box reaches at least this far beyond its move.
    static constexpr float MinQueryMargin = 2.66f;
    // Masks of the movers' queries.
    static constexpr uint32_t PlayerBlockers = 23;  // Concrete, Door, Elevator, Monster
    static constexpr uint32_t MonsterBlockers = 48; // Monster, Player
    static constexpr uint32_t UseTargets = 130;     // Door, Switch
    // A monster refuses floors more than this far apart under its footprint.
    static constexpr float MaxStepHeight = 6.0f;
    // Below this height the player has fallen out of the level.
    static constexpr float FallOutHeight = -256.0f;
    static constexpr float FallOutDamage = 999.0f;
    static constexpr int32_t TelefragParticles = 20;
    // Segment pushes per monster move.
    static constexpr int32_t MaxSegmentPushes = 5;
    // Ray strides in the map plane.
    static constexpr float RayStride = 64.0f;
    // What rays stop at: static geometry, doors and elevators.
    static constexpr uint32_t RayBlockers = 7;
    // Strides of a hitscan pellet (320 units) and of the hammer (one).
    static constexpr int32_t PelletSteps = 5;
    static constexpr int32_t HammerSteps = 1;
    // The hammer reaches this far from the eye.
    static constexpr float HammerReach = 12.0f;
    static constexpr int32_t HammerPuffs = 5;
    // Puffs where a projectile strikes without hurting.
    static constexpr int32_t ImpactPuffs = 5;
    // The chance in percent that a shot the player shrugs off turns back.
    static constexpr float DeflectChance = 25.0f;

    explicit WorldCollision(World* world_);

    // When the player stands in a teleport sector whose id has a
    // destination, both positions become that destination raised by the
    // player's half height. Returns whether it teleported.
    bool TryTeleport(GridObject& player, Vector3& oldPosition, Vector3& newPosition);
    // The ellipsoid slide of the player's body from oldPosition to
    // newPosition with a gravity pass of `gravity`; newPosition becomes the
    // reached position and the sweep's result goes back for the player's
    // answer to the contact. A move whose box misses the grid keeps the
    // wanted position and reports nothing.
    std::optional<CollisionResult> CollidePlayer(GridObject& player, const Vector3& oldPosition, Vector3& newPosition,
                                                 float gravity);
    // Kills every living monster whose box overlaps the player's, the player
    // being the attacker.
    void Telefrag(GridObject& player);
    // The margin of the player's query box: at least MinQueryMargin, and
    // twice the gravity pass's scale whichever way it points, so that a jump
    // (negative gravity) sees the ceiling above as a fall sees the floor.
    static float QueryMargin(float gravity);

    // A monster's move in the map plane. newPosition is the wanted position
    // on entry and the allowed one on return; its y is the floor the monster
    // stands on. Returns the monster or player that blocked the move (the
    // caller, a monster, picks a new course when that is a monster), or null.
    GridObject* MoveMonster(GridObject* monster, const Vector3& oldPosition, Vector3& newPosition);
    // Floor, fit and wall tests of a monster's move over the range's cells.
    void SlideAlongSegments(GridObject* monster, const CellRange& range, const Vector3& oldPosition,
                            Vector3& newPosition);
    // The floors (sector pieces and elevators) of the range's cells under a
    // footprint.
    FloorProbe ProbeFloor(const CellRange& range, const MapRect& footprint);
    // The probe of a set of floor heights (any order; the list is sorted in
    // place) with the ceiling of the highest one.
    static FloorProbe FloorFromHeights(std::span<float> heights, float highestFloor, float ceiling);
    // Whether a wall segment's height span meets the body span [low, high].
    static bool SegmentMeetsSpan(const MapSegment& segment, float low, float high);
    // Pushes a footprint box's move (from -> target) out of the blocking
    // segments: up to five rounds over every segment, each hit projecting the
    // target onto the wall's line and 0.005 back towards the contact.
    static Vector2 PushAlongSegments(const MapRect& boxAtFrom, Vector2 from, Vector2 target,
                                     const SegmentSource& blocking);

    // Moves what stands on the platform by heightDelta: pickups lying on its
    // sector both ways, the player only upwards.
    void ForEachObjectOnPlatform(GridObject* platform, float heightDelta);
    // Registers the object in the cells of its collision footprint at
    // position, then moves it there (its own SetPosition).
    void PlaceObject(GridObject* object, const Vector3& position);

    // A ray walked over the grid in strides of 64 map units, `steps` strides
    // in all: the nearest triangle of triangleMask or box of objectMask,
    // skipping `ignore` and dead monsters. direction is a unit vector.
    RaycastResult Raycast(const Vector3& origin, const Vector3& direction, uint32_t triangleMask, uint32_t objectMask,
                          int32_t steps, const GridObject* ignore);
    // The player's gun: one ray per pellet of `data`, spread about the aim
    // (degrees; pitch from straight up, 90 level). The yaw spread widens as
    // the aim leaves the horizontal. Two random numbers per pellet, yaw
    // first. A shot from the player (type mask 32) hits monsters and walls,
    // any other shooter walls only.
    void FireHitscan(GridObject* shooter, const Vector3& origin, const HitscanWeaponData& data, float damage,
                     float yawDegrees, float pitchDegrees);
    // One pellet: a puff and a harmless touch on a surface, blood and the
    // damage on an object, nothing into the void.
    void FirePellet(GridObject* shooter, const Vector3& origin, const Vector3& direction, const HitscanWeaponData& data,
                    float damage, uint32_t objectMask);
    // The hammer's strike from the player's eye along its look direction:
    // within HammerReach a surface gets white puffs and "hammer_hit", a
    // monster blood, the damage (with the look direction) and
    // "hammer_hit_flesh".
    void HammerHit(GridObject* player, const Vector3& eye, const Vector3& look, float damage);
    // Whether `from` sees `target` within range: the first thing a ray meets
    // among walls, doors, elevators and objects of the target's own type mask
    // is the target. Other monsters never block the view.
    bool CanReach(GridObject* from, GridObject* target, float range);
    // One step of a projectile (an IProjectile) from oldPosition towards
    // newPosition: the nearest of a wall contact and a living player or
    // monster other than its owner decides. Nothing: it moves. A wall: a
    // bouncing shot reflects and stays; another strikes (puffs, unless
    // explosive) and hits. A body: unless explosive, the damage; a shot the
    // player shrugs off turns back with a 25 % chance and becomes the
    // player's. A strike moves the shot to the contact and calls its
    // TakeDamage (its impact). A shot whose move misses the grid stays put.
    // newPosition ends where the shot was placed.
    void TraceProjectile(GridObject* projectile, Vector3& oldPosition, Vector3& newPosition);
    // The particles' landing test: whether the path from `from` to `to`
    // meets static geometry (a unit sphere's sweep); then `to` becomes the
    // contact position and `normal` its normal. Otherwise both stay.
    bool TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal);
    // The blast of an explosion: every living player or monster whose box
    // overlaps the cube of radius about the centre takes between half and all
    // of the damage (1 - distance / radius, clamped to [0.5, 1]) from
    // attacker, and bleeds 10 to 20 particles. No line of sight is needed;
    // the attacker is hurt like anyone else.
    void SplashDamage(const Vector3& centre, GridObject* attacker, float damage, float radius);
    // Whether a living player or monster of the cells overlaps the box.
    static bool AnyLivingKillableInBox(std::span<GridCell* const> cells, const Box3& box);
    // Kills every living player or monster of the cells that overlaps the
    // box, with a burst of blood for each one the kill succeeds on.
    void CrushLivingKillablesInBox(std::span<GridCell* const> cells, const Box3& box);

    // A monster (type mask 16) whose IKillable says it is dead.
    static bool IsDeadMonster(GridObject* object);
    // A player or monster that is not dead (false for anything else).
    static bool IsLivingKillable(GridObject* object);

    World* world;

private:
    std::vector<float> floorHeights; // scratch of ProbeFloor
};

} // namespace mirefell
