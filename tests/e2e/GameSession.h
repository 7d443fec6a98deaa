// GameSession: the real game running under the X server the test was given
// (xvfb-run starts one), driven as a player drives it: xdotool moves the
// mouse over the game's window and holds buttons and keys down long enough
// for a step of the game to see them, and ImageMagick's import takes
// pictures of the window. The game runs from a run folder of its own (the
// build's assets and shaders linked in), so the files it writes (config.json,
// binds.bin, saves/) land there.
//
// MenuLayout: where the menus' rows lie in the game's window, computed by
// the game's own menu code for the window's size, so the test clicks the
// rows where the game itself lays them out.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

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

    // Makes the run folder with `configJson` as its config.json.
    GameSession(const std::filesystem::path& runFolder, const std::string& configJson);
    // Ends a game still running (killed) and keeps its log in the run folder.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Starts the game and waits for its window; false when none shows up.
    bool Start();
    // The game's client area as the X server has it now.
    bool GetWindowSize(int32_t& width, int32_t& height) const;

    // A left click at a point of the window: pressed, held, released.
    void Click(Vector2 point) const;
    // A key (an X keysym name such as "Escape" or "j") pressed, held, released.
    void PressKey(const std::string& keysym) const;
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

    const std::filesystem::path& Folder() const { return folder; }

private:
    std::filesystem::path folder;
    pid_t pid = -1;
    int exitStatus = 0; // waitpid's status once the game has ended
    std::string windowId;
};

// Whether the picture holds at least `count` white pixels (text) in the
// rectangle.
bool HasWhiteText(const Image& image, const Rect& rect, int count = 20);

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

} // namespace mirefell::testing
