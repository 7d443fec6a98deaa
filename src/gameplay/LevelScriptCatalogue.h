// LevelScriptCatalogue: the shipped levels' scripts, by level name, with what
// each expects of its map. The world makes a level's script through
// MapScript's registry, which knows nothing of gameplay until RegisterAll has
// put the catalogue's makers there (the game does so once at start-up; tests
// and tools that build scripted levels do it themselves).
#pragma once

#include <map>
#include <string>

#include "gameplay/LevelScriptNeeds.h"
#include "world/MapScript.h"

namespace mirefell
{

class LevelScriptCatalogue
{
public:
    struct Entry
    {
        MapScript::Maker make = nullptr;
        const LevelScriptNeeds* needs = nullptr;
    };

    // Level name to its script.
    static const std::map<std::string, Entry>& Entries();
    // The entry of a level, or null when the level has no script.
    static const Entry* Find(const std::string& levelName);
    // Registers every entry's maker with MapScript. Calling it again changes
    // nothing.
    static void RegisterAll();
};

} // namespace mirefell
