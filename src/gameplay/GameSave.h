// GameSave: the record of one game in progress (difficulty, modifiers, the
// level being played and the highest reached, the player's items, health and
// armour, the loot seed and one record per visited level). The save-game
// service holds the current one; it is also the root object of every save
// file (see GameSaveFile.h for the bytes).
//
// Ownership of `items`: the record never owns the items it points to. While a
// level runs they belong to the player's inventory, and the save-game service
// empties the list right after writing it so no pointer outlives its item.
// Items created by reading a file belong to the reader's caller until the
// player takes them over (GameSaveManager::TakeItems).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/Guid.h"

namespace mirefell
{

class Item;

enum class GameDifficulty : int32_t
{
    Easy = 1,
    Normal = 2,
    Hard = 3,
    VeryHard = 4,
    Masochistic = 5,
};

// "Easy", "Normal", "Hard", "Very Hard" or "Masochistic"; any other value
// throws "invalid map<K, T> key".
const std::wstring& GetDifficultyName(GameDifficulty difficulty);
// 0.75, 1.0, 1.25, 1.5 or 3.0; any other value throws "invalid map<K, T> key".
float GetDifficultyScoreFactor(GameDifficulty difficulty);
bool IsValidDifficulty(GameDifficulty difficulty);

// What the game remembers of one level it has entered.
struct GameSaveLevelData
{
    uint32_t itemCount = 0;                       // "powerup" entities in the level's map
    std::map<unsigned int, bool> pickedUpItemIds; // map-entity ids of item pickups taken
    int32_t bestTime = -1;                        // whole seconds; -1 when never finished
    uint32_t totalTime = 0;                       // whole seconds played, over every attempt

    bool operator==(const GameSaveLevelData&) const = default;
};

class GameSave
{
public:
    // A new game on level 1 with full health, no armour and a loot seed from
    // the calendar clock. Slot, difficulty, blackout, equipped item and save
    // time are zero until a new game or a loaded file sets them.
    GameSave();

    // The game's score: picked-up items and best times under three minutes,
    // scaled by the difficulty and the modifiers. Throws "invalid map<K, T>
    // key" for a difficulty outside 1 to 5.
    int32_t GetScore() const;

    GUID equippedItem;            // empty when nothing is equipped
    std::vector<GUID> boundItems; // the active artifacts
    std::vector<Item*> items;     // not owned; see above
    bool freshGame = false;       // set by a new game, cleared by every save
    int32_t slot = 0;             // 0 to 4
    GameDifficulty difficulty{};  // 1 to 5 once a game is set up
    bool blackout = false;
    bool permadeath = false;
    bool permadead = false; // a permadeath game that ended in death
    bool cheater = false;   // a cheat code was used
    float health = 100.0f;
    float armor = 0.0f;
    int64_t saveTime = 0; // seconds since 1970-01-01 UTC
    uint32_t lootSeed = 0;
    std::string levelId = "pentagram";
    std::map<std::string, GameSaveLevelData> levels;
    int32_t highestLevel = 1; // levels numbered up to this are unlocked
};

} // namespace mirefell
