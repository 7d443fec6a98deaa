// Window arithmetic that needs no window: where the game window goes and how
// large it is for the display settings, and the order of the display-mode
// list. Kept pure so the rules are tested without a display.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Window.h"

namespace mirefell
{

struct WindowLayout
{
    bool bordered = false; // a frame and title bar (windowed, not borderless)
    int32_t x = 0;         // top-left corner of the client area on the screen
    int32_t y = 0;
    int32_t width = 0; // client size, which is also the first back-buffer size
    int32_t height = 0;

    bool operator==(const WindowLayout&) const = default;
};

// Windowed and not borderless: a bordered window of the configured client
// size, centred on the screen by its client size (signed division, so a
// client larger than the screen gets a negative position). Windowed and
// borderless: a borderless window at the origin as large as the screen,
// whatever size is configured. Not windowed: a borderless window of the
// configured size at the origin, which the Game then makes full screen.
WindowLayout ChooseWindowLayout(bool windowed, bool borderless, int32_t width, int32_t height, int32_t screenWidth,
                                int32_t screenHeight);

// Fits a configured window size to the display: a side longer than the
// display's (`displayWidth` x `displayHeight`) is cut to it. Non-positive
// sizes (they mean "the display's size") and an unknown display (a side of 0
// or less) are left alone. Returns whether anything changed.
bool FitToDisplay(int32_t& width, int32_t& height, int32_t displayWidth, int32_t displayHeight);

// The modes in the order the game expects: sizes ascending (width, then
// height), the refresh rates of one size together and ascending, so the last
// mode is the largest. Modes of zero size are dropped.
std::vector<DisplayMode> OrderDisplayModes(std::vector<DisplayMode> modes);

} // namespace mirefell
