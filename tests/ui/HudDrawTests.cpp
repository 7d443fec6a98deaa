// The HUD drawn on the headless GPU, with screenshots in "test-output/":
// every widget's place and size at 1920 x 1080 and 1280 x 720 against
// numbers worked out by hand, the death screen's lines, the loading screen,
// and the mouse cursor by state and edge. (The HUD over the lit level, as
// the Core's frame draws it, is an app test.)
//
// For the layout the icons, the crosshair and the cursor are plain white
// textures, so each draws as a solid rectangle in its tint over a grey
// background: health red (190, 3, 3), armour green (3, 190, 3), ammunition
// cyan (3, 190, 190), white (255) for texts, black shadows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "UiFixture.h"
#include "gameplay/Player.h"
#include "gameplay/Weapons.h"
#include "shell/Config.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/LevelBannerFlag.h"
#include "ui/DeathScreen.h"
#include "ui/LevelNotification.h"
#include "ui/UsePopup.h"

namespace mirefell::testing
{
namespace
{

constexpr Color Grey{0.25f, 0.25f, 0.25f, 1.0f}; // 64 in the target

// A box of pixels, edges inclusive.
struct Box
{
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << "(" << box.left << ", " << box.top << ")-(" << box.right << ", " << box.bottom << ")";
}

bool IsWhite(const Rgba8& p)
{
    return p.r > 200 && p.g > 200 && p.b > 200;
}
bool IsHealthRed(const Rgba8& p)
{
    return p.r > 180 && p.r < 200 && p.g < 10 && p.b < 10;
}
bool IsArmourGreen(const Rgba8& p)
{
    return p.g > 180 && p.g < 200 && p.r < 10 && p.b < 10;
}
bool IsAmmoCyan(const Rgba8& p)
{
    return p.g > 180 && p.b > 180 && p.r < 10;
}

// What the HUD of one screen size must show, worked out by hand from the
// layout rules with unit u and margin m.
struct Expected
{
    uint32_t width, height;
    Box healthIcon, armourIcon, ammoIcon; // 2u squares
    int healthTextRight, armourTextRight, ammoTextRight;
    int numberTop, numberBottom; // the band of the numbers' scaled font
    Box crosshair;
    Box litSegments; // segments 0 to 9 of the monster bar
    int notificationCorner, secondBoxTop;
    int promptCentreX, promptTop, promptBottom;
    int clockRight, clockTop;
    int bannerLeft, bannerTop, nameLeft, nameTop;
    int deathTitleTop, deathPromptTop;
};

// 1920 x 1080: u 64, m 16. Health p = (0, 1080 - 128), t = p + (240, 64);
// armour p = (256, 952); ammo p = (1920 - 288, 952), t = p + (256, 64);
// numbers in font 0 + step 3 (line 94) centred on 1016: 969 to 1062.
// Crosshair (960 - 8, 540 - 8). Monster bar o = (960 - 138, 32), segments 16
// high, the tenth at 822 + 126. Messages from (32, 32), 64 high and 16
// apart. Prompt centred on (960, 540 + 48 + 32) in font 1 (line 47). Clock
// right at 1920 - 32, top 32. Banner (32, 1080 - 384), name (22, 696 + 64).
// Death: 540 - 47 - 47 = 446, prompt 446 + 94 + 47 = 587.
const Expected FullHd{
    .width = 1920,
    .height = 1080,
    .healthIcon = {0, 952, 127, 1079},
    .armourIcon = {256, 952, 383, 1079},
    .ammoIcon = {1632, 952, 1759, 1079},
    .healthTextRight = 240,
    .armourTextRight = 496,
    .ammoTextRight = 1888,
    .numberTop = 969,
    .numberBottom = 1062,
    .crosshair = {952, 532, 967, 547},
    .litSegments = {822, 32, 957, 47},
    .notificationCorner = 32,
    .secondBoxTop = 112,
    .promptCentreX = 960,
    .promptTop = 596,
    .promptBottom = 643,
    .clockRight = 1888,
    .clockTop = 32,
    .bannerLeft = 32,
    .bannerTop = 696,
    .nameLeft = 22,
    .nameTop = 760,
    .deathTitleTop = 446,
    .deathPromptTop = 587,
};

// 1280 x 720: u 48, m 12. Health p = (0, 624), t = (180, 672); armour
// p = (192, 624), t = (372, 672); ammo p = (1280 - 216, 624), t = (1256, 672);
// numbers in font 0 + step 2 (line 63): 640 to 702. Crosshair (632, 352).
// Monster bar o = (502, 24), segments 12 high, the tenth at 628. Messages
// from (24, 24), 56 high and 12 apart. Prompt centred on (640, 360 + 36 +
// 24). Clock right at 1256, top 24. Banner (24, 720 - 288), name (14, 480).
// Death: 360 - 94 = 266, prompt 266 + 141 = 407.
const Expected Hd{
    .width = 1280,
    .height = 720,
    .healthIcon = {0, 624, 95, 719},
    .armourIcon = {192, 624, 287, 719},
    .ammoIcon = {1064, 624, 1159, 719},
    .healthTextRight = 180,
    .armourTextRight = 372,
    .ammoTextRight = 1256,
    .numberTop = 640,
    .numberBottom = 702,
    .crosshair = {632, 352, 647, 367},
    .litSegments = {502, 24, 637, 35},
    .notificationCorner = 24,
    .secondBoxTop = 92,
    .promptCentreX = 640,
    .promptTop = 397,
    .promptBottom = 443,
    .clockRight = 1256,
    .clockTop = 24,
    .bannerLeft = 24,
    .bannerTop = 432,
    .nameLeft = 14,
    .nameTop = 480,
    .deathTitleTop = 266,
    .deathPromptTop = 407,
};

class HudDrawTest : public AimingTestOf<UiDrawTest>
{
protected:
    Box InkIn(int left, int top, int right, int bottom, const std::function<bool(const Rgba8&)>& is) const
    {
        Box box;
        for (int y = std::max(0, top); y <= std::min<int>(bottom, screenHeight - 1); ++y)
            for (int x = std::max(0, left); x <= std::min<int>(right, screenWidth - 1); ++x)
                if (is(At(x, y))) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }

    void DrawFrame(uint32_t width, uint32_t height)
    {
        StartScreen(width, height, Grey);
        ui->Draw();
        Capture();
    }

    // A living player at full health with 50 armour and a shotgun of 20
    // shells, aiming at a monster at 49 % and at a lever, two messages, the
    // clock on and the banner fully shown.
    void SetUpPlay()
    {
        WhiteTextures({"hud_health", "hud_armor", "hud_ammo", "crosshair", "mouse"});
        showLevelBanner = true;
        StartLevel();
        auto shotgun = Weapons::MakeDoubleShotgun();
        Weapon* weapon = shotgun.get();
        player->inventory.AddItem(std::move(shotgun));
        player->inventory.AddAmmo(AmmoType::Shells, 20 - player->inventory.GetAmmo(AmmoType::Shells));
        player->UseItem(weapon);
        player->armor = 50.0f;
        Aim();
        Config::GetInstance().settings.showLevelTimer = true;
        clock.Advance(clock.Frequency() * 75);
        for (int i = 0; i < 200; ++i) // counters settle; the banner is opaque
            ui->Update();
        auto& messages = NotificationBox::GetMessages();
        NotificationBox::AddMessage(messages, L"Picked up the red key.", 300);
        NotificationBox::AddMessage(messages, L"Hi", 300);
    }
};

TEST_F(HudDrawTest, EveryWidgetStandsWhereTheLayoutPutsItAtFullHdAnd720p)
{
    SetUpPlay();
    for (const Expected& e : {FullHd, Hd}) {
        SCOPED_TRACE(e.width);
        DrawFrame(e.width, e.height);
        Save("hud-layout-" + std::to_string(e.width) + "x" + std::to_string(e.height));
        const int w = static_cast<int>(e.width), h = static_cast<int>(e.height);

        // Icons over their shadows 4 pixels right and down.
        EXPECT_EQ(InkIn(0, h / 2, w, h, IsHealthRed), e.healthIcon);
        EXPECT_EQ(InkIn(0, h / 2, w, h, IsArmourGreen), e.armourIcon);
        EXPECT_EQ(InkIn(0, h / 2, w, h, IsAmmoCyan), e.ammoIcon);
        const Rgba8 shadow = At(e.healthIcon.right + 2, e.healthIcon.top + 6);
        EXPECT_LT(shadow.r + shadow.g + shadow.b, 10);

        // Numbers right-aligned on their text points, centred in the band.
        const int iconRights[] = {e.healthIcon.right, e.armourIcon.right, e.ammoIcon.right};
        const int textRights[] = {e.healthTextRight, e.armourTextRight, e.ammoTextRight};
        for (int i = 0; i < 3; ++i) {
            const Box number = InkIn(iconRights[i] + 1, e.numberTop - 20, textRights[i] + 20, h, IsWhite);
            ASSERT_FALSE(number.Empty()) << i;
            EXPECT_LT(number.right, textRights[i]) << i;
            EXPECT_GE(number.right, textRights[i] - 3) << i;
            EXPECT_GE(number.top, e.numberTop) << i;
            EXPECT_LE(number.bottom, e.numberBottom) << i;
        }

        EXPECT_EQ(InkIn(w / 2 - 40, h / 2 - 40, w / 2 + 40, h / 2 + 20, IsWhite), e.crosshair);
        EXPECT_EQ(InkIn(w / 2 - 200, 0, w / 2 + 200, 80, IsWhite), e.litSegments);
        const Rgba8 unlit = At(e.litSegments.right + 6, e.litSegments.top + 1);
        EXPECT_EQ(unlit.r, 64); // the eleventh segment: no fill, its shadow lower down

        // Two message boxes (black at 0.75 over the grey: 16), one margin
        // apart, the newest on top.
        const int c = e.notificationCorner;
        EXPECT_EQ(At(c, c).r, 16);
        EXPECT_EQ(At(c - 1, c).r, 64);
        EXPECT_EQ(At(c, c - 1).r, 64);
        EXPECT_EQ(At(c, e.secondBoxTop).r, 16);
        EXPECT_EQ(At(c, e.secondBoxTop - 1).r, 64);
        const Box newest = InkIn(0, 0, w / 4, e.secondBoxTop - 1, IsWhite);
        EXPECT_GE(newest.left, c + c / 2); // text at the box's corner + (m, m)
        EXPECT_LE(newest.left, c + c / 2 + 4);
        EXPECT_GE(newest.top, c + c / 2);

        const Box prompt = InkIn(w / 2 - 200, e.promptTop - 10, w / 2 + 200, e.promptBottom + 10, IsWhite);
        EXPECT_NEAR((prompt.left + prompt.right) / 2.0, e.promptCentreX, 3.0);
        EXPECT_GE(prompt.top, e.promptTop);
        EXPECT_LE(prompt.bottom, e.promptBottom);

        const Box clockText = InkIn(w * 3 / 4, 0, w - 1, h / 4, IsWhite);
        EXPECT_LT(clockText.right, e.clockRight);
        EXPECT_GE(clockText.right, e.clockRight - 3);
        EXPECT_GE(clockText.top, e.clockTop);

        const Box number = InkIn(0, e.bannerTop, w / 2, e.nameTop - 1, IsWhite);
        const Box name = InkIn(0, e.nameTop, w / 2, e.healthIcon.top - 1, IsWhite);
        EXPECT_GE(number.left, e.bannerLeft);
        EXPECT_LE(number.left, e.bannerLeft + 6);
        EXPECT_GE(number.top, e.bannerTop);
        EXPECT_GE(name.left, e.nameLeft);
        EXPECT_LE(name.left, e.nameLeft + 8);
        EXPECT_GE(name.top, e.nameTop);
    }
}

TEST_F(HudDrawTest, TheDeathScreenCentresItsLinesAndOffersNoRestartInPermadeath)
{
    SetUpPlay();
    player->crosshairMonster = nullptr;
    player->usableInReach = false;
    Config::GetInstance().settings.showHud = false; // the death screen ignores it
    Config::GetInstance().settings.showLevelTimer = false;
    ui->levelNotification->visible = false;
    player->dead = true;
    ui->deathScreen->blinkOn = true;
    for (const Expected& e : {FullHd, Hd}) {
        SCOPED_TRACE(e.width);
        const int w = static_cast<int>(e.width), h = static_cast<int>(e.height);
        GameSaveManager::GetInstance().current.permadeath = false;
        DrawFrame(e.width, e.height);
        const int titleHeight = 94, promptHeight = 47;
        const Box title = InkIn(0, 0, w - 1, e.deathTitleTop + titleHeight - 1, IsWhite);
        const Box restart = InkIn(0, e.deathTitleTop + titleHeight, w - 1, h * 3 / 4, IsWhite);
        EXPECT_GE(title.top, e.deathTitleTop);
        EXPECT_NEAR((title.left + title.right) / 2.0, w / 2, 3.0);
        EXPECT_GE(restart.top, e.deathPromptTop);
        EXPECT_LT(restart.bottom, e.deathPromptTop + promptHeight);
        EXPECT_NEAR((restart.left + restart.right) / 2.0, w / 2, 3.0);
        if (e.width == 1280)
            Save("hud-death-1280x720");

        GameSaveManager::GetInstance().current.permadeath = true;
        DrawFrame(e.width, e.height);
        // "You died." one title line above the centre, "Permanently." below.
        const Box died = InkIn(0, 0, w - 1, h / 2 - 1, IsWhite);
        const Box permanently = InkIn(0, h / 2, w - 1, h - 1, IsWhite);
        EXPECT_GE(died.top, h / 2 - titleHeight);
        EXPECT_GE(permanently.top, h / 2);
        EXPECT_LT(permanently.bottom, h / 2 + titleHeight);
    }
}

TEST_F(HudDrawTest, TheMessagesStepBelowTheMonsterBarOnlyWhileItIsShownAndABoxWouldLieOnIt)
{
    // 1280 x 720: the bar from x 502, its shadows down to 24 + 12 + 4 = 40;
    // the stack at (24, 24), or at 40 + 12 = 52 below the bar. Boxes are 56
    // high and 12 apart, so only the first one starts above 40. The long
    // message's box runs from 24 past 502, the short one's ends near 80.
    SetUpPlay();
    ui->levelNotification->visible = false;
    auto& messages = NotificationBox::GetMessages();
    const std::wstring longText = L"You can review your map and inventory by pressing [TAB].";
    const auto stackTop = [&] {
        ui->Update();
        DrawFrame(1280, 720);
        for (int y = 0; y < 120; ++y)
            if (At(24, y).r == 16) // black at 0.75 over the grey
                return y;
        return -1;
    };

    NotificationBox::Clear(messages);
    NotificationBox::AddMessage(messages, longText, 300);
    EXPECT_EQ(stackTop(), 52) << "the bar is shown and the box would lie on it";
    Save("hud-messages-below-the-bar");

    player->crosshairMonster = nullptr; // no monster: no bar
    EXPECT_EQ(stackTop(), 24);
    Save("hud-messages-without-the-bar");

    Aim();
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Masochistic; // the bar is never drawn
    EXPECT_EQ(stackTop(), 24);
    GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal;

    // The long message second, under a short one: the bar is shown, but the
    // second box starts at 92, below it.
    NotificationBox::AddMessage(messages, L"Hi", 300);
    EXPECT_EQ(stackTop(), 24);
}

TEST_F(HudDrawTest, LoadingShowsOnlyItsTextAndTheCursorFollowsTheModeAndTheEdges)
{
    WhiteTextures({"mouse"});
    Input& input = Input::GetInstance();
    input.SetMouseMode(Input::MouseModeAbsolute);
    input.Update();
    input.mouseState.x = 100;
    input.mouseState.y = 100;

    // State 2: "Loading..." right-aligned 20 from the right, its top 50 above
    // the bottom, in font 0 (line 32); no cursor.
    GameStateManager::GetInstance().Request(GameState::Loading);
    StartScreen(1280, 720, Grey);
    ui->DrawLoadingScreen();
    Capture();
    Save("ui-loading-1280x720");
    const Box loading = InkIn(0, 0, 1279, 719, IsWhite);
    EXPECT_LT(loading.right, 1260);
    EXPECT_GE(loading.right, 1257);
    EXPECT_GE(loading.top, 670);
    EXPECT_LT(loading.bottom, 702);

    // State 5: no HUD, the cursor with its corner at the hot spot.
    GameStateManager::GetInstance().Request(GameState::IngameMenu);
    input.mouseState.x = 1;
    input.mouseState.y = 1;
    DrawFrame(1280, 720);
    EXPECT_EQ(InkIn(0, 0, 1279, 719, IsWhite), (Box{1, 1, 32, 32}));

    // On the left or top edge it is not drawn; in look mode neither.
    input.mouseState.x = 0;
    DrawFrame(1280, 720);
    EXPECT_TRUE(InkIn(0, 0, 1279, 719, IsWhite).Empty());
    input.mouseState.x = 50;
    input.mouseMode = Input::MouseModeRelative;
    DrawFrame(1280, 720);
    EXPECT_TRUE(InkIn(0, 0, 1279, 719, IsWhite).Empty());

    // In play with the HUD off: no crosshair, no prompt, but the cursor.
    input.mouseMode = Input::MouseModeAbsolute;
    GameStateManager::GetInstance().Request(GameState::Playing);
    Config::GetInstance().settings.showHud = false;
    player->usable = &lever;
    player->usableInReach = true;
    ui->Update();
    DrawFrame(1280, 720);
    EXPECT_EQ(InkIn(0, 0, 1279, 719, IsWhite), (Box{50, 1, 81, 32}));
}

} // namespace
} // namespace mirefell::testing
