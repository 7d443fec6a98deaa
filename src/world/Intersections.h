// The geometric tests shared by the level builders, the hit queries and the
// movement code: bounds of point lists, ray against box, one-sided ray against
// triangle, and the two swept-box tests. All on 32-bit floats; nothing is
// rejected, degenerate input (a zero direction component, a zero-length wall)
// follows the arithmetic, and NaN comparisons fail, so they never report hits.
#pragma once

#include <span>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"

namespace mirefell
{

struct MapSegment;

struct Ray
{
    Vector3 origin;
    Vector3 direction;
};

// Result of sweeping a 2D box against a wall segment.
struct SweepHit
{
    bool hit = false;
    Vector2 point;         // where the box's sweep origin stands at contact
    float distance = 0.0f; // distance travelled to the contact
    Vector2 normal;        // the wall's unit normal (its front side)
};

// The rectangle of a list of map points; empty list: the empty rectangle.
MapRect BoundingRectOfPoints(std::span<const Vector2> points);
// The box widened by one point; start from Box3{} and widen point by point.
Box3 BoundingBoxFromPoints(const Box3& box, const Vector3& point);
// The box of a list of points; empty list: the empty box.
Box3 BoundingBoxFromPoints(std::span<const Vector3> points);

// Slab test. A hit reports the entry point, or the exit point when the
// origin lies inside the box; a box wholly behind the origin is missed.
bool RayIntersectsBox(const Ray& ray, const Box3& box, Vector3& point);
// One-sided test: only a ray running against the triangle's normal
// (b - a) x (c - a) hits, anywhere ahead of its origin.
bool RayIntersectsTriangle(const Ray& ray, const Vector3& a, const Vector3& b, const Vector3& c, Vector3& point);
// A 2D box (its corners at the start of the move) moves by to - from against
// the segment from start to end. Only a move against the wall's front side,
// the side its normal (end.y - start.y, start.x - end.x) points to, can hit.
SweepHit SweepBoxAgainstSegment(const MapRect& box, Vector2 from, Vector2 to, Vector2 start, Vector2 end);
// The same against a wall segment's start and end.
SweepHit SweepBoxAgainstSegment(const MapRect& box, Vector2 from, Vector2 to, const MapSegment& segment);
// A 3D box moves by to - from against another box. On a hit, position is
// where the moving box's reference point stands at first contact: from when
// the boxes overlap already, to when they overlap only at the end.
bool SweepBoxAgainstBox(const Box3& box, const Vector3& from, const Vector3& to, const Box3& other, Vector3& position);

} // namespace mirefell
