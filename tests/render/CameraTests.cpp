// Camera matrices, its culling planes and the box-in-frustum test.
#include <gtest/gtest.h>

#include "MeshTestSupport.h"
#include "render/Camera.h"
#include "render/Frustum.h"

namespace mirefell
{
namespace
{

using testing::Box;
using testing::BoxAround;
using testing::ExpectVectorNear;

enum PlaneIndex
{
    Near,
    Far,
    Left,
    Right,
    Top,
    Bottom
};

TEST(Camera, DefaultPlanesKeepTheFarAndNearQuirk)
{
    // The near row comes out as z <= far and the far row as
    // z <= -far near / (2 far + near): both bound the same side.
    const Camera camera;
    EXPECT_EQ(camera.view, Matrix::Identity()); // from the origin down -Z, Y up
    // (r - 1) with r = far / (far + near) loses digits in floats: about 1500.
    ExpectVectorNear(camera.planes[Near], {0, 0, -1, 1500}, 1.0f);
    ExpectVectorNear(camera.planes[Far], {0, 0, -1, -1500.0f * 0.1f / 3000.1f}, 1e-5f);
    // Side planes for 90 degrees vertical and 16:9: x-slopes of 9/16, y-slopes of 1.
    const float w = 0.5625f, lw = std::sqrt(1 + w * w);
    ExpectVectorNear(camera.planes[Left], {w / lw, 0, -1 / lw, 0});
    ExpectVectorNear(camera.planes[Right], {-w / lw, 0, -1 / lw, 0});
    ExpectVectorNear(camera.planes[Top], {0, -1 / std::sqrt(2.0f), -1 / std::sqrt(2.0f), 0});
    ExpectVectorNear(camera.planes[Bottom], {0, 1 / std::sqrt(2.0f), -1 / std::sqrt(2.0f), 0});
    for (const Vector4& plane : camera.planes)
        EXPECT_NEAR(plane.XYZ().Length(), 1.0f, 1e-6f);
}

TEST(Camera, CullingRejectsBoxesBehindOrBesideButNotBeyondTheFarDistance)
{
    const Camera camera;
    const auto visible = [&](const Vector3& centre) {
        const Box box = BoxAround(centre, 1);
        return IsBoxInFrustum(camera.planes, box.data());
    };
    EXPECT_TRUE(visible({0, 0, -10}));
    EXPECT_FALSE(visible({0, 0, 10}));    // behind: the side planes reject it
    EXPECT_FALSE(visible({100, 0, -10})); // far off to the right
    EXPECT_FALSE(visible({0, -50, -10})); // below
    EXPECT_TRUE(visible({0, 0, -5000}));  // past the far distance: kept, as always
    EXPECT_FALSE(visible({0, 0, 1510}));  // behind and beyond: the near row catches it
}

TEST(Camera, PlanesFollowTheViewOnlyWhenItIsRebuilt)
{
    Camera camera;
    const Box ahead = BoxAround({0, 0, 10}, 1); // behind the default camera
    EXPECT_FALSE(IsBoxInFrustum(camera.planes, ahead.data()));
    camera.target = {0, 0, 1};
    EXPECT_FALSE(IsBoxInFrustum(camera.planes, ahead.data())); // not rebuilt yet
    camera.UpdateView();
    EXPECT_TRUE(IsBoxInFrustum(camera.planes, ahead.data()));

    camera.fieldOfView = 20;
    camera.Reset(); // back to looking down -Z, the perspective values kept
    EXPECT_FALSE(IsBoxInFrustum(camera.planes, ahead.data()));
    EXPECT_EQ(camera.fieldOfView, 20.0f);
}

TEST(Frustum, BoxTouchingAPlaneFromOutsideCountsAsInside)
{
    FrustumPlanes planes;
    planes.fill({0, 1, 0, 1000}); // every plane but the first lets everything through
    planes[0] = {1, 0, 0, 0};     // x >= 0
    const Box touching = {-2, 0, 0, 0, 1, 1};
    const Box outside = {-2, 0, 0, -0.001f, 1, 1};
    EXPECT_TRUE(IsBoxInFrustum(planes, touching.data()));
    EXPECT_FALSE(IsBoxInFrustum(planes, outside.data()));
}

TEST(Frustum, BoxOutsideTwoPlanesAtACornerButWhollyOutsideNeitherIsKept)
{
    FrustumPlanes planes;
    planes.fill({0, 1, 0, 1000});
    planes[0] = {1, 0, 0, 0}; // x >= 0
    planes[1] = {0, 0, 1, 0}; // z >= 0
    // Straddles both planes, though its only corner inside each lies
    // outside the other.
    const Box box = {-1, 0, -1, 0.5f, 1, 0.5f};
    EXPECT_TRUE(IsBoxInFrustum(planes, box.data()));
}

TEST(Frustum, ContainmentIncludesTheFaces)
{
    const Box box = {0, 0, 0, 1, 2, 3};
    EXPECT_TRUE(IsPointInBox({1, 2, 3}, box.data()));
    EXPECT_TRUE(IsPointInBox({0, 1, 0}, box.data()));
    EXPECT_FALSE(IsPointInBox({0, 2.001f, 0}, box.data()));
}

} // namespace
} // namespace mirefell
