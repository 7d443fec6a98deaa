// PlanarGeometry: the double-precision polygon arithmetic the map compiler
// needs to turn authored room outlines into map records: winding, simple
// polygon and overlap tests, points on segments and ear-clipping
// triangulation. Points are map-plane (x, y) with y up; a positively wound
// (counter-clockwise) polygon has its inside on the left of every edge.
#pragma once

#include <cstdint>
#include <vector>

namespace mirefell::maptool
{

struct Point
{
    double x = 0.0;
    double y = 0.0;

    bool operator==(const Point&) const = default;
};

// Coordinates closer than this are the same point, and a point this close to
// a line lies on it. Sources round points to 1/256, so a point meant to lie
// on a slanting wall is up to 0.003 off it.
inline constexpr double PointTolerance = 0.01;

bool SamePoint(Point a, Point b);
// Twice the signed area; positive for counter-clockwise outlines.
double SignedArea2(const std::vector<Point>& polygon);
// (b - a) x (c - a): positive when a, b, c turn left.
double Cross(Point a, Point b, Point c);
// The parameter t in (0, 1) at which p lies on the open segment a-b, or a
// negative value when it does not lie on it.
double ParameterOnSegment(Point p, Point a, Point b);
// Whether the segments share a point that is interior to both (a proper
// crossing, or a collinear overlap of positive length).
bool SegmentsOverlapInside(Point a, Point b, Point c, Point d);
// No two non-adjacent edges meet and no adjacent edges fold back.
bool IsSimplePolygon(const std::vector<Point>& polygon);
// Strictly inside (points on the outline are not inside).
bool StrictlyInside(Point p, const std::vector<Point>& polygon);
// Whether the insides of two simple polygons share an area.
bool PolygonsOverlap(const std::vector<Point>& a, const std::vector<Point>& b);
// Triangles (index triples, counter-clockwise) covering a counter-clockwise
// simple polygon; vertices lying on a straight edge are left out of the
// triangles. Throws std::runtime_error when the outline cannot be cut.
std::vector<uint16_t> Triangulate(const std::vector<Point>& polygon);

} // namespace mirefell::maptool
