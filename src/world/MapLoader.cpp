// Map JSON to MapData. Records are read key by key in file-format order with
// explicit look-ups (a missing key is never default-constructed by the JSON
// library) and explicit type checks, so every failure is one of our "invalid
// map - ..." messages naming the record and key; 32-bit integers are
// range-checked (a colour may also be written as its signed 32 bits), the
// 16-bit indices and the 8-bit key keep their low bits, and every index list
// is checked against the list it indexes, so the level builders can trust
// the result.
#include "world/MapLoader.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <set>

#include <nlohmann/json.hpp>

#include "platform/GameError.h"
#include "platform/PrintableText.h"
#include "render/TextureTable.h"
#include "world/MapLimits.h"

namespace mirefell
{

namespace
{

using Json = nlohmann::json;

// Where a value was read, for error details: the top level or one record.
struct Where
{
    const char* layer = nullptr; // null: the document's top level
    size_t index = 0;
    std::optional<int32_t> id; // known once the record's "id" is read

    // The record and key; `key` null names the record (or the document).
    std::string Describe(const char* key) const
    {
        std::string text;
        if (layer) {
            text = "layer \"" + std::string(layer) + "\" record " + std::to_string(index);
            if (id)
                text += " (id " + std::to_string(*id) + ")";
            if (key)
                text += ", ";
        } else if (!key) {
            text = "the document";
        }
        return key ? text + "key \"" + key + "\"" : text;
    }
};

[[noreturn]] void Fail(const char* message, const Where& where, const char* key, const std::string& what = {})
{
    std::string detail = where.Describe(key);
    if (!what.empty())
        detail += ": " + what;
    throw GameError(message, detail);
}

// A value of another JSON type than the format asks for, in the JSON
// library's words.
[[noreturn]] void WrongType(const Json& value, const char* expected, const Where& where, const char* key)
{
    Fail(MapLoader::WrongType, where, key, std::string("type must be ") + expected + ", but is " + value.type_name());
}

void RequireObject(const Json& value, const Where& where, const char* key)
{
    if (!value.is_object())
        WrongType(value, "object", where, key);
}

const Json& Required(const Json& record, const char* key, const Where& where)
{
    RequireObject(record, where, nullptr);
    const auto found = record.find(key);
    if (found == record.end())
        Fail(MapLoader::MissingKey, where, key);
    return *found;
}

const Json* Optional(const Json& record, const Where& where, const char* key)
{
    RequireObject(record, where, nullptr);
    const auto found = record.find(key);
    return found == record.end() ? nullptr : &*found;
}

// A JSON number as an integer of type T: a fraction is truncated toward
// zero; a value outside T's range is refused, never wrapped.
template <class T> T ToInteger(const Json& value, const Where& where, const char* key)
{
    using Limits = std::numeric_limits<T>;
    if (value.is_number_unsigned()) {
        const auto n = value.get<uint64_t>();
        if (n <= static_cast<uint64_t>(Limits::max()))
            return static_cast<T>(n);
    } else if (value.is_number_integer()) {
        const auto n = value.get<int64_t>();
        if (n >= static_cast<int64_t>(Limits::min()) && n <= static_cast<int64_t>(Limits::max()))
            return static_cast<T>(n);
    } else if (value.is_number_float()) {
        const double n = std::trunc(value.get<double>());
        if (n >= static_cast<double>(Limits::min()) && n <= static_cast<double>(Limits::max()))
            return static_cast<T>(n);
    } else {
        WrongType(value, "number", where, key);
    }
    Fail(MapLoader::NumberOutOfRange, where, key, value.dump());
}

// A JSON number as an integer kept in the low bits of the narrow type T (a
// fraction is truncated toward zero): 65537 is 1 as a u16, 258 is 2 as a u8.
// Only a number no 64-bit integer holds is refused.
template <class T> T ToWrapped(const Json& value, const Where& where, const char* key)
{
    if (value.is_number_unsigned())
        return static_cast<T>(value.get<uint64_t>());
    if (value.is_number_integer())
        return static_cast<T>(static_cast<uint64_t>(value.get<int64_t>()));
    if (!value.is_number_float())
        WrongType(value, "number", where, key);
    const double n = std::trunc(value.get<double>());
    // 2^63 is exact as a double; every double below it converts.
    if (n >= -9223372036854775808.0 && n < 9223372036854775808.0)
        return static_cast<T>(static_cast<uint64_t>(static_cast<int64_t>(n)));
    Fail(MapLoader::NumberOutOfRange, where, key, value.dump());
}

float ToFloat(const Json& value, const Where& where, const char* key)
{
    if (!value.is_number())
        WrongType(value, "number", where, key);
    const auto n = static_cast<float>(value.get<double>());
    if (!std::isfinite(n))
        Fail(MapLoader::NumberOutOfRange, where, key, value.dump());
    return n;
}

const Json& RequireArray(const Json& value, const Where& where, const char* key)
{
    if (!value.is_array())
        WrongType(value, "array", where, key);
    return value;
}

int32_t ReadInt(const Json& record, const char* key, const Where& where)
{
    return ToInteger<int32_t>(Required(record, key, where), where, key);
}

float ReadFloat(const Json& record, const char* key, const Where& where)
{
    return ToFloat(Required(record, key, where), where, key);
}

// A JSON true or false; a number is refused.
bool ToBool(const Json& value, const Where& where, const char* key)
{
    if (!value.is_boolean())
        WrongType(value, "boolean", where, key);
    return value.get<bool>();
}

bool ReadBool(const Json& record, const char* key, const Where& where)
{
    return ToBool(Required(record, key, where), where, key);
}

std::string ReadString(const Json& record, const char* key, const Where& where)
{
    const Json& value = Required(record, key, where);
    if (!value.is_string())
        WrongType(value, "string", where, key);
    return value.get<std::string>();
}

// A packed colour: a number read as an unsigned 32-bit integer. A negative
// number is the same 32 bits written as a signed integer (-1 is 0xFFFFFFFF),
// so it is taken as its unsigned value; a number that fits neither form is
// refused.
uint32_t ToColour(const Json& value, const Where& where, const char* key)
{
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        const auto n = value.get<int64_t>();
        if (n < 0 && n >= static_cast<int64_t>(std::numeric_limits<int32_t>::min()))
            return static_cast<uint32_t>(n); // two's complement: n + 2^32
    } else if (value.is_number_float() && std::trunc(value.get<double>()) < 0.0) {
        return static_cast<uint32_t>(ToInteger<int32_t>(value, where, key));
    }
    return ToInteger<uint32_t>(value, where, key);
}

uint32_t ReadColour(const Json& record, const char* key, const Where& where)
{
    return ToColour(Required(record, key, where), where, key);
}

Vector2 ToVector2(const Json& value, const Where& where, const char* key)
{
    RequireObject(value, where, key);
    return {ToFloat(Required(value, "x", where), where, key), ToFloat(Required(value, "y", where), where, key)};
}

Vector2 ReadVector2(const Json& record, const char* key, const Where& where)
{
    return ToVector2(Required(record, key, where), where, key);
}

std::vector<Vector2> ToVector2List(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value, where, key);
    std::vector<Vector2> points;
    points.reserve(list.size());
    for (const Json& element : list)
        points.push_back(ToVector2(element, where, key));
    return points;
}

std::vector<Vector3> ToVector3List(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value, where, key);
    std::vector<Vector3> points;
    points.reserve(list.size());
    for (const Json& element : list) {
        RequireObject(element, where, key);
        points.push_back({ToFloat(Required(element, "x", where), where, key),
                          ToFloat(Required(element, "y", where), where, key),
                          ToFloat(Required(element, "z", where), where, key)});
    }
    return points;
}

std::vector<uint16_t> ToIndexList(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value, where, key);
    std::vector<uint16_t> indices;
    indices.reserve(list.size());
    for (const Json& element : list)
        indices.push_back(ToWrapped<uint16_t>(element, where, key));
    return indices;
}

// An index list must hold whole triangles, each index naming an element of
// the list it indexes.
void CheckTriangles(const std::vector<uint16_t>& indices, size_t vertexCount, const char* vertexKey, const Where& where,
                    const char* key)
{
    if (indices.size() % 3 != 0)
        Fail(MapLoader::BadIndexList, where, key,
             std::to_string(indices.size()) + " indices do not make whole triangles");
    for (size_t i = 0; i < indices.size(); ++i)
        if (indices[i] >= vertexCount)
            Fail(MapLoader::BadIndexList, where, key,
                 "index " + std::to_string(indices[i]) + " at position " + std::to_string(i) + " is past the " +
                     std::to_string(vertexCount) + " entries of \"" + vertexKey + "\"");
}

MapSegment ReadSegment(const Json& record, Where where)
{
    MapSegment segment;
    segment.id = ReadInt(record, "id", where);
    where.id = segment.id;
    segment.start = ReadVector2(record, "start", where);
    segment.end = ReadVector2(record, "end", where);
    segment.type = ReadInt(record, "type", where);
    segment.bottomY = ReadFloat(record, "bottomY", where);
    segment.topY = ReadFloat(record, "topY", where);
    if (const Json* value = Optional(record, where, "sectorId"))
        segment.sectorId = ToInteger<int32_t>(*value, where, "sectorId");
    segment.texId = ReadString(record, "texId", where);
    if (const Json* value = Optional(record, where, "indices"))
        segment.indices = ToIndexList(*value, where, "indices");
    if (const Json* value = Optional(record, where, "vertices"))
        segment.vertices = ToVector3List(*value, where, "vertices");
    // Only ever compared with the triangles' indices (the wall build), so any
    // value is safe: one that names no corner splits nothing.
    if (const Json* value = Optional(record, where, "bottomRightIndex"))
        segment.bottomRightIndex = ToInteger<int32_t>(*value, where, "bottomRightIndex");
    if (const Json* value = Optional(record, where, "lightColor"))
        segment.lightColor = ToColour(*value, where, "lightColor");

    CheckTriangles(segment.indices, segment.vertices.size(), "vertices", where, "indices");
    return segment;
}

MapSector ReadSector(const Json& record, Where where)
{
    MapSector sector;
    sector.id = ReadInt(record, "id", where);
    where.id = sector.id;
    sector.vertices = ToVector2List(Required(record, "vertices", where), where, "vertices");
    sector.indices = ToIndexList(Required(record, "indices", where), where, "indices");
    sector.floorBottomY = ReadFloat(record, "floorBottomY", where);
    sector.floorTopY = ReadFloat(record, "floorTopY", where);
    sector.ceilBottomY = ReadFloat(record, "ceilBottomY", where);
    sector.ceilTopY = ReadFloat(record, "ceilTopY", where);
    sector.ceiling = ReadBool(record, "ceiling", where);
    sector.door = ReadBool(record, "door", where);
    sector.doorMaxHeight = ReadFloat(record, "doorMaxHeight", where);
    sector.elevator = ReadBool(record, "elevator", where);
    sector.elevatorMaxHeight = ReadFloat(record, "elevatorMaxHeight", where);
    sector.floorTexId = ReadString(record, "floorTexId", where);
    sector.ceilTexId = ReadString(record, "ceilTexId", where);
    sector.sideTexId = ReadString(record, "sideTexId", where);
    sector.lightLevel = ReadInt(record, "lightLevel", where);
    sector.lightColor = ReadColour(record, "lightColor", where);
    sector.collisionVertices = ToVector2List(Required(record, "collisionVertices", where), where, "collisionVertices");
    sector.collisionIndices = ToIndexList(Required(record, "collisionIndices", where), where, "collisionIndices");
    sector.useVertexColors = ReadBool(record, "useVertexColors", where);
    sector.ceilingCatColor = ReadColour(record, "ceilingCatColor", where);
    sector.teleportInID = ReadInt(record, "teleportInID", where);
    sector.teleportOutID = ReadInt(record, "teleportOutID", where);
    if (const Json* value = Optional(record, where, "key")) {
        sector.key = ToWrapped<uint8_t>(*value, where, "key");
        // Only a door reads its key; the refusal quotes the number as the map
        // writes it (-1 is kept as the byte 255).
        if (sector.door && sector.key != SectorKeyNone && sector.key != SectorKeyRed && sector.key != SectorKeyBlue)
            Fail(MapLoader::DoorKeyNotFound, where, "key",
                 "no key has number " + value->dump() + " (0 is none, 1 the red key, 2 the blue key)");
    }

    CheckTriangles(sector.indices, sector.vertices.size(), "vertices", where, "indices");
    CheckTriangles(sector.collisionIndices, sector.collisionVertices.size(), "collisionVertices", where,
                   "collisionIndices");
    return sector;
}

MapEntity ReadEntity(const Json& record, Where where)
{
    MapEntity entity;
    entity.id = ReadInt(record, "id", where);
    where.id = entity.id;
    entity.pos = ReadVector2(record, "pos", where);
    const std::string code = ReadString(record, "type", where);
    const MapEntityType* type = MapEntityTypes::Find(code);
    if (!type)
        throw GameError(MapLoader::EntityTypeNotFound, where.Describe("type") + ": \"" + PrintableText(code) + "\"");
    entity.entityType = *type;
    entity.y = ReadFloat(record, "y", where);
    if (const Json* value = Optional(record, where, "isStatic"))
        entity.isStatic = ToBool(*value, where, "isStatic");
    entity.rotation = ReadFloat(record, "rotation", where);
    if (const Json* value = Optional(record, where, "lootTableId"))
        entity.lootTableId = ToInteger<int32_t>(*value, where, "lootTableId");
    return entity;
}

MapArea ReadArea(const Json& record, Where where)
{
    MapArea area;
    area.name = ReadString(record, "name", where);
    area.id = ReadInt(record, "id", where);
    where.id = area.id;
    area.start = ReadVector2(record, "start", where);
    area.end = ReadVector2(record, "end", where);
    return area;
}

MapLight ReadLight(const Json& record, Where where)
{
    MapLight light;
    light.id = ReadInt(record, "id", where);
    where.id = light.id;
    light.yOffset = ReadFloat(record, "yOffset", where);
    light.pos = ReadVector2(record, "pos", where);
    light.lightColor = ReadColour(record, "lightColor", where);
    return light;
}

// A layer is normally an array of records; an object's member values are
// taken as records in key order; absent or null is an empty layer.
template <class Record, class Reader>
void ReadLayer(const Json& layers, const char* key, std::vector<Record>& out, Reader read)
{
    const auto found = layers.find(key);
    if (found == layers.end() || found->is_null())
        return;
    const Json& layer = *found;
    if (!layer.is_array() && !layer.is_object())
        Fail(MapLoader::WrongType, Where{}, "layerObjects",
             "member \"" + std::string(key) + "\": type must be array, but is " + layer.type_name());
    out.reserve(layer.size());
    size_t index = 0;
    for (const Json& record : layer) // iterates an object's values in key order
        out.push_back(read(record, Where{key, index++, std::nullopt}));
}

// The JSON library's message without its bracketed code: "parse error at
// line 1, column 9: syntax error ...". It quotes the text it last read
// as the file has it, so bytes that are no UTF-8 come out escaped.
std::string JsonProblem(const Json::exception& error)
{
    const std::string what = error.what();
    const size_t close = what.find("] ");
    return PrintableText(close == std::string::npos ? what : what.substr(close + 2));
}

// Whether the game has a texture of that name (its texture registry holds
// exactly the table's).
bool IsGameTexture(const std::string& name)
{
    for (const TextureTableRow& row : GetTextureTable())
        if (name == row.name)
            return true;
    return false;
}

// The same error with the file in front of its detail.
GameError InFile(const std::string& path, const GameError& error)
{
    return GameError(error.what(), error.Detail().empty() ? path : path + ": " + error.Detail());
}

} // namespace

std::string MapLoader::MapPath(const std::string& name)
{
    return "assets/maps/" + name + ".json";
}

MapData MapLoader::LoadLevel(const std::string& name)
{
    const std::string path = MapPath(name);
    MapData map = LoadFromFile(path);
    try {
        CheckReferences(map);
    } catch (const GameError& error) {
        throw InFile(path, error);
    }
    return map;
}

void MapLoader::CheckReferences(const MapData& map)
{
    std::set<int32_t> sectorIds;
    for (const MapSector& sector : map.sectors)
        sectorIds.insert(sector.id);
    const auto missing = [&](int32_t id) { return "no sector has id " + std::to_string(id); };
    for (size_t i = 0; i < map.sectorLinks.size(); ++i)
        if (!sectorIds.contains(map.sectorLinks[i]))
            Fail(SectorNotFound, Where{}, "sectorLinks",
                 "entry " + std::to_string(i) + ": " + missing(map.sectorLinks[i]));
    for (size_t i = 0; i < map.segments.size(); ++i) {
        const MapSegment& segment = map.segments[i];
        // A switch or a screen stands on its segment alone: nothing built
        // from it reads the sector.
        const bool panel = segment.type == SegmentTypeSwitch || segment.type == SegmentTypeTVScreen;
        if (!panel && !sectorIds.contains(segment.sectorId))
            Fail(SectorNotFound, Where{SegmentLayerKey, i, segment.id}, "sectorId", missing(segment.sectorId));
    }
    for (size_t i = 0; i < map.sectors.size(); ++i) {
        const MapSector& sector = map.sectors[i];
        const Where where{SectorLayerKey, i, sector.id};
        // The textures MovingSector draws a door (a sector with both flags is
        // one) or an elevator with.
        if ((sector.door || sector.elevator) && !sector.useVertexColors) {
            const bool elevator = !sector.door;
            const auto texture = [&](const char* key, const std::string& name) {
                if (!IsGameTexture(name))
                    Fail(TextureNotFound, where, key, "no texture is named \"" + PrintableText(name) + "\"");
            };
            if (elevator)
                texture("floorTexId", sector.floorTexId);
            else
                texture("ceilTexId", sector.ceilTexId);
            texture("sideTexId", sector.sideTexId);
        }
    }
}

MapData MapLoader::LoadFromFile(std::string path)
{
    // Only a regular file: a folder opens on some systems and reports a
    // nonsense length.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        throw GameError(CantAccessFile, path);
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw GameError(CantAccessFile, path);
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0)
        throw GameError(CantAccessFile, path);
    MapLimits::CheckFileSize(static_cast<uintmax_t>(length));
    std::string text(static_cast<size_t>(length), ' ');
    file.seekg(0, std::ios::beg);
    file.read(text.data(), length); // a shorter read leaves trailing blanks, which JSON ignores
    if (file.bad())
        throw GameError(CantAccessFile, path);
    try {
        return Parse(text);
    } catch (const GameError& error) {
        throw InFile(path, error);
    }
}

MapData MapLoader::Parse(const std::string& text)
{
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::exception& error) {
        throw GameError(NotJson, JsonProblem(error));
    }
    const Where top;

    MapData map;
    map.name = ReadString(document, "name", top);
    map.playerStartPosition = ReadVector2(document, "playerStartPosition", top);

    const Json* links = Optional(document, top, "sectorLinks");
    if (!links)
        throw GameError(SectorLinksNotFound);
    for (const Json& link : RequireArray(*links, top, "sectorLinks"))
        map.sectorLinks.push_back(ToInteger<int32_t>(link, top, "sectorLinks"));

    if (const Json* value = Optional(document, top, "hasScript"))
        map.hasScript = ToBool(*value, top, "hasScript");

    const Json* layers = Optional(document, top, "layerObjects");
    if (!layers)
        throw GameError(NoLayerObjects);
    RequireObject(*layers, top, "layerObjects");
    ReadLayer(*layers, SegmentLayerKey, map.segments, ReadSegment);
    ReadLayer(*layers, SectorLayerKey, map.sectors, ReadSector);
    ReadLayer(*layers, EntityLayerKey, map.entities, ReadEntity);
    ReadLayer(*layers, AreaLayerKey, map.areas, ReadArea);
    ReadLayer(*layers, LightLayerKey, map.lights, ReadLight);

    map.ComputeBounds();
    MapLimits::Check(map);
    return map;
}

} // namespace mirefell
