// Collision: the ellipsoid sweep that moves the player and projectiles
// through the level's triangles. The mover is an axis-aligned ellipsoid
// (radii = its collision half extents); the sweep runs in ellipsoid space,
// where the mover is a unit sphere, with the collide-and-slide method: find
// the nearest contact along the move, stop just short of it, slide the rest
// of the move along the plane through the contact, and repeat up to six
// nested passes. An optional gravity pass then moves the mover down (or up,
// for a negative scale) from where the slide ended.
//
// Triangles are one-sided: only a triangle whose normal (b - a) x (c - a)
// faces against the motion can be touched, so geometry seen from behind is
// passed through. Ties between equally near contacts keep the first found,
// so a source must hand its triangles over in a stable order.
//
// Plain functions over the packet and a TriangleSource: nothing here knows
// the World, so tests drive it with hand-made triangles. A degenerate move
// (zero length, a zero-area triangle) produces NaN or infinite intermediate
// values whose comparisons are all false, which is how such cases fall out
// as "no contact"; the build must therefore never use -ffast-math.
#pragma once

#include <cstdint>

#include "platform/math/Vector.h"
#include "world/TriangleSource.h"

namespace mirefell
{

class GridObject;

// The working record of one sweep.
struct CollisionPacket
{
    Vector3 radius;             // ellipsoid radii (collision half extents)
    Vector3 start;              // world space
    Vector3 velocity;           // end - start, world space
    Vector3 basePoint;          // current position, ellipsoid space
    Vector3 eVelocity;          // current move, ellipsoid space
    Vector3 normalizedVelocity; // eVelocity normalised
    Vector3 hitNormal;          // unit normal (ellipsoid space) of the nearest contact's triangle
    bool foundCollision = false;
    float nearestDistance = 0.0f; // along eVelocity to the nearest contact
    Vector3 intersectionPoint;    // contact point, ellipsoid space
    int32_t depth = 0;            // nesting depth of the slide
    bool stopAtContact = false;
    float gravity = 0.0f; // scale of the gravity pass; 0: none
    GridObject* hitObject = nullptr;
    bool touched = false; // some pass of the current sweep found a contact
};

// What a sweep returns.
struct CollisionResult
{
    Vector3 position;     // where the mover ends, world space
    bool movedUp = false; // the sliding pass ended higher than it started
    // The last pass found a contact; for a move pressed down to the floor
    // (a positive gravity scale) that stepped up, any pass of its slide:
    // climbing a step touches the step's edge, though the slide's last pass
    // runs free above it.
    bool collided = false;
    GridObject* hitObject =
        nullptr;       // owner of the last recorded contact (kept from the slide when the gravity pass touched nothing)
    Vector3 hitNormal; // that contact's triangle normal, ellipsoid space
};

class Collision
{
public:
    static constexpr float VeryCloseDistance = 0.005f;
    static constexpr int32_t MaxDepth = 5; // passes 0 to 5: six in all
    // The gravity pass moves by this times the gravity scale, downward.
    static constexpr float GravityStep = 1.5f;

    // Slides from start towards end, then runs the gravity pass; end becomes
    // the result position.
    static CollisionResult Slide(const Vector3& start, Vector3& end, float gravity, const Vector3& radius,
                                 const TriangleSource& source);
    // One pass that stops at the first contact (no slide, no gravity); end
    // becomes the result position.
    static CollisionResult SweepToContact(const Vector3& start, Vector3& end, const Vector3& radius,
                                          const TriangleSource& source);

    // The steps of the sweep, public so that they can be tested one by one.
    static CollisionResult Run(const Vector3& start, Vector3& end, const Vector3& radius, float gravity,
                               bool stopAtContact, const TriangleSource& source);
    static CollisionResult CollideAndSlide(CollisionPacket& packet, const TriangleSource& source);
    // One pass, recursing into the slide; returns the end point (ellipsoid
    // space).
    static Vector3 CollideWithWorld(CollisionPacket& packet, const TriangleSource& source);
    // Records a contact with the triangle (world space corners) when it is
    // nearer than the packet's.
    static void CheckTriangle(CollisionPacket& packet, GridObject* owner, const Vector3& a, const Vector3& b,
                              const Vector3& c);
    // Same-side test; points on an edge count as inside.
    static bool PointInTriangle(const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c);
    // The lowest root of k2 t^2 + k1 t + k0 in (0, limit), into root.
    static bool LowestRoot(float k2, float k1, float k0, float limit, float& root);
};

} // namespace mirefell
