// Map JSON to MapData. Records are read key by key in file-format order with
// explicit look-ups (a missing key is never default-constructed by the JSON
// library), narrow integers are range-checked rather than wrapped, and every
// index list is checked against the list it indexes, so the level builders
// can trust the result.
#include "world/MapLoader.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>

#include <nlohmann/json.hpp>

#include "platform/GameError.h"
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

    std::string Describe(const char* key) const
    {
        std::string text;
        if (layer) {
            text = "layer \"" + std::string(layer) + "\" record " + std::to_string(index);
            if (id)
                text += " (id " + std::to_string(*id) + ")";
            text += ", ";
        }
        return text + "key \"" + key + "\"";
    }
};

[[noreturn]] void Fail(const char* message, const Where& where, const char* key, const std::string& what = {})
{
    std::string detail = where.Describe(key);
    if (!what.empty())
        detail += ": " + what;
    throw GameError(message, detail);
}

// The JSON library's own type error, for values it would otherwise convert
// silently (a boolean read as a number) or that we test before converting.
[[noreturn]] void WrongType(const Json& value, const char* expected)
{
    throw Json::type_error::create(302, std::string("type must be ") + expected + ", but is " + value.type_name(),
                                   &value);
}

void RequireObject(const Json& value)
{
    if (!value.is_object())
        WrongType(value, "object");
}

const Json& Required(const Json& record, const char* key, const Where& where)
{
    RequireObject(record);
    const auto found = record.find(key);
    if (found == record.end())
        Fail(MapLoader::MissingKey, where, key);
    return *found;
}

const Json* Optional(const Json& record, const char* key)
{
    RequireObject(record);
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
        WrongType(value, "number");
    }
    Fail(MapLoader::NumberOutOfRange, where, key, value.dump());
}

float ToFloat(const Json& value, const Where& where, const char* key)
{
    if (!value.is_number())
        WrongType(value, "number");
    const auto n = static_cast<float>(value.get<double>());
    if (!std::isfinite(n))
        Fail(MapLoader::NumberOutOfRange, where, key, value.dump());
    return n;
}

const Json& RequireArray(const Json& value)
{
    if (!value.is_array())
        WrongType(value, "array");
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

bool ReadBool(const Json& record, const char* key, const Where& where)
{
    return Required(record, key, where).get<bool>();
}

std::string ReadString(const Json& record, const char* key, const Where& where)
{
    return Required(record, key, where).get<std::string>();
}

uint32_t ReadColour(const Json& record, const char* key, const Where& where)
{
    return ToInteger<uint32_t>(Required(record, key, where), where, key);
}

Vector2 ToVector2(const Json& value, const Where& where, const char* key)
{
    return {ToFloat(Required(value, "x", where), where, key), ToFloat(Required(value, "y", where), where, key)};
}

Vector2 ReadVector2(const Json& record, const char* key, const Where& where)
{
    return ToVector2(Required(record, key, where), where, key);
}

std::vector<Vector2> ToVector2List(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value);
    std::vector<Vector2> points;
    points.reserve(list.size());
    for (const Json& element : list)
        points.push_back(ToVector2(element, where, key));
    return points;
}

std::vector<Vector3> ToVector3List(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value);
    std::vector<Vector3> points;
    points.reserve(list.size());
    for (const Json& element : list)
        points.push_back({ToFloat(Required(element, "x", where), where, key),
                          ToFloat(Required(element, "y", where), where, key),
                          ToFloat(Required(element, "z", where), where, key)});
    return points;
}

std::vector<uint16_t> ToIndexList(const Json& value, const Where& where, const char* key)
{
    const Json& list = RequireArray(value);
    std::vector<uint16_t> indices;
    indices.reserve(list.size());
    for (const Json& element : list)
        indices.push_back(ToInteger<uint16_t>(element, where, key));
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
    if (const Json* value = Optional(record, "sectorId"))
        segment.sectorId = ToInteger<int32_t>(*value, where, "sectorId");
    segment.texId = ReadString(record, "texId", where);
    if (const Json* value = Optional(record, "indices"))
        segment.indices = ToIndexList(*value, where, "indices");
    if (const Json* value = Optional(record, "vertices"))
        segment.vertices = ToVector3List(*value, where, "vertices");
    const Json* bottomRight = Optional(record, "bottomRightIndex");
    if (bottomRight)
        segment.bottomRightIndex = ToInteger<int32_t>(*bottomRight, where, "bottomRightIndex");
    if (const Json* value = Optional(record, "lightColor"))
        segment.lightColor = ToInteger<uint32_t>(*value, where, "lightColor");

    CheckTriangles(segment.indices, segment.vertices.size(), "vertices", where, "indices");
    // A wall without render vertices has nothing to split, so 0 stands for "none" there.
    const bool bottomRightValid =
        segment.bottomRightIndex >= 0 && (static_cast<size_t>(segment.bottomRightIndex) < segment.vertices.size() ||
                                          (segment.vertices.empty() && segment.bottomRightIndex == 0));
    if (bottomRight && !bottomRightValid)
        Fail(MapLoader::BadIndexList, where, "bottomRightIndex",
             std::to_string(segment.bottomRightIndex) + " is not one of the " +
                 std::to_string(segment.vertices.size()) + " entries of \"vertices\"");
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
    if (const Json* value = Optional(record, "key"))
        sector.key = ToInteger<uint8_t>(*value, where, "key");

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
        throw GameError(MapLoader::EntityTypeNotFound, where.Describe("type") + ": \"" + code + "\"");
    entity.entityType = *type;
    entity.y = ReadFloat(record, "y", where);
    if (const Json* value = Optional(record, "isStatic"))
        entity.isStatic = value->get<bool>();
    entity.rotation = ReadFloat(record, "rotation", where);
    if (const Json* value = Optional(record, "lootTableId"))
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
        WrongType(layer, "array");
    out.reserve(layer.size());
    size_t index = 0;
    for (const Json& record : layer) // iterates an object's values in key order
        out.push_back(read(record, Where{key, index++, std::nullopt}));
}

} // namespace

std::string MapLoader::MapPath(const std::string& name)
{
    return "assets/maps/" + name + ".json";
}

MapData MapLoader::LoadLevel(const std::string& name)
{
    return LoadFromFile(MapPath(name));
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
    return Parse(text);
}

MapData MapLoader::Parse(const std::string& text)
{
    const Json document = Json::parse(text);
    const Where top;

    MapData map;
    map.name = ReadString(document, "name", top);
    map.playerStartPosition = ReadVector2(document, "playerStartPosition", top);

    const Json* links = Optional(document, "sectorLinks");
    if (!links)
        throw GameError(SectorLinksNotFound);
    for (const Json& link : RequireArray(*links))
        map.sectorLinks.push_back(ToInteger<int32_t>(link, top, "sectorLinks"));

    if (const Json* value = Optional(document, "hasScript"))
        map.hasScript = value->get<bool>();

    const Json* layers = Optional(document, "layerObjects");
    if (!layers)
        throw GameError(NoLayerObjects);
    RequireObject(*layers);
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
