// The cost of the menus at 1280 x 720 on the headless context: one UI update
// step and one UI frame (one painter batch, the cursor last) of the title
// screen's main menu with its social-media box, and of the key-binding page,
// the page with the most rows (each asking its providers for two texts at
// every frame). "Submit" is the CPU side up to the last GL call; "finished"
// adds reading the picture back. Allocations per step or frame are reported:
// the rows' texts come from providers as fresh strings. Compare against the
// 16.7 ms step and frame budgets.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "render/CommonStatesHolder.h"
#include "render/Painter.h"
#include "render/TextureRegistry.h"
#include "shell/GameStateManager.h"
#include "shell/KeybindManager.h"
#include "shell/Screen.h"
#include "support/AllocationCounter.h"
#include "support/BenchDevice.h"
#include "support/BenchSupport.h"
#include "ui/MainMenu.h"
#include "ui/MenuPanel.h"
#include "ui/UIManager.h"

namespace
{

using namespace mirefell;

constexpr uint32_t Width = 1280;
constexpr uint32_t Height = 720;

struct Title
{
    explicit Title(bool keybindsPage) : bench(Width, Height, gpu::Format::R8G8B8A8_UNORM)
    {
        runFolder = std::filesystem::current_path();
        // An empty folder of its own: no saves, no bindings file written.
        folder = std::filesystem::temp_directory_path() / ("mirefell-menu-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        KeybindManager::GetInstance().Reset("");
        ScreenWidth = Width;
        ScreenHeight = Height;
        TextureRegistry::GetInstance().LoadAll();
        GetCommonStates() = CreateCommonStates(Device);
        std::filesystem::current_path(folder); // the title reads its save slots here
        ui = std::make_unique<UIManager>();
        std::filesystem::current_path(runFolder); // fonts and shaders
        ui->painter->Initialize();
        ui->OnResize();
        GameStateManager::GetInstance().Request(GameState::MainMenu);
        if (keybindsPage) {
            MainMenu& menu = *ui->mainMenu;
            auto& controls = static_cast<MenuPanel&>(*menu.optionsPage->subPages.at(0));
            menu.mainPanel->Hide();
            static_cast<MenuPanel&>(*controls.subPages.at(0)).Show();
        }
        for (int i = 0; i < 10; ++i)
            ui->Update();
    }
    ~Title()
    {
        ui->painter->Release();
        ui.reset();
        GetCommonStates().reset();
        TextureRegistry::GetInstance().Clear();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    testing::BenchDevice bench;
    std::filesystem::path runFolder;
    std::filesystem::path folder;
    std::unique_ptr<UIManager> ui;
};

void BM_MenuUpdate(benchmark::State& state, bool keybindsPage)
{
    Title title(keybindsPage);
    const uint64_t before = testing::AllocationCount();
    for (auto _ : state)
        title.ui->Update();
    testing::ReportStepCounters(state, before);
}
BENCHMARK_CAPTURE(BM_MenuUpdate, title, false);
BENCHMARK_CAPTURE(BM_MenuUpdate, keybinds, true);

void BM_MenuFrame(benchmark::State& state, bool keybindsPage, bool finish)
{
    Title title(keybindsPage);
    title.ui->Draw(); // warm: buffers grown, queues reserved
    const uint64_t before = testing::AllocationCount();
    for (auto _ : state) {
        title.ui->Draw();
        if (finish)
            benchmark::DoNotOptimize(DeviceContext->ReadPixelsRGBA8(title.bench.target.get()));
    }
    if (!finish)
        state.counters["allocs/frame"] = benchmark::Counter(static_cast<double>(testing::AllocationCount() - before),
                                                            benchmark::Counter::kAvgIterations);
    DeviceContext->ReadPixelsRGBA8(title.bench.target.get());
}
BENCHMARK_CAPTURE(BM_MenuFrame, title_submit, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MenuFrame, title_finished, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MenuFrame, keybinds_submit, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MenuFrame, keybinds_finished, true, true)->Unit(benchmark::kMillisecond);

} // namespace
