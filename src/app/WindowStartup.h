// WindowStartup: the game window made from the settings at start-up. A size
// the display cannot show opens a window cut to it, while "config.json" keeps
// the size it asked for (a file brought from a larger display is not
// rewritten for good), and a window that cannot be made at the configured
// size is tried once more at the display's size, the file again keeping its
// size, before the start fails, so a bad "config.json" never stops the game
// for good. Owns nothing; the program entry keeps the window.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/WindowLayout.h"

namespace mirefell
{

class Config;
class IGameWindow;

// The display as the program entry sees it before the window exists.
struct DisplayBounds
{
    int32_t screenWidth = 0; // the desktop; 0 when unknown
    int32_t screenHeight = 0;
    int32_t largestModeWidth = 0; // the largest full-screen mode; 0 when none is listed
    int32_t largestModeHeight = 0;
};

// Makes a window in a layout; throws GameError when the window system refuses.
using WindowFactory = std::function<std::unique_ptr<IGameWindow>(const WindowLayout&)>;

// Cuts a configured size the display cannot show in the settings in force:
// to the desktop for a window, to the largest mode (the desktop when none is
// listed) for full screen; the file goes on holding the size it asked for
// (Config::KeepConfiguredWindowSize). Says so in one line on stderr that
// names config.json.
void FitWindowSettings(Config& config, const DisplayBounds& display);

// Makes the window for the current settings through `create` and returns it
// with its `layout`. When the window system refuses and the configured size is
// not the desktop's, one line on stderr says so, the settings take the
// desktop size while "config.json" keeps the size it asks for
// (Config::KeepConfiguredWindowSize), and the window is made once more. A
// failure then throws the window system's GameError with the sizes tried and
// "config.json" in its detail.
std::unique_ptr<IGameWindow> OpenGameWindow(Config& config, const DisplayBounds& display, const WindowFactory& create,
                                            WindowLayout& layout);

} // namespace mirefell
