// Ray, triangle and swept-box tests.
#include <gtest/gtest.h>

#include <vector>

#include "world/Intersections.h"
#include "world/MapData.h"

namespace mirefell
{
namespace
{

TEST(Intersections, BoundsOfPointLists)
{
    const std::vector<Vector2> points = {{3, -1}, {-2, 4}, {0, 0}};
    EXPECT_EQ(BoundingRectOfPoints(points), MapRect(-2, -1, 3, 4));
    EXPECT_EQ(BoundingRectOfPoints(std::vector<Vector2>{}), MapRect{});
    Box3 box;
    box = BoundingBoxFromPoints(box, {1, 2, 3});
    EXPECT_EQ(box, Box3({1, 2, 3}, {1, 2, 3}));
    box = BoundingBoxFromPoints(box, {-1, 5, 0});
    EXPECT_EQ(box, Box3({-1, 2, 0}, {1, 5, 3}));
}

TEST(Intersections, RayAgainstBoxReportsEntryOrExit)
{
    const Box3 box{{0, 0, 0}, {2, 2, 2}};
    Vector3 point;
    ASSERT_TRUE(RayIntersectsBox({{-1, 1, 1}, {1, 0, 0}}, box, point));
    EXPECT_EQ(point, Vector3(0, 1, 1));
    ASSERT_TRUE(RayIntersectsBox({{3, 1.5f, 0.5f}, {-1, 0, 0}}, box, point));
    EXPECT_EQ(point, Vector3(2, 1.5f, 0.5f));
    ASSERT_TRUE(RayIntersectsBox({{1, 1, 1}, {0, 0, -1}}, box, point)); // from inside: the exit
    EXPECT_EQ(point, Vector3(1, 1, 0));
    const Vector3 diagonal = Vector3(1, 1, 1).Normalized();
    ASSERT_TRUE(RayIntersectsBox({{-1, -1, -1}, diagonal}, box, point));
    EXPECT_NEAR(point.x, 0.0f, 1e-5f);
    EXPECT_NEAR(point.z, 0.0f, 1e-5f);

    point = {9, 9, 9};
    EXPECT_FALSE(RayIntersectsBox({{-1, 1, 1}, {-1, 0, 0}}, box, point)); // pointing away
    EXPECT_FALSE(RayIntersectsBox({{-1, 3, 1}, {1, 0, 0}}, box, point));  // parallel, beside it
    EXPECT_FALSE(RayIntersectsBox({{-1, 1, 5}, {1, 0, 0}}, box, point));  // beside it in z
    EXPECT_EQ(point, Vector3(9, 9, 9));
}

TEST(Intersections, RayAgainstTriangleIsOneSided)
{
    // Normal (b - a) x (c - a) = +z.
    const Vector3 a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0};
    Vector3 point;
    ASSERT_TRUE(RayIntersectsTriangle({{0.25f, 0.25f, 5}, {0, 0, -1}}, a, b, c, point));
    EXPECT_EQ(point, Vector3(0.25f, 0.25f, 0));
    ASSERT_TRUE(RayIntersectsTriangle({{0.5f, 0.5f, 1e4f}, {0, 0, -1}}, a, b, c, point)); // edge, far away
    EXPECT_EQ(point, Vector3(0.5f, 0.5f, 0));
    ASSERT_TRUE(RayIntersectsTriangle({{0.2f, 0.2f, 1}, Vector3(0.1f, 0.1f, -1).Normalized()}, a, b, c, point));
    EXPECT_NEAR(point.x, 0.3f, 1e-5f);
    EXPECT_NEAR(point.z, 0.0f, 1e-5f);

    EXPECT_FALSE(RayIntersectsTriangle({{0.25f, 0.25f, -5}, {0, 0, 1}}, a, b, c, point));  // back face
    EXPECT_FALSE(RayIntersectsTriangle({{0.25f, 0.25f, 5}, {0, 0, 1}}, a, b, c, point));   // away
    EXPECT_FALSE(RayIntersectsTriangle({{0.25f, 0.25f, -5}, {0, 0, -1}}, a, b, c, point)); // plane behind
    EXPECT_FALSE(RayIntersectsTriangle({{0.8f, 0.8f, 5}, {0, 0, -1}}, a, b, c, point));    // beside it
    EXPECT_FALSE(RayIntersectsTriangle({{0.25f, 0.25f, 5}, {1, 0, 0}}, a, b, c, point));   // parallel
}

TEST(Intersections, BoxSweptAgainstWallStopsAtItsFrontOnly)
{
    // The wall from (0, 10) to (10, 10) faces -y.
    const Vector2 start{0, 10}, end{10, 10};
    const MapRect box{4, 4, 6, 6};
    SweepHit hit = SweepBoxAgainstSegment(box, {5, 5}, {5, 15}, start, end);
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(hit.point, Vector2(5, 9)); // the box's top touches the wall
    EXPECT_FLOAT_EQ(hit.distance, 4.0f);
    EXPECT_EQ(hit.normal, Vector2(0, -1));

    hit = SweepBoxAgainstSegment(box, {5, 5}, {8, 11}, start, end); // diagonal approach
    ASSERT_TRUE(hit.hit);
    EXPECT_NEAR(hit.point.x, 7.0f, 1e-5f);
    EXPECT_NEAR(hit.point.y, 9.0f, 1e-5f);

    MapSegment reversed;
    reversed.start = end;
    reversed.end = start;
    EXPECT_FALSE(SweepBoxAgainstSegment(box, {5, 5}, {5, 15}, reversed).hit);                // from behind
    EXPECT_FALSE(SweepBoxAgainstSegment(box, {5, 5}, {5, 7}, start, end).hit);               // stops short
    EXPECT_FALSE(SweepBoxAgainstSegment(box, {5, 5}, {9, 5}, start, end).hit);               // parallel
    EXPECT_FALSE(SweepBoxAgainstSegment({20, 4, 22, 6}, {21, 5}, {21, 15}, start, end).hit); // past its end
    const SweepHit none = SweepBoxAgainstSegment(box, {5, 5}, {5, 3}, start, end);           // moving away
    EXPECT_FALSE(none.hit);
    EXPECT_EQ(none.distance, 0.0f);
}

TEST(Intersections, BoxSweptAgainstBox)
{
    const Box3 box{{0, 0, 0}, {2, 2, 2}};
    const Vector3 from{1, 1, 1};
    Vector3 position;
    // Would pass through the other box within the move: stops where it first touches.
    ASSERT_TRUE(SweepBoxAgainstBox(box, from, {11, 1, 1}, {{5, 0, 0}, {7, 2, 2}}, position));
    EXPECT_FLOAT_EQ(position.x, 4.0f);
    EXPECT_EQ(position.y, 1.0f);
    ASSERT_TRUE(SweepBoxAgainstBox(box, from, {11, 1, 1}, {{1, 1, 1}, {3, 3, 3}}, position)); // overlapping now
    EXPECT_EQ(position, from);
    ASSERT_TRUE(SweepBoxAgainstBox(box, from, {4, 1, 1}, {{4, 0, 0}, {9, 2, 2}}, position)); // overlapping at the end
    EXPECT_EQ(position, Vector3(4, 1, 1));

    // Moving the other way along every axis.
    ASSERT_TRUE(SweepBoxAgainstBox(box, from, {-9, -9, -9}, {{-5, -5, -5}, {-3, -3, -3}}, position));
    EXPECT_FLOAT_EQ(position.x, -2.0f);
    ASSERT_TRUE(SweepBoxAgainstBox(box, from, {1, 1, -9}, {{0, 0, -5}, {2, 2, -3}}, position));
    EXPECT_FLOAT_EQ(position.z, -2.0f);

    EXPECT_FALSE(SweepBoxAgainstBox(box, from, {11, 1, 1}, {{5, 5, 0}, {7, 7, 2}}, position));   // beside the path
    EXPECT_FALSE(SweepBoxAgainstBox(box, from, {11, 1, 1}, {{-7, 0, 0}, {-5, 2, 2}}, position)); // behind
    EXPECT_FALSE(SweepBoxAgainstBox(box, from, {3, 1, 1}, {{8, 0, 0}, {9, 2, 2}}, position));    // out of reach
}

} // namespace
} // namespace mirefell
