// The cost of the 2D frame at 1280 x 720 on the headless context: a HUD-like
// screen of 200 textured sprites and 40 texts through the painter (one
// sprite batch, non-premultiplied, the painter's pixel shader), and 2,500
// debug lines (three buffer fills) drawn with a camera. "Submit" is the CPU
// side up to the last GL call; "finished" adds reading the picture back,
// which waits for llvmpipe to rasterise it (an upper bound: the read-back
// itself costs about a millisecond). Allocations per frame are reported too;
// the steady state makes none. Compare against the 16.7 ms frame budget.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/DebugLines.h"
#include "render/GraphicsDevice.h"
#include "render/Painter.h"
#include "render/TextureRegistry.h"
#include "shell/Screen.h"
#include "support/AllocationCounter.h"
#include "support/BenchDevice.h"

namespace
{

using namespace mirefell;

constexpr uint32_t Width = 1280;
constexpr uint32_t Height = 720;

struct Screen
{
    Screen() : bench(Width, Height, gpu::Format::R8G8B8A8_UNORM)
    {
        ScreenWidth = Width;
        ScreenHeight = Height;
        TextureRegistry::GetInstance().LoadAll();
        GetCommonStates() = CreateCommonStates(Device);
        painter.Initialize();
        painter.UpdateScales();
        for (int i = 0; i < 40; ++i)
            texts.push_back(L"Health " + std::to_wstring(100 + i) + L" / Ammo " + std::to_wstring(i * 7));
    }
    ~Screen()
    {
        painter.Release();
        DebugLines::GetInstance().Release();
        GetCommonStates().reset();
        TextureRegistry::GetInstance().Clear();
    }

    void DrawHud()
    {
        static const char* const icons[] = {"white", "medkit", "ammo", "armor", "redkey"};
        painter.BeginWithShader();
        for (int i = 0; i < 200; ++i) {
            const Vector2 position(float(i % 20) * 60.0f + 10.0f, float(i / 20) * 40.0f + 200.0f);
            painter.DrawTexture(position, {48, 32}, icons[i % 5], Color(1, 1, 1, 0.8f));
        }
        for (int i = 0; i < 40; ++i) {
            const Vector2 position(20.0f + float(i % 4) * 300.0f, 20.0f + float(i / 4) * 66.0f);
            if (i % 8 == 7)
                painter.DrawSmallText(position, texts[i].c_str(), Color(1, 1, 0, 1), 1);
            else
                painter.DrawText(i % 2, i % 3 == 0, position, texts[i].c_str(), Color(1, 1, 1, 1), 1 + i % 3, 1,
                                 i % 4 == 0);
        }
        painter.EndBatch();
    }

    testing::BenchDevice bench;
    Painter painter;
    std::vector<std::wstring> texts;
};

void ReportAllocations(benchmark::State& state, uint64_t before)
{
    state.counters["allocs/frame"] =
        benchmark::Counter(double(testing::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_HudScreen(benchmark::State& state, bool finish)
{
    Screen screen;
    screen.DrawHud(); // warm: buffers grown, queues reserved
    const uint64_t before = testing::AllocationCount();
    const uint64_t drawsBefore = screen.painter.spriteBatch->DrawCallCount();
    for (auto _ : state) {
        screen.DrawHud();
        if (finish)
            benchmark::DoNotOptimize(DeviceContext->ReadPixelsRGBA8(screen.bench.target.get()));
    }
    if (!finish)
        ReportAllocations(state, before);
    state.counters["draws/frame"] = benchmark::Counter(
        double(screen.painter.spriteBatch->DrawCallCount() - drawsBefore), benchmark::Counter::kAvgIterations);
    DeviceContext->ReadPixelsRGBA8(screen.bench.target.get());
}
BENCHMARK_CAPTURE(BM_HudScreen, submit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HudScreen, finished, true)->Unit(benchmark::kMillisecond);

void BM_DebugLines(benchmark::State& state, bool finish)
{
    Screen screen;
    DebugLines& lines = DebugLines::GetInstance();
    lines.Initialize();
    lines.Lines().clear();
    for (int i = 0; i < 2500; ++i) {
        const float x = float(i % 50) - 25.0f, z = -10.0f - float(i / 50);
        lines.AddLine({x, -2.0f, z}, {x + 0.8f, 2.0f, z - 0.5f}, Color(0, 1, 0, 1));
    }
    Camera camera;
    camera.aspectRatio = float(Width) / float(Height);
    camera.UpdateProjection();
    lines.Draw(camera);
    const uint64_t before = testing::AllocationCount();
    for (auto _ : state) {
        lines.Draw(camera);
        if (finish)
            benchmark::DoNotOptimize(DeviceContext->ReadPixelsRGBA8(screen.bench.target.get()));
    }
    if (!finish)
        ReportAllocations(state, before);
    DeviceContext->ReadPixelsRGBA8(screen.bench.target.get());
    lines.Lines().clear();
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK_CAPTURE(BM_DebugLines, submit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DebugLines, finished, true)->Unit(benchmark::kMillisecond);

} // namespace
