// The level-complete screen: its texts from the level just completed, the
// rows sliding up and landing one after the other with one shot each, at
// every screen height, Enter landing them all or going on to the next
// level, and the screen drawn at 1280 x 720 (test-output/win-screen-1280x720).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "UiFixture.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "platform/VirtualKey.h"
#include "support/SoundTestSupport.h"
#include "ui/WinScreen.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

// The screen as the game reaches it: the level completed by the player,
// the change announced at the next step.
template <class Base> class WinScreenFixture : public Base
{
protected:
    WinScreen& Screen() { return static_cast<WinScreen&>(*this->ui->winScreen); }
    void CompleteLevel()
    {
        this->player->CompleteLevel();
        ASSERT_EQ(this->State(), GameState::LevelComplete);
        GameStateManager::GetInstance().NotifyListeners();
        ASSERT_TRUE(Screen().visible);
    }
    int Landed()
    {
        int landed = 0;
        for (bool flag : Screen().rowLanded)
            landed += flag ? 1 : 0;
        return landed;
    }
};

using WinScreenTest = WinScreenFixture<UiTest>;
using WinScreenDrawTest = WinScreenFixture<UiDrawTest>;

// Level 1 finished after an hour: kills and pickups against the level's
// totals, the hour as the time and the new best, and the score of one
// powerup on Normal: floor(1 x 53333 / 54) = 987 (a best time of 180 s or
// more adds nothing).
TEST_F(WinScreenTest, TheTextsComeFromTheLevelJustCompleted)
{
    player->killCount = 2;
    world->monsterCount = 5;
    player->itemsCollected = 3;
    world->itemCount = 4;
    GameSaveLevelData& record = GameSaveManager::GetInstance().current.levels["pentagram"];
    record.itemCount = 1;
    record.pickedUpItemIds[4] = true;
    clock.Advance(3600ll * clock.Frequency());
    CompleteLevel();

    WinScreen& screen = Screen();
    EXPECT_EQ(screen.difficultyValue, L"Normal");
    EXPECT_EQ(screen.monstersValue, L"2 / 5");
    EXPECT_EQ(screen.itemsValue, L"3 / 4");
    EXPECT_EQ(screen.powerupsValue, L"1 / 1");
    EXPECT_EQ(screen.timeSpentValue, L"01:00:00");
    EXPECT_EQ(screen.personalBestValue, L"01:00:00");
    EXPECT_EQ(screen.totalScoreValue, L"987");
    EXPECT_FALSE(screen.allLanded);
}

// At 1080 the step is floor(21.6) = 21 pixels; slot i starts 1080 + 540i
// below its place: slot 0 lands in update ceil(1080 / 21) = 52, slot 1 in
// ceil(1620 / 21) = 78, ..., slot 9 in ceil(5940 / 21) = 283, each with one
// shot, and the prompt may show from then on.
TEST_F(WinScreenTest, RowsLandInOrderWithOneShotEach)
{
    TempDir sounds;
    RecordingAudioDevice* device = StartRecordingSound(SoundManager::GetInstance(), sounds);
    Resize(1920, 1080);
    CompleteLevel();
    WinScreen& screen = Screen();
    EXPECT_EQ(screen.step, 21.0f);
    const size_t shotsBefore = device->CountStarted("shotgun_fire.wav"); // the exit's own

    std::vector<int> landedIn;
    for (int update = 1; update <= 300; ++update) {
        const int before = Landed();
        UiStep();
        const int after = Landed();
        ASSERT_LE(after - before, 1) << "two rows in one update " << update;
        if (after > before) {
            EXPECT_TRUE(screen.rowLanded[static_cast<size_t>(before)]) << "slot " << before << " out of order";
            landedIn.push_back(update);
        }
        EXPECT_EQ(device->CountStarted("shotgun_fire.wav") - shotsBefore, static_cast<size_t>(after));
        EXPECT_EQ(screen.allLanded, update >= 283) << update;
    }
    const std::vector<int> expected = {52, 78, 103, 129, 155, 180, 206, 232, 258, 283};
    EXPECT_EQ(landedIn, expected);
    SoundManager::GetInstance().Reset();
}

// The step is floor(0.02 h), at least 1. At 600, 700, 900, 1050 and 1200 the
// last slot's distance is a whole number of steps (e.g. 2700 = 225 x 12):
// it lands exactly on its place, and must still be heard. Below 50 the
// fraction is 0: the rows must move all the same.
TEST_F(WinScreenTest, TheLastRowLandsAtEveryScreenHeight)
{
    for (int32_t height = 1; height <= 1200; ++height) {
        Resize(1600, height);
        Screen().Prepare();
        ASSERT_GE(Screen().step, 1.0f);
        for (int update = 0; update < 6000 && !Screen().allLanded; ++update)
            Screen().Update();
        ASSERT_TRUE(Screen().allLanded) << height;
        ASSERT_EQ(Landed(), WinScreen::SlotCount) << height;
    }
}

TEST_F(WinScreenTest, EnterLandsEveryRowAtOnceThenGoesOnToTheNextLevel)
{
    CompleteLevel();
    for (int update = 0; update < 60; ++update)
        UiStep();
    ASSERT_EQ(Landed(), 1);

    PressAndStep(KeyEnter);
    WinScreen& screen = Screen();
    EXPECT_TRUE(screen.allLanded);
    for (const Vector2& offset : screen.rowOffsets)
        EXPECT_EQ(offset.y, 0.0f);
    EXPECT_EQ(Landed(), 1) << "the rows skipped land silently";
    EXPECT_EQ(State(), GameState::LevelComplete);

    // The prompt blinks with the phase: 0.1 a step from 0, hidden while
    // sin(phase) > 0. After 61 steps (6.1, below 2 pi = 6.283) it shows; two
    // more (6.3) hide it again.
    EXPECT_FALSE(screen.promptHidden);
    UiStep();
    UiStep();
    EXPECT_TRUE(screen.promptHidden);

    PressAndStep(KeyEnter);
    EXPECT_FALSE(screen.visible);
    EXPECT_EQ(State(), GameState::Loading);
    EXPECT_EQ(GameSaveManager::GetInstance().current.levelId, "descent");
}

bool IsWhite(const Rgba8& p)
{
    return p.r > 240 && p.g > 240 && p.b > 240;
}

// At 720 the title's top stands at 360 - 335 = 25 (font 2, 63 high); the
// rows in font 1 (47 high) follow with a blank line after the title, the
// difficulty, the three counts and the two times: the difficulty at
// 25 + 63 + 47 = 135, the score at 135 + 47 x 9 = 558 and the prompt at
// 558 + 47 x 2 = 652. Labels start at 640 - 350 = 290, values end at 990.
TEST_F(WinScreenDrawTest, TheStatisticsStandInTheirRowsWithThePrompt)
{
    Resize(1280, 720);
    CompleteLevel();
    PressAndStep(KeyEnter);
    for (int update = 0; update < 31; ++update)
        UiStep(); // the phase reaches 3.3: the prompt shows
    ASSERT_FALSE(Screen().promptHidden);
    StartScreen(1280, 720, Color(0.25f, 0.25f, 0.25f, 1.0f));
    ui->Draw();
    Capture();
    Save("win-screen-1280x720");

    auto whiteIn = [this](int left, int top, int right, int bottom) {
        int count = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                count += IsWhite(At(x, y)) ? 1 : 0;
        return count;
    };
    EXPECT_GT(whiteIn(440, 25, 840, 88), 500) << "the title";
    EXPECT_EQ(whiteIn(0, 0, 1280, 20), 0);
    EXPECT_GT(whiteIn(290, 135, 400, 182), 100) << "Difficulty";
    EXPECT_EQ(whiteIn(280, 135, 290, 182), 0) << "labels start at 290";
    EXPECT_GT(whiteIn(900, 135, 990, 182), 100) << "Normal, right-aligned";
    EXPECT_EQ(whiteIn(990, 0, 1280, 720), 0) << "values end at 990 (the outline lies right of the white)";
    EXPECT_GT(whiteIn(290, 558, 450, 605), 100) << "Total score";
    EXPECT_EQ(whiteIn(0, 605, 1280, 652), 0) << "the blank line";
    EXPECT_GT(whiteIn(440, 652, 840, 699), 500) << "[ENTER] to continue";
    EXPECT_EQ(whiteIn(0, 699, 1280, 720), 0);
}

} // namespace
} // namespace mirefell::testing
