// Real frames of the shipped levels at 1280 x 720 on the headless context
// (llvmpipe; LP_NUM_THREADS chooses its threads), drawn by Core exactly as
// the game draws them: a new game on Normal in god mode, the level loaded
// afresh by the loading state for every view, the player placed at a fixed
// point of the level's route (the eye and the point it looks at, as the
// shipped-level view tests place them) with the regions it reaches shown,
// blood sprayed ahead, then Core::Render (geometry passes, SSAO, the
// composition with the lights, FXAA, bloom, the play state's effects, the
// interface, brightness and contrast), drained with a wait for the GPU.
//
// Each view is timed with every effect on (SSAO medium, FXAA, bloom, blood
// decals and blood particles in view, the HUD) and with the post effects
// off (no SSAO, FXAA or bloom). Targets on 8 threads: 16.7 ms and 6 ms.
// `cpu_ms` is the process's CPU time over all of llvmpipe's threads per
// frame, which a busy machine disturbs less than the wall time. With
// MIREFELL_BENCH_PICTURES set, each view's frame is also written to
// bench-output/<level>_<view>_<effects>.png in the run folder. The blood,
// the random pickups and the film grain are seeded, but the sky turns a step
// with every update the process has made, so the pictures of two builds
// match pixel for pixel only when each comes from a process that ran that
// one benchmark (--benchmark_filter with the whole name).
//
// BM_LevelFramePerPass draws the same frames with a wait for the rasteriser
// after every pass and reports each pass's CPU and wall time per frame
// (`<pass>_cpu`, `<pass>_ms`).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/Image.h"
#include "platform/Random.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "platform/gpu/SwapChain.h"
#include "render/FramePass.h"
#include "render/GraphicsDevice.h"
#include "render/ParticleSimulator.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/LevelBannerFlag.h"
#include "support/ProcessCpuTime.h"
#include "world/AIRegionGraph.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

constexpr uint32_t FrameWidth = 1280;
constexpr uint32_t FrameHeight = 720;

// A view along a level's route: the eye (map x, height, map y) and the
// point it looks at.
struct ViewPoint
{
    const char* name;
    Vector3 eye;
    Vector3 target;
};

struct LevelViews
{
    const char* level; // the map's name
    std::vector<ViewPoint> points;
};

// From the route of each level (assets/maps/src/<level>.lvl): its halls,
// courts and caverns, the open sky where a level has it.
const LevelViews Pentagram{"pentagram",
                           {{"hall", {96, 10, 1840}, {96, 20, 1600}},
                            {"courtyard", {0, 10, 1570}, {300, 24, 1200}},
                            {"lift_hall", {-420, 10, 690}, {-72, 40, 568}},
                            {"gallery", {-30, 106, 568}, {600, 110, 568}},
                            {"pentagram", {650, 34, 1630}, {904, 40, 1376}},
                            {"exit", {504, 34, 1310}, {504, 40, 1560}}}};
const LevelViews Descent{"descent",
                         {{"gatehouse", {128, 170, 2210}, {128, 190, 1990}},
                          {"court", {300, 172, 1930}, {96, 176, 1700}},
                          {"chapel", {128, 15, 990}, {128, 20, 600}},
                          {"pit", {1300, -20, 1460}, {1312, -100, 1230}}}};
const LevelViews Mouth{"mouth",
                       {{"teeth", {960, 10.5f, 2300}, {960, 40, 1984}},
                        {"cavern", {200, -80, 1030}, {384, -100, 700}},
                        {"heart", {448, -133, -100}, {448, -125, -512}}}};

// A scratch working folder that sees the run folder's assets and shaders
// (Core writes config.json, the new game its save), a device on the headless
// context, Core at 1280 x 720 with a level loaded.
struct Game
{
    Game()
    {
        const std::filesystem::path run = MIREFELL_RUN_DIR;
        folder = std::filesystem::temp_directory_path() / ("mirefell-frame-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        // Removed at exit, after the key bindings (made later, so destroyed
        // earlier) have written binds.bin into it.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("mirefell-frame-bench-" + std::to_string(::getpid())),
                                        ignored);
        });
        for (const char* linked : {"assets", "shaders"})
            std::filesystem::create_directory_symlink(run / linked, folder / linked);
        std::filesystem::current_path(folder);

        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>();
        Device = device.get();
        DeviceContext = &device->GetImmediateContext();
        Input::GetInstance().Initialize(nullptr);
        core = std::make_unique<Core>();
        core->Initialize();
        swapChain = std::make_unique<gpu::SwapChain>(*device, FrameWidth, FrameHeight);
        core->OnWindowSizeChanged(FrameWidth, FrameHeight, nullptr, swapChain.get());
        core->Update(); // the main menu
    }

    ~Game()
    {
        core.reset();
        swapChain.reset();
        Device = nullptr;
        DeviceContext = nullptr;
        device.reset();
    }

    // Every view starts from a freshly loaded level, so the blood and the
    // monsters of one view do not carry into the next.
    void Load(const std::string& level)
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.NewGame(0, GameDifficulty::Normal, false, false);
        saves.current.levelId = level;
        saves.current.lootSeed = 1; // the same random pickups every run
        showLevelBanner = false;    // frames of the level, not of its opening banner
        core->Update();             // loading
        core->Update();             // playing
        // Awake monsters would wear the player down while the blood flies.
        static_cast<Player*>(core->GetWorld()->player)->godMode = true;
        // The same blood, monster moves and film grain every run, so the
        // pictures of two builds can be compared pixel by pixel.
        SeedRand(1);
    }

    // The player at the eye with the regions it reaches shown, blood in the
    // air and on the ground ahead, then the camera on the view (the steps
    // that moved the blood placed it at the player's eye).
    void Place(const ViewPoint& view)
    {
        World& world = *core->GetWorld();
        auto& player = *static_cast<Player*>(world.player);
        auto stand = [&] {
            player.SetPosition({view.eye.x, view.eye.y - 3.5f, view.eye.z});
            player.SetCells(world.GetCellRange({Vector2{view.eye.x, view.eye.z}}));
            world.aiRegions->MarkReachable(&player);
        };
        stand();
        SprayBlood(view.eye + (view.target - view.eye).Normalized() * 30.0f);
        stand();
        core->GetRoot().Update();
        Camera& camera = core->GetCamera();
        camera.position = view.eye;
        camera.target = view.target;
        camera.UpdateView();
    }

    // Blood sprayed at a point through the level's particle motion: over the
    // steps that follow some lands as decals and the rest is still in the
    // air when the frame is drawn.
    void SprayBlood(const Vector3& at)
    {
        ParticleSimulator& simulator = *core->GetWorld()->particles;
        for (int burst = 0; burst < 4; ++burst) {
            for (int i = 0; i < 60; ++i) {
                ParticleMotion& motion = simulator.Spawn(Color(0.4f, 0.01f, 0.01f, 1.0f), ParticleKindBlood, at);
                simulator.SetRandomVelocity(motion);
            }
            for (int step = 0; step < 15; ++step)
                core->Update();
        }
    }

    void SetEffects(bool on)
    {
        Settings& settings = Config::GetInstance().settings;
        settings.bloom = on;
        settings.fxaa = on;
        settings.ssao = on ? 1 : -1;
        settings.showHud = true;
    }

    void Frame()
    {
        core->Render();
        DeviceContext->Finish();
    }

    void SavePicture(const std::string& name)
    {
        Image image(FrameWidth, FrameHeight);
        image.rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        const std::filesystem::path path = std::filesystem::path(MIREFELL_RUN_DIR) / "bench-output" / (name + ".png");
        std::filesystem::create_directories(path.parent_path());
        const std::vector<uint8_t> png = EncodePng(image);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    }

    std::filesystem::path folder;
    std::unique_ptr<gpu::Device> device;
    std::unique_ptr<gpu::SwapChain> swapChain;
    std::unique_ptr<Core> core;
};

Game& TheGame()
{
    static Game game;
    return game;
}

void LevelFrame(benchmark::State& state, const LevelViews* views, size_t point, bool effects)
{
    Game& game = TheGame();
    game.Load(views->level);
    game.SetEffects(effects);
    game.Place(views->points[point]);
    game.Frame(); // programs linked for this state
    if (std::getenv("MIREFELL_BENCH_PICTURES") != nullptr)
        game.SavePicture(std::string(views->level) + "_" + views->points[point].name +
                         (effects ? "_every_effect" : "_post_off"));
    testing::TimeFramesWithCpu(state, [&] { game.Frame(); });
}

// The same frame with a wait for the rasteriser after every pass: each
// pass's process CPU time (`<pass>_cpu`) and wall time (`<pass>_ms`) per
// frame. The waits add a synchronisation to every pass, so the sum is a
// little above the whole frame's time.
struct PassClock
{
    static inline double cpu[size_t(FramePass::Count)] = {};
    static inline double wall[size_t(FramePass::Count)] = {};
    static inline double cpuMark = 0.0;
    static inline std::chrono::steady_clock::time_point wallMark;

    static void Start()
    {
        cpuMark = testing::ProcessCpuMs();
        wallMark = std::chrono::steady_clock::now();
    }
    static void Issued(FramePass pass)
    {
        DeviceContext->Finish();
        const double cpuNow = testing::ProcessCpuMs();
        const auto wallNow = std::chrono::steady_clock::now();
        cpu[size_t(pass)] += cpuNow - cpuMark;
        wall[size_t(pass)] += std::chrono::duration<double, std::milli>(wallNow - wallMark).count();
        cpuMark = cpuNow;
        wallMark = wallNow;
    }
};

constexpr const char* PassNames[size_t(FramePass::Count)] = {"clear",   "geometry", "decals", "scene",   "weapon",
                                                             "extract", "ssao",     "lights", "compose", "fxaa",
                                                             "bloom",   "flash",    "ui",     "bright"};

void LevelFramePerPass(benchmark::State& state, const LevelViews* views, size_t point, bool effects)
{
    Game& game = TheGame();
    game.Load(views->level);
    game.SetEffects(effects);
    game.Place(views->points[point]);
    game.Frame();
    std::fill(std::begin(PassClock::cpu), std::end(PassClock::cpu), 0.0);
    std::fill(std::begin(PassClock::wall), std::end(PassClock::wall), 0.0);
    framePassIssued = PassClock::Issued;
    for (auto _ : state) {
        PassClock::Start();
        game.Frame();
    }
    framePassIssued = nullptr;
    const double iterations = static_cast<double>(state.iterations());
    for (size_t pass = 0; pass < size_t(FramePass::Count); ++pass)
        if (PassClock::wall[pass] > 0.0) {
            state.counters[std::string(PassNames[pass]) + "_cpu"] = PassClock::cpu[pass] / iterations;
            state.counters[std::string(PassNames[pass]) + "_ms"] = PassClock::wall[pass] / iterations;
        }
}

void RegisterLevel(const char* level, const LevelViews& views)
{
    for (size_t point = 0; point < views.points.size(); ++point)
        for (bool effects : {true, false}) {
            const std::string name = std::string("BM_LevelFrame/") + level + "/" + views.points[point].name +
                                     (effects ? "/every_effect" : "/post_off");
            benchmark::RegisterBenchmark(name.c_str(), LevelFrame, &views, point, effects)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
            benchmark::RegisterBenchmark(("BM_LevelFramePerPass/" + name.substr(name.find('/') + 1)).c_str(),
                                         LevelFramePerPass, &views, point, effects)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime();
        }
}

const int registered = [] {
    RegisterLevel("pentagram", Pentagram);
    RegisterLevel("descent", Descent);
    RegisterLevel("mouth", Mouth);
    return 0;
}();

} // namespace
} // namespace mirefell
