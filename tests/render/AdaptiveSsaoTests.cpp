// The adaptive SSAO: its per-pass constants, its texture sizes and memory,
// the compile-failure report, and the picture it draws at every quality
// level over a corner of two walls in a real G-buffer, written to
// test-output/ssao_corner_quality<N>_on.png and _off.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "RenderFixture.h"
#include "platform/gpu/CommonStates.h"
#include "render/ASSAOConstants.h"
#include "render/ASSAODX11.h"
#include "render/Camera.h"
#include "render/GeometryBuffer.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "render/ReadData.h"
#include "render/ShaderErrorReport.h"
#include "shell/GameStateManager.h"
#include "support/AllocationCounter.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"

namespace mirefell::testing
{
namespace
{

using gpu::Format;

Camera CornerCamera(float aspect)
{
    Camera camera;
    camera.position = {4.0f, 1.5f, 4.0f};
    camera.target = {0.0f, 1.0f, 0.0f};
    camera.up = {0.0f, 1.0f, 0.0f};
    camera.aspectRatio = aspect;
    camera.UpdateView();
    camera.UpdateProjection();
    return camera;
}

TEST(AdaptiveSsaoConstants, FollowTheCameraTheSettingsAndThePass)
{
    const Camera camera = CornerCamera(16.0f / 9.0f);
    ASSAO_Inputs inputs;
    inputs.projectionMatrix = camera.projection;
    SsaoSettings settings;
    settings.radius = 1.0f;
    settings.fadeOutFrom = 1000.0f;
    settings.fadeOutTo = 1500.0f;
    const ASSAOSizes sizes = ASSAOSizes::ForViewport(1279, 719);
    EXPECT_EQ(sizes.halfWidth, 640);
    EXPECT_EQ(sizes.halfHeight, 360);
    EXPECT_EQ(sizes.quarterWidth, 320);
    EXPECT_EQ(sizes.quarterHeight, 180);
    EXPECT_EQ(sizes.importanceMipLevels, 9u); // 320 160 80 40 20 10 5 2 1

    ASSAOConstants c{};
    FillASSAOConstants(c, settings, inputs, sizes, 3);
    // A point 10 units in front of the camera, through the projection and
    // back: stored depth z/w, then the unpack.
    const Vector4 clip = Transform(Vector4(0.0f, 0.0f, -10.0f, 1.0f), camera.projection);
    const float stored = clip.z / clip.w;
    EXPECT_NEAR(c.depthUnpackConsts[0] / (c.depthUnpackConsts[1] - stored), 10.0f, 0.001f);
    // 90 degrees vertically: tan 45 = 1; horizontally the aspect ratio.
    EXPECT_NEAR(c.ndcToViewMul[0], 2.0f * 16.0f / 9.0f, 1e-4f);
    EXPECT_NEAR(c.ndcToViewMul[1], -2.0f, 1e-4f);
    EXPECT_NEAR(c.ndcToViewAdd[1], 1.0f, 1e-4f);
    // Fade 1 at 1000, 0 at 1500.
    EXPECT_NEAR(1000.0f * c.effectFadeOutMul + c.effectFadeOutAdd, 1.0f, 1e-4f);
    EXPECT_NEAR(1500.0f * c.effectFadeOutMul + c.effectFadeOutAdd, 0.0f, 1e-4f);
    // Layer 3 is the bottom-right pixel of each 2 x 2 block.
    EXPECT_EQ(c.perPassFullResCoordOffset[0], 1);
    EXPECT_EQ(c.perPassFullResCoordOffset[1], 1);
    EXPECT_EQ(c.importanceAverageLevel, 8.0f);
    EXPECT_NEAR(c.effectShadowStrength, 4.3f, 1e-5f);

    // Layer 0, first rotation: angle 0, scale 1 + (-1.5 - 2/5) * 0.07 = 0.867.
    FillASSAOConstants(c, settings, inputs, sizes, 0);
    EXPECT_NEAR(c.patternRotScaleMatrices[0][0], 0.867f, 1e-5f);
    EXPECT_NEAR(c.patternRotScaleMatrices[0][3], -0.867f, 1e-5f);
    EXPECT_NEAR(c.effectSamplingRadiusNearLimitRec, 1.0f / 1.2f, 1e-4f);
    // The lowest quality widens the near limit by half; 7 counts as 3.
    settings.qualityLevel = 0;
    FillASSAOConstants(c, settings, inputs, sizes, 0);
    EXPECT_NEAR(c.effectSamplingRadiusNearLimitRec, 1.0f / 1.8f, 1e-4f);
    settings.qualityLevel = 7;
    FillASSAOConstants(c, settings, inputs, sizes, 0);
    EXPECT_NEAR(c.effectSamplingRadiusNearLimitRec, 1.0f / 1.2f, 1e-4f);
}

class AdaptiveSsaoTest : public RenderFixture
{
protected:
    static constexpr int32_t PictureWidth = 160;
    static constexpr int32_t PictureHeight = 120;

    void SetUp() override
    {
        RenderFixture::SetUp();
        states = std::make_unique<gpu::CommonStates>(*device);
        source = ReadData(L"assets/shaders/ASSAO.glsl");
    }

    void TearDown() override
    {
        effect.reset();
        RenderFixture::TearDown();
    }

    bool CreateEffect(const std::vector<uint8_t>& text)
    {
        const ASSAO_CreateDescDX11 desc(device.get(), text.data(), text.size());
        effect = std::make_unique<ASSAODX11>(desc);
        return effect->InitializeDX();
    }

    ASSAO_InputsDX11 Inputs(const Camera& camera, int32_t width, int32_t height, gpu::ShaderResourceView* depth)
    {
        ASSAO_InputsDX11 inputs;
        inputs.scissorRight = inputs.viewportWidth = width;
        inputs.scissorBottom = inputs.viewportHeight = height;
        inputs.projectionMatrix = camera.projection;
        inputs.drawOpaque = true;
        inputs.deviceContext = context;
        inputs.depthSRV = depth;
        return inputs;
    }

    // Two 6 x 3 walls meeting at the y axis (x = 0 and z = 0) over a floor,
    // seen from (4, 1.5, 4): the seam runs down the middle of the picture.
    void DrawCorner(GeometryBuffer& gbuffer, const Camera& camera)
    {
        const char* vs = R"(#version 330 core
layout(std140) uniform Scene_b0 { layout(row_major) mat4 viewProjection; };
in vec3 SV_Position0;
in vec4 COLOR0;
out vec4 colour;
void main() { gl_Position = vec4(SV_Position0, 1.0) * viewProjection; colour = COLOR0; }
)";
        const char* ps = R"(#version 330 core
in vec4 colour;
layout(location = 0) out vec4 Target0;
void main() { Target0 = colour; }
)";
        struct Vertex
        {
            float x, y, z, r, g, b, a;
        };
        std::vector<Vertex> vertices;
        auto quad = [&](Vector3 a, Vector3 b, Vector3 c, Vector3 d, float grey) {
            for (const Vector3& p : {a, b, c, a, c, d})
                vertices.push_back({p.x, p.y, p.z, grey, grey, grey, 1.0f});
        };
        quad({0, 0, 0}, {0, 3, 0}, {0, 3, 6}, {0, 0, 6}, 0.8f); // the wall x = 0
        quad({0, 0, 0}, {6, 0, 0}, {6, 3, 0}, {0, 3, 0}, 0.7f); // the wall z = 0
        quad({0, 0, 0}, {0, 0, 6}, {6, 0, 6}, {6, 0, 0}, 0.5f); // the floor

        auto shader = VertexShader(vs);
        auto pixel = PixelShader(ps);
        auto layout =
            Layout({{"SV_Position", 0, Format::R32G32B32_FLOAT}, {"COLOR", 0, Format::R32G32B32A32_FLOAT}}, vs);
        auto buffer = VertexBuffer(vertices.data(), static_cast<uint32_t>(vertices.size() * sizeof(Vertex)));
        auto constants = ConstantBuffer(64);
        const Matrix viewProjection = camera.view * camera.projection;
        WriteConstants(constants.get(), &viewProjection, sizeof viewProjection);

        gbuffer.Clear();
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1, 0);
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get()};
        context->OMSetRenderTargets(1, targets, gbuffer.depthStencilView.get());
        SetViewport(PictureWidth, PictureHeight);
        gpu::Buffer* buffers[] = {buffer.get()};
        const uint32_t stride = sizeof(Vertex), offset = 0;
        context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        context->IASetInputLayout(layout.get());
        context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        context->VSSetShader(shader.get());
        context->PSSetShader(pixel.get());
        gpu::Buffer* vsConstants[] = {constants.get()};
        context->VSSetConstantBuffers(0, 1, vsConstants);
        context->RSSetState(states->CullNone());
        context->OMSetDepthStencilState(states->DepthDefault(), 0);
        context->OMSetBlendState(states->Opaque(), nullptr, 0xffffffff);
        context->Draw(static_cast<uint32_t>(vertices.size()), 0);
    }

    // The lit picture as the composition would make it from colour and
    // occlusion; without SSAO the occlusion counts as 1 everywhere.
    std::shared_ptr<gpu::Texture2D> Compose(GeometryBuffer& gbuffer, bool withOcclusion)
    {
        const char* vs = R"(#version 330 core
void main()
{
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? -3.0 : 1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";
        const std::string ps = std::string(R"(#version 330 core
uniform sampler2D colour_t0;
uniform sampler2D occlusion_t1;
layout(location = 0) out vec4 Target0;
void main()
{
    ivec2 at = ivec2(gl_FragCoord.xy);
    float ao = )") + (withOcclusion ? "texelFetch(occlusion_t1, at, 0).r" : "1.0") +
                               R"(;
    Target0 = vec4(texelFetch(colour_t0, at, 0).rgb * ao, 1.0);
}
)";
        auto picture = MakeTarget(Format::R8G8B8A8_UNORM_SRGB, PictureWidth, PictureHeight);
        auto pictureView = device->CreateRenderTargetView(picture.get());
        gpu::RenderTargetView* targets[] = {pictureView.get()};
        context->OMSetRenderTargets(1, targets, nullptr);
        gpu::ShaderResourceView* inputs[] = {gbuffer.shaderResourceViews[GeometryBuffer::ColourIndex].get(),
                                             gbuffer.shaderResourceViews[GeometryBuffer::OcclusionIndex].get()};
        context->PSSetShaderResources(0, 2, inputs);
        auto shader = VertexShader(vs);
        auto pixel = PixelShader(ps);
        context->IASetInputLayout(nullptr);
        context->VSSetShader(shader.get());
        context->PSSetShader(pixel.get());
        context->OMSetDepthStencilState(states->DepthNone(), 0);
        context->Draw(3, 0);
        return picture;
    }

    std::unique_ptr<gpu::CommonStates> states;
    std::vector<uint8_t> source;
    std::unique_ptr<ASSAODX11> effect;
};

class AdaptiveSsaoQualityTest : public AdaptiveSsaoTest, public ::testing::WithParamInterface<int>
{};

TEST_P(AdaptiveSsaoQualityTest, TheCornerSeamIsDarkerWithOcclusionAndFlatWallsAreNot)
{
    ScreenWidth = PictureWidth;
    ScreenHeight = PictureHeight;
    GeometryBuffer gbuffer;
    gbuffer.Create();
    gbuffer.CreateDepthBuffer();
    const Camera camera = CornerCamera(float(PictureWidth) / float(PictureHeight));
    DrawCorner(gbuffer, camera);
    ASSERT_TRUE(CreateEffect(source));

    // The occlusion target bound alone, as the deferred renderer binds it,
    // and a view in slot 4 that the effect must put back.
    gpu::RenderTargetView* occlusion[] = {gbuffer.renderTargetViews[GeometryBuffer::OcclusionIndex].get()};
    context->OMSetRenderTargets(1, occlusion, nullptr);
    gpu::ShaderResourceView* kept[] = {gbuffer.shaderResourceViews[GeometryBuffer::LightIndex].get()};
    context->PSSetShaderResources(4, 1, kept);
    SetViewport(PictureWidth, PictureHeight);
    SsaoSettings settings; // as the post-processing chain sets them on the title screen
    settings.radius = 1.0f;
    settings.horizonAngleThreshold = 0.1f;
    settings.fadeOutFrom = 1000.0f;
    settings.fadeOutTo = 1500.0f;
    settings.adaptiveQualityLimit = 0.5f;
    settings.blurPassCount = 1;
    settings.qualityLevel = GetParam();
    const ASSAO_InputsDX11 inputs = Inputs(camera, PictureWidth, PictureHeight, gbuffer.depthResourceView.get());
    // Every quality computes the four layers (occlusion and one blur each;
    // quality 3 a base pass for each first) and puts them together in one
    // apply pass, the non-smart one at quality 0.
    std::map<ASSAODX11::PixelShaderId, int> passes;
    effect->SetPassObserver([&passes](ASSAODX11::PixelShaderId shader) { ++passes[shader]; });
    effect->Draw(settings, &inputs);
    effect->SetPassObserver({});
    const int quality = GetParam();
    EXPECT_EQ(passes[static_cast<ASSAODX11::PixelShaderId>(ASSAODX11::PSGenerateQ0 + quality)], 4);
    EXPECT_EQ(passes[ASSAODX11::PSGenerateQ3Base], quality == 3 ? 4 : 0);
    EXPECT_EQ(passes[ASSAODX11::PSNonSmartBlur] + passes[ASSAODX11::PSSmartBlur] + passes[ASSAODX11::PSSmartBlurWide],
              4);
    EXPECT_EQ(passes[ASSAODX11::PSApply], quality == 0 ? 0 : 1);
    EXPECT_EQ(passes[ASSAODX11::PSNonSmartApply], quality == 0 ? 1 : 0);
    EXPECT_EQ(passes[ASSAODX11::PSPrepareDepthsAndNormals], 1);
    // Again: the second frame runs on the textures made and cleared by the
    // first, and allocates nothing.
    const uint64_t allocations = AllocationCount();
    effect->Draw(settings, &inputs);
    EXPECT_EQ(AllocationCount(), allocations);
    EXPECT_EQ(context->OMGetRenderTarget(0), occlusion[0]);
    EXPECT_EQ(context->PSGetShaderResource(4), kept[0]);
    EXPECT_EQ(context->RSGetViewport().width, float(PictureWidth));

    const std::string name = "ssao_corner_quality" + std::to_string(GetParam());
    const auto on = Compose(gbuffer, true);
    const auto off = Compose(gbuffer, false);
    SaveScreenshot(*context, on.get(), name + "_on");
    SaveScreenshot(*context, off.get(), name + "_off");
    auto Red = [this](const std::shared_ptr<gpu::Texture2D>& picture, int x, int y) {
        return PixelAt(picture.get(), uint32_t(x), uint32_t(y)).r;
    };
    // The seam is the middle column; at 40 pixels to either side the walls
    // are flat and more than a radius away from the other wall.
    const int y = PictureHeight / 2;
    int seamOn = 255;
    for (int x = PictureWidth / 2 - 2; x <= PictureWidth / 2 + 1; ++x)
        seamOn = std::min(seamOn, Red(on, x, y));
    const int seamOff = Red(off, PictureWidth / 2, y);
    EXPECT_LT(seamOn, seamOff - 30) << "no occlusion at the seam";
    for (int x : {PictureWidth / 2 - 40, PictureWidth / 2 + 40})
        EXPECT_GE(Red(on, x, y), Red(off, x, y) - 6) << "a flat wall darkened at x = " << x;

    // No pixel pattern shows through: the pixels of each 2 x 2 position (one per layer) are
    // on average as dark as the picture.
    const std::vector<float> ao = context->ReadPixelsFloat(gbuffer.textures[GeometryBuffer::OcclusionIndex].get());
    double layerMean[4] = {};
    for (int yy = 0; yy < PictureHeight; ++yy)
        for (int xx = 0; xx < PictureWidth; ++xx)
            layerMean[(yy % 2) * 2 + xx % 2] += 255.0 * ao[(size_t(yy) * PictureWidth + xx) * 4];
    const double overall = (layerMean[0] + layerMean[1] + layerMean[2] + layerMean[3]) / 4;
    for (double mean : layerMean)
        EXPECT_NEAR(mean / (PictureWidth * PictureHeight / 4), overall / (PictureWidth * PictureHeight / 4), 1.0)
            << "a layer stands out";

    // Quality 7 is drawn as quality 3.
    if (GetParam() == 3) {
        settings.qualityLevel = 7;
        effect->Draw(settings, &inputs);
        const auto seven = Compose(gbuffer, true);
        EXPECT_EQ(context->ReadPixelsRGBA8(seven.get()), context->ReadPixelsRGBA8(on.get()));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryQualityLevel, AdaptiveSsaoQualityTest, ::testing::Values(0, 1, 2, 3));

TEST_F(AdaptiveSsaoTest, TexturesFollowTheViewportSizeDownToOnePixel)
{
    ASSERT_TRUE(CreateEffect(source));
    int major = 0;
    int minor = 0;
    effect->GetVersion(major, minor);
    EXPECT_EQ(major, 1);
    EXPECT_EQ(minor, 0);
    EXPECT_EQ(effect->GetAllocatedMemory(), 0u);
    const Camera camera = CornerCamera(1.0f);
    ASSAO_InputsDX11 inputs = Inputs(camera, 8, 8, nullptr);
    // 8 x 8: half 4 x 4, quarter 2 x 2. Depth layers 4 x (16 + 4 + 1 + 1)
    // texels of 2 bytes = 176; two blur surfaces 2 x 16 x 2 = 64; four
    // result layers 4 x 16 x 2 = 128; four normals layers 4 x 16 x 4 = 256;
    // importance chain 4 + 1 and its partner 4. Total 633.
    effect->AllocateResources(&inputs);
    EXPECT_EQ(effect->GetAllocatedMemory(), 633u);
    // 1279 x 719 takes 640 x 360 and 320 x 180 surfaces.
    inputs = Inputs(camera, 1279, 719, nullptr);
    effect->AllocateResources(&inputs);
    EXPECT_GT(effect->GetAllocatedMemory(), 1279u * 719u * 4u);

    // The smallest windows still draw: a flat wall seen head-on is lit.
    for (uint32_t side : {1u, 2u, 3u}) {
        auto depth = MakeDepth(side, side);
        auto depthTarget = device->CreateDepthStencilView(depth.get());
        context->ClearDepthStencilView(depthTarget.get(), gpu::ClearDepth, 0.99f, 0);
        gpu::ShaderResourceViewDesc depthDesc;
        depthDesc.format = Format::R24_UNORM_X8_TYPELESS;
        auto depthView = device->CreateShaderResourceView(depth.get(), &depthDesc);
        auto output = MakeTarget(Format::R8G8B8A8_UNORM, side, side);
        auto outputView = device->CreateRenderTargetView(output.get());
        gpu::RenderTargetView* targets[] = {outputView.get()};
        context->OMSetRenderTargets(1, targets, nullptr);
        for (int quality = 0; quality <= 3; ++quality) {
            SsaoSettings settings;
            settings.qualityLevel = quality;
            const ASSAO_InputsDX11 small = Inputs(camera, int32_t(side), int32_t(side), depthView.get());
            effect->Draw(settings, &small);
            EXPECT_GT(PixelAt(output.get(), side - 1, side - 1).r, 240) << side << " quality " << quality;
        }
    }
}

TEST_F(AdaptiveSsaoTest, ACompileErrorIsReportedAndLeavesNothingBehind)
{
    std::string caption;
    std::string text;
    const ShaderErrorReporter previous = SetShaderErrorReporter([&](const std::string& c, const std::string& t) {
        caption = c;
        text = t;
    });
    const uint64_t before = device->LiveObjectCount();
    // The real source with one pixel entry point broken.
    std::string broken(source.begin(), source.end());
    const std::string marker = "#elif defined(PSApply)\n";
    const size_t at = broken.find(marker);
    ASSERT_NE(at, std::string::npos);
    broken.insert(at + marker.size(), "float broken = undefinedName;\n");
    EXPECT_FALSE(CreateEffect(std::vector<uint8_t>(broken.begin(), broken.end())));
    EXPECT_EQ(caption, "Pixel shader compilation error");
    EXPECT_NE(text.find("undefinedName"), std::string::npos) << text;
    EXPECT_EQ(device->LiveObjectCount(), before);
    // A failed effect draws nothing and does not fail.
    const Camera camera = CornerCamera(1.0f);
    auto depth = MakeDepth(8, 8);
    gpu::ShaderResourceViewDesc depthDesc;
    depthDesc.format = Format::R24_UNORM_X8_TYPELESS;
    auto depthView = device->CreateShaderResourceView(depth.get(), &depthDesc);
    const ASSAO_InputsDX11 inputs = Inputs(camera, 8, 8, depthView.get());
    effect->Draw(SsaoSettings{}, &inputs);
    EXPECT_EQ(effect->GetAllocatedMemory(), 0u);
    SetShaderErrorReporter(previous);
}

// The post-processing chain keeps no effect when the SSAO source does not
// compile: the error is reported, and the light pass is told that no
// occlusion will be drawn.
TEST_F(AdaptiveSsaoTest, AChainWhoseSsaoSourceFailsKeepsNoEffect)
{
    std::string caption;
    const ShaderErrorReporter previous =
        SetShaderErrorReporter([&](const std::string& c, const std::string&) { caption = c; });
    TempDir folder;
    std::filesystem::create_directories(folder.Path() / "assets" / "shaders");
    folder.Write("assets/shaders/ASSAO.glsl", "#version 330 core\nvoid main() { gl_Position = missing; }\n");
    std::filesystem::create_directory_symlink(std::filesystem::path(MIREFELL_RUN_DIR) / "shaders",
                                              folder.Path() / "shaders");
    Camera camera;
    PointLights& lights = PointLights::GetInstance();
    {
        WorkingFolder inside(folder.Path());
        PostFXChain chain(&camera);
        chain.CreateDeviceResources();
        EXPECT_EQ(caption, "Pixel shader compilation error");
        EXPECT_FALSE(lights.occlusionAvailable);
    }
    // From the run folder, with the game's source.
    PostFXChain chain(&camera);
    chain.CreateDeviceResources();
    EXPECT_TRUE(lights.occlusionAvailable);
    chain.OnDeviceLost();
    EXPECT_FALSE(lights.occlusionAvailable);
    GameStateManager::GetInstance().Reset();
    SetShaderErrorReporter(previous);
}

} // namespace
} // namespace mirefell::testing
