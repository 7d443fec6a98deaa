#include "shell/Config.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include <nlohmann/json.hpp>

#include "platform/GameError.h"
#include "shell/FileKeeping.h"
#include "shell/SettingRanges.h"

namespace mirefell
{

namespace
{

using Json = nlohmann::json;

// Reads one key into an int field: integers are clamped to the int range,
// floats truncated toward zero and clamped; anything else keeps the field.
bool ReadInt(const Json& value, int32_t& field)
{
    constexpr double lowest = std::numeric_limits<int32_t>::min();
    constexpr double highest = std::numeric_limits<int32_t>::max();
    double number;
    if (value.is_number_unsigned()) {
        const uint64_t u = value.get<uint64_t>();
        field = u > static_cast<uint64_t>(highest) ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(u);
        return true;
    }
    if (value.is_number_integer())
        number = static_cast<double>(value.get<int64_t>());
    else if (value.is_number_float())
        number = std::trunc(value.get<double>());
    else
        return false;
    if (std::isnan(number))
        return false;
    field = number <= lowest    ? std::numeric_limits<int32_t>::min()
            : number >= highest ? std::numeric_limits<int32_t>::max()
                                : static_cast<int32_t>(number);
    return true;
}

// A float field takes any number; one beyond what a float holds becomes an
// infinity, which no range allows.
bool ReadFloat(const Json& value, float& field)
{
    if (!value.is_number())
        return false;
    const double number = value.get<double>();
    if (std::fabs(number) > std::numeric_limits<float>::max())
        field = number > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    else
        field = static_cast<float>(number);
    return true;
}

bool ReadBool(const Json& value, bool& field)
{
    if (!value.is_boolean())
        return false;
    field = value.get<bool>();
    return true;
}

// The range a setting may take: what its options page lets the player choose.
// A value beyond it is held at the limit it passed. The window size has none
// here: sizes the display cannot show are fitted to it when the window is
// made.
template <class T> using Limits = SettingRange<T>;
constexpr Limits<int32_t> AnySize{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
constexpr Limits<bool> AnyFlag{false, true};

// Whether a value below the lowest limit is one the setting means, so that
// holding it at the limit is no change worth a warning: any negative "ssao"
// is off, and -1 is how off is written.
enum class Below
{
    Warns,
    MeansLowest,
};

// The fields in record order with their ranges, shared by reading and writing
// so the two cannot drift apart.
template <class Visitor> void VisitFields(Settings& s, Visitor&& visit)
{
    visit("screenWidth", s.screenWidth, AnySize, Below::Warns);
    visit("screenHeight", s.screenHeight, AnySize, Below::Warns);
    visit("windowed", s.windowed, AnyFlag, Below::Warns);
    visit("borderless", s.borderless, AnyFlag, Below::Warns);
    visit("fov", s.fov, FovRange, Below::Warns);
    visit("vsync", s.vsync, AnyFlag, Below::Warns);
    visit("frameLimiter", s.frameLimiter, AnyFlag, Below::Warns);
    visit("noiseIntensity", s.noiseIntensity, NoiseIntensityRange, Below::Warns); // no page: a strength, 0 to 1
    visit("brightness", s.brightness, BrightnessRange, Below::Warns);
    visit("contrast", s.contrast, ContrastRange, Below::Warns);
    visit("maxBloodDecals", s.maxBloodDecals, BloodDecalsRange, Below::Warns);
    visit("bloom", s.bloom, AnyFlag, Below::Warns);
    visit("fxaa", s.fxaa, AnyFlag, Below::Warns);
    visit("mouseSensitivity", s.mouseSensitivity, MouseSensitivityRange, Below::Warns);
    visit("mouseInvertY", s.mouseInvertY, AnyFlag, Below::Warns);
    visit("ssao", s.ssao, SsaoRange, Below::MeansLowest);
    visit("soundVolume", s.soundVolume, VolumeRange, Below::Warns);
    visit("musicVolume", s.musicVolume, VolumeRange, Below::Warns);
    visit("showHud", s.showHud, AnyFlag, Below::Warns);
    visit("showLevelTimer", s.showLevelTimer, AnyFlag, Below::Warns);
}

bool ReadField(const Json& value, int32_t& field)
{
    return ReadInt(value, field);
}
bool ReadField(const Json& value, float& field)
{
    return ReadFloat(value, field);
}
bool ReadField(const Json& value, bool& field)
{
    return ReadBool(value, field);
}

// One member's value text as the settings file writes it: integers in
// decimal, floats widened to double with "%.17g", flags as true/false.
std::string ValueText(int32_t value)
{
    return std::to_string(value);
}
std::string ValueText(bool value)
{
    return value ? "true" : "false";
}
std::string ValueText(float value)
{
    const double widened = value;
    if (!std::isfinite(widened))
        return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.17g", widened);
    return buffer;
}

std::string RangeText(const Limits<int32_t>& limits)
{
    return std::to_string(limits.lowest) + " to " + std::to_string(limits.highest);
}
std::string RangeText(const Limits<float>& limits)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g to %g", limits.lowest, limits.highest);
    return buffer;
}
std::string RangeText(const Limits<bool>&)
{
    return "";
}
std::string LimitText(int32_t limit)
{
    return std::to_string(limit);
}
std::string LimitText(float limit)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", limit);
    return buffer;
}
std::string LimitText(bool limit)
{
    return limit ? "true" : "false";
}

// The text with every number too large for a double (1e999) written as the
// largest double of its sign instead: the JSON library refuses the whole
// document for one such number, while it only means "as much as there is",
// which the range of its setting then holds at the limit. Strings are left
// alone.
std::string HoldHugeNumbers(const std::string& text)
{
    const auto digits = [&text](size_t j) {
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        return j;
    };
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (inString || c == '"' || (c != '-' && (c < '0' || c > '9'))) {
            if (inString && c == '\\' && i + 1 < text.size())
                out += text[i++]; // the escaped character is copied next
            else if (c == '"')
                inString = !inString;
            out += text[i++];
            continue;
        }
        // A number token: sign, digits, fraction, exponent.
        size_t end = digits(i + (c == '-' ? 1 : 0));
        if (end < text.size() && text[end] == '.')
            end = digits(end + 1);
        if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
            size_t exponent = end + 1;
            if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
                ++exponent;
            end = digits(exponent);
        }
        const std::string token = text.substr(i, end - i);
        if (std::isinf(std::strtod(token.c_str(), nullptr)))
            out += c == '-' ? "-1.7976931348623157e308" : "1.7976931348623157e308";
        else
            out += token;
        i = end;
    }
    return out;
}

// The parse error's own words, without the library's bracketed code.
std::string ParseProblem(const std::string& what)
{
    const size_t close = what.find("] ");
    return close == std::string::npos ? what : what.substr(close + 2);
}

} // namespace

Config& Config::GetInstance()
{
    static Config instance;
    return instance;
}

void Config::Reset()
{
    *this = Config{};
}

std::optional<Settings> Config::FromJson(const std::string& text, std::vector<std::string>* problems)
{
    Json root;
    try {
        root = Json::parse(HoldHugeNumbers(text));
    } catch (const Json::exception& error) {
        if (problems)
            problems->push_back(ParseProblem(error.what()));
        return std::nullopt;
    }
    if (!root.is_object()) {
        if (problems)
            problems->push_back(std::string("JSON, but ") + (root.is_array() ? "an " : "a ") + root.type_name() +
                                " where an object belongs");
        return std::nullopt;
    }
    Settings record;
    VisitFields(record, [&](const char* key, auto& field, const auto& limits, Below below) {
        const auto member = root.find(key);
        if (member == root.end())
            return;
        auto value = field;
        if (!ReadField(*member, value)) {
            if (problems)
                problems->push_back('"' + std::string(key) + "\" (wrong type)");
            return;
        }
        const auto held = value < limits.lowest ? limits.lowest : value > limits.highest ? limits.highest : value;
        if (held != value && problems && !(value < limits.lowest && below == Below::MeansLowest))
            problems->push_back('"' + std::string(key) + "\" (out of range " + RangeText(limits) + ", held at " +
                                LimitText(held) + ")");
        field = held;
    });
    return record;
}

std::string Config::ToJsonString(const Settings& record)
{
    // Members in ascending key order, as a sorted JSON dump gives them.
    Settings copy = record;
    std::vector<std::pair<std::string, std::string>> members;
    VisitFields(copy,
                [&](const char* key, auto& field, const auto&, Below) { members.emplace_back(key, ValueText(field)); });
    std::sort(members.begin(), members.end());

    std::string text = "{\n";
    for (size_t i = 0; i < members.size(); ++i) {
        text += '"' + members[i].first + "\": " + members[i].second;
        text += i + 1 < members.size() ? ", \n" : "\n";
    }
    text += '}';
    return text;
}

void Config::Load(const std::string& path)
{
    untouchablePath.clear();
    const PlayerFile file = ReadPlayerFile(path, LargestFile);
    if (file.status == PlayerFile::Status::Missing)
        return;
    if (file.status == PlayerFile::Status::Unreadable) {
        // It may hold good settings: neither read nor replaced this run, and
        // `settings` keeps what it has (the defaults, at start-up).
        untouchablePath = path;
        std::fprintf(stderr,
                     "%s cannot be read (%s); using the default settings, and the file is left as it is until the "
                     "game starts again\n",
                     path.c_str(), file.problem.c_str());
        return;
    }

    std::vector<std::string> problems;
    const std::optional<Settings> record = FromJson(file.bytes, &problems);
    if (!record) {
        // Keep what the player wrote before the defaults are saved over it.
        const std::string backup = KeepBackupCopy(path, LargestFile);
        std::fprintf(stderr, "%s does not hold a JSON object of settings (%s); using the default settings%s\n",
                     path.c_str(), problems.empty() ? "" : problems.front().c_str(),
                     backup.empty() ? " (could not keep a copy)"
                                    : (" (the old file is kept as " + backup + ")").c_str());
        settings = Settings{};
        return;
    }
    if (!problems.empty()) {
        std::string keys;
        for (const std::string& problem : problems)
            keys += (keys.empty() ? "" : ", ") + problem;
        std::fprintf(stderr, "%s: settings not taken as written: %s\n", path.c_str(), keys.c_str());
    }
    settings = *record;
}

void Config::Save(const std::string& path) const
{
    if (path == untouchablePath)
        return; // said at Load
    try {
        ReplaceFileContents(path, ToJsonString(settings));
    } catch (const GameError& error) {
        std::fprintf(stderr, "%s; the settings were not saved\n", error.Describe().c_str());
    }
}

void Config::ApplyDisplaySettings()
{
    if (pending.screenWidth == settings.screenWidth && pending.screenHeight == settings.screenHeight &&
        pending.windowed == settings.windowed && pending.borderless == settings.borderless) {
        displayDirty = false;
        return;
    }
    const bool wasWindowed = settings.windowed;
    settings.screenWidth = pending.screenWidth;
    settings.screenHeight = pending.screenHeight;
    settings.windowed = pending.windowed;
    settings.borderless = pending.borderless;

    if (settings.windowed) {
        if (!wasWindowed && window)
            window->SetFullscreenState(false);
        if (settings.borderless)
            SetBorderlessStyle();
        else
            SetWindowedStyle();
    } else {
        onEnterFullscreen(); // Game always sets it; an empty one throws bad_function_call
    }
    displayDirty = false;
}

void Config::SetWindowedStyle()
{
    if (window)
        window->SetWindowedStyle(settings.screenWidth, settings.screenHeight);
}

void Config::SetBorderlessStyle()
{
    if (window)
        window->SetBorderlessStyle();
}

void Config::BuildDisplayModeList(const std::vector<DisplayMode>& modes)
{
    displayModes.clear();
    for (const DisplayMode& mode : modes) {
        const DisplaySize size{mode.width, mode.height};
        if (displayModes.empty() || !(displayModes.back() == size))
            displayModes.push_back(size);
    }
}

int32_t Config::GetDisplayModeIndex() const
{
    for (size_t i = 0; i < displayModes.size(); ++i) {
        if (static_cast<int64_t>(displayModes[i].width) == pending.screenWidth &&
            static_cast<int64_t>(displayModes[i].height) == pending.screenHeight)
            return static_cast<int32_t>(i);
    }
    return 0;
}

} // namespace mirefell
