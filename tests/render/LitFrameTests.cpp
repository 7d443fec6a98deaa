// The lit frame on llvmpipe: the composition with its point lights, bloom,
// FXAA and the brightness and contrast pass, drawn the
// way Core draws a level frame, with pixels checked against values worked
// out by hand. A white room of side 40 with the eye 30 units in front of its
// back wall (z = -20) and a 90 degree view at 320 x 180: one pixel is 1/3
// unit on that wall, and row 89 runs 1/6 unit above its centre.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RenderFixture.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/SwapChain.h"
#include "render/BrightnessContrast.h"
#include "render/Camera.h"
#include "render/DeferredRenderer.h"
#include "render/GeometryBuffer.h"
#include "render/Mesh.h"
#include "render/MeshPrimitives.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "render/SpriteBatch.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "support/RoomMesh.h"
#include "support/Screenshot.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t FrameWidth = 320;
constexpr uint32_t FrameHeight = 180;
constexpr uint32_t WallRow = 89;

class LitFrameTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        Resize(FrameWidth, FrameHeight);
        Config::GetInstance().settings = Settings{};
        Config::GetInstance().settings.ssao = -1;
        TextureRegistry::GetInstance().LoadAll();
        EffectRegistry::Initialize();
        GetCommonStates() = CreateCommonStates(Device);
        PointLights::GetInstance().Clear();
        PointLights::GetInstance().Initialize();
        postFX = std::make_unique<PostFXChain>(&camera);
        postFX->CreateDeviceResources();
        brightness.LoadShader();
        deferred = std::make_unique<DeferredRenderer>(&gbuffer, postFX.get());
        deferred->Initialize();
        CreateWindowSizeResources();

        camera.position = {0, 0, 10};
        camera.target = {0, 0, -20};
        camera.UpdateView();

        root.AddChild(InwardRoom("white", {20, 20, 20}));
        root.Update();
    }

    void TearDown() override
    {
        PointLights::GetInstance().Clear();
        PointLights::GetInstance().Release();
        deferred.reset();
        postFX.reset();
        GameStateManager::GetInstance().Reset();
        Config::GetInstance().settings = Settings{};
        RenderFixture::TearDown();
    }

    void Resize(uint32_t width, uint32_t height)
    {
        ScreenWidth = static_cast<int32_t>(width);
        ScreenHeight = static_cast<int32_t>(height);
        camera.aspectRatio = float(width) / float(height);
        camera.UpdateProjection();
        swapChain = std::make_unique<gpu::SwapChain>(*device, width, height);
    }

    void CreateWindowSizeResources()
    {
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        deferred->CreateWindowSizeResources(swapChain->GetBackBufferView());
        postFX->CreateWindowSizeResources(swapChain->GetBackBuffer(), swapChain->GetBackBufferView(),
                                          gbuffer.depthStencilView.get());
        brightness.CreateTarget(swapChain->GetBackBuffer());
    }

    PointLight& AddLight(const Vector3& at, const Color& colour, float c, float l, float q)
    {
        PointLight& light = PointLights::GetInstance().Add();
        light.enabled = 1;
        light.shaderFlag = 1;
        light.position = at;
        light.colour = colour;
        light.attenuationConstant = c;
        light.attenuationLinear = l;
        light.attenuationQuadratic = q;
        light.ComputeRange();
        return light;
    }

    // Core's level frame for this scene: clear, geometry into the G-buffer,
    // the frame constants, the deferred passes, brightness and contrast.
    void DrawFrame(bool bloom, const Color& ambient = {0, 0, 0, 1})
    {
        DrawGeometry(ambient);
        deferred->Draw(camera, bloom);
        brightness.Apply(Config::GetInstance().settings.brightness, Config::GetInstance().settings.contrast);
    }

    // The G-buffer and the frame constants of DrawFrame.
    void DrawGeometry(const Color& ambient)
    {
        gpu::RenderTargetView* backBufferView = swapChain->GetBackBufferView();
        const float black[4] = {0, 0, 0, 1};
        context->ClearRenderTargetView(backBufferView, black);
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        SetViewport(static_cast<uint32_t>(ScreenWidth), static_cast<uint32_t>(ScreenHeight));
        gbuffer.Clear();
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.LinearWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthDefault(), 0);
        context->RSSetState(states.CullClockwise());
        root.Draw(camera, {}, false, false);
        PointLights::GetInstance().PrepareFrame(camera, ambient, 0.0f, true);
    }

    Rgba8 Frame(uint32_t x, uint32_t y) { return PixelAt(swapChain->GetBackBuffer(), x, y); }

    Camera camera;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    GeometryBuffer gbuffer;
    std::unique_ptr<gpu::SwapChain> swapChain;
    std::unique_ptr<PostFXChain> postFX;
    std::unique_ptr<DeferredRenderer> deferred;
    BrightnessContrast brightness;
};

// Wall points of row 89 at columns 160, 189 and 204: 1/6, 9 5/6 and 14 5/6
// units right of the spot 10 units in front of which the light hangs.
// c = 1, l = 0, q = 0.01 (range 99.5); N.L = 10 / d and the falloff
// 1 / (1 + 0.01 d^2) - 1 / 100, so the light there is 0.48973, 0.23315 and
// 0.12748, and on screen (sRGB) 185.8, 132.6 and 100.0.
TEST_F(LitFrameTest, APointLightFallsOffAcrossTheWallAndIsComposedOntoIt)
{
    Config::GetInstance().settings.fxaa = false;
    AddLight({0, 0, -10}, {1, 0, 0, 1}, 1, 0, 0.01f); // the eye is inside its sphere
    DrawFrame(false);
    const Rgba8 centre = Frame(160, WallRow);
    EXPECT_NEAR(centre.r, 186, 3);
    EXPECT_EQ(centre.g, 0);
    EXPECT_EQ(centre.b, 0);
    EXPECT_NEAR(Frame(189, WallRow).r, 133, 3);
    EXPECT_NEAR(Frame(204, WallRow).r, 100, 3);
    EXPECT_EQ(Frame(160, WallRow).a, 255);
}

// A light whose sphere the eye is outside of: a light of range 10 (q = 1)
// 2 units in front of the wall at x = 10 lights the wall under it, once, and
// nothing 12 units away, where its sphere never reaches.
TEST_F(LitFrameTest, ALightSeenFromOutsideItsVolumeLightsOnlyWhatItReaches)
{
    const PointLight& light = AddLight({10, 0, -18}, {0, 1, 0, 1}, 0, 0, 1);
    ASSERT_FLOAT_EQ(light.range, 10.0f);
    DrawFrame(false);
    // Straight under it (1/6 off to either side): d^2 = 4.056, N.L = 0.993,
    // 1 / 4.056 - 1/100 = 0.2366, so 0.2350, on screen (sRGB) 133.1.
    EXPECT_NEAR(Frame(190, WallRow).g, 133, 3);
    EXPECT_EQ(Frame(190, WallRow).r, 0);
    EXPECT_EQ(Frame(130, WallRow).g, 0);
}

// A fixed radius of 15 without the shader flag: the light is windowed by
// (1 - d^2 / 225)^2 and wraps half-Lambert. At column 160 d^2 = 100.056,
// N.L = 0.99972: 0.30837 x 0.99986 = 0.30833, on screen 150.8; at column 189
// d^2 = 196.72, N.L = 0.71297: 0.015797 x 0.85649 = 0.01353, on screen 30.8;
// column 204 lies 17.9 away, beyond the radius.
TEST_F(LitFrameTest, AFixedRadiusLightFadesToNothingAtItsRadiusAndWrapsWithoutTheFlag)
{
    Config::GetInstance().settings.fxaa = false;
    PointLight& light = PointLights::GetInstance().Add();
    light.enabled = 1;
    light.position = {0, 0, -10};
    light.colour = {1, 0, 0, 1};
    light.useFixedRadius = 1;
    light.fixedRadius = 15.0f;
    light.ComputeRange(); // c = 1, l = q = 0: no attenuation, the window alone
    DrawFrame(false);
    EXPECT_NEAR(Frame(160, WallRow).r, 151, 2);
    EXPECT_NEAR(Frame(189, WallRow).r, 31, 2);
    EXPECT_EQ(Frame(204, WallRow).r, 0);
}

// Ambient light alone: the white wall shows the ambient colour, sRGB
// encoded (0.02 -> 39.4); a light with its enabled flag clear adds nothing.
// SSAO is asked for, but no effect exists to fill the occlusion target: its
// clear value must not black the frame out.
TEST_F(LitFrameTest, AmbientLightsEverySurfaceAndDisabledLightsNothing)
{
    Config::GetInstance().settings.ssao = 2;
    PointLight& off = AddLight({0, 0, -10}, {1, 1, 1, 1}, 1, 0, 0.01f);
    off.enabled = 0;
    DrawFrame(false, {0.02f, 0.02f, 0.02f, 1});
    const Rgba8 wall = Frame(160, WallRow);
    EXPECT_NEAR(wall.r, 39, 2);
    EXPECT_NEAR(wall.g, 39, 2);
    EXPECT_NEAR(wall.b, 39, 2);
}

// With SSAO on, the composition darkens the seam of the back wall and the
// floor (row 150; row 149 is 1/3 unit above it) and leaves the open middle
// of the wall as it was.
TEST_F(LitFrameTest, OcclusionDarkensCreasesOnly)
{
    Config::GetInstance().settings.fxaa = false;
    AddLight({0, 0, -10}, {1, 1, 1, 1}, 1, 0, 0.01f);
    DrawFrame(false, {0.05f, 0.05f, 0.05f, 0});
    const Rgba8 seamOpen = Frame(160, 149);
    const Rgba8 middleOpen = Frame(160, WallRow);
    Config::GetInstance().settings.ssao = 2;
    DrawFrame(false, {0.05f, 0.05f, 0.05f, 0});
    EXPECT_LT(Frame(160, 149).r, seamOpen.r - 5);
    EXPECT_NEAR(Frame(160, WallRow).r, middleOpen.r, 2);
}

// Every quality darkens the crease and leaves the open wall as it was.
TEST_F(LitFrameTest, OcclusionDarkensTheCreaseAtEveryQuality)
{
    Config::GetInstance().settings.fxaa = false;
    AddLight({0, 0, -10}, {1, 1, 1, 1}, 1, 0, 0.01f);
    const Color ambient{0.05f, 0.05f, 0.05f, 0};
    DrawFrame(false, ambient);
    const Rgba8 seamOpen = Frame(160, 149);
    const Rgba8 middleOpen = Frame(160, WallRow);
    for (int quality : {0, 1, 2, 3}) {
        Config::GetInstance().settings.ssao = quality;
        postFX->UpdateSsaoSettings();
        DrawFrame(false, ambient);
        EXPECT_LT(Frame(160, 149).r, seamOpen.r - 5) << "quality " << quality;
        EXPECT_NEAR(Frame(160, WallRow).r, middleOpen.r, 2) << "quality " << quality;
    }
}

// The composed frame goes through FXAA: a black block turned 30 degrees
// about the view's axis in front of the white wall, lit by a white ambient
// alone, has only black and white pixels without FXAA (one sample a pixel,
// no light that falls off); with it, its four edges, 40 pixels long and 30
// degrees off the rows or the columns, are softened to greys, at least one
// on each of the 34 columns or rows an edge crosses (40 x cos 30 degrees).
// Written to test-output/fxaa_frame.png.
TEST_F(LitFrameTest, FxaaSoftensTheSlantedEdgesOfTheComposedFrame)
{
    auto block = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(block->geometry);
    block->geometry.useTriangleColours = false;
    block->geometry.colour = {0, 0, 0, 1};
    block->position = {0, 0, -12};
    block->scale = {4, 4, 4}; // the front face 8 units wide, 18 from the eye: 40 pixels
    block->rotation = {0, 0, 0.5235988f};
    block->UpdateTransform();
    root.AddChild(std::move(block))->Update();
    auto greys = [&] {
        const std::vector<uint8_t> frame = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        int count = 0;
        for (size_t i = 0; i < frame.size(); i += 4)
            count += frame[i] > 8 && frame[i] < 247;
        return count;
    };
    const Color white{1, 1, 1, 1};
    Config::GetInstance().settings.fxaa = false;
    DrawFrame(false, white);
    EXPECT_EQ(greys(), 0);
    EXPECT_EQ(Frame(160, 90).r, 0) << "the block";
    EXPECT_GT(Frame(20, 90).r, 246) << "the wall";

    Config::GetInstance().settings.fxaa = true;
    DrawFrame(false, white);
    SaveScreenshot(*context, swapChain->GetBackBuffer(), "fxaa_frame");
    EXPECT_GE(greys(), 4 * 34);
}

// At most 100 lights a frame, those marked to go first before the others:
// a first-sweep light at the end of a list of 150 still lights the wall,
// while an ordinary light after 100 others does not.
TEST_F(LitFrameTest, AtMostOneHundredLightsAFrameTheFirstSweepPreferred)
{
    for (int i = 0; i < 150; ++i)
        AddLight({0, 0, 100}, {1, 1, 1, 1}, 1, 0, 0.01f); // behind the eye, outside the room
    PointLight& preferred = AddLight({-10, 0, -18}, {1, 0, 0, 1}, 0, 0, 1);
    preferred.drawFirst = 1;
    AddLight({10, 0, -18}, {0, 0, 1, 1}, 0, 0, 1); // the 152nd
    DrawFrame(false);
    EXPECT_GT(Frame(130, WallRow).r, 100);
    EXPECT_EQ(Frame(190, WallRow).b, 0);
}

// Bloom keeps the frame: on a scene whose surfaces are all below the bloom
// threshold it changes nothing, and over white surfaces it only adds light.
TEST_F(LitFrameTest, BloomAddsLightAndNeverHidesTheFrame)
{
    AddLight({0, 0, -10}, {1, 0, 0, 1}, 1, 0, 0.01f);
    Config::GetInstance().settings.fxaa = false;
    DrawFrame(false);
    const Rgba8 plain = Frame(160, WallRow);
    DrawFrame(true);
    const Rgba8 bloomed = Frame(160, WallRow);
    EXPECT_GE(bloomed.r, plain.r);
    EXPECT_GT(bloomed.g, 0) << "white surfaces bloom white";
    EXPECT_GT(bloomed.r + bloomed.g, plain.r);
}

// A dark scene: the colour target is black, so the extract, its blur and
// the overlay leave every pixel of the frame as it was.
TEST_F(LitFrameTest, BloomOnABlackFrameAddsNothing)
{
    const float grey[4] = {0.2f, 0.2f, 0.2f, 1.0f};
    gbuffer.Clear();
    SetViewport(FrameWidth, FrameHeight);
    context->ClearRenderTargetView(swapChain->GetBackBufferView(), grey);
    deferred->ExtractBloom();
    deferred->BlurBloom();
    const std::vector<uint8_t> frame = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    const Rgba8 before = Frame(0, 0);
    for (size_t i = 0; i < frame.size(); i += 4) {
        ASSERT_EQ(frame[i], before.r) << i / 4;
        ASSERT_EQ(frame[i + 1], before.g) << i / 4;
    }
    EXPECT_NEAR(before.r, 124, 1); // 0.2 linear, untouched
}

// The glow is added over the frame, which keeps 1 - m^2 of itself where the
// glow's brightest channel is m: half-size target A holding a flat extract
// of linear red 0.2 blurs to the same 0.2 (the weights sum to 1), added onto
// A as 0.4 with alpha 0.2^2 = 0.04; over linear grey 0.50289 (188) the
// overlay gives red 0.4 + 0.50289 x 0.96 = 0.8828 (241) and green and blue
// 0.48277 (185).
TEST_F(LitFrameTest, TheBloomOverlayAddsTheGlowAndKeepsAllButItsSquare)
{
    const float grey[4] = {0.50289f, 0.50289f, 0.50289f, 1.0f};
    const float extract[4] = {0.2f, 0.0f, 0.0f, 0.0f};
    SetViewport(FrameWidth, FrameHeight);
    context->ClearRenderTargetView(swapChain->GetBackBufferView(), grey);
    context->ClearRenderTargetView(gbuffer.halfTargetA.get(), extract);
    deferred->BlurBloom();
    const Rgba8 out = Frame(160, 90);
    EXPECT_NEAR(out.r, 241, 2);
    EXPECT_NEAR(out.g, 185, 2);
    EXPECT_NEAR(out.b, 185, 2);
}

// The glow is blurred at half size: a one-texel red line at column 40 of
// half-size target A (160 x 90) spreads through the horizontal pass into
// target B as far as the taps reach and no farther: 10 half texels away the
// tap at 9.5 reads half the line (weight 0.008765 x 0.5, linear 0.0044, on
// screen 14), 12 away the tap at 11.5 does (0.002216 x 0.5, linear 0.0011,
// on screen 4), 16 away nothing does. The vertical pass then adds its blur
// onto A, which keeps the line.
TEST_F(LitFrameTest, TheBloomIsBlurredAtHalfSizeAsFarAsItsTapsReach)
{
    const uint32_t halfWidth = FrameWidth / 2;
    const uint32_t halfHeight = FrameHeight / 2;
    std::vector<uint8_t> line(halfWidth * halfHeight * 4, 0);
    for (uint32_t y = 0; y < halfHeight; ++y)
        line[(y * halfWidth + 40) * 4] = 255;
    context->UpdateSubresource(gbuffer.halfResourceA->GetTexture(), 0, line.data(), halfWidth * 4);
    SetViewport(FrameWidth, FrameHeight);
    deferred->BlurBloom();
    const std::vector<uint8_t> b = context->ReadPixelsRGBA8(gbuffer.halfResourceB->GetTexture());
    auto red = [&](const std::vector<uint8_t>& rgba, uint32_t x) { return int(rgba[(45 * halfWidth + x) * 4]); };
    EXPECT_NEAR(red(b, 30), 14, 2);
    EXPECT_NEAR(red(b, 50), 14, 2);
    EXPECT_NEAR(red(b, 28), 4, 2);
    EXPECT_NEAR(red(b, 52), 4, 2);
    EXPECT_EQ(red(b, 24), 0);
    EXPECT_EQ(red(b, 56), 0);
    EXPECT_GT(red(b, 40), red(b, 38));
    const std::vector<uint8_t> a = context->ReadPixelsRGBA8(gbuffer.halfResourceA->GetTexture());
    EXPECT_EQ(red(a, 40), 255);
    EXPECT_NEAR(red(a, 30), 14, 3) << "the vertical blur of a vertical line is the line";
}

// Bloom comes from surfaces whose colour is near white: a white block in a
// dim brick room glows over its edges (its extract and its blurred glow),
// while the room far from it is the same with bloom and without. Written
// to test-output/bloom_block.png at 1280 x 720.
TEST_F(LitFrameTest, AWhiteBlockGlowsOverItsEdgesAndNothingElseChanges)
{
    Config::GetInstance().settings.fxaa = false;
    Resize(1280, 720);
    CreateWindowSizeResources();
    root.children.front()->textureName = "wall";
    root.children.front()->RefreshTexture();
    auto block = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(block->geometry);
    block->geometry.useTriangleColours = false;
    block->geometry.colour = {1, 1, 1, 1};
    block->position = {0, 0, -12};
    block->scale = {2, 2, 2};
    block->UpdateTransform();
    root.AddChild(std::move(block))->Update();
    AddLight({0, 5, 0}, {1, 1, 1, 1}, 1, 0, 0.002f);
    DrawFrame(false, {0.05f, 0.05f, 0.05f, 1});
    const std::vector<uint8_t> plain = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    DrawFrame(true, {0.05f, 0.05f, 0.05f, 1});
    SaveScreenshot(*context, swapChain->GetBackBuffer(), "bloom_block");
    const std::vector<uint8_t> bloomed = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    auto at = [](const std::vector<uint8_t>& rgba, uint32_t x, uint32_t y) { return rgba[(y * 1280 + x) * 4]; };
    // The block's front face (4 x 4 units, 20 units from the eye) spans
    // x 604 to 676; just outside its right edge the glow lifts the wall.
    int lifted = 0;
    for (uint32_t x = 680; x < 700; ++x)
        lifted += at(bloomed, x, 360) > at(plain, x, 360) + 8;
    EXPECT_GT(lifted, 10) << "the glow reaches past the block's edge";
    for (uint32_t x : {20u, 200u, 1100u, 1260u})
        EXPECT_NEAR(at(bloomed, x, 100), at(plain, x, 100), 2) << "far from the block at " << x;
}

// Bloom comes from the frame being drawn alone: after a white block has
// glowed in view, the camera turns to a dim wall and four more frames are
// drawn; where the block was, every one of them matches the frame without
// bloom (nothing on the wall is bright enough to bloom), so no glow stays
// behind or builds up.
TEST_F(LitFrameTest, BloomLeavesNoGlowBehindWhenTheViewTurns)
{
    Config::GetInstance().settings.fxaa = false;
    root.children.front()->textureName = "wall";
    root.children.front()->RefreshTexture();
    auto block = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(block->geometry);
    block->geometry.useTriangleColours = false;
    block->geometry.colour = {1, 1, 1, 1};
    block->position = {0, 0, -12};
    block->scale = {2, 2, 2};
    block->UpdateTransform();
    root.AddChild(std::move(block))->Update();
    AddLight({0, 5, 0}, {1, 1, 1, 1}, 1, 0, 0.002f);
    const Color ambient{0.05f, 0.05f, 0.05f, 1};
    DrawFrame(true, ambient);
    ASSERT_GT(Frame(160, 90).g, 200) << "the block is in view, white";

    camera.target = {-20, 0, 10}; // the left wall, the block out of view
    camera.UpdateView();
    DrawFrame(false, ambient);
    const std::vector<uint8_t> plain = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    for (int frame = 0; frame < 4; ++frame) {
        DrawFrame(true, ambient);
        const std::vector<uint8_t> bloomed = context->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        int stained = 0;
        for (uint32_t y = 60; y < 120; ++y)
            for (uint32_t x = 130; x < 190; ++x) {
                const size_t i = (size_t(y) * FrameWidth + x) * 4;
                stained += std::abs(int(bloomed[i + 1]) - int(plain[i + 1])) > 2;
            }
        EXPECT_EQ(stained, 0) << "frame " << frame;
    }
}

// The picture a player would see: the room with three coloured lights and
// a few blocks, every effect on (SSAO at quality 2), at 1280 x 720, written to
// test-output/lit_room.png. Lit spots are bright in their light's colour,
// the far corners stay dark.
TEST_F(LitFrameTest, ALitRoomAtFullSize)
{
    Config::GetInstance().settings.ssao = 2;
    Resize(1280, 720);
    CreateWindowSizeResources();
    camera.position = {0, -5, 15};
    camera.target = {0, -8, -20};
    camera.UpdateView();
    root.children.front()->textureName = "wall";
    root.children.front()->RefreshTexture();
    for (const auto& [at, colour] : {std::pair{Vector3(-12, -14, -12), Color(1, 0.4f, 0.1f, 1)},
                                     std::pair{Vector3(12, -10, -14), Color(0.2f, 0.5f, 1, 1)},
                                     std::pair{Vector3(0, 10, 0), Color(0.9f, 0.9f, 0.8f, 1)}}) {
        PointLight& light = AddLight(at, colour, 0, 0, 0.01f);
        light.intensity = 1.5f;
    }
    for (float x : {-8.0f, 0.0f, 8.0f}) {
        auto block = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
        BuildCubeMesh(block->geometry);
        block->geometry.useTriangleColours = false;
        block->geometry.colour = {0.6f, 0.6f, 0.6f, 1};
        block->position = {x, -17, -10 + std::abs(x) * 0.5f};
        block->scale = {2.5f, 3, 2.5f};
        block->UpdateTransform();
        root.AddChild(std::move(block))->Update();
    }
    DrawFrame(true, {0.01f, 0.01f, 0.01f, 1});
    SaveScreenshot(*context, swapChain->GetBackBuffer(), "lit_room");

    const Rgba8 warm = Frame(470, 410); // the back wall by the orange light
    EXPECT_GT(warm.r, warm.b + 40);
    const Rgba8 cool = Frame(790, 400); // the back wall by the blue light
    EXPECT_GT(cool.b, cool.r + 20);
    const Rgba8 corner = Frame(1270, 10); // far from every light
    EXPECT_LT(corner.r + corner.g + corner.b, 150);
}

} // namespace
} // namespace mirefell::testing
