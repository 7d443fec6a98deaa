// LevelScriptCatalogue: the table of shipped level scripts.
#include "gameplay/LevelScriptCatalogue.h"

#include "gameplay/Script_Descent.h"
#include "gameplay/Script_Mouth.h"
#include "gameplay/Script_Pentagram.h"

namespace mirefell
{

const std::map<std::string, LevelScriptCatalogue::Entry>& LevelScriptCatalogue::Entries()
{
    static const std::map<std::string, Entry> entries = {
        {"pentagram", {Script_Pentagram::Make, &Script_Pentagram::Needs()}},
        {"descent", {Script_Descent::Make, &Script_Descent::Needs()}},
        {"mouth", {Script_Mouth::Make, &Script_Mouth::Needs()}},
    };
    return entries;
}

const LevelScriptCatalogue::Entry* LevelScriptCatalogue::Find(const std::string& levelName)
{
    const auto found = Entries().find(levelName);
    return found == Entries().end() ? nullptr : &found->second;
}

void LevelScriptCatalogue::RegisterAll()
{
    for (const auto& [name, entry] : Entries())
        MapScript::Register(name, entry.make);
}

} // namespace mirefell
