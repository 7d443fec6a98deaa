// LevelSource: the line parser of the level source text.
#include "LevelSource.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace mirefell::maptool
{

namespace
{

constexpr double DegreesToRadians = 3.14159265358979323846 / 180.0;

class LineReader
{
public:
    LineReader(const std::string& path_, int line_, std::vector<std::string> words_)
        : path(path_), line(line_), words(std::move(words_))
    {
        // Split "key=value" words from the positional ones.
        for (const std::string& word : words) {
            const size_t equals = word.find('=');
            if (equals != std::string::npos && equals > 0)
                options[word.substr(0, equals)] = word.substr(equals + 1);
            else
                positional.push_back(word);
        }
    }

    [[noreturn]] void Fail(const std::string& message) const
    {
        throw SourceError(path + ":" + std::to_string(line) + ": " + message);
    }

    size_t Count() const { return positional.size(); }
    const std::string& Verb() const { return positional.empty() ? words[0] : positional[0]; }
    const std::string& Word(size_t i) const
    {
        if (i >= positional.size())
            Fail("'" + Verb() + "' needs more values");
        return positional[i];
    }

    double Number(const std::string& text) const
    {
        size_t used = 0;
        double value = 0.0;
        try {
            value = std::stod(text, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != text.size() || !std::isfinite(value))
            Fail("'" + text + "' is not a number");
        return value;
    }
    int32_t Integer(const std::string& text) const
    {
        const double value = Number(text);
        if (value != std::floor(value) || std::abs(value) > 2147483647.0)
            Fail("'" + text + "' is not a whole number");
        return static_cast<int32_t>(value);
    }
    uint32_t Colour(const std::string& text) const
    {
        if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            Fail("'" + text + "' is not a colour RRGGBB");
        return static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    }

    Point ParsePoint(const std::string& text, Point centre) const
    {
        const size_t at = text.find('@');
        if (at != std::string::npos) {
            const double radius = Number(text.substr(0, at));
            const double angle = Number(text.substr(at + 1)) * DegreesToRadians;
            return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
        }
        const size_t comma = text.find(',');
        if (comma == std::string::npos)
            Fail("'" + text + "' is not a point x,y or r@a");
        return {Number(text.substr(0, comma)), Number(text.substr(comma + 1))};
    }

    bool Has(const std::string& key) const { return options.contains(key); }
    const std::string& Option(const std::string& key) const
    {
        const auto found = options.find(key);
        if (found == options.end())
            Fail("'" + Verb() + "' needs " + key + "=");
        used.push_back(key);
        return found->second;
    }
    // Fails on a key=value that no reader asked for.
    void CheckAllUsed() const
    {
        for (const auto& [key, value] : options)
            if (std::find(used.begin(), used.end(), key) == used.end())
                Fail("unknown setting '" + key + "'");
    }
    void Use(const std::string& key) const { used.push_back(key); }

    const std::string& path;
    int line;
    std::vector<std::string> words;
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    mutable std::vector<std::string> used;
};

// A route point as the route keeps it (in floats, as the map does).
Vector2 ToVector2(Point p)
{
    return {static_cast<float>(p.x), static_cast<float>(p.y)};
}

// Rounds to 1/256 so that a point written twice lands on the same value.
Point Snap(Point p)
{
    return {std::round(p.x * 256.0) / 256.0, std::round(p.y * 256.0) / 256.0};
}

void ReadStyle(const LineReader& reader, SectorStyle& style)
{
    if (reader.Has("light"))
        style.light = reader.Integer(reader.Option("light"));
    if (reader.Has("colour"))
        style.colour = reader.Colour(reader.Option("colour"));
    if (reader.Has("ceilcolour"))
        style.ceilColour = reader.Colour(reader.Option("ceilcolour"));
    if (reader.Has("wallcolour"))
        style.wallColour = reader.Colour(reader.Option("wallcolour"));
    if (reader.Has("floortex"))
        style.floorTex = reader.Option("floortex");
    if (reader.Has("ceiltex"))
        style.ceilTex = reader.Option("ceiltex");
    if (reader.Has("walltex"))
        style.wallTex = reader.Option("walltex");
    if (reader.Has("sidetex"))
        style.sideTex = reader.Option("sidetex");
}

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::istringstream stream(line);
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

} // namespace

LevelSource LevelSource::Parse(const std::string& text, const std::string& path)
{
    LevelSource source;
    source.path = path;
    SectorStyle defaults;
    Point centre;
    bool haveStart = false;

    std::istringstream lines(text);
    std::string raw;
    for (int number = 1; std::getline(lines, raw); ++number) {
        const size_t hash = raw.find('#');
        if (hash != std::string::npos)
            raw.erase(hash);
        // The outline of a sector follows a ':' word.
        std::vector<std::string> outlineWords;
        const size_t colon = raw.find(':');
        if (colon != std::string::npos) {
            outlineWords = SplitWords(raw.substr(colon + 1));
            raw.erase(colon);
        }
        std::vector<std::string> words = SplitWords(raw);
        if (words.empty())
            continue;
        const LineReader reader(path, number, words);
        const std::string& verb = reader.Word(0);
        const auto point = [&](size_t i) { return Snap(reader.ParsePoint(reader.Word(i), centre)); };
        if (colon != std::string::npos && verb != "room" && verb != "door" && verb != "lift")
            reader.Fail("only sectors take an outline after ':'");

        if (verb == "level") {
            source.name = reader.Word(1);
        } else if (verb == "script") {
            source.hasScript = true;
        } else if (verb == "start") {
            source.start = point(1);
            haveStart = true;
        } else if (verb == "centre") {
            centre = point(1);
        } else if (verb == "wallids") {
            source.wallIdBase = reader.Integer(reader.Word(1));
        } else if (verb == "defaults") {
            ReadStyle(reader, defaults);
        } else if (verb == "room" || verb == "door" || verb == "lift") {
            SourceSector sector;
            sector.line = number;
            sector.kind = verb == "room" ? SectorKind::Room : verb == "door" ? SectorKind::Door : SectorKind::Lift;
            sector.id = reader.Integer(reader.Word(1));
            sector.style = defaults;
            ReadStyle(reader, sector.style);
            sector.floor = reader.Number(reader.Option("floor"));
            sector.ceil = reader.Number(reader.Option("ceil"));
            for (size_t i = 2; i < reader.Count(); ++i) {
                const std::string& flag = reader.Word(i);
                if (flag == "noceiling")
                    sector.ceiling = false;
                else if (flag == "plain")
                    sector.plain = true;
                else if (flag == "nowalk")
                    sector.walkable = false;
                else
                    reader.Fail("unknown flag '" + flag + "'");
            }
            if (sector.kind == SectorKind::Door) {
                sector.open = reader.Number(reader.Option("open"));
                if (reader.Has("key")) {
                    const std::string& key = reader.Option("key");
                    if (key != "red" && key != "blue")
                        reader.Fail("a key is red or blue");
                    sector.key = key == "red" ? 1 : 2;
                }
            }
            if (sector.kind == SectorKind::Lift) {
                sector.travel = reader.Number(reader.Option("travel"));
                if (reader.Has("low"))
                    sector.low = reader.Number(reader.Option("low"));
            }
            if (outlineWords.empty())
                reader.Fail("a sector needs ': <points>' or ': rect <point> <point>'");
            const auto outlinePoint = [&](const std::string& word) { return Snap(reader.ParsePoint(word, centre)); };
            if (outlineWords[0] == "rect") {
                if (outlineWords.size() != 3)
                    reader.Fail("rect takes two corners");
                const Point a = outlinePoint(outlineWords[1]);
                const Point b = outlinePoint(outlineWords[2]);
                sector.outline = {{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}};
            } else {
                for (const std::string& word : outlineWords)
                    sector.outline.push_back(outlinePoint(word));
            }
            reader.CheckAllUsed();
            source.sectors.push_back(std::move(sector));
            continue;
        } else if (verb == "paint") {
            SourcePaint paint{number, point(1), point(2), reader.Option("tex"), {}, {}};
            if (reader.Has("colour"))
                paint.colour = reader.Colour(reader.Option("colour"));
            if (reader.Has("sector"))
                paint.sector = reader.Integer(reader.Option("sector"));
            source.paints.push_back(std::move(paint));
        } else if (verb == "switch" || verb == "screen") {
            SourcePanel panel;
            panel.line = number;
            panel.kind = verb == "switch" ? PanelKind::Switch : PanelKind::Screen;
            panel.id = reader.Integer(reader.Word(1));
            panel.sector = reader.Integer(reader.Word(2));
            panel.a = point(3);
            panel.b = point(4);
            if (panel.kind == PanelKind::Switch && reader.Has("base"))
                panel.base = reader.Number(reader.Option("base"));
            if (panel.kind == PanelKind::Screen) {
                panel.bottom = reader.Number(reader.Option("bottom"));
                panel.top = reader.Number(reader.Option("top"));
                panel.tex = reader.Option("tex");
            }
            source.panels.push_back(std::move(panel));
        } else if (verb == "thing") {
            SourceThing thing;
            thing.line = number;
            thing.id = reader.Integer(reader.Word(1));
            thing.code = reader.Word(2);
            thing.at = point(3);
            if (reader.Has("rot"))
                thing.rotation = reader.Number(reader.Option("rot"));
            if (reader.Has("loot"))
                thing.loot = reader.Integer(reader.Option("loot"));
            for (size_t i = 4; i < reader.Count(); ++i) {
                if (reader.Word(i) != "static")
                    reader.Fail("unknown flag '" + reader.Word(i) + "'");
                thing.isStatic = true;
            }
            source.things.push_back(std::move(thing));
        } else if (verb == "lamp") {
            source.lamps.push_back({number, reader.Integer(reader.Word(1)), point(2),
                                    reader.Number(reader.Option("height")), reader.Colour(reader.Option("colour"))});
        } else if (verb == "area") {
            source.areas.push_back({number, reader.Integer(reader.Word(1)), reader.Word(2), point(3), point(4)});
        } else if (verb == "ledge") {
            source.ledges.emplace_back(reader.Integer(reader.Word(1)), reader.Integer(reader.Word(2)));
        } else if (verb == "route") {
            RouteStep step;
            step.line = number;
            const std::string& action = reader.Word(1);
            if (action == "walk") {
                step.action = RouteAction::Walk;
                step.at = ToVector2(point(2));
            } else if (action == "use") {
                step.action = RouteAction::Use;
                step.at = ToVector2(point(2));
            } else if (action == "switch") {
                step.action = RouteAction::Switch;
                step.id = reader.Integer(reader.Word(2));
            } else if (action == "wait") {
                step.action = RouteAction::Wait;
                step.steps = reader.Integer(reader.Word(2));
            } else if (action == "lift") {
                step.action = RouteAction::Lift;
                step.id = reader.Integer(reader.Word(2));
                const std::string& end = reader.Word(3);
                if (end != "top" && end != "bottom")
                    reader.Fail("a lift stops at its top or bottom");
                step.top = end == "top";
            } else if (action == "door") {
                step.action = RouteAction::Door;
                step.id = reader.Integer(reader.Word(2));
                if (reader.Word(3) != "open")
                    reader.Fail("route door <id> open");
            } else {
                reader.Fail("unknown route action '" + action + "'");
            }
            source.route.push_back(step);
        } else {
            reader.Fail("unknown directive '" + verb + "'");
        }
        reader.CheckAllUsed();
    }
    if (source.name.empty())
        throw SourceError(path + ": no 'level <name>' line");
    if (!haveStart)
        throw SourceError(path + ": no 'start <point>' line");
    return source;
}

LevelSource LevelSource::Load(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw SourceError(path + ": cannot be read");
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str(), path);
}

const SourceSector* LevelSource::FindSector(int32_t id) const
{
    for (const SourceSector& sector : sectors)
        if (sector.id == id)
            return &sector;
    return nullptr;
}

} // namespace mirefell::maptool
