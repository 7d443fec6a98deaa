// MapLoader: reads a level's map JSON into a MapData. The game loads
// "assets/maps/<name>.json" relative to its working folder; tests and tools
// load any path or parse text directly. Every failure throws GameError and
// no partial MapData escapes: what() is the game's literal message, the
// detail names the file (when one was read), the record and the key, and
// says what is wrong there; a malformed document or a value of the wrong JSON
// type keeps the JSON library's own words in the detail ("parse error at line
// 1, column 9: ...", "type must be boolean, but is number"). Nothing else is
// thrown for bad input.
#pragma once

#include <string>

#include "world/MapData.h"

namespace mirefell
{

class MapLoader
{
public:
    // The literal messages of the map loader.
    static constexpr const char* CantAccessFile = "can't access file";
    static constexpr const char* SectorLinksNotFound = "invalid map - sector links not found";
    static constexpr const char* NoLayerObjects = "invalid map - no layer objects";
    static constexpr const char* EntityTypeNotFound = "map entity type not found";
    static constexpr const char* MissingKey = "invalid map - missing key";
    static constexpr const char* NumberOutOfRange = "invalid map - number out of range";
    static constexpr const char* BadIndexList = "invalid map - bad index list";
    static constexpr const char* NotJson = "invalid map - not JSON";
    static constexpr const char* WrongType = "invalid map - wrong type";
    static constexpr const char* SectorNotFound = "invalid map - sector not found";
    static constexpr const char* TextureNotFound = "invalid map - texture not found";
    static constexpr const char* DoorKeyNotFound = "invalid map - door key not found";

    // "assets/maps/<name>.json": where the game keeps a level's map.
    static std::string MapPath(const std::string& name);
    // Loads the level's map from MapPath(name) and checks its references
    // (CheckReferences), so a level is never built on a link to nothing.
    static MapData LoadLevel(const std::string& name);
    // Throws "invalid map - sector not found" for a "sectorLinks" entry or a
    // wall's "sectorId" that names no sector of the map (a switch's or a
    // screen's is never read and may name none); "invalid map - texture not
    // found" for a texture a door or elevator is drawn with that is not one
    // of the game's textures (its cap, "ceilTexId" for a door and
    // "floorTexId" for an elevator, and its "sideTexId"; a plain coloured one
    // and the static floors, ceilings and walls are drawn without theirs).
    static void CheckReferences(const MapData& map);
    // Reads a map file whole and parses it; a path that is not a readable
    // regular file fails with "can't access file".
    static MapData LoadFromFile(std::string path);
    // Parses map JSON text. Needs the entity type table (MapEntityTypes)
    // filled. A door whose "key" is none of the game's (only doors read it)
    // is refused here, where the number is as the map writes it: "invalid
    // map - door key not found".
    static MapData Parse(const std::string& text);
};

} // namespace mirefell
