// GameSession: the real game running under the X server the test was given
// (xvfb-run starts one), driven as a player drives it: xdotool moves the
// mouse over the game's window and holds buttons and keys down long enough
// for a step of the game to see them, and ImageMagick's import takes
// pictures of the window. The game runs from a run folder of its own (the
// build's assets and shaders linked in), so the files it writes (config.json,
// binds.bin, saves/) land there.
//
// The game's standard output and error go to "game.log" in the run folder,
// where the test waits for what the game reports (the developer autopilot's
// lines among them).
//
// MenuLayout: where the menus' rows lie in the game's window, computed by
// the game's own menu code for the window's size, so the test clicks the
// rows where the game itself lays them out. HudLayout: the same for the HUD's
// boxes, the inventory window and the automap's inset.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Image.h"
#include "platform/math/Vector.h"

namespace mirefell
{
class IngameMenu;
class MainMenu;
class MenuPanel;
class Painter;
} // namespace mirefell

namespace mirefell::testing
{

// A rectangle of the window, in pixels.
struct Rect
{
    Vector2 position;
    Vector2 size;
    Vector2 Centre() const { return position + size * 0.5f; }
};

class GameSession
{
public:
    // True when an X display is there to run on.
    static bool HaveDisplay();
    // Whether the display keeps what one client left on it for the next,
    // when no other client is connected between them: a display that resets
    // as its last client leaves does not, and refuses clients while it
    // resets.
    static bool DisplayOutlivesItsClients();

    // Makes the run folder with `configJson` as its config.json.
    GameSession(const std::filesystem::path& runFolder, const std::string& configJson);
    // Ends a game still running (killed) and keeps its log in the run folder.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // An environment variable the game is started with.
    void SetEnvironment(const std::string& name, const std::string& value);
    // Starts the game and waits for its window: the window this game's
    // process shows, found by its process id. Returns as soon as the window
    // shows, or as soon as the game ends without one; a start that is merely
    // slow is given minutes. False when no window showed; StartFailure()
    // then says why, with the game's log.
    bool Start();
    const std::string& StartFailure() const { return startFailure; }
    // The game's client area as the X server has it now.
    bool GetWindowSize(int32_t& width, int32_t& height) const;

    // A left click at a point of the window: pressed, held, released.
    void Click(Vector2 point) const;
    // A key (an X keysym name such as "Escape" or "j") pressed, held, released.
    void PressKey(const std::string& keysym) const;
    // Letters typed in quick succession, each a short tap.
    void Type(const std::string& letters) const;
    // Clicks `point` (presses `keysym`) until `taken` holds: after each
    // click it waits up to `patience` for it, and clicks again when the
    // click did not take (a frame that missed it), `attempts` times at most.
    // False when it never held.
    bool ClickUntil(Vector2 point, const std::function<bool()>& taken,
                    std::chrono::milliseconds patience = std::chrono::seconds(20), int attempts = 3) const;
    bool PressKeyUntil(const std::string& keysym, const std::function<bool()>& taken,
                       std::chrono::milliseconds patience = std::chrono::seconds(20), int attempts = 3) const;
    // A picture of the window.
    Image Screenshot() const;
    // The same, also kept as a PNG file.
    Image Screenshot(const std::filesystem::path& file) const;

    // Polls until `condition` holds or `timeout` passes.
    static bool WaitUntil(const std::function<bool()>& condition,
                          std::chrono::milliseconds timeout = std::chrono::seconds(90));
    // Waits until the window shows white text somewhere in `row`.
    bool WaitForText(const Rect& row, std::chrono::milliseconds timeout = std::chrono::seconds(90)) const;
    // Waits for the game to end; its exit code, or -1 when it did not end in
    // time or was ended by a signal.
    int WaitForExit(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    bool IsRunning();

    // What the game has written to its standard output and error so far.
    std::string Log() const;
    // How often `text` occurs in the log.
    size_t LogCount(const std::string& text) const;
    // Waits until the log holds `text` at least `count` times; gives up
    // early when it holds one of `failures` or the game has ended.
    bool WaitForLog(const std::string& text, std::chrono::milliseconds timeout,
                    const std::vector<std::string>& failures = {}, size_t count = 1);
    // Takes pictures until one passes `check`; the last one taken, also kept
    // as `file` when one is named.
    Image WaitForPicture(const std::function<bool(const Image&)>& check, std::chrono::milliseconds timeout,
                         const std::filesystem::path& file = {}) const;

    const std::filesystem::path& Folder() const { return folder; }

private:
    std::filesystem::path folder;
    pid_t pid = -1;
    int exitStatus = 0; // waitpid's status once the game has ended
    std::string windowId;
    std::string startFailure;
    std::vector<std::pair<std::string, std::string>> environment;
};

// Whether the picture holds at least `count` white pixels (text) in the
// rectangle.
bool HasWhiteText(const Image& image, const Rect& rect, int count = 20);
// The smallest rectangle holding every white pixel of `rect`; empty (size
// 0) when there is none.
Rect WhiteBounds(const Image& image, const Rect& rect);
// The bounds of the first line of white text from the top of `rect`: the
// white pixels down to the first row without any; empty when there is none.
Rect FirstWhiteLine(const Image& image, const Rect& rect);
// How many pixels of the rectangle pass `test` (r, g, b).
int CountPixels(const Image& image, const Rect& rect, const std::function<bool(int, int, int)>& test);
// The number of different colours in the picture (a picture of one flat
// colour has one).
size_t ColourCount(const Image& image);
// The lines of white text in the rectangle: runs of pixel rows holding white
// pixels, apart by at least one row without.
int TextLines(const Image& image, const Rect& rect);

// The game's menus built by its own code for a window size, with the save
// slots of the game's run folder: the same rows the game shows, at the same
// places.
class MenuLayout
{
public:
    MenuLayout(const std::filesystem::path& runFolder, int32_t width, int32_t height);
    ~MenuLayout();

    // The row of `page` that reads `text`; a failed test when there is none.
    static Rect Row(const MenuPanel& page, const std::wstring& text);
    // The check box of the toggle row that reads `text`.
    static Rect CheckBox(const MenuPanel& page, const std::wstring& text);
    // The row whose second column reads `text` (the key-binding page).
    static Rect RowByValue(const MenuPanel& page, const std::wstring& text);
    // The sub-page at `index` of a page.
    static MenuPanel& SubPage(const MenuPanel& page, size_t index);

    std::unique_ptr<Painter> painter;
    std::unique_ptr<MainMenu> title;
    std::unique_ptr<IngameMenu> pause;
};

// The HUD's places for a window size, from the widgets' own layout.
struct HudLayout
{
    HudLayout(int32_t width, int32_t height);

    Rect health;    // the health icon
    Rect armour;    // the armour icon
    Rect ammo;      // the ammunition icon
    Rect inventory; // the inventory window's grid (a page of an empty inventory)
    Rect automap;   // the automap's inset
};

} // namespace mirefell::testing
