#include "shell/Config.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <type_traits>

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
// infinity, which is held as a fault.
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

// A value the file holds is kept as the player wrote it, beyond the range its
// options page steps within or not: the page steps it back into its range at
// the first click. Only a value that would make a fault is held, at the
// page's limit on the side it lies, with a warning: a float that is not
// finite (every float setting), and what each rule below names.
template <class T> struct FaultRule
{
    SettingRange<T> heldAt{};          // where a faulty value is held: the options page's range
    bool (*faulty)(T value) = nullptr; // null: every finite value is sound
    const char* why = "";              // what the value would do, after the value in the warning
};

template <class T> constexpr FaultRule<T> NoFault{};

// At 0 degrees or less the projection divides by zero or turns the picture
// upside down; at 180 or more it collapses it to a point or turns it inside
// out (tried: 0 a grey screen, 180 smears, 200 and -30 upside down). A view
// narrower than a hundredth of a degree draws no picture either: positions
// are floats, good to about one part in 16 million of a level's coordinates,
// a few millionths of a radian as seen from a wall, and once that is the
// whole height of the window the scene falls apart (tried at the first
// level's start: a thousandth and a ten-thousandth of a degree show the wall
// ahead, 1e-5 a band of black that is not there, 1e-9 to 1e-30 the window in
// quarters of wrong colours, 1e-38 a flat grey, its projection infinite).
// The hundredth leaves room for views far from a level's origin and close to
// a wall.
constexpr float SmallestFieldOfView = 0.01f;
bool IsNoFieldOfView(float fov)
{
    return fov < SmallestFieldOfView || fov >= 180.0f;
}
constexpr const char* NoFieldOfView = "is no field of view (at least 0.01 and less than 180 degrees)";
constexpr FaultRule<float> FieldOfViewRule{FovRange, IsNoFieldOfView, NoFieldOfView};

// Every decal slot is made when a level loads, about 500 bytes each with its
// instance record and its share of the GPU buffer: a million slots take half
// a gigabyte (tried: ten million took 5 GB and a third of a second a frame;
// the int range asks for a terabyte and the level load ends in bad_alloc;
// from 29.8 million the instance buffer's 32-bit byte size wraps).
constexpr int32_t MostBloodDecals = 1'000'000;
bool ExhaustsMemory(int32_t decals)
{
    return decals > MostBloodDecals;
}
constexpr FaultRule<int32_t> BloodDecalsRule{BloodDecalsRange, ExhaustsMemory, "decals would not fit in memory"};

// One mouse count turns the view by the sensitivity in degrees. Beyond a
// whole turn no aim is possible, and the yaw, brought back by one turn a
// step, grows without bound until it loses its precision and overflows into
// a view (and a walk) of NaNs.
constexpr float MostDegreesPerCount = 360.0f;
bool TurnsBeyondAWholeTurn(float sensitivity)
{
    return std::fabs(sensitivity) > MostDegreesPerCount;
}
constexpr FaultRule<float> MouseSensitivityRule{MouseSensitivityRange, TurnsBeyondAWholeTurn,
                                                "turns the view more than a whole turn at each mouse count"};

// No fault beyond the float's own: negative volumes are silent, loud ones
// are capped by the mixer; negative noise is none, strong noise is grain.
constexpr FaultRule<float> VolumeRule{VolumeRange};
constexpr FaultRule<float> NoiseIntensityRule{NoiseIntensityRange}; // no page: a strength, 0 to 1
constexpr FaultRule<float> BrightnessRule{BrightnessRange};         // with contrast: LeavesTheMenusLegible
constexpr FaultRule<float> ContrastRule{ContrastRange};

// The fields in record order with their fault rules, shared by reading and
// writing so the two cannot drift apart. The window size and "ssao" have
// none: a size the display cannot show gets a window that fits when the
// window is made, any negative "ssao" is off and any above 3 the highest
// quality.
template <class Visitor> void VisitFields(Settings& s, Visitor&& visit)
{
    visit("screenWidth", s.screenWidth, NoFault<int32_t>);
    visit("screenHeight", s.screenHeight, NoFault<int32_t>);
    visit("windowed", s.windowed, NoFault<bool>);
    visit("borderless", s.borderless, NoFault<bool>);
    visit("fov", s.fov, FieldOfViewRule);
    visit("vsync", s.vsync, NoFault<bool>);
    visit("frameLimiter", s.frameLimiter, NoFault<bool>);
    visit("noiseIntensity", s.noiseIntensity, NoiseIntensityRule);
    visit("brightness", s.brightness, BrightnessRule);
    visit("contrast", s.contrast, ContrastRule);
    visit("maxBloodDecals", s.maxBloodDecals, BloodDecalsRule);
    visit("bloom", s.bloom, NoFault<bool>);
    visit("fxaa", s.fxaa, NoFault<bool>);
    visit("mouseSensitivity", s.mouseSensitivity, MouseSensitivityRule);
    visit("mouseInvertY", s.mouseInvertY, NoFault<bool>);
    visit("ssao", s.ssao, NoFault<int32_t>);
    visit("soundVolume", s.soundVolume, VolumeRule);
    visit("musicVolume", s.musicVolume, VolumeRule);
    visit("showHud", s.showHud, NoFault<bool>);
    visit("showLevelTimer", s.showLevelTimer, NoFault<bool>);
}

// Whether the menus can still be read at a brightness and contrast. Every
// menu text is drawn white over a black outline one and two pixels right and
// down (and a hovered row over a near-black red, display 0.125), so it stands
// out from whatever lies behind it, the dimmed scene or the title, for as
// long as the white of its letters and the black of its outline stay apart.
// The last pass of every frame maps a display value d to (d - 0.5) *
// contrast + 0.5 + brightness, clamped to 0..1: white becomes 0.5 + contrast
// / 2 + brightness, black 0.5 - contrast / 2 + brightness. Seen in the game
// at 1280 x 720: a tenth of the display's range between them (25 of 255
// levels: contrast 0.1, or brightness -0.9 or 0.9 at contrast 1) leaves
// every row that can be clicked legible, the menu over a white-washed scene
// by its outlines alone; at a twentieth the slider values there are barely
// seen, and at one level (contrast 0.0045, the window grey) or three
// (brightness -0.99, the window black) nothing can be read, so the options
// that would undo it cannot be reached. A negative contrast only swaps the
// two.
constexpr double LeastLegibleSpan = 0.1;
bool LeavesTheMenusLegible(float brightness, float contrast)
{
    const double half = 0.5 * static_cast<double>(contrast);
    const double white = std::clamp(0.5 + half + brightness, 0.0, 1.0);
    const double black = std::clamp(0.5 - half + brightness, 0.0, 1.0);
    return std::fabs(white - black) >= LeastLegibleSpan;
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

// A number as the warnings quote it.
std::string WarningText(int32_t value)
{
    return std::to_string(value);
}
std::string WarningText(float value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}
std::string WarningText(bool value)
{
    return value ? "true" : "false";
}

// What makes `value` a fault under `rule`, in the warning's words; empty
// when it is sound.
template <class T> std::string FaultOf(T value, const FaultRule<T>& rule)
{
    if constexpr (std::is_floating_point_v<T>) {
        // JSON has no infinities: one here was a number beyond the float.
        if (std::isinf(value))
            return "beyond the +/-" + WarningText(std::numeric_limits<T>::max()) + " a " +
                   std::to_string(sizeof(T) * 8) + "-bit float holds";
        if (std::isnan(value))
            return "not a number";
    }
    return rule.faulty && rule.faulty(value) ? WarningText(value) + " " + rule.why : std::string();
}

// Brightness and contrast that leave the menus unreadable: held, at its
// page's limit, is the one whose hold alone makes them legible again (a
// value inside its page's range is never at fault, since the pages' own
// values always are); when either would do, the one farther beyond its range
// (both pages step by the same amount); when neither would, both. Returns
// the warning, empty when both are kept.
std::string HoldForTheMenus(float& brightness, float& contrast)
{
    if (LeavesTheMenusLegible(brightness, contrast))
        return {};
    const std::string asked = WarningText(brightness) + " and " + WarningText(contrast);
    const float heldBrightness = BrightnessRange.Clamp(brightness);
    const float heldContrast = ContrastRange.Clamp(contrast);
    const bool brightnessWould = LeavesTheMenusLegible(heldBrightness, contrast);
    const bool contrastWould = LeavesTheMenusLegible(brightness, heldContrast);
    const bool holdBrightness = brightnessWould && (!contrastWould || std::fabs(brightness - heldBrightness) >=
                                                                          std::fabs(contrast - heldContrast));
    const std::string why = " leaves the menus unreadable; held at ";
    if (holdBrightness) {
        const std::string warning = "\"brightness\" (" + WarningText(brightness) + " with contrast " +
                                    WarningText(contrast) + why + WarningText(heldBrightness) + ")";
        brightness = heldBrightness;
        return warning;
    }
    if (contrastWould) {
        const std::string warning = "\"contrast\" (" + WarningText(contrast) + " with brightness " +
                                    WarningText(brightness) + why + WarningText(heldContrast) + ")";
        contrast = heldContrast;
        return warning;
    }
    brightness = heldBrightness;
    contrast = heldContrast;
    return "\"brightness\" and \"contrast\" (" + asked + " leave the menus unreadable; held at " +
           WarningText(brightness) + " and " + WarningText(contrast) + ")";
}

// The text with every number too large for a double (1e999) written as the
// largest double of its sign instead: the JSON library refuses the whole
// document for one such number, while it only means "as much as there is":
// a float setting then reads an infinity, which is held like any other, and
// an int setting its largest value. Strings are left alone.
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
    const auto report = [problems](std::string problem) {
        if (problems)
            problems->push_back(std::move(problem));
    };
    VisitFields(record, [&](const char* key, auto& field, const auto& rule) {
        const auto member = root.find(key);
        if (member == root.end())
            return;
        auto value = field;
        if (!ReadField(*member, value)) {
            report('"' + std::string(key) + "\" (wrong type)");
            return;
        }
        if (const std::string fault = FaultOf(value, rule); !fault.empty()) {
            const auto held = value < rule.heldAt.lowest ? rule.heldAt.lowest : rule.heldAt.highest;
            report('"' + std::string(key) + "\" (" + fault + "; held at " + WarningText(held) + ")");
            value = held;
        }
        field = value;
    });
    if (std::string held = HoldForTheMenus(record.brightness, record.contrast); !held.empty())
        report(std::move(held));
    return record;
}

std::string Config::ToJsonString(const Settings& record)
{
    // Members in ascending key order, as a sorted JSON dump gives them.
    Settings copy = record;
    std::vector<std::pair<std::string, std::string>> members;
    VisitFields(copy, [&](const char* key, auto& field, const auto&) { members.emplace_back(key, ValueText(field)); });
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
        // The file is written again with the defaults and held values in
        // their place: what the player wrote is kept beside it first.
        const std::string backup = KeepBackupCopy(path, LargestFile);
        std::string keys;
        for (const std::string& problem : problems)
            keys += (keys.empty() ? "" : ", ") + problem;
        std::fprintf(stderr, "%s: settings not taken as written: %s%s\n", path.c_str(), keys.c_str(),
                     backup.empty() ? " (could not keep a copy)"
                                    : (" (the file as written is kept as " + backup + ")").c_str());
    }
    settings = *record;
}

void Config::Save(const std::string& path) const
{
    if (path == untouchablePath)
        return; // said at Load
    try {
        ReplaceFileContents(path, ToJsonString(SettingsToWrite()));
    } catch (const GameError& error) {
        std::fprintf(stderr, "%s; the settings were not saved\n", error.Describe().c_str());
    }
}

void Config::KeepConfiguredWindowSize(int32_t width, int32_t height)
{
    fittedWindow = FittedWindow{width, height, settings.screenWidth, settings.screenHeight};
}

void Config::GetConfiguredWindowSize(int32_t& width, int32_t& height) const
{
    const Settings written = SettingsToWrite();
    width = written.screenWidth;
    height = written.screenHeight;
}

Settings Config::SettingsToWrite() const
{
    Settings written = settings;
    if (fittedWindow && settings.screenWidth == fittedWindow->fittedWidth &&
        settings.screenHeight == fittedWindow->fittedHeight) {
        written.screenWidth = fittedWindow->width;
        written.screenHeight = fittedWindow->height;
    }
    return written;
}

void Config::ApplyDisplaySettings()
{
    if (pending.screenWidth == settings.screenWidth && pending.screenHeight == settings.screenHeight &&
        pending.windowed == settings.windowed && pending.borderless == settings.borderless) {
        displayDirty = false;
        return;
    }
    const bool wasWindowed = settings.windowed;
    if (pending.screenWidth != settings.screenWidth || pending.screenHeight != settings.screenHeight)
        fittedWindow.reset(); // the player chose a size: the file holds it
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
