// The math layer's conventions: row vectors, right-handed views, depth 0..1,
// rotations by the right-hand rule, and the packing of colours.
#include <cmath>

#include <gtest/gtest.h>

#include "platform/math/Math.h"

namespace mirefell
{
namespace
{

void ExpectNear(const Vector3& a, const Vector3& b, float tolerance = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, tolerance);
    EXPECT_NEAR(a.y, b.y, tolerance);
    EXPECT_NEAR(a.z, b.z, tolerance);
}

void ExpectNear(const Matrix& a, const Matrix& b, float tolerance = 1e-5f)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.m[i][j], b.m[i][j], tolerance) << "element " << i << "," << j;
}

TEST(MathVectors, NormalisingZeroGivesZeroNotNaN)
{
    EXPECT_EQ(Vector3().Normalized(), Vector3());
    EXPECT_EQ(Vector2().Normalized(), Vector2());
    EXPECT_EQ(Vector4().Normalized(), Vector4());
    ExpectNear(Vector3(3, 0, 4).Normalized(), {0.6f, 0, 0.8f});
}

TEST(MathVectors, CrossIsRightHanded)
{
    EXPECT_EQ(Vector3(1, 0, 0).Cross({0, 1, 0}), Vector3(0, 0, 1));
    EXPECT_EQ(Vector3(0, 1, 0).Cross({0, 0, 1}), Vector3(1, 0, 0));
}

TEST(MathMatrices, RowVectorsComposeLeftToRight)
{
    // Scale first, then translate: v x S x T.
    const Matrix world = Matrix::CreateScale(2.0f) * Matrix::CreateTranslation({10, 0, 0});
    ExpectNear(TransformPoint({1, 1, 1}, world), {12, 2, 2});
    EXPECT_EQ(world.Translation(), Vector3(10, 0, 0));
    // A direction ignores the translation.
    ExpectNear(TransformNormal({1, 0, 0}, world), {2, 0, 0});
}

TEST(MathMatrices, RotationsFollowTheRightHandRule)
{
    // Yaw +90 degrees about +y takes +z to +x; pitch about +x takes +y to +z;
    // roll about +z takes +x to +y.
    ExpectNear(TransformNormal({0, 0, 1}, Matrix::CreateRotationY(HalfPi)), {1, 0, 0});
    ExpectNear(TransformNormal({0, 1, 0}, Matrix::CreateRotationX(HalfPi)), {0, 0, 1});
    ExpectNear(TransformNormal({1, 0, 0}, Matrix::CreateRotationZ(HalfPi)), {0, 1, 0});
}

TEST(MathMatrices, YawPitchRollAppliesRollThenPitchThenYaw)
{
    const float yaw = 0.7f, pitch = -0.4f, roll = 1.1f;
    const Matrix expected =
        Matrix::CreateRotationZ(roll) * Matrix::CreateRotationX(pitch) * Matrix::CreateRotationY(yaw);
    ExpectNear(Matrix::CreateFromYawPitchRoll(yaw, pitch, roll), expected);
    ExpectNear(Matrix::CreateFromYawPitchRoll(Vector3(pitch, yaw, roll)), expected);
    // The quaternion form agrees with the matrix form.
    ExpectNear(Matrix::CreateFromQuaternion(Quaternion::CreateFromYawPitchRoll(yaw, pitch, roll)), expected);
    const Vector3 v{0.3f, -2.0f, 5.0f};
    ExpectNear(Rotate(v, Quaternion::CreateFromYawPitchRoll(yaw, pitch, roll)), TransformNormal(v, expected), 1e-4f);
}

TEST(MathMatrices, InverseUndoesAndSingularGivesZero)
{
    const Matrix m = Matrix::CreateScale({2, 3, 4}) * Matrix::CreateFromYawPitchRoll(0.3f, 0.2f, 0.1f) *
                     Matrix::CreateTranslation({5, -6, 7});
    ExpectNear(m * m.Inverted(), Matrix::Identity(), 1e-5f);
    ExpectNear(m.Inverted() * m, Matrix::Identity(), 1e-5f);
    EXPECT_NEAR(m.Determinant(), 24.0f, 1e-3f);
    const Matrix singular = Matrix::CreateScale({1, 0, 1});
    EXPECT_EQ(singular.Inverted().m[0][0], 0.0f);
    EXPECT_EQ(singular.Inverted().m[3][3], 0.0f);
}

TEST(MathMatrices, LookAtIsRightHanded)
{
    // A camera at z = 5 looking at the origin sees it 5 units ahead, on -z.
    const Matrix view = Matrix::CreateLookAt({0, 0, 5}, {0, 0, 0}, {0, 1, 0});
    ExpectNear(TransformPoint({0, 0, 0}, view), {0, 0, -5});
    // +x stays on the right, +y up.
    ExpectNear(TransformPoint({1, 2, 0}, view), {1, 2, -5});
    // Looking down +x from the origin: a point further along x is ahead, and
    // +z is to the right of that view.
    const Matrix side = Matrix::CreateLookAt({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    ExpectNear(TransformPoint({3, 0, 1}, side), {1, 0, -3});
}

TEST(MathMatrices, PerspectiveMapsNearToZeroAndFarToOne)
{
    const float nearZ = 0.5f, farZ = 100.0f;
    const Matrix projection = Matrix::CreatePerspectiveFieldOfView(ToRadians(90.0f), 16.0f / 9.0f, nearZ, farZ);
    const Vector4 atNear = Transform(Vector4(0, 0, -nearZ, 1), projection);
    const Vector4 atFar = Transform(Vector4(0, 0, -farZ, 1), projection);
    EXPECT_NEAR(atNear.z / atNear.w, 0.0f, 1e-6f);
    EXPECT_NEAR(atFar.z / atFar.w, 1.0f, 1e-6f);
    EXPECT_GT(atNear.w, 0.0f);
    // At 90 degrees the top of the view at distance d is at height d.
    const Vector4 top = Transform(Vector4(0, 10, -10, 1), projection);
    EXPECT_NEAR(top.y / top.w, 1.0f, 1e-5f);
    const Vector4 right = Transform(Vector4(10 * 16.0f / 9.0f, 0, -10, 1), projection);
    EXPECT_NEAR(right.x / right.w, 1.0f, 1e-5f);
}

TEST(MathMatrices, OrthographicOffCentreMapsTheBoxToClipSpace)
{
    const Matrix ortho = Matrix::CreateOrthographicOffCenter(0, 1280, 720, 0, 0, 1);
    // Screen-style: (0, 0) is the top-left corner.
    ExpectNear(TransformPoint({0, 0, 0}, ortho), {-1, 1, 0});
    ExpectNear(TransformPoint({1280, 720, -1}, ortho), {1, -1, 1});
    ExpectNear(TransformPoint({640, 360, 0}, ortho), {0, 0, 0});
}

TEST(MathPlanes, NormaliseScalesDistanceAndZeroStaysZero)
{
    const Plane p = Plane(0, 2, 0, -4).Normalized();
    EXPECT_EQ(p.normal, Vector3(0, 1, 0));
    EXPECT_FLOAT_EQ(p.d, -2.0f);
    EXPECT_FLOAT_EQ(p.DotCoordinate({7, 5, 1}), 3.0f);
    EXPECT_EQ(Plane(0, 0, 0, 3).Normalized(), Plane());
}

TEST(MathColors, PackingSaturatesAndOrdersBytes)
{
    EXPECT_EQ(Color(1, 0, 0, 1).ToRGBA(), 0xFF0000FFu);
    EXPECT_EQ(Color(1, 0, 0, 1).ToARGB(), 0xFFFF0000u);
    EXPECT_EQ(Color(2, -1, 0.5f, 0).ToRGBA(), 0x008000FFu);
    EXPECT_EQ(Color(std::nanf(""), 1, 1, 1).ToRGBA(), 0xFFFFFF00u);
    const Color unpacked = Color::FromARGB(0x80FF4000u);
    EXPECT_FLOAT_EQ(unpacked.r, 1.0f);
    EXPECT_FLOAT_EQ(unpacked.g, 64.0f / 255.0f);
    EXPECT_FLOAT_EQ(unpacked.b, 0.0f);
    EXPECT_FLOAT_EQ(unpacked.a, 128.0f / 255.0f);
    EXPECT_EQ(unpacked.ToARGB(), 0x80FF4000u);
}

TEST(MathBoxes, IntersectionIncludesTouchingFaces)
{
    const BoundingBox a = BoundingBox::FromMinMax({0, 0, 0}, {2, 2, 2});
    EXPECT_TRUE(a.Intersects(BoundingBox::FromMinMax({2, 0, 0}, {3, 1, 1})));
    EXPECT_FALSE(a.Intersects(BoundingBox::FromMinMax({2.01f, 0, 0}, {3, 1, 1})));
    EXPECT_TRUE(a.Contains({2, 2, 2}));
    EXPECT_FALSE(a.Contains({2, 2, 2.001f}));
}

} // namespace
} // namespace mirefell
