// The screen regions of the lit composition and the lights listed for each:
// the layout at a window size, the lists for lights worked out by hand, and
// the promise the composition relies on: a light that reaches a visible
// point is listed for the region of that point's pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "render/Camera.h"
#include "render/LightGrid.h"

namespace mirefell
{
namespace
{

// 1280 x 720, the eye at the origin looking down -z, 90 degrees of view
// vertically: a point at depth 10 and height h lands 36 h pixels below the
// middle row; horizontally the half-width at depth 10 is 17.78 units.
struct GridView
{
    GridView()
    {
        camera.position = {0, 0, 0};
        camera.target = {0, 0, -1};
        camera.aspectRatio = 1280.0f / 720.0f;
        camera.UpdateView();
        camera.UpdateProjection();
        grid.Resize(1280, 720);
    }

    void Build(const std::vector<LightGrid::Sphere>& lights)
    {
        grid.Build(camera.view, camera.projection, camera.nearPlane, lights);
    }

    std::vector<uint32_t> RegionsOf(uint8_t light) const
    {
        std::vector<uint32_t> regions;
        for (uint32_t region = 0; region < grid.RegionCount(); ++region)
            for (uint8_t listed : grid.RegionLights(region))
                if (listed == light)
                    regions.push_back(region);
        return regions;
    }

    Camera camera;
    LightGrid grid;
};

TEST(LightGrid, RegionsTileTheWindowTheLastOnesTakingWhatIsLeft)
{
    LightGrid grid;
    grid.Resize(1280, 720);
    ASSERT_EQ(grid.Columns(), 10);
    ASSERT_EQ(grid.Rows(), 6); // 5 x 128 + 80
    const gpu::Rect last = grid.RegionRect(grid.RegionCount() - 1);
    EXPECT_EQ(last.left, 1152);
    EXPECT_EQ(last.top, 640);
    EXPECT_EQ(last.right, 1280);
    EXPECT_EQ(last.bottom, 720);
    const gpu::Rect second = grid.RegionRect(1);
    EXPECT_EQ(second.left, 128);
    EXPECT_EQ(second.top, 0);
    EXPECT_EQ(second.right, 256);
    EXPECT_EQ(second.bottom, 128);

    grid.Resize(0, 0); // a window never has less than one pixel
    ASSERT_EQ(grid.RegionCount(), 1u);
    EXPECT_EQ(grid.RegionRect(0).right, 1);
    EXPECT_EQ(grid.RegionRect(0).bottom, 1);
}

// A light of radius 1 at depth 10 straight ahead spans pixels 604 to 676
// across and 324 to 396 down (36 each way): the two middle columns of the
// third and fourth rows, which meet at pixel row 384. One
// behind the eye is listed nowhere; one around the eye everywhere. Lists
// keep the order of the lights.
TEST(LightGrid, ALightIsListedWhereItsSphereMeetsTheViewAndNowhereElse)
{
    GridView view;
    view.Build({{{0, 0, -10}, 1.0f}, {{0, 0, 5}, 2.0f}, {{0.5f, -0.5f, 0.5f}, 3.0f}, {{0, 0, -10}, 1.0f}});
    EXPECT_EQ(view.RegionsOf(0), (std::vector<uint32_t>{24, 25, 34, 35}));
    EXPECT_TRUE(view.RegionsOf(1).empty());
    EXPECT_EQ(view.RegionsOf(2).size(), view.grid.RegionCount());
    const std::span<const uint8_t> middle = view.grid.RegionLights(24);
    EXPECT_EQ(std::vector<uint8_t>(middle.begin(), middle.end()), (std::vector<uint8_t>{0, 2, 3}));

    // A light off to the right at the screen's edge reaches only the last
    // column: x = 17.78 at depth 10 is the right edge, 1 unit of radius is
    // 36 pixels.
    view.Build({{{17.78f + 0.5f, 0, -10}, 1.0f}});
    for (uint32_t region : view.RegionsOf(0))
        EXPECT_EQ(static_cast<int32_t>(region) % view.grid.Columns(), 9) << region;
    EXPECT_FALSE(view.RegionsOf(0).empty());
}

// Random lights and random visible points within their reach: the region
// of the point's pixel always lists the light.
TEST(LightGrid, EveryLightThatReachesAVisiblePointIsListedForItsPixel)
{
    GridView view;
    view.camera.position = {3, 2, 1};
    view.camera.target = {-4, 0, -9};
    view.camera.UpdateView();
    std::mt19937 random(11);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const Matrix viewProjection = view.camera.view * view.camera.projection;
    const Matrix toWorld = viewProjection.Inverted();
    int checked = 0;
    for (int round = 0; round < 50; ++round) {
        std::vector<LightGrid::Sphere> lights;
        std::vector<Vector3> points;
        for (int i = 0; i < 100; ++i) {
            // A visible point at a random pixel and depth, and a light whose
            // sphere reaches it.
            const float x = unit(random) * 2.0f - 1.0f;
            const float y = unit(random) * 2.0f - 1.0f;
            const float depth = 0.9f + 0.0999f * unit(random);
            const Vector3 point = TransformPoint(Vector3(x, y, depth), toWorld);
            const float radius = 0.2f + 30.0f * unit(random);
            const Vector3 offset(unit(random) - 0.5f, unit(random) - 0.5f, unit(random) - 0.5f);
            lights.push_back({point + offset.Normalized() * (radius * 0.999f * unit(random)), radius});
            points.push_back(point);
        }
        view.Build(lights);
        for (uint8_t light = 0; light < lights.size(); ++light) {
            const Vector3 clip = TransformPoint(points[light], viewProjection);
            const int32_t px = std::clamp(static_cast<int32_t>((clip.x + 1.0f) * 640.0f), 0, 1279);
            const int32_t py = std::clamp(static_cast<int32_t>((1.0f - clip.y) * 360.0f), 0, 719);
            const uint32_t region =
                static_cast<uint32_t>((py / LightGrid::RegionSize) * view.grid.Columns() + px / LightGrid::RegionSize);
            const std::span<const uint8_t> listed = view.grid.RegionLights(region);
            ASSERT_NE(std::find(listed.begin(), listed.end(), light), listed.end())
                << "round " << round << " light " << int(light) << " pixel " << px << ", " << py;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 5000);
}

} // namespace
} // namespace mirefell
