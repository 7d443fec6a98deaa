// PlanarGeometry: tests and ear clipping in doubles.
#include "PlanarGeometry.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace mirefell::maptool
{

namespace
{

double Length(Point a, Point b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Within tolerance of the line through a and b, measured as a distance.
bool OnLine(Point p, Point a, Point b)
{
    const double length = Length(a, b);
    return length > 0.0 && std::abs(Cross(a, b, p)) / length < PointTolerance;
}

// p lies in the closed triangle a, b, c (counter-clockwise).
bool InClosedTriangle(Point p, Point a, Point b, Point c)
{
    const double scale = std::max({Length(a, b), Length(b, c), Length(c, a), 1.0});
    const double tolerance = -PointTolerance * scale;
    return Cross(a, b, p) >= tolerance && Cross(b, c, p) >= tolerance && Cross(c, a, p) >= tolerance;
}

} // namespace

bool SamePoint(Point a, Point b)
{
    return std::abs(a.x - b.x) < PointTolerance && std::abs(a.y - b.y) < PointTolerance;
}

double SignedArea2(const std::vector<Point>& polygon)
{
    double sum = 0.0;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++)
        sum += polygon[j].x * polygon[i].y - polygon[i].x * polygon[j].y;
    return sum;
}

double Cross(Point a, Point b, Point c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

double ParameterOnSegment(Point p, Point a, Point b)
{
    if (!OnLine(p, a, b))
        return -1.0;
    const double length = Length(a, b);
    const double t = ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / (length * length);
    const double margin = PointTolerance / length;
    return t > margin && t < 1.0 - margin ? t : -1.0;
}

bool SegmentsOverlapInside(Point a, Point b, Point c, Point d)
{
    if (OnLine(c, a, b) && OnLine(d, a, b)) {
        // Collinear: the open intervals overlap.
        const double length = Length(a, b);
        const auto along = [&](Point p) { return ((p.x - a.x) * (b.x - a.x) + (p.y - a.y) * (b.y - a.y)) / length; };
        const double low = std::min(along(c), along(d));
        const double high = std::max(along(c), along(d));
        return std::min(high, length) - std::max(low, 0.0) > PointTolerance;
    }
    const double d1 = Cross(a, b, c);
    const double d2 = Cross(a, b, d);
    const double d3 = Cross(c, d, a);
    const double d4 = Cross(c, d, b);
    const double scale = std::max(Length(a, b), Length(c, d));
    const double tolerance = PointTolerance * scale;
    return ((d1 > tolerance && d2 < -tolerance) || (d1 < -tolerance && d2 > tolerance)) &&
           ((d3 > tolerance && d4 < -tolerance) || (d3 < -tolerance && d4 > tolerance));
}

bool IsSimplePolygon(const std::vector<Point>& polygon)
{
    const size_t n = polygon.size();
    if (n < 3)
        return false;
    for (size_t i = 0; i < n; ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % n];
        if (SamePoint(a, b))
            return false;
        for (size_t j = i + 1; j < n; ++j) {
            const Point c = polygon[j];
            const Point d = polygon[(j + 1) % n];
            const bool adjacent = j == i + 1 || (i == 0 && j == n - 1);
            if (adjacent) {
                // Adjacent edges meet at their shared corner only.
                if (SegmentsOverlapInside(a, b, c, d))
                    return false;
                continue;
            }
            if (SegmentsOverlapInside(a, b, c, d) || SamePoint(a, c) || SamePoint(a, d) || SamePoint(b, c) ||
                SamePoint(b, d) || ParameterOnSegment(c, a, b) >= 0.0 || ParameterOnSegment(a, c, d) >= 0.0)
                return false;
        }
    }
    return true;
}

bool StrictlyInside(Point p, const std::vector<Point>& polygon)
{
    const size_t n = polygon.size();
    for (size_t i = 0; i < n; ++i) {
        const Point a = polygon[i];
        const Point b = polygon[(i + 1) % n];
        if (SamePoint(p, a) || ParameterOnSegment(p, a, b) >= 0.0)
            return false;
    }
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Point a = polygon[i];
        const Point b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool PolygonsOverlap(const std::vector<Point>& a, const std::vector<Point>& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        for (size_t j = 0; j < b.size(); ++j) {
            const Point p = a[i], q = a[(i + 1) % a.size()];
            const Point r = b[j], s = b[(j + 1) % b.size()];
            // Shared edges (the two sides of one wall) run opposite ways and
            // are allowed; anything else crossing an edge overlaps.
            const bool collinear = OnLine(r, p, q) && OnLine(s, p, q);
            if (!collinear && SegmentsOverlapInside(p, q, r, s))
                return true;
        }
    // No edges cross: one lies inside the other, or they are apart. A corner
    // strictly inside, or the middle of a triangle inside, tells.
    for (const Point& p : a)
        if (StrictlyInside(p, b))
            return true;
    for (const Point& p : b)
        if (StrictlyInside(p, a))
            return true;
    const auto triangleInside = [](const std::vector<Point>& inner, const std::vector<Point>& outer) {
        const std::vector<uint16_t> triangles = Triangulate(inner);
        for (size_t t = 0; t + 2 < triangles.size(); t += 3) {
            const Point p = inner[triangles[t]], q = inner[triangles[t + 1]], r = inner[triangles[t + 2]];
            if (StrictlyInside({(p.x + q.x + r.x) / 3.0, (p.y + q.y + r.y) / 3.0}, outer))
                return true;
        }
        return false;
    };
    return triangleInside(a, b) || triangleInside(b, a);
}

std::vector<uint16_t> Triangulate(const std::vector<Point>& polygon)
{
    std::vector<uint16_t> remaining(polygon.size());
    for (size_t i = 0; i < polygon.size(); ++i)
        remaining[i] = static_cast<uint16_t>(i);

    const auto corner = [&](size_t i) { return polygon[remaining[i % remaining.size()]]; };
    const auto dropStraight = [&] {
        for (bool dropped = true; dropped && remaining.size() > 3;) {
            dropped = false;
            for (size_t i = 0; i < remaining.size(); ++i) {
                const size_t n = remaining.size();
                const Point a = corner(i + n - 1), b = corner(i), c = corner(i + 1);
                if (OnLine(b, a, c) && Cross(a, b, c) <= 0.0 + PointTolerance * Length(a, c)) {
                    remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(i));
                    dropped = true;
                    break;
                }
            }
        }
    };

    std::vector<uint16_t> triangles;
    dropStraight();
    while (remaining.size() > 3) {
        const size_t n = remaining.size();
        bool clipped = false;
        for (size_t i = 0; i < n && !clipped; ++i) {
            const Point a = corner(i + n - 1), b = corner(i), c = corner(i + 1);
            if (Cross(a, b, c) <= PointTolerance * std::max(Length(a, b), Length(b, c)))
                continue; // reflex or straight
            bool empty = true;
            for (size_t k = 0; k < n && empty; ++k) {
                const Point p = corner(k);
                if (SamePoint(p, a) || SamePoint(p, b) || SamePoint(p, c))
                    continue;
                if (InClosedTriangle(p, a, b, c))
                    empty = false;
            }
            if (!empty)
                continue;
            triangles.push_back(remaining[(i + n - 1) % n]);
            triangles.push_back(remaining[i]);
            triangles.push_back(remaining[(i + 1) % n]);
            remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(i));
            clipped = true;
        }
        if (!clipped)
            throw std::runtime_error("outline cannot be cut into triangles");
        dropStraight();
    }
    if (remaining.size() == 3 && Cross(corner(0), corner(1), corner(2)) > 0.0)
        triangles.insert(triangles.end(), remaining.begin(), remaining.end());
    return triangles;
}

} // namespace mirefell::maptool
