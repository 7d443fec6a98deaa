// Map-plane polygon tests used by the world's sector look-ups and the
// collision queries.
#include "world/Polygon.h"

#include <cassert>

#include "world/Intersections.h"
#include "world/MapData.h"

namespace mirefell
{

Vector2 PolygonCentroid(std::span<const Vector2> points)
{
    float area = 0.0f, sumX = 0.0f, sumY = 0.0f;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector2 pi = points[i];
        const Vector2 pj = points[i == 0 ? n - 1 : i - 1];
        const float c = pi.x * pj.y - pj.x * pi.y;
        area += c;
        sumX += (pi.x + pj.x) * c;
        sumY += (pi.y + pj.y) * c;
    }
    return {sumX / (3.0f * area), sumY / (3.0f * area)};
}

Vector2 PolygonCentroid(const MapSector& sector)
{
    return PolygonCentroid(sector.vertices);
}

bool Polygon::ContainsPoint(std::span<const Vector2> points, Vector2 p)
{
    bool inside = false;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Vector2 pi = points[i];
        const Vector2 pj = points[i == 0 ? n - 1 : i - 1];
        if ((pi.y > p.y) != (pj.y > p.y) && p.x < (pj.x - pi.x) * (p.y - pi.y) / (pj.y - pi.y) + pi.x)
            inside = !inside;
    }
    return inside;
}

bool Polygon::ContainsPoint(const MapSector& sector, Vector2 point)
{
    return ContainsPoint(sector.collisionVertices, point);
}

bool PointInTriangle(Vector2 p, Vector2 a, Vector2 b, Vector2 c)
{
    const Vector2 ca = c - a, ba = b - a, pa = p - a;
    const float d00 = ca.Dot(ca), d01 = ca.Dot(ba), d02 = ca.Dot(pa), d11 = ba.Dot(ba), d12 = ba.Dot(pa);
    const float k = 1.0f / (d00 * d11 - d01 * d01);
    const float u = (d11 * d02 - d01 * d12) * k;
    const float v = (d00 * d12 - d01 * d02) * k;
    return u >= 0.0f && v >= 0.0f && u + v < 1.0f;
}

bool SegmentsIntersect(Vector2 p1, Vector2 p2, Vector2 q1, Vector2 q2)
{
    const Vector2 d1 = p2 - p1, d2 = q2 - q1;
    const float den = d1.x * d2.y - d2.x * d1.y;
    if (den == 0.0f)
        return false;
    const float t = ((p1.y - q1.y) * d2.x - (p1.x - q1.x) * d2.y) / den;
    const float u = ((p1.y - q1.y) * d1.x - (p1.x - q1.x) * d1.y) / den;
    return t >= 0.0f && t <= 1.0f && u >= 0.0f && u <= 1.0f;
}

bool SegmentsIntersect(const MapSegment& s, const MapSegment& t)
{
    return SegmentsIntersect(s.start, s.end, t.start, t.end);
}

bool SegmentIntersectsRect(Vector2 start, Vector2 end, const MapRect& rect)
{
    MapRect span;
    span.Widen(start);
    span.Widen(end);
    if (!span.Overlaps(rect))
        return false;
    if (rect.Contains(start) && rect.Contains(end))
        return true;
    const Vector2 c0{rect.minX, rect.minY}, c1{rect.maxX, rect.minY}, c2{rect.maxX, rect.maxY},
        c3{rect.minX, rect.maxY};
    return SegmentsIntersect(start, end, c0, c1) || SegmentsIntersect(start, end, c1, c2) ||
           SegmentsIntersect(start, end, c2, c3) || SegmentsIntersect(start, end, c3, c0);
}

bool SegmentIntersectsRect(const MapSegment& segment, const MapRect& rect)
{
    return SegmentIntersectsRect(segment.start, segment.end, rect);
}

bool SectorOverlapsRect(const MapSector& sector, const MapRect& rect)
{
    const std::vector<Vector2>& points = sector.vertices;
    const MapRect bounds = BoundingRectOfPoints(points);
    if (!bounds.Overlaps(rect))
        return false;
    if (bounds.IsInside(rect))
        return true;

    const Vector2 corners[4] = {
        {rect.minX, rect.minY}, {rect.maxX, rect.minY}, {rect.maxX, rect.maxY}, {rect.minX, rect.maxY}};
    const std::vector<uint16_t>& indices = sector.indices;
    for (size_t i = 0; i + 2 < indices.size(); i += 3) {
        assert(indices[i] < points.size() && indices[i + 1] < points.size() && indices[i + 2] < points.size() &&
               "the map loader checks sector indices");
        const Vector2 a = points[indices[i]], b = points[indices[i + 1]], c = points[indices[i + 2]];
        for (const Vector2& corner : corners)
            if (PointInTriangle(corner, a, b, c))
                return true;
    }

    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i)
        if (SegmentIntersectsRect(points[i], points[i + 1 == n ? 0 : i + 1], rect))
            return true;
    return false;
}

} // namespace mirefell
