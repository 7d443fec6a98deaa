// The ellipsoid sweep against hand-made triangles: sliding, one-sided
// faces, the gravity pass, stopping at the first contact, and degenerate
// input that must fall out as "no contact" rather than NaN positions.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "world/Collision.h"
#include "world/GridObject.h"

namespace mirefell
{
namespace
{

struct Tri
{
    GridObject* owner;
    Vector3 a, b, c;
};

TriangleSource SourceOf(const std::vector<Tri>& triangles)
{
    return TriangleSource([&triangles](TriangleVisitor visit) {
        for (const Tri& t : triangles)
            visit(t.owner, t.a, t.b, t.c, 0);
    });
}

// A large square in the plane x = at whose front faces -X (facing = -1) or
// +X (facing = +1).
void AddWallX(std::vector<Tri>& out, GridObject* owner, float at, float facing)
{
    const Vector3 p0{at, -100, -100}, p1{at, 100, -100}, p2{at, -100, 100}, p3{at, 100, 100};
    // (p1 - p0) x (p2 - p0) points along +X.
    if (facing < 0) {
        out.push_back({owner, p0, p2, p1});
        out.push_back({owner, p1, p2, p3});
    } else {
        out.push_back({owner, p0, p1, p2});
        out.push_back({owner, p1, p3, p2});
    }
}

// A horizontal square at height y over x in [x0, x1], facing up or down.
void AddSlab(std::vector<Tri>& out, GridObject* owner, float y, float x0, float x1, bool up)
{
    const Vector3 p0{x0, y, -100}, p1{x0, y, 100}, p2{x1, y, -100}, p3{x1, y, 100};
    // (p1 - p0) x (p2 - p0) points up.
    if (up) {
        out.push_back({owner, p0, p1, p2});
        out.push_back({owner, p2, p1, p3});
    } else {
        out.push_back({owner, p0, p2, p1});
        out.push_back({owner, p2, p3, p1});
    }
}

const Vector3 Body{3.0f, 7.0f, 3.0f};

class CollisionTest : public ::testing::Test
{
protected:
    GridObject wall{nullptr, "0", nullptr};
    GridObject other{nullptr, "0", nullptr};
    GridObject floor{nullptr, "2", nullptr};
    std::vector<Tri> triangles;
};

TEST_F(CollisionTest, AnAngledMoveIntoAWallSlidesAlongItKeepingTheTangentialPart)
{
    AddWallX(triangles, &wall, 5.0f, -1.0f);
    const Vector3 start{0, 10, 0};
    Vector3 end = start + Vector3(4, 0, 3);
    const CollisionResult result = Collision::Slide(start, end, 0.0f, Body, SourceOf(triangles));

    EXPECT_EQ(end, result.position);
    // Kept 0.005 ellipsoid units (times the cosine of the approach) off the
    // wall, the whole sideways part of the move kept.
    EXPECT_NEAR(end.x, 5.0f - 3.0f - 0.015f * 0.8f, 1e-4f);
    EXPECT_NEAR(end.z, 3.0f, 1e-5f);
    EXPECT_FLOAT_EQ(end.y, 10.0f);
    EXPECT_EQ(result.hitObject, &wall);
    EXPECT_NEAR(result.hitNormal.x, -1.0f, 1e-6f);
    EXPECT_FALSE(result.movedUp);

    // Straight into it: stops 0.005 (ellipsoid space) short.
    end = start + Vector3(4, 0, 0);
    Collision::Slide(start, end, 0.0f, Body, SourceOf(triangles));
    EXPECT_NEAR(end.x, 5.0f - 3.0f * 1.005f, 1e-4f);
    EXPECT_FLOAT_EQ(end.z, 0.0f);
}

TEST_F(CollisionTest, TrianglesSeenFromBehindDoNotBlock)
{
    AddWallX(triangles, &wall, 5.0f, +1.0f);
    const Vector3 start{0, 10, 0};
    Vector3 end{10, 10, 0};
    const CollisionResult result = Collision::Slide(start, end, 0.0f, Body, SourceOf(triangles));
    EXPECT_EQ(end, Vector3(10, 10, 0));
    EXPECT_FALSE(result.collided);
    EXPECT_EQ(result.hitObject, nullptr);

    // The same wall blocks the way back.
    Vector3 back{0, 10, 0};
    Collision::Slide(end, back, 0.0f, Body, SourceOf(triangles));
    EXPECT_GT(back.x, 5.0f);
}

TEST_F(CollisionTest, TheNearestContactWinsEqualOnesKeepTheFirstAndSweepsStopThere)
{
    AddWallX(triangles, &other, 9.0f, -1.0f);
    AddWallX(triangles, &wall, 6.0f, -1.0f);
    const Vector3 start{0, 10, 0};
    Vector3 end{10, 10, 0};
    CollisionResult result = Collision::SweepToContact(start, end, Body, SourceOf(triangles));
    EXPECT_EQ(result.hitObject, &wall);
    EXPECT_NEAR(end.x, 6.0f - 3.0f * 1.005f, 1e-4f);

    triangles.clear();
    AddWallX(triangles, &other, 6.0f, -1.0f);
    AddWallX(triangles, &wall, 6.0f, -1.0f);
    end = {10, 10, 0};
    result = Collision::SweepToContact(start, end, Body, SourceOf(triangles));
    EXPECT_EQ(result.hitObject, &other);

    // Stopping at the contact keeps to the line of an angled move.
    end = {4, 10, 3};
    result = Collision::SweepToContact(start, end, Body, SourceOf(triangles));
    EXPECT_TRUE(result.collided);
    EXPECT_NEAR(end.x, 6.0f - 3.0f, 0.02f);
    EXPECT_NEAR(end.z / end.x, 0.75f, 1e-4f);
}

TEST_F(CollisionTest, TheGravityPassLandsOnFloorsAndANegativeOneMeetsCeilings)
{
    AddSlab(triangles, &floor, 0.0f, -100, 100, true);
    AddSlab(triangles, &wall, 20.0f, -100, 100, false);

    // Falling from high up: moves 1.5 x gravity and touches nothing.
    Vector3 end{0, 15, 0};
    CollisionResult result = Collision::Slide({0, 15, 0}, end, 2.0f, Body, SourceOf(triangles));
    EXPECT_FLOAT_EQ(end.y, 12.0f);
    EXPECT_FALSE(result.collided);

    // Close to the floor: lands on it.
    end = {1, 8, 0};
    result = Collision::Slide({0, 8, 0}, end, 2.0f, Body, SourceOf(triangles));
    EXPECT_TRUE(result.collided);
    EXPECT_EQ(result.hitObject, &floor);
    EXPECT_NEAR(result.hitNormal.y, 1.0f, 1e-6f);
    EXPECT_NEAR(end.y, 7.0f * 1.005f, 1e-4f);
    EXPECT_FLOAT_EQ(end.x, 1.0f);

    // A jump (negative gravity) stops under the ceiling.
    end = {0, 10, 0};
    result = Collision::Slide({0, 10, 0}, end, -5.0f, Body, SourceOf(triangles));
    EXPECT_TRUE(result.collided);
    EXPECT_EQ(result.hitObject, &wall);
    EXPECT_NEAR(end.y, 20.0f - 7.0f * 1.005f, 1e-4f);

    // No gravity pass at all with a scale of 0.
    end = {0, 10, 0};
    result = Collision::Slide({0, 10, 0}, end, 0.0f, Body, SourceOf(triangles));
    EXPECT_FLOAT_EQ(end.y, 10.0f);
    EXPECT_FALSE(result.collided);
}

TEST_F(CollisionTest, SlidingUpAStepEdgeSkipsTheGravityPass)
{
    // Floor at 0, a 2-unit step at x = 5 (its riser faces -X).
    AddSlab(triangles, &floor, 0.0f, -100, 5, true);
    AddSlab(triangles, &other, 2.0f, 5, 100, true);
    const Vector3 r0{5, 0, -100}, r1{5, 2, -100}, r2{5, 0, 100}, r3{5, 2, 100};
    triangles.push_back({&wall, r0, r2, r1});
    triangles.push_back({&wall, r1, r2, r3});

    const Vector3 start{2.6f, 7.035f, 0};
    Vector3 withGravity = start + Vector3(1.25f, 0, 0);
    const CollisionResult result = Collision::Slide(start, withGravity, 0.5f, Body, SourceOf(triangles));
    Vector3 withoutGravity = start + Vector3(1.25f, 0, 0);
    Collision::Slide(start, withoutGravity, 0.0f, Body, SourceOf(triangles));

    EXPECT_TRUE(result.movedUp);
    EXPECT_GT(withGravity.y, start.y);
    EXPECT_EQ(withGravity, withoutGravity);

    // On the flat the same move is followed by the gravity pass.
    Vector3 flat{-20, 7.035f, 0};
    const CollisionResult walking = Collision::Slide({-21.25f, 7.035f, 0}, flat, 0.5f, Body, SourceOf(triangles));
    EXPECT_FALSE(walking.movedUp);
    EXPECT_TRUE(walking.collided);
    EXPECT_EQ(walking.hitObject, &floor);
}

TEST_F(CollisionTest, ABodyWalkingUpAStepTouchesItsEdgeOnEveryClimbingMoveButARisingOneDoesNot)
{
    // Floor at 0, a 4-unit step at x = 5 (its riser faces -X).
    AddSlab(triangles, &floor, 0.0f, -100, 5, true);
    AddSlab(triangles, &other, 4.0f, 5, 100, true);
    const Vector3 r0{5, 0, -100}, r1{5, 4, -100}, r2{5, 0, 100}, r3{5, 4, 100};
    triangles.push_back({&wall, r0, r2, r1});
    triangles.push_back({&wall, r1, r2, r3});

    // Walking at 1.25 a move, pressed down as a body on its feet is (0.5):
    // the body slides up the edge over several moves, and each of them is a
    // contact that moved up, though the slide's last pass ran free.
    Vector3 position{-5, 7.035f, 0};
    int climbingMoves = 0;
    for (int i = 0; i < 20; ++i) {
        Vector3 end = position + Vector3(1.25f, 0, 0);
        const CollisionResult result = Collision::Slide(position, end, 0.5f, Body, SourceOf(triangles));
        if (end.y > position.y + 1e-3f) {
            ++climbingMoves;
            EXPECT_TRUE(result.movedUp) << "move " << i;
            EXPECT_TRUE(result.collided) << "move " << i;
        }
        position = end;
    }
    EXPECT_GE(climbingMoves, 2);
    EXPECT_NEAR(position.y, 4.0f + 7.0f * 1.005f, 1e-3f); // standing on the step

    // The same slide over the edge during a jump (a negative scale) is no
    // floor contact: the jump goes on.
    const Vector3 start{2.6f, 7.035f, 0};
    Vector3 end = start + Vector3(1.25f, 0, 0);
    const CollisionResult rising = Collision::Slide(start, end, -4.75f, Body, SourceOf(triangles));
    EXPECT_TRUE(rising.movedUp);
    EXPECT_FALSE(rising.collided);
}

TEST_F(CollisionTest, DegenerateInputGivesFinitePositions)
{
    AddSlab(triangles, &floor, 0.0f, -100, 100, true);

    // Standing still without gravity: exactly where it was, no contact.
    Vector3 end{0, 10, 0};
    CollisionResult result = Collision::Slide({0, 10, 0}, end, 0.0f, Body, SourceOf(triangles));
    EXPECT_EQ(end, Vector3(0, 10, 0));
    EXPECT_FALSE(result.collided);

    // Already resting on the floor, standing still: stays, reports the floor.
    end = {0, 7.035f, 0};
    result = Collision::Slide({0, 7.035f, 0}, end, 0.5f, Body, SourceOf(triangles));
    EXPECT_NEAR(end.y, 7.035f, 1e-4f);
    EXPECT_TRUE(result.collided);

    // A triangle shrunk to a point has no face, but its corner still stops
    // the body like any corner.
    triangles.push_back({&wall, {2, 10, 0}, {2, 10, 0}, {2, 10, 0}});
    end = {10, 10, 0};
    result = Collision::Slide({-10, 10, 0}, end, 0.0f, Body, SourceOf(triangles));
    EXPECT_TRUE(std::isfinite(end.x) && std::isfinite(end.y) && std::isfinite(end.z));
    EXPECT_NEAR(end.x, 2.0f - 3.0f * 1.005f, 1e-3f);
    EXPECT_EQ(result.hitObject, &wall);
}

} // namespace
} // namespace mirefell
