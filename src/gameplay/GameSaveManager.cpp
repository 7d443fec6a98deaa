#include "gameplay/GameSaveManager.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>

#include "gameplay/GameSaveFile.h"
#include "platform/GameError.h"
#include "shell/FileKeeping.h"
#include "shell/GameStateManager.h"
#include "shell/LevelBannerFlag.h"

namespace mirefell
{

namespace
{

// What keeps a file found at `path` from loading as a save; empty when it
// loads.
std::string WhyNoSave(const std::string& path, const PlayerFile& file)
{
    if (file.status != PlayerFile::Status::Read)
        return ArchiveError("can't access file", path + ": " + file.problem).Describe();
    try {
        ReadGameSave(path, file.bytes);
        return "";
    } catch (const ArchiveError& failure) {
        return failure.Describe();
    }
}

} // namespace

GameSaveManager& GameSaveManager::GetInstance()
{
    static GameSaveManager instance = [] {
        GameSaveManager manager;
        manager.LoadSlotList();
        return manager;
    }();
    return instance;
}

GameSaveManager::GameSaveManager(std::string saveFolder_) : saveFolder(std::move(saveFolder_)) {}

std::string GameSaveManager::SlotPath(int32_t slot) const
{
    return saveFolder + "/save" + std::to_string(slot) + ".mfv";
}

void GameSaveManager::Report(const std::string& message)
{
    lastError = message;
    std::fprintf(stderr, "mirefell: %s\n", message.c_str());
}

void GameSaveManager::ReportOnce(int32_t slot, const std::string& message)
{
    std::string& last = saidOfSlot[slot];
    if (last == message)
        return;
    last = message;
    Report(message);
}

std::string GameSaveManager::SlotName(int32_t slot) const
{
    return "save slot " + std::to_string(slot + 1) + " (" + SlotPath(slot) + ")";
}

void GameSaveManager::TakeSlotFromFileName(GameSave& save, int32_t slot)
{
    if (save.slot != slot)
        ReportOnce(slot, SlotName(slot) + " says it is slot " + std::to_string(save.slot + 1) + "; it stays slot " +
                             std::to_string(slot + 1) + ", where its file is");
    save.slot = slot;
}

void GameSaveManager::LoadSlotList()
{
    slots.clear();
    unreadableSlots.clear();
    for (int32_t slot = 0; slot < SlotCount; ++slot) {
        const std::string path = SlotPath(slot);
        const PlayerFile file = ReadPlayerFile(path, LargestGameSaveFile);
        if (file.status == PlayerFile::Status::Missing) {
            slotFilesRead.erase(slot);
            continue;
        }
        // The title asks for the list at the service's first use and again
        // when its menu is built: a file with the same bytes as at the last
        // reading is not parsed again (a large save takes a while).
        SlotFileReading reading;
        if (file.status == PlayerFile::Status::Unreadable) {
            reading.problem = ArchiveError("can't access file", path + ": " + file.problem).Describe();
        } else {
            reading.size = file.bytes.size();
            reading.hash = std::hash<std::string_view>()(file.bytes);
            reading.parsed = true;
            const auto seen = slotFilesRead.find(slot);
            if (seen != slotFilesRead.end() && seen->second.parsed && seen->second.size == reading.size &&
                seen->second.hash == reading.hash) {
                reading = seen->second;
            } else {
                try {
                    LoadedGameSave loaded = ReadGameSave(path, file.bytes);
                    loaded.save.items.clear(); // the items themselves go with `loaded`
                    TakeSlotFromFileName(loaded.save, slot);
                    reading.save = std::move(loaded.save);
                } catch (const ArchiveError& failure) {
                    reading.problem = failure.Describe();
                }
            }
        }
        if (reading.save) {
            slots.emplace(slot, *reading.save);
        } else {
            unreadableSlots.emplace(slot, reading.problem);
            // The title is rebuilt often; one line per file and problem.
            ReportOnce(slot, "save slot " + std::to_string(slot + 1) +
                                 " is unreadable; it is kept as it is and shown as such: " + reading.problem);
        }
        slotFilesRead[slot] = std::move(reading);
    }
}

bool GameSaveManager::IsSlotUnreadable(int32_t slot) const
{
    return unreadableSlots.contains(slot);
}

bool GameSaveManager::HasContinuableSlot() const
{
    return std::any_of(slots.begin(), slots.end(),
                       [](const auto& entry) { return !(entry.second.permadeath && entry.second.permadead); });
}

bool GameSaveManager::Continue()
{
    int64_t best = std::numeric_limits<int64_t>::min();
    int32_t bestSlot = -1;
    for (int32_t slot = 0; slot < SlotCount; ++slot) {
        const auto found = slots.find(slot);
        if (found == slots.end())
            continue;
        const GameSave& save = found->second;
        // Strictly later only: on equal times the lower slot stays chosen.
        if (save.saveTime <= best || (save.permadeath && save.permadead))
            continue;
        best = save.saveTime;
        bestSlot = slot;
    }
    if (bestSlot < 0 || !LoadSlot(bestSlot))
        return false;
    GameStateManager::GetInstance().Request(GameState::Loading);
    return true;
}

void GameSaveManager::NewGame(int32_t slot, GameDifficulty difficulty, bool blackout, bool permadeath)
{
    assert(slot >= 0 && slot < SlotCount && "save slots are 0 to 4");
    current = GameSave();
    loadedItems.clear();
    creditedSeconds = 0;
    current.freshGame = true;
    current.slot = slot;
    current.difficulty = difficulty;
    current.blackout = blackout;
    current.permadeath = permadeath;
    current.permadead = false;
    replacingSlotGame = true;
    GameStateManager::GetInstance().Request(GameState::Loading);
}

bool GameSaveManager::LoadSlot(int32_t slot)
{
    creditedSeconds = 0;
    if (slot < 0 || slot >= SlotCount)
        return false;
    try {
        std::optional<LoadedGameSave> loaded = ReadGameSaveFileIfAny(SlotPath(slot));
        if (!loaded)
            return false;
        TakeSlotFromFileName(loaded->save, slot);
        current = std::move(loaded->save);
        loadedItems = std::move(loaded->items);
        replacingSlotGame = false;
        return true;
    } catch (const ArchiveError& failure) {
        Report("could not load save slot " + std::to_string(slot + 1) + ": " + failure.Describe());
        return false;
    }
}

void GameSaveManager::SetLevelName(std::string levelId)
{
    current.levelId = std::move(levelId);
}

void GameSaveManager::ReturnToTitle()
{
    if (onGameFinished)
        onGameFinished();
    else
        GameStateManager::GetInstance().Request(GameState::MainMenu);
}

void GameSaveManager::AdvanceToNextLevel()
{
    const LevelInfo info = Levels::GetLevel(current.levelId);
    if (!LoadSlot(current.slot)) {
        // Going on without the saved items would overwrite the slot with an
        // empty inventory at the next level's first save.
        Report("could not continue: the game saved at the end of the level does not read back");
        ReturnToTitle();
        return;
    }
    if (info.nextId.empty()) {
        ReturnToTitle(); // the last level: the end-of-game action, or the title
        return;
    }
    current.highestLevel = std::max(current.highestLevel, static_cast<int32_t>(info.number) + 1);
    current.levelId = info.nextId;
    showLevelBanner = true;
    GameStateManager::GetInstance().Request(GameState::Loading);
}

bool GameSaveManager::IsLevelUnlocked(int32_t slot, int32_t number) const
{
    const auto found = slots.find(slot);
    const int32_t highest = found == slots.end() ? GameSave().highestLevel : found->second.highestLevel;
    return number <= highest;
}

bool GameSaveManager::Save(const GUID& equipped, std::vector<GUID> bound, std::vector<Item*> items)
{
    current.equippedItem = equipped;
    current.boundItems = std::move(bound);
    current.items = std::move(items);
    current.freshGame = false;
    current.saveTime =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();

    bool written = false;
    std::error_code error;
    std::filesystem::create_directories(saveFolder, error);
    if (error) {
        Report("could not create the folder \"" + saveFolder + "\"; the game was not saved: " + error.message());
    } else if (const std::string notKept = KeepSlotFileBeforeSave(current.slot); !notKept.empty()) {
        Report("the game was not saved: " + notKept);
    } else {
        try {
            WriteGameSaveFile(SlotPath(current.slot), current);
            written = true;
            replacingSlotGame = false;
        } catch (const ArchiveError& failure) {
            Report("the game was not saved: " + failure.Describe());
        }
    }
    // The items belong to the inventory; a pointer kept here would dangle
    // once the player is gone.
    current.items.clear();
    if (!written && onSaveFailed)
        onSaveFailed();
    return written;
}

std::string GameSaveManager::KeepSlotFileBeforeSave(int32_t slot)
{
    const std::string path = SlotPath(slot);
    const PlayerFile file = ReadPlayerFile(path, LargestGameSaveFile);
    if (file.status == PlayerFile::Status::Missing)
        return "";
    if (const std::string problem = WhyNoSave(path, file); !problem.empty()) {
        const std::string backup = KeepBackupCopy(path, LargestGameSaveFile);
        if (backup.empty())
            return SlotName(slot) + " holds something that " + NotASaveNotKept;
        Report(SlotName(slot) + " held something that does not read as a save (" + problem + "); it is kept as " +
               backup);
        return "";
    }
    if (!replacingSlotGame)
        return ""; // the slot holds this game: the save goes on from it
    return KeepReplacedGame(slot, file.bytes);
}

std::string GameSaveManager::KeepReplacedGame(int32_t slot, const std::string& bytes)
{
    // The backups are the game's own files: only a game kept there before is
    // written over, and never through a link. Anything else at a backup's
    // name (a file that did not read as a save, kept aside; a link or a file
    // of the player's) stays as it is, and the game goes to the first name
    // that holds a game or nothing, so such a file costs one name in all.
    const std::string path = SlotPath(slot);
    for (int number = 1; number <= MaxBackups; ++number) {
        const std::string backup = BackupName(path, number);
        const PlayerFile there = ReadPlayerFile(backup, LargestGameSaveFile, Links::Refused);
        if (there.status != PlayerFile::Status::Missing && !WhyNoSave(backup, there).empty())
            continue;
        try {
            // On the device before the new save replaces the game.
            ReplaceFileContents(backup, bytes, Links::Refused);
            return "";
        } catch (const GameError& failure) {
            return "the game in " + SlotName(slot) + " could not be kept as " + backup + ": " + failure.Describe();
        }
    }
    return "the game in " + SlotName(slot) + " was not kept: " + NoBackupName + ", from " + BackupName(path, 1) +
           " to " + BackupName(path, MaxBackups);
}

bool GameSaveManager::SaveLevelProgress(uint32_t levelSeconds, const GUID& equipped, std::vector<GUID> bound,
                                        std::vector<Item*> items)
{
    // A clock that reads less than what was credited has been restarted: a
    // new attempt at the level.
    if (levelSeconds < creditedSeconds)
        creditedSeconds = 0;
    current.levels[current.levelId].totalTime += levelSeconds - creditedSeconds;
    creditedSeconds = levelSeconds;
    current.health = 100.0f;
    return Save(equipped, std::move(bound), std::move(items));
}

std::vector<std::unique_ptr<Item>> GameSaveManager::TakeItems()
{
    current.items.clear();
    std::vector<std::unique_ptr<Item>> taken = std::move(loadedItems);
    loadedItems.clear();
    return taken;
}

std::wstring GameSaveManager::GetDifficultyLabel(GameDifficulty difficulty, bool blackout, bool permadeath,
                                                 bool permadead)
{
    std::wstring label = GetDifficultyName(difficulty);
    if (blackout)
        label += L" Blackout";
    if (permadeath)
        label += permadead ? L" Permadead" : L" Permadeath";
    return label;
}

std::wstring GameSaveManager::GetModeLabel(const GameSave& save)
{
    if (save.cheater)
        return L"Cheater";
    return GetDifficultyLabel(save.difficulty, save.blackout, save.permadeath, save.permadead);
}

LevelSettings GameSaveManager::GetLevelSettings() const
{
    LevelSettings settings;
    settings.blackout = current.blackout;
    settings.lootSeed = current.lootSeed;
    const auto level = current.levels.find(current.levelId);
    if (level != current.levels.end())
        for (const auto& entry : level->second.pickedUpItemIds)
            settings.takenPickupIds.insert(entry.first);
    return settings;
}

std::wstring GameSaveManager::GetModeLabel() const
{
    return GetModeLabel(current);
}

std::wstring GameSaveManager::GetLevelLabel(const LevelInfo& level)
{
    return L"Level " + std::to_wstring(level.number) + L" - " + level.displayName;
}

} // namespace mirefell
