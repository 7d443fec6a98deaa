// The map compiler: what it writes is what the loader reads in the shape the
// level build expects (windings, wall faces and quads, links, heights of
// steps and lintels, entities on their floors), the same every time, and a
// broken source is refused with its line.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "LevelSource.h"
#include "MapCompiler.h"
#include "render/PointLight.h"
#include "support/GameplayFixture.h"
#include "world/LightSource.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/Polygon.h"

namespace mirefell::maptool
{
namespace
{

// Two rooms joined by a door; the east room is 6 higher and lower-ceilinged.
const char* const TwoRooms = R"(
level tworooms
start 32,32
wallids 100
room 1 floor=0 ceil=128 : rect 0,0 128,128
door 2 floor=0 ceil=96 open=88 : rect 128,48 144,80
room 3 floor=6 ceil=112 light=9 colour=FF0000 : 144,0 288,0 288,128 144,128
switch 7 3 200,128 216,128
thing 4 N 200,64 rot=90
thing 5 MK 64,100
room 9 floor=0 ceil=64 : rect 400,0 464,64
)";

MapData CompileAndLoad(const std::string& text, std::string* json = nullptr)
{
    MapEntityTypes::Initialize();
    const std::string compiled = MapCompiler::CompileToJson(LevelSource::Parse(text, "test.lvl"));
    if (json)
        *json = compiled;
    return MapLoader::Parse(compiled);
}

const MapSegment* WallOf(const MapData& map, int32_t sector, Vector2 start, Vector2 end)
{
    for (const MapSegment& segment : map.segments)
        if (segment.sectorId == sector && segment.start.x == start.x && segment.start.y == start.y &&
            segment.end.x == end.x && segment.end.y == end.y && segment.type == 0)
            return &segment;
    return nullptr;
}

TEST(MapCompiler, WritesSectorsAndWallsInTheShapeTheBuildExpects)
{
    std::string json;
    const MapData map = CompileAndLoad(TwoRooms, &json);
    EXPECT_EQ(map.name, "tworooms");
    EXPECT_EQ(map.sectorLinks, (std::vector<int32_t>{1, 2, 2, 3, 9, 9}));

    for (const MapSector& sector : map.sectors) {
        // Floors wound counter-clockwise in map (x, y): every triangle too.
        for (size_t i = 0; i < sector.indices.size(); i += 3) {
            const Vector2 a = sector.vertices[sector.indices[i]];
            const Vector2 b = sector.vertices[sector.indices[i + 1]];
            const Vector2 c = sector.vertices[sector.indices[i + 2]];
            EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0.0f) << "sector " << sector.id;
        }
        EXPECT_EQ(sector.collisionIndices, sector.indices);
    }
    // The room's east wall was split where the door's corners lie on it.
    EXPECT_EQ(map.sectors[0].vertices.size(), 6u);

    for (const MapSegment& wall : map.segments) {
        // Clockwise around its room: the normal (dy, -dx) points inside.
        const Vector2 middle = (wall.start + wall.end) * 0.5f;
        const Vector2 normal{wall.end.y - wall.start.y, wall.start.x - wall.end.x};
        const float length = std::hypot(normal.x, normal.y);
        const Vector2 probe = middle + normal * (1.0f / length);
        const MapSector* own = nullptr;
        for (const MapSector& sector : map.sectors)
            if (sector.id == wall.sectorId)
                own = &sector;
        ASSERT_NE(own, nullptr);
        EXPECT_TRUE(Polygon::ContainsPoint(*own, probe)) << "wall " << wall.id;
        ASSERT_EQ(wall.vertices.size(), 4u);
        EXPECT_EQ(wall.vertices[0].x, wall.start.x); // start-top
        EXPECT_EQ(wall.vertices[0].y, wall.topY);
        EXPECT_EQ(wall.vertices[2].z, wall.end.y); // end-bottom
        EXPECT_EQ(wall.vertices[2].y, wall.bottomY);
        EXPECT_EQ(wall.indices, (std::vector<uint16_t>{0, 1, 2, 2, 3, 0}));
        EXPECT_EQ(wall.bottomRightIndex, 2);
    }

    // Over the door on the west side a lintel from 96 to the room's 128; on
    // the east side a 6-unit riser under the higher floor and a lintel from
    // 96 to 112. Each lintel is in two pieces: the door frame's head (96 to
    // 104), then the wall.
    const auto lintel = [&](int32_t sector, Vector2 start, Vector2 end) {
        std::vector<std::pair<float, float>> pieces;
        for (const MapSegment& wall : map.segments)
            if (wall.sectorId == sector && wall.start.x == start.x && wall.start.y == start.y && wall.end.x == end.x &&
                wall.end.y == end.y)
                pieces.emplace_back(wall.bottomY, wall.topY);
        return pieces;
    };
    using Pieces = std::vector<std::pair<float, float>>;
    EXPECT_EQ(lintel(1, {128, 80}, {128, 48}), (Pieces{{96.0f, 104.0f}, {104.0f, 128.0f}}));
    EXPECT_EQ(lintel(3, {144, 48}, {144, 80}), (Pieces{{96.0f, 104.0f}, {104.0f, 112.0f}}));
    const MapSegment* riser = WallOf(map, 2, {144, 80}, {144, 48});
    ASSERT_NE(riser, nullptr); // faces into the door sector, below the east floor
    EXPECT_EQ(riser->bottomY, 0.0f);
    EXPECT_EQ(riser->topY, 6.0f);

    // The switch runs with its wall and starts at the wall's foot.
    const MapSegment& panel = map.segments.back();
    EXPECT_EQ(panel.id, 7);
    EXPECT_EQ(panel.type, 5);
    EXPECT_EQ(panel.texId, "switch_off");
    EXPECT_EQ(panel.start.x, 200.0f);
    EXPECT_EQ(panel.end.x, 216.0f);
    EXPECT_EQ(panel.bottomY, 6.0f);

    // Entities stand where the author put them, at the floor under them.
    EXPECT_FLOAT_EQ(map.entities[0].pos.x, 200.0f - 3.6f);
    EXPECT_FLOAT_EQ(map.entities[0].pos.y, 64.0f - 3.6f);
    EXPECT_EQ(map.entities[0].y, 6.0f);
    EXPECT_EQ(map.entities[1].pos.x, 60.0f);
    EXPECT_EQ(map.entities[1].y, 0.0f);
    EXPECT_EQ(map.sectors[2].lightColor, 0xFF0000u);

    std::string again;
    CompileAndLoad(TwoRooms, &again);
    EXPECT_EQ(json, again);
}

TEST(MapCompiler, FramesEveryDoorButASecretOneInBrassCasingsHeadAndJambs)
{
    const MapData map = CompileAndLoad(TwoRooms);
    const auto expectFrameIn = [](const MapData& in, int32_t sector, Vector2 start, Vector2 end, float top) {
        const MapSegment* piece = WallOf(in, sector, start, end);
        ASSERT_NE(piece, nullptr) << start.x << "," << start.y << " to " << end.x << "," << end.y;
        EXPECT_EQ(piece->texId, "metal");
        EXPECT_EQ(piece->lightColor, 0xD8A848u);
        EXPECT_EQ(piece->bottomY, 0.0f);
        EXPECT_EQ(piece->topY, top);
    };
    const auto expectFrame = [&](int32_t sector, Vector2 start, Vector2 end, float top) {
        expectFrameIn(map, sector, start, end, top);
    };
    // On the west face, the room's wall ends in a casing 6 wide on each side
    // of the opening (48 to 80), up to the frame's head: the door's 96 and 8.
    expectFrame(1, {128, 86}, {128, 80}, 104.0f);
    expectFrame(1, {128, 48}, {128, 42}, 104.0f);
    // Above a casing, and along the rest of the wall, the room's own wall.
    int above = 0;
    for (const MapSegment& wall : map.segments)
        if (wall.sectorId == 1 && wall.start.y == 86.0f && wall.end.y == 80.0f && wall.bottomY == 104.0f &&
            wall.topY == 128.0f && wall.texId == "wall")
            ++above;
    EXPECT_EQ(above, 1);
    const MapSegment* rest = WallOf(map, 1, {128, 128}, {128, 86});
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(rest->texId, "wall");
    // The door's own sides, the jambs, from its floor to its ceiling.
    expectFrame(2, {144, 48}, {128, 48}, 96.0f);
    expectFrame(2, {128, 80}, {144, 80}, 96.0f);

    // A passage as wide as its door: the passage's sides end in the frame
    // (up to its ceiling, under the frame's head).
    const MapData passage = CompileAndLoad(R"(
level passage
start 424,120
room 10 floor=0 ceil=96 : rect 400,100 448,164
door 11 floor=0 ceil=96 open=88 : rect 400,164 448,180
room 12 floor=0 ceil=96 : rect 400,180 448,244
)");
    expectFrameIn(passage, 10, {400, 158}, {400, 164}, 96.0f);
    expectFrameIn(passage, 10, {448, 164}, {448, 158}, 96.0f);

    // A plain door is a secret drawn as the wall: no frame at all.
    std::string secret = TwoRooms;
    const std::string door = "door 2 floor=0 ceil=96 open=88";
    secret.replace(secret.find(door), door.size(), door + " plain");
    for (const MapSegment& wall : CompileAndLoad(secret).segments)
        EXPECT_NE(wall.texId, "metal") << "wall " << wall.id;
}

TEST(MapCompiler, RefusesBrokenSourcesNamingTheLine)
{
    MapEntityTypes::Initialize();
    const auto failure = [](const std::string& text) -> std::string {
        try {
            MapCompiler::CompileToJson(LevelSource::Parse(text, "broken.lvl"));
        } catch (const SourceError& error) {
            return error.what();
        }
        return "compiled";
    };
    const std::string head = "level broken\nstart 8,8\nwallids 100\nroom 1 floor=0 ceil=64 : rect 0,0 64,64\n";
    EXPECT_EQ(failure(head + "room 2 floor=0 ceil=64 : rect 32,32 96,96\n"), "broken.lvl:5: sectors 1 and 2 overlap");
    EXPECT_EQ(failure(head + "thing 3 N 80,80\n"), "broken.lvl:5: thing 3 stands outside every sector");
    EXPECT_EQ(failure(head + "room 2 floor=0 ceil=64 : 64,0 128,64 128,0 64,64\n"),
              "broken.lvl:5: the outline of sector 2 crosses itself");
    EXPECT_EQ(failure(head + "switch 9 1 80,0 96,0\n"), "broken.lvl:5: no wall of sector 1 runs from 80,0 to 96,0");
    EXPECT_EQ(failure(head + "room 1 floor=0 ceil=64 : rect 64,0 96,64\n"),
              "broken.lvl:5: sector id 1 is already used on line 4");
    EXPECT_EQ(failure(head + "rooom 2\n"), "broken.lvl:5: unknown directive 'rooom'");
    EXPECT_EQ(failure(head + "room 2 floor=0 ceil=64 colour=red : rect 64,0 96,64\n"),
              "broken.lvl:5: 'red' is not a colour RRGGBB");
}

// A lamp's height is its light's height above the floor once the game has
// built the level, whatever the room's height.
class MapCompilerLamps : public testing::GameplayTest
{};

TEST_F(MapCompilerLamps, PutsTheLightItsHeightAboveTheFloor)
{
    BuildLevel(CompileAndLoad(R"(
level lamps
start 32,32
room 1 floor=0 ceil=128 : rect 0,0 128,128
room 2 floor=6 ceil=112 : rect 128,0 256,128
lamp 1 200,64 height=40 colour=FFFFFF
lamp 2 32,100 height=100 colour=FFFFFF
)"));
    std::vector<float> heights;
    world->ForEachObject(GridObjectType::LightSource, [&](GridObject* object) {
        heights.push_back(static_cast<LightSource*>(object)->light->position.y);
    });
    EXPECT_EQ(heights, (std::vector<float>{46.0f, 100.0f})); // floors 6 and 0
}

} // namespace
} // namespace mirefell::maptool
