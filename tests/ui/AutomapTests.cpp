// The automap's update and layout with no GPU: the wheel's zoom steps, the
// title and mode texts, and where the inset and the map's points fall at
// 1920 x 1080 and 1280 x 720, worked out by hand. (Its drawing is in
// InventoryDrawTests.cpp.)
#include <gtest/gtest.h>

#include "UiFixture.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "shell/Input.h"
#include "ui/Automap.h"

namespace mirefell::testing
{
namespace
{

class AutomapTest : public UiTest
{
protected:
    // One update with the wheel turned (+1 away from the user, -1 towards).
    void Wheel(int32_t notch, int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            Input::GetInstance().wheel = notch;
            UiStep();
            Input::GetInstance().wheel = 0;
        }
    }
};

TEST_F(AutomapTest, TheWheelZoomsOneQuarterPerUpdateBetweenAQuarterAndFour)
{
    Automap& map = *ui->automap;
    EXPECT_EQ(map.zoom, 2.0f);
    Wheel(-1, 5);
    EXPECT_EQ(map.zoom, 0.75f);
    Wheel(-1, 3);
    EXPECT_EQ(map.zoom, 0.25f);
    UiStep();
    EXPECT_EQ(map.zoom, 0.25f); // no notch, no change
    Wheel(+1, 20);
    EXPECT_EQ(map.zoom, 4.0f);

    // A new level starts at 2 again.
    StartLevel();
    EXPECT_EQ(ui->automap->zoom, 2.0f);
}

TEST_F(AutomapTest, TheTitleNamesTheLevelAndItsClockAndTheModeFollowsTheGame)
{
    UiStep();
    Automap& map = *ui->automap;
    EXPECT_EQ(map.titleText, L"Level 1 - Pentagram - 00:00:00");
    EXPECT_EQ(map.modeText, L"Normal");

    GameSave& save = GameSaveManager::GetInstance().current;
    save.blackout = true;
    save.permadeath = true;
    clock.Advance(3725ll * clock.Frequency()); // 1 h 2 min 5 s
    UiStep();
    EXPECT_EQ(map.modeText, L"Normal Blackout Permadeath");
    EXPECT_EQ(map.titleText, L"Level 1 - Pentagram - 01:02:05");
    save.cheater = true;
    UiStep();
    EXPECT_EQ(map.modeText, L"Cheater");

    // On "Masochistic" the centre and zoom stay; the texts still follow.
    save.difficulty = GameDifficulty::Masochistic;
    save.cheater = false;
    save.blackout = save.permadeath = false;
    player->position = {300.0f, 0.0f, 40.0f};
    Wheel(+1);
    EXPECT_EQ(map.zoom, 2.0f);
    EXPECT_NE(map.centre.x, 300.0f);
    EXPECT_EQ(map.modeText, L"Masochistic");
}

// The player at (32, 32), zoom 2. Room A, (0, 0)-(128, 128), lies from
// ((0 - 32) x 2, (0 - 32) x 2) to ((128 - 32) x 2, (128 - 32) x 2), that is
// (-64, -64) to (192, 192), around the inset's centre.
//   1920 x 1080 (u 64, m 16): inset at (32, 112), 1920 - 640 - 96 = 1184 by
//   640; centre (592, 320); room A from (528, 256) to (784, 512).
//   1280 x 720 (u 48, m 12): inset at (24, 84), 1280 - 480 - 72 = 728 by 480;
//   centre (364, 240); room A from (300, 176) to (556, 432).
// The random powerup rests at (180, 28): at zoom 2 (660, 232) at 720p; at
// zoom 2.5 its x, 364 + 148 x 2.5 = 734, is pulled back to the right edge,
// 728, and its y is 240 - 4 x 2.5 = 230.
TEST_F(AutomapTest, TheInsetAndTheMapPointsFollowTheScreenSize)
{
    player->position = {32.0f, 0.0f, 32.0f};
    UiStep();
    Automap& map = *ui->automap;

    Resize(1920, 1080);
    EXPECT_EQ(map.GetPosition(), Vector2(32, 112));
    EXPECT_EQ(map.GetSize(), Vector2(1184, 640));
    EXPECT_EQ(map.MapPoint(0, 0), Vector2(528, 256));
    EXPECT_EQ(map.MapPoint(128, 128), Vector2(784, 512));
    EXPECT_EQ(ui->automapViewport.width, 1184.0f);

    Resize(1280, 720);
    EXPECT_EQ(map.GetPosition(), Vector2(24, 84));
    EXPECT_EQ(map.GetSize(), Vector2(728, 480));
    EXPECT_EQ(map.MapPoint(0, 0), Vector2(300, 176));
    EXPECT_EQ(map.MapPoint(128, 128), Vector2(556, 432));
    EXPECT_EQ(map.IconCentre(180, 28), Vector2(660, 232));
    Wheel(+1, 2);
    EXPECT_EQ(map.IconCentre(180, 28), Vector2(728, 230));
    EXPECT_EQ(map.IconCentre(-1000, 5000), Vector2(0, 480));
}

// 10u + 6m is 414 at the smallest unit (36, margin 9): narrower screens keep
// an inset, and a map, one pixel wide.
TEST_F(AutomapTest, ANarrowScreenKeepsAOnePixelInset)
{
    Resize(400, 300);
    EXPECT_EQ(ui->automapViewport.width, 1.0f);
    EXPECT_EQ(ui->automap->GetSize(), Vector2(1, 360));
    Resize(415, 300);
    EXPECT_EQ(ui->automap->GetSize().x, 1.0f);
    Resize(416, 300);
    EXPECT_EQ(ui->automap->GetSize().x, 2.0f);
}

} // namespace
} // namespace mirefell::testing
