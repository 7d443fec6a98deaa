// Real frames of the shipped levels at 1280 x 720 on the headless context
// (llvmpipe; LP_NUM_THREADS chooses its threads), drawn by Core exactly as
// the game draws them: a new game on Normal, the level loaded by the
// loading state, the player placed at fixed points along the level's route
// and facing along it, then Core::Render (geometry passes, SSAO, lights,
// composition, FXAA, bloom, the play state's effects, the interface,
// brightness and contrast), drained with a wait for the GPU.
//
// Each point is timed with every effect on (SSAO medium, FXAA, bloom, blood
// decals and a burst of blood particles in view, the HUD) and with the post
// effects off (no SSAO, FXAA or bloom). Targets on 8 threads: 16.7 ms and
// 6 ms. `cpu_ms` is the process's CPU time over all of llvmpipe's threads
// per frame, which a busy machine disturbs less than the wall time. With
// MIREFELL_BENCH_PICTURES set, each point's frame is also written to
// bench-output/<level>_<point>_<effects>.png in the run folder.
#include <benchmark/benchmark.h>

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
#include "gameplay/FirstPersonController.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/Image.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "platform/gpu/SwapChain.h"
#include "render/GraphicsDevice.h"
#include "render/ParticleSimulator.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

constexpr uint32_t FrameWidth = 1280;
constexpr uint32_t FrameHeight = 720;

// A point of a level's route in map coordinates and the map point it looks
// towards (the next turn of the route).
struct ViewPoint
{
    const char* name;
    float x, y;
    float towardsX, towardsY;
};

struct LevelViews
{
    const char* level; // the map's name
    std::vector<ViewPoint> points;
};

// Along "pentagram"'s route (assets/maps/src/pentagram.lvl), each looking
// across a room of the way.
const LevelViews Pentagram{"pentagram",
                           {{"start", 96, 1840, 96, 1600},
                            {"hall", 0, 1120, 400, 1560},
                            {"lift_room", -420, 460, -120, 690},
                            {"corridor", 232, 568, 904, 568},
                            {"gallery", 420, 460, 640, 690},
                            {"star", 650, 1140, 1150, 1600},
                            {"star_side", 904, 1200, 904, 1640}}};

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

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

    void Load(const std::string& level)
    {
        if (loaded == level)
            return;
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.NewGame(0, GameDifficulty::Normal, false, false);
        saves.current.levelId = level;
        core->Update(); // loading
        core->Update(); // playing
        loaded = level;
    }

    void Place(const ViewPoint& point)
    {
        auto& player = *static_cast<Player*>(core->GetWorld()->player);
        player.SetPosition(Vector3(point.x, FloorAt(point.x, point.y) + 1.0f, point.y));
        const float yaw = std::atan2(point.towardsY - point.y, point.towardsX - point.x) * 57.29578f;
        player.controller->SetAngles(yaw, 95.0f);
        core->Update();
        core->Update();
        SprayBlood(player);
    }

    // The floor of the map sector whose polygon holds the point.
    float FloorAt(float x, float y) const
    {
        const Vector2 p(x, y);
        auto side = [](const Vector2& a, const Vector2& b, const Vector2& c) {
            return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        };
        for (const MapSector& sector : core->GetWorld()->map.sectors)
            for (size_t i = 0; i + 2 < sector.indices.size(); i += 3) {
                const Vector2& a = sector.vertices[sector.indices[i]];
                const Vector2& b = sector.vertices[sector.indices[i + 1]];
                const Vector2& c = sector.vertices[sector.indices[i + 2]];
                const float ab = side(a, b, p), bc = side(b, c, p), ca = side(c, a, p);
                if ((ab >= 0 && bc >= 0 && ca >= 0) || (ab <= 0 && bc <= 0 && ca <= 0))
                    return sector.floorTopY;
            }
        return 0.0f;
    }

    // Blood sprayed in front of the eye through the level's particle
    // motion: over the steps that follow some lands as decals and the rest
    // is still in the air when the frame is drawn.
    void SprayBlood(const Player& player)
    {
        ParticleSimulator& simulator = *core->GetWorld()->particles;
        const Vector3 ahead = player.controller->eye + player.controller->look * 30.0f;
        for (int burst = 0; burst < 4; ++burst) {
            for (int i = 0; i < 60; ++i) {
                ParticleMotion& motion = simulator.Spawn(Color(0.4f, 0.01f, 0.01f, 1.0f), ParticleKindBlood, ahead);
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
    std::string loaded;
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
    double cpu = 0.0;
    for (auto _ : state) {
        const double start = ProcessCpuMs();
        game.Frame();
        cpu += ProcessCpuMs() - start;
    }
    state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
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
        }
}

const int registered = [] {
    RegisterLevel("pentagram", Pentagram);
    return 0;
}();

} // namespace
} // namespace mirefell
