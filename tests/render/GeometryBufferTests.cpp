// The G-buffer: target sizes and formats (odd sizes, a 1-pixel window), the
// clears of every target through multiple-target binding, the depth buffer
// left alone by Clear, and new views after a resize.
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
    EXPECT_EQ(gbuffer.depthResourceView->Desc().format, gpu::Format::R24_UNORM_X8_TYPELESS);
}

// Clear resets the colour and normal targets, the ones a frame reads before
// it writes them, and leaves the rest (written whole before any read) and
// the depth alone.
TEST_F(GeometryBufferTest, ClearResetsTheColourAndNormalTargetsAndNothingElse)
{
    GeometryBuffer gbuffer;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    // Dirty everything first, with the colour and normal targets bound
    // together as the geometry passes bind them.
    const float grey[4] = {0.5f, 0.25f, 0.75f, 0.5f};
    for (const auto& view : gbuffer.renderTargetViews)
        context->ClearRenderTargetView(view.get(), grey);
    context->ClearRenderTargetView(gbuffer.halfTargetA.get(), grey);
    context->ClearRenderTargetView(gbuffer.halfTargetB.get(), grey);
    context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth, 0.5f, 0);
    gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[0].get(), gbuffer.renderTargetViews[1].get()};
    context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());

    gbuffer.Clear();
    for (int index : {GeometryBuffer::ColourIndex, GeometryBuffer::NormalIndex}) {
        const std::vector<float> pixels = context->ReadPixelsFloat(gbuffer.textures[index].get());
        EXPECT_EQ(pixels[0], 0.0f) << index;
        EXPECT_EQ(pixels[1], 0.0f) << index;
        EXPECT_EQ(pixels[2], 0.0f) << index;
        EXPECT_EQ(pixels[3], 1.0f) << index;
        EXPECT_EQ(pixels[pixels.size() - 1], 1.0f) << index;
    }
    // Still the grey (stored sRGB-encoded in the sRGB targets).
    for (int index : {GeometryBuffer::LightIndex, GeometryBuffer::OcclusionIndex})
        EXPECT_GT(context->ReadPixelsFloat(gbuffer.textures[index].get())[0], 0.4f) << index;
    for (const auto* half : {gbuffer.halfResourceA.get(), gbuffer.halfResourceB.get()})
        EXPECT_GT(context->ReadPixelsFloat(half->GetTexture())[0], 0.4f);
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
