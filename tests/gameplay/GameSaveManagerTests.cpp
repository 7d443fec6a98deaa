// Save slots and game progress over a temporary saves folder: which slot
// "Continue" takes, saving and loading a game with its items, moving on
// through the levels, time credited once, and every broken file or failed
// write leaving the saved games and the current game as they were.
#include <filesystem>
#include <limits>

#include <gtest/gtest.h>

#include "gameplay/GameSaveFile.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/GameSaveTestData.h"
#include "gameplay/PlayerInventory.h"
#include "gameplay/Weapon.h"
#include "shell/GameStateManager.h"
#include "shell/LevelBannerFlag.h"
#include "support/FullDevice.h"
#include "support/TempDir.h"
#include "support/UnreadableFiles.h"

namespace mirefell
{
namespace
{

using testing::FullDevice;
using testing::TempDir;
using testing::TemporaryCopiesOf;

class SaveSlots : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GameStateManager::GetInstance().Reset();
        showLevelBanner = false;
        std::filesystem::create_directories(dir.File("saves"));
    }

    // Writes a slot file directly, as an earlier session would have.
    void WriteSlot(int32_t slot, int64_t saveTime, bool permadeath = false, bool permadead = false)
    {
        testing::SampleGame game = testing::MakeSampleGame();
        game.save.slot = slot;
        game.save.saveTime = saveTime;
        game.save.permadeath = permadeath;
        game.save.permadead = permadead;
        WriteGameSaveFile(manager.SlotPath(slot), game.save);
    }

    // Gathers the inventory as the player's save step does and saves.
    bool SaveInventory(const PlayerInventory& inventory, uint32_t levelSeconds = 0)
    {
        std::vector<Item*> items;
        GUID equipped;
        std::vector<GUID> bound;
        for (const auto& item : inventory.GetItems()) {
            items.push_back(item.get());
            if (item->category == ItemCategory::Weapon && equipped.IsEmpty())
                equipped = item->id;
            if (item->category == ItemCategory::Artifact)
                bound.push_back(item->id);
        }
        return manager.SaveLevelProgress(levelSeconds, equipped, bound, items);
    }

    GameState State() const { return GameStateManager::GetInstance().current; }

    TempDir dir;
    GameSaveManager manager{dir.File("saves")};
};

TEST_F(SaveSlots, NoSavesOfferNothingToContinue)
{
    manager.LoadSlotList();
    EXPECT_TRUE(manager.slots.empty());
    EXPECT_FALSE(manager.HasContinuableSlot());
    EXPECT_FALSE(manager.Continue());
    EXPECT_EQ(State(), GameState::Start);
    EXPECT_TRUE(manager.IsLevelUnlocked(3, 1));
    EXPECT_FALSE(manager.IsLevelUnlocked(3, 2));
}

TEST_F(SaveSlots, ContinueTakesTheLatestSaveAndTheLowerSlotOnATie)
{
    WriteSlot(1, 5000);
    WriteSlot(3, 5000);
    manager.LoadSlotList();
    EXPECT_TRUE(manager.slots.at(1).items.empty()) << "the slot list keeps no items";
    ASSERT_TRUE(manager.Continue());
    EXPECT_EQ(manager.current.slot, 1);
    EXPECT_EQ(State(), GameState::Loading);

    WriteSlot(3, 5001);
    manager.LoadSlotList();
    ASSERT_TRUE(manager.Continue());
    EXPECT_EQ(manager.current.slot, 3);
}

TEST_F(SaveSlots, AGameLostToPermadeathIsNeverContinued)
{
    WriteSlot(2, 9000, true, true);
    manager.LoadSlotList();
    EXPECT_FALSE(manager.HasContinuableSlot());
    EXPECT_FALSE(manager.Continue());

    WriteSlot(0, 100, true, false); // permadeath still alive: fine
    manager.LoadSlotList();
    EXPECT_TRUE(manager.HasContinuableSlot());
    ASSERT_TRUE(manager.Continue());
    EXPECT_EQ(manager.current.slot, 0);
}

TEST_F(SaveSlots, NewGameSavedAndLoadedKeepsItsItems)
{
    manager.NewGame(4, GameDifficulty::Hard, true, false);
    EXPECT_EQ(State(), GameState::Loading);
    EXPECT_TRUE(manager.current.freshGame);
    EXPECT_EQ(manager.current.levelId, "pentagram");

    PlayerInventory inventory;
    inventory.AddItem(Weapons::MakeDoubleShotgun());
    inventory.AddItem(MakeArtifactBoots());
    inventory.AddItem(MakeHealthCube());
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_FALSE(manager.current.freshGame);
    EXPECT_TRUE(manager.current.items.empty()) << "no pointer into the inventory survives the save";
    EXPECT_GT(manager.current.saveTime, 1'600'000'000);

    ASSERT_TRUE(manager.LoadSlot(4));
    EXPECT_EQ(manager.current.difficulty, GameDifficulty::Hard);
    EXPECT_TRUE(manager.current.blackout);
    EXPECT_TRUE(manager.GetLevelSettings().blackout) << "the level build sees the loaded game's modifier";
    ASSERT_EQ(manager.current.items.size(), 3u);
    std::vector<std::unique_ptr<Item>> items = manager.TakeItems();
    EXPECT_TRUE(manager.current.items.empty());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_NE(dynamic_cast<Weapon*>(items[0].get()), nullptr);
    EXPECT_NE(dynamic_cast<Artifact*>(items[1].get()), nullptr);
    EXPECT_NE(dynamic_cast<Consumable*>(items[2].get()), nullptr);
    EXPECT_EQ(manager.current.equippedItem, items[0]->id);
    EXPECT_EQ(manager.current.boundItems, std::vector<GUID>{items[1]->id});

    // The player puts them back where they were.
    PlayerInventory restored;
    for (auto& item : items) {
        const int32_t x = item->x, y = item->y;
        restored.AddItemAt(x, y, std::move(item));
    }
    EXPECT_EQ(restored.GetItem(manager.current.equippedItem)->name, L"Double Shotgun");
    EXPECT_EQ(restored.weaponIds.size(), 1u);
}

TEST_F(SaveSlots, SavingAgainKeepsOneFileWithTheLaterTime)
{
    manager.NewGame(0, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    ASSERT_TRUE(SaveInventory(inventory));
    const int64_t first = manager.current.saveTime;
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_GE(manager.current.saveTime, first);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("saves")))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"save0.mfv"});
}

TEST_F(SaveSlots, LevelTimeIsCreditedOncePerPause)
{
    manager.NewGame(1, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    manager.current.health = 40.0f;
    SaveInventory(inventory, 0); // the level starts
    EXPECT_FLOAT_EQ(manager.current.health, 100.0f);
    SaveInventory(inventory, 42); // death
    SaveInventory(inventory, 42); // then "Save and exit" with the clock still paused
    EXPECT_EQ(manager.current.levels.at("pentagram").totalTime, 42u);

    ASSERT_TRUE(manager.LoadSlot(1)); // restart after death
    SaveInventory(inventory, 0);
    SaveInventory(inventory, 10);
    EXPECT_EQ(manager.current.levels.at("pentagram").totalTime, 52u);
    ASSERT_TRUE(manager.LoadSlot(1));
    EXPECT_EQ(manager.current.levels.at("pentagram").totalTime, 52u);
}

TEST_F(SaveSlots, FinishingALevelUnlocksTheNextAndTheLastEndsTheGame)
{
    int finished = 0;
    manager.onGameFinished = [&] { ++finished; };
    manager.NewGame(0, GameDifficulty::Easy, false, false);
    PlayerInventory inventory;
    ASSERT_TRUE(SaveInventory(inventory));

    manager.AdvanceToNextLevel();
    EXPECT_EQ(manager.current.levelId, "descent");
    EXPECT_EQ(manager.current.highestLevel, 2);
    EXPECT_TRUE(showLevelBanner);
    EXPECT_EQ(State(), GameState::Loading);
    ASSERT_TRUE(SaveInventory(inventory));
    manager.LoadSlotList();
    EXPECT_TRUE(manager.IsLevelUnlocked(0, 2));
    EXPECT_FALSE(manager.IsLevelUnlocked(0, 3));

    manager.SetLevelName("mouth");
    ASSERT_TRUE(SaveInventory(inventory));
    GameStateManager::GetInstance().Reset();
    manager.AdvanceToNextLevel();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(State(), GameState::Start) << "no level follows the last";

    // Before the user interface sets its end-of-game action, the end of the
    // game still leads back to the title.
    manager.onGameFinished = nullptr;
    manager.AdvanceToNextLevel();
    EXPECT_EQ(State(), GameState::MainMenu);
}

TEST_F(SaveSlots, BrokenSlotFilesChangeNothing)
{
    WriteSlot(0, 700);
    ASSERT_TRUE(manager.LoadSlot(0));
    const std::string goodSave = dir.Read("saves/save0.mfv");

    testing::SampleGame impossible = testing::MakeSampleGame();
    impossible.save.difficulty = GameDifficulty{9};
    WriteGameSaveFile(manager.SlotPath(4), impossible.save);
    const std::string broken[] = {
        "",                                                    // empty
        "not a save at all, just some text",                   // garbage
        goodSave.substr(0, goodSave.size() / 2),               // truncated
        goodSave.substr(0, 30) + "\x63" + goodSave.substr(31), // a library version from the future
    };
    for (int slot = 1; slot <= 4; ++slot) {
        if (slot < 4)
            dir.Write("saves/save" + std::to_string(slot) + ".mfv", broken[slot - 1]);
        const std::string before = dir.Read("saves/save" + std::to_string(slot) + ".mfv");
        EXPECT_FALSE(manager.LoadSlot(slot)) << slot;
        EXPECT_NE(manager.GetLastError(), "");
        EXPECT_EQ(manager.current.saveTime, 700) << "the current game stays";
        EXPECT_EQ(manager.current.levelId, "descent");
        EXPECT_EQ(manager.current.items.size(), 3u);
        EXPECT_EQ(dir.Read("saves/save" + std::to_string(slot) + ".mfv"), before) << "the file stays";
    }
    EXPECT_FALSE(manager.LoadSlot(7));

    // On the title screen the broken slots are empty and the good one stays.
    manager.LoadSlotList();
    ASSERT_EQ(manager.slots.size(), 1u);
    EXPECT_EQ(manager.slots.begin()->first, 0);
    EXPECT_EQ(dir.Read("saves/save0.mfv"), goodSave);
    // The items of the good load are still whole.
    EXPECT_EQ(manager.TakeItems().size(), 3u);
}

TEST_F(SaveSlots, AnUnreadableSlotIsShownAsSuchSaidOnceAndKeptBeforeANewGameGoesIn)
{
    WriteSlot(0, 700);
    std::string newer = dir.Read("saves/save0.mfv");
    newer[30] = 99; // written by a later library
    dir.Write("saves/save0.mfv", newer);

    ::testing::internal::CaptureStderr();
    manager.LoadSlotList();
    manager.LoadSlotList(); // the title is built again
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(manager.slots.empty());
    EXPECT_TRUE(manager.IsSlotUnreadable(0));
    EXPECT_FALSE(manager.IsSlotUnreadable(1));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("save slot 1 is unreadable"), std::string::npos) << said;
    EXPECT_NE(said.find("unsupported library version 99"), std::string::npos) << said;

    manager.NewGame(0, GameDifficulty::Easy, false, false);
    PlayerInventory inventory;
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_EQ(dir.Read("saves/save0.mfv.bak"), newer);
    ASSERT_TRUE(manager.LoadSlot(0));
    EXPECT_EQ(manager.current.difficulty, GameDifficulty::Easy);
    // A good save is replaced as the game goes on, with no copy each time.
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_FALSE(std::filesystem::exists(dir.File("saves/save0.mfv.bak2")));
}

TEST_F(SaveSlots, SpecialAndHugeSlotFilesAreUnreadableAndMovedAsideUnread)
{
    for (const testing::UnreadableFile& thing : testing::UnreadableFiles(3ull << 30)) {
        const std::string path = manager.SlotPath(2);
        thing.make(path);
        const auto kind = std::filesystem::symlink_status(path).type();
        manager.LoadSlotList();
        EXPECT_TRUE(manager.IsSlotUnreadable(2)) << thing.name;
        EXPECT_FALSE(manager.LoadSlot(2)) << thing.name;

        manager.NewGame(2, GameDifficulty::Normal, false, false);
        PlayerInventory inventory;
        ASSERT_TRUE(SaveInventory(inventory)) << thing.name << ": " << manager.GetLastError();
        // What was there is kept as it was: a link as a link, a pipe as a pipe.
        EXPECT_EQ(std::filesystem::symlink_status(path + ".bak").type(), kind) << thing.name;
        EXPECT_TRUE(manager.LoadSlot(2)) << thing.name;
        std::filesystem::remove_all(path + ".bak");
        std::filesystem::remove(path);
    }
}

TEST_F(SaveSlots, ASlotIsItsFilesWhateverTheSaveInsideSays)
{
    testing::SampleGame game = testing::MakeSampleGame();
    game.save.slot = 1;
    WriteGameSaveFile(manager.SlotPath(0), game.save);

    ::testing::internal::CaptureStderr();
    manager.LoadSlotList();
    manager.LoadSlotList();
    ASSERT_TRUE(manager.LoadSlot(0));
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(manager.slots.at(0).slot, 0);
    EXPECT_FALSE(manager.slots.contains(1));
    EXPECT_EQ(manager.current.slot, 0);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("says it is slot 2; it stays slot 1"), std::string::npos) << said;

    PlayerInventory inventory;
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_FALSE(std::filesystem::exists(manager.SlotPath(1)));
    EXPECT_EQ(ReadGameSaveFile(manager.SlotPath(0)).save.slot, 0) << "the file now says so too";
}

TEST_F(SaveSlots, ASaveWithAnItemOfAnUnknownIconIsRefusedNamingTheSlotAndTheItem)
{
    testing::SampleGame game = testing::MakeSampleGame();
    game.owned[1]->textureId = "item_nope";
    WriteGameSaveFile(manager.SlotPath(3), game.save);
    EXPECT_FALSE(manager.LoadSlot(3));
    EXPECT_NE(manager.GetLastError().find("save slot 4"), std::string::npos) << manager.GetLastError();
    EXPECT_NE(manager.GetLastError().find("item \"Breastplate\" has an unknown icon \"item_nope\""), std::string::npos)
        << manager.GetLastError();
    manager.LoadSlotList();
    EXPECT_TRUE(manager.IsSlotUnreadable(3));
}

TEST_F(SaveSlots, ASaveThatWouldBreakTheGameIsRefusedNamingTheSlotAndTheItem)
{
    testing::SampleGame game = testing::MakeSampleGame();
    static_cast<Weapon&>(*game.owned[0]).data.projectile.lightColor.r = -1.0f; // darkens the walls to black
    WriteGameSaveFile(manager.SlotPath(1), game.save);
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(manager.LoadSlot(1));
    manager.LoadSlotList();
    ::testing::internal::GetCapturedStderr();
    EXPECT_NE(manager.GetLastError().find("save slot 2"), std::string::npos) << manager.GetLastError();
    EXPECT_NE(manager.GetLastError().find("weapon \"HyperBlaster\" has a colour"), std::string::npos)
        << manager.GetLastError();
    EXPECT_TRUE(manager.IsSlotUnreadable(1));
}

TEST_F(SaveSlots, ACutSaveIsSaidToBeDamagedOrCutShort)
{
    WriteSlot(1, 700);
    const std::string whole = dir.Read("saves/save1.mfv");
    dir.Write("saves/save1.mfv", whole.substr(0, whole.size() / 2));
    ::testing::internal::CaptureStderr();
    manager.LoadSlotList();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("save slot 2 is unreadable"), std::string::npos) << said;
    EXPECT_NE(said.find("save1.mfv: the file is damaged or cut short"), std::string::npos) << said;
    EXPECT_TRUE(manager.IsSlotUnreadable(1));
}

// A save the game writes is one it reads. The inventory adds pages without
// end as it fills, so a large one writes rows far down: continued, played
// into and saved again, the slot still loads, with every item.
TEST_F(SaveSlots, ALargeInventoryContinuedAndSavedAgainStillLoads)
{
    testing::SampleGame game = testing::MakeSampleGame();
    game.save.slot = 0;
    // 2,600 breastplates of 2 x 2 cells fill 104 pages, 25 to a page; all are
    // stored at the first cell but two, stored on rows no page has.
    for (int i = 0; i < 2'600; ++i)
        game.Hold(MakeBreastplate());
    game.owned[3]->y = -4;
    game.owned[4]->y = std::numeric_limits<int32_t>::max();
    const size_t itemCount = game.owned.size();
    WriteGameSaveFile(manager.SlotPath(0), game.save);
    manager.LoadSlotList();

    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(manager.Continue()) << "round " << round << ": " << manager.GetLastError();
        PlayerInventory inventory; // as the level start fills it
        for (auto& item : manager.TakeItems()) {
            const int32_t x = item->x, y = item->y;
            inventory.AddItemAt(x, y, std::move(item));
        }
        // The first page holds 21 of them beside the sample's three items,
        // every other page 25: 2,579 more need 104 pages.
        EXPECT_EQ(inventory.GetPageCount(), 105);
        ASSERT_TRUE(SaveInventory(inventory));
        manager.LoadSlotList();
        EXPECT_FALSE(manager.IsSlotUnreadable(0)) << manager.unreadableSlots[0];
        EXPECT_EQ(ReadGameSaveFile(manager.SlotPath(0)).items.size(), itemCount);
    }
}

// A new game in an occupied slot replaces its game without asking; the game
// it replaces is kept, the last one replaced as "<file>.bak".
TEST_F(SaveSlots, ANewGameKeepsTheGameItReplacesAsABackup)
{
    WriteSlot(1, 500);
    const std::string first = dir.Read("saves/save1.mfv");
    manager.NewGame(1, GameDifficulty::Masochistic, false, false);
    PlayerInventory inventory;
    inventory.AddItem(Weapons::MakeHammer());
    ASSERT_TRUE(SaveInventory(inventory)); // the level start
    EXPECT_EQ(dir.Read("saves/save1.mfv.bak"), first);
    ASSERT_TRUE(SaveInventory(inventory, 30)); // the same game goes on: nothing more is kept
    EXPECT_EQ(dir.Read("saves/save1.mfv.bak"), first);

    const std::string second = dir.Read("saves/save1.mfv");
    manager.NewGame(1, GameDifficulty::Easy, true, false);
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_EQ(dir.Read("saves/save1.mfv.bak"), second);

    // What the backup's name holds when it is no game is never written over,
    // and costs one more name in all, however many games are replaced.
    dir.Write("saves/save1.mfv.bak", "a file that did not read as a save");
    for (const GameDifficulty difficulty : {GameDifficulty::Hard, GameDifficulty::Normal}) {
        const std::string replaced = dir.Read("saves/save1.mfv");
        manager.NewGame(1, difficulty, false, false);
        ASSERT_TRUE(SaveInventory(inventory));
        EXPECT_EQ(dir.Read("saves/save1.mfv.bak"), "a file that did not read as a save");
        EXPECT_EQ(dir.Read("saves/save1.mfv.bak2"), replaced);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("saves/save1.mfv.bak3")));

    // Nor is a link there written through, even to a game of the player's.
    std::filesystem::create_directory(dir.File("outside"));
    WriteGameSaveFile(dir.File("outside/precious.mfv"), testing::MakeSampleGame().save);
    const std::string precious = dir.Read("outside/precious.mfv");
    std::filesystem::remove(dir.File("saves/save1.mfv.bak"));
    std::filesystem::create_symlink(dir.File("outside/precious.mfv"), dir.File("saves/save1.mfv.bak"));
    const std::string replaced = dir.Read("saves/save1.mfv");
    manager.NewGame(1, GameDifficulty::Easy, false, false);
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_EQ(dir.Read("outside/precious.mfv"), precious);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("saves/save1.mfv.bak")));
    EXPECT_EQ(dir.Read("saves/save1.mfv.bak2"), replaced);
}

// A game loaded after a new game whose first save failed is its slot's own:
// its saves keep nothing aside.
TEST_F(SaveSlots, AGameLoadedAfterANewGameKeepsNoBackupOfItsOwnSlot)
{
    WriteSlot(0, 100);
    WriteSlot(1, 200);
    manager.NewGame(1, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    inventory.AddItem(Weapons::MakeHammer());
    {
        const FullDevice full(dir.File("saves/save1.mfv"));
        ASSERT_FALSE(SaveInventory(inventory));
    }
    ASSERT_TRUE(manager.LoadSlot(0));
    ASSERT_TRUE(SaveInventory(inventory));
    EXPECT_FALSE(std::filesystem::exists(dir.File("saves/save0.mfv.bak")));
}

TEST_F(SaveSlots, AFailedWriteIsReportedAndKeepsThePreviousSave)
{
    manager.NewGame(0, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    inventory.AddItem(Weapons::MakeHammer());
    ASSERT_TRUE(SaveInventory(inventory));
    const std::string good = dir.Read("saves/save0.mfv");

    inventory.AddItem(Weapons::MakeRocketLauncher());
    {
        const FullDevice full(dir.File("saves/save0.mfv"));
        EXPECT_FALSE(SaveInventory(inventory));
    }
    EXPECT_NE(manager.GetLastError(), "");
    EXPECT_TRUE(manager.current.items.empty());
    EXPECT_EQ(dir.Read("saves/save0.mfv"), good);

    // The saves folder cannot be created: a file is in its way.
    GameSaveManager blocked(dir.File("blocked"));
    dir.Write("blocked", "a file, not a folder");
    blocked.NewGame(0, GameDifficulty::Normal, false, false);
    EXPECT_FALSE(blocked.Save(GUID{}, {}, {}));
    EXPECT_NE(blocked.GetLastError().find("not saved"), std::string::npos);
}

TEST_F(SaveSlots, AFullDeviceFailsTheSaveCleanly)
{
    manager.NewGame(0, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    inventory.AddItem(Weapons::MakeHammer());
    ASSERT_TRUE(SaveInventory(inventory));
    const std::string good = dir.Read("saves/save0.mfv");

    inventory.AddItem(Weapons::MakeRocketLauncher());
    ::testing::internal::CaptureStderr();
    {
        const FullDevice full(dir.File("saves/save0.mfv"));
        EXPECT_FALSE(SaveInventory(inventory));
    }
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(dir.Read("saves/save0.mfv"), good);
    EXPECT_TRUE(TemporaryCopiesOf(dir.File("saves/save0.mfv")).empty());
    EXPECT_NE(said.find("not saved"), std::string::npos) << said;
    EXPECT_NE(manager.GetLastError().find("No space left on device"), std::string::npos) << manager.GetLastError();
}

TEST_F(SaveSlots, NextLevelWithAnUnreadableSaveReturnsToTheTitle)
{
    int finished = 0;
    manager.onGameFinished = [&] { ++finished; };
    manager.NewGame(0, GameDifficulty::Normal, false, false);
    PlayerInventory inventory;
    ASSERT_TRUE(SaveInventory(inventory));
    dir.Write("saves/save0.mfv", "scrambled");

    manager.AdvanceToNextLevel();
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(manager.current.levelId, "pentagram") << "not moved on without the saved items";
    EXPECT_FALSE(showLevelBanner);
    EXPECT_EQ(dir.Read("saves/save0.mfv"), "scrambled");
}

TEST_F(SaveSlots, AnItemStoredOffTheGridIsPlacedInside)
{
    testing::SampleGame game = testing::MakeSampleGame();
    game.owned[0]->x = 10; // a weapon 2 wide at column 10
    game.owned[0]->y = 3;
    WriteGameSaveFile(manager.SlotPath(2), game.save);
    ASSERT_TRUE(manager.LoadSlot(2));
    PlayerInventory inventory;
    for (auto& item : manager.TakeItems()) {
        const int32_t x = item->x, y = item->y;
        inventory.AddItemAt(x, y, std::move(item));
    }
    for (const auto& item : inventory.GetItems())
        EXPECT_LE(item->x + item->width, inventory.GetWidth());
    EXPECT_EQ(inventory.GetItems().size(), 3u);
}

} // namespace
} // namespace mirefell
