// The particles at 1280 x 720 on the headless context (llvmpipe; set
// LP_NUM_THREADS to choose its threads): 2,000 live particles, half of them
// chips (kind 1) and half blood (kind 2), sprayed over a 160 x 160 area and
// landing on the floor y = 0 (a plane as the level's trace, so the simulator
// itself is timed; bench_WorldQueryBench times the update over a real
// level's trace). Every update the particles that landed, shrank away or aged
// out are replaced, so 2,000 stay alive.
//
// Timed: the update step with its re-spawns (CPU), the draw into the
// G-buffer with the GPU drained, and both as one frame's particle work. The
// argument picks the shapes: 0 all cubes, as the simulator spawns them (the
// draw shows the first 1,000); 1 every other particle a sphere (a
// projectile's body; 384 vertices against a cube's 36), so 1,000 of each
// shape are drawn, the most a frame draws.
// "allocs" counts heap allocations per iteration once warm (target 0).
// Budget: a small part of the 16.7 ms frame.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Random.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/ILevelTrace.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "support/AllocationCounter.h"
#include "support/BenchDevice.h"

namespace
{

using namespace mirefell;

constexpr uint32_t FrameWidth = 1280;
constexpr uint32_t FrameHeight = 720;
constexpr size_t LiveParticles = 2000;

struct Floor final : ILevelTrace
{
    bool TraceLineOfSight(const Vector3& from, Vector3& to, Vector3& normal) override
    {
        if (to.y >= 0.0f)
            return false;
        to = from + (to - from) * (from.y / (from.y - to.y));
        normal = {0, 1, 0};
        return true;
    }
};

struct Spray
{
    Spray() : bench(FrameWidth, FrameHeight, gpu::Format::R8G8B8A8_UNORM_SRGB)
    {
        ScreenWidth = FrameWidth;
        ScreenHeight = FrameHeight;
        SeedRand(7);
        GetCommonStates() = CreateCommonStates(Device);
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        store.Create();
        camera.aspectRatio = float(FrameWidth) / float(FrameHeight);
        camera.UpdateProjection();
        camera.position = {0, 40, 140};
        camera.target = {0, 10, 0};
        camera.UpdateView();
        TopUp();
    }

    // Spawns until LiveParticles are alive again.
    void TopUp()
    {
        while (simulator.motions.size() < LiveParticles) {
            const bool chip = (spawned % 2) == 0;
            const Vector3 at{RandUnit() * 160.0f - 80.0f, 10.0f + RandUnit() * 40.0f, RandUnit() * 160.0f - 80.0f};
            ParticleMotion& motion = simulator.Spawn(chip ? Color(0.8f, 0.8f, 0.8f, 1) : Color(0.5f, 0, 0, 1),
                                                     chip ? ParticleKindPuff : ParticleKindBlood, at);
            if (chip)
                simulator.SetVelocityFromNormal(motion, {RandUnit() - 0.5f, 0, RandUnit() - 0.5f});
            motion.particle->position = at;
            motion.particle->shape = mixed && (spawned / 2) % 2 == 1 ? ParticleShapeSphere : ParticleShapeCube;
            ++spawned;
        }
    }

    // One step, and the erasing of the dead that the next draw starts with.
    // Every other particle a sphere (mixed), or all cubes, as the
    // simulator spawns them.
    void SetShapes(bool mixed_)
    {
        mixed = mixed_;
        size_t i = 0;
        for (Particle& particle : store.particles)
            particle.shape = mixed && (i++ / 2) % 2 == 1 ? ParticleShapeSphere : ParticleShapeCube;
    }

    void Update()
    {
        simulator.Update();
        store.RemoveDead();
        TopUp();
    }

    void Draw()
    {
        gpu::Context& context = *DeviceContext;
        context.ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context.OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        store.Draw(camera);
        context.Finish();
    }

    testing::BenchDevice bench;
    GeometryBuffer gbuffer;
    Camera camera;
    ParticleSystem store;
    Floor floor;
    ParticleSimulator simulator{&store, nullptr, &floor};
    uint64_t spawned = 0;
    bool mixed = false;
};

Spray& TheSpray()
{
    static Spray spray;
    return spray;
}

void Report(benchmark::State& state, const Spray& spray, uint64_t allocationsBefore)
{
    const auto iterations = static_cast<double>(state.iterations());
    state.counters["live"] = static_cast<double>(spray.simulator.motions.size());
    state.counters["drawn"] =
        static_cast<double>(spray.store.cubeInstances.size() + spray.store.sphereInstances.size());
    state.counters["allocs"] =
        static_cast<double>(mirefell::testing::AllocationCount() - allocationsBefore) / iterations;
}

void BM_ParticleUpdate(benchmark::State& state)
{
    Spray& spray = TheSpray();
    for (int i = 0; i < 400; ++i) // past the first generation's lifetimes
        spray.Update();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        spray.Update();
    Report(state, spray, before);
}
BENCHMARK(BM_ParticleUpdate)->Unit(benchmark::kMicrosecond);

void BM_ParticleDraw(benchmark::State& state)
{
    Spray& spray = TheSpray();
    spray.SetShapes(state.range(0) != 0);
    spray.Draw();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state)
        spray.Draw();
    Report(state, spray, before);
}
BENCHMARK(BM_ParticleDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParticleUpdateAndDraw(benchmark::State& state)
{
    Spray& spray = TheSpray();
    spray.SetShapes(state.range(0) != 0);
    spray.Draw();
    const uint64_t before = mirefell::testing::AllocationCount();
    for (auto _ : state) {
        spray.Update();
        spray.Draw();
    }
    Report(state, spray, before);
}
BENCHMARK(BM_ParticleUpdateAndDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
