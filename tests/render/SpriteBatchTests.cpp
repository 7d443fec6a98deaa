// The sprite batch on the headless GPU: placement to the pixel, source
// rectangles, mirroring, rotation about the origin, sort modes, batching by
// texture, blending, the set-up callback, the transform and long batches.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <vector>

#include "RenderFixture.h"
#include "render/SpriteBatch.h"
#include "support/GpuTest.h"

namespace mirefell::testing
{
namespace
{

class SpriteBatchTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        target = MakeTarget(gpu::Format::R8G8B8A8_UNORM);
        view = device->CreateRenderTargetView(target.get());
        gpu::RenderTargetView* views[] = {view.get()};
        context->OMSetRenderTargets(1, views, nullptr);
        SetViewport();
        const float black[4] = {0, 0, 0, 1};
        context->ClearRenderTargetView(view.get(), black);
        batch = std::make_unique<SpriteBatch>(device.get(), context);
    }

    void TearDown() override
    {
        batch.reset();
        states.reset();
        RenderFixture::TearDown();
    }

    // A texture of the given RGBA8 pixels, rows top first.
    std::shared_ptr<gpu::ShaderResourceView> Texture(uint32_t width, uint32_t height,
                                                     const std::vector<uint32_t>& pixels)
    {
        gpu::Texture2DDesc desc;
        desc.width = width;
        desc.height = height;
        desc.usage = gpu::Usage::Immutable;
        gpu::SubresourceData data{pixels.data(), width * 4};
        auto texture = device->CreateTexture2D(desc, &data);
        return device->CreateShaderResourceView(texture.get());
    }
    std::shared_ptr<gpu::ShaderResourceView> White() { return Texture(1, 1, {0xffffffffu}); }

    Rgba8 Pixel(int x, int y) { return PixelAt(target.get(), x, y); }
    gpu::CommonStates& GetStates()
    {
        if (!states)
            states = std::make_unique<gpu::CommonStates>(*device);
        return *states;
    }

    std::shared_ptr<gpu::Texture2D> target;
    std::shared_ptr<gpu::RenderTargetView> view;
    std::unique_ptr<SpriteBatch> batch;
    std::unique_ptr<gpu::CommonStates> states;
};

// Red, green, blue, white in a 2 x 2 texture (red top-left).
const std::vector<uint32_t> Quadrants = {0xff0000ffu, 0xff00ff00u, 0xffff0000u, 0xffffffffu};

TEST_F(SpriteBatchTest, DestinationRectangleCoversExactlyItsPixelsInTheTint)
{
    auto white = White();
    batch->Begin();
    batch->Draw(white.get(), gpu::Rect{10, 5, 30, 17}, Color(0.0f, 1.0f, 0.0f, 1.0f));
    batch->End();
    EXPECT_EQ(Pixel(10, 5).g, 255);
    EXPECT_EQ(Pixel(29, 16).g, 255);
    EXPECT_EQ(Pixel(29, 16).r, 0);
    EXPECT_EQ(Pixel(9, 5).g, 0);
    EXPECT_EQ(Pixel(30, 16).g, 0);
    EXPECT_EQ(Pixel(10, 4).g, 0);
    EXPECT_EQ(Pixel(10, 17).g, 0);
}

TEST_F(SpriteBatchTest, SourceRectangleScaleAndMirroring)
{
    auto quadrants = Texture(2, 2, Quadrants);
    const gpu::Rect topRow{0, 0, 2, 1};
    batch->Begin(SpriteSortMode::Deferred, nullptr, GetStates().PointClamp());
    // The top row scaled by 8: red then green, each 8 x 8.
    batch->Draw(quadrants.get(), Vector2(0, 0), &topRow, SpriteBatch::White, 0.0f, {}, 8.0f);
    // Mirrored left to right: green then red.
    batch->Draw(quadrants.get(), Vector2(0, 20), &topRow, SpriteBatch::White, 0.0f, {}, 8.0f,
                SpriteEffects::FlipHorizontally);
    // The whole texture upside down over a rectangle: blue, white on top.
    batch->Draw(quadrants.get(), gpu::Rect{40, 0, 56, 16}, nullptr, SpriteBatch::White, 0.0f, {},
                SpriteEffects::FlipVertically);
    batch->End();

    EXPECT_EQ(Pixel(3, 3).r, 255);
    EXPECT_EQ(Pixel(12, 3).g, 255);
    EXPECT_EQ(Pixel(3, 8).r, 0); // the scaled row is 8 high
    EXPECT_EQ(Pixel(3, 23).g, 255);
    EXPECT_EQ(Pixel(12, 23).r, 255);
    EXPECT_EQ(Pixel(43, 3).b, 255);
    EXPECT_EQ(Pixel(43, 3).r, 0);
    EXPECT_EQ(Pixel(52, 3).r, 255); // white
    EXPECT_EQ(Pixel(43, 12).r, 255);
    EXPECT_EQ(Pixel(43, 12).g, 0); // red below
}

TEST_F(SpriteBatchTest, RotationTurnsClockwiseAboutTheOrigin)
{
    auto quadrants = Texture(2, 2, Quadrants);
    // A 20 x 20 sprite with its origin at its centre, placed at (32, 24) and
    // turned a quarter clockwise: the red top-left quadrant moves top-right.
    batch->Begin(SpriteSortMode::Deferred, nullptr, GetStates().PointClamp(), nullptr, GetStates().CullNone());
    batch->Draw(quadrants.get(), Vector2(32, 24), nullptr, SpriteBatch::White, std::numbers::pi_v<float> / 2,
                Vector2(1, 1), 10.0f);
    batch->End();
    const Rgba8 topRight = Pixel(37, 19);
    EXPECT_EQ(topRight.r, 255);
    EXPECT_EQ(topRight.g, 0);
    const Rgba8 topLeft = Pixel(27, 19); // blue came from the bottom-left
    EXPECT_EQ(topLeft.b, 255);
    EXPECT_EQ(topLeft.r, 0);
    EXPECT_EQ(Pixel(20, 24).b, 0); // nothing outside the 20 x 20 square
}

TEST_F(SpriteBatchTest, SortModesDecideWhichSpriteEndsOnTop)
{
    auto white = White();
    const gpu::Rect area{0, 0, 8, 8};
    auto drawPair = [&](SpriteSortMode mode) {
        batch->Begin(mode, GetStates().Opaque());
        batch->Draw(white.get(), area, nullptr, Color(1, 0, 0, 1), 0.0f, {}, SpriteEffects::None, 0.2f);
        batch->Draw(white.get(), area, nullptr, Color(0, 0, 1, 1), 0.0f, {}, SpriteEffects::None, 0.8f);
        batch->End();
        return Pixel(4, 4);
    };
    EXPECT_EQ(drawPair(SpriteSortMode::Deferred).b, 255);    // last drawn wins
    EXPECT_EQ(drawPair(SpriteSortMode::Immediate).b, 255);   // the same, drawn at once
    EXPECT_EQ(drawPair(SpriteSortMode::BackToFront).r, 255); // depth 0.2 is nearer, drawn last
    EXPECT_EQ(drawPair(SpriteSortMode::FrontToBack).b, 255);
}

TEST_F(SpriteBatchTest, SpritesAreBatchedByTextureRuns)
{
    auto a = White();
    auto b = White();
    auto drawCalls = [&](SpriteSortMode mode) {
        const uint64_t before = batch->DrawCallCount();
        batch->Begin(mode);
        for (gpu::ShaderResourceView* texture : {a.get(), a.get(), b.get(), a.get(), b.get()})
            batch->Draw(texture, Vector2(1, 1));
        batch->End();
        return batch->DrawCallCount() - before;
    };
    EXPECT_EQ(drawCalls(SpriteSortMode::Deferred), 4u);
    EXPECT_EQ(drawCalls(SpriteSortMode::Texture), 2u);
    EXPECT_EQ(drawCalls(SpriteSortMode::Immediate), 5u);
}

TEST_F(SpriteBatchTest, BlendStatesTreatTheTintAsPremultipliedOrNot)
{
    auto white = White();
    const Color halfRed(1.0f, 0.0f, 0.0f, 0.5f);
    batch->Begin(); // premultiplied: red 1 is added in full
    batch->Draw(white.get(), gpu::Rect{0, 0, 8, 8}, halfRed);
    batch->End();
    batch->Begin(SpriteSortMode::Deferred, GetStates().NonPremultiplied());
    batch->Draw(white.get(), gpu::Rect{10, 0, 18, 8}, halfRed);
    batch->End();
    EXPECT_EQ(Pixel(4, 4).r, 255);
    EXPECT_NEAR(Pixel(14, 4).r, 128, 1);
}

TEST_F(SpriteBatchTest, SetUpCallbackReplacesThePixelShaderAndBindsItsOwnResources)
{
    auto quadrants = Texture(2, 2, Quadrants);
    auto extra = Texture(1, 1, {0xff804000u}); // r 0, g 0x40, b 0x80
    auto shader = PixelShader(R"(#version 330 core
layout(std140) uniform Pass_b0
{
    vec4 amount;
};
uniform sampler2D sprite_t0;
uniform sampler2D extra_t1;
in vec4 spriteColor;
in vec2 spriteTexCoord;
layout(location = 0) out vec4 Target0;
void main()
{
    // sprite red in red, the extra texture's blue in green, the constant in blue
    Target0 = vec4(texture(sprite_t0, spriteTexCoord).r, texture(extra_t1, vec2(0.5)).b, amount.x, 1.0);
}
)");
    auto constants = ConstantBuffer(16);
    const float amount[4] = {0.25f, 0, 0, 0};
    WriteConstants(constants.get(), amount, sizeof amount);
    int calls = 0;
    batch->Begin(SpriteSortMode::Immediate, GetStates().Opaque(), GetStates().PointClamp(), nullptr, nullptr, [&] {
        ++calls;
        context->PSSetShader(shader.get());
        gpu::ShaderResourceView* views[] = {extra.get()};
        context->PSSetShaderResources(1, 1, views);
        gpu::Buffer* buffers[] = {constants.get()};
        context->PSSetConstantBuffers(0, 1, buffers);
    });
    batch->Draw(quadrants.get(), gpu::Rect{0, 0, static_cast<int32_t>(Width), static_cast<int32_t>(Height)});
    batch->End();
    EXPECT_EQ(calls, 1);
    const Rgba8 topLeft = Pixel(2, 2);
    EXPECT_EQ(topLeft.r, 255);
    EXPECT_NEAR(topLeft.g, 128, 1);
    EXPECT_NEAR(topLeft.b, 64, 1);
    EXPECT_EQ(Pixel(60, 2).r, 0); // green quadrant
}

TEST_F(SpriteBatchTest, TransformMatrixMovesEverySprite)
{
    auto white = White();
    batch->Begin(SpriteSortMode::Deferred, nullptr, nullptr, nullptr, nullptr, nullptr,
                 Matrix::CreateTranslation({20.0f, 10.0f, 0.0f}));
    batch->Draw(white.get(), gpu::Rect{0, 0, 4, 4});
    batch->End();
    EXPECT_EQ(Pixel(1, 1).r, 0);
    EXPECT_EQ(Pixel(21, 11).r, 255);
    EXPECT_EQ(Pixel(24, 14).r, 0);
}

TEST_F(SpriteBatchTest, BatchesLongerThanOneBufferFillAreDrawnWhole)
{
    auto white = White();
    const int count = static_cast<int>(SpriteBatch::MaxBatchSize) + 300;
    batch->Begin(SpriteSortMode::Deferred, GetStates().Opaque());
    for (int i = 0; i < count; ++i) {
        const int x = i % static_cast<int>(Width), y = i / static_cast<int>(Width);
        batch->Draw(white.get(), gpu::Rect{x, y, x + 1, y + 1});
    }
    batch->End();
    const int last = count - 1;
    EXPECT_EQ(Pixel(last % Width, last / Width).r, 255);
    EXPECT_EQ(Pixel(SpriteBatch::MaxBatchSize % Width, SpriteBatch::MaxBatchSize / Width).r, 255);
    EXPECT_EQ(Pixel((last + 1) % Width, (last + 1) / Width).r, 0);
}

TEST_F(SpriteBatchTest, MisuseIsRefused)
{
    auto white = White();
    EXPECT_THROW(batch->End(), std::logic_error);
    EXPECT_THROW(batch->Draw(white.get(), Vector2(0, 0)), std::logic_error);
    batch->Begin();
    EXPECT_THROW(batch->Begin(), std::logic_error);
    batch->End();
    gpu::Viewport empty;
    context->RSSetViewports(1, &empty);
    batch->Begin();
    EXPECT_THROW(batch->End(), std::logic_error);
    EXPECT_FALSE(batch->IsBegun());
}

} // namespace
} // namespace mirefell::testing
