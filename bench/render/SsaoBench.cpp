// The adaptive SSAO at 1280 x 720 on the headless context, per quality
// level: the whole effect in wall-clock time (BM_SsaoDraw), and the CPU time
// each pass costs llvmpipe over all its threads (BM_SsaoPasses, counters in
// ms per frame, the GPU drained after every pass). CPU time stays put when
// other work shares the machine; wall-clock time is what the frame pays, so
// read both. The depth is a room of 20 x 20 units with 40 boxes seen from
// inside: edges, creases and open floor as in a level. Compare with the
// 16.7 ms frame: the whole frame at quality 1 (the default) must fit. Set
// LP_NUM_THREADS to choose llvmpipe's threads (0: all work on this thread).
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "render/ASSAODX11.h"
#include "render/Camera.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/ReadData.h"
#include "support/BenchDevice.h"
#include "support/ProcessCpuTime.h"

namespace
{

using namespace mirefell;

constexpr int32_t FrameWidth = 1280;
constexpr int32_t FrameHeight = 720;

struct Room
{
    Room() : bench(FrameWidth, FrameHeight, gpu::Format::R8G8B8A8_UNORM_SRGB), device(bench.device.get())
    {
        ScreenWidth = FrameWidth;
        ScreenHeight = FrameHeight;
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        camera.position = {-8.0f, 1.7f, -8.0f};
        camera.target = {4.0f, 1.0f, 4.0f};
        camera.up = {0.0f, 1.0f, 0.0f};
        camera.aspectRatio = float(FrameWidth) / float(FrameHeight);
        camera.UpdateView();
        camera.UpdateProjection();
        DrawDepth();

        const std::vector<uint8_t> source = ReadData(L"assets/shaders/ASSAO.glsl");
        const ASSAO_CreateDescDX11 desc(device, source.data(), source.size());
        effect = std::make_unique<ASSAODX11>(desc);
        if (!effect->InitializeDX())
            throw std::runtime_error("the SSAO shaders do not compile");
        inputs.scissorRight = inputs.viewportWidth = FrameWidth;
        inputs.scissorBottom = inputs.viewportHeight = FrameHeight;
        inputs.projectionMatrix = camera.projection;
        inputs.drawOpaque = true;
        inputs.deviceContext = DeviceContext;
        inputs.depthSRV = gbuffer.depthResourceView.get();
        // As the post-processing chain sets them in play.
        settings.radius = 10.0f;
        settings.horizonAngleThreshold = 0.2f;
        settings.fadeOutFrom = 1000.0f;
        settings.fadeOutTo = 1500.0f;
        settings.adaptiveQualityLimit = 0.5f;
        settings.blurPassCount = 1;
    }

    ~Room()
    {
        effect.reset();
        gbuffer.Release();
    }

    void DrawDepth()
    {
        const char* vs = R"(#version 330 core
layout(std140) uniform Scene_b0 { layout(row_major) mat4 viewProjection; };
in vec3 SV_Position0;
void main() { gl_Position = vec4(SV_Position0, 1.0) * viewProjection; }
)";
        std::vector<Vector3> triangles;
        auto box = [&](Vector3 low, Vector3 high) {
            const Vector3 c[8] = {{low.x, low.y, low.z},    {high.x, low.y, low.z}, {high.x, high.y, low.z},
                                  {low.x, high.y, low.z},   {low.x, low.y, high.z}, {high.x, low.y, high.z},
                                  {high.x, high.y, high.z}, {low.x, high.y, high.z}};
            const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7},
                                     {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
            for (const auto& f : faces)
                for (int i : {f[0], f[1], f[2], f[0], f[2], f[3]})
                    triangles.push_back(c[i]);
        };
        // The room inside out (its faces seen from within), then the boxes.
        box({-10, 0, -10}, {10, 4, 10});
        std::mt19937 random(7);
        std::uniform_real_distribution<float> place(-9.0f, 8.0f);
        std::uniform_real_distribution<float> size(0.3f, 1.5f);
        for (int i = 0; i < 40; ++i) {
            const Vector3 low(place(random), 0.0f, place(random));
            box(low, low + Vector3(size(random), size(random) * 2.0f, size(random)));
        }

        gpu::Context& context = *DeviceContext;
        auto shader = device->CreateVertexShader(vs, std::strlen(vs));
        const gpu::InputElement element{"SV_Position", 0, gpu::Format::R32G32B32_FLOAT};
        auto layout = device->CreateInputLayout(&element, 1, vs, std::strlen(vs));
        gpu::BufferDesc bufferDesc;
        bufferDesc.byteWidth = static_cast<uint32_t>(triangles.size() * sizeof(Vector3));
        bufferDesc.usage = gpu::Usage::Immutable;
        bufferDesc.bindFlags = gpu::BindVertexBuffer;
        auto vertices = device->CreateBuffer(bufferDesc, triangles.data());
        gpu::BufferDesc constantDesc;
        constantDesc.byteWidth = sizeof(Matrix);
        constantDesc.usage = gpu::Usage::Dynamic;
        constantDesc.bindFlags = gpu::BindConstantBuffer;
        constantDesc.cpuWrite = true;
        auto constants = device->CreateBuffer(constantDesc);
        const Matrix viewProjection = camera.view * camera.projection;
        std::memcpy(context.Map(constants.get(), gpu::MapType::WriteDiscard), &viewProjection, sizeof viewProjection);
        context.Unmap(constants.get());

        gpu::CommonStates states(*device);
        context.ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1, 0);
        context.OMSetRenderTargets(0, nullptr, gbuffer.depthStencilView.get());
        gpu::Viewport viewport;
        viewport.width = FrameWidth;
        viewport.height = FrameHeight;
        context.RSSetViewports(1, &viewport);
        gpu::Buffer* buffers[] = {vertices.get()};
        const uint32_t stride = sizeof(Vector3), offset = 0;
        context.IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        context.IASetInputLayout(layout.get());
        context.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        context.VSSetShader(shader.get());
        context.PSSetShader(nullptr);
        gpu::Buffer* vsConstants[] = {constants.get()};
        context.VSSetConstantBuffers(0, 1, vsConstants);
        context.RSSetState(states.CullNone());
        context.OMSetDepthStencilState(states.DepthDefault(), 0);
        context.Draw(static_cast<uint32_t>(triangles.size()), 0);
        context.Finish();
    }

    // The occlusion target bound as the deferred renderer binds it.
    void BindOcclusionTarget()
    {
        gpu::RenderTargetView* target[] = {gbuffer.renderTargetViews[GeometryBuffer::OcclusionIndex].get()};
        DeviceContext->OMSetRenderTargets(1, target, nullptr);
    }

    testing::BenchDevice bench;
    gpu::Device* device;
    GeometryBuffer gbuffer;
    Camera camera;
    std::unique_ptr<ASSAODX11> effect;
    ASSAO_InputsDX11 inputs;
    SsaoSettings settings;
};

Room& TheRoom()
{
    static Room room;
    return room;
}

void BM_SsaoDraw(benchmark::State& state)
{
    Room& room = TheRoom();
    room.settings.qualityLevel = static_cast<int32_t>(state.range(0));
    room.BindOcclusionTarget();
    room.effect->Draw(room.settings, &room.inputs); // compiles the passes' programs
    DeviceContext->Finish();
    for (auto _ : state) {
        room.effect->Draw(room.settings, &room.inputs);
        DeviceContext->Finish();
    }
}
BENCHMARK(BM_SsaoDraw)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SsaoPasses(benchmark::State& state)
{
    Room& room = TheRoom();
    room.settings.qualityLevel = static_cast<int32_t>(state.range(0));
    room.BindOcclusionTarget();
    room.effect->Draw(room.settings, &room.inputs);
    DeviceContext->Finish();

    std::map<std::string, double> seconds;
    double last = 0;
    room.effect->SetPassObserver([&](ASSAODX11::PixelShaderId pass) {
        DeviceContext->Finish();
        const double now = testing::ProcessCpuMs() * 1e-3;
        // Same-named passes of a frame (the four layers' occlusion) add up.
        seconds[ASSAODX11::PixelShaderEntries[pass]] += now - last;
        last = now;
    });
    double total = 0;
    for (auto _ : state) {
        DeviceContext->Finish();
        last = testing::ProcessCpuMs() * 1e-3;
        const double start = last;
        room.effect->Draw(room.settings, &room.inputs);
        DeviceContext->Finish();
        total += testing::ProcessCpuMs() * 1e-3 - start;
    }
    room.effect->SetPassObserver({});
    const double frames = static_cast<double>(state.iterations());
    for (const auto& [pass, cpu] : seconds)
        state.counters[pass + "_cpu_ms"] = 1000.0 * cpu / frames;
    state.counters["total_cpu_ms"] = 1000.0 * total / frames;
}
BENCHMARK(BM_SsaoPasses)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
