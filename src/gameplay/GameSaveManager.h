// GameSaveManager: the process-wide holder of the game in progress. It owns
// the current GameSave, a summary of the five save slots ("saves/save<N>.mfv",
// N = 0 to 4), and the operations that start, continue, load, advance and
// save a game. Every change of level goes through a request of the loading
// state; the level loader then builds the level from `current`.
//
// Failures never escape: a slot file that cannot be read, or a save that
// cannot be written, is reported (stderr and GetLastError) and leaves both
// the files on disk and the current game as they were. An unreadable slot is
// shown as such on the title screen (IsSlotUnreadable); before a save goes
// into it, what was there is kept aside as "<file>.bak" (or the next free
// numbered backup), and when that cannot be done the save is refused. A new
// game's first save into a slot that holds another game keeps that game at
// the first backup name ("<file>.bak", "<file>.bak2", ...) that holds a game
// kept before or nothing, on the device before the new save replaces it.
// Whatever else is at a backup name, a link above all, is never read
// through or written over.
//
// A slot is its file's: the slot number stored inside a save is replaced by
// the number in its file name when it is read (and the difference reported),
// so progress always goes back to the file it came from.
//
// Items: a successful LoadSlot creates the saved items; the manager owns them
// until the player takes them with TakeItems. A save points `current.items`
// at the inventory's items only while it writes them.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gameplay/GameSave.h"
#include "gameplay/Item.h"
#include "shell/Levels.h"
#include "world/LevelSettings.h"

namespace mirefell
{

class GameSaveManager
{
public:
    static constexpr int32_t SlotCount = 5;

    // The singleton; the first call reads the slot list from "saves".
    static GameSaveManager& GetInstance();

    // A manager over `saveFolder` with a fresh current game and no slots
    // read yet (tests point it at a temporary folder).
    explicit GameSaveManager(std::string saveFolder = "saves");

    // The file of a slot: the save folder + "/save" + slot + ".mfv".
    std::string SlotPath(int32_t slot) const;

    // Rereads every slot file into `slots` (without their items); missing
    // and unreadable files leave their slot absent, the unreadable ones
    // listed in `unreadableSlots`. Each problem is reported once, however
    // often the list is read again, and a file whose bytes have not changed
    // since the last reading is not parsed again.
    void LoadSlotList();
    // Whether the last LoadSlotList found the slot's file but could not read it.
    bool IsSlotUnreadable(int32_t slot) const;
    // Whether some slot holds a game that has not ended in permadeath.
    bool HasContinuableSlot() const;
    // Loads the most recently saved continuable slot (the lower slot on equal
    // times) and requests the loading state. Returns false, requesting
    // nothing, when there is no such slot or it cannot be read.
    bool Continue();
    // A fresh game in `slot` (0 to 4); requests the loading state. The slot's
    // file is replaced at the first save, when the level starts; the game it
    // held is kept as a backup ("<file>.bak" unless that name holds
    // something else).
    void NewGame(int32_t slot, GameDifficulty difficulty, bool blackout, bool permadeath);
    // Reads the slot's file into `current`. The current game changes only
    // when the whole file read and validated; otherwise returns false. A game
    // loaded is its slot's: its saves keep no backup.
    bool LoadSlot(int32_t slot);
    void SetLevelName(std::string levelId);
    // After the level-complete screen: reloads the slot saved at completion,
    // then either ends the game through onGameFinished (the last level) or
    // unlocks and requests the next level with its banner. When the slot no
    // longer reads, the failure is reported and play returns to the title.
    void AdvanceToNextLevel();
    // Whether level `number` may be chosen in `slot`; only level 1 in a slot
    // with no save.
    bool IsLevelUnlocked(int32_t slot, int32_t number) const;
    // Stores the player's equipment and items in `current` and writes the
    // slot file. A file there that does not read as a save is kept aside
    // first. Returns false (reported) when the folder or file could not be
    // written or the old file not kept; the previous file is then intact.
    // Either way `current.items` is emptied afterwards: the items stay the
    // inventory's.
    bool Save(const GUID& equipped, std::vector<GUID> bound, std::vector<Item*> items);

    // The player's save step: credits the level time played since the last
    // credit to the current level's total, resets the record's health to
    // 100 and saves. `levelSeconds` is the whole seconds the level clock had
    // accumulated at its last pause; a second save of the same pause (death,
    // then "Save and exit") credits nothing more.
    bool SaveLevelProgress(uint32_t levelSeconds, const GUID& equipped, std::vector<GUID> bound,
                           std::vector<Item*> items);
    // What the current game gives the level being built: its Blackout
    // modifier, the random pickups already taken in the current level and
    // the loot seed.
    LevelSettings GetLevelSettings() const;
    // Hands the items of the last loaded slot to the player, who puts them
    // back at their cells; `current.items` is emptied.
    std::vector<std::unique_ptr<Item>> TakeItems();

    // The difficulty's name, then " Blackout", then " Permadead" or
    // " Permadeath". Throws "invalid map<K, T> key" for an unknown difficulty.
    static std::wstring GetDifficultyLabel(GameDifficulty difficulty, bool blackout, bool permadeath, bool permadead);
    // "Cheater" for a game in which a cheat was used, else its difficulty
    // label; without an argument, of the current game.
    static std::wstring GetModeLabel(const GameSave& save);
    std::wstring GetModeLabel() const;
    // "Level " + number + " - " + display name.
    static std::wstring GetLevelLabel(const LevelInfo& level);

    // The last failure reported, or empty.
    const std::string& GetLastError() const { return lastError; }
    // Causes of the game's own in the reports of a failed save, which the
    // user interface tells the player in their words: a slot file that is no
    // save could not be moved aside, and no backup name was left for the
    // game a new game replaces.
    static constexpr const char* NotASaveNotKept = "does not read as a save and could not be kept aside";
    static constexpr const char* NoBackupName = "every backup name holds a file that is no game";

    // Set by the user interface: back to the title. Until it is set,
    // finishing the last level requests the main menu itself.
    std::function<void()> onGameFinished;
    // Set by the user interface, which tells the player: called at the end
    // of every Save that failed, once GetLastError says why.
    std::function<void()> onSaveFailed;
    GameSave current;
    std::map<int, GameSave> slots;              // item lists always empty
    std::map<int, std::string> unreadableSlots; // slot -> what is wrong with its file

private:
    void Report(const std::string& message);
    // Reports unless the slot's last report said the same.
    void ReportOnce(int32_t slot, const std::string& message);
    // "save slot N (<file>)".
    std::string SlotName(int32_t slot) const;
    // The save read from slot `slot`'s file is that slot's.
    void TakeSlotFromFileName(GameSave& save, int32_t slot);
    // Keeps the slot's file before a save replaces it, where it must be
    // kept: a file that does not read as a save, and the game a new game
    // replaces. Returns why it could not be kept, or an empty string.
    std::string KeepSlotFileBeforeSave(int32_t slot);
    // Keeps the slot's game, `bytes`, at its first backup name that holds a
    // game or nothing.
    std::string KeepReplacedGame(int32_t slot, const std::string& bytes);
    void ReturnToTitle();

    // What the last LoadSlotList found in a slot's file: the save (without
    // items) or what is wrong with it, and the bytes' size and hash, so the
    // same bytes are not parsed twice.
    struct SlotFileReading
    {
        bool parsed = false; // false: the file itself could not be read
        uint64_t size = 0;
        size_t hash = 0;
        std::optional<GameSave> save;
        std::string problem;
    };

    std::string saveFolder;
    std::map<int32_t, SlotFileReading> slotFilesRead;
    std::vector<std::unique_ptr<Item>> loadedItems; // what current.items points at after a load
    uint32_t creditedSeconds = 0;                   // level time already added this level run
    bool replacingSlotGame = false;                 // a new game not yet saved over its slot's game
    std::string lastError;
    std::map<int32_t, std::string> saidOfSlot; // the last report about each slot
};

} // namespace mirefell
