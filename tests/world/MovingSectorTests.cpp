// Door and elevator geometry, map colours and geometry records.
#include <gtest/gtest.h>

#include <cmath>

#include "MapTestData.h"
#include "world/MapColour.h"
#include "world/MovingSector.h"

namespace mirefell
{
namespace
{

Vector3 NormalOf(const MeshGeometry& geometry, const MeshTriangle& t)
{
    const Vector3 a = geometry.positions[t.a], b = geometry.positions[t.b], c = geometry.positions[t.c];
    return (b - a).Cross(c - a).Normalized();
}

// The door of the worked example: 16 x 32, floor 0, ceiling 128.
MapSector Door()
{
    MapSector door = testing::RectSector(2, 128, 48, 144, 80, true);
    door.floorTopY = 0;
    door.ceilBottomY = 128;
    door.ceilTexId = "door_under";
    door.floorTexId = "unused";
    door.sideTexId = "door_side";
    door.lightLevel = 10;
    door.lightColor = 0xFFFFFF;
    return door;
}

MapSector Elevator()
{
    MapSector lift = testing::RectSector(4, 0, 0, 40, 8);
    lift.elevator = true;
    lift.floorTopY = 0;
    lift.elevatorMaxHeight = 96;
    lift.ceilBottomY = 500; // not part of an elevator's block
    lift.floorTexId = "lift_top";
    lift.sideTexId = "lift_side";
    return lift;
}

TEST(MovingSector, DoorBlockFillsFloorToCeilingAroundItsCentre)
{
    const MapSector door = Door();
    const MovingSectorGeometry g = MovingSector::Build(door, false);
    EXPECT_EQ(g.position, Vector3(136, 64, 64));

    // Cap: at the floor, 64 below the centre, facing down, in the ceiling texture.
    EXPECT_TRUE(g.cap.textured);
    EXPECT_EQ(g.cap.textureName, "door_under");
    ASSERT_EQ(g.cap.geometry.triangles.size(), 2u);
    for (const Vector3& p : g.cap.geometry.positions)
        EXPECT_EQ(p.y, -64.0f);
    EXPECT_EQ(g.cap.geometry.positions[0], Vector3(-8, -64, -16)); // (128, 0, 48) made relative
    for (const MeshTriangle& t : g.cap.geometry.triangles)
        EXPECT_EQ(NormalOf(g.cap.geometry, t), Vector3(0, -1, 0));
    EXPECT_EQ(g.cap.geometry.triangles[0].uvA, Vector2(8, 3)); // (128, 48) / 16

    // Sides: one quad per edge spanning -64..+64, facing outward.
    EXPECT_EQ(g.side.textureName, "door_side");
    ASSERT_EQ(g.side.geometry.positions.size(), 24u);
    ASSERT_EQ(g.side.geometry.triangles.size(), 8u);
    for (const Vector3& p : g.side.geometry.positions)
        EXPECT_TRUE(p.y == 64.0f || p.y == -64.0f);
    for (size_t k = 0; k < g.side.geometry.triangles.size(); ++k) {
        const MeshTriangle& t = g.side.geometry.triangles[k];
        EXPECT_EQ(t.a, 3 * k);
        const Vector3 centre =
            (g.side.geometry.positions[t.a] + g.side.geometry.positions[t.b] + g.side.geometry.positions[t.c]) / 3.0f;
        EXPECT_GT(NormalOf(g.side.geometry, t).Dot(Vector3(centre.x, 0, centre.z)), 0.0f) << k;
    }

    // Collision: cap triangles first, then the side quads, in world coordinates.
    ASSERT_EQ(g.vertices.size(), 6u + 24u);
    EXPECT_EQ(g.vertices[0], Vector3(128, 0, 48));
    EXPECT_EQ(g.box, Box3({128, 0, 48}, {144, 128, 80}));
    EXPECT_EQ(g.halfExtents, Vector3(8, 64, 16));

    // Edge copies of the collision outline carry the block's height.
    ASSERT_EQ(g.segments.size(), 4u);
    EXPECT_EQ(g.segments[3].start, Vector2(128, 80));
    EXPECT_EQ(g.segments[3].end, Vector2(128, 48));
    for (const MapSegment& s : g.segments) {
        EXPECT_EQ(s.bottomY, 0.0f);
        EXPECT_EQ(s.topY, 128.0f);
        EXPECT_EQ(s.sectorId, 2);
    }
}

TEST(MovingSector, ElevatorBlockHangsBelowItsFloor)
{
    const MapSector lift = Elevator();
    const MovingSectorGeometry g = MovingSector::Build(lift, true);
    EXPECT_EQ(g.position, Vector3(20, -48, 4));
    EXPECT_EQ(g.cap.textureName, "lift_top");
    for (const Vector3& p : g.cap.geometry.positions)
        EXPECT_EQ(p.y, 48.0f);
    for (const MeshTriangle& t : g.cap.geometry.triangles)
        EXPECT_EQ(NormalOf(g.cap.geometry, t), Vector3(0, 1, 0));
    EXPECT_EQ(g.box.min.y, -96.0f);
    EXPECT_EQ(g.box.max.y, 0.0f);
    for (const MapSegment& s : g.segments) {
        EXPECT_EQ(s.bottomY, -96.0f);
        EXPECT_EQ(s.topY, 0.0f);
    }

    // Edge lengths 40, 8, 40, 8: 2.5 repeats round away from zero, short
    // edges show part of the texture; v is height / 16.
    const auto& triangles = g.side.geometry.triangles;
    ASSERT_EQ(triangles.size(), 8u);
    EXPECT_EQ(triangles[0].uvA, Vector2(0, 0));
    EXPECT_EQ(triangles[0].uvB, Vector2(3, 0));
    EXPECT_EQ(triangles[0].uvC, Vector2(0, -6));
    EXPECT_EQ(triangles[1].uvA, Vector2(3, 0));
    EXPECT_EQ(triangles[1].uvB, Vector2(3, -6));
    EXPECT_EQ(triangles[2].uvB.x, 0.5f);
}

TEST(MovingSector, PlainColouredSectorsUseLargerTextureSteps)
{
    MapSector lift = Elevator();
    lift.useVertexColors = true;
    lift.lightLevel = 8;
    lift.lightColor = 0xFF8000;
    const MovingSectorGeometry g = MovingSector::Build(lift, true);
    EXPECT_FALSE(g.cap.textured || g.side.textured);
    EXPECT_TRUE(g.cap.textureName.empty() && g.side.textureName.empty());
    EXPECT_EQ(g.side.geometry.triangles[0].uvB, Vector2(40.0f / 64.0f, 0)); // 40 <= 64: a fraction
    EXPECT_EQ(g.side.geometry.triangles[0].uvC, Vector2(0, -1.5f));

    // Geometry colour is the lit sector colour; triangles keep black, both flags off.
    const Vector4 colour = SectorColour(lift);
    EXPECT_EQ(g.cap.geometry.colour, colour);
    EXPECT_EQ(g.side.geometry.colour, colour);
    EXPECT_FALSE(g.cap.geometry.useTriangleColours || g.cap.geometry.smoothNormals);
    EXPECT_EQ(g.side.geometry.triangles[3].colour, Vector4(0, 0, 0, 1));
}

TEST(MovingSector, CollisionFollowsTheCollisionPolygon)
{
    // Render polygon: a square; collision polygon: a smaller triangle.
    MapSector door = Door();
    door.collisionVertices = {{130, 50}, {140, 50}, {130, 70}};
    door.collisionIndices = {0, 1, 2};
    const MovingSectorGeometry g = MovingSector::Build(door, false);
    ASSERT_EQ(g.vertices.size(), 3u + 24u);
    EXPECT_EQ(g.vertices[0], Vector3(130, 0, 50)); // door order i0, i1, i2
    EXPECT_EQ(g.segments.size(), 3u);
    EXPECT_EQ(g.segments[2].end, Vector2(130, 50));

    door.collisionVertices.clear();
    door.collisionIndices.clear();
    EXPECT_TRUE(MovingSector::EdgeSegments(door, false).empty());
    const MovingSectorGeometry lift = MovingSector::Build(door, true);
    EXPECT_EQ(lift.vertices[0], Vector3(128, 0, 48)); // side quads only now
}

TEST(MapColour, LightLevelsAndLinearColour)
{
    EXPECT_EQ(SectorLight(0), 0.25f);
    EXPECT_EQ(SectorLight(5), 0.25f);
    EXPECT_NEAR(SectorLight(8), 0.64f, 1e-6f);
    EXPECT_EQ(SectorLight(9), 0.75f);
    EXPECT_EQ(SectorLight(-20), 0.75f);
    const Vector4 white = LitMapColour(0xFFFFFF, 0.75f);
    EXPECT_NEAR(white.x, 0.531f, 1e-3f);
    EXPECT_EQ(white.x, white.z);
    EXPECT_EQ(white.w, 0.0f);
    const Vector4 mixed = LitMapColour(0x80FF0000u, 1.0f);
    EXPECT_EQ(mixed.x, 1.0f);
    EXPECT_EQ(mixed.y, 0.0f);
    EXPECT_NEAR(mixed.w, 128.0f / 255.0f, 1e-6f); // alpha is scaled, never raised to 2.2
}

TEST(MovingSectorGeometry, AppendsOntoARegionPastItsPositions)
{
    MeshGeometry region;
    region.useTriangleColours = true;
    region.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    region.triangles.push_back({{1, 0, 0, 1}, 0, 1, 2, {}, {}, {}});
    const MovingSectorGeometry door = MovingSector::Build(Door(), false);
    region.Append(door.cap.geometry);
    ASSERT_EQ(region.positions.size(), 9u);
    ASSERT_EQ(region.triangles.size(), 3u);
    EXPECT_EQ(region.triangles[2].a, 6u);
    EXPECT_EQ(region.triangles[2].c, 8u);
    EXPECT_EQ(region.triangles[2].uvA, door.cap.geometry.triangles[1].uvA);
    EXPECT_EQ(region.positions[3], door.cap.geometry.positions[0]);
    EXPECT_TRUE(region.useTriangleColours);
}

} // namespace
} // namespace mirefell
