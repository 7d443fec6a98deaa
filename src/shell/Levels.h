// The level table: the three levels in the order they are played, with their
// display names, numbers and music tracks. Built once, on first use, and read
// by the save-game service (next level, unlocking), the sound manager (music)
// and the level banner, automap and level-select page (labels).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mirefell
{

struct LevelInfo
{
    std::string id; // map base name: "assets/maps/" + id + ".json"
    std::wstring displayName;
    std::string nextId;     // empty for the last level
    uint32_t number = 0;    // 1-based position in the game
    std::string musicTrack; // a sound-table name
};

class Levels
{
public:
    // The level of that id; throws "invalid map<K, T> key" for an unknown id.
    static const LevelInfo& GetLevel(const std::string& id);
    // Every level in playing order.
    static const std::vector<LevelInfo>& GetAll();
    // Whether an id names a level.
    static bool Exists(const std::string& id);

private:
    static void Build();
    static std::map<std::string, LevelInfo>& ById();
    static std::vector<LevelInfo>& Ordered();
};

} // namespace mirefell
