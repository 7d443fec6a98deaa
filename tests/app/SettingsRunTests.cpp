// The real program started on a config.json of the player's and ended as the
// main menu's "Exit" ends it: what the file says afterwards.
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "app/DeveloperRun.h"
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

// config.json as the game writes it, with a window size and four settings of
// the player's in place of the defaults.
std::string FileText(const std::string& width, const std::string& height, const std::string& brightness,
                     const std::string& contrast, const std::string& fov, const std::string& mouseSensitivity)
{
    return "{\n"
           "\"bloom\": true, \n"
           "\"borderless\": false, \n"
           "\"brightness\": " +
           brightness +
           ", \n"
           "\"contrast\": " +
           contrast +
           ", \n"
           "\"fov\": " +
           fov +
           ", \n"
           "\"frameLimiter\": true, \n"
           "\"fxaa\": true, \n"
           "\"maxBloodDecals\": 1000, \n"
           "\"mouseInvertY\": false, \n"
           "\"mouseSensitivity\": " +
           mouseSensitivity +
           ", \n"
           "\"musicVolume\": 0.5, \n"
           "\"noiseIntensity\": 0.25, \n"
           "\"screenHeight\": " +
           height +
           ", \n"
           "\"screenWidth\": " +
           width +
           ", \n"
           "\"showHud\": true, \n"
           "\"showLevelTimer\": false, \n"
           "\"soundVolume\": 0.5, \n"
           "\"ssao\": 1, \n"
           "\"vsync\": true, \n"
           "\"windowed\": true\n"
           "}";
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
    const std::string theirs = FileText("320", "200", "0.10000000149011612", "1.2000000476837158", "130", "6");
    std::ofstream(folder.Path() / "config.json", std::ios::binary) << theirs;
    const testing::ChildRun run = StartAndExit(folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_EQ(ReadAll(folder.Path() / "config.json"), theirs);
    EXPECT_EQ(run.output.find("config.json"), std::string::npos) << "nothing to say about it: " << run.output;
}

// The offscreen display is 1024 x 768: the window opens smaller than the file
// asks, and the file keeps what it asked.
TEST(SettingsRun, AWindowLargerThanTheDisplayKeepsItsSizeInTheFile)
{
    testing::RunFolder folder("mirefell-window-run");
    const std::string theirs = FileText("5120", "2880", "0", "1", "90", "0.34999999403953552");
    std::ofstream(folder.Path() / "config.json", std::ios::binary) << theirs;
    const testing::ChildRun run = StartAndExit(folder);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_NE(run.output.find("a 5120x2880 window is larger than the display"), std::string::npos) << run.output;
    EXPECT_EQ(ReadAll(folder.Path() / "config.json"), theirs);
}

} // namespace
} // namespace mirefell
