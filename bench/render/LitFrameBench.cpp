// The lit frame at 1280 x 720 on the headless context (llvmpipe; set
// LP_NUM_THREADS to choose its threads): a level-like hall - a textured room
// 512 x 128 x 512 with 64 coloured pillars - and 50 point lights, drawn in
// Core's order: geometry into the G-buffer, the frame constants, bloom
// extract, SSAO (quality 1, the default setting), lights, composition, FXAA, bloom blur and overlay, the play
// state's screen effect, brightness and contrast. The frame is timed whole
// with every effect on and with the post effects off (no bloom, FXAA or
// SSAO), and pass by pass, each pass followed by a wait for the GPU, with the
// per-pass means reported as counters in milliseconds: wall time (`_ms`) and
// the process's CPU time over all of llvmpipe's threads (`_cpu_ms`), which a
// busy machine disturbs less. Targets: 16.7 ms with everything on, 6 ms with
// post effects off, on 8 threads.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <string>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "render/BrightnessContrast.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/DeferredRenderer.h"
#include "render/EffectRegistry.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshPrimitives.h"
#include "render/PassResources.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "render/SpriteBatch.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"
#include "support/BenchDevice.h"
#include "support/ProcessCpuTime.h"
#include "support/RoomMesh.h"

namespace
{

using namespace mirefell;

constexpr uint32_t FrameWidth = 1280;
constexpr uint32_t FrameHeight = 720;
constexpr int LightCount = 50;

struct Hall
{
    Hall() : bench(FrameWidth, FrameHeight, gpu::Format::R8G8B8A8_UNORM_SRGB)
    {
        ScreenWidth = FrameWidth;
        ScreenHeight = FrameHeight;
        TextureRegistry::GetInstance().LoadAll();
        EffectRegistry::Initialize();
        PointLights::GetInstance().Initialize();
        postFX = std::make_unique<PostFXChain>(&camera);
        postFX->CreateDeviceResources();
        brightness.LoadShader();
        deferred = std::make_unique<DeferredRenderer>(&gbuffer, postFX.get());
        deferred->Initialize();
        GetCommonStates() = CreateCommonStates(Device);
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        deferred->CreateWindowSizeResources(bench.view.get());
        postFX->CreateWindowSizeResources(bench.target.get(), bench.view.get(), gbuffer.depthStencilView.get());
        brightness.CreateTarget(bench.target.get());

        BuildScene();
        camera.aspectRatio = float(FrameWidth) / float(FrameHeight);
        camera.UpdateProjection();
        camera.position = {-200, 48, 220};
        camera.target = {100, 30, -100};
        camera.UpdateView();
    }

    void BuildScene()
    {
        root.AddChild(testing::InwardRoom("wall", {256, 64, 256}, {0, 64, 0}));
        for (int i = 0; i < 64; ++i) {
            auto pillar = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
            BuildCubeMesh(pillar->geometry);
            pillar->geometry.useTriangleColours = false;
            pillar->geometry.colour = {0.3f + 0.1f * (i % 5), 0.3f, 0.3f + 0.1f * (i % 3), 1};
            pillar->position = {-224.0f + 64.0f * (i % 8), 40, -224.0f + 64.0f * (i / 8)};
            pillar->scale = {6, 40, 6};
            pillar->UpdateTransform();
            root.AddChild(std::move(pillar));
        }
        root.Update();
        for (int i = 0; i < LightCount; ++i) {
            PointLight& light = PointLights::GetInstance().Add();
            light.enabled = 1;
            light.drawFirst = 1;
            light.shaderFlag = 1;
            light.position = {-240.0f + 48.0f * (i % 10) + 12, 80, -240.0f + 96.0f * (i / 10) + 40};
            light.colour = {0.5f + 0.5f * std::sin(float(i)), 0.6f, 0.5f + 0.5f * std::cos(float(i)), 1};
            light.attenuationConstant = 0.0f;
            light.attenuationQuadratic = 0.005f;
            light.intensity = 5.0f;
            light.ComputeRange();
        }
    }

    void SetEffects(bool on)
    {
        Settings& settings = Config::GetInstance().settings;
        settings.bloom = on;
        settings.fxaa = on;
        settings.ssao = on ? 1 : -1;
    }

    // Clear, bind and draw the geometry with the level passes' states.
    void Geometry()
    {
        gpu::Context& context = *DeviceContext;
        gpu::RenderTargetView* backBuffer = bench.view.get();
        const float black[4] = {0, 0, 0, 1};
        context.ClearRenderTargetView(backBuffer, black);
        context.ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        gpu::Viewport viewport;
        viewport.width = FrameWidth;
        viewport.height = FrameHeight;
        context.RSSetViewports(1, &viewport);
        gbuffer.Clear();
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context.OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.LinearWrap();
        context.PSSetSamplers(0, 1, &sampler);
        context.OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context.OMSetDepthStencilState(states.DepthDefault(), 0);
        context.RSSetState(states.CullClockwise());
        root.Draw(camera, {}, false, false);
        PointLights::GetInstance().PrepareFrame(camera, {0.02f, 0.02f, 0.02f, 1}, 0.25f, true);
    }

    void Frame()
    {
        Geometry();
        deferred->Draw(camera, Config::GetInstance().settings.bloom);
        postFX->ApplyGameEffects();
        brightness.Apply(0.0f, 1.0f);
        DeviceContext->Finish();
    }

    testing::BenchDevice bench; // the frame's back buffer is its target
    Camera camera;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    GeometryBuffer gbuffer;
    std::unique_ptr<PostFXChain> postFX;
    std::unique_ptr<DeferredRenderer> deferred;
    BrightnessContrast brightness;
};

Hall& TheHall()
{
    static Hall hall;
    return hall;
}

// Frames after one that compiles the programs of this state; the CPU time
// per frame as a counter.
void TimeFrames(benchmark::State& state, bool effects)
{
    Hall& hall = TheHall();
    hall.SetEffects(effects);
    hall.Frame();
    testing::TimeFramesWithCpu(state, [&] { hall.Frame(); });
}

void BM_LitFrameEveryEffect(benchmark::State& state)
{
    TimeFrames(state, true);
}
BENCHMARK(BM_LitFrameEveryEffect)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LitFramePostEffectsOff(benchmark::State& state)
{
    TimeFrames(state, false);
}
BENCHMARK(BM_LitFramePostEffectsOff)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each pass of an every-effect frame, the GPU drained after each one.
void BM_LitFramePerPass(benchmark::State& state)
{
    Hall& hall = TheHall();
    hall.SetEffects(true);
    gpu::Context& context = *DeviceContext;
    enum Pass
    {
        Geometry,
        BloomExtract,
        Ssao,
        Lights,
        Composition,
        Fxaa,
        BloomBlur,
        ScreenEffect,
        BrightnessContrastPass,
        PassCount
    };
    const char* const names[PassCount] = {"geometry_ms",   "bloom_extract_ms", "ssao_ms",
                                          "lights_ms",     "composition_ms",   "fxaa_ms",
                                          "bloom_blur_ms", "screen_fx_ms",     "brightness_ms"};
    double total[PassCount] = {};
    double cpu[PassCount] = {};
    using Clock = std::chrono::steady_clock;
    auto time = [&](Pass pass, auto&& run) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        run();
        context.Finish();
        total[pass] += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        cpu[pass] += 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    };
    hall.Frame();
    for (auto _ : state) {
        time(Geometry, [&] { hall.Geometry(); });
        time(BloomExtract, [&] { hall.deferred->ExtractBloom(); });
        time(Ssao, [&] { hall.deferred->DrawSsao(); });
        time(Lights, [&] { hall.deferred->DrawLights(hall.camera); });
        time(Composition, [&] { hall.deferred->Compose(); });
        time(Fxaa, [&] { hall.postFX->ApplyFxaa(); });
        time(BloomBlur, [&] { hall.deferred->BlurBloom(); });
        time(ScreenEffect, [&] { hall.postFX->ApplyGameEffects(); });
        time(BrightnessContrastPass, [&] { hall.brightness.Apply(0.0f, 1.0f); });
    }
    for (int pass = 0; pass < PassCount; ++pass) {
        const double iterations = static_cast<double>(state.iterations());
        state.counters[names[pass]] = total[pass] / iterations;
        state.counters[std::string(names[pass]).replace(std::string(names[pass]).size() - 3, 3, "_cpu_ms")] =
            cpu[pass] / iterations;
    }
}
BENCHMARK(BM_LitFramePerPass)->Unit(benchmark::kMillisecond)->UseRealTime();

// What every full-screen pass pays before its own shader: the copy of the
// back buffer, and one plain textured quad over the window (the sprite
// batch's own shader, its default premultiplied blending), each drained.
void BM_FullScreenCopy(benchmark::State& state)
{
    Hall& hall = TheHall();
    auto copy = CreateFrameCopy();
    for (auto _ : state) {
        DeviceContext->CopyResource(copy.get(), hall.bench.target.get());
        DeviceContext->Finish();
    }
}
BENCHMARK(BM_FullScreenCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FullScreenQuad(benchmark::State& state)
{
    Hall& hall = TheHall();
    SpriteBatch batch(Device, DeviceContext);
    auto copy = CreateFrameCopy();
    auto view = Device->CreateShaderResourceView(copy.get());
    gpu::RenderTargetView* target = hall.bench.view.get();
    DeviceContext->OMSetRenderTargets(1, &target, nullptr);
    gpu::Viewport viewport;
    viewport.width = FrameWidth;
    viewport.height = FrameHeight;
    DeviceContext->RSSetViewports(1, &viewport);
    for (auto _ : state) {
        batch.Begin(SpriteSortMode::Immediate);
        batch.Draw(view.get(), gpu::Rect{0, 0, int32_t(FrameWidth), int32_t(FrameHeight)});
        batch.End();
        DeviceContext->Finish();
    }
}
BENCHMARK(BM_FullScreenQuad)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
