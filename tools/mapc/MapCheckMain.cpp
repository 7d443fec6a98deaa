// mirefell_mapcheck: the level checker over a shipped map.
//
//   mirefell_mapcheck <source.lvl> <map.json>
//
// Loads the map with the game's own loader, checks it (MapChecker) with the
// author's notes from its source, prints every problem and fails when there
// is one. Run it from the game's run folder: the level build reads the
// entity meshes from "assets/meshes/".
#include <cstdio>

#include "LevelSource.h"
#include "MapChecker.h"
#include "gameplay/LevelScriptCatalogue.h"
#include "platform/GameError.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

using namespace mirefell;
using namespace mirefell::maptool;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: mirefell_mapcheck <source.lvl> <map.json>\n");
        return 2;
    }
    try {
        MapEntityTypes::Initialize();
        const LevelSource source = LevelSource::Load(argv[1]);
        const MapData map = MapLoader::LoadFromFile(argv[2]);
        const std::vector<std::string> problems =
            MapChecker::Check(map, CheckNotes::From(source), LevelScriptCatalogue::Find(map.name));
        for (const std::string& problem : problems)
            std::fprintf(stderr, "%s: %s\n", argv[2], problem.c_str());
        if (problems.empty())
            std::printf("%s: %s passes the level checks\n", argv[2], map.name.c_str());
        return problems.empty() ? 0 : 1;
    } catch (const GameError& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.Describe().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[2], error.what());
    }
    return 1;
}
