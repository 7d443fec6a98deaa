// The cost of one effect draw through the GPU layer on the headless context:
// SetMatrices (a write-discard constant upload), SetTexture, Bind and the
// draw, as the Mesh does per drawn node, and an instanced draw that rewrites
// 1000 instance records first, as the decals and monsters do. Compare the
// per-draw time against the 16.7 ms frame budget (a level draws a few hundred
// nodes). Runs from the run folder, where the shaders and textures are.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"
#include "render/InstancedTextureEffect.h"
#include "render/TextureEffect.h"
#include "render/TextureRegistry.h"
#include "render/VertexTypes.h"
#include "support/BenchDevice.h"

namespace
{

using namespace mirefell;

struct Scene
{
    Scene() : bench(320, 180, gpu::Format::R8G8B8A8_UNORM_SRGB)
    {
        gpu::Device* device = bench.device.get();
        states = std::make_unique<gpu::CommonStates>(*device);
        DeviceContext->RSSetState(states->CullNone());
        TextureRegistry::GetInstance().Load(L"assets/textures/wall.png", "wall", true);
        const VertexPositionNormalTexture triangle[] = {
            {{0, 0, -5}, {0, 0, 1}, {0, 0}}, {{1, 0, -5}, {0, 0, 1}, {1, 0}}, {{0, 1, -5}, {0, 0, 1}, {0, 1}}};
        gpu::BufferDesc bufferDesc;
        bufferDesc.byteWidth = sizeof triangle;
        bufferDesc.usage = gpu::Usage::Immutable;
        bufferDesc.bindFlags = gpu::BindVertexBuffer;
        vertices = device->CreateBuffer(bufferDesc, triangle);
        bufferDesc.byteWidth = 1000 * sizeof(InstanceRecord);
        bufferDesc.usage = gpu::Usage::Dynamic;
        bufferDesc.cpuWrite = true;
        instances = device->CreateBuffer(bufferDesc);
        records.resize(1000);
        for (size_t i = 0; i < records.size(); ++i) {
            records[i].world = Matrix::CreateTranslation(Vector3(float(i % 40) - 20, float(i / 40) - 12, -30));
            records[i].inverseWorld = records[i].world.Inverted();
        }
    }
    ~Scene() { TextureRegistry::GetInstance().Clear(); }

    testing::BenchDevice bench;
    std::unique_ptr<gpu::CommonStates> states;
    std::shared_ptr<gpu::Buffer> vertices;
    std::shared_ptr<gpu::Buffer> instances;
    std::vector<InstanceRecord> records;
    const Matrix camera = Matrix::CreateLookAt({0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    const Matrix projection = Matrix::CreatePerspectiveFieldOfView(1.57f, 16.0f / 9.0f, 0.1f, 100.0f);
};

void BM_TexturedMeshDraw(benchmark::State& state)
{
    Scene scene;
    TextureEffect effect(Device);
    gpu::ShaderResourceView* texture = TextureRegistry::GetInstance().GetTexture("wall");
    float x = 0;
    for (auto _ : state) {
        effect.SetMatrices(Matrix::CreateTranslation({x, 0, 0}), scene.camera, scene.projection);
        effect.SetTexture(texture);
        effect.Bind(DeviceContext);
        DeviceContext->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        gpu::Buffer* buffers[] = {scene.vertices.get()};
        const uint32_t stride = effect.GetVertexStride(), offset = 0;
        DeviceContext->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        DeviceContext->Draw(3, 0);
        x = x > 1 ? 0 : x + 0.001f;
    }
    DeviceContext->ReadPixelsRGBA8(scene.bench.target.get()); // let the GPU catch up before the device goes
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TexturedMeshDraw);

void BM_ThousandInstanceDraw(benchmark::State& state)
{
    Scene scene;
    InstancedTextureEffect effect(Device);
    gpu::ShaderResourceView* texture = TextureRegistry::GetInstance().GetTexture("wall");
    for (auto _ : state) {
        void* mapped = DeviceContext->Map(scene.instances.get(), gpu::MapType::WriteDiscard);
        std::memcpy(mapped, scene.records.data(), scene.records.size() * sizeof(InstanceRecord));
        DeviceContext->Unmap(scene.instances.get());
        effect.SetMatrices(Matrix::Identity(), scene.camera, scene.projection);
        effect.SetTexture(texture);
        effect.Bind(DeviceContext);
        DeviceContext->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        gpu::Buffer* buffers[] = {scene.vertices.get(), scene.instances.get()};
        const uint32_t strides[] = {effect.GetVertexStride(), sizeof(InstanceRecord)};
        const uint32_t offsets[] = {0, 0};
        DeviceContext->IASetVertexBuffers(0, 2, buffers, strides, offsets);
        DeviceContext->DrawInstanced(3, 1000, 0, 0);
    }
    DeviceContext->ReadPixelsRGBA8(scene.bench.target.get());
    state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ThousandInstanceDraw);

} // namespace
