// The map script framework: making scripts by level name, the id queries
// over the object index, and the toolbox's lights switch.
#include <gtest/gtest.h>

#include "platform/GameError.h"
#include "platform/Lookup.h"
#include "render/PointLights.h"
#include "support/WorldFixture.h"
#include "world/IElevator.h"
#include "world/LightSource.h"
#include "world/MapObjectIndex.h"
#include "world/MapScript.h"
#include "world/MapScriptToolbox.h"

namespace mirefell
{
namespace
{

class NullDoor : public IDoor
{
public:
    uint32_t GetState() override { return DoorStateClosed; }
    void SetUsable(bool) override {}
    void SetSpeed(float) override {}
    void Open() override {}
    void ForceOpen() override {}
    void Close() override {}
    void SetCycling(bool) override {}
};

class MarkedScript : public MapScript
{
public:
    MarkedScript(MapObjectIndex* objects_, IMapScriptToolbox* toolbox_, int mark_)
        : MapScript(objects_, toolbox_), mark(mark_)
    {}
    int mark;
};

template <int Mark> std::unique_ptr<MapScript> MakeMarked(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<MarkedScript>(objects, toolbox, Mark);
}

TEST(MapScript, QueriesFollowIdOrderSkipMissingIdsAndNeverRepeat)
{
    NullDoor doors[4];
    testing::TestMonster* none = nullptr;
    MapObjectIndex index;
    index.doors = {{3, &doors[0]}, {8, &doors[1]}, {12, &doors[2]}, {40, &doors[3]}};
    index.monsters = {{5, none}};
    MapScript script(&index, nullptr);
    EXPECT_EQ(script.GetDoors({12, 8, 99}), (std::vector<IDoor*>{&doors[1], &doors[2]}));
    EXPECT_EQ(script.GetDoors({40, 40, 3}), (std::vector<IDoor*>{&doors[0], &doors[3]}));
    EXPECT_TRUE(script.GetDoors({}).empty());
    EXPECT_TRUE(script.GetElevators({3, 8}).empty()); // ids of other kinds do not cross over
    EXPECT_EQ(script.GetMonsters({5}).size(), 1u);

    // A single look-up finds its own kind only, and a missing one says which.
    EXPECT_EQ(script.GetDoor(8), &doors[1]);
    try {
        script.GetSwitch(8);
        FAIL();
    } catch (const MissingEntryError& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
        EXPECT_EQ(error.Detail(), "the level script needs the switch whose segment \"id\" is 8, which the map does not "
                                  "have");
    }
    EXPECT_THROW(script.GetPickup(3), std::out_of_range);
}

TEST(MapScript, ScriptsAreMadeByExactLevelName)
{
    MapObjectIndex index;
    const MapScript::MakerTable makers = {{"pentagram", MakeMarked<1>}, {"mouth", MakeMarked<2>}};
    auto made = MapScript::Create(makers, "mouth", &index, nullptr);
    ASSERT_NE(dynamic_cast<MarkedScript*>(made.get()), nullptr);
    EXPECT_EQ(static_cast<MarkedScript*>(made.get())->mark, 2);
    EXPECT_EQ(made->objects, &index);

    for (const char* name : {"Pentagram", "mouth ", "", "testmap"}) {
        try {
            MapScript::Create(makers, name, &index, nullptr);
            FAIL() << "made a script for '" << name << "'";
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), "script doesn't exist");
        }
    }
    EXPECT_THROW(MapScript::Create("no such level", &index, nullptr), GameError);

    // The name comes from the map file: printed, it cannot act on the terminal.
    try {
        MapScript::Create(makers, "mouth\x1b[2J\xff", &index, nullptr);
        ADD_FAILURE();
    } catch (const GameError& error) {
        EXPECT_EQ(
            error.Detail(),
            "the map's \"name\" is \"mouth\\x1B[2J\\xFF\" and it \"hasScript\", but no level script has that name");
    }
}

struct Toolbox : ::testing::Test
{
    Toolbox() : fixture(testing::LoadTestMap()), toolbox(fixture.world.get())
    {
        fixture.AddStaticGeometry();
        PointLights::GetInstance().Clear();
        for (MapLight& light : fixture.world->map.lights)
            LightSource::Create(*fixture.world, light)->SetUp();
        viewLight = &PointLights::GetInstance().Add();
        fixture.world->viewLighting = {viewLight, &ambient};
    }
    ~Toolbox() override { PointLights::GetInstance().Clear(); }

    std::vector<int> MapLightsEnabled()
    {
        std::vector<int> enabled;
        fixture.world->ForEachObject(GridObjectType::LightSource, [&](GridObject* object) {
            enabled.push_back(static_cast<LightSource*>(object)->light->enabled);
        });
        return enabled;
    }

    testing::WorldFixture fixture;
    MapScriptToolbox toolbox;
    PointLight* viewLight = nullptr;
    Vector4 ambient{0.05f, 0.05f, 0.05f, 0.0f};
};

TEST_F(Toolbox, LightsOutDarkensTheMapAndLightsTheViewAndLightsOnUndoesIt)
{
    ASSERT_EQ(MapLightsEnabled(), (std::vector<int>{1, 1, 1, 1}));
    toolbox.LightsOut();
    EXPECT_EQ(MapLightsEnabled(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(viewLight->enabled, 1);
    EXPECT_EQ(ambient.x, 0.0f);
    toolbox.LightsOn();
    EXPECT_EQ(MapLightsEnabled(), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(viewLight->enabled, 0);
    EXPECT_EQ(ambient.x, 0.05f);
}

TEST_F(Toolbox, BlackoutLeavesEverythingAsItIs)
{
    fixture.world->settings.blackout = true;
    viewLight->enabled = 1;
    toolbox.LightsOn();
    EXPECT_EQ(viewLight->enabled, 1);
    toolbox.LightsOut();
    EXPECT_EQ(MapLightsEnabled(), (std::vector<int>{1, 1, 1, 1}));
    EXPECT_EQ(ambient.x, 0.05f);
}

} // namespace
} // namespace mirefell
