// Map-plane polygon tests: centroid, point in polygon and triangle, segment
// and sector polygon against rectangles.
#include <gtest/gtest.h>

#include <cmath>

#include "MapTestData.h"
#include "world/MapData.h"
#include "world/Polygon.h"

namespace mirefell
{
namespace
{

// An L: the unit squares (0..2, 0..1) and (0..1, 1..2).
const std::vector<Vector2> LShape = {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}};

TEST(Polygon, CentroidIsTheAreaCentroidWhicheverTheWinding)
{
    const Vector2 c = PolygonCentroid(LShape);
    EXPECT_NEAR(c.x, 2.5f / 3.0f, 1e-6f);
    EXPECT_NEAR(c.y, 2.5f / 3.0f, 1e-6f);
    const std::vector<Vector2> reversed(LShape.rbegin(), LShape.rend());
    const Vector2 r = PolygonCentroid(reversed);
    EXPECT_NEAR(r.x, c.x, 1e-6f);
    EXPECT_NEAR(r.y, c.y, 1e-6f);

    MapSector sector = testing::RectSector(1, 10, 20, 30, 60);
    sector.collisionVertices = {{0, 0}, {1, 0}, {1, 1}}; // the render polygon counts
    EXPECT_EQ(PolygonCentroid(sector), Vector2(20, 40));

    const std::vector<Vector2> flat = {{0, 0}, {1, 1}, {2, 2}};
    EXPECT_FALSE(std::isfinite(PolygonCentroid(flat).x));
}

TEST(Polygon, ContainsPointByEvenOddCrossings)
{
    EXPECT_TRUE(Polygon::ContainsPoint(LShape, {0.5f, 1.5f}));
    EXPECT_TRUE(Polygon::ContainsPoint(LShape, {1.5f, 0.5f}));
    EXPECT_FALSE(Polygon::ContainsPoint(LShape, {1.5f, 1.5f})); // the notch
    EXPECT_FALSE(Polygon::ContainsPoint(LShape, {-0.5f, 0.5f}));
    EXPECT_FALSE(Polygon::ContainsPoint(std::vector<Vector2>{}, {0, 0}));

    // The sector test reads the collision polygon, not the render polygon.
    MapSector sector = testing::RectSector(1, 0, 0, 10, 10);
    sector.collisionVertices = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(Polygon::ContainsPoint(sector, {2, 2}));
    EXPECT_FALSE(Polygon::ContainsPoint(sector, {6, 6}));
}

TEST(Polygon, PointInTriangleExcludesOnlyTheFarEdge)
{
    const Vector2 a{0, 0}, b{4, 0}, c{0, 4};
    EXPECT_TRUE(PointInTriangle({1, 1}, a, b, c));
    EXPECT_TRUE(PointInTriangle({2, 0}, a, b, c)); // edge a-b
    EXPECT_TRUE(PointInTriangle({0, 2}, a, b, c)); // edge a-c
    EXPECT_TRUE(PointInTriangle(a, a, b, c));
    EXPECT_FALSE(PointInTriangle({2, 2}, a, b, c)); // edge b-c: u + v = 1
    EXPECT_FALSE(PointInTriangle(b, a, b, c));
    EXPECT_FALSE(PointInTriangle({-0.01f, 1}, a, b, c));
    EXPECT_FALSE(PointInTriangle({3, 3}, a, b, c));
}

TEST(Polygon, SegmentsIntersectIncludingTheirEnds)
{
    EXPECT_TRUE(SegmentsIntersect({0, 0}, {4, 4}, {0, 4}, {4, 0}));
    EXPECT_TRUE(SegmentsIntersect({0, 0}, {2, 2}, {2, 2}, {4, 0})); // touching ends
    EXPECT_FALSE(SegmentsIntersect({0, 0}, {1, 1}, {0, 4}, {4, 0}));
    EXPECT_FALSE(SegmentsIntersect({0, 0}, {4, 0}, {0, 1}, {4, 1})); // parallel
    EXPECT_FALSE(SegmentsIntersect({0, 0}, {4, 0}, {2, 0}, {6, 0})); // collinear overlap counts as parallel

    MapSegment s, t;
    s.start = {0, 0};
    s.end = {0, 10};
    t.start = {-5, 5};
    t.end = {5, 5};
    EXPECT_TRUE(SegmentsIntersect(s, t));
}

TEST(Polygon, SegmentAgainstRectangle)
{
    const MapRect rect{0, 0, 10, 10};
    EXPECT_TRUE(SegmentIntersectsRect({2, 2}, {8, 3}, rect));     // wholly inside
    EXPECT_TRUE(SegmentIntersectsRect({-5, 5}, {15, 5}, rect));   // straight through
    EXPECT_TRUE(SegmentIntersectsRect({5, 5}, {20, 30}, rect));   // out through one edge
    EXPECT_TRUE(SegmentIntersectsRect({-5, 10}, {5, 10}, rect));  // along the top edge
    EXPECT_TRUE(SegmentIntersectsRect({10, 10}, {20, 20}, rect)); // touching a corner
    EXPECT_FALSE(SegmentIntersectsRect({-3, 8}, {2, 14}, rect));  // boxes overlap, segment passes the corner
    EXPECT_FALSE(SegmentIntersectsRect({11, 0}, {11, 10}, rect));

    MapSegment wall;
    wall.start = {-1, -1};
    wall.end = {11, 11};
    EXPECT_TRUE(SegmentIntersectsRect(wall, rect));
}

TEST(Polygon, SectorAgainstRectangle)
{
    // A large square: a small rectangle deep inside meets no edge, only a floor triangle.
    const MapSector room = testing::RectSector(1, 0, 0, 100, 100);
    EXPECT_TRUE(SectorOverlapsRect(room, {40, 40, 42, 42}));
    EXPECT_TRUE(SectorOverlapsRect(room, {-10, -10, 110, 110})); // sector inside the rectangle
    EXPECT_TRUE(SectorOverlapsRect(room, {100, 50, 120, 60}));   // touching the right edge
    EXPECT_FALSE(SectorOverlapsRect(room, {101, 50, 120, 60}));

    // A right triangle: a rectangle in the empty half of its bounds misses;
    // a thin one across the slanted edge, with no corner inside, meets it.
    MapSector wedge;
    wedge.vertices = {{0, 0}, {10, 0}, {0, 10}};
    wedge.indices = {0, 1, 2};
    EXPECT_FALSE(SectorOverlapsRect(wedge, {8, 8, 9, 9}));
    EXPECT_TRUE(SectorOverlapsRect(wedge, {-1, 2, 11, 3}));
    EXPECT_TRUE(SectorOverlapsRect(wedge, {1, 1, 2, 2}));

    // A corner on the diagonal shared by a square's two floor triangles is
    // found by the triangle whose near edges hold it.
    EXPECT_TRUE(SectorOverlapsRect(room, {50, 50, 50, 50}));
    EXPECT_FALSE(SectorOverlapsRect(MapSector{}, {0, 0, 1, 1}));
}

} // namespace
} // namespace mirefell
