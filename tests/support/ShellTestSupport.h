// Shared by the shell's tests: a window that records what the Game asks of
// it, a scripted event queue, event makers, and a fixture that gives each
// test a fresh process: its own working folder (so config.json and binds.bin
// land there), a manual clock with a sleeper that moves it, and every shell
// singleton reset.
#pragma once

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Clock.h"
#include "platform/IGameWindow.h"
#include "platform/Sleeper.h"
#include "platform/gpu/Device.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindManager.h"
#include "shell/Profiler.h"
#include "shell/SoundManager.h"
#include "support/TempDir.h"

namespace mirefell::testing
{

class RecordingWindow final : public IGameWindow
{
public:
    void SetFullscreenState(bool fullscreen) override { calls.push_back(fullscreen ? "fullscreen" : "windowed"); }
    void SetWindowedStyle(int width, int height) override
    {
        calls.push_back("bordered " + std::to_string(width) + "x" + std::to_string(height));
    }
    void SetBorderlessStyle() override { calls.push_back("borderless"); }
    void SetRelativeMouseMode(bool relative_) override { relative = relative_; }
    void CentreCursor() override { ++cursorCentrings; }
    std::vector<DisplayMode> GetDisplayModes() const override { return modes; }
    uint32_t GetRefreshRate() const override { return refreshRate; }
    void SetClientSize(int32_t width, int32_t height) override
    {
        calls.push_back("client " + std::to_string(width) + "x" + std::to_string(height));
    }
    std::unique_ptr<gpu::Device> CreateGpuDevice() override { return nullptr; }
    bool IsGpuDeviceLost() override { return false; }
    void GetClientSize(int32_t& width, int32_t& height) const override
    {
        width = clientWidth;
        height = clientHeight;
    }
    void ClearBackBuffer(const Color& colour) override
    {
        ++clears;
        lastClear = colour;
    }
    void Present(bool vsync) override { (vsync ? syncedPresents : unsyncedPresents)++; }

    int Presents() const { return syncedPresents + unsyncedPresents; }
    int Count(const std::string& call) const { return static_cast<int>(std::count(calls.begin(), calls.end(), call)); }

    std::vector<DisplayMode> modes = {{640, 480, 60}, {640, 480, 75}, {1920, 1080, 60}};
    uint32_t refreshRate = 60;
    std::vector<std::string> calls;
    bool relative = false;
    int cursorCentrings = 0;
    int32_t clientWidth = 960;
    int32_t clientHeight = 540;
    int clears = 0;
    Color lastClear{-1.0f, -1.0f, -1.0f, -1.0f};
    int syncedPresents = 0;
    int unsyncedPresents = 0;
};

// Sleeps by moving the test's manual clock: records the length of every
// sleep and counts the yields of a busy wait, each of which lets 1 µs pass.
class RecordingSleeper final : public ISleeper
{
public:
    static constexpr uint64_t YieldNanoseconds = 1'000;

    explicit RecordingSleeper(ManualClock& clock_) : clock(clock_) {}
    void Sleep(uint64_t nanoseconds) override
    {
        sleeps.push_back(nanoseconds);
        Pass(nanoseconds);
    }
    void Yield() override
    {
        ++yields;
        Pass(YieldNanoseconds);
    }
    uint64_t SleptNanoseconds() const
    {
        uint64_t total = 0;
        for (uint64_t sleep : sleeps)
            total += sleep;
        return total;
    }

    std::vector<uint64_t> sleeps;
    int yields = 0;

private:
    void Pass(uint64_t nanoseconds) { clock.Advance(nanoseconds * clock.Frequency() / 1'000'000'000); }
    ManualClock& clock;
};

class ScriptedEvents final : public IEventSource
{
public:
    bool PollEvent(PlatformEvent& event) override
    {
        if (queue.empty())
            return false;
        event = queue.front();
        queue.pop_front();
        return true;
    }
    void WaitForEvent(int) override { ++waits; }

    std::deque<PlatformEvent> queue;
    int waits = 0;
};

inline PlatformEvent KeyEvent(int32_t key, bool down, bool alt = false, bool repeat = false)
{
    PlatformEvent event;
    event.type = down ? PlatformEventType::KeyDown : PlatformEventType::KeyUp;
    event.key = key;
    event.altDown = alt;
    event.repeat = repeat;
    return event;
}

inline PlatformEvent ButtonEvent(MouseButton button, bool down)
{
    PlatformEvent event;
    event.type = down ? PlatformEventType::MouseButtonDown : PlatformEventType::MouseButtonUp;
    event.button = button;
    return event;
}

inline PlatformEvent MotionEvent(int32_t x, int32_t y, int32_t dx, int32_t dy)
{
    PlatformEvent event;
    event.type = PlatformEventType::MouseMotion;
    event.x = x;
    event.y = y;
    event.dx = dx;
    event.dy = dy;
    return event;
}

inline PlatformEvent SimpleEvent(PlatformEventType type)
{
    PlatformEvent event;
    event.type = type;
    return event;
}

inline PlatformEvent SizeEvent(int32_t width, int32_t height)
{
    PlatformEvent event;
    event.type = PlatformEventType::SizeChanged;
    event.width = width;
    event.height = height;
    return event;
}

// 1/60 s in the clock's 100 ns counts.
inline constexpr uint64_t OneStep = 166666;

class ShellTest : public ::testing::Test
{
protected:
    ShellTest() : clock(10'000'000, 1'000'000'000), sleeper(clock) {}

    void SetUp() override
    {
        previousFolder = std::filesystem::current_path();
        // The game reads its data from the working folder: lend it the
        // generated assets and the shaders, while everything it writes stays in the temp folder.
        for (const char* folder : {"assets", "shaders"})
            std::filesystem::create_directory_symlink(std::filesystem::path(MIREFELL_RUN_DIR) / folder,
                                                      dir.Path() / folder);
        std::filesystem::current_path(dir.Path());
        SetClock(&clock);
        SetSleeper(&sleeper);
        ResetSingletons();
    }

    void TearDown() override
    {
        ResetSingletons();
        SetSleeper(nullptr);
        SetClock(nullptr);
        std::filesystem::current_path(previousFolder);
    }

    static void ResetSingletons()
    {
        Config::GetInstance().Reset();
        GameStateManager::GetInstance().Reset();
        Input::GetInstance().Reset();
        KeybindManager::GetInstance().Reset(""); // memory only: tests never write the real file
        Profiler::GetInstance().ClearStatistics();
        Profiler::GetInstance().visible = false;
        inventoryWindowOpen = false;
        SoundManager::GetInstance().Reset();
    }

    // The game's three levels, each the test map: the working folder's
    // "assets" becomes a folder of its own that lends every generated asset
    // folder but "maps", and holds "maps/<level id>.json". The test map names
    // surfaces the game's texture table does not have; the copies name real
    // pictures instead, so the level's meshes find their textures.
    void LendTestMapAsLevels()
    {
        namespace fs = std::filesystem;
        const fs::path assets = dir.Path() / "assets";
        fs::remove(assets);
        fs::create_directory(assets);
        for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(MIREFELL_RUN_DIR) / "assets"))
            if (entry.path().filename() != "maps")
                fs::create_directory_symlink(entry.path(), assets / entry.path().filename());
        fs::create_directory(assets / "maps");

        std::ifstream in(fs::path(MIREFELL_SOURCE_DIR) / "tests/data/maps/testmap.json");
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::pair<std::string, std::string> pictures[] = {
            {"\"ceiling_plain\"", "\"metal\""},           {"\"floor_stone\"", "\"brown\""},
            {"\"door_metal\"", "\"blue_metal\""},         {"\"door_red\"", "\"red_metal\""},
            {"\"elevator_side\"", "\"dark_blue_metal\""}, {"\"wall_brick\"", "\"wall\""}};
        for (const auto& [from, to] : pictures)
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
                text.replace(at, from.size(), to);
        for (const char* level : {"pentagram", "descent", "mouth"})
            std::ofstream(assets / "maps" / (std::string(level) + ".json")) << text;
    }

    // Feeds an event to Input's keyboard and mouse, as the message loop does.
    static void Send(const PlatformEvent& event)
    {
        Input& input = Input::GetInstance();
        input.keyboard->ProcessEvent(event);
        input.mouse->ProcessEvent(event);
    }

    TempDir dir;
    ManualClock clock;
    RecordingSleeper sleeper;
    std::filesystem::path previousFolder;
};

} // namespace mirefell::testing
