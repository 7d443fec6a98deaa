// The CPU side of drawing a level's mesh tree: the tree walk with node
// culling, per-instance culling and the 144-byte instance records, and the
// instance-buffer fill (map, copy, unmap) on the headless GPU with no render
// target bound, so nothing is rasterised. The scene is a level-sized one: 400
// static region and object nodes, four pickup kinds with 100 instances each,
// 300 monsters with eight sprite-frame instances each (one shown), and 1000
// blood decals: 4200 instances. "drawn" is how many instances survive culling
// per pass; "allocs/pass" must stay 0 once the first pass has sized the
// record arrays. Compare against the 16.7 ms frame budget.
#include <filesystem>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "render/Camera.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshPrimitives.h"
#include "render/TextureRegistry.h"
#include "support/AllocationCounter.h"

namespace
{

using namespace mirefell;

constexpr float LevelSize = 4000.0f;

// A spread of points over the level from a fixed sequence, so every run
// draws the same scene.
class Scatter
{
public:
    float Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / static_cast<float>(1u << 24);
    }
    Vector3 Point(float height) { return {(Next() - 0.5f) * LevelSize, height, (Next() - 0.5f) * LevelSize}; }

private:
    uint32_t state = 12345;
};

struct Scene
{
    std::unique_ptr<Mesh> root = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);
    std::vector<std::array<float, 6>> boxes; // owned by the "objects", as the world owns them
    Camera camera;

    Scene()
    {
        Scatter scatter;
        boxes.reserve(400 + 400 + 300 + 1000);
        const auto box = [&](const Vector3& centre, float half) -> const float* {
            boxes.push_back(
                {centre.x - half, centre.y - half, centre.z - half, centre.x + half, centre.y + half, centre.z + half});
            return boxes.back().data();
        };
        MeshGeometry cube;
        BuildCubeMesh(cube);

        for (int i = 0; i < 400; ++i) {
            auto node = std::make_unique<Mesh>(i % 2 ? EffectIdColor : EffectIdTexture,
                                               i % 2 ? MeshVertexFormatColor : MeshVertexFormatTexture);
            node->geometry = cube;
            node->position = scatter.Point(32);
            node->scale = {40, 40, 40};
            node->bounds = box(node->position, 40);
            node->UpdateTransform();
            root->AddChild(std::move(node));
        }
        const auto batch = [&](EffectId effect) {
            auto node = std::make_unique<Mesh>(effect, MeshVertexFormatTexture);
            node->geometry = cube;
            return root->AddChild(std::move(node));
        };
        for (int kind = 0; kind < 4; ++kind) {
            Mesh* pickups = batch(EffectIdInstancedTexture);
            for (int i = 0; i < 100; ++i) {
                MeshInstance& instance = pickups->instances.emplace_back();
                instance.position = scatter.Point(3);
                instance.scale = {0.4f, 0.4f, 0.4f};
                instance.bounds = box(instance.position, 5);
                instance.removed = i % 10 == 0; // picked up already
            }
        }
        std::vector<Mesh*> frames;
        for (int f = 0; f < 8; ++f)
            frames.push_back(batch(EffectIdInstancedTexture));
        for (int monster = 0; monster < 300; ++monster) {
            const Vector3 at = scatter.Point(8.03f);
            const float* bounds = box(at, 8);
            for (int f = 0; f < 8; ++f) {
                MeshInstance& instance = frames[f]->instances.emplace_back();
                instance.position = at;
                instance.bounds = bounds;
                instance.shown = f == monster % 8;
            }
        }
        Mesh* decals = batch(EffectIdDecal);
        for (int i = 0; i < 1000; ++i) {
            MeshInstance& instance = decals->instances.emplace_back();
            instance.position = scatter.Point(0);
            instance.scale = {4, 4, 4};
            instance.bounds = box(instance.position, 4);
        }

        camera.aspectRatio = 16.0f / 9.0f;
        camera.position = {0, 40, 0};
        camera.target = {1, 40, 0.3f};
        camera.UpdateView();
        camera.UpdateProjection();
    }
};

const MeshFilter InstancedFilter = [](const Mesh* node) { return node->effectId == EffectIdInstancedTexture; };
const MeshFilter DecalFilter = [](const Mesh* node) { return node->effectId == EffectIdDecal; };

// The walk and the records alone, with no device: the filter builds each
// instanced node's records and turns the node down.
void BM_CullAndBuildRecords(benchmark::State& state)
{
    Scene scene;
    uint32_t drawn = 0;
    const MeshFilter build = [&](const Mesh* node) {
        if (node->IsInstanced())
            drawn += const_cast<Mesh*>(node)->BuildInstanceRecords(&scene.camera, false, false);
        return false;
    };
    scene.root->Draw(scene.camera, build, false, false); // sizes the record arrays
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        drawn = 0;
        scene.root->Draw(scene.camera, build, false, false);
        benchmark::DoNotOptimize(drawn);
    }
    state.counters["drawn"] = drawn;
    state.counters["allocs/pass"] = benchmark::Counter(
        static_cast<double>(mirefell::testing::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_CullAndBuildRecords)->Unit(benchmark::kMicrosecond);

// The device the passes below draw with: the headless context, the effects
// and the normal map they need, read from the run folder (this program runs
// from its "bench" folder inside it).
struct HeadlessRenderer
{
    HeadlessRenderer()
    {
        const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
        std::filesystem::current_path(exe.parent_path().parent_path());
        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>();
        Device = device.get();
        DeviceContext = &device->GetImmediateContext();
        TextureRegistry::GetInstance().Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
        EffectRegistry::Initialize();
    }
    std::unique_ptr<gpu::Device> device;
};

HeadlessRenderer& Renderer()
{
    static HeadlessRenderer renderer;
    return renderer;
}

// The instanced draw of the textured pass as Core issues it: culling,
// records, map-copy-unmap of every batch's buffer and the draw call, with no
// target to rasterise into.
void BM_InstancedPass(benchmark::State& state)
{
    Renderer();
    Scene scene;
    scene.root->Update();
    scene.root->Draw(scene.camera, InstancedFilter, false, false);
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        Mesh::drawCalls = 0;
        Mesh::drawnInstances = 0;
        scene.root->Draw(scene.camera, InstancedFilter, false, false);
    }
    state.counters["drawn"] = Mesh::drawnInstances;
    state.counters["draws"] = Mesh::drawCalls;
    state.counters["allocs/pass"] = benchmark::Counter(
        static_cast<double>(mirefell::testing::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_InstancedPass)->Unit(benchmark::kMicrosecond);

// Both decal draws: the containment split walks the decals twice.
void BM_DecalPasses(benchmark::State& state)
{
    Renderer();
    Scene scene;
    scene.root->Update();
    for (auto _ : state) {
        Mesh::drawnInstances = 0;
        scene.root->Draw(scene.camera, DecalFilter, true, false);
        scene.root->Draw(scene.camera, DecalFilter, true, true);
    }
    state.counters["drawn"] = Mesh::drawnInstances;
}
BENCHMARK(BM_DecalPasses)->Unit(benchmark::kMicrosecond);

} // namespace
