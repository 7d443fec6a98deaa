// The real program started on a config.json of the player's and ended as the
// main menu's "Exit" ends it: what the file says afterwards.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app/DeveloperRun.h"
#include "shell/Config.h"
#include "support/ChildProcess.h"
#include "support/RunFolder.h"

namespace mirefell
{
namespace
{

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// config.json as the game writes it, for a framed window of the given size
// (small, so the start is quick) and the other settings of `changed`.
std::string FileText(int32_t width, int32_t height, Settings changed = {})
{
    changed.screenWidth = width;
    changed.screenHeight = height;
    changed.borderless = false;
    return Config::ToJsonString(changed);
}

// Starts the game in `folder` and ends it after its first title frame.
testing::ChildRun StartAndExit(const testing::RunFolder& folder)
{
    return testing::RunChild({std::string(MIREFELL_RUN_DIR) + "/mirefell"},
                             {{DeveloperRun::ExitAfterTitleVariable, "1"}}, folder.Path(), DeveloperRun::TitleLine,
                             true);
}

// Beyond what the options pages offer (brightness 0 to 0.05, contrast 1 to
// 1.05, field of view 60 to 120, sensitivity 0.05 to 4), nothing broken.
TEST(SettingsRun, SettingsBeyondTheOptionsRangesSurviveAStartAndAnExitByteForByte)
{
    testing::RunFolder folder("mirefell-settings-run");
    Settings beyond;
    beyond.brightness = 0.1f;
    beyond.contrast = 1.2f;
    beyond.fov = 130.0f;
    beyond.mouseSensitivity = 6.0f;
    const std::string theirs = FileText(320, 200, beyond);
    ASSERT_NE(theirs.find("\"brightness\": 0.10000000149011612, \n"), std::string::npos) << theirs;
    std::ofstream(folder.Path() / "config.json", std::ios::binary) << theirs;
    const testing::ChildRun run = StartAndExit(folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_EQ(ReadAll(folder.Path() / "config.json"), theirs);
    EXPECT_EQ(run.output.find("config.json"), std::string::npos) << "nothing to say about it: " << run.output;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "config.json.bak")) << "nothing to keep a copy of";
}

// The offscreen display is 1024 x 768: the window opens smaller than the file
// asks, and the file keeps what it asked.
TEST(SettingsRun, AWindowLargerThanTheDisplayKeepsItsSizeInTheFile)
{
    testing::RunFolder folder("mirefell-window-run");
    const std::string theirs = FileText(5120, 2880);
    std::ofstream(folder.Path() / "config.json", std::ios::binary) << theirs;
    const testing::ChildRun run = StartAndExit(folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_NE(run.output.find("a 5120x2880 window is larger than the display"), std::string::npos) << run.output;
    EXPECT_EQ(ReadAll(folder.Path() / "config.json"), theirs);
}

} // namespace
} // namespace mirefell
