// MapCompiler: outlines to sectors, shared edges to links and walls, things
// to entity records, and the whole to JSON text.
#include "MapCompiler.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include <nlohmann/json.hpp>

#include "EntityBodies.h"
#include "world/MapEntityTypes.h"

namespace mirefell::maptool
{

namespace
{

using Json = nlohmann::ordered_json;

// Wall quads: [start-top, end-top, end-bottom, start-bottom] in two triangles.
constexpr uint16_t WallIndices[] = {0, 1, 2, 2, 3, 0};
constexpr int32_t WallBottomRightIndex = 2;
constexpr int32_t SwitchType = 5;
constexpr int32_t ScreenType = 4;
constexpr int32_t WallType = 0;
// A switch panel covers the band 8 to 16 above its wall's foot.
constexpr double SwitchBandTop = 16.0;
// Triangle indices are 16-bit; corners are added where neighbours meet an
// edge, so keep well below the limit.
constexpr size_t MaxCorners = 4096;
// Floor and ceiling slabs are this thick.
constexpr double SlabThickness = 8.0;
// Door frames: casings this wide beside the opening, a head this high over
// it, in brass-tinted metal.
constexpr double DoorFrameWidth = 6.0;
constexpr double DoorFrameHead = 8.0;
constexpr const char* DoorFrameTexture = "metal";
constexpr uint32_t DoorFrameColour = 0xD8A848;

[[noreturn]] void Fail(const LevelSource& source, int line, const std::string& message)
{
    throw SourceError(source.path + ":" + std::to_string(line) + ": " + message);
}

std::string Describe(Point p)
{
    std::ostringstream text;
    text << p.x << "," << p.y;
    return text.str();
}

// Exact key of a snapped point (sources snap to 1/256).
std::pair<int64_t, int64_t> Key(Point p)
{
    return {std::llround(p.x * 256.0), std::llround(p.y * 256.0)};
}

double WallFloor(const SourceSector& sector)
{
    if (sector.kind == SectorKind::Lift && sector.low)
        return std::min(sector.floor, *sector.low);
    return sector.floor;
}

double Distance(Point a, Point b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

bool OnClosedSegment(Point p, Point a, Point b)
{
    return SamePoint(p, a) || SamePoint(p, b) || ParameterOnSegment(p, a, b) >= 0.0;
}

bool EvenOddInside(Point p, const std::vector<Point>& polygon)
{
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point a = polygon[i];
        const Point b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

bool OnOutline(Point p, const std::vector<Point>& polygon)
{
    for (size_t i = 0; i < polygon.size(); ++i)
        if (OnClosedSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]))
            return true;
    return false;
}

void CheckIds(const LevelSource& source)
{
    std::map<int32_t, int> sectors, things, lamps, areas, panels;
    const auto claim = [&](std::map<int32_t, int>& used, int32_t id, int line, const char* what) {
        const auto [found, fresh] = used.emplace(id, line);
        if (!fresh)
            Fail(source, line,
                 std::string(what) + " id " + std::to_string(id) + " is already used on line " +
                     std::to_string(found->second));
    };
    for (const SourceSector& sector : source.sectors)
        claim(sectors, sector.id, sector.line, "sector");
    for (const SourceThing& thing : source.things)
        claim(things, thing.id, thing.line, "thing");
    for (const SourceLamp& lamp : source.lamps)
        claim(lamps, lamp.id, lamp.line, "lamp");
    for (const SourceArea& area : source.areas)
        claim(areas, area.id, area.line, "area");
    for (const SourcePanel& panel : source.panels) {
        claim(panels, panel.id, panel.line, "panel");
        if (panel.id >= source.wallIdBase)
            Fail(source, panel.line,
                 "panel ids must lie below the generated wall ids (wallids " + std::to_string(source.wallIdBase) + ")");
    }
}

// Outlines wound counter-clockwise, checked for self-crossing and overlap.
std::vector<CompiledSector> OrientSectors(const LevelSource& source)
{
    std::vector<CompiledSector> sectors;
    for (const SourceSector& from : source.sectors) {
        CompiledSector sector;
        sector.source = &from;
        sector.outline = from.outline;
        if (sector.outline.size() < 3)
            Fail(source, from.line, "a sector needs at least three corners");
        if (sector.outline.size() > MaxCorners)
            Fail(source, from.line, "a sector has at most " + std::to_string(MaxCorners) + " corners");
        if (!IsSimplePolygon(sector.outline))
            Fail(source, from.line, "the outline of sector " + std::to_string(from.id) + " crosses itself");
        const double area = SignedArea2(sector.outline);
        if (std::abs(area) < PointTolerance)
            Fail(source, from.line, "sector " + std::to_string(from.id) + " has no area");
        if (area < 0.0)
            std::reverse(sector.outline.begin(), sector.outline.end());
        if (from.ceil - from.floor <= 0.0)
            Fail(source, from.line, "sector " + std::to_string(from.id) + " has its ceiling at or below its floor");
        sectors.push_back(std::move(sector));
    }
    for (size_t i = 0; i < sectors.size(); ++i)
        for (size_t j = i + 1; j < sectors.size(); ++j)
            if (PolygonsOverlap(sectors[i].outline, sectors[j].outline))
                Fail(source, sectors[j].source->line,
                     "sectors " + std::to_string(sectors[i].source->id) + " and " +
                         std::to_string(sectors[j].source->id) + " overlap");
    return sectors;
}

// Adds to each edge the corners of other sectors that lie on it, so that two
// sectors sharing part of a wall share whole edges.
void SplitEdges(std::vector<CompiledSector>& sectors)
{
    std::vector<std::vector<Point>> corners;
    for (const CompiledSector& sector : sectors)
        corners.push_back(sector.outline);
    for (size_t s = 0; s < sectors.size(); ++s) {
        const std::vector<Point>& outline = corners[s];
        std::vector<Point> split;
        for (size_t i = 0; i < outline.size(); ++i) {
            const Point a = outline[i];
            const Point b = outline[(i + 1) % outline.size()];
            std::vector<std::pair<double, Point>> inserted;
            for (size_t o = 0; o < corners.size(); ++o) {
                if (o == s)
                    continue;
                for (const Point& p : corners[o]) {
                    const double t = ParameterOnSegment(p, a, b);
                    if (t >= 0.0)
                        inserted.emplace_back(t, p);
                }
            }
            std::sort(inserted.begin(), inserted.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
            split.push_back(a);
            for (const auto& [t, p] : inserted)
                if (!SamePoint(p, split.back()))
                    split.push_back(p);
        }
        sectors[s].outline = std::move(split);
    }
}

void FindNeighbours(const LevelSource& source, std::vector<CompiledSector>& sectors)
{
    std::map<std::tuple<int64_t, int64_t, int64_t, int64_t>, int> edges;
    for (size_t s = 0; s < sectors.size(); ++s) {
        const std::vector<Point>& outline = sectors[s].outline;
        for (size_t i = 0; i < outline.size(); ++i) {
            const auto [ax, ay] = Key(outline[i]);
            const auto [bx, by] = Key(outline[(i + 1) % outline.size()]);
            if (!edges.emplace(std::make_tuple(ax, ay, bx, by), static_cast<int>(s)).second)
                Fail(source, sectors[s].source->line,
                     "sector " + std::to_string(sectors[s].source->id) +
                         " runs along another sector's edge the same way");
        }
    }
    for (CompiledSector& sector : sectors) {
        const std::vector<Point>& outline = sector.outline;
        sector.neighbours.assign(outline.size(), -1);
        for (size_t i = 0; i < outline.size(); ++i) {
            const auto [ax, ay] = Key(outline[i]);
            const auto [bx, by] = Key(outline[(i + 1) % outline.size()]);
            const auto found = edges.find(std::make_tuple(bx, by, ax, ay));
            if (found != edges.end())
                sector.neighbours[i] = found->second;
        }
    }
}

std::vector<int32_t> Links(const std::vector<CompiledSector>& sectors)
{
    std::vector<int32_t> links;
    std::set<std::pair<int, int>> seen;
    for (size_t s = 0; s < sectors.size(); ++s)
        for (const int neighbour : sectors[s].neighbours) {
            if (neighbour < 0)
                continue;
            const std::pair<int, int> pair{std::min(static_cast<int>(s), neighbour),
                                           std::max(static_cast<int>(s), neighbour)};
            if (seen.insert(pair).second) {
                links.push_back(sectors[static_cast<size_t>(pair.first)].source->id);
                links.push_back(sectors[static_cast<size_t>(pair.second)].source->id);
            }
        }
    // A sector with no neighbour is named by a link to itself, so that every
    // sector is in the sector graph.
    for (const CompiledSector& sector : sectors)
        if (std::all_of(sector.neighbours.begin(), sector.neighbours.end(), [](int n) { return n < 0; })) {
            links.push_back(sector.source->id);
            links.push_back(sector.source->id);
        }
    return links;
}

// One face of a door's opening: the edge the door shares with the sector in
// front of it, and the height the door's frame runs up to.
struct DoorOpening
{
    Point a, b;
    int facing = -1; // sector index
    double frameTop = 0.0;
};

// Every door but a plain one (a secret drawn as the wall) is framed on both
// faces: casings beside the opening, a head over it and jambs inside it.
std::vector<DoorOpening> DoorOpenings(const std::vector<CompiledSector>& sectors)
{
    std::vector<DoorOpening> openings;
    for (const CompiledSector& sector : sectors) {
        const SourceSector& door = *sector.source;
        if (door.kind != SectorKind::Door || door.plain)
            continue;
        for (size_t i = 0; i < sector.outline.size(); ++i)
            if (sector.neighbours[i] >= 0)
                openings.push_back({sector.outline[i], sector.outline[(i + 1) % sector.outline.size()],
                                    sector.neighbours[i], door.ceil + DoorFrameHead});
    }
    return openings;
}

// Where a wall of `sector` has its end at a corner of a door opening that
// faces the sector: the frame's top there, or 0 when it does not. A wall on
// the opening's line is its casing; one that leaves the corner at an angle
// (the side of a passage as wide as the door) frames it in the same way.
double FrameTopAt(const std::vector<DoorOpening>& openings, int sector, Point end)
{
    for (const DoorOpening& opening : openings)
        if (opening.facing == sector && (SamePoint(end, opening.a) || SamePoint(end, opening.b)))
            return opening.frameTop;
    return 0.0;
}

void AddWalls(const LevelSource& source, const std::vector<CompiledSector>& sectors, CompiledLevel& level)
{
    const std::vector<DoorOpening> openings = DoorOpenings(sectors);
    int32_t nextId = source.wallIdBase;
    for (size_t s = 0; s < sectors.size(); ++s) {
        const CompiledSector& sector = sectors[s];
        const SourceSector& own = *sector.source;
        const double floor = WallFloor(own);
        const double ceil = own.ceil;
        const auto add = [&](Point start, Point end, double bottom, double top, bool frame) {
            if (top - bottom <= PointTolerance)
                return;
            CompiledSegment wall;
            wall.id = nextId++;
            wall.type = WallType;
            wall.start = start;
            wall.end = end;
            wall.bottom = bottom;
            wall.top = top;
            wall.sectorId = own.id;
            wall.tex = own.style.wallTex;
            wall.colour = own.style.wallColour.value_or(own.style.colour);
            for (const SourcePaint& paint : source.paints) {
                if (paint.sector && *paint.sector != own.id)
                    continue;
                if (OnClosedSegment(start, paint.a, paint.b) && OnClosedSegment(end, paint.a, paint.b)) {
                    wall.tex = paint.tex;
                    if (paint.colour)
                        wall.colour = *paint.colour;
                }
            }
            if (frame) {
                wall.tex = DoorFrameTexture;
                wall.colour = DoorFrameColour;
            }
            level.segments.push_back(std::move(wall));
        };
        // A wall piece of a room beside a door opening: its stretch next to
        // the opening (at each end that meets one of its corners) is the
        // opening's casing, up to the frame's top.
        const auto addBeside = [&](Point start, Point end, double bottom, double top) {
            const double length = Distance(start, end);
            const double topAtStart = FrameTopAt(openings, static_cast<int>(s), start);
            const double topAtEnd = FrameTopAt(openings, static_cast<int>(s), end);
            const double casing = std::min(DoorFrameWidth, length / (topAtStart > 0.0 && topAtEnd > 0.0 ? 2.0 : 1.0));
            const Point along{(end.x - start.x) / length, (end.y - start.y) / length};
            Point from = start;
            Point to = end;
            if (topAtStart > 0.0) {
                from = {start.x + along.x * casing, start.y + along.y * casing};
                add(start, from, bottom, std::clamp(topAtStart, bottom, top), true);
                add(start, from, std::clamp(topAtStart, bottom, top), top, false);
            }
            if (topAtEnd > 0.0) {
                to = {end.x - along.x * casing, end.y - along.y * casing};
                add(to, end, bottom, std::clamp(topAtEnd, bottom, top), true);
                add(to, end, std::clamp(topAtEnd, bottom, top), top, false);
            }
            if (Distance(from, to) > PointTolerance)
                add(from, to, bottom, top, false);
        };
        // A door's own walls are the jambs of its frame.
        const bool jambs = own.kind == SectorKind::Door && !own.plain;
        const std::vector<Point>& outline = sector.outline;
        for (size_t i = 0; i < outline.size(); ++i) {
            // Counter-clockwise edge a->b; its wall runs b->a, facing in.
            const Point a = outline[i];
            const Point b = outline[(i + 1) % outline.size()];
            const int neighbour = sector.neighbours[i];
            if (neighbour < 0) {
                if (jambs)
                    add(b, a, floor, ceil, true);
                else
                    addBeside(b, a, floor, ceil);
                continue;
            }
            const SourceSector& other = *sectors[static_cast<size_t>(neighbour)].source;
            const double otherFloor = WallFloor(other);
            if (otherFloor > floor) {
                if (jambs)
                    add(b, a, floor, std::min(otherFloor, ceil), true); // a door's side against a higher floor
                else
                    addBeside(b, a, floor, std::min(otherFloor, ceil));
            }
            if (other.ceil < ceil) {
                // Over a framed door the lintel's foot is the frame's head.
                const bool head = other.kind == SectorKind::Door && !other.plain;
                const double bottom = std::max(other.ceil, floor);
                const double split = head ? std::min(bottom + DoorFrameHead, ceil) : bottom;
                add(b, a, bottom, split, true);
                add(b, a, split, ceil, false);
            }
        }
    }
}

void AddPanels(const LevelSource& source, CompiledLevel& level)
{
    const size_t wallCount = level.segments.size();
    for (const SourcePanel& panel : source.panels) {
        const CompiledSegment* wall = nullptr;
        for (size_t w = 0; w < wallCount && !wall; ++w) {
            const CompiledSegment& candidate = level.segments[w];
            if (candidate.sectorId == panel.sector && OnClosedSegment(panel.a, candidate.start, candidate.end) &&
                OnClosedSegment(panel.b, candidate.start, candidate.end))
                wall = &candidate;
        }
        if (!wall)
            Fail(source, panel.line,
                 "no wall of sector " + std::to_string(panel.sector) + " runs from " + Describe(panel.a) + " to " +
                     Describe(panel.b));
        // Run the way the wall runs, so the panel faces the same room.
        const Point direction{wall->end.x - wall->start.x, wall->end.y - wall->start.y};
        const auto along = [&](Point p) {
            return (p.x - wall->start.x) * direction.x + (p.y - wall->start.y) * direction.y;
        };
        CompiledSegment added;
        added.id = panel.id;
        added.start = along(panel.a) <= along(panel.b) ? panel.a : panel.b;
        added.end = along(panel.a) <= along(panel.b) ? panel.b : panel.a;
        added.sectorId = panel.sector;
        added.colour = wall->colour;
        if (panel.kind == PanelKind::Switch) {
            const double base = panel.base.value_or(wall->bottom);
            if (base < wall->bottom || base + SwitchBandTop > wall->top)
                Fail(source, panel.line, "switch " + std::to_string(panel.id) + " does not fit on its wall");
            added.type = SwitchType;
            added.bottom = base;
            added.top = base + SwitchBandTop;
            added.tex = "switch_off";
        } else {
            if (panel.bottom < wall->bottom || panel.top > wall->top || panel.top <= panel.bottom)
                Fail(source, panel.line, "screen " + std::to_string(panel.id) + " does not fit on its wall");
            added.type = ScreenType;
            added.bottom = panel.bottom;
            added.top = panel.top;
            added.tex = panel.tex;
        }
        level.segments.push_back(std::move(added));
    }
}

void PlaceThings(const LevelSource& source, CompiledLevel& level)
{
    for (const SourceThing& thing : source.things) {
        const MapEntityType* type = MapEntityTypes::Find(thing.code);
        if (!type)
            Fail(source, thing.line, "unknown thing code '" + thing.code + "'");
        const int sector = level.SectorAt(thing.at);
        if (sector < 0)
            Fail(source, thing.line, "thing " + std::to_string(thing.id) + " stands outside every sector");
        const EntityBody body = BodyOf(*type);
        CompiledEntity entity;
        entity.source = &thing;
        entity.pos = {thing.at.x - body.spawnOffset.x, thing.at.y - body.spawnOffset.z};
        entity.y = level.sectors[static_cast<size_t>(sector)].source->floor;
        level.entities.push_back(entity);
    }
    for (const SourceLamp& lamp : source.lamps) {
        const int sector = level.SectorAt(lamp.at);
        if (sector < 0)
            Fail(source, lamp.line, "lamp " + std::to_string(lamp.id) + " stands outside every sector");
        // The source gives the light's height above the floor.
        const SourceSector& under = *level.sectors[static_cast<size_t>(sector)].source;
        const double middle = (under.floor - SlabThickness + under.ceil) * 0.5;
        level.lampOffsets.push_back(under.floor + lamp.height - middle);
    }
    if (level.SectorAt(source.start) < 0)
        throw SourceError(source.path + ": the start lies outside every sector");
}

// Whole numbers stay whole in the text; others keep their 1/256 steps.
Json Number(double value)
{
    if (value == std::floor(value) && std::abs(value) < 1e9)
        return static_cast<int64_t>(value);
    return value;
}

Json PointJson(Point p)
{
    return Json{{"x", Number(p.x)}, {"y", Number(p.y)}};
}

Json SectorJson(const CompiledSector& sector)
{
    const SourceSector& from = *sector.source;
    Json points = Json::array();
    for (const Point& p : sector.outline)
        points.push_back(PointJson(p));
    Json record;
    record["id"] = from.id;
    record["vertices"] = points;
    record["indices"] = sector.triangles;
    record["floorBottomY"] = Number(from.floor - SlabThickness);
    record["floorTopY"] = Number(from.floor);
    record["ceilBottomY"] = Number(from.ceil);
    record["ceilTopY"] = Number(from.ceil + SlabThickness);
    record["ceiling"] = from.ceiling;
    record["door"] = from.kind == SectorKind::Door;
    record["doorMaxHeight"] = Number(from.open);
    record["elevator"] = from.kind == SectorKind::Lift;
    record["elevatorMaxHeight"] = Number(from.travel);
    record["floorTexId"] = from.style.floorTex;
    record["ceilTexId"] = from.style.ceilTex;
    record["sideTexId"] = from.kind == SectorKind::Room ? std::string() : from.style.sideTex;
    record["lightLevel"] = from.style.light;
    record["lightColor"] = from.style.colour;
    record["collisionVertices"] = points;
    record["collisionIndices"] = sector.triangles;
    record["useVertexColors"] = from.plain;
    record["ceilingCatColor"] = from.style.ceilColour;
    record["teleportInID"] = 0;
    record["teleportOutID"] = 0;
    if (from.kind == SectorKind::Door)
        record["key"] = from.key;
    return record;
}

Json SegmentJson(const CompiledSegment& segment)
{
    const auto corner = [](Point p, double height) {
        return Json{{"x", Number(p.x)}, {"y", Number(height)}, {"z", Number(p.y)}};
    };
    Json record;
    record["id"] = segment.id;
    record["start"] = PointJson(segment.start);
    record["end"] = PointJson(segment.end);
    record["type"] = segment.type;
    record["bottomY"] = Number(segment.bottom);
    record["topY"] = Number(segment.top);
    record["sectorId"] = segment.sectorId;
    record["texId"] = segment.tex;
    record["indices"] = WallIndices;
    record["vertices"] = Json::array({corner(segment.start, segment.top), corner(segment.end, segment.top),
                                      corner(segment.end, segment.bottom), corner(segment.start, segment.bottom)});
    record["bottomRightIndex"] = WallBottomRightIndex;
    record["lightColor"] = segment.colour;
    return record;
}

} // namespace

int CompiledLevel::SectorAt(Point p) const
{
    for (size_t s = 0; s < sectors.size(); ++s)
        if (!OnOutline(p, sectors[s].outline) && EvenOddInside(p, sectors[s].outline))
            return static_cast<int>(s);
    return -1;
}

CompiledLevel MapCompiler::Compile(const LevelSource& source)
{
    CheckIds(source);
    CompiledLevel level;
    level.sectors = OrientSectors(source);
    SplitEdges(level.sectors);
    FindNeighbours(source, level.sectors);
    for (CompiledSector& sector : level.sectors) {
        try {
            sector.triangles = Triangulate(sector.outline);
        } catch (const std::runtime_error& error) {
            Fail(source, sector.source->line, "sector " + std::to_string(sector.source->id) + ": " + error.what());
        }
    }
    level.links = Links(level.sectors);
    AddWalls(source, level.sectors, level);
    AddPanels(source, level);
    PlaceThings(source, level);
    return level;
}

std::string MapCompiler::ToJson(const LevelSource& source, const CompiledLevel& level)
{
    std::vector<Json> segments, sectors, entities, areas, lights;
    for (const CompiledSegment& segment : level.segments)
        segments.push_back(SegmentJson(segment));
    for (const CompiledSector& sector : level.sectors)
        sectors.push_back(SectorJson(sector));
    for (const CompiledEntity& entity : level.entities) {
        const SourceThing& thing = *entity.source;
        Json record;
        record["id"] = thing.id;
        record["pos"] = PointJson(entity.pos);
        record["type"] = thing.code;
        record["y"] = Number(entity.y);
        record["isStatic"] = thing.isStatic;
        record["rotation"] = Number(thing.rotation);
        record["lootTableId"] = thing.loot;
        entities.push_back(std::move(record));
    }
    for (const SourceArea& area : source.areas) {
        Json record;
        record["name"] = area.name;
        record["id"] = area.id;
        record["start"] = PointJson({std::min(area.a.x, area.b.x), std::min(area.a.y, area.b.y)});
        record["end"] = PointJson({std::max(area.a.x, area.b.x), std::max(area.a.y, area.b.y)});
        areas.push_back(std::move(record));
    }
    for (size_t l = 0; l < source.lamps.size(); ++l) {
        const SourceLamp& lamp = source.lamps[l];
        Json record;
        record["id"] = lamp.id;
        record["yOffset"] = Number(level.lampOffsets[l]);
        record["pos"] = PointJson(lamp.at);
        record["lightColor"] = lamp.colour;
        lights.push_back(std::move(record));
    }

    // One record per line keeps the file readable and its diffs small.
    std::string text = "{\n";
    text += " \"name\": " + Json(source.name).dump() + ",\n";
    text += " \"playerStartPosition\": " + PointJson(source.start).dump() + ",\n";
    text += " \"sectorLinks\": " + Json(level.links).dump() + ",\n";
    text += " \"hasScript\": " + Json(source.hasScript).dump() + ",\n";
    text += " \"layerObjects\": {\n";
    const std::pair<const char*, const std::vector<Json>*> layers[] = {
        {"0", &segments}, {"2", &sectors}, {"3", &entities}, {"4", &areas}, {"5", &lights}};
    for (size_t l = 0; l < std::size(layers); ++l) {
        const auto& [key, records] = layers[l];
        text += std::string("  \"") + key + "\": [";
        for (size_t r = 0; r < records->size(); ++r)
            text += std::string(r == 0 ? "\n" : ",\n") + "   " + (*records)[r].dump();
        text += records->empty() ? "]" : "\n  ]";
        text += l + 1 < std::size(layers) ? ",\n" : "\n";
    }
    text += " }\n}\n";
    return text;
}

} // namespace mirefell::maptool
