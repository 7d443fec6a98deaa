// The window made at start-up from the settings: sizes cut to the display,
// and one retry at the display's size when the window system refuses.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/WindowStartup.h"
#include "platform/GameError.h"
#include "support/ShellTestSupport.h"

namespace mirefell
{
namespace
{

class WindowStartupTest : public testing::ShellTest
{
protected:
    // Refuses the sizes in `refused` (all when `refuseAll`), as a window
    // system out of memory or over its size limit does; records every layout
    // asked for.
    std::unique_ptr<IGameWindow> Create(const WindowLayout& layout)
    {
        asked.push_back(layout);
        if (refuseAll || std::count(refused.begin(), refused.end(), layout.width) != 0)
            throw GameError("can't create the window", "Window is too large.");
        return std::make_unique<testing::RecordingWindow>();
    }
    std::unique_ptr<IGameWindow> Open()
    {
        return OpenGameWindow(
            config, display, [this](const WindowLayout& l) { return Create(l); }, layout);
    }

    Config& config = Config::GetInstance();
    Settings& settings = config.settings;
    DisplayBounds display{1024, 768, 1280, 1024};
    std::vector<int32_t> refused;
    bool refuseAll = false;
    std::vector<WindowLayout> asked;
    WindowLayout layout;
};

TEST_F(WindowStartupTest, SizesTheDisplayCannotShowAreCutToItWhileTheFileKeepsThem)
{
    settings.windowed = true;
    settings.borderless = false;
    settings.screenWidth = settings.screenHeight = 20000;
    ::testing::internal::CaptureStderr();
    FitWindowSettings(config, display);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings.screenWidth, 1024);
    EXPECT_EQ(settings.screenHeight, 768);
    EXPECT_NE(said.find("config.json"), std::string::npos) << said;
    config.Save();
    EXPECT_NE(dir.Read("config.json").find("\"screenHeight\": 20000, \n\"screenWidth\": 20000"), std::string::npos)
        << dir.Read("config.json");

    // Full screen may take the largest mode, beyond the desktop.
    settings.windowed = false;
    settings.screenWidth = settings.screenHeight = 16384;
    ::testing::internal::CaptureStderr();
    FitWindowSettings(config, display);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(settings.screenWidth, 1280);
    EXPECT_EQ(settings.screenHeight, 1024);
    config.Save();
    EXPECT_NE(dir.Read("config.json").find("\"screenHeight\": 16384, \n\"screenWidth\": 16384"), std::string::npos);

    // A size the player applies from the options is the one the file keeps,
    // even the fitted one chosen again.
    config.pending = settings;
    config.pending.screenWidth = 800;
    config.pending.screenHeight = 600;
    config.onEnterFullscreen = [] {};
    config.ApplyDisplaySettings();
    config.pending.screenWidth = 1280;
    config.pending.screenHeight = 1024;
    config.ApplyDisplaySettings();
    config.Save();
    EXPECT_NE(dir.Read("config.json").find("\"screenHeight\": 1024, \n\"screenWidth\": 1280"), std::string::npos);
}

TEST_F(WindowStartupTest, ARefusedSizeFallsBackToTheDisplayOnceWhileTheFileKeepsTheSizeItAsks)
{
    settings.windowed = true;
    settings.borderless = false;
    settings.screenWidth = 1000;
    settings.screenHeight = 700;
    refused = {1000};
    ::testing::internal::CaptureStderr();
    auto window = Open();
    const std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].width, 1000);
    EXPECT_EQ(layout, (WindowLayout{true, 0, 0, 1024, 768}));
    EXPECT_EQ(settings.screenWidth, 1024);
    EXPECT_EQ(settings.screenHeight, 768);
    EXPECT_NE(said.find("config.json"), std::string::npos) << said;
    EXPECT_NE(said.find("the file keeps 1000x700"), std::string::npos) << said;
    config.Save(); // as at the end of the run
    EXPECT_NE(dir.Read("config.json").find("\"screenHeight\": 700, \n\"screenWidth\": 1000"), std::string::npos)
        << dir.Read("config.json");

    // A full-screen size first cut to the largest mode, then refused there:
    // the file keeps the size it asked for, not the cut one.
    asked.clear();
    settings.windowed = false;
    settings.screenWidth = settings.screenHeight = 16384;
    refused = {1280};
    ::testing::internal::CaptureStderr();
    FitWindowSettings(config, display);
    window = Open();
    ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].width, 1280);
    EXPECT_EQ(layout.width, 1024);
    config.Save();
    EXPECT_NE(dir.Read("config.json").find("\"screenHeight\": 16384, \n\"screenWidth\": 16384"), std::string::npos)
        << dir.Read("config.json");
}

TEST_F(WindowStartupTest, AWindowRefusedAtTheDisplaysSizeTooFailsNamingConfigJson)
{
    settings.windowed = true;
    settings.borderless = false;
    settings.screenWidth = 1000;
    settings.screenHeight = 700;
    refuseAll = true;
    ::testing::internal::CaptureStderr();
    try {
        Open();
        FAIL() << "no window can be made";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "can't create the window");
        EXPECT_NE(error.Detail().find("config.json"), std::string::npos) << error.Detail();
        EXPECT_NE(error.Detail().find("1000x700"), std::string::npos) << error.Detail();
    }
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(asked.size(), 2u) << "one retry, no more";

    // A borderless window already has the display's size: no retry.
    asked.clear();
    settings.borderless = true;
    EXPECT_THROW(Open(), GameError);
    EXPECT_EQ(asked.size(), 1u);
}

} // namespace
} // namespace mirefell
