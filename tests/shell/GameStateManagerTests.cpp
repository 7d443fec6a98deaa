// When listeners hear of a state change, and in what order.
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "shell/GameStateManager.h"

namespace mirefell
{
namespace
{

using Heard = std::vector<std::pair<GameState, GameState>>;

class GameStateManagerTest : public ::testing::Test
{
protected:
    void SetUp() override { manager.Reset(); }
    void TearDown() override { manager.Reset(); }
    GameStateManager& manager = GameStateManager::GetInstance();
};

TEST_F(GameStateManagerTest, FreshManagerAnnouncesNothing)
{
    int calls = 0;
    manager.AddListener([&](GameState, GameState) { ++calls; });
    EXPECT_EQ(manager.current, GameState::Start);
    EXPECT_EQ(manager.previous, GameState::Start);
    manager.NotifyListeners();
    EXPECT_EQ(calls, 0);
}

TEST_F(GameStateManagerTest, RequestIsReadAtOnceButAnnouncedOnceAtTheNextNotify)
{
    Heard heard;
    manager.AddListener([&](GameState n, GameState p) { heard.emplace_back(n, p); });
    manager.Request(GameState::Playing);
    manager.Request(GameState::IngameMenu);
    EXPECT_EQ(manager.current, GameState::IngameMenu);
    EXPECT_TRUE(heard.empty());
    manager.NotifyListeners();
    manager.NotifyListeners();
    EXPECT_EQ(heard, (Heard{{GameState::IngameMenu, GameState::Playing}}));
}

TEST_F(GameStateManagerTest, RequestingTheSameStateStillAnnouncesIt)
{
    Heard heard;
    manager.AddListener([&](GameState n, GameState p) { heard.emplace_back(n, p); });
    manager.Request(GameState::IngameMenu);
    manager.NotifyListeners();
    manager.Request(GameState::IngameMenu);
    manager.NotifyListeners();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1], std::make_pair(GameState::IngameMenu, GameState::IngameMenu));
}

TEST_F(GameStateManagerTest, ARequestMadeByAListenerReachesOnlyTheListenersAfterIt)
{
    // The level-start pattern: listener 2 loads the level on Loading and
    // requests Playing at once.
    std::vector<std::string> log;
    manager.AddListener([&](GameState n, GameState p) {
        log.push_back("first " + std::to_string(int(n)) + "<-" + std::to_string(int(p)));
    });
    manager.AddListener([&](GameState n, GameState p) {
        log.push_back("loader " + std::to_string(int(n)) + "<-" + std::to_string(int(p)));
        if (n == GameState::Loading)
            manager.Request(GameState::Playing);
    });
    manager.AddListener([&](GameState n, GameState p) {
        log.push_back("last " + std::to_string(int(n)) + "<-" + std::to_string(int(p)));
    });
    manager.Request(GameState::MainMenu);
    manager.NotifyListeners();
    log.clear();
    manager.Request(GameState::Loading);
    manager.NotifyListeners();
    EXPECT_EQ(log, (std::vector<std::string>{"first 2<-1", "loader 2<-1", "last 3<-2"}));
    // The listener's request counts as announced.
    log.clear();
    manager.NotifyListeners();
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(manager.changed);
}

TEST_F(GameStateManagerTest, AListenerAddedDuringAPassWaitsForTheNextPass)
{
    int lateCalls = 0;
    manager.AddListener([&](GameState, GameState) { manager.AddListener([&](GameState, GameState) { ++lateCalls; }); });
    manager.Request(GameState::MainMenu);
    manager.NotifyListeners();
    EXPECT_EQ(lateCalls, 0);
    manager.Request(GameState::Loading);
    manager.NotifyListeners();
    EXPECT_EQ(lateCalls, 1);
}

TEST_F(GameStateManagerTest, AListenerThatRegistersManyOthersKeepsItsOwnState)
{
    // The first listener (one small capture, kept inside the listener
    // itself) registers enough others to outgrow any small list, then still
    // reads its capture.
    struct Probe
    {
        GameStateManager* manager;
        std::vector<GameState> seen;
    } probe{&manager, {}};
    manager.AddListener([state = &probe](GameState n, GameState) {
        for (int i = 0; i < 64; ++i)
            state->manager->AddListener([](GameState, GameState) {});
        state->seen.push_back(n);
    });
    manager.Request(GameState::MainMenu);
    manager.NotifyListeners();
    EXPECT_EQ(probe.seen, std::vector<GameState>{GameState::MainMenu});
}

} // namespace
} // namespace mirefell
