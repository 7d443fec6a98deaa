// The particle store and its draw: stable addresses and reused nodes, the
// instance lists (visible particles only, a thousand per shape, the record
// layout), and the two instanced draws on llvmpipe, written to
// test-output/particles.png.
#include <gtest/gtest.h>

#include <memory>

#include "RenderFixture.h"
#include "platform/gpu/CommonStates.h"
#include "render/Camera.h"
#include "render/ParticleSystem.h"
#include "support/AllocationCounter.h"
#include "support/Screenshot.h"

namespace mirefell::testing
{
namespace
{

TEST(ParticleStore, ErasedParticlesLeaveTheOthersInPlaceAndTheirNodesAreReused)
{
    ParticleSystem store;
    Particle& first = store.AddParticle();
    Particle& middle = store.AddParticle();
    Particle& last = store.AddParticle();
    first.position = {1, 0, 0};
    last.position = {3, 0, 0};
    middle.dead = true;
    middle.colour = {1, 0, 0, 1};
    store.RemoveDead();
    ASSERT_EQ(store.particles.size(), 2u);
    EXPECT_EQ(&store.particles.front(), &first);
    EXPECT_EQ(&store.particles.back(), &last);

    // A reused node comes back with the defaults.
    Particle& again = store.AddParticle();
    EXPECT_FALSE(again.dead);
    EXPECT_TRUE(again.visible);
    EXPECT_EQ(again.colour, Color(1, 1, 1, 1));
    EXPECT_EQ(again.scale, Vector3(1, 1, 1));
    EXPECT_EQ(&store.particles.back(), &again);

    // Bursts that come and go, and a level load, allocate nothing.
    const uint64_t before = AllocationCount();
    for (int burst = 0; burst < 20; ++burst) {
        for (int i = 0; i < 200; ++i)
            store.AddParticle().dead = (i % 2 == 0);
        store.RemoveDead();
    }
    store.Clear();
    store.AddParticle();
    EXPECT_EQ(AllocationCount(), before);
    EXPECT_EQ(store.particles.size(), 1u);
}

TEST(ParticleStore, InstanceListsTakeTheFirstThousandVisibleParticlesOfEachShape)
{
    ParticleSystem store;
    for (int i = 0; i < 1500; ++i) {
        Particle& cube = store.AddParticle();
        cube.position = {float(i), 0, 0};
        cube.visible = (i != 10); // one hidden: the thousandth drawn is particle 1000
    }
    Particle& ball = store.AddParticle();
    ball.shape = ParticleShapeSphere;
    ball.position = {1, 2, 3};
    ball.scale = {2, 2, 2};
    ball.colour = {0.25f, 0.5f, 0.75f, 1};

    store.BuildInstances();
    ASSERT_EQ(store.cubeInstances.size(), ParticleSystem::MaxInstancesPerShape);
    EXPECT_EQ(store.cubeInstances[10].worldTransposed.m[0][3], 11.0f);
    EXPECT_EQ(store.cubeInstances[999].worldTransposed.m[0][3], 1000.0f);

    // Scaled by 2 and moved to (1, 2, 3): the world matrix's columns in turn.
    ASSERT_EQ(store.sphereInstances.size(), 1u);
    const ParticleInstanceRecord& record = store.sphereInstances[0];
    const float expected[4][4] = {{2, 0, 0, 1}, {0, 2, 0, 2}, {0, 0, 2, 3}, {0, 0, 0, 1}};
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(record.worldTransposed.m[row][column], expected[row][column]) << row << ", " << column;
    EXPECT_EQ(record.colour, Vector4(0.25f, 0.5f, 0.75f, 1));
}

// A 160 x 90 picture seen from 10 units in front of the origin.
class ParticleDrawTest : public RenderFixture
{
protected:
    static constexpr uint32_t PictureWidth = 160;
    static constexpr uint32_t PictureHeight = 90;

    void SetUp() override
    {
        RenderFixture::SetUp();
        GetCommonStates() = CreateCommonStates(device.get());
        target = MakeTarget(gpu::Format::R8G8B8A8_UNORM_SRGB, PictureWidth, PictureHeight);
        depth = MakeDepth(PictureWidth, PictureHeight);
        targetView = device->CreateRenderTargetView(target.get());
        depthView = device->CreateDepthStencilView(depth.get());
        camera.position = {0, 0, 10};
        camera.target = {0, 0, 0};
        camera.fieldOfView = 60;
        camera.aspectRatio = float(PictureWidth) / float(PictureHeight);
        camera.UpdateView();
        camera.UpdateProjection();
        store.Create();
    }

    void Clear()
    {
        const float black[4] = {0, 0, 0, 1};
        context->ClearRenderTargetView(targetView.get(), black);
        context->ClearDepthStencilView(depthView.get(), gpu::ClearDepth, 1.0f, 0);
        gpu::RenderTargetView* views[] = {targetView.get()};
        context->OMSetRenderTargets(1, views, depthView.get());
        SetViewport(PictureWidth, PictureHeight);
    }

    Particle& Add(uint8_t shape, Vector3 position, float size, Color colour)
    {
        Particle& particle = store.AddParticle();
        particle.shape = shape;
        particle.position = position;
        particle.scale = Vector3(size);
        particle.colour = colour;
        return particle;
    }

    Rgba8 At(uint32_t x, uint32_t y) { return PixelAt(target.get(), x, y); }

    std::shared_ptr<gpu::Texture2D> target;
    std::shared_ptr<gpu::Texture2D> depth;
    std::shared_ptr<gpu::RenderTargetView> targetView;
    std::shared_ptr<gpu::DepthStencilView> depthView;
    Camera camera;
    ParticleSystem store;
};

// At the origin's depth the picture spans x from -10.26 to 10.26: x = -3
// falls on column 57, x = 3 on column 103; y = 0 on row 45.
TEST_F(ParticleDrawTest, CubesAndSpheresAreDrawnInTheirColoursAndHiddenOnesAreNot)
{
    Add(ParticleShapeCube, {-3, 0, 0}, 2, {1, 0, 0, 1});
    Add(ParticleShapeSphere, {3, 0, 0}, 1.5f, {0, 1, 0, 1});
    Add(ParticleShapeCube, {0, 0, 0}, 2, {0, 0, 1, 1}).visible = false;
    Add(ParticleShapeCube, {0, 3, 0}, 2, {1, 1, 1, 1}).dead = true;
    Clear();
    store.Draw(camera);
    SaveScreenshot(*context, target.get(), "particles");

    const Rgba8 cube = At(57, 45);
    EXPECT_EQ(cube.r, 255);
    EXPECT_EQ(cube.g + cube.b, 0);
    const Rgba8 sphere = At(103, 45);
    EXPECT_EQ(sphere.g, 255);
    EXPECT_EQ(sphere.r + sphere.b, 0);
    const Rgba8 hidden = At(80, 45);
    EXPECT_EQ(hidden.r + hidden.g + hidden.b, 0);
    const Rgba8 erased = At(80, 22); // y = 3
    EXPECT_EQ(erased.r + erased.g + erased.b, 0);
    EXPECT_EQ(store.particles.size(), 3u);
    // Their sizes: the cube (its near face 9 units away) spans columns 45 to
    // 63, the sphere about 92 to 121.
    EXPECT_EQ(At(42, 45).r, 0);
    EXPECT_EQ(At(66, 45).r, 0);
    EXPECT_EQ(At(88, 45).g, 0);
    EXPECT_EQ(At(125, 45).g, 0);
    EXPECT_EQ(context->OMGetDepthStencilState(nullptr), GetCommonStates()->DepthDefault());
}

TEST_F(ParticleDrawTest, NothingVisibleSetsNothingAndTheParticlesOutliveTheDevice)
{
    Particle& cube = Add(ParticleShapeCube, {0, 0, 0}, 2, {1, 0, 0, 1});
    cube.visible = false;
    Clear();
    gpu::BlendState* blend = GetCommonStates()->AlphaBlend();
    context->OMSetBlendState(blend, nullptr, 0xFFFFFFFF);
    store.Draw(camera);
    EXPECT_EQ(context->OMGetBlendState(nullptr, nullptr), blend);
    EXPECT_EQ(At(80, 45).r, 0);

    cube.visible = true;
    store.Release();
    store.Draw(camera); // no device objects: nothing drawn
    EXPECT_EQ(At(80, 45).r, 0);
    store.Create();
    store.Draw(camera);
    EXPECT_EQ(At(80, 45).r, 255);
}

} // namespace
} // namespace mirefell::testing
