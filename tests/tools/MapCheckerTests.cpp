// The level checker on tiny maps: each fault it exists for is reported with
// its own message, a sound map passes, and the script's switches and areas
// count towards what can be reached.
#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "LevelSource.h"
#include "MapChecker.h"
#include "MapCompiler.h"
#include "platform/Lookup.h"
#include "world/IElevator.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/MapObjectIndex.h"

namespace mirefell::maptool
{
namespace
{

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Raises elevator 10 when switch 7 is thrown; looks both up at the start.
class LiftScript : public MapScript
{
public:
    using MapScript::MapScript;
    void Start() override
    {
        lift = MapAt(objects->elevators, 10u);
        button = MapAt(objects->switches, 7u);
    }
    void OnSwitchToggled(ISwitch* toggled) override
    {
        if (toggled == button)
            lift->MoveUp();
    }
    IElevator* lift = nullptr;
    ISwitch* button = nullptr;
};

std::unique_ptr<MapScript> MakeLiftScript(MapObjectIndex* objects, IMapScriptToolbox* toolbox)
{
    return std::make_unique<LiftScript>(objects, toolbox);
}

const LevelScriptNeeds LiftNeeds = [] {
    LevelScriptNeeds needs;
    needs.elevators = {10};
    needs.switches = {7};
    return needs;
}();
const LevelScriptCatalogue::Entry LiftEntry{MakeLiftScript, &LiftNeeds};

struct Checked
{
    MapData map;
    std::vector<std::string> problems;
};

Checked Check(const std::string& text, const LevelScriptCatalogue::Entry* script = nullptr)
{
    MapEntityTypes::Initialize();
    const LevelSource source = LevelSource::Parse(text, "tiny.lvl");
    Checked checked{MapLoader::Parse(MapCompiler::CompileToJson(source)), {}};
    checked.problems = MapChecker::Check(checked.map, CheckNotes::From(source), script);
    return checked;
}

// A room, a lift 48 high and the upper room holding the exit.
const char* const LiftLevel = R"(
level tiny
script
start 32,32
wallids 100
room 1 floor=0 ceil=128 : rect 0,0 128,128
lift 10 floor=0 ceil=128 travel=48 : rect 128,32 176,96
room 2 floor=48 ceil=128 : rect 176,0 304,128
switch 7 10 144,32 160,32
thing 9 L 240,64
)";

TEST(MapChecker, ReportsAScriptIdTheMapLacks)
{
    std::string text = LiftLevel;
    text.replace(text.find("switch 7"), 8, "switch 8");
    const Checked checked = Check(text, &LiftEntry);
    EXPECT_THAT(checked.problems, Contains("the script of \"tiny\" needs switch 7, which the map lacks"));
    EXPECT_THAT(checked.problems, Contains("the script of \"tiny\" fails to start on this map: invalid map<K, T> key"));
}

TEST(MapChecker, FollowsTheScriptUpALiftToTheExit)
{
    EXPECT_THAT(Check(LiftLevel, &LiftEntry).problems, IsEmpty());

    // Without the script the lift never moves: the upper room and its exit
    // are out of reach.
    std::string unscripted = LiftLevel;
    unscripted.replace(unscripted.find("script\n"), 7, "");
    EXPECT_THAT(Check(unscripted).problems, ElementsAre("sector 2 cannot be reached from the start",
                                                        "the exit (entity 9 (L)) cannot be reached from the start"));

    // A map that says it has a script the game does not know.
    EXPECT_THAT(Check(LiftLevel).problems,
                Contains("the map sets \"hasScript\" but no level script is named \"tiny\""));
}

TEST(MapChecker, ReportsAnExitOutOfReach)
{
    const Checked checked = Check(R"(
level tiny
start 32,32
wallids 100
room 1 floor=0 ceil=128 : rect 0,0 128,128
room 2 floor=24 ceil=128 : rect 128,0 256,128
ledge 1 2
thing 9 L 192,64
)");
    EXPECT_THAT(checked.problems, ElementsAre("sector 2 cannot be reached from the start",
                                              "the exit (entity 9 (L)) cannot be reached from the start"));
}

TEST(MapChecker, ReportsAKeyBehindItsOwnDoor)
{
    const std::string level = R"(
level tiny
start 32,32
wallids 100
room 1 floor=0 ceil=128 : rect 0,0 128,128
door 2 floor=0 ceil=96 open=88 key=red : rect 128,48 144,80
room 3 floor=0 ceil=128 : rect 144,0 272,128
thing 9 L 240,64
)";
    EXPECT_THAT(Check(level + "thing 5 RK 200,100\n").problems,
                Contains("the red key (entity 5 (RK)) lies behind door 2, which it opens"));
    // The key in the first room: the map passes.
    EXPECT_THAT(Check(level + "thing 5 RK 64,100\n").problems, IsEmpty());
    EXPECT_THAT(Check(level).problems, Contains("door 2 needs the red key, which the map does not hold"));
}

TEST(MapChecker, ReportsDoorsStepsAndRoomsTooLowForTheirUsers)
{
    const Checked checked = Check(R"(
level tiny
start 32,32
wallids 100
room 1 floor=0 ceil=128 : rect 0,0 128,128
door 2 floor=0 ceil=96 open=12 : rect 128,48 144,80
door 3 floor=0 ceil=96 open=16 : rect 48,128 80,144
room 4 floor=0 ceil=128 : rect 144,0 272,128
room 5 floor=0 ceil=128 : rect 0,144 128,272
room 6 floor=12 ceil=27 : rect -128,0 0,128
thing 7 N -64,64
thing 9 L 64,64
)");
    EXPECT_THAT(checked.problems, Contains("door 2 opens only 12 high; the player needs 14"));
    EXPECT_THAT(checked.problems, Contains("door 3 opens only 16 high; monsters need 16.03"));
    EXPECT_THAT(checked.problems, Contains("entity 7 (N) has 15 between floor and ceiling in sector 6; monsters need "
                                           "16.03"));
    EXPECT_THAT(checked.problems, Contains("the step between sectors 1 and 6 is 12 high; monsters climb 6 (declare "
                                           "'ledge 1 6' if monsters are meant to stay apart)"));
    EXPECT_THAT(checked.problems, Contains("sector 4 cannot be reached from the start"));
    EXPECT_THAT(checked.problems, Contains("sector 6 cannot be reached from the start"));

    // A record moved off the map: its position plus its offset lies nowhere.
    MapData moved = checked.map;
    moved.entities[0].pos = {500.0f, 500.0f};
    EXPECT_THAT(MapChecker::Check(moved, {}, nullptr),
                Contains("entity 7 (N) at 503.6,503.6 (its position plus its offset) stands outside every sector"));
}

} // namespace
} // namespace mirefell::maptool
