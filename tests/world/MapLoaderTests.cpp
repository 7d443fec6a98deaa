// The map loader: the test map read whole, the loader's messages and their
// order and what they name, the layer forms, number handling, index-list and
// reference checks.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "MapTestData.h"
#include "platform/GameError.h"
#include "support/TempDir.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"

namespace mirefell
{
namespace
{

using Json = nlohmann::json;

class MapLoaderTest : public ::testing::Test
{
protected:
    void SetUp() override { MapEntityTypes::Initialize(); }

    static MapData Parse(const Json& document) { return MapLoader::Parse(document.dump()); }

    // The GameError that parsing throws; fails the test when it throws none.
    static GameError ParseError(const std::string& text)
    {
        try {
            MapLoader::Parse(text);
        } catch (const GameError& error) {
            return error;
        }
        ADD_FAILURE() << "no GameError for: " << text.substr(0, 200);
        return GameError("none");
    }
    static GameError ParseError(const Json& document) { return ParseError(document.dump()); }

    Json document = testing::MinimalMapDocument();
    Json& Layer(const char* key) { return document["layerObjects"][key]; }
    Json& Sector() { return Layer("2")[0]; }
    Json& Segment() { return Layer("0")[0]; }
};

TEST_F(MapLoaderTest, ReadsTheTestMapWhole)
{
    const MapData map = MapLoader::LoadFromFile(testing::TestMapPath());
    EXPECT_EQ(map.name, "testmap");
    EXPECT_EQ(map.playerStartPosition, Vector2(32, 32));
    EXPECT_EQ(map.sectorLinks, (std::vector<int32_t>{1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7}));
    EXPECT_FALSE(map.hasScript);
    EXPECT_EQ(map.segments.size(), 36u);
    ASSERT_EQ(map.sectors.size(), 7u);
    EXPECT_EQ(map.entities.size(), 9u);
    EXPECT_EQ(map.areas.size(), 2u);
    EXPECT_EQ(map.lights.size(), 4u);
    EXPECT_EQ(map.boundsMin, Vector2(0, 0));
    EXPECT_EQ(map.boundsMax, Vector2(528, 128));
    EXPECT_TRUE(map.sectorsById.empty());

    const MapSector& redDoor = map.sectors[5];
    EXPECT_EQ(redDoor.id, 6);
    EXPECT_TRUE(redDoor.door);
    EXPECT_EQ(redDoor.key, 1);
    EXPECT_EQ(redDoor.floorTopY, 64.0f);
    EXPECT_EQ(redDoor.sideTexId, "door_red");
    EXPECT_EQ(map.sectors[0].key, 0); // absent key
    EXPECT_TRUE(map.sectors[3].elevator);
    EXPECT_TRUE(map.sectors[3].useVertexColors);
    EXPECT_EQ(map.sectors[3].lightColor, 0xC0A080u);

    const auto switchWall = std::find_if(map.segments.begin(), map.segments.end(),
                                         [](const MapSegment& s) { return s.type == SegmentTypeSwitch; });
    ASSERT_NE(switchWall, map.segments.end());
    EXPECT_EQ(switchWall->id, 100);
    EXPECT_EQ(switchWall->vertices.size(), 4u);
    EXPECT_EQ(switchWall->indices, (std::vector<uint16_t>{0, 1, 2, 2, 3, 0}));

    // Each entity carries a copy of its code's table entry.
    const MapEntity& nom = map.entities[2];
    EXPECT_EQ(nom.entityType, *MapEntityTypes::Find("N"));
    EXPECT_EQ(nom.rotation, 180.0f);
    EXPECT_EQ(map.entities[3].entityType.name, "powerup");
    EXPECT_EQ(map.entities[3].lootTableId, 1);
    EXPECT_EQ(map.areas[1].name, "closet");
    EXPECT_EQ(map.lights[3].lightColor, 0xFF4040u);
}

TEST_F(MapLoaderTest, FilesAreReadFromAGivenPathWhateverTheirLineEnds)
{
    testing::TempDir dir;
    std::string text = document.dump(1);
    std::string crlf;
    for (char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    dir.Write("crlf.json", crlf);
    EXPECT_EQ(MapLoader::LoadFromFile(dir.File("crlf.json")).name, "minimal");

    for (const std::string& path : {dir.File("missing.json"), dir.Path().string()}) {
        try {
            MapLoader::LoadFromFile(path);
            ADD_FAILURE() << path;
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), MapLoader::CantAccessFile);
            EXPECT_EQ(error.Detail(), path);
        }
    }
    EXPECT_EQ(MapLoader::MapPath("descent"), "assets/maps/descent.json");
}

TEST_F(MapLoaderTest, MessagesComeInTheirReadingOrder)
{
    // Links are tested before the layers, so a document lacking both names the links.
    Json bare = {{"name", "x"}, {"playerStartPosition", {{"x", 0}, {"y", 0}}}};
    EXPECT_STREQ(ParseError(bare).what(), MapLoader::SectorLinksNotFound);
    bare["sectorLinks"] = Json::array();
    EXPECT_STREQ(ParseError(bare).what(), MapLoader::NoLayerObjects);

    // A missing name comes first of all.
    Json nameless = document;
    nameless.erase("name");
    nameless.erase("sectorLinks");
    EXPECT_STREQ(ParseError(nameless).what(), MapLoader::MissingKey);

    // Layers are read in the order 0, 2, 3: a bad segment is reported before a bad entity.
    Layer("3")[0]["type"] = "mk"; // codes are case-sensitive
    EXPECT_STREQ(ParseError(document).what(), MapLoader::EntityTypeNotFound);
    Segment().erase("texId");
    const GameError error = ParseError(document);
    EXPECT_STREQ(error.what(), MapLoader::MissingKey);
    EXPECT_EQ(error.Detail(), "layer \"0\" record 0 (id 1), key \"texId\"");
}

TEST_F(MapLoaderTest, LayerForms)
{
    // An empty layer object: five empty layers and inverted bounds.
    document["layerObjects"] = Json::object();
    MapData empty = Parse(document);
    EXPECT_TRUE(empty.segments.empty() && empty.sectors.empty() && empty.entities.empty());
    EXPECT_EQ(empty.boundsMin.x, INFINITY);
    EXPECT_EQ(empty.boundsMax.y, -INFINITY);

    // A layer given as an object yields its values in key order; "1",
    // unknown keys and null layers are ignored.
    document = testing::MinimalMapDocument();
    Json light = Layer("5")[0];
    Json lights = Json::object();
    for (int id : {3, 1, 2}) {
        light["id"] = id;
        lights["k" + std::to_string(id)] = light;
    }
    Layer("5") = lights;
    Layer("1") = Json::array({{{"garbage", true}}});
    Layer("9") = 42;
    Layer("4") = nullptr;
    const MapData map = Parse(document);
    ASSERT_EQ(map.lights.size(), 3u);
    EXPECT_EQ(map.lights[0].id, 1);
    EXPECT_EQ(map.lights[2].id, 3);
    EXPECT_TRUE(map.areas.empty());
    EXPECT_EQ(map.sectors.size(), 1u);

    // Anything else where a layer or record belongs is a wrong type, named.
    const auto expectWrongType = [&](const char* detail) {
        const GameError error = ParseError(document);
        EXPECT_STREQ(error.what(), MapLoader::WrongType);
        EXPECT_EQ(error.Detail(), detail);
    };
    Layer("5") = 7;
    expectWrongType("key \"layerObjects\": member \"5\": type must be array, but is number");
    Layer("5") = Json::array({Json::array()});
    expectWrongType("layer \"5\" record 0: type must be object, but is array");
    document["layerObjects"] = Json::array();
    expectWrongType("key \"layerObjects\": type must be object, but is array");
    EXPECT_EQ(ParseError(std::string("[1, 2]")).Detail(), "the document: type must be object, but is array");

    const GameError broken = ParseError(std::string("{\"name\": "));
    EXPECT_STREQ(broken.what(), MapLoader::NotJson);
    EXPECT_EQ(broken.Detail().rfind("parse error at line 1, column 10: ", 0), 0u) << broken.Detail();
    EXPECT_NE(ParseError(std::string(R"({"name": 1e999})")).Detail().find("number overflow"), std::string::npos);
}

TEST_F(MapLoaderTest, BoundsComeFromSegmentEndsAndSectorVerticesOnly)
{
    Layer("3")[0]["pos"] = {{"x", -500}, {"y", 900}};
    Layer("4")[0]["end"] = {{"x", 1000}, {"y", 1000}};
    Layer("5")[0]["pos"] = {{"x", -1000}, {"y", -1000}};
    Sector()["collisionVertices"][0] = {{"x", -300}, {"y", -300}};
    Segment()["end"] = {{"x", 100}, {"y", -20}};
    const MapData map = Parse(document);
    EXPECT_EQ(map.boundsMin, Vector2(0, -20));
    EXPECT_EQ(map.boundsMax, Vector2(100, 64));
}

TEST_F(MapLoaderTest, NumbersAreTruncatedAndOnlyTheNarrowOnesWrap)
{
    Sector()["id"] = 3.9;
    Sector()["key"] = 255;
    Layer("3")[0]["id"] = -2.7;
    document["sectorLinks"] = {3, 3};
    MapData map = Parse(document);
    EXPECT_EQ(map.sectors[0].id, 3);
    EXPECT_EQ(map.sectors[0].key, 255);
    EXPECT_EQ(map.entities[0].id, -2);
    EXPECT_TRUE(map.entities[0].entityType.name.empty());

    // The key keeps its low 8 bits, an index its low 16: 258 is key 2, 65538
    // is index 2 (then checked against the vertices like any other).
    Sector()["key"] = 258;
    Sector()["indices"] = {65536, 65537.9, 65538, 0, -65534, 3};
    map = Parse(document);
    EXPECT_EQ(map.sectors[0].key, 2);
    EXPECT_EQ(map.sectors[0].indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
    Sector()["key"] = -1;
    EXPECT_EQ(Parse(document).sectors[0].key, 255);
    Sector()["indices"][5] = 65540; // index 4 of four vertices
    EXPECT_STREQ(ParseError(document).what(), MapLoader::BadIndexList);
    Sector()["indices"] = {0, 1, 2, 0, 2, 3};
    Sector()["key"] = 255;

    const auto expectOutOfRange = [&](Json& field, const Json& value, const char* key) {
        const Json kept = field;
        field = value;
        const GameError error = ParseError(document);
        EXPECT_STREQ(error.what(), MapLoader::NumberOutOfRange) << value;
        EXPECT_NE(error.Detail().find(key), std::string::npos) << error.Detail();
        field = kept;
    };
    expectOutOfRange(Sector()["key"], 1e30, "\"key\""); // no integer at all
    expectOutOfRange(Sector()["id"], 2147483648.0, "\"id\"");
    expectOutOfRange(Sector()["lightColor"], -2147483649ll, "\"lightColor\""); // no 32 bits hold it
    expectOutOfRange(Sector()["lightColor"], 4294967296ull, "\"lightColor\"");
    expectOutOfRange(Sector()["indices"][0], -1e19, "\"indices\"");
    expectOutOfRange(document["sectorLinks"][1], 1e10, "\"sectorLinks\"");
    expectOutOfRange(Sector()["floorTopY"], 1e39, "\"floorTopY\""); // beyond float

    // Booleans are not numbers, numbers are not booleans, strings are
    // neither: each refusal names the record and key in the JSON library's
    // words.
    const auto expectWrongType = [&](const std::string& detail) {
        const GameError error = ParseError(document);
        EXPECT_STREQ(error.what(), MapLoader::WrongType);
        EXPECT_EQ(error.Detail(), detail);
    };
    Sector()["lightLevel"] = true;
    expectWrongType("layer \"2\" record 0 (id 3), key \"lightLevel\": type must be number, but is boolean");
    Sector()["lightLevel"] = 7;
    Sector()["door"] = 1;
    expectWrongType("layer \"2\" record 0 (id 3), key \"door\": type must be boolean, but is number");
    Sector()["door"] = false;
    document["hasScript"] = 1;
    expectWrongType("key \"hasScript\": type must be boolean, but is number");
    document["hasScript"] = true;
    Segment()["topY"] = "64";
    expectWrongType("layer \"0\" record 0 (id 1), key \"topY\": type must be number, but is string");
    Segment()["topY"] = 64;
    Segment()["texId"] = 5;
    expectWrongType("layer \"0\" record 0 (id 1), key \"texId\": type must be string, but is number");
    Segment()["texId"] = "wall";
    EXPECT_TRUE(Parse(document).hasScript);
}

TEST_F(MapLoaderTest, ANegativeColourIsTheSame32BitsUnsigned)
{
    // A colour written as a signed 32-bit number: -1 is 0xFFFFFFFF, the
    // lowest signed value 0x80000000; a fraction is truncated first.
    Sector()["lightColor"] = -1;
    Sector()["ceilingCatColor"] = -2147483648ll;
    Segment()["lightColor"] = -16777216; // 0xFF000000
    Layer("5")[0]["lightColor"] = -1.9;
    MapData map = Parse(document);
    EXPECT_EQ(map.sectors[0].lightColor, 0xFFFFFFFFu);
    EXPECT_EQ(map.sectors[0].ceilingCatColor, 0x80000000u);
    EXPECT_EQ(map.segments[0].lightColor, 0xFF000000u);
    EXPECT_EQ(map.lights[0].lightColor, 0xFFFFFFFFu);
    Layer("5")[0]["lightColor"] = -0.5;
    EXPECT_EQ(Parse(document).lights[0].lightColor, 0u);
}

TEST_F(MapLoaderTest, IndexListsAreCheckedAgainstTheirVertices)
{
    const auto expectBadIndices = [&](const char* expectedInDetail) {
        const GameError error = ParseError(document);
        EXPECT_STREQ(error.what(), MapLoader::BadIndexList);
        EXPECT_NE(error.Detail().find(expectedInDetail), std::string::npos) << error.Detail();
        document = testing::MinimalMapDocument();
    };
    Sector()["indices"] = {0, 1, 2, 0, 2};
    expectBadIndices("layer \"2\" record 0 (id 1), key \"indices\": 5 indices");
    Sector()["collisionIndices"][4] = 4;
    expectBadIndices("key \"collisionIndices\": index 4 at position 4 is past the 4 entries of \"collisionVertices\"");
    Sector()["collisionVertices"] = Json::array();
    expectBadIndices("\"collisionIndices\"");
    Segment()["indices"] = {0, 1, 7};
    expectBadIndices("layer \"0\" record 0 (id 1), key \"indices\"");

    // The bottom-right corner is only ever compared with the triangles'
    // indices, so it may name no vertex at all, also on a wall without any.
    Segment()["bottomRightIndex"] = -1;
    EXPECT_EQ(Parse(document).segments[0].bottomRightIndex, -1);
    Segment().erase("vertices");
    Segment().erase("indices");
    Segment()["bottomRightIndex"] = 5;
    EXPECT_EQ(Parse(document).segments[0].bottomRightIndex, 5);
    Segment().erase("bottomRightIndex");
    EXPECT_EQ(Parse(document).segments[0].bottomRightIndex, 0);
}

TEST_F(MapLoaderTest, AFileNamesItselfInEveryFailureAndALevelLinksOnlyItsOwnSectors)
{
    testing::TempDir dir;
    Sector()["door"] = 1;
    dir.Write("door.json", document.dump());
    try {
        MapLoader::LoadFromFile(dir.File("door.json"));
        ADD_FAILURE();
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), MapLoader::WrongType);
        EXPECT_EQ(error.Detail(),
                  dir.File("door.json") +
                      ": layer \"2\" record 0 (id 1), key \"door\": type must be boolean, but is number");
    }
    dir.Write("cut.json", document.dump().substr(0, 30));
    try {
        MapLoader::LoadFromFile(dir.File("cut.json"));
        ADD_FAILURE();
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), MapLoader::NotJson);
        EXPECT_EQ(error.Detail().rfind(dir.File("cut.json") + ": parse error at line 1, column 31", 0), 0u)
            << error.Detail();
    }

    // A link or a wall to a sector the map does not have.
    const auto referenceError = [&](const char* detail) {
        try {
            MapLoader::CheckReferences(Parse(document));
            ADD_FAILURE() << detail;
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), MapLoader::SectorNotFound);
            EXPECT_EQ(error.Detail(), detail);
        }
        document = testing::MinimalMapDocument();
    };
    Sector()["door"] = false;
    EXPECT_NO_THROW(MapLoader::CheckReferences(Parse(document)));
    document["sectorLinks"] = {1, 1, 1, 999999};
    referenceError("key \"sectorLinks\": entry 3: no sector has id 999999");
    Segment()["sectorId"] = 7;
    referenceError("layer \"0\" record 0 (id 1), key \"sectorId\": no sector has id 7");
    // A switch or a screen never reads its sector.
    for (const int type : {SegmentTypeSwitch, SegmentTypeTVScreen}) {
        Segment()["sectorId"] = 7;
        Segment()["type"] = type;
        EXPECT_NO_THROW(MapLoader::CheckReferences(Parse(document))) << type;
    }
}

TEST_F(MapLoaderTest, TextQuotedFromTheFileIsPrintedEscaped)
{
    // Bytes that are no UTF-8, where the JSON library stops reading.
    const GameError broken = ParseError(std::string("{\"name\": \"ab\xff\xfe\"}"));
    EXPECT_STREQ(broken.what(), MapLoader::NotJson);
    const std::string ending = "last read: '\"ab\\xFF'";
    ASSERT_GE(broken.Detail().size(), ending.size());
    EXPECT_EQ(broken.Detail().substr(broken.Detail().size() - ending.size()), ending) << broken.Detail();

    // A code that is valid UTF-8 keeps its letters; its control characters
    // are escaped.
    Layer("3")[0]["type"] = "\u00e9\x1b[31m\x07";
    const GameError unknown = ParseError(document);
    EXPECT_STREQ(unknown.what(), MapLoader::EntityTypeNotFound);
    EXPECT_EQ(unknown.Detail(), "layer \"3\" record 0 (id 1), key \"type\": \"\u00e9\\x1B[31m\\x07\"");
}

TEST_F(MapLoaderTest, OptionalKeysKeepTheirDefaults)
{
    Json& segment = Segment();
    for (const char* key : {"sectorId", "indices", "vertices", "bottomRightIndex", "lightColor"})
        segment.erase(key);
    Json& entity = Layer("3")[0];
    entity["isStatic"] = true;
    const MapData map = Parse(document);
    const MapSegment& wall = map.segments[0];
    EXPECT_EQ(wall.sectorId, 0);
    EXPECT_TRUE(wall.indices.empty() && wall.vertices.empty());
    EXPECT_EQ(wall.bottomRightIndex, 0);
    EXPECT_EQ(wall.lightColor, 0u);
    EXPECT_TRUE(map.entities[0].isStatic);
    EXPECT_EQ(map.entities[0].lootTableId, 0);
    EXPECT_EQ(map.sectors[0].doorOpen, 0);
    EXPECT_EQ(map.sectors[0].doorObject, nullptr);

    // Every key of a sector but "key" is required.
    Sector().erase("teleportOutID");
    EXPECT_STREQ(ParseError(document).what(), MapLoader::MissingKey);
}

TEST(MapEntityTypes, TheNineCodes)
{
    MapEntityTypes::Initialize();
    MapEntityTypes::Initialize(); // again: same table
    const auto& all = MapEntityTypes::All();
    ASSERT_EQ(all.size(), 9u);
    const std::pair<const char*, uint32_t> pickups[] = {{"RK", 4}, {"BK", 5}, {"AM", 2}, {"MK", 1},
                                                        {"L", 3},  {"P", 0},  {"A", 12}};
    for (const auto& [code, powerup] : pickups) {
        const MapEntityType* type = MapEntityTypes::Find(code);
        ASSERT_NE(type, nullptr) << code;
        EXPECT_EQ(type->kind, MapEntityKind::Powerup) << code;
        EXPECT_EQ(type->powerupType, powerup) << code;
        EXPECT_TRUE(type->animations.empty()) << code;
        EXPECT_EQ(type->name, std::string(code) == "P" ? "powerup" : "") << code;
    }
    const MapEntityType* eye = MapEntityTypes::Find("E");
    ASSERT_NE(eye, nullptr);
    EXPECT_EQ(eye->name, "eye");
    EXPECT_EQ(eye->kind, MapEntityKind::Monster);
    EXPECT_EQ(eye->animations,
              (std::map<MonsterAnimation, uint32_t>{
                  {MonsterAnimation::Walk, 4}, {MonsterAnimation::Death, 4}, {MonsterAnimation::Attack, 2}}));
    EXPECT_EQ(MapEntityTypes::Find("N")->animations.at(MonsterAnimation::Walk), 2u);
    EXPECT_EQ(MapEntityTypes::Find("mk"), nullptr);
    EXPECT_EQ(MapEntityTypes::Find("n"), nullptr);
}

} // namespace
} // namespace mirefell
