#include "platform/WindowLayout.h"

#include <algorithm>
#include <tuple>

namespace mirefell
{

WindowLayout ChooseWindowLayout(bool windowed, bool borderless, int32_t width, int32_t height, int32_t screenWidth,
                                int32_t screenHeight)
{
    if (windowed && !borderless)
        return {true, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height};
    if (windowed)
        return {false, 0, 0, screenWidth, screenHeight};
    return {false, 0, 0, width, height};
}

bool FitToDisplay(int32_t& width, int32_t& height, int32_t displayWidth, int32_t displayHeight)
{
    if (width <= 0 || height <= 0 || displayWidth <= 0 || displayHeight <= 0)
        return false;
    const int32_t fittedWidth = std::min(width, displayWidth);
    const int32_t fittedHeight = std::min(height, displayHeight);
    const bool changed = fittedWidth != width || fittedHeight != height;
    width = fittedWidth;
    height = fittedHeight;
    return changed;
}

std::vector<DisplayMode> OrderDisplayModes(std::vector<DisplayMode> modes)
{
    std::erase_if(modes, [](const DisplayMode& mode) { return mode.width == 0 || mode.height == 0; });
    std::stable_sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
        return std::tie(a.width, a.height, a.refreshRate) < std::tie(b.width, b.height, b.refreshRate);
    });
    return modes;
}

} // namespace mirefell
