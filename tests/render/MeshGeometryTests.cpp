// MeshGeometry, the two vertex builders and the primitive shapes.
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "MeshTestSupport.h"
#include "platform/GameError.h"
#include "render/MeshGeometry.h"
#include "render/MeshPrimitives.h"
#include "render/MeshVertices.h"

namespace mirefell
{
namespace
{

using testing::ExpectVectorNear;

MeshGeometry OneTriangle(Vector3 a, Vector3 b, Vector3 c)
{
    MeshGeometry geometry;
    geometry.positions = {a, b, c};
    geometry.triangles.push_back({{1, 0, 0, 1}, 0, 1, 2, {0, 0}, {1, 0}, {0, 1}});
    return geometry;
}

TEST(MeshGeometry, AppendMovesIndicesPastThePositionsAlreadyThere)
{
    MeshGeometry cube;
    BuildCubeMesh(cube);
    cube.colour = {0.5f, 0.5f, 0.5f, 1};
    MeshGeometry other = OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    other.smoothNormals = true;

    cube.Append(other);
    ASSERT_EQ(cube.positions.size(), 39u);
    ASSERT_EQ(cube.triangles.size(), 13u);
    const MeshTriangle& appended = cube.triangles.back();
    EXPECT_EQ(std::tie(appended.a, appended.b, appended.c), std::make_tuple(36u, 37u, 38u));
    EXPECT_EQ(appended.uvB, Vector2(1, 0));
    EXPECT_EQ(cube.positions[37], Vector3(1, 0, 0));
    // The receiving geometry keeps its own flags and colour.
    EXPECT_TRUE(cube.useTriangleColours);
    EXPECT_FALSE(cube.smoothNormals);
    EXPECT_EQ(cube.colour, Vector4(0.5f, 0.5f, 0.5f, 1));
}

// A region's mesh takes its pieces one append at a time: its lists must
// grow geometrically, not to the exact size at each append (which moves the
// whole list every time and makes a large map's build quadratic).
TEST(MeshGeometry, ManyAppendsMoveTheListsOnlyAFewTimes)
{
    MeshGeometry region;
    int triangleMoves = 0;
    int positionMoves = 0;
    for (int i = 0; i < 1024; ++i) {
        const MeshTriangle* triangles = region.triangles.data();
        const Vector3* positions = region.positions.data();
        region.Append(OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
        triangleMoves += region.triangles.data() != triangles;
        positionMoves += region.positions.data() != positions;
    }
    ASSERT_EQ(region.triangles.size(), 1024u);
    EXPECT_EQ(region.triangles.back().a, 3069u);
    EXPECT_LT(triangleMoves, 32);
    EXPECT_LT(positionMoves, 32);
}

TEST(MeshGeometry, BuildersRejectATriangleNamingAMissingPosition)
{
    MeshGeometry geometry = OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    geometry.triangles.push_back({{0, 0, 0, 1}, 1, 2, 3, {}, {}, {}});
    try {
        BuildColorVertices(geometry);
        FAIL() << "index 3 of 3 positions was accepted";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "mesh triangle index out of range");
        EXPECT_NE(error.Detail().find("triangle 1"), std::string::npos) << error.Detail();
    }
    EXPECT_THROW(BuildTextureVertices(geometry), GameError);
}

TEST(MeshVertices, DegenerateTriangleGetsAZeroNormalAndAddsNothingToSmoothNormals)
{
    MeshGeometry geometry = OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    geometry.Append(OneTriangle({0, 0, 0}, {0, 0, 0}, {5, 5, 5})); // shares (0, 0, 0)
    EXPECT_EQ(BuildTextureVertices(geometry)[3].normal, Vector3(0, 0, 0));
    EXPECT_EQ(BuildColorVertices(geometry)[4].normal, Vector3(0, 0, 0));

    geometry.smoothNormals = true;
    const auto smooth = BuildColorVertices(geometry);
    EXPECT_EQ(smooth[0].normal, Vector3(0, 0, 1)); // only the real triangle counts
    EXPECT_EQ(smooth[5].normal, Vector3(0, 0, 0)); // (5, 5, 5) is only in the degenerate one
}

TEST(MeshVertices, SmoothNormalsAreSharedByEqualCoordinatesAcrossTriangles)
{
    // Two faces of a roof meeting along the x axis, each with its own
    // copies of the shared corners.
    MeshGeometry roof = OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, -1});
    roof.Append(OneTriangle({1, 0, 0}, {0, 0, 0}, {1, 1, 1}));
    roof.smoothNormals = true;
    const auto vertices = BuildColorVertices(roof);
    const Vector3 shared = Vector3(0, 2, 0).Normalized();
    ExpectVectorNear(vertices[0].normal, shared); // (0, 0, 0) in the first triangle
    ExpectVectorNear(vertices[4].normal, shared); // (0, 0, 0) in the second
    ExpectVectorNear(vertices[2].normal, Vector3(0, 1, 1).Normalized());
    EXPECT_EQ(vertices[0].tangent, Vector4(1, 1, 1, 0));

    roof.smoothNormals = false;
    ExpectVectorNear(BuildColorVertices(roof)[0].normal, Vector3(0, 1, 1).Normalized());
}

TEST(MeshVertices, FaceTangentTakesTheLongerOfNormalCrossZAndNormalCrossY)
{
    // Normal +z: n x z is zero, so the tangent is n x y = (-1, 0, 0).
    const auto facingZ = BuildColorVertices(OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    EXPECT_EQ(facingZ[0].tangent, Vector4(-1, 0, 0, 0));
    // Normal +y: n x z = (1, 0, 0) is longer than n x y = 0.
    const auto facingY = BuildColorVertices(OneTriangle({0, 0, 0}, {0, 0, 1}, {1, 0, 0}));
    EXPECT_EQ(facingY[0].normal, Vector3(0, 1, 0));
    EXPECT_EQ(facingY[0].tangent, Vector4(1, 0, 0, 0));
}

TEST(MeshVertices, ColourComesFromTheTriangleOnlyWhenTheFlagSaysSoAndPacksTruncated)
{
    MeshGeometry geometry = OneTriangle({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    geometry.triangles[0].colour = {2.0f, -1.0f, 0.999f, 1.0f};
    geometry.colour = {0, 0, 1, 0.5f};
    EXPECT_EQ(BuildColorVertices(geometry)[0].color, 0x7FFF0000u); // 0.5 -> 127, blue 255
    geometry.useTriangleColours = true;
    EXPECT_EQ(BuildColorVertices(geometry)[2].color, 0xFFFE00FFu); // red 255, green 0, blue 254
    EXPECT_EQ(PackColour({std::nanf(""), 0, 0, 0}), 0u);
}

TEST(MeshPrimitives, UnitCubeHasTwelveOutwardTrianglesOnItsSixFaces)
{
    const std::vector<Vector3> cube = BuildUnitCubeVertices();
    ASSERT_EQ(cube.size(), 36u);
    const Vector3 faces[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (size_t t = 0; t < 12; ++t) {
        const Vector3 normal = FaceNormal(cube[t * 3], cube[t * 3 + 1], cube[t * 3 + 2]);
        EXPECT_EQ(normal, faces[t / 2]) << "triangle " << t;
        for (size_t k = 0; k < 3; ++k)
            EXPECT_EQ(cube[t * 3 + k].Dot(faces[t / 2]), 1.0f) << "corner off its face, triangle " << t;
    }
}

TEST(MeshPrimitives, CubeMeshIsTheTexturedUnitCubeInTriangleColours)
{
    MeshGeometry geometry;
    geometry.smoothNormals = true;
    geometry.colour = {1, 1, 1, 1};
    geometry.positions.push_back({9, 9, 9});
    BuildCubeMesh(geometry);
    EXPECT_TRUE(geometry.useTriangleColours);
    EXPECT_FALSE(geometry.smoothNormals);
    EXPECT_EQ(geometry.colour, Vector4(0, 0, 0, 1));
    ASSERT_EQ(geometry.positions.size(), 36u);
    ASSERT_EQ(geometry.triangles.size(), 12u);
    for (uint32_t t = 0; t < 12; ++t) {
        const MeshTriangle& triangle = geometry.triangles[t];
        EXPECT_EQ(std::tie(triangle.a, triangle.b, triangle.c), std::make_tuple(3 * t, 3 * t + 1, 3 * t + 2));
        EXPECT_EQ(triangle.colour, Vector4(0, 0, 0, 1));
    }
    EXPECT_EQ(geometry.triangles[0].uvC, Vector2(0, 1));
    EXPECT_EQ(geometry.triangles[1].uvA, Vector2(1, 0));
    EXPECT_EQ(geometry.triangles[1].uvB, Vector2(1, 1));
}

TEST(MeshPrimitives, UnitSphereIsTheTwiceSubdividedOctahedronWoundOutwards)
{
    const std::vector<Vector3> sphere = BuildUnitSphereVertices();
    ASSERT_EQ(sphere.size(), 384u);
    float area = 0;
    std::set<std::tuple<float, float, float>> distinct;
    for (size_t t = 0; t < sphere.size(); t += 3) {
        const Vector3 a = sphere[t], b = sphere[t + 1], c = sphere[t + 2];
        const Vector3 cross = (b - a).Cross(c - a);
        EXPECT_GT(cross.Dot(a + b + c), 0.0f) << "triangle " << t / 3 << " faces inwards";
        area += cross.Length() / 2;
    }
    for (const Vector3& p : sphere) {
        EXPECT_NEAR(p.Length(), 1.0f, 1e-5f);
        distinct.emplace(p.x, p.y, p.z);
    }
    EXPECT_EQ(distinct.size(), 66u); // 6 + 12 + 48 vertices of the subdivided octahedron
    EXPECT_GT(area, 11.0f);          // inscribed in the sphere's 4 pi = 12.57
    EXPECT_LT(area, 12.57f);
    // The last subdivision triangle comes first: the bottom front-right
    // face's corner piece at (1, 0, 0), its corners in their own order.
    ExpectVectorNear(sphere[1], {1, 0, 0});
}

} // namespace
} // namespace mirefell
