// The game window as the settings and the shell see it: the display modes of
// the screen and the restyling operations that the options pages and
// Alt+Enter ask for. The SDL implementation lives in the platform layer; tests
// use recording fakes.
#pragma once

#include <cstdint>

namespace mirefell
{

// One mode the display offers, in the order the display lists them: sizes
// ascending, refresh rates of one size together.
struct DisplayMode
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
};

class IWindow
{
public:
    virtual ~IWindow() = default;
    // Enters (true) or leaves (false) exclusive full-screen mode.
    virtual void SetFullscreenState(bool fullscreen) = 0;
    // A bordered window at the top-left corner of the screen whose outer
    // size is width x height, shown normally.
    virtual void SetWindowedStyle(int width, int height) = 0;
    // A borderless window covering the screen.
    virtual void SetBorderlessStyle() = 0;
};

} // namespace mirefell
