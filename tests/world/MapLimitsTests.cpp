// Map limits: each count is accepted at its limit and refused one beyond it,
// the bounds likewise; the loader refuses an oversized file before reading
// it and checks what it parsed. (The shipped levels load through the same
// loader in the level tests and the map checker.)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "MapTestData.h"
#include "platform/GameError.h"
#include "support/TempDir.h"
#include "world/MapEntityTypes.h"
#include "world/MapLimits.h"
#include "world/MapLoader.h"

namespace mirefell
{
namespace
{

// The GameError that checking the map throws, or one reading "none".
GameError CheckError(const MapData& map)
{
    try {
        MapLimits::Check(map);
    } catch (const GameError& error) {
        return error;
    }
    return GameError("none");
}

struct Limit
{
    const char* message;
    const char* detailAtLimitPlusOne;
    // Fills a map with `count` of what the limit counts.
    std::function<void(MapData&, size_t)> fill;
};

TEST(MapLimits, EachCountPassesAtItsLimitAndIsRefusedOneBeyond)
{
    const Limit limits[] = {
        {"invalid map - too many sectors", "8193 sectors, at most 8192",
         [](MapData& map, size_t n) { map.sectors.resize(n); }},
        {"invalid map - too many segments", "32769 segments, at most 32768",
         [](MapData& map, size_t n) { map.segments.resize(n); }},
        {"invalid map - too many sector links", "65537 ids in the sector links, at most 65536",
         [](MapData& map, size_t n) { map.sectorLinks.resize(n); }},
        {"invalid map - too many entities", "4097 entities, at most 4096",
         [](MapData& map, size_t n) { map.entities.resize(n); }},
        {"invalid map - too many areas", "1025 areas, at most 1024",
         [](MapData& map, size_t n) { map.areas.resize(n); }},
        {"invalid map - too many lights", "4097 lights, at most 4096",
         [](MapData& map, size_t n) { map.lights.resize(n); }},
        // Vertices and indices are counted over every list of every record.
        {"invalid map - too many vertices", "262145 vertices, at most 262144",
         [](MapData& map, size_t n) {
             map.sectors.resize(2);
             map.sectors[0].vertices.resize(100);
             map.sectors[1].collisionVertices.resize(200);
             map.segments.resize(1);
             map.segments[0].vertices.resize(n - 300);
         }},
        {"invalid map - too many indices", "262145 indices, at most 262144",
         [](MapData& map, size_t n) {
             map.sectors.resize(1);
             map.sectors[0].indices.resize(30);
             map.sectors[0].collisionIndices.resize(60);
             map.segments.resize(1);
             map.segments[0].indices.resize(n - 90);
         }},
    };
    const size_t counts[] = {8192, 32768, 65536, 4096, 1024, 4096, 262144, 262144};
    for (size_t i = 0; i < std::size(limits); ++i) {
        MapData atLimit;
        limits[i].fill(atLimit, counts[i]);
        EXPECT_STREQ(CheckError(atLimit).what(), "none") << limits[i].message;
        MapData beyond;
        limits[i].fill(beyond, counts[i] + 1);
        const GameError error = CheckError(beyond);
        EXPECT_STREQ(error.what(), limits[i].message);
        EXPECT_EQ(error.Detail(), limits[i].detailAtLimitPlusOne);
    }
}

TEST(MapLimits, BoundsMayReach16384UnitsEachWayAndNoFurther)
{
    MapData map = testing::RoomMap(-8192, 100, 8192, 16484); // 16384 x 16384
    EXPECT_STREQ(CheckError(map).what(), "none");
    EXPECT_STREQ(CheckError(MapData()).what(), "none"); // no bounds at all

    map = testing::RoomMap(0, 0, 100, 16385);
    GameError error = CheckError(map);
    EXPECT_STREQ(error.what(), "invalid map - bounds too large");
    EXPECT_EQ(error.Detail(), "100 x 16385 units, at most 16384 each way");
    map = testing::RoomMap(-3e38f, 0, 3e38f, 1); // wider than a float holds
    EXPECT_STREQ(CheckError(map).what(), "invalid map - bounds too large");
}

TEST(MapLimits, TheLoaderRefusesAnOversizedFileUnreadAndChecksWhatItParsed)
{
    MapEntityTypes::Initialize();
    testing::TempDir folder;
    // 8 MiB and one byte of nothing: refused for its size, not as bad JSON.
    const std::string path = folder.File("huge.json");
    {
        std::ofstream(path).put(' ');
    }
    std::filesystem::resize_file(path, (uintmax_t{8} << 20) + 1);
    try {
        MapLoader::LoadFromFile(path);
        FAIL() << "an oversized map was read";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "invalid map - file too large");
        EXPECT_EQ(error.Detail(), "8388609 bytes, at most 8388608");
    }

    nlohmann::json document = testing::MinimalMapDocument();
    nlohmann::json& lights = document["layerObjects"]["5"];
    while (lights.size() <= MapLimits::MaxLights)
        lights.push_back(lights[0]);
    try {
        MapLoader::Parse(document.dump());
        FAIL() << "4097 lights were accepted";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "invalid map - too many lights");
    }
}

} // namespace
} // namespace mirefell
