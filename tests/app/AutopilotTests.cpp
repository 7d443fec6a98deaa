// The route file (written, read back, refused when broken) and the
// developer's autopilot over Core's steps on the shipped "pentagram": it
// walks the route only in the route's level, pauses with its keys let go
// while the inventory is open, and reports the god mode, the exit, a death
// and a walk that stops short, one line each.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/Autopilot.h"
#include "app/Route.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/GameError.h"
#include "shell/Input.h"
#include "shell/InventoryWindowFlag.h"
#include "support/CoreFixture.h"
#include "world/World.h"

namespace mirefell
{
namespace
{

RouteStep Make(RouteAction action, Vector2 at = {}, int32_t id = 0, int32_t steps = 0, bool top = true)
{
    RouteStep step;
    step.action = action;
    step.at = at;
    step.id = id;
    step.steps = steps;
    step.top = top;
    return step;
}

TEST(RouteFile, ReadsBackEveryActionItWrites)
{
    Route route{"pentagram",
                {Make(RouteAction::Walk, {96.5f, -1720.0f}), Make(RouteAction::Use, {48.0f, 1592.0f}),
                 Make(RouteAction::Switch, {}, 1973), Make(RouteAction::Wait, {}, 0, 600),
                 Make(RouteAction::Lift, {}, 25, 0, false), Make(RouteAction::Door, {}, -4)}};
    route.steps[0].line = 350;
    const Route read = Route::FromJson(route.ToJson());
    EXPECT_EQ(read.level, "pentagram");
    ASSERT_EQ(read.steps.size(), route.steps.size());
    for (size_t i = 0; i < route.steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.steps[i].action, route.steps[i].action);
        EXPECT_EQ(read.steps[i].line, route.steps[i].line);
        EXPECT_EQ(read.steps[i].at.x, route.steps[i].at.x);
        EXPECT_EQ(read.steps[i].at.y, route.steps[i].at.y);
        EXPECT_EQ(read.steps[i].id, route.steps[i].id);
        EXPECT_EQ(read.steps[i].steps, route.steps[i].steps);
        EXPECT_EQ(read.steps[i].top, route.steps[i].top);
    }
}

TEST(RouteFile, ABrokenFileIsRefusedSayingWhatIsWrong)
{
    const std::pair<const char*, const char*> broken[] = {
        {"", "not a JSON object"},
        {"[1, 2]", "not a JSON object"},
        {R"({"steps": []})", "the route has no \"level\""},
        {R"({"level": "", "steps": []})", "\"level\" is not a level name"},
        {R"({"level": "a", "steps": {}})", "\"steps\" is not a list"},
        {R"({"level": "a", "steps": [{"action": "jump"}]})", "step 1 has an unknown action \"jump\""},
        {R"({"level": "a", "steps": [{"action": "wait", "steps": 1}, {"action": "walk", "at": [1]}]})",
         "step 2's \"at\" is not a point [x, y]"},
        {R"({"level": "a", "steps": [{"action": "wait", "steps": -1}]})",
         "step 1's \"steps\" is not a whole number from 0"},
        {R"({"level": "a", "steps": [{"action": "lift", "id": 3}]})", "step 1 has no \"top\""},
        {R"({"level": "a", "steps": [{"action": "door", "id": 2.5}]})", "step 1's \"id\" is not a whole number"},
    };
    for (const auto& [text, detail] : broken) {
        SCOPED_TRACE(text);
        try {
            Route::FromJson(text);
            ADD_FAILURE() << "read";
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), Route::BadRouteFile);
            EXPECT_EQ(error.Detail().rfind(detail, 0), 0u) << error.Detail();
        }
    }
    try {
        Route::Load("no-such-route.json");
        ADD_FAILURE() << "read";
    } catch (const GameError& error) {
        EXPECT_EQ(error.Detail(), "no-such-route.json: cannot be read");
    }
}

class AutopilotTest : public testing::CoreTest
{
protected:
    void TearDown() override
    {
        Land();
        CoreTest::TearDown();
    }

    // An autopilot on the route, reporting into memory.
    void Fly(Route route)
    {
        Land();
        report = open_memstream(&reportText, &reportSize);
        autopilot = std::make_unique<Autopilot>(std::move(route), report);
    }
    void Land()
    {
        autopilot.reset();
        if (report)
            std::fclose(report);
        std::free(reportText);
        report = nullptr;
        reportText = nullptr;
        reportSize = 0;
    }
    // Steps as the game runs them: the autopilot first, then Core's step.
    void Run(int count)
    {
        for (int i = 0; i < count; ++i) {
            autopilot->BeforeStep(core->GetWorld(), State());
            Step(1);
        }
    }
    // Runs until the report holds the line (at most `limit` steps).
    bool RunUntilReported(const std::string& line, int limit)
    {
        for (int i = 0; i < limit && !Reported(line); ++i)
            Run(1);
        return Reported(line);
    }
    bool Reported(const std::string& line) const
    {
        std::fflush(report);
        return std::string(reportText, reportSize).find("autopilot: " + line) != std::string::npos;
    }
    std::string Report() const
    {
        std::fflush(report);
        return std::string(reportText, reportSize);
    }
    Player& ThePlayer() const { return *static_cast<Player*>(core->GetWorld()->player); }
    // The shipped level's route file, as the build writes it.
    static Route PentagramRoute() { return Route::Load(std::string(MIREFELL_RUN_DIR) + "/routes/pentagram.json"); }

    std::FILE* report = nullptr;
    char* reportText = nullptr;
    size_t reportSize = 0;
    std::unique_ptr<Autopilot> autopilot;
};

TEST_F(AutopilotTest, WalksItsLevelToTheExitAndLeavesTheNextLevelAlone)
{
    Fly(PentagramRoute());
    GameSaveManager& saves = GameSaveManager::GetInstance();
    saves.NewGame(0, GameDifficulty::Normal, false, false);
    Run(2);
    ASSERT_EQ(core->GetWorld()->map.name, "pentagram");
    ThePlayer().godMode = true; // as the cheat code sets it
    ASSERT_TRUE(RunUntilReported("reached the exit", 20000)) << Report();
    EXPECT_THAT(Report(), ::testing::MatchesRegex("autopilot: route of pentagram, 52 steps\n"
                                                  "autopilot: level pentagram started, walking its route\n"
                                                  "autopilot: god mode on\n"
                                                  "autopilot: reached the exit after [0-9]+ steps\n"));
    EXPECT_FALSE(Input::GetInstance().keyboardState.IsKeyDown('W'));

    saves.AdvanceToNextLevel(); // past the level-complete screen
    Run(2);
    ASSERT_EQ(core->GetWorld()->map.name, "descent");
    EXPECT_TRUE(Reported("level descent started, not on the route"));
    const Vector3 start = ThePlayer().position;
    Run(120);
    EXPECT_EQ(ThePlayer().position.x, start.x);
    EXPECT_EQ(ThePlayer().position.z, start.z);
}

TEST_F(AutopilotTest, WaitsWhileTheInventoryIsOpenAndReportsADeath)
{
    // Unarmed (past the weapons' alcoves) into the courtyard, in front of its
    // noms, then standing among them, mortal.
    const Route route{"pentagram",
                      {Make(RouteAction::Walk, {96.0f, 1720.0f}), Make(RouteAction::Walk, {48.0f, 1640.0f}),
                       Make(RouteAction::Use, {48.0f, 1592.0f}), Make(RouteAction::Door, {}, 4),
                       Make(RouteAction::Walk, {48.0f, 1560.0f}), Make(RouteAction::Walk, {150.0f, 1100.0f}),
                       Make(RouteAction::Wait, {}, 0, 36000)}};
    Fly(route);
    GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
    Run(30);
    const Vector3 walking = ThePlayer().position;
    EXPECT_NE(walking.z, core->GetWorld()->map.playerStartPosition.y) << "on its way";

    inventoryWindowOpen = true;
    Run(60);
    EXPECT_EQ(ThePlayer().position.z, walking.z);
    EXPECT_FALSE(Input::GetInstance().keyboardState.IsKeyDown('W')) << "the keys are let go";
    EXPECT_TRUE(Reported("paused"));
    inventoryWindowOpen = false;
    Run(1);
    EXPECT_TRUE(Reported("walking on"));

    ASSERT_TRUE(RunUntilReported("the player died", 6000)) << Report();
    EXPECT_TRUE(ThePlayer().dead);
    EXPECT_FALSE(Reported("reached the exit"));
}

TEST_F(AutopilotTest, SaysWhereAWalkStoppedShort)
{
    Route route{"pentagram", {Make(RouteAction::Walk, {96.0f, 1720.0f}), Make(RouteAction::Lift, {}, 9999)}};
    route.steps[1].line = 7;
    Fly(route);
    GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
    EXPECT_TRUE(RunUntilReported("stopped: route line 7: no lift 9999", 600)) << Report();

    route.steps.pop_back();
    Fly(route);
    GameSaveManager::GetInstance().NewGame(0, GameDifficulty::Normal, false, false);
    EXPECT_TRUE(RunUntilReported("the route ended before the exit", 600)) << Report();
}

} // namespace
} // namespace mirefell
