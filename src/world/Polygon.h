// The 2D polygon tests of the map plane (a map point (x, y) is the world point
// (x, z)): polygon centroid, even-odd point in polygon, barycentric point in
// triangle, segment against segment, and segment or sector polygon against an
// axis-aligned rectangle. All work on 32-bit floats and reject nothing:
// degenerate input follows the arithmetic (parallel segments never meet, a
// zero-area polygon has a non-finite centroid).
#pragma once

#include <span>

#include "platform/math/Bounds.h"
#include "platform/math/Vector.h"

namespace mirefell
{

struct MapSector;
struct MapSegment;

// Area centroid of a closed polygon.
Vector2 PolygonCentroid(std::span<const Vector2> points);
// Area centroid of the sector's render polygon ("vertices").
Vector2 PolygonCentroid(const MapSector& sector);

namespace Polygon
{
// Even-odd crossing test; an empty polygon contains nothing.
bool ContainsPoint(std::span<const Vector2> points, Vector2 point);
// Whether the map point lies inside the sector's "collisionVertices" polygon.
bool ContainsPoint(const MapSector& sector, Vector2 point);
} // namespace Polygon

// Barycentric test: inside when u >= 0, v >= 0 and u + v < 1, so the edges
// through a count as inside and the far edge from b to c does not.
bool PointInTriangle(Vector2 p, Vector2 a, Vector2 b, Vector2 c);
// Closed test of two segments given by their ends; parallel or collinear
// segments never intersect.
bool SegmentsIntersect(Vector2 p1, Vector2 p2, Vector2 q1, Vector2 q2);
// The same over the start and end of two map segments.
bool SegmentsIntersect(const MapSegment& s, const MapSegment& t);
// Whether a segment and a rectangle share a point (bounds included).
bool SegmentIntersectsRect(Vector2 start, Vector2 end, const MapRect& rect);
bool SegmentIntersectsRect(const MapSegment& segment, const MapRect& rect);
// Whether the sector's triangulated floor ("vertices" with "indices") and the
// rectangle share a point.
bool SectorOverlapsRect(const MapSector& sector, const MapRect& rect);

} // namespace mirefell
