// Config: the process-wide settings. It owns the settings in force, the
// pending copy the options pages edit, the display sizes the screen offers,
// and non-owning pointers through which the options pages reach the running
// program. The record lives in "config.json": read once at start-up, written
// back at start-up and at shutdown.
//
// Reading is lenient: a missing file or key keeps the default, a key of the
// wrong type keeps its default (the others still load), and a number is kept
// as written, beyond the range its options page steps within or not, unless
// it would make a fault (a number that is not finite, a field of view that
// draws no picture, more blood decals than memory holds, a mouse turning more
// than a whole turn a count, a brightness or contrast that leaves the menus
// unreadable): that one alone is held at the page's limit. A file that is not a JSON
// object gives all defaults. Before a file is written again with anything
// the player did not write (a default or a held value), it is kept as
// "config.json.bak" (or the next free numbered backup), so nothing the player
// wrote is lost. Something that cannot be read at all (no permission, a
// folder, a pipe, a device, a file far larger than any settings) gives the
// defaults and is not written over in that run. Each problem is reported in
// one line on stderr, naming the file.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Window.h"

namespace mirefell
{

class World;
class Camera;
class PostFXChain;

// The settings record; the JSON keys are the field names.
struct Settings
{
    int32_t screenWidth = -1; // -1 or less: the size of the display
    int32_t screenHeight = -1;
    bool windowed = true;
    bool borderless = true; // windowed only: a borderless window over the screen
    float fov = 90.0f;      // degrees
    bool vsync = true;
    bool frameLimiter = true; // with vsync off, at most 180 frames a second
    float noiseIntensity = 0.25f;
    float brightness = 0.0f;
    float contrast = 1.0f;
    int32_t maxBloodDecals = 1000;
    bool bloom = true;
    bool fxaa = true;
    float mouseSensitivity = 0.35f;
    bool mouseInvertY = false;
    int32_t ssao = 1; // negative: off; the renderer clamps to 0..3
    float soundVolume = 0.5f;
    float musicVolume = 0.5f;
    bool showHud = true;
    bool showLevelTimer = false;

    bool operator==(const Settings&) const = default;
};

// One size the display offers.
struct DisplaySize
{
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const DisplaySize&) const = default;
};

class Config
{
public:
    static constexpr const char* FileName = "config.json";
    // The largest config.json read; the game writes about 500 bytes.
    static constexpr uint64_t LargestFile = 1u << 20;

    static Config& GetInstance();

    // Reads the file into `settings`; a missing file leaves `settings` as it
    // is. Never throws for a bad file (see the class comment).
    void Load(const std::string& path = FileName);
    // Writes `settings` whole (with the window size the file asked for, see
    // KeepConfiguredWindowSize), through a temporary file renamed over the
    // old one; a failure is reported on stderr and leaves the old file intact.
    // Writes nothing to a path that Load found unreadable.
    void Save(const std::string& path = FileName) const;

    // A record from JSON text: defaults for absent keys and for keys of the
    // wrong type, numbers as written except those that would make a fault,
    // held at their options page's limit; nullopt when the text is not a JSON
    // object. Each key not taken as written is described in `problems` when
    // given, as its quoted name and the reason; with nullopt, `problems` says
    // why the text is no object.
    static std::optional<Settings> FromJson(const std::string& text, std::vector<std::string>* problems = nullptr);
    // The file text: one member per line in key order, "{" and "}" alone on
    // the first and last line, no line break at the end.
    static std::string ToJsonString(const Settings& record);

    // Takes the display fields of `pending` over into `settings` and restyles
    // the window or enters full screen accordingly.
    void ApplyDisplaySettings();
    void SetWindowedStyle();
    void SetBorderlessStyle();
    // The distinct sizes of a display-mode list, in its order (adjacent
    // duplicates removed: a display lists the rates of one size together).
    void BuildDisplayModeList(const std::vector<DisplayMode>& modes);
    // Index of pending's size in `displayModes`, 0 when absent.
    int32_t GetDisplayModeIndex() const;

    // The window opened at the size in `settings`, not at the `width` x
    // `height` the file asked for: the display cannot show that size, or the
    // window system refused it.
    // Save writes the size asked for in place of the size in use for as long
    // as `settings` holds the latter, so a file brought from a larger display
    // keeps its size; applying another size from the options ends it.
    void KeepConfiguredWindowSize(int32_t width, int32_t height);
    // The window size Save writes: the one the file asked for while the
    // window is open at another (KeepConfiguredWindowSize), else the one in
    // `settings`.
    void GetConfiguredWindowSize(int32_t& width, int32_t& height) const;

    // True when the configured size means "use the display's size": -1, or
    // any non-positive width or height.
    bool WantsDisplaySize() const { return settings.screenWidth <= 0 || settings.screenHeight <= 0; }

    // Back to the state after construction (for tests).
    void Reset();

    Settings settings;
    Settings pending;
    std::function<void()> onEnterFullscreen; // set by Game: full screen at the configured size
    World* world = nullptr;                  // the current level, null between levels
    Camera* camera = nullptr;                // the main camera, for live field-of-view changes
    PostFXChain* postFX = nullptr;           // for live post-effect changes
    IWindow* window = nullptr;               // the game window; also carries the full-screen state
    std::vector<DisplaySize> displayModes;
    bool displayDirty = false;

private:
    // The settings as the file is to hold them.
    Settings SettingsToWrite() const;

    std::string untouchablePath; // what Load found but could not read
    struct FittedWindow
    {
        int32_t width, height;             // asked for by the file
        int32_t fittedWidth, fittedHeight; // in use
    };
    std::optional<FittedWindow> fittedWindow;
};

} // namespace mirefell
