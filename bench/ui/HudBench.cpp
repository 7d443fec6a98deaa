// The cost of the HUD over a one-room level at 1280 x 720 on the headless
// context, with every widget showing something (a monster bar, a use prompt,
// three messages, the banner, the clock, a weapon with ammunition): one UI
// update step (the countdown of the messages and every widget's Update), and
// one UI frame (UIManager::Draw: one painter batch, the mouse cursor last).
// "Submit" is the CPU side up to the last GL call; "finished" adds reading
// the picture back, which waits for llvmpipe to rasterise it. The same
// frame with the inventory open: the level's map in its inset (one line
// batch, one icon batch) and the inventory window with a page of items.
// Allocations per step or frame are reported; the steady state makes none.
// Compare against the 16.7 ms step and frame budgets.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "gameplay/GameSaveManager.h"
#include "gameplay/ItemMakers.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/Painter.h"
#include "render/ParticleSystem.h"
#include "render/TextureRegistry.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/LevelBannerFlag.h"
#include "shell/Screen.h"
#include "support/AllocationCounter.h"
#include "support/BenchDevice.h"
#include "support/MapRecords.h"
#include "ui/Automap.h"
#include "ui/InventoryWindow.h"
#include "ui/NotificationBox.h"
#include "ui/UIManager.h"
#include "world/IMonster.h"
#include "world/IUsable.h"
#include "world/World.h"

namespace
{

using namespace mirefell;

constexpr uint32_t Width = 1280;
constexpr uint32_t Height = 720;
constexpr double BudgetSeconds = 1.0 / 60.0;

class Lever final : public IUsable
{
public:
    void Use() override {}
    bool IsUsable() override { return true; }
};

// A monster as the HUD reads it: something under the crosshair with health.
class Target final : public GridObject, public IMonster
{
public:
    explicit Target(World* world_) : GridObject(world_, "3", nullptr) {}
    void Roar(bool) override {}
    void SetState(uint32_t) override {}
    void Awaken() override {}
    float GetMaxHealth() override { return 100.0f; }
    float GetHealth() override { return 49.0f; }
};

MapData Room()
{
    MapData map;
    map.name = "room";
    map.playerStartPosition = {32.0f, 32.0f};
    // Two halves, linked: the level build places sectors by their links.
    for (int32_t id : {1, 2}) {
        const float x0 = 64.0f * static_cast<float>(id - 1);
        MapSector& sector = map.sectors.emplace_back(testing::RectSector(id, x0, 0.0f, x0 + 64.0f, 128.0f));
        sector.ceilBottomY = 96.0f;
        sector.ceiling = true;
        sector.lightColor = 0xFFFFFF;
    }
    map.sectorLinks = {1, 2};
    map.ComputeBounds();
    return map;
}

struct Hud
{
    Hud() : bench(Width, Height, gpu::Format::R8G8B8A8_UNORM)
    {
        runFolder = std::filesystem::current_path();
        saveFolder = std::filesystem::temp_directory_path() / ("mirefell-hud-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(saveFolder);
        ScreenWidth = Width;
        ScreenHeight = Height;
        TextureRegistry::GetInstance().LoadAll();
        MeshRegistry::GetInstance().LoadAll(); // the player's weapon view takes its models at set-up
        GetCommonStates() = CreateCommonStates(Device);
        ui = std::make_unique<UIManager>();
        ui->painter->Initialize();
        ui->OnResize();

        // The level writes its saves beside it, not into the run folder.
        std::filesystem::current_path(saveFolder);
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;
        showLevelBanner = true;
        ui->CreateHud();
        world =
            World::Create(&root, &debugRoot, &particles, &camera, Room(), LevelSettings{}, MakeMapObjectFactories());
        ui->Initialize(world.get());
        GameStateManager::GetInstance().Request(GameState::Playing);

        player = static_cast<Player*>(world->player);
        auto shotgun = Weapons::MakeDoubleShotgun();
        Item* weapon = shotgun.get();
        player->inventory.AddItem(std::move(shotgun));
        player->UseItem(weapon);
        target = std::make_unique<Target>(world.get());
        player->crosshairMonster = target.get();
        player->usable = &lever;
        player->usableInReach = true;
        Config::GetInstance().settings.showLevelTimer = true;
        auto& messages = NotificationBox::GetMessages();
        for (const wchar_t* text : {L"Picked up the red key.", L"Picked up Double Shotgun.", L"A locked door."})
            NotificationBox::AddMessage(messages, text, 1 << 30);
        for (int i = 0; i < 30; ++i) // the counters and the banner under way
            ui->Update();
    }
    ~Hud()
    {
        player->crosshairMonster = nullptr;
        player->usable = nullptr;
        ui->painter->Release();
        ui.reset();
        world.reset();
        GetCommonStates().reset();
        TextureRegistry::GetInstance().Clear();
        std::filesystem::current_path(runFolder);
        std::error_code ignored;
        std::filesystem::remove_all(saveFolder, ignored);
    }

    testing::BenchDevice bench;
    std::filesystem::path runFolder;
    std::filesystem::path saveFolder;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::unique_ptr<World> world;
    std::unique_ptr<UIManager> ui;
    Player* player = nullptr;
    std::unique_ptr<Target> target;
    Lever lever;
};

void ReportAllocations(benchmark::State& state, uint64_t before, const char* name)
{
    state.counters[name] =
        benchmark::Counter(double(testing::AllocationCount() - before), benchmark::Counter::kAvgIterations);
}

void BM_HudUpdate(benchmark::State& state)
{
    Hud hud;
    const uint64_t before = testing::AllocationCount();
    for (auto _ : state)
        hud.ui->Update();
    ReportAllocations(state, before, "allocs/step");
    state.counters["budget_share"] =
        benchmark::Counter(BudgetSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HudUpdate);

// UIManager::Draw per iteration, after warm-up frames (buffers grown, queues
// reserved, the driver's states built); "finished" also reads the picture
// back.
void MeasureFrames(benchmark::State& state, Hud& hud, bool finish)
{
    for (int i = 0; i < 10; ++i)
        hud.ui->Draw();
    const uint64_t before = testing::AllocationCount();
    for (auto _ : state) {
        hud.ui->Draw();
        if (finish)
            benchmark::DoNotOptimize(DeviceContext->ReadPixelsRGBA8(hud.bench.target.get()));
    }
    if (!finish)
        ReportAllocations(state, before, "allocs/frame");
    DeviceContext->ReadPixelsRGBA8(hud.bench.target.get());
}

void BM_HudFrame(benchmark::State& state, bool finish)
{
    Hud hud;
    MeasureFrames(state, hud, finish);
}
BENCHMARK_CAPTURE(BM_HudFrame, submit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_HudFrame, finished, true)->Unit(benchmark::kMillisecond);

void BM_InventoryFrame(benchmark::State& state, bool finish)
{
    Hud hud;
    for (int i = 0; i < 12; ++i)
        hud.player->inventory.AddItem(i % 2 ? std::unique_ptr<Item>(MakeHealthCube()) : MakeArtifactBoots());
    inventoryWindowOpen = true;
    hud.ui->inventoryWindow->Show();
    hud.ui->automap->Show();
    hud.ui->Update();
    MeasureFrames(state, hud, finish);
    inventoryWindowOpen = false;
}
BENCHMARK_CAPTURE(BM_InventoryFrame, submit, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_InventoryFrame, finished, true)->Unit(benchmark::kMillisecond);

} // namespace
