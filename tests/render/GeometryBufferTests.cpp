// The G-buffer: target sizes and formats (odd sizes, a 1-pixel window), the
// clears of every target, the depth buffer left alone by Clear, and new
// views after a resize.
#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "render/GeometryBuffer.h"

namespace mirefell::testing
{
namespace
{

using GeometryBufferTest = RenderFixture;

TEST_F(GeometryBufferTest, TargetsTakeTheScreenSizeAndHalvesRoundDownButNotToZero)
{
    struct Case
    {
        int32_t width, height;
        uint32_t halfWidth, halfHeight;
    };
    for (const Case& c : {Case{1365, 767, 682, 383}, Case{64, 48, 32, 24}, Case{1, 1, 1, 1}, Case{1, 9, 1, 4}}) {
        ScreenWidth = c.width;
        ScreenHeight = c.height;
        GeometryBuffer gbuffer;
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        for (const auto& texture : gbuffer.textures) {
            EXPECT_EQ(texture->Desc().width, uint32_t(c.width));
            EXPECT_EQ(texture->Desc().height, uint32_t(c.height));
        }
        for (const auto* half : {gbuffer.halfResourceA.get(), gbuffer.halfResourceB.get()}) {
            EXPECT_EQ(half->GetTexture()->Desc().width, c.halfWidth) << c.width;
            EXPECT_EQ(half->GetTexture()->Desc().height, c.halfHeight) << c.height;
        }
        EXPECT_EQ(gbuffer.depthStencilView->GetTexture()->Desc().width, uint32_t(c.width));
    }
    GeometryBuffer gbuffer;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    EXPECT_EQ(gbuffer.textures[GeometryBuffer::ColourIndex]->Desc().format, gpu::Format::R8G8B8A8_UNORM_SRGB);
    EXPECT_EQ(gbuffer.textures[GeometryBuffer::NormalIndex]->Desc().format, gpu::Format::R8G8B8A8_SNORM);
    EXPECT_EQ(gbuffer.textures[GeometryBuffer::LightIndex]->Desc().format, gpu::Format::R16G16B16A16_FLOAT);
    EXPECT_EQ(gbuffer.textures[GeometryBuffer::OcclusionIndex]->Desc().format, gpu::Format::R8G8B8A8_UNORM_SRGB);
    for (const auto* half : {gbuffer.halfResourceA.get(), gbuffer.halfResourceB.get()})
        EXPECT_EQ(half->GetTexture()->Desc().format, gpu::Format::R8G8B8A8_UNORM_SRGB);
    EXPECT_EQ(gbuffer.depthResourceView->Desc().format, gpu::Format::R24_UNORM_X8_TYPELESS);
}

// Clear resets every target a frame writes: the four full-size ones to
// opaque black, the two half-size ones to transparent black (the bloom
// blends into target A, so a stale one would keep the last frame's glow),
// with the colour and normal targets bound together as the geometry passes
// bind them; the depth is left alone.
TEST_F(GeometryBufferTest, ClearResetsEveryTargetAndLeavesTheDepth)
{
    GeometryBuffer gbuffer;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    const float grey[4] = {0.5f, 0.25f, 0.75f, 0.5f};
    for (const auto& view : gbuffer.renderTargetViews)
        context->ClearRenderTargetView(view.get(), grey);
    context->ClearRenderTargetView(gbuffer.halfTargetA.get(), grey);
    context->ClearRenderTargetView(gbuffer.halfTargetB.get(), grey);
    context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth, 0.5f, 0);
    gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[0].get(), gbuffer.renderTargetViews[1].get()};
    context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());

    gbuffer.Clear();
    auto expectCleared = [](const std::vector<float>& pixels, float alpha, const char* what) {
        EXPECT_EQ(pixels[0], 0.0f) << what;
        EXPECT_EQ(pixels[1], 0.0f) << what;
        EXPECT_EQ(pixels[2], 0.0f) << what;
        EXPECT_EQ(pixels[3], alpha) << what;
        EXPECT_EQ(pixels[pixels.size() - 1], alpha) << what;
    };
    for (int index = 0; index < 4; ++index)
        expectCleared(context->ReadPixelsFloat(gbuffer.textures[index].get()), 1.0f, "full size");
    expectCleared(context->ReadPixelsFloat(gbuffer.halfResourceA->GetTexture()), 0.0f, "half A");
    expectCleared(context->ReadPixelsFloat(gbuffer.halfResourceB->GetTexture()), 0.0f, "half B");
    EXPECT_NEAR(context->ReadDepth(gbuffer.depthStencilView->GetTexture())[0], 0.5f, 1e-4f);
}

TEST_F(GeometryBufferTest, ResizeMakesNewViewsAndReleaseEmptiesEverything)
{
    GeometryBuffer gbuffer;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    const uint64_t oldColour = gbuffer.renderTargetViews[0]->Id();
    const uint64_t oldDepth = gbuffer.depthResourceView->Id();
    ScreenWidth = 80;
    ScreenHeight = 60;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    EXPECT_NE(gbuffer.renderTargetViews[0]->Id(), oldColour);
    EXPECT_NE(gbuffer.depthResourceView->Id(), oldDepth);
    EXPECT_EQ(gbuffer.textures[0]->Desc().width, 80u);

    gbuffer.Release();
    for (int index = 0; index < 4; ++index) {
        EXPECT_FALSE(gbuffer.textures[index]);
        EXPECT_FALSE(gbuffer.renderTargetViews[index]);
        EXPECT_FALSE(gbuffer.shaderResourceViews[index]);
    }
    EXPECT_FALSE(gbuffer.halfTargetA || gbuffer.halfResourceA || gbuffer.halfTargetB || gbuffer.halfResourceB);
    EXPECT_FALSE(gbuffer.depthStencilView || gbuffer.depthResourceView);
    EXPECT_EQ(device->LiveObjectCount(), 0u);
}

} // namespace
} // namespace mirefell::testing
