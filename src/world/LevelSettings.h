// LevelSettings: what a level takes from the game in progress when it is
// built. The world knows nothing of save games: whoever builds a level hands
// these to World::Create (the gameplay makes them from the current save,
// GameSaveManager::GetLevelSettings), and the World keeps its copy for the
// level's life.
#pragma once

#include <cstdint>
#include <set>

namespace mirefell
{

struct LevelSettings
{
    // The Blackout modifier: the level has no map lights, and the level
    // scripts' light switches change nothing.
    bool blackout = false;
    // Map-entity ids of the random ("powerup") pickups this game has already
    // taken in this level; the level build leaves them out.
    std::set<uint32_t> takenPickupIds;
    // The game's loot seed: the same game draws the same loot in every build
    // of a level.
    uint32_t lootSeed = 0;
};

} // namespace mirefell
