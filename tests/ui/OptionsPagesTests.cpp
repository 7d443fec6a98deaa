// The options pages with no GPU, driven by clicks on the rows' own buttons:
// every slider moves its setting by its step and stops at both limits with
// the value text the page shows there, every toggle flips its setting, the
// changes reach the running program (player, camera, post chain), the
// in-game copy keeps the blood decals fixed, and the Display page's pending
// window settings: the resolution steps through the display modes (or stays
// when there are none), the rows that disable each other, "Apply change"
// through the window, and "Back" dropping what was not applied.
#include <gtest/gtest.h>

#include <functional>

#include "MenuFixture.h"
#include "gameplay/FirstPersonController.h"
#include "render/PostFXChain.h"
#include "shell/Config.h"
#include "shell/TitleSubPageFlag.h"
#include "support/ShellTestSupport.h"
#include "ui/OptionsPages.h"

namespace mirefell::testing
{
namespace
{

enum OptionsPage
{
    Controls,
    Gameplay,
    Audio,
    Display,
    Graphics
};

class OptionsTest : public MenuTest
{
protected:
    void TearDown() override
    {
        Config::GetInstance().Reset();
        MenuTest::TearDown();
    }
    static Settings& Current() { return Config::GetInstance().settings; }
    static Settings& Pending() { return Config::GetInstance().pending; }

    // The title's options tree, opened at one of its pages.
    MenuPanel& OpenTitleOptions(OptionsPage page)
    {
        ShowTitle();
        ClickRow(*Title().mainPanel, L"Options");
        return Open(*Title().optionsPage, page);
    }
    MenuPanel& Open(MenuPanel& top, OptionsPage page)
    {
        static const wchar_t* const captions[] = {L"Controls", L"Gameplay", L"Audio", L"Display", L"Graphics"};
        ClickRow(top, captions[page]);
        auto& shown = static_cast<MenuPanel&>(*top.subPages.at(page));
        EXPECT_TRUE(shown.IsVisible());
        return shown;
    }
    void ClickTimes(MenuButton& button, int times)
    {
        for (int i = 0; i < times; ++i)
            Click(button);
    }
};

struct SliderCase
{
    OptionsPage page;
    const wchar_t* caption;
    std::function<float&()> floatField; // one of the two is set
    std::function<int32_t&()> intField;
    float start, step, lowest, highest;
    const wchar_t *lowestText, *highestText;
};

TEST_F(OptionsTest, EverySliderStepsItsSettingAndStopsAtItsLimits)
{
    const auto f = [](float Settings::*field) {
        return std::function<float&()>([field]() -> float& { return Current().*field; });
    };
    const auto i = [](int32_t Settings::*field) {
        return std::function<int32_t&()>([field]() -> int32_t& { return Current().*field; });
    };
    const SliderCase cases[] = {
        {Controls,
         L"Mouse sensitivity",
         f(&Settings::mouseSensitivity),
         {},
         0.35f,
         0.05f,
         0.05f,
         4.0f,
         L"0.05",
         L"4.00"},
        {Audio, L"Sound volume", f(&Settings::soundVolume), {}, 0.5f, 0.1f, 0.0f, 1.0f, L"0", L"10"},
        {Audio, L"Music volume", f(&Settings::musicVolume), {}, 0.5f, 0.1f, 0.0f, 1.0f, L"0", L"10"},
        {Display, L"Brightness", f(&Settings::brightness), {}, 0.0f, 0.0025f, 0.0f, 0.05f, L"0.000", L"0.050"},
        {Display, L"Contrast", f(&Settings::contrast), {}, 1.0f, 0.0025f, 1.0f, 1.05f, L"1.000", L"1.050"},
        {Display, L"Field of view", f(&Settings::fov), {}, 90.0f, 5.0f, 60.0f, 120.0f, L"60", L"120"},
        {Graphics, L"Adaptive SSAO", {}, i(&Settings::ssao), 1.0f, 1.0f, -1.0f, 3.0f, L"off", L"max"},
        {Graphics, L"Blood decals", {}, i(&Settings::maxBloodDecals), 1000.0f, 100.0f, 0.0f, 2000.0f, L"0", L"2000"},
    };
    for (const SliderCase& c : cases) {
        SCOPED_TRACE(std::string(c.caption, c.caption + wcslen(c.caption)));
        Config::GetInstance().Reset();
        const auto value = [&] { return c.floatField ? c.floatField() : static_cast<float>(c.intField()); };
        ASSERT_FLOAT_EQ(value(), c.start); // the default
        MenuSlider& slider = FindRow<MenuSlider>(OpenTitleOptions(c.page), c.caption);

        Click(*slider.increaseButton);
        EXPECT_NEAR(value(), c.start + c.step, 1e-5f);
        ClickTimes(*slider.decreaseButton, 100);
        EXPECT_FLOAT_EQ(value(), c.lowest);
        EXPECT_EQ(slider.valueProvider(), c.lowestText);
        ClickTimes(*slider.increaseButton, 100);
        EXPECT_FLOAT_EQ(value(), c.highest);
        EXPECT_EQ(slider.valueProvider(), c.highestText);
    }
}

// The settings file keeps what the player wrote beyond a page's range: the
// slider shows it as it is, and a click adds its step and then clamps, so the
// value comes back into the range whichever way it is clicked.
TEST_F(OptionsTest, AValueBeyondItsRangeIsShownAsWrittenAndAClickStepsItBackIn)
{
    struct Case
    {
        OptionsPage page;
        const wchar_t* caption;
        float Settings::*floatField; // one of the two is set
        int32_t Settings::*intField;
        double stored;
        bool increase;
        const wchar_t* shown;
        double afterClick;
    };
    const Case cases[] = {
        {Display, L"Field of view", &Settings::fov, nullptr, 130.0, false, L"130", 120.0}, // 125, clamped
        {Display, L"Field of view", &Settings::fov, nullptr, 122.0, false, L"122", 117.0}, // already inside
        {Display, L"Brightness", &Settings::brightness, nullptr, 0.1, false, L"0.100", 0.05},
        {Display, L"Contrast", &Settings::contrast, nullptr, 1.2, true, L"1.200", 1.05},
        {Controls, L"Mouse sensitivity", &Settings::mouseSensitivity, nullptr, 6.0, false, L"6.00", 4.0},
        {Audio, L"Sound volume", &Settings::soundVolume, nullptr, -0.5, true, L"-5", 0.0},
        // Ten times the nearest float to 3e38, beyond what a float holds.
        {Audio, L"Sound volume", &Settings::soundVolume, nullptr, 3e38, false,
         L"3000000005497755757778039942811452702720", 1.0},
        {Audio, L"Music volume", &Settings::musicVolume, nullptr, -3e38, true,
         L"-3000000005497755757778039942811452702720", 0.0},
        {Graphics, L"Blood decals", nullptr, &Settings::maxBloodDecals, -50.0, true, L"-50", 50.0},
        // The sum is wide: one step beyond the int range still clamps.
        {Graphics, L"Adaptive SSAO", nullptr, &Settings::ssao, 2147483647.0, true, L"", 3.0},
        {Graphics, L"Adaptive SSAO", nullptr, &Settings::ssao, -2147483648.0, false, L"off", -1.0},
        {Graphics, L"Adaptive SSAO", nullptr, &Settings::ssao, -2.0, true, L"off", -1.0}, // every negative is off
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.caption, c.caption + wcslen(c.caption)) + " " + std::to_string(c.stored));
        Config::GetInstance().Reset();
        if (c.floatField)
            Current().*c.floatField = static_cast<float>(c.stored);
        else
            Current().*c.intField = static_cast<int32_t>(c.stored);
        MenuSlider& slider = FindRow<MenuSlider>(OpenTitleOptions(c.page), c.caption);
        EXPECT_EQ(slider.valueProvider(), c.shown);
        Click(c.increase ? *slider.increaseButton : *slider.decreaseButton);
        if (c.floatField)
            EXPECT_NEAR(Current().*c.floatField, c.afterClick, 1e-5);
        else
            EXPECT_EQ(Current().*c.intField, static_cast<int32_t>(c.afterClick));
    }
}

TEST_F(OptionsTest, EveryToggleFlipsItsSetting)
{
    struct ToggleCase
    {
        OptionsPage page;
        const wchar_t* caption;
        bool Settings::*field;
        Settings& (*record)();
    };
    const ToggleCase cases[] = {
        {Controls, L"Mouse invert Y", &Settings::mouseInvertY, &Current},
        {Gameplay, L"Show HUD", &Settings::showHud, &Current},
        {Gameplay, L"Show level timer", &Settings::showLevelTimer, &Current},
        {Display, L"Windowed", &Settings::windowed, &Pending},
        {Display, L"Vertical sync", &Settings::vsync, &Current},
        {Graphics, L"Bloom", &Settings::bloom, &Current},
        {Graphics, L"FXAA", &Settings::fxaa, &Current},
    };
    for (const ToggleCase& c : cases) {
        SCOPED_TRACE(std::string(c.caption, c.caption + wcslen(c.caption)));
        Config::GetInstance().Reset();
        MenuToggle& toggle = FindRow<MenuToggle>(OpenTitleOptions(c.page), c.caption);
        const bool before = c.record().*c.field;
        Click(*toggle.checkBox);
        EXPECT_NE(c.record().*c.field, before);
        Click(*toggle.checkBox);
        EXPECT_EQ(c.record().*c.field, before);
    }
}

TEST_F(OptionsTest, ChangesReachThePlayerTheCameraAndThePostChainAtOnce)
{
    Config& config = Config::GetInstance();
    PostFXChain postFX(&camera);
    config.world = world.get();
    config.camera = &camera;
    config.postFX = &postFX;

    MenuPanel& controls = OpenTitleOptions(Controls);
    Click(*FindRow<MenuSlider>(controls, L"Mouse sensitivity").increaseButton);
    Click(*FindRow<MenuToggle>(controls, L"Mouse invert Y").checkBox);
    EXPECT_FLOAT_EQ(player->controller->sensitivity, 0.4f);
    EXPECT_TRUE(player->controller->invertY);

    ClickRow(controls, L"Back");
    MenuPanel& display = Open(*Title().optionsPage, Display);
    Click(*FindRow<MenuSlider>(display, L"Field of view").increaseButton);
    EXPECT_EQ(camera.fieldOfView, 95.0f);

    ClickRow(display, L"Back");
    MenuPanel& graphics = Open(*Title().optionsPage, Graphics);
    MenuSlider& ssao = FindRow<MenuSlider>(graphics, L"Adaptive SSAO");
    Click(*ssao.increaseButton);
    EXPECT_EQ(postFX.ssaoSettings.qualityLevel, 2);
    Click(*ssao.decreaseButton);
    Click(*ssao.decreaseButton);
    Click(*ssao.decreaseButton); // off: the chain keeps its last quality
    EXPECT_EQ(Current().ssao, -1);
    EXPECT_EQ(postFX.ssaoSettings.qualityLevel, 0);
    config.world = nullptr;
}

TEST_F(OptionsTest, TheInGameCopyKeepsTheBloodDecalsFixedAndBackLeavesTheOptions)
{
    PressAndStep(KeyEscape);
    UiStep();
    ClickRow(*Pause().panel, L"Options");
    MenuPanel& graphics = Open(*Pause().optionsPage, Graphics);
    MenuSlider& decals = FindRow<MenuSlider>(graphics, L"Blood decals");
    EXPECT_TRUE(decals.IsDisabled());
    Click(*decals.increaseButton);
    EXPECT_EQ(Current().maxBloodDecals, 1000);

    ClickRow(graphics, L"Back");
    titleSubPageOpen = true;
    ClickRow(*Pause().optionsPage, L"Back");
    EXPECT_TRUE(Pause().panel->IsVisible());
    EXPECT_FALSE(titleSubPageOpen);
}

class DisplayPageTest : public OptionsTest
{
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        Config& config = Config::GetInstance();
        config.window = &window;
        config.onEnterFullscreen = [this] { window.calls.push_back("enter full screen"); };
        config.settings.screenWidth = 1280;
        config.settings.screenHeight = 720;
        config.settings.windowed = true;
        config.settings.borderless = false;
        config.displayModes = {{800, 600}, {1024, 768}, {1280, 720}};
        page = &OpenTitleOptions(Display);
    }

    MenuSlider& Resolution() { return FindRow<MenuSlider>(*page, L"Screen resolution"); }
    MenuButton& Apply() { return FindRow(*page, L"Apply change"); }

    RecordingWindow window;
    MenuPanel* page = nullptr;
};

TEST_F(DisplayPageTest, TheResolutionStepsThroughTheDisplayModesAndWraps)
{
    EXPECT_EQ(Resolution().valueProvider(), L"1280x720");
    EXPECT_TRUE(Apply().IsDisabled());
    Click(*Resolution().increaseButton);
    EXPECT_EQ(Resolution().valueProvider(), L"800x600");
    EXPECT_FALSE(Apply().IsDisabled());
    Click(*Resolution().decreaseButton);
    Click(*Resolution().decreaseButton);
    EXPECT_EQ(Resolution().valueProvider(), L"1024x768");
    EXPECT_EQ(Current().screenWidth, 1280); // pending only

    Pending().screenWidth = 333; // a size the list lacks counts as the first
    Click(*Resolution().decreaseButton);
    EXPECT_EQ(Resolution().valueProvider(), L"1280x720");
    Pending().screenWidth = 333;
    Click(*Resolution().increaseButton);
    EXPECT_EQ(Resolution().valueProvider(), L"1024x768");

    Config::GetInstance().displayModes.clear(); // none known: the size shown stays
    Click(*Resolution().increaseButton);
    Click(*Resolution().decreaseButton);
    EXPECT_EQ(Resolution().valueProvider(), L"1024x768");
}

TEST_F(DisplayPageTest, AppliedChangesRestyleTheWindowAndUnappliedOnesAreDropped)
{
    Click(*Resolution().decreaseButton);
    Click(Apply());
    EXPECT_EQ(window.calls, (std::vector<std::string>{"bordered 1024x768"}));
    EXPECT_EQ(Current().screenWidth, 1024);
    EXPECT_TRUE(Apply().IsDisabled());

    MenuToggle& windowed = FindRow<MenuToggle>(*page, L"Windowed");
    MenuToggle& borderless = FindRow<MenuToggle>(*page, L"Borderless window");
    Click(*borderless.checkBox);
    EXPECT_TRUE(Resolution().IsDisabled()); // a borderless window covers the screen
    Click(*windowed.checkBox);
    EXPECT_TRUE(borderless.IsDisabled());
    EXPECT_TRUE(Pending().borderless); // kept while disabled
    EXPECT_FALSE(Resolution().IsDisabled());
    Click(Apply());
    EXPECT_EQ(window.calls.back(), "enter full screen");
    EXPECT_FALSE(Current().windowed);

    Click(*windowed.checkBox);
    Click(*windowed.checkBox); // flipped twice: nothing to change, but "Apply change" is offered
    EXPECT_FALSE(Apply().IsDisabled());
    Click(Apply());
    EXPECT_EQ(window.calls.size(), 2u);
    EXPECT_TRUE(Apply().IsDisabled());

    Click(*Resolution().increaseButton); // changed, then left without applying
    ClickRow(*page, L"Back");
    Open(*Title().optionsPage, Display);
    EXPECT_EQ(Resolution().valueProvider(), L"1024x768");
    EXPECT_TRUE(Apply().IsDisabled());
}

TEST_F(DisplayPageTest, TheFrameLimiterIsOfferedOnlyWithoutVerticalSync)
{
    MenuToggle& limiter = FindRow<MenuToggle>(*page, L"Frame limiter");
    EXPECT_TRUE(limiter.IsDisabled());
    Click(*limiter.checkBox);
    EXPECT_TRUE(Current().frameLimiter);
    Click(*FindRow<MenuToggle>(*page, L"Vertical sync").checkBox);
    EXPECT_FALSE(limiter.IsDisabled());
    Click(*limiter.checkBox);
    EXPECT_FALSE(Current().frameLimiter);
}

} // namespace
} // namespace mirefell::testing
