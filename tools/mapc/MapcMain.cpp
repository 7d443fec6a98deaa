// mirefell_mapc: compiles a level source into the map JSON the game reads,
// checks that a committed map is what its source compiles to, draws a map's
// top-down picture, or writes the level's authored route as a route file
// (the developer's autopilot plays one: app/Autopilot.h).
//
//   mirefell_mapc <source.lvl> <map.json>
//   mirefell_mapc --verify <source.lvl> <map.json>
//   mirefell_mapc --picture <source.lvl> <map.json> <picture.png>
//   mirefell_mapc --route <source.lvl> <route.json>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "LevelSource.h"
#include "MapCompiler.h"
#include "MapPicture.h"
#include "platform/GameError.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

using namespace mirefell;
using namespace mirefell::maptool;

namespace
{

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SourceError(path + ": cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    const std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path());
    std::ofstream file(target, std::ios::binary | std::ios::trunc);
    file << bytes;
    if (!file)
        throw SourceError(path + ": cannot be written");
}

int Usage()
{
    std::fprintf(stderr, "usage: mirefell_mapc <source.lvl> <map.json>\n"
                         "       mirefell_mapc --verify <source.lvl> <map.json>\n"
                         "       mirefell_mapc --picture <source.lvl> <map.json> <picture.png>\n"
                         "       mirefell_mapc --route <source.lvl> <route.json>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        MapEntityTypes::Initialize();
        const std::string first = argc > 1 ? argv[1] : "";
        if (first == "--verify" && argc == 4) {
            const LevelSource source = LevelSource::Load(argv[2]);
            if (MapCompiler::CompileToJson(source) != ReadFile(argv[3])) {
                std::fprintf(stderr, "%s is not what %s compiles to: run mirefell_mapc %s %s and commit both\n",
                             argv[3], argv[2], argv[2], argv[3]);
                return 1;
            }
            return 0;
        }
        if (first == "--picture" && argc == 5) {
            const LevelSource source = LevelSource::Load(argv[2]);
            const MapData map = MapLoader::LoadFromFile(argv[3]);
            const std::vector<uint8_t> png = EncodePng(MapPicture::Draw(map, source.route));
            WriteFile(argv[4], std::string(png.begin(), png.end()));
            return 0;
        }
        if (first == "--route" && argc == 4) {
            const LevelSource source = LevelSource::Load(argv[2]);
            WriteFile(argv[3], Route{source.name, source.route}.ToJson());
            return 0;
        }
        if (argc == 3 && first.rfind("--", 0) != 0) {
            WriteFile(argv[2], MapCompiler::CompileToJson(LevelSource::Load(argv[1])));
            return 0;
        }
        return Usage();
    } catch (const GameError& error) {
        std::fprintf(stderr, "mirefell_mapc: %s\n", error.Describe().c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "mirefell_mapc: %s\n", error.what());
    }
    return 1;
}
