// Core's level loading over the test map (no GPU): what entering the
// loading state builds and tears down and in which order, the restart after
// death with and without permadeath, the level clock in the in-game menu,
// the level's lights on the way back to the title, and the main camera.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/GameError.h"
#include "platform/VirtualKey.h"
#include "render/Camera.h"
#include "render/DebugLines.h"
#include "render/Mesh.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "support/CoreFixture.h"
#include "ui/MenuScene.h"
#include "ui/NotificationBox.h"
#include "world/GridObject.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

using testing::KeyEvent;

class CoreLevel : public testing::CoreTest
{
protected:
    void PrepareFolder() override { LendTestMapAsLevels(); }
    // A new game in slot 0, loaded by the next step.
    void StartNewGame(bool permadeath = false)
    {
        GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, permadeath);
        core->Update();
        ASSERT_EQ(State(), GameState::Playing);
    }
    // A step in which the key goes down, and the step in which it comes up.
    void Press(int32_t key)
    {
        Send(KeyEvent(key, true));
        core->Update();
        Send(KeyEvent(key, false));
        core->Update();
    }
    Player* ThePlayer() const { return static_cast<Player*>(core->GetWorld()->player); }
    static size_t LightsOn()
    {
        const std::list<PointLight>& lights = PointLights::GetInstance().lights;
        return static_cast<size_t>(
            std::count_if(lights.begin(), lights.end(), [](const PointLight& light) { return light.enabled != 0; }));
    }
};

// An object of the level that, in its first update, ends the game for the
// title, as the last level's completion does through the end-of-game action.
class EndOfGame final : public GridObject
{
public:
    explicit EndOfGame(World* world_) : GridObject(world_, "end of game", nullptr) {}
    void Update() override
    {
        if (!done)
            GameSaveManager::GetInstance().onGameFinished();
        done = true;
    }
    bool done = false;
};

TEST_F(CoreLevel, ANewGameIsBuiltAndPlayedWithinOneStep)
{
    NotificationBox::AddMessage(NotificationBox::GetMessages(), L"left over", 100);
    window.relative = false;
    StartNewGame();
    World* world = core->GetWorld();
    ASSERT_NE(world, nullptr);
    EXPECT_EQ(Config::GetInstance().world, world);
    EXPECT_EQ(world->map.name, "testmap");
    EXPECT_EQ(core->GetRoot().name, "root");
    EXPECT_EQ(core->GetDebugRoot().name, "debugRoot");
    EXPECT_EQ(world->root, &core->GetRoot());
    EXPECT_FALSE(core->GetRoot().children.empty());
    EXPECT_EQ(Input::GetInstance().mouseMode, Input::MouseModeRelative);
    EXPECT_TRUE(window.relative);
    EXPECT_EQ(SoundManager::GetInstance().GetMusicLevelId(), "pentagram");
    EXPECT_TRUE(NotificationBox::GetMessages().empty()) << "messages never carry over into a level";
    EXPECT_TRUE(std::filesystem::exists("saves/save0.mfv")) << "the player saves at the level start";
    EXPECT_FALSE(ThePlayer()->IsDead());
}

TEST_F(CoreLevel, ReenteringLoadingTearsTheLevelDownBeforeTheMapIsRead)
{
    StartNewGame();
    const size_t levelLights = PointLights::GetInstance().lights.size();
    const size_t rootChildren = core->GetRoot().children.size();
    const size_t debugChildren = core->GetDebugRoot().children.size();
    core->GetParticles().AddParticle();
    PointLights::GetInstance().Add();
    DebugLines::GetInstance().Lines().emplace_back();

    // With the map gone, the load fails at the read: by then the old level
    // is gone, its particles, lights and lines too, and the roots are new.
    std::filesystem::rename("assets/maps/pentagram.json", "assets/maps/away.json");
    GameStateManager::GetInstance().Request(GameState::Loading);
    EXPECT_THROW(core->Update(), GameError);
    EXPECT_EQ(core->GetWorld(), nullptr);
    EXPECT_EQ(Config::GetInstance().world, nullptr);
    EXPECT_TRUE(core->GetParticles().particles.empty());
    EXPECT_TRUE(PointLights::GetInstance().lights.empty());
    EXPECT_TRUE(DebugLines::GetInstance().Lines().empty());
    EXPECT_TRUE(core->GetRoot().children.empty());

    std::filesystem::rename("assets/maps/away.json", "assets/maps/pentagram.json");
    GameStateManager::GetInstance().Request(GameState::Loading);
    core->Update();
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(PointLights::GetInstance().lights.size(), levelLights);
    EXPECT_EQ(core->GetRoot().children.size(), rootChildren);
    EXPECT_EQ(core->GetDebugRoot().children.size(), debugChildren);
}

TEST_F(CoreLevel, EnterAfterDeathRestartsTheLevelFromItsSlot)
{
    StartNewGame();
    core->GetWorld()->itemCount = -7; // a mark only this World carries
    Press(KeyEnter);
    EXPECT_EQ(core->GetWorld()->itemCount, -7) << "Enter means nothing while alive";

    ThePlayer()->Kill();                                  // saves the slot
    GameSaveManager::GetInstance().current.armor = 40.0f; // not in the slot
    Press(KeyEnter);                                      // the restart is asked for, and loaded in the next step
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_NE(core->GetWorld()->itemCount, -7);
    EXPECT_FALSE(ThePlayer()->IsDead());
    EXPECT_EQ(ThePlayer()->armor, 0.0f) << "the game as its slot holds it";
}

TEST_F(CoreLevel, EnterAfterAPermadeathDoesNothing)
{
    StartNewGame(true);
    core->GetWorld()->itemCount = -7; // a mark only this World carries
    ThePlayer()->Kill();
    ASSERT_TRUE(GameSaveManager::GetInstance().current.permadead);
    Press(KeyEnter);
    EXPECT_EQ(State(), GameState::Playing);
    EXPECT_EQ(core->GetWorld()->itemCount, -7);
    EXPECT_TRUE(ThePlayer()->IsDead());
}

TEST_F(CoreLevel, TheInGameMenuStopsTheLevelClock)
{
    StartNewGame();
    GameStateManager& states = GameStateManager::GetInstance();
    clock.Advance(20'000'000); // 2 s of play
    states.Request(GameState::IngameMenu);
    core->Update();
    EXPECT_TRUE(ThePlayer()->levelClock.IsPaused());
    clock.Advance(100'000'000);            // 10 s in the menu
    states.Request(GameState::IngameMenu); // (5, 5): nothing changes
    core->Update();
    states.Request(GameState::Playing);
    core->Update();
    EXPECT_FALSE(ThePlayer()->levelClock.IsPaused());
    EXPECT_EQ(ThePlayer()->levelClock.ElapsedSeconds(), 2);
}

TEST_F(CoreLevel, AMapTheLevelBuildRefusesIsNamedInTheFailure)
{
    const auto failureOf = [this](const char* name) {
        std::ifstream in("assets/maps/pentagram.json");
        nlohmann::json map = nlohmann::json::parse(in);
        map["name"] = name;
        map["hasScript"] = true;
        std::ofstream("assets/maps/pentagram.json", std::ios::trunc) << map.dump();
        GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
        try {
            core->Update();
        } catch (const GameError& error) {
            return error;
        }
        ADD_FAILURE() << name;
        return GameError("none");
    };
    GameError error = failureOf("nowhere");
    EXPECT_STREQ(error.what(), "script doesn't exist");
    EXPECT_EQ(error.Detail(), "assets/maps/pentagram.json: the map's \"name\" is \"nowhere\" and it \"hasScript\", "
                              "but no level script has that name");
    // The script of that name looks up ids this map does not have.
    error = failureOf("pentagram");
    EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    EXPECT_EQ(error.Detail(), "assets/maps/pentagram.json: the level script needs the elevator whose sector \"id\" is "
                              "155, which the map does not have");
}

// The frame drawn after the step that leaves the level is already the
// title's, while the title scene hears of the change (and adds its own four
// lights) only at the next step: none of the level's lights may be on by
// then, though they stay in the list until the next load.
TEST_F(CoreLevel, TheStepThatLeavesForTheTitleSwitchesTheLevelsLightsOff)
{
    StartNewGame();
    const size_t levelLights = PointLights::GetInstance().lights.size();
    ASSERT_EQ(LightsOn(), 5u); // the test map's four and the level exit's
    core->GetWorld()->AddObject(std::make_unique<EndOfGame>(core->GetWorld()));
    core->Update();
    ASSERT_EQ(State(), GameState::MainMenu);
    EXPECT_EQ(LightsOn(), 0u);
    EXPECT_EQ(PointLights::GetInstance().lights.size(), levelLights);
    core->Update();
    EXPECT_EQ(LightsOn(), static_cast<size_t>(MenuScene::LightCount));
}

TEST_F(CoreLevel, TheCameraTakesTheFieldOfViewAndEverySizesAspect)
{
    Camera& camera = core->GetCamera();
    EXPECT_EQ(Config::GetInstance().camera, &camera);
    EXPECT_FLOAT_EQ(camera.fieldOfView, Config::GetInstance().settings.fov);
    EXPECT_FLOAT_EQ(camera.aspectRatio, 800.0f / 600.0f);
    core->OnWindowSizeChanged(1000, 250, &window, nullptr);
    EXPECT_FLOAT_EQ(camera.aspectRatio, 4.0f);
    EXPECT_FLOAT_EQ(camera.projection.m[1][1] / camera.projection.m[0][0], 4.0f);

    core.reset();
    EXPECT_EQ(Config::GetInstance().camera, nullptr) << "no pointer outlives the Core";
}

} // namespace
} // namespace mirefell
