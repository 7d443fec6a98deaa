// Switches and TV screens of the test map: where their panels stand, what
// the use key and the level script see, and the picture the build refuses.
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "gameplay/FirstPersonController.h"
#include "gameplay/SegmentPanel.h"
#include "gameplay/Switch.h"
#include "gameplay/TVScreen.h"
#include "platform/GameError.h"
#include "render/Mesh.h"
#include "support/GameplayFixture.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/MapScript.h"

namespace mirefell::testing
{
namespace
{

// Counts the switch hook's calls and remembers the state each one saw.
class SwitchWatcher final : public MapScript
{
public:
    explicit SwitchWatcher(MapObjectIndex* objects_) : MapScript(objects_, nullptr) {}
    void OnSwitchToggled(ISwitch* thrown) override
    {
        ++calls;
        lastSeenOn = thrown->IsOn();
    }
    int calls = 0;
    bool lastSeenOn = false;
};

class Panels : public TestMapTest
{
protected:
    // Builds the level with a watching script; `wall` is the switch.
    void Build()
    {
        BuildLevel(map);
        auto watching = std::make_unique<SwitchWatcher>(&world->aiRegions->objects);
        watcher = watching.get();
        world->aiRegions->script = std::move(watching);
        wall = dynamic_cast<Switch*>(world->aiRegions->objects.switches.at(100));
        ASSERT_NE(wall, nullptr);
    }
    // The segment of the test map with this id.
    MapSegment& Segment(int32_t id)
    {
        for (MapSegment& segment : map.segments)
            if (segment.id == id)
                return segment;
        throw std::out_of_range("no such segment");
    }
    template <class Thrown> static std::string MessageOf(Thrown&& attempt)
    {
        try {
            attempt();
        } catch (const GameError& error) {
            return error.Describe();
        }
        return "nothing thrown";
    }

    SwitchWatcher* watcher = nullptr;
    Switch* wall = nullptr;
};

TEST_F(Panels, TheSwitchPanelIsAnEightUnitBandHalfAUnitInFrontOfItsWall)
{
    Build();
    // The hall's north wall at map y 128, from 0 up to 160: the band runs
    // 8..16, the quad stands at z 127.5 on the hall's side.
    EXPECT_FLOAT_EQ(wall->segment->bottomY, 8.0f);
    EXPECT_FLOAT_EQ(wall->segment->topY, 16.0f);
    EXPECT_EQ(wall->box.min, Vector3(200, 8, 128));
    EXPECT_EQ(wall->box.max, Vector3(232, 16, 128));
    const Mesh& panel = *wall->instanceMesh;
    ASSERT_EQ(panel.geometry.positions.size(), 6u);
    for (const Vector3& corner : panel.geometry.positions) {
        EXPECT_FLOAT_EQ(corner.z, 127.5f);
        EXPECT_TRUE(corner.y == 8.0f || corner.y == 16.0f);
    }
    EXPECT_EQ(panel.geometry.positions[0], Vector3(200, 16, 127.5f));
    EXPECT_EQ(panel.geometry.triangles[0].uvA, Vector2(1, 0));
    EXPECT_EQ(panel.geometry.triangles[1].uvB, Vector2(0, 1));
    EXPECT_EQ(panel.subKind, MeshSubKindBlended);
    EXPECT_EQ(panel.textureName, "switch_off");
    EXPECT_EQ(panel.parent->parent, &root) << "the panel is drawn with the level";
}

TEST_F(Panels, EachUseTogglesThePictureAndCallsTheScriptOnceTurnOnIsSilent)
{
    Build();
    wall->Use();
    EXPECT_TRUE(wall->IsOn());
    EXPECT_EQ(wall->instanceMesh->textureName, "switch_on");
    EXPECT_EQ(watcher->calls, 1);
    EXPECT_TRUE(watcher->lastSeenOn) << "the script sees the new state";

    wall->Use();
    EXPECT_FALSE(wall->IsOn());
    EXPECT_EQ(wall->instanceMesh->textureName, "switch_off");
    EXPECT_EQ(watcher->calls, 2);

    wall->TurnOn();
    EXPECT_TRUE(wall->IsOn());
    EXPECT_EQ(wall->instanceMesh->textureName, "switch_on");
    EXPECT_EQ(watcher->calls, 2);
}

TEST_F(Panels, ThePlayerThrowsTheSwitchInFrontOfItWithTheUseKey)
{
    Build();
    // In the hall, 12 units from the switch, facing it (+Z).
    player->SetPosition(Vector3(216, player->position.y, 116));
    player->SetCells(world->GetCellRange({{213, 113}, {219, 119}}));
    player->controller->SetAngles(90.0f, 90.0f);
    Step();
    ASSERT_EQ(player->usable, static_cast<IUsable*>(wall));
    Hold(KeybindAction::Use, true);
    Step();
    Hold(KeybindAction::Use, false);
    Step(3);
    EXPECT_TRUE(wall->IsOn());
    EXPECT_EQ(watcher->calls, 1) << "one press, one throw";
}

TEST_F(Panels, ATVScreenShowsItsSegmentsTextureOnItsUnchangedWall)
{
    MapSegment& screen = Segment(1); // a wall of the start room
    screen.type = SegmentTypeTVScreen;
    screen.texId = "exit";
    const MapSegment before = screen;
    BuildLevel(map);
    TVScreen* tv = nullptr;
    for (const auto& object : world->objects)
        if (auto* found = dynamic_cast<TVScreen*>(object.get()))
            tv = found;
    ASSERT_NE(tv, nullptr);
    EXPECT_EQ(tv->typeMask, GridObjectType::TVScreen);
    EXPECT_TRUE(tv->registered);
    EXPECT_EQ(tv->instanceMesh->textureName, "exit");
    EXPECT_FLOAT_EQ(tv->segment->bottomY, before.bottomY);
    EXPECT_FLOAT_EQ(tv->segment->topY, before.topY);
    // Half a unit off the wall, towards the side the quad faces (into the
    // room, which the walls face).
    const Vector3 along(before.end.x - before.start.x, 0, before.end.y - before.start.y);
    const Vector3 intoRoom = Vector3(along.z, 0, -along.x).Normalized();
    const Vector3 onWall(before.start.x, before.topY, before.start.y);
    EXPECT_EQ(tv->instanceMesh->geometry.positions[0], onWall + intoRoom * 0.5f);
}

TEST(SegmentPanel, AQuadTallerThanAFloatHoldsStillStandsHalfAUnitOff)
{
    // From -3e38 to 3e38: the quad's edges and their cross product pass a
    // float's range, the panel still stands 0.5 off the wall at x 128,
    // towards -X, where the wall running towards -Z faces.
    MapSegment screen;
    screen.start = {128, 80};
    screen.end = {128, 48};
    screen.bottomY = -3e38f;
    screen.topY = 3e38f;
    const std::unique_ptr<Mesh> panel = BuildSegmentPanelMesh(screen);
    for (const Vector3& corner : panel->geometry.positions) {
        EXPECT_EQ(corner.x, 127.5f);
        EXPECT_TRUE(corner.y == 3e38f || corner.y == -3e38f) << corner.y;
    }
    EXPECT_EQ(panel->geometry.positions[0].z, 80.0f);
}

TEST_F(Panels, AScreenWithAnUnknownPictureIsAnInvalidMap)
{
    MapSegment& screen = Segment(1);
    screen.type = SegmentTypeTVScreen;
    screen.texId = "no_such_picture";
    EXPECT_EQ(MessageOf([&] { BuildLevel(map); }),
              "invalid map - panel texture not found (segment 1, texture \"no_such_picture\")");
    // The name is the file's: quoted escaped, it cannot act on the terminal.
    screen.texId = "\x1b]0;title\x07\xff";
    EXPECT_EQ(MessageOf([&] { BuildLevel(map); }),
              "invalid map - panel texture not found (segment 1, texture \"\\x1B]0;title\\x07\\xFF\")");
}

} // namespace
} // namespace mirefell::testing
