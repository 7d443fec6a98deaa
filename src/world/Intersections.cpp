// Ray, triangle and swept-box tests of the world's queries and movement.
#include "world/Intersections.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "world/MapData.h"

namespace mirefell
{

MapRect BoundingRectOfPoints(std::span<const Vector2> points)
{
    MapRect rect;
    for (const Vector2& p : points)
        rect.Widen(p);
    return rect;
}

Box3 BoundingBoxFromPoints(const Box3& box, const Vector3& point)
{
    Box3 widened = box;
    widened.Widen(point);
    return widened;
}

Box3 BoundingBoxFromPoints(std::span<const Vector3> points)
{
    Box3 box;
    for (const Vector3& p : points)
        box.Widen(p);
    return box;
}

bool RayIntersectsBox(const Ray& ray, const Box3& box, Vector3& point)
{
    const float origin[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const float direction[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z};
    const float hi[3] = {box.max.x, box.max.y, box.max.z};
    float tNear[3], tFar[3];
    for (int axis = 0; axis < 3; ++axis) {
        const float k = 1.0f / direction[axis];
        const float nearPlane = k >= 0.0f ? lo[axis] : hi[axis];
        const float farPlane = k >= 0.0f ? hi[axis] : lo[axis];
        tNear[axis] = (nearPlane - origin[axis]) * k;
        tFar[axis] = (farPlane - origin[axis]) * k;
    }
    if (tNear[0] > tFar[1] || tNear[1] > tFar[0])
        return false;
    float tMin = std::max(tNear[0], tNear[1]);
    float tMax = std::min(tFar[0], tFar[1]);
    if (tMin > tFar[2] || tNear[2] > tMax)
        return false;
    tMax = std::min(tMax, tFar[2]);
    if (!(tMax >= 0.0f))
        return false;
    tMin = std::max(tMin, tNear[2]);
    const float t = tMin >= 0.0f ? tMin : tMax;
    point = ray.origin + ray.direction * t;
    return true;
}

bool RayIntersectsTriangle(const Ray& ray, const Vector3& a, const Vector3& b, const Vector3& c, Vector3& point)
{
    const Vector3 e1 = b - a, e2 = c - a;
    const Vector3 n = e1.Cross(e2);
    const Vector3 ap = ray.origin - a;
    const float d = -ray.direction.Dot(n);
    if (!(d > 0.0f))
        return false;
    const float t = ap.Dot(n);
    const float u = -ray.direction.Dot(ap.Cross(e2));
    const float w = -ray.direction.Dot(e1.Cross(ap));
    if (!(u >= 0.0f && w >= 0.0f && u + w <= d && t >= 0.0f))
        return false;
    point = ray.origin + ray.direction * (t / d);
    return true;
}

namespace
{

// Narrows [tMin, tMax] by the times at which the box's extent along one axis
// overlaps the segment's range on that axis. False when they never overlap.
bool ClipAxis(float delta, float boxMin, float boxMax, float segmentMin, float segmentMax, float& tMin, float& tMax)
{
    if (delta < 0.0f) {
        if (boxMax < segmentMin)
            return false;
        tMin = std::max(tMin, (segmentMax - boxMin) / delta);
        tMax = std::min(tMax, (segmentMin - boxMax) / delta);
    } else if (delta > 0.0f) {
        if (boxMin > segmentMax)
            return false;
        tMin = std::max(tMin, (segmentMin - boxMax) / delta);
        tMax = std::min(tMax, (segmentMax - boxMin) / delta);
    } else if (boxMax < segmentMin || boxMin > segmentMax) {
        return false;
    }
    return !(tMin > tMax);
}

} // namespace

SweepHit SweepBoxAgainstSegment(const MapRect& box, Vector2 from, Vector2 to, Vector2 start, Vector2 end)
{
    SweepHit result;
    const Vector2 delta = to - from;
    const Vector2 n = Vector2{end.y - start.y, -(end.x - start.x)}.Normalized();
    const float v = delta.Dot(n);
    if (!(v < 0.0f))
        return result;

    const Vector2 h = (box.Max() - box.Min()) * 0.5f;
    const Vector2 c = (box.Max() + box.Min()) * 0.5f;
    const float r = std::fabs(n.x) * h.x + std::fabs(n.y) * h.y;
    const float d = (start - c).Dot(n);
    float tMin = std::max(0.0f, (d + r) / v);
    float tMax = std::min(1.0f, (d - r) / v);

    if (!ClipAxis(delta.x, box.minX, box.maxX, std::min(start.x, end.x), std::max(start.x, end.x), tMin, tMax))
        return result;
    if (!ClipAxis(delta.y, box.minY, box.maxY, std::min(start.y, end.y), std::max(start.y, end.y), tMin, tMax))
        return result;

    result.hit = true;
    result.point = from + delta * tMin;
    result.distance = delta.Length() * tMin;
    result.normal = n;
    return result;
}

SweepHit SweepBoxAgainstSegment(const MapRect& box, Vector2 from, Vector2 to, const MapSegment& segment)
{
    return SweepBoxAgainstSegment(box, from, to, segment.start, segment.end);
}

bool SweepBoxAgainstBox(const Box3& box, const Vector3& from, const Vector3& to, const Box3& other, Vector3& position)
{
    const Vector3 delta = to - from;
    // The box where it starts and where it ends: the whole sweep, whichever
    // way it moves.
    Box3 broad;
    broad.Widen(box.min);
    broad.Widen(box.max);
    broad.Widen(box.min + delta);
    broad.Widen(box.max + delta);
    if (!broad.Overlaps(other))
        return false;
    if (box.Overlaps(other)) {
        position = from;
        return true;
    }
    if (Box3{box.min + delta, box.max + delta}.Overlaps(other)) {
        position = to;
        return true;
    }

    constexpr float infinity = std::numeric_limits<float>::infinity();
    const float moved[3] = {delta.x, delta.y, delta.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z};
    const float size[3] = {box.max.x - box.min.x, box.max.y - box.min.y, box.max.z - box.min.z};
    const float otherLo[3] = {other.min.x, other.min.y, other.min.z};
    const float otherHi[3] = {other.max.x, other.max.y, other.max.z};
    float entry[3], exit[3];
    for (int axis = 0; axis < 3; ++axis) {
        float entryDistance, exitDistance;
        if (moved[axis] > 0.0f) {
            entryDistance = otherLo[axis] - (lo[axis] + size[axis]);
            exitDistance = otherHi[axis] - lo[axis];
        } else {
            entryDistance = otherHi[axis] - lo[axis];
            exitDistance = otherLo[axis] - (lo[axis] + size[axis]);
        }
        if (moved[axis] == 0.0f) {
            entry[axis] = -infinity;
            exit[axis] = infinity;
        } else {
            entry[axis] = entryDistance / moved[axis];
            exit[axis] = exitDistance / moved[axis];
        }
    }
    const float tEntry = std::max({entry[0], entry[1], entry[2]});
    const float tExit = std::min({exit[0], exit[1], exit[2]});
    if (tEntry > tExit)
        return false;
    if (entry[0] < 0.0f && entry[1] < 0.0f && entry[2] < 0.0f)
        return false;
    if (entry[0] > 1.0f || entry[1] > 1.0f || entry[2] > 1.0f)
        return false;
    position = from + delta * tEntry;
    return true;
}

} // namespace mirefell
