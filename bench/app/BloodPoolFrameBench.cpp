// A level frame seen from inside a pool of blood: the eye of a dead player
// lies 3.5 units above the floor, inside the boxes of the blood decals that
// landed around the body. The decal pass then draws the far faces of those
// boxes over the whole window; with an anisotropic sampler llvmpipe took
// minutes of CPU for such a frame (found with a dead player in "mouth"),
// with the trilinear one about twice an ordinary level frame.
//
// "pentagram" is loaded by the loading state (a new game on Normal, god mode,
// every effect at its default), twelve decals are placed around the player's
// feet, and the camera is put where a dead player's eye is, looking along
// the floor. 1280 x 720 on the headless context; `cpu_ms` is the process's
// CPU time a frame over all of llvmpipe's threads. The decals' sizes and the
// film grain are seeded; with MIREFELL_BENCH_PICTURES set the first frame is
// written to bench-output/blood_pool.png, to compare two builds' pictures.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/Image.h"
#include "platform/Random.h"
#include "render/BloodDecals.h"
#include "support/BenchCore.h"
#include "support/ProcessCpuTime.h"

namespace
{

using namespace mirefell;

void BM_FrameFromInsideABloodPool(benchmark::State& state)
{
    static testing::BenchCore bench(true);
    bench.PlayNewGame("pentagram");
    Player& player = bench.Player();
    World& world = *bench.core->GetWorld();
    const Vector3 feet = player.position - Vector3(0.0f, player.halfExtents.y, 0.0f);
    SeedRand(1);
    for (int i = 0; i < 12; ++i) {
        const float angle = static_cast<float>(i) * 0.5236f; // 30 degrees apart
        const float reach = 1.0f + static_cast<float>(i % 4);
        world.bloodDecals->Add(feet + Vector3(std::cos(angle) * reach, 0.0f, std::sin(angle) * reach),
                               Color(0.6f, 0.02f, 0.02f, 1.0f));
    }
    bench.core->GetRoot().Update();
    Camera& camera = bench.core->GetCamera();
    camera.position = feet + Vector3(0.0f, 3.5f, 0.0f);
    camera.target = camera.position + Vector3(0.0f, 0.0f, -1.0f);
    camera.UpdateView();

    auto frame = [&] {
        bench.core->Render();
        DeviceContext->Finish();
    };
    frame(); // programs linked for this state
    if (std::getenv("MIREFELL_BENCH_PICTURES") != nullptr) {
        Image image(testing::BenchCore::Width, testing::BenchCore::Height);
        image.rgba = DeviceContext->ReadPixelsRGBA8(bench.swapChain->GetBackBuffer());
        const auto path = std::filesystem::path(MIREFELL_RUN_DIR) / "bench-output" / "blood_pool.png";
        std::filesystem::create_directories(path.parent_path());
        const std::vector<uint8_t> png = EncodePng(image);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }
    testing::TimeFramesWithCpu(state, frame);
}
BENCHMARK(BM_FrameFromInsideABloodPool)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

} // namespace
