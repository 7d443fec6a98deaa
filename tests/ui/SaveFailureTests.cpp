// A save that fails is told to the player in the window: after "Save and
// exit" on the title (drawn on the headless GPU, with a picture in
// "test-output/"), in play as a message, and after the level-complete screen
// in the next level; the words name the cause. The failing saves meet a full
// device.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "MenuFixture.h"
#include "gameplay/GameSaveManager.h"
#include "render/PainterDrawLog.h"
#include "shell/FileKeeping.h"
#include "support/FullDevice.h"
#include "support/TempDir.h"
#include "ui/SaveFailureMessage.h"

namespace mirefell::testing
{
namespace
{

constexpr Color Grey{0.25f, 0.25f, 0.25f, 1.0f}; // 64 in the target
const std::wstring DiskFull = L"The game could not be saved: the disk is full.";

std::string Bytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string SlotFile()
{
    GameSaveManager& saves = GameSaveManager::GetInstance();
    return saves.SlotPath(saves.current.slot);
}

class SaveFailureTest : public MenuTest
{};

class SaveFailureDrawTest : public MenuDrawTest
{};

TEST_F(SaveFailureDrawTest, SaveAndExitOnAFullDiskKeepsTheOldSaveAndSaysWhyOnTheTitle)
{
    // The level start saved; the exit's save meets the full disk.
    const std::string saved = Bytes(SlotFile());
    ASSERT_FALSE(saved.empty());
    ::testing::internal::CaptureStderr();
    {
        const FullDevice full(SlotFile());
        ui->SaveAndExit();
    }
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("not saved"), std::string::npos);
    UiStep();
    ASSERT_EQ(State(), GameState::MainMenu);
    EXPECT_EQ(Bytes(SlotFile()), saved);

    StartScreen(1280, 720, Grey);
    PainterDrawLog log;
    ui->painter->drawLog = &log;
    ui->Draw();
    ui->painter->drawLog = nullptr;
    Capture();
    Save("ui/title_after_a_failed_save");
    // In a dark box at the top-left as a message in play: the box from
    // (24, 24), black at 0.75 over the grey (16), its text from (36, 36).
    const auto told = std::find_if(log.texts.begin(), log.texts.end(),
                                   [](const PainterDrawLog::Text& text) { return text.text == DiskFull; });
    ASSERT_NE(told, log.texts.end());
    EXPECT_EQ(told->position, Vector2(36.0f, 36.0f));
    EXPECT_EQ(At(24, 24).r, 16);
    EXPECT_EQ(At(23, 24).r, 64);

    // A sub-page of the title has the corner to itself.
    ClickRow(*Title().mainPanel, L"Load game");
    log.texts.clear();
    ui->painter->drawLog = &log;
    ui->Draw();
    ui->painter->drawLog = nullptr;
    EXPECT_TRUE(std::none_of(log.texts.begin(), log.texts.end(),
                             [](const PainterDrawLog::Text& text) { return text.text == DiskFull; }));
}

TEST_F(SaveFailureTest, AFailureInPlayIsAMessageAndOneAtTheLevelsEndShowsInTheNextLevel)
{
    auto& messages = NotificationBox::GetMessages();
    {
        const FullDevice full(SlotFile());
        player->SaveToGameSave(); // as at a death
    }
    UiStep();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front().text, DiskFull);
    EXPECT_EQ(messages.front().ticks, 599); // 10 s, one step gone

    // The level-complete screen has no messages; the next level shows it,
    // though its own first save went well.
    NotificationBox::Clear(messages);
    {
        const FullDevice full(SlotFile());
        player->CompleteLevel();
    }
    UiStep();
    EXPECT_TRUE(messages.empty());
    StartLevel();
    UiStep();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front().text, DiskFull);
    UiStep();
    EXPECT_EQ(messages.size(), 1u) << "told once";
}

TEST(SaveFailureMessage, NamesTheCauseInThePlayersWords)
{
    // Reports as the GameSaveManager writes them, with the system's words.
    const auto writeFailed = [](int error) {
        return "the game was not saved: can't write file (saves/save0.mfv: " + std::string(std::strerror(error)) + ")";
    };
    EXPECT_EQ(SaveFailureMessage(writeFailed(ENOSPC)), DiskFull);
    EXPECT_EQ(SaveFailureMessage(writeFailed(EACCES)), L"The game could not be saved: the game folder is read-only.");
    EXPECT_EQ(SaveFailureMessage("could not create the folder \"saves\"; the game was not saved: " +
                                 std::string(std::strerror(EROFS))),
              L"The game could not be saved: the disk is read-only.");
    EXPECT_EQ(SaveFailureMessage(writeFailed(EMFILE)), L"The game could not be saved: too many open files.");
    // Words too long for a message line.
    EXPECT_EQ(SaveFailureMessage(writeFailed(EILSEQ)), L"The game could not be saved: the system refused to write it.");
}

// Causes of the game's own, as a real save meets them: the slot keeps its
// game and the window says what stopped the save.
TEST(SaveFailureMessage, ASaveTooLargeToLoadOrAGameWithNoBackupNameLeftIsSaidSo)
{
    GameStateManager::GetInstance().Reset();
    TempDir dir;
    GameSaveManager manager(dir.File("saves"));
    const std::string slot = manager.SlotPath(0);
    manager.NewGame(0, GameDifficulty::Normal, false, false);
    ASSERT_TRUE(manager.Save(GUID{}, {}, {}));
    const std::string saved = Bytes(slot);

    // 9 MiB: more than the 8 MiB a save is read back with, less than the
    // 16 MiB of other archives.
    manager.current.levelId.assign(9u << 20, 'x');
    EXPECT_FALSE(manager.Save(GUID{}, {}, {}));
    EXPECT_TRUE(Bytes(slot) == saved) << "the slot keeps its game";
    EXPECT_EQ(SaveFailureMessage(manager.GetLastError()),
              L"The game could not be saved: the save is too large to load.");

    manager.NewGame(0, GameDifficulty::Easy, false, false);
    for (int number = 1; number <= MaxBackups; ++number)
        std::ofstream(BackupName(slot, number)) << "no game";
    EXPECT_FALSE(manager.Save(GUID{}, {}, {}));
    EXPECT_TRUE(Bytes(slot) == saved) << "the slot keeps its game";
    EXPECT_EQ(SaveFailureMessage(manager.GetLastError()),
              L"The game could not be saved: the slot's old game can't be kept.");
}

} // namespace
} // namespace mirefell::testing
