// LevelSource: a level as its author writes it, before compilation into the
// map JSON the game reads. The text form is line based; '#' starts a
// comment. Points are "x,y" in the map plane (y up), or "r@a": radius r at a
// degrees around the last "centre" (counter-clockwise from +x). Heights are
// world y.
//
//   level <name>                  the level id; the map's "name"
//   script                        the level has a level script
//   start <point>                 where the player starts (facing -y)
//   centre <point>                origin of polar points that follow
//   wallids <n>                   first id of generated wall segments
//   defaults <key=value>...       sector settings for the sectors that follow
//   room|door|lift <id> <key=value>... : <points> | rect <point> <point>
//       floor= ceil= light= colour= ceilcolour= wallcolour= floortex=
//       ceiltex= walltex= sidetex=; noceiling; plain (door or lift drawn
//       untextured); nowalk (nobody is meant to stand there).
//       door: open= (how far it rises) key=red|blue.
//       lift: travel= (rise above its floor) low= (lowest top it is ever
//       sent to by a script, for its shaft walls).
//   paint <point> <point> tex=<name> [colour=] [sector=<id>]
//                                 walls on that line get the texture
//   switch <id> <sector> <point> <point> [base=]
//                                 base: the height the panel's band is
//                                 measured from (8 to 16 above it); the
//                                 foot of its wall when not given
//   screen <id> <sector> <point> <point> bottom= top= tex=
//   thing <id> <code> <point> [rot=] [loot=] [static]
//                                 the point is where the thing stands
//   lamp <id> <point> height= colour=
//                                 height: of the light above its sector's
//                                 floor
//   area <id> <name> <point> <point>
//   ledge <sector> <sector>       a step above 6 that keeps monsters out
//   route walk <point> | use <point> | switch <id> | wait <steps>
//       | lift <id> top|bottom | door <id> open
//                                 the authored way from start to exit
//                                 (app/Route.h; its steps name their line)
//
// Colours are hexadecimal RRGGBB. Parse errors name the file and line.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "PlanarGeometry.h"
#include "app/Route.h"

namespace mirefell::maptool
{

class SourceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum class SectorKind
{
    Room,
    Door,
    Lift,
};

struct SectorStyle
{
    int32_t light = 7;
    uint32_t colour = 0xFFFFFF;
    uint32_t ceilColour = 0x808080;
    std::optional<uint32_t> wallColour; // the floor colour when unset
    std::string floorTex = "brown";
    std::string ceilTex = "metal";
    std::string wallTex = "wall";
    std::string sideTex = "metal";
};

struct SourceSector
{
    int line = 0;
    SectorKind kind = SectorKind::Room;
    int32_t id = 0;
    std::vector<Point> outline;
    double floor = 0.0;
    double ceil = 0.0;
    bool ceiling = true;
    bool plain = false;
    bool walkable = true;
    double open = 0.0;   // door: rise when open
    uint8_t key = 0;     // door: 1 red, 2 blue
    double travel = 0.0; // lift: rise above its floor
    std::optional<double> low;
    SectorStyle style;
};

struct SourcePaint
{
    int line = 0;
    Point a, b;
    std::string tex;
    std::optional<uint32_t> colour;
    std::optional<int32_t> sector;
};

enum class PanelKind
{
    Switch,
    Screen,
};

struct SourcePanel
{
    int line = 0;
    PanelKind kind = PanelKind::Switch;
    int32_t id = 0;
    int32_t sector = 0;
    Point a, b;
    std::optional<double> base; // switch only
    double bottom = 0.0;        // screen only
    double top = 0.0;
    std::string tex;
};

struct SourceThing
{
    int line = 0;
    int32_t id = 0;
    std::string code;
    Point at;
    double rotation = 0.0;
    int32_t loot = 0;
    bool isStatic = false;
};

struct SourceLamp
{
    int line = 0;
    int32_t id = 0;
    Point at;
    double height = 0.0;
    uint32_t colour = 0xFFFFFF;
};

struct SourceArea
{
    int line = 0;
    int32_t id = 0;
    std::string name;
    Point a, b;
};

struct LevelSource
{
    std::string path;
    std::string name;
    bool hasScript = false;
    Point start;
    int32_t wallIdBase = 1;
    std::vector<SourceSector> sectors;
    std::vector<SourcePaint> paints;
    std::vector<SourcePanel> panels;
    std::vector<SourceThing> things;
    std::vector<SourceLamp> lamps;
    std::vector<SourceArea> areas;
    std::vector<std::pair<int32_t, int32_t>> ledges;
    std::vector<RouteStep> route; // the level's name is `name`

    // Reads a source text; `path` names it in error messages.
    static LevelSource Parse(const std::string& text, const std::string& path);
    static LevelSource Load(const std::string& path);

    const SourceSector* FindSector(int32_t id) const;
};

} // namespace mirefell::maptool
