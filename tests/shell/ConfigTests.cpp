// config.json: lenient reading, the exact written layout, the backup of an
// unreadable file, and the display-settings switch.
#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/Config.h"
#include "support/TempDir.h"
#include "support/UnreadableFiles.h"

namespace mirefell
{
namespace
{

using testing::TempDir;
using testing::TemporaryCopiesOf;

const char* const DefaultFileText = "{\n"
                                    "\"bloom\": true, \n"
                                    "\"borderless\": true, \n"
                                    "\"brightness\": 0, \n"
                                    "\"contrast\": 1, \n"
                                    "\"fov\": 90, \n"
                                    "\"frameLimiter\": true, \n"
                                    "\"fxaa\": true, \n"
                                    "\"maxBloodDecals\": 1000, \n"
                                    "\"mouseInvertY\": false, \n"
                                    "\"mouseSensitivity\": 0.34999999403953552, \n"
                                    "\"musicVolume\": 0.5, \n"
                                    "\"noiseIntensity\": 0.25, \n"
                                    "\"screenHeight\": -1, \n"
                                    "\"screenWidth\": -1, \n"
                                    "\"showHud\": true, \n"
                                    "\"showLevelTimer\": false, \n"
                                    "\"soundVolume\": 0.5, \n"
                                    "\"ssao\": 1, \n"
                                    "\"vsync\": true, \n"
                                    "\"windowed\": true\n"
                                    "}";

TEST(ConfigText, DefaultsWriteTheExactLayout)
{
    EXPECT_EQ(Config::ToJsonString(Settings{}), DefaultFileText);
}

TEST(ConfigText, WrittenValuesReadBackExactly)
{
    Settings record;
    record.screenWidth = 1920;
    record.screenHeight = 1080;
    record.windowed = false;
    record.fov = 103.7f;
    record.noiseIntensity = 0.1f;
    record.brightness = 0.0125f;
    record.contrast = 1.0123457f;
    record.maxBloodDecals = 0;
    record.mouseSensitivity = 1.0f / 3.0f;
    record.mouseInvertY = true;
    record.ssao = -1;
    record.soundVolume = 0.0f;
    record.musicVolume = 0.9999999f;
    record.showLevelTimer = true;
    const auto back = Config::FromJson(Config::ToJsonString(record));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, record);
}

TEST(ConfigReading, AbsentKeysKeepDefaultsAndNumbersConvert)
{
    EXPECT_EQ(Config::FromJson("{}"), Settings{});
    const auto onlyFov = Config::FromJson(R"({"fov": 110, "unknown": "x"})");
    Settings expected;
    expected.fov = 110.0f;
    EXPECT_EQ(onlyFov, expected);

    const auto numbers = Config::FromJson(R"({"ssao": 2.7, "maxBloodDecals": 1500.9, "soundVolume": 1})");
    EXPECT_EQ(numbers->ssao, 2);
    EXPECT_EQ(numbers->maxBloodDecals, 1500);
    EXPECT_FLOAT_EQ(numbers->soundVolume, 1.0f);
}

TEST(ConfigReading, WrongTypesKeepTheirDefaultAndNumbersBeyondAPagesRangeAreKeptAsWritten)
{
    std::vector<std::string> problems;
    const auto record = Config::FromJson(
        R"({"vsync": 1, "fov": "wide", "windowed": false, "ssao": 2147483647, "screenWidth": -99999999999,
            "maxBloodDecals": 2147483648, "brightness": 1e300, "bloom": null, "soundVolume": -50,
            "musicVolume": 1000, "contrast": 0.99, "mouseSensitivity": 4.01})",
        &problems);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record, [] {
        Settings expected;
        expected.windowed = false;      // a good key beside bad ones still loads
        expected.screenWidth = INT_MIN; // no range: the window is fitted to the display
        expected.ssao = INT_MAX;        // the renderer takes it as its highest quality
        expected.maxBloodDecals = 2000; // held: more slots than memory holds
        expected.brightness = 0.05f;    // held: 1e300 is no float
        expected.soundVolume = -50.0f;  // silent
        expected.musicVolume = 1000.0f;
        expected.contrast = 0.99f;
        expected.mouseSensitivity = 4.01f;
        return expected;
    }());
    EXPECT_EQ(problems, (std::vector<std::string>{
                            R"("fov" (wrong type))", R"("vsync" (wrong type))",
                            R"("brightness" (beyond the +/-3.40282e+38 a 32-bit float holds; held at 0.05))",
                            R"("maxBloodDecals" (2147483647 decals would not fit in memory; held at 2000))",
                            R"("bloom" (wrong type))"}));

    // Beyond every page's range, as a player may write them: kept.
    problems.clear();
    const auto beyond = Config::FromJson(R"({"maxBloodDecals": -2147483648, "fov": 130, "ssao": -2,
                                             "noiseIntensity": 2, "brightness": 0.1, "contrast": 1.2,
                                             "mouseSensitivity": 6})",
                                         &problems);
    EXPECT_EQ(beyond->maxBloodDecals, INT_MIN); // no decals, as 0
    EXPECT_EQ(beyond->fov, 130.0f);
    EXPECT_EQ(beyond->ssao, -2); // off, as -1
    EXPECT_EQ(beyond->noiseIntensity, 2.0f);
    EXPECT_EQ(beyond->brightness, 0.1f);
    EXPECT_EQ(beyond->contrast, 1.2f);
    EXPECT_EQ(beyond->mouseSensitivity, 6.0f);
    EXPECT_TRUE(problems.empty()) << problems.front();

    // The ends of each range, as a player would type them, are kept.
    const auto ends = Config::FromJson(R"({"fov": 60, "contrast": 1.05, "mouseSensitivity": 0.05, "ssao": -1,
                                           "maxBloodDecals": 2000, "brightness": 0.05, "musicVolume": 0})",
                                       &problems);
    EXPECT_FLOAT_EQ(ends->fov, 60.0f);
    EXPECT_EQ(ends->contrast, 1.05f);
    EXPECT_EQ(ends->mouseSensitivity, 0.05f);
    EXPECT_EQ(ends->ssao, -1);
    EXPECT_EQ(ends->maxBloodDecals, 2000);
    EXPECT_EQ(ends->brightness, 0.05f);
    EXPECT_EQ(ends->musicVolume, 0.0f);
    const auto otherEnds = Config::FromJson(R"({"fov": 120, "contrast": 1, "mouseSensitivity": 4, "ssao": 3,
                                                "maxBloodDecals": 0, "brightness": 0, "soundVolume": 1})",
                                            &problems);
    EXPECT_EQ(otherEnds->fov, 120.0f);
    EXPECT_EQ(otherEnds->contrast, 1.0f);
    EXPECT_EQ(otherEnds->mouseSensitivity, 4.0f);
    EXPECT_EQ(otherEnds->ssao, 3);
    EXPECT_EQ(otherEnds->maxBloodDecals, 0);
    EXPECT_EQ(otherEnds->soundVolume, 1.0f);
    EXPECT_TRUE(problems.empty()) << problems.front();
}

// Each value here breaks the game, and is held at its options page's limit
// on the side it lies; the values just inside each fault are kept.
TEST(ConfigReading, ValuesThatWouldMakeAFaultAreHeldAtTheirPagesLimit)
{
    struct Case
    {
        const char* text;
        float Settings::*field;
        float expected;
        const char* problem; // empty: taken as written
    };
    const Case cases[] = {
        // No field of view: a grey window at 0, no picture of the level
        // below a hundredth of a degree, upside down below 0, a smear at 180
        // and inside out beyond.
        {R"({"fov": 0})", &Settings::fov, 60.0f,
         R"("fov" (0 is no field of view (at least 0.01 and less than 180 degrees); held at 60))"},
        {R"({"fov": 1e-40})", &Settings::fov, 60.0f, ""},
        {R"({"fov": 0.0099})", &Settings::fov, 60.0f, ""},
        {R"({"fov": 0.01})", &Settings::fov, 0.01f, nullptr},
        {R"({"fov": -30})", &Settings::fov, 60.0f, ""},
        {R"({"fov": 180})", &Settings::fov, 120.0f, ""},
        {R"({"fov": 200})", &Settings::fov, 120.0f, ""},
        {R"({"fov": 0.5})", &Settings::fov, 0.5f, nullptr},
        {R"({"fov": 179.5})", &Settings::fov, 179.5f, nullptr},
        // More than a whole turn at each mouse count: no aim, and a yaw that
        // grows into NaNs.
        {R"({"mouseSensitivity": 361})", &Settings::mouseSensitivity, 4.0f,
         R"("mouseSensitivity" (361 turns the view more than a whole turn at each mouse count; held at 4))"},
        {R"({"mouseSensitivity": -361})", &Settings::mouseSensitivity, 0.05f, ""},
        {R"({"mouseSensitivity": 360})", &Settings::mouseSensitivity, 360.0f, nullptr},
        {R"({"mouseSensitivity": -6})", &Settings::mouseSensitivity, -6.0f, nullptr}, // looks the other way
        // Beyond a float: an infinity, which the shaders and the mixer cannot
        // use.
        {R"({"soundVolume": -1e39})", &Settings::soundVolume, 0.0f,
         R"("soundVolume" (beyond the +/-3.40282e+38 a 32-bit float holds; held at 0))"},
        {R"({"noiseIntensity": 1e999})", &Settings::noiseIntensity, 1.0f, ""},
        // Brightness and contrast that leave the menus unreadable (more
        // below): the one at fault is held into its page's range.
        {R"({"contrast": 0})", &Settings::contrast, 1.0f,
         R"("contrast" (0 with brightness 0 leaves the menus unreadable; held at 1))"},
        {R"({"brightness": 1})", &Settings::brightness, 0.05f, ""},
        {R"({"brightness": -1})", &Settings::brightness, 0.0f, ""},
        {R"({"brightness": 0.9})", &Settings::brightness, 0.9f, nullptr}, // nearly white, still a picture
        {R"({"contrast": -1})", &Settings::contrast, -1.0f, nullptr},     // a negative, still a picture
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> problems;
        const auto record = Config::FromJson(c.text, &problems);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ((*record).*c.field, c.expected);
        if (!c.problem) {
            EXPECT_TRUE(problems.empty()) << problems.front();
        } else {
            ASSERT_EQ(problems.size(), 1u);
            if (*c.problem) {
                EXPECT_EQ(problems[0], c.problem);
            }
        }
    }

    // A million decal slots are half a gigabyte; beyond that the level load
    // runs out of memory.
    std::vector<std::string> problems;
    EXPECT_EQ(Config::FromJson(R"({"maxBloodDecals": 1000000})", &problems)->maxBloodDecals, 1000000);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(Config::FromJson(R"({"maxBloodDecals": 1000001})", &problems)->maxBloodDecals, 2000);
    EXPECT_EQ(problems.size(), 1u);
}

// The menus' white text and its black outline must stay a tenth of the
// display's range apart (white 0.5 + contrast / 2 + brightness, black 0.5 -
// contrast / 2 + brightness, each clamped to 0..1); only the value whose hold
// brings them apart is held, at its page's limit.
TEST(ConfigReading, BrightnessOrContrastThatLeaveTheMenusUnreadableHoldOnlyTheValueAtFault)
{
    struct Case
    {
        const char* text;
        float brightness, contrast;
        const char* problem; // null: both taken as written
    };
    const Case cases[] = {
        // White 0.50225, black 0.49775: grey levels 128 and 127.
        {R"({"contrast": 0.0045})", 0.0f, 1.0f,
         R"("contrast" (0.0045 with brightness 0 leaves the menus unreadable; held at 1))"},
        // White 0.01, black 0: levels 3 and 0.
        {R"({"brightness": -0.99})", 0.0f, 1.0f,
         R"("brightness" (-0.99 with contrast 1 leaves the menus unreadable; held at 0))"},
        // Both white: brightness 0.05 brings black to 0, contrast 1.05 would
        // not.
        {R"({"brightness": 5, "contrast": 3})", 0.05f, 3.0f,
         R"("brightness" (5 with contrast 3 leaves the menus unreadable; held at 0.05))"},
        {R"({"brightness": 0.05, "contrast": 3})", 0.05f, 3.0f, nullptr},
        // Both black: brightness 0 gives 0.75 and 0.25, contrast 1 would not.
        {R"({"brightness": -5, "contrast": 0.5})", 0.0f, 0.5f, ""},
        {R"({"brightness": 0, "contrast": 0.5})", 0.0f, 0.5f, nullptr},
        // A tenth apart, the bound, on each side of the range; a negative
        // contrast swaps white and black.
        {R"({"contrast": 0.1})", 0.0f, 0.1f, nullptr},
        {R"({"contrast": -0.1})", 0.0f, -0.1f, nullptr},
        {R"({"contrast": 0.099})", 0.0f, 1.0f, ""},
        {R"({"brightness": 0.9})", 0.9f, 1.0f, nullptr},
        {R"({"brightness": 0.91})", 0.05f, 1.0f, ""},
        {R"({"brightness": -0.9})", -0.9f, 1.0f, nullptr},
        {R"({"brightness": -0.91})", 0.0f, 1.0f, ""},
        // Both white, and either hold would do (0.05 and 0.5: 0.5 apart;
        // 0.85 and 1: 0.15): the one farther beyond its range is held.
        {R"({"brightness": 0.85, "contrast": 0.5})", 0.05f, 0.5f, ""},
        {R"({"brightness": 0.85, "contrast": 0.15})", 0.85f, 1.0f, ""},
        // Neither alone would do (0.05 and 0.01: 0.01 apart; 5 and 1: both
        // white).
        {R"({"brightness": 5, "contrast": 0.01})", 0.05f, 1.0f,
         R"("brightness" and "contrast" (5 and 0.01 leave the menus unreadable; held at 0.05 and 1))"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::string> problems;
        const auto record = Config::FromJson(c.text, &problems);
        ASSERT_TRUE(record.has_value());
        EXPECT_EQ(record->brightness, c.brightness);
        EXPECT_EQ(record->contrast, c.contrast);
        if (!c.problem) {
            EXPECT_TRUE(problems.empty()) << problems.front();
            continue;
        }
        EXPECT_EQ(problems.size(), 1u);
        if (*c.problem && !problems.empty()) {
            EXPECT_EQ(problems[0], c.problem);
        }
    }
}

TEST(ConfigReading, ANumberTooLargeForADoubleIsTakenAsTheLargestAndTheRestLoads)
{
    std::vector<std::string> problems;
    const auto record = Config::FromJson(
        R"({"fov": 1e999, "maxBloodDecals": -1E+999, "windowed": false, "note": "1e999 \"in\" a string"})", &problems);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->fov, 120.0f); // an infinity, held
    EXPECT_EQ(record->maxBloodDecals, INT_MIN);
    EXPECT_FALSE(record->windowed);
    EXPECT_EQ(problems,
              std::vector<std::string>{R"("fov" (beyond the +/-3.40282e+38 a 32-bit float holds; held at 120))"});
}

TEST(ConfigReading, TextThatIsNotJsonIsReportedAsSuch)
{
    EXPECT_FALSE(Config::FromJson("").has_value());
    EXPECT_FALSE(Config::FromJson("{\"fov\": ").has_value());
    EXPECT_FALSE(Config::FromJson("fov = 90").has_value());
    // JSON, but not an object of settings.
    EXPECT_FALSE(Config::FromJson(R"([{"screenWidth": 800}])").has_value());
    EXPECT_FALSE(Config::FromJson("42").has_value());
}

class ConfigFileTest : public ::testing::Test
{
protected:
    void SetUp() override { Config::GetInstance().Reset(); }
    void TearDown() override { Config::GetInstance().Reset(); }

    TempDir dir;
    Config& config = Config::GetInstance();
};

TEST_F(ConfigFileTest, MissingFileKeepsWhatIsThereAndSaveCreatesIt)
{
    config.settings.fov = 75.0f;
    config.Load(dir.File("config.json"));
    EXPECT_FLOAT_EQ(config.settings.fov, 75.0f);
    config.Save(dir.File("config.json"));
    config.settings = Settings{};
    config.Load(dir.File("config.json"));
    EXPECT_FLOAT_EQ(config.settings.fov, 75.0f);
    EXPECT_TRUE(TemporaryCopiesOf(dir.File("config.json")).empty());
}

TEST_F(ConfigFileTest, UnreadableFileIsKeptAsBackupBeforeDefaultsAreWritten)
{
    const std::string garbage = "{\"fov\": 120, \"vsync\": fals";
    dir.Write("config.json", garbage);
    config.settings.fov = 60.0f;
    config.Load(dir.File("config.json"));
    EXPECT_EQ(config.settings, Settings{});
    EXPECT_EQ(dir.Read("config.json.bak"), garbage);
    config.Save(dir.File("config.json"));
    EXPECT_EQ(dir.Read("config.json"), DefaultFileText);
    EXPECT_EQ(dir.Read("config.json.bak"), garbage);
}

TEST_F(ConfigFileTest, AFileWithAWrongTypeIsKeptAsWrittenBeforeTheDefaultTakesItsPlace)
{
    const std::string theirs = "{\"fov\": 110, \"vsync\": \"off\"}\n";
    dir.Write("config.json", theirs);
    ::testing::internal::CaptureStderr();
    config.Load(dir.File("config.json"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FLOAT_EQ(config.settings.fov, 110.0f);
    EXPECT_TRUE(config.settings.vsync);
    EXPECT_EQ(dir.Read("config.json.bak"), theirs);
    EXPECT_NE(said.find("\"vsync\" (wrong type)"), std::string::npos) << said;
    EXPECT_NE(said.find("config.json.bak"), std::string::npos) << said;
    config.Save(dir.File("config.json")); // as at start-up
    EXPECT_NE(dir.Read("config.json").find("\"vsync\": true"), std::string::npos);
    EXPECT_EQ(dir.Read("config.json.bak"), theirs);

    // A file taken whole keeps no copy.
    std::filesystem::remove(dir.File("config.json.bak"));
    config.Load(dir.File("config.json"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.json.bak")));
}

// A player who keeps config.json elsewhere (in a dotfiles folder, say) and
// links it here: the settings are written to the file the links lead to.
TEST_F(ConfigFileTest, ALinkedFileIsWrittenThroughItsLinksAndTheLinksStay)
{
    std::filesystem::create_directories(dir.File("dotfiles/mirefell"));
    dir.Write("dotfiles/mirefell/settings.json", "{\"fov\": 100}");
    std::filesystem::create_symlink("mirefell/settings.json", dir.File("dotfiles/current"));
    std::filesystem::create_symlink(dir.File("dotfiles/current"), dir.File("config.json"));
    config.Load(dir.File("config.json"));
    EXPECT_FLOAT_EQ(config.settings.fov, 100.0f);
    config.settings.fov = 75.0f;
    config.Save(dir.File("config.json"));

    EXPECT_NE(dir.Read("dotfiles/mirefell/settings.json").find("\n\"fov\": 75, \n"), std::string::npos);
    EXPECT_EQ(std::filesystem::read_symlink(dir.File("config.json")), dir.File("dotfiles/current"));
    EXPECT_EQ(std::filesystem::read_symlink(dir.File("dotfiles/current")), "mirefell/settings.json");
    EXPECT_TRUE(TemporaryCopiesOf(dir.File("config.json")).empty());
    EXPECT_TRUE(TemporaryCopiesOf(dir.File("dotfiles/mirefell/settings.json")).empty());
}

TEST_F(ConfigFileTest, SomethingThatCannotBeReadIsReportedAndNeverWrittenOver)
{
    for (const testing::UnreadableFile& thing : testing::UnreadableFiles(100u << 20)) {
        const std::string path = dir.File("config.json");
        thing.make(path);
        config.settings.fov = 75.0f;
        ::testing::internal::CaptureStderr();
        config.Load(path);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FLOAT_EQ(config.settings.fov, 75.0f) << thing.name << ": nothing read, nothing reset";
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << thing.name << ": " << said;
        EXPECT_NE(said.find(path + " cannot be read"), std::string::npos) << thing.name << ": " << said;

        config.Save(path); // as at start-up and at exit
        config.Save(path);
        EXPECT_TRUE(thing.intact(path)) << thing.name;
        EXPECT_TRUE(TemporaryCopiesOf(path).empty()) << thing.name;
        std::filesystem::remove_all(path);

        // Once it is gone, the next run writes the file as usual.
        config.Load(path);
        config.Save(path);
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << thing.name;
        std::filesystem::remove(path);
    }
}

TEST_F(ConfigFileTest, JsonThatIsNotAnObjectIsKeptAsBackupToo)
{
    const std::string list = R"([{"screenWidth":800}])";
    dir.Write("config.json", list);
    ::testing::internal::CaptureStderr();
    config.Load(dir.File("config.json"));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(config.settings, Settings{});
    EXPECT_EQ(dir.Read("config.json.bak"), list);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("config.json.bak"), std::string::npos) << said;
}

TEST_F(ConfigFileTest, ASecondBadFileNeverReplacesTheFirstBackup)
{
    dir.Write("config.json", "first mistake");
    config.Load(dir.File("config.json"));
    dir.Write("config.json", "second mistake");
    config.Load(dir.File("config.json"));
    EXPECT_EQ(dir.Read("config.json.bak"), "first mistake");
    EXPECT_EQ(dir.Read("config.json.bak2"), "second mistake");
    // The same bad text again is already kept: no third copy.
    config.Load(dir.File("config.json"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.json.bak3")));
}

TEST_F(ConfigFileTest, CrLfFilesAndTrailingSpaceRead)
{
    dir.Write("config.json", "{\r\n\"fov\": 100, \r\n\"vsync\": false\r\n}\r\n   ");
    config.Load(dir.File("config.json"));
    EXPECT_FLOAT_EQ(config.settings.fov, 100.0f);
    EXPECT_FALSE(config.settings.vsync);
}

TEST_F(ConfigFileTest, SaveIntoAMissingFolderFailsQuietlyAndLeavesNothing)
{
    const std::string path = dir.File("no-such-folder/config.json");
    EXPECT_NO_THROW(config.Save(path));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ConfigFileTest, NonPositiveSizesMeanTheDisplaySize)
{
    config.settings.screenWidth = 1280;
    config.settings.screenHeight = 720;
    EXPECT_FALSE(config.WantsDisplaySize());
    config.settings.screenWidth = 0;
    EXPECT_TRUE(config.WantsDisplaySize());
    config.settings.screenWidth = 1280;
    config.settings.screenHeight = -5;
    EXPECT_TRUE(config.WantsDisplaySize());
}

// Records the window operations in order.
class RecordingWindow : public IWindow
{
public:
    void SetFullscreenState(bool fullscreen) override
    {
        calls.push_back(fullscreen ? "fullscreen" : "leave-fullscreen");
    }
    void SetWindowedStyle(int width, int height) override
    {
        calls.push_back("windowed " + std::to_string(width) + "x" + std::to_string(height));
    }
    void SetBorderlessStyle() override { calls.push_back("borderless"); }
    std::vector<std::string> calls;
};

class ConfigDisplayTest : public ConfigFileTest
{
protected:
    void SetUp() override
    {
        ConfigFileTest::SetUp();
        config.window = &window;
        config.onEnterFullscreen = [this] { window.calls.push_back("enter-fullscreen-callback"); };
        config.settings.screenWidth = config.pending.screenWidth = 1280;
        config.settings.screenHeight = config.pending.screenHeight = 720;
    }
    RecordingWindow window;
};

TEST_F(ConfigDisplayTest, UnchangedDisplayFieldsOnlyClearTheDirtyFlag)
{
    config.displayDirty = true;
    config.pending.fov = 50.0f; // not a display field
    config.ApplyDisplaySettings();
    EXPECT_FALSE(config.displayDirty);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_FLOAT_EQ(config.settings.fov, 90.0f);
}

TEST_F(ConfigDisplayTest, FullScreenToWindowedLeavesFullScreenFirst)
{
    config.settings.windowed = false;
    config.pending.windowed = true;
    config.pending.borderless = false;
    config.pending.screenWidth = 1024;
    config.pending.screenHeight = 768;
    config.displayDirty = true;
    config.ApplyDisplaySettings();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"leave-fullscreen", "windowed 1024x768"}));
    EXPECT_EQ(config.settings.screenWidth, 1024);
    EXPECT_FALSE(config.displayDirty);
}

TEST_F(ConfigDisplayTest, WindowedToFullScreenRunsTheCallbackAndBorderlessRestyles)
{
    config.pending.windowed = false;
    config.ApplyDisplaySettings();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"enter-fullscreen-callback"}));

    window.calls.clear();
    config.pending.windowed = true;
    config.pending.borderless = true;
    config.ApplyDisplaySettings();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"leave-fullscreen", "borderless"}));
}

TEST_F(ConfigDisplayTest, DisplayModesKeepDistinctSizesInOrder)
{
    config.BuildDisplayModeList({{640, 480, 60}, {640, 480, 75}, {800, 600, 60}, {1280, 720, 60}});
    EXPECT_EQ(config.displayModes, (std::vector<DisplaySize>{{640, 480}, {800, 600}, {1280, 720}}));
    EXPECT_EQ(config.GetDisplayModeIndex(), 2);
    config.pending.screenWidth = 999;
    EXPECT_EQ(config.GetDisplayModeIndex(), 0);
    config.BuildDisplayModeList({});
    EXPECT_EQ(config.GetDisplayModeIndex(), 0);
}

} // namespace
} // namespace mirefell
