// The game's folder: which folder the game runs in, and the real program
// started from a folder of the player's, or from the project's source
// checkout, whose files it must not touch.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/DeveloperRun.h"
#include "app/GameFolder.h"
#include "support/ChildProcess.h"
#include "support/LentGame.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

namespace fs = std::filesystem;
using testing::LendGameData;
using testing::PlaceProgram;
using testing::TempDir;

std::vector<std::string> Names(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(GameFolder, TheWorkingFolderFirstThenTheProgramsOwnAndNeverAnotherFolder)
{
    TempDir dir;
    const fs::path game = dir.Path() / "game", elsewhere = dir.Path() / "elsewhere";
    LendGameData(game);
    fs::create_directories(elsewhere / "assets");
    fs::create_directories(elsewhere / "shaders"); // looks alike, holds no level
    EXPECT_EQ(GameFolder::Find(game, elsewhere), game);
    EXPECT_EQ(GameFolder::Find(elsewhere, game), game);
    EXPECT_EQ(GameFolder::Find(elsewhere, elsewhere), fs::path());
    EXPECT_EQ(GameFolder::Find(elsewhere, fs::path()), fs::path());
}

TEST(GameFolder, AFolderLackingAnyKindOfTheDataIsNotTheGames)
{
    // Every data file linked one by one: the folder is the game's; without
    // any one of them it is not. One file of each table the game loads by,
    // the last of each where the order is known.
    TempDir dir;
    const fs::path folder = dir.Path() / "game";
    fs::create_directories(folder);
    fs::create_directory_symlink(fs::path(MIREFELL_RUN_DIR) / "shaders", folder / "shaders");
    for (const std::string& file : GameFolder::GetDataFiles()) {
        fs::create_directories((folder / file).parent_path());
        if (!fs::exists(folder / file)) // the blaster's impact sound is named twice
            fs::create_symlink(fs::path(MIREFELL_RUN_DIR) / file, folder / file);
    }
    ASSERT_EQ(GameFolder::FindMissingData(folder), "");

    for (const char* file :
         {"assets/maps/mouth.json", "assets/sounds/music/title.wav", "assets/sounds/door_close.wav",
          "assets/textures/skybox.dds", "assets/textures/widgets/unchecked.png", "assets/meshes/eye_attack1.js",
          "assets/fonts/arial12.spritefont", "assets/fonts/capsuula60.spritefont", "assets/shaders/ASSAO.glsl"}) {
        fs::rename(folder / file, dir.Path() / "aside");
        EXPECT_EQ(GameFolder::FindMissingData(folder), file);
        EXPECT_EQ(GameFolder::Find(folder, fs::path()), fs::path()) << file;
        fs::rename(dir.Path() / "aside", folder / file);
    }
    fs::remove(folder / "shaders");
    EXPECT_EQ(GameFolder::FindMissingData(folder), "shaders");
}

TEST(GameFolder, StartedFromTheSourceCheckoutTheGameRunsFromItsOwnFolderAndWritesNothingThere)
{
    // The checkout holds the authored maps and the shaders but none of the
    // generated data; a developer's own config.json lies in it.
    TempDir dir;
    const fs::path game = dir.Path() / "game", checkout = dir.Path() / "checkout";
    LendGameData(game);
    fs::create_directories(checkout);
    for (const fs::directory_entry& entry : fs::directory_iterator(MIREFELL_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("build", 0) == 0 || name[0] == '.' || name == "config.json" || name == "binds.bin" ||
            name == "saves")
            continue;
        fs::create_symlink(entry.path(), checkout / name);
    }
    ASSERT_TRUE(fs::is_regular_file(checkout / "assets/maps/pentagram.json"));
    ASSERT_TRUE(fs::is_directory(checkout / "shaders"));
    const std::string theirs = "{\"editor\":\"vim\"}";
    std::ofstream(checkout / "config.json", std::ios::binary) << theirs;
    const std::vector<std::string> before = Names(checkout);

    const testing::ChildRun run =
        testing::RunChild({PlaceProgram(game).string()}, {{DeveloperRun::ExitAfterTitleVariable, "1"}}, checkout,
                          DeveloperRun::TitleLine, true);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_EQ(dir.Read("checkout/config.json"), theirs);
    EXPECT_EQ(Names(checkout), before);
    EXPECT_TRUE(fs::is_regular_file(game / "config.json"));
}

TEST(GameFolder, StartedFromThePlayersFolderTheGameLeavesItsFilesByteForByte)
{
    TempDir dir;
    const fs::path game = dir.Path() / "game", bare = dir.Path() / "bare", players = dir.Path() / "players";
    LendGameData(game);
    const std::string theirs = "{\"database\": \"prod\", \"port\": 5432}\n";
    fs::create_directories(players);
    std::ofstream(players / "config.json", std::ios::binary) << theirs;

    // The game runs from its own folder and writes its files there.
    const testing::ChildRun run =
        testing::RunChild({PlaceProgram(game).string()}, {{DeveloperRun::ExitAfterTitleVariable, "1"}}, players,
                          DeveloperRun::TitleLine, true);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_GE(run.lineMs, 0.0) << run.output;
    EXPECT_EQ(dir.Read("players/config.json"), theirs);
    EXPECT_EQ(Names(players), std::vector<std::string>{"config.json"});
    EXPECT_TRUE(fs::is_regular_file(game / "config.json"));

    // A program whose folder holds no game: a clear message, nothing written.
    const testing::ChildRun lost = testing::RunChild({PlaceProgram(bare).string()}, {}, players, "", true);
    EXPECT_EQ(lost.exitCode, 1);
    EXPECT_NE(lost.output.find(std::string("mirefell: ") + GameFolder::NotFound), std::string::npos) << lost.output;
    EXPECT_EQ(dir.Read("players/config.json"), theirs);
    EXPECT_EQ(Names(players), std::vector<std::string>{"config.json"});
    EXPECT_EQ(Names(bare), std::vector<std::string>{"mirefell"});
}

} // namespace
} // namespace mirefell
