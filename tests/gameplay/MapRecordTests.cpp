// Map records that are odd but harmless: a switch or screen naming no
// sector, a wall corner outside the wall's vertices, colours written as
// negative numbers, panels without area, names of textures and keys that
// nothing reads. Each small map is written where the game reads its maps,
// loaded as a level load loads it (references checked), built with the
// gameplay's objects and played: the player walks into a wall and stops
// there on the floor. A name the game would look up and lacks is refused by
// the load, naming the file, the record and the name.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "gameplay/Door.h"
#include "gameplay/Elevator.h"
#include "gameplay/FirstPersonController.h"
#include "gameplay/Player.h"
#include "gameplay/Switch.h"
#include "gameplay/TVScreen.h"
#include "platform/GameError.h"
#include "render/Mesh.h"
#include "support/GameplayFixture.h"
#include "support/MapJson.h"
#include "world/AIRegionGraph.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/SectorGraph.h"

namespace mirefell::testing
{
namespace
{

using Json = nlohmann::json;

Json Point(float x, float y)
{
    return {{"x", x}, {"y", y}};
}

// A segment record as the maps write one: four render corners from the top
// of `start` round to the bottom of `start`, two triangles, the bottom-right
// corner at index 2.
Json SegmentRecord(int32_t id, int32_t type, Vector2 start, Vector2 end, float bottom, float top)
{
    const auto corner = [](Vector2 p, float y) { return Json{{"x", p.x}, {"y", y}, {"z", p.y}}; };
    return {{"id", id},
            {"start", Point(start.x, start.y)},
            {"end", Point(end.x, end.y)},
            {"type", type},
            {"bottomY", bottom},
            {"topY", top},
            {"sectorId", 1},
            {"texId", "wall"},
            {"indices", {0, 1, 2, 2, 3, 0}},
            {"vertices", {corner(start, top), corner(end, top), corner(end, bottom), corner(start, bottom)}},
            {"bottomRightIndex", 2},
            {"lightColor", 0xFFFFFF}};
}

// One room, sector 1 over (0,0)-(128,128), floor at 0, ceiling at 64, light
// level 7, its four walls facing in (segments 1 to 4: west, north, east,
// south, clockwise as the maps run); the player starts in the middle facing
// south.
Json RoomDocument()
{
    const Json square = {Point(0, 0), Point(128, 0), Point(128, 128), Point(0, 128)};
    const Json sector = PlainSectorRecord(1, square);
    Json walls = Json::array();
    const Vector2 corners[] = {{0, 0}, {0, 128}, {128, 128}, {128, 0}};
    for (int32_t side = 0; side < 4; ++side)
        walls.push_back(SegmentRecord(side + 1, 0, corners[side], corners[(side + 1) % 4], 0, 64));
    return {{"name", "room"},
            {"playerStartPosition", Point(64, 64)},
            {"sectorLinks", {1, 1}},
            {"layerObjects", {{"0", walls}, {"2", Json::array({sector})}}}};
}

// Sector 2, a door in the east wall's middle, (128,48)-(144,80) from the floor
// to the ceiling, drawn with two of the game's textures; or, as `lift`, an
// elevator there whose top is the floor.
Json MovingSectorRecord(bool lift)
{
    Json sector = PlainSectorRecord(2, {Point(128, 48), Point(144, 48), Point(144, 80), Point(128, 80)});
    sector[lift ? "elevator" : "door"] = true;
    sector[lift ? "elevatorMaxHeight" : "doorMaxHeight"] = 56;
    sector[lift ? "floorTexId" : "ceilTexId"] = "metal";
    sector["sideTexId"] = "red_metal";
    return sector;
}

class MapRecords : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        MapEntityTypes::Initialize();
    }

    Json& Segments() { return room["layerObjects"]["0"]; }
    // The room and the door or elevator beside it, linked.
    Json& AddMovingSector(bool lift)
    {
        room["sectorLinks"] = {1, 1, 1, 2};
        return room["layerObjects"]["2"].emplace_back(MovingSectorRecord(lift));
    }

    // The failure of loading the room as a level; none fails the test.
    GameError LoadFailure()
    {
        std::filesystem::create_directories("assets/maps");
        std::ofstream(MapLoader::MapPath("room")) << room.dump();
        try {
            MapLoader::LoadLevel("room");
        } catch (const GameError& error) {
            return error;
        }
        ADD_FAILURE() << "the room loaded";
        return GameError("");
    }

    // Saves the room as "assets/maps/room.json" in the test's folder, loads
    // it as the game loads a level, builds it and walks the player south
    // into the wall.
    void LoadAndPlay()
    {
        std::filesystem::create_directories("assets/maps");
        std::ofstream(MapLoader::MapPath("room")) << room.dump();
        map = MapLoader::LoadLevel("room");
        BuildLevel(map);
        Hold(KeybindAction::MoveForward, true);
        Step(70); // 64 units at 1.25 a step
        Hold(KeybindAction::MoveForward, false);
        EXPECT_NEAR(player->position.z, Player::BodyHalfExtents.z, 0.05f);
        EXPECT_NEAR(player->position.x, 64.0f, 0.05f);
        EXPECT_NEAR(player->position.y, 7.0f, 0.05f) << "standing on the floor";
    }

    template <class Panel> Panel* FindPanel(int32_t segmentId) const
    {
        for (const auto& object : world->objects)
            if (auto* panel = dynamic_cast<Panel*>(object.get()); panel && panel->segment->id == segmentId)
                return panel;
        return nullptr;
    }

    Json room = RoomDocument();
    MapData map;
};

TEST_F(MapRecords, ASwitchOrAScreenMayNameNoSector)
{
    // On the north wall, facing south; on the east wall, facing west.
    Json panel = SegmentRecord(100, SegmentTypeSwitch, {48, 128}, {80, 128}, 0, 64);
    panel["sectorId"] = 99;
    Segments().push_back(panel);
    Json screen = SegmentRecord(101, SegmentTypeTVScreen, {128, 80}, {128, 48}, 16, 48);
    screen["sectorId"] = 99;
    screen["texId"] = "exit";
    Segments().push_back(screen);
    LoadAndPlay();

    ASSERT_NE(FindPanel<TVScreen>(101), nullptr);
    auto* thrown = dynamic_cast<Switch*>(world->aiRegions->objects.switches.at(100));
    ASSERT_NE(thrown, nullptr);
    // 12 units in front of the switch, facing it (+Z): the use key throws it.
    player->SetPosition(Vector3(64, player->position.y, 116));
    player->SetCells(world->GetCellRange({{61, 113}, {67, 119}}));
    player->controller->SetAngles(90.0f, 90.0f);
    Step();
    ASSERT_EQ(player->usable, static_cast<IUsable*>(thrown));
    Hold(KeybindAction::Use, true);
    Step();
    Hold(KeybindAction::Use, false);
    Step();
    EXPECT_TRUE(thrown->IsOn());
}

TEST_F(MapRecords, AWallCornerThatNamesNoVertexSplitsNothing)
{
    Segments()[0]["bottomRightIndex"] = 7; // four vertices
    Segments()[1]["bottomRightIndex"] = -1;
    Segments()[2].erase("vertices"); // a wall that draws nothing
    Segments()[2].erase("indices");
    Segments()[2]["bottomRightIndex"] = 3;
    LoadAndPlay();

    // No triangle closes at the corner: the wall's first part is empty.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(world->map.segments[static_cast<size_t>(i)].bottomRightIndex, 0) << i;
    // So the west wall's first triangle runs back, u from 2 (128 units is
    // two repeats) to 0; after the floor's and the ceiling's two each.
    const MeshGeometry& geometry = world->sectorGraph.Regions().front().mesh->geometry;
    ASSERT_GE(geometry.triangles.size(), 6u);
    EXPECT_FLOAT_EQ(geometry.triangles[4].uvA.x, 2.0f);
    EXPECT_FLOAT_EQ(geometry.triangles[4].uvB.x, 0.0f);
}

TEST_F(MapRecords, ANegativeColourIsItsUnsigned32Bits)
{
    Json& sector = room["layerObjects"]["2"][0];
    sector["lightColor"] = -1;               // 0xFFFFFFFF
    Segments()[0]["lightColor"] = -16777216; // 0xFF000000
    room["layerObjects"]["5"] = Json::array({{{"id", 1}, {"yOffset", 32}, {"pos", Point(64, 64)}, {"lightColor", -1}}});
    LoadAndPlay();

    EXPECT_EQ(world->map.sectors[0].lightColor, 0xFFFFFFFFu);
    EXPECT_EQ(world->map.segments[0].lightColor, 0xFF000000u);
    EXPECT_EQ(world->map.lights[0].lightColor, 0xFFFFFFFFu);
    // Light level 7 gives 0.49: white becomes 0.49^2.2 = 0.2082 in linear
    // light, the top byte's alpha 0.49; the wall is black with that alpha.
    const MeshGeometry& geometry = world->sectorGraph.Regions().front().mesh->geometry;
    ASSERT_GE(geometry.triangles.size(), 6u);
    const Vector4 floor = geometry.triangles[0].colour;
    EXPECT_NEAR(floor.x, 0.2082f, 1e-4f);
    EXPECT_NEAR(floor.z, 0.2082f, 1e-4f);
    EXPECT_NEAR(floor.w, 0.49f, 1e-6f);
    const Vector4 wall = geometry.triangles[4].colour;
    EXPECT_EQ(wall.x, 0.0f);
    EXPECT_NEAR(wall.w, 0.49f, 1e-6f);
}

TEST_F(MapRecords, APanelWithoutAreaStaysOnItsWallShowingNothing)
{
    // A switch whose ends coincide on the north wall, a screen without
    // height on the east wall.
    Segments().push_back(SegmentRecord(100, SegmentTypeSwitch, {64, 128}, {64, 128}, 0, 64));
    Json screen = SegmentRecord(101, SegmentTypeTVScreen, {128, 80}, {128, 48}, 32, 32);
    screen["texId"] = "exit";
    Segments().push_back(screen);
    LoadAndPlay();

    // Not moved off the wall: the switch is a line from 8 to 16 at (64, 128),
    // the screen a line at height 32 along x 128.
    const Switch* flat = FindPanel<Switch>(100);
    ASSERT_NE(flat, nullptr);
    const std::vector<Vector3>& line = flat->instanceMesh->geometry.positions;
    ASSERT_EQ(line.size(), 6u);
    EXPECT_EQ(line[0], Vector3(64, 16, 128));
    EXPECT_EQ(line[4], Vector3(64, 8, 128));
    const TVScreen* low = FindPanel<TVScreen>(101);
    ASSERT_NE(low, nullptr);
    const std::vector<Vector3>& edge = low->instanceMesh->geometry.positions;
    ASSERT_EQ(edge.size(), 6u);
    EXPECT_EQ(edge[0], Vector3(128, 32, 80));
    EXPECT_EQ(edge[4], Vector3(128, 32, 48));
}

TEST_F(MapRecords, ADoorOrLiftDrawnWithATextureTheGameLacksIsRefusedNamingIt)
{
    const auto refused = [this](bool lift, const char* key, const std::string& name, const char* quoted) {
        room = RoomDocument();
        AddMovingSector(lift)[key] = name;
        const GameError error = LoadFailure();
        EXPECT_STREQ(error.what(), MapLoader::TextureNotFound) << key;
        EXPECT_EQ(error.Detail(), std::string("assets/maps/room.json: layer \"2\" record 1 (id 2), key \"") + key +
                                      "\": no texture is named " + quoted);
    };
    refused(false, "sideTexId", "nosuch", "\"nosuch\"");
    refused(false, "ceilTexId", "red\x1b[31m", "\"red\\x1B[31m\""); // escaped for the terminal
    refused(true, "floorTexId", "", "\"\"");
    refused(true, "sideTexId", "Metal", "\"Metal\""); // names compare exactly

    // What is drawn without a texture may name any: a door's floor, a lift's
    // ceiling, the pieces of a plain coloured door, and the room's floor,
    // ceiling and walls ("floor", "ceil", "wall" are none of the game's).
    room = RoomDocument();
    Json& door = AddMovingSector(false);
    door["floorTexId"] = "nosuch";
    LoadAndPlay();
    EXPECT_NE(FindDoor(2), nullptr);
    world.reset();

    room = RoomDocument();
    Json& lift = AddMovingSector(true);
    lift["ceilTexId"] = "nosuch";
    lift["useVertexColors"] = true;
    lift["floorTexId"] = "nosuch";
    lift["sideTexId"] = "";
    LoadAndPlay();
    EXPECT_NE(FindElevator(2), nullptr);
}

TEST_F(MapRecords, ADoorNeedsAKeyTheGameHas)
{
    AddMovingSector(false)["key"] = 3;
    GameError error = LoadFailure();
    EXPECT_STREQ(error.what(), MapLoader::DoorKeyNotFound);
    EXPECT_EQ(error.Detail(), "assets/maps/room.json: layer \"2\" record 1 (id 2), key \"key\": no key has number 3 "
                              "(0 is none, 1 the red key, 2 the blue key)");
    // Named as the map writes it, not as the byte it is kept in.
    room = RoomDocument();
    AddMovingSector(false)["key"] = -1;
    error = LoadFailure();
    EXPECT_NE(error.Detail().find("no key has number -1 "), std::string::npos) << error.Detail();

    // Only a door reads its key: a lift's is never looked at.
    room = RoomDocument();
    AddMovingSector(true)["key"] = 3;
    LoadAndPlay();
    EXPECT_NE(FindElevator(2), nullptr);
}

} // namespace
} // namespace mirefell::testing
