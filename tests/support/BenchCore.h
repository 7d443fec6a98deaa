// BenchCore: the engine root as the game runs it, for the app benchmarks
// that step or load the shipped levels in process: a scratch working folder
// that sees the run folder's assets and shaders (Core writes config.json
// there, a new game its save), Input with no window, and either a device on
// the headless context with a 1280 x 720 swap chain or no GPU at all (the
// game's logic needs none). The main menu is announced when it is made.
// One per process: Core's state listeners are never removed. Header-only.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "platform/gpu/SwapChain.h"
#include "render/GraphicsDevice.h"
#include "shell/Input.h"
#include "shell/KeybindManager.h"
#include "shell/LevelBannerFlag.h"
#include "support/RunFolder.h"
#include "world/World.h"

namespace mirefell::testing
{

class BenchCore
{
public:
    static constexpr uint32_t Width = 1280;
    static constexpr uint32_t Height = 720;

    explicit BenchCore(bool gpu) : folder("mirefell-core-bench")
    {
        std::filesystem::current_path(folder.Path());
        KeybindManager::GetInstance().Reset(""); // binds.bin is never written from a benchmark

        if (gpu) {
            gpu::HeadlessGpu::Shared();
            device = std::make_unique<gpu::Device>();
            Device = device.get();
            DeviceContext = &device->GetImmediateContext();
        }
        Input::GetInstance().Initialize(nullptr);
        core = std::make_unique<Core>();
        core->Initialize();
        if (gpu)
            swapChain = std::make_unique<gpu::SwapChain>(*device, Width, Height);
        core->OnWindowSizeChanged(Width, Height, nullptr, swapChain.get());
        core->Update(); // the main menu
    }

    ~BenchCore()
    {
        core.reset(); // writes config.json into the scratch folder
        swapChain.reset();
        Device = nullptr;
        DeviceContext = nullptr;
        device.reset();
        std::error_code ignored;
        std::filesystem::current_path(folder.Path().parent_path(), ignored);
    }

    BenchCore(const BenchCore&) = delete;
    BenchCore& operator=(const BenchCore&) = delete;

    // A new game on Normal whose first level is `level`, without its opening
    // banner (the new game requests the loading state): the next Update loads it (the loading state), the one after
    // runs its first playing step.
    static void RequestNewGame(const std::string& level)
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.NewGame(0, GameDifficulty::Normal, false, false);
        saves.current.levelId = level;
        showLevelBanner = false;
    }

    // RequestNewGame, the load and the first playing step, god mode on.
    void PlayNewGame(const std::string& level)
    {
        RequestNewGame(level);
        core->Update(); // loading
        core->Update(); // playing
        Player().godMode = true;
    }

    mirefell::Player& Player() const { return *static_cast<mirefell::Player*>(core->GetWorld()->player); }

    RunFolder folder; // the working folder while it lives
    std::unique_ptr<gpu::Device> device;
    std::unique_ptr<gpu::SwapChain> swapChain;
    std::unique_ptr<Core> core;
};

} // namespace mirefell::testing
