// The soak: the whole game, on its real window and GL context with no
// display, played at random for twenty minutes of game time per level
// (72,000 steps of 1/60 s) from a fixed seed. Built with the sanitizers
// (MIREFELL_SANITIZE) it runs under AddressSanitizer and UBSan, which stop
// it at the first report, and looks for leaks once the Game is gone; in any
// build it fails at the first count that grows past its limit (SoakWatch)
// and at any error that escapes a step.
//
// The RandomPlayer's events go through the message loop like a player's.
// The first half is played in god mode (typed as the cheat code after every
// level load), the second half mortal, where death is followed by Enter.
// The player also types the other codes now and then: every item, fly and
// noclip (each switched off again after a while), the level's end, the face.
// When the game sits at the title or the level-complete screen for ten
// seconds, or a god has fallen out of the level for as long, the soak starts
// its level again (a new game or a continue); a level other than the soak's
// is replaced by it. Each tick runs one to six steps, as a slow machine
// catching up would, then one frame.
//
// Frames: drawing 320 x 200 frames on llvmpipe costs far more than the steps
// (tens of milliseconds a frame against microseconds a step), so the GPU is
// on only in phases: for the first MIREFELL_SOAK_RENDER_TICKS ticks (50)
// and again at every MIREFELL_SOAK_RENDER_EVERY steps (9000), 400 frames in
// all, which keeps a level's soak near a minute on two cores. Between
// them the Game has no device, as after a device loss on a machine without
// one, and every switch runs the device-loss path. MIREFELL_SOAK_RENDER=0
// never draws. MIREFELL_SOAK_SEED (27) and MIREFELL_SOAK_STEPS (72000)
// choose the run. CTest plays each level with more seeds than one, each
// run named by MIREFELL_SOAK_LISTED_SEED; a seed chosen by
// MIREFELL_SOAK_SEED is played by the first run alone, and the listed ones
// skip.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "app/Core.h"
#include "app/Game.h"
#include "app/MessageLoop.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/GameWindow.h"
#include "platform/VideoSystem.h"
#include "render/PointLights.h"
#include "soak/RandomPlayer.h"
#include "soak/SoakWatch.h"
#include "support/ForwardingWindow.h"
#include "support/ShellTestSupport.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace
{
// Added to the soak clock's seconds by time() below.
uint32_t timeOffset = 0;
} // namespace

// Level loads and new games seed from the wall clock. The soak program is
// linked with --wrap=time, so those seeds come from the soak's own clock
// and its seed, and a seed replays exactly.
extern "C" time_t __wrap_time(time_t* out)
{
    const mirefell::IClock& clock = mirefell::GetClock();
    const auto now = static_cast<time_t>(clock.Counter() / clock.Frequency() + timeOffset);
    if (out)
        *out = now;
    return now;
}

namespace mirefell
{
namespace
{

uint64_t EnvironmentNumber(const char* name, uint64_t fallback)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : fallback;
}

// Steps a screen may wait before the soak starts its level again.
constexpr uint64_t IdleScreenSteps = 600;
// Mean ticks between two cheat codes typed in play, and the codes: every
// item most often, then fly, noclip, the face and the level's end.
constexpr double CheatChancePerTick = 1.0 / 600.0;
constexpr const char* FlyCode = "kwzyp";
constexpr const char* NoclipCode = "trubnelk";
constexpr std::array<const char*, 7> Cheats = {"vestombra", "vestombra", "vestombra", FlyCode,
                                               NoclipCode,  "zupfa",     "dralu"};

// The real window, whose GPU device the soak switches on and off through a
// device loss: with it off the Game gets no device, runs its steps as
// before and only clears the window for a frame.
class SoakWindow final : public testing::ForwardingWindow
{
public:
    using ForwardingWindow::ForwardingWindow;
    std::unique_ptr<gpu::Device> CreateGpuDevice() override { return gpu ? window.CreateGpuDevice() : nullptr; }
    void Present(bool vsync) override
    {
        window.Present(vsync);
        drawn += gpu;
    }

    bool gpu = true;
    uint64_t drawn = 0; // frames presented with the GPU on
};

class SoakTest : public testing::ShellTest, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        testing::ShellTest::SetUp();
        Settings& settings = Config::GetInstance().settings;
        settings.screenWidth = GameWindow::MinimumWidth;
        settings.screenHeight = GameWindow::MinimumHeight;
        settings.borderless = false;
        real = std::make_unique<GameWindow>("mirefell soak", layout);
        window = std::make_unique<SoakWindow>(*real);
        Config::GetInstance().window = window.get();
        GameSaveManager::GetInstance().current = GameSave();
        GameSaveManager::GetInstance().onGameFinished = nullptr;
    }
    void TearDown() override
    {
#if defined(__SANITIZE_ADDRESS__)
        // The Game is gone: what it made is freed or still reachable. Leaks
        // are looked for now, while the libraries SDL opened for the window
        // are still loaded and the reports can name them.
        if (__lsan_do_recoverable_leak_check() != 0)
            ADD_FAILURE() << "leaks after the soak";
#endif
        GameSaveManager::GetInstance().current = GameSave();
        PointLights::GetInstance().Clear();
        Config::GetInstance().window = nullptr;
        window.reset();
        real.reset();
        testing::ShellTest::TearDown();
    }

    VideoSystem video;
    const WindowLayout layout =
        ChooseWindowLayout(true, false, GameWindow::MinimumWidth, GameWindow::MinimumHeight, 1024, 768);
    std::unique_ptr<GameWindow> real;
    std::unique_ptr<SoakWindow> window;
};

// A new game (or, every other time, a continue) of the soak's level.
void StartLevel(const std::string& level, uint32_t starts)
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.LoadSlotList();
    if (starts % 2 == 1 && saves.Continue()) {
        if (saves.current.levelId != level) {
            saves.SetLevelName(level);
            GameStateManager::GetInstance().Request(GameState::Loading);
        }
        return;
    }
    saves.NewGame(0, GameDifficulty::Normal, false, false);
    saves.SetLevelName(level);
}

TEST_P(SoakTest, PlaysAtRandomWithinEveryLimit)
{
    const std::string level = GetParam();
    if (!std::filesystem::exists(std::filesystem::path("assets/maps") / (level + ".json")))
        GTEST_SKIP() << "no map " << level;
    const char* chosen = std::getenv("MIREFELL_SOAK_SEED");
    const bool listed = std::getenv("MIREFELL_SOAK_LISTED_SEED") != nullptr;
    if (chosen && *chosen && listed)
        GTEST_SKIP() << "MIREFELL_SOAK_SEED chooses the one seed played";
    const auto seed = static_cast<uint32_t>(
        EnvironmentNumber("MIREFELL_SOAK_SEED", EnvironmentNumber("MIREFELL_SOAK_LISTED_SEED", 27)));
    const uint64_t steps = EnvironmentNumber("MIREFELL_SOAK_STEPS", 72'000);
    const bool render = EnvironmentNumber("MIREFELL_SOAK_RENDER", 1) != 0;
    const uint64_t renderEvery = std::max<uint64_t>(EnvironmentNumber("MIREFELL_SOAK_RENDER_EVERY", 9'000), 1);
    const uint64_t renderTicks = EnvironmentNumber("MIREFELL_SOAK_RENDER_TICKS", 50);
    const uint32_t levelSeed = seed * 2654435761u + static_cast<uint32_t>(std::hash<std::string>()(level));
    timeOffset = levelSeed;
    const std::string trace = "level " + level + ", seed " + std::to_string(seed);

    Game game;
    game.Initialize(window.get(), layout.width, layout.height);
    testing::ScriptedEvents events;
    MessageLoop loop(game, events);
    GameStateManager& states = GameStateManager::GetInstance();
    GameSaveManager& saves = GameSaveManager::GetInstance();
    bool loaded = false;
    // Registered after the Core's: the load's own request of the playing
    // state is what this listener hears.
    states.AddListener([&](GameState newState, GameState previousState) {
        loaded = loaded || newState == GameState::Loading || previousState == GameState::Loading;
    });
    soak::SoakWatch watch(*game.GetCore());
    soak::RandomPlayer player(levelSeed);
    std::mt19937 harness(levelSeed ^ 0x5eed);
    auto chance = [&](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(harness) < p; };

    uint64_t step = 0, screenSince = 0, ticks = 0, deaths = 0, godCodes = 0, drawingSince = 0, nextDrawing = 0;
    uint64_t fallingSince = 0, untoggleAt = 0;
    std::string toggled; // the fly or noclip code last typed, until it is undone
    uint32_t starts = 0;
    // Ticks per game state, the inventory counted apart from play.
    constexpr size_t InventoryTally = 6;
    std::array<uint64_t, 7> ticksIn{};
    bool wasDead = false;
    GameState lastState = states.current;
    window->gpu = render;
    if (!render)
        game.OnDeviceLost();
    while (step < steps) {
        // Frames are drawn in phases: the GPU comes on through a device loss
        // and goes off again the same way.
        if (render && !window->gpu && step >= nextDrawing) {
            window->gpu = true;
            game.OnDeviceLost();
            drawingSince = ticks;
        } else if (window->gpu && ticks - drawingSince >= renderTicks) {
            window->gpu = false;
            game.OnDeviceLost();
            nextDrawing = (step / renderEvery + 1) * renderEvery;
        }

        const GameState state = states.current;
        ++ticksIn[state == GameState::Playing && inventoryWindowOpen ? InventoryTally : static_cast<size_t>(state)];
        if (state != lastState)
            screenSince = step;
        lastState = state;
        World* world = game.GetCore()->GetWorld();
        auto* hero = world && state != GameState::MainMenu ? static_cast<Player*>(world->player) : nullptr;
        const bool dead = hero && hero->IsDead();
        deaths += dead && !wasDead;
        wasDead = dead;

        if ((state == GameState::MainMenu && starts == 0) ||
            ((state == GameState::MainMenu || state == GameState::LevelComplete) &&
             step - screenSince > IdleScreenSteps)) {
            StartLevel(level, starts++);
            screenSince = step;
        }
        // A god who fell out of the level falls for ever: the soak starts
        // its level again, as a player would.
        fallingSince = hero && hero->position.y < WorldCollision::FallOutHeight ? fallingSince : step;
        if (step - fallingSince > IdleScreenSteps) {
            StartLevel(level, starts++);
            fallingSince = step;
        }
        const bool godHalf = step < steps / 2;
        if (hero && !dead && state == GameState::Playing && !player.IsTyping()) {
            if (hero->godMode != godHalf) {
                player.Type("pozim");
                ++godCodes;
            } else if (!toggled.empty() && step >= untoggleAt) {
                // Fly and noclip are tried for a while, then switched off.
                if ((toggled == FlyCode && hero->fly) || (toggled == NoclipCode && hero->noclip))
                    player.Type(toggled);
                toggled.clear();
            } else if (chance(CheatChancePerTick)) {
                const std::string code = Cheats[std::uniform_int_distribution<size_t>(0, Cheats.size() - 1)(harness)];
                player.Type(code);
                if (code == FlyCode || code == NoclipCode) {
                    toggled = code;
                    untoggleAt = step + std::uniform_int_distribution<uint64_t>(600, 3000)(harness);
                }
            }
        }

        soak::PlaySituation situation;
        situation.lookMode = Input::GetInstance().mouseMode == Input::MouseModeRelative;
        situation.dead = dead;
        situation.inMenu = state != GameState::Playing || inventoryWindowOpen;
        window->GetClientSize(situation.width, situation.height);
        player.Act(situation, events.queue);

        const auto due = std::uniform_int_distribution<uint64_t>(1, 6)(harness);
        clock.Advance(due * testing::OneStep);
        while (!events.queue.empty())
            ASSERT_TRUE(loop.RunOnce()) << trace;
        ASSERT_TRUE(loop.RunOnce()) << trace;
        ++ticks;
        step = game.GetTimer().GetFrameCount();
        if (loaded) {
            loaded = false;
            watch.OnLevelLoaded();
            if (saves.current.levelId != level && saves.LoadSlot(saves.current.slot)) {
                // The level-complete screen went on to the next level: the
                // soak's level is picked again, as the title's level list
                // does (the slot, then the level).
                states.Request(GameState::Loading);
                saves.SetLevelName(level);
            }
        }

        const std::string failure = watch.Check(step);
        ASSERT_EQ(failure, "") << trace;
    }

    const soak::SoakPeaks& peaks = watch.peaks;
    std::cout << "[soak] " << trace << ": " << step << " steps, " << ticks << " ticks, " << window->drawn
              << " frames drawn, " << watch.levelsLoaded << " level loads, " << deaths << " deaths, " << godCodes
              << " god-mode codes, " << player.presses << " presses, " << player.wheelTurns << " wheel turns\n"
              << "[soak] peaks: objects " << peaks.objects << ", projectiles " << peaks.projectiles << " (oldest "
              << peaks.oldestProjectileSteps << " steps), lights " << peaks.lights << ", particles " << peaks.particles
              << " (dead " << peaks.deadParticles << "), motions " << peaks.motions << ", decals " << peaks.decals
              << ", messages " << peaks.messages << "\n"
              << "[soak] ticks: title " << ticksIn[1] << ", play " << ticksIn[3] << ", inventory "
              << ticksIn[InventoryTally] << ", in-game menu " << ticksIn[5] << ", level complete " << ticksIn[4]
              << "\n";
    EXPECT_GT(watch.levelsLoaded, 0u) << trace;
}

INSTANTIATE_TEST_SUITE_P(Levels, SoakTest, ::testing::Values("pentagram", "descent", "mouth"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace
} // namespace mirefell
