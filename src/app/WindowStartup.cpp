#include "app/WindowStartup.h"

#include <cstdio>
#include <string>

#include "platform/GameError.h"
#include "platform/IGameWindow.h"
#include "shell/Config.h"

namespace mirefell
{

namespace
{

std::string SizeText(int32_t width, int32_t height)
{
    return std::to_string(width) + "x" + std::to_string(height);
}

WindowLayout LayoutFor(const Settings& settings, const DisplayBounds& display)
{
    return ChooseWindowLayout(settings.windowed, settings.borderless, settings.screenWidth, settings.screenHeight,
                              display.screenWidth, display.screenHeight);
}

} // namespace

void FitWindowSettings(Config& config, const DisplayBounds& display)
{
    Settings& settings = config.settings;
    int32_t limitWidth = display.screenWidth, limitHeight = display.screenHeight;
    if (!settings.windowed && display.largestModeWidth > 0 && display.largestModeHeight > 0) {
        limitWidth = display.largestModeWidth;
        limitHeight = display.largestModeHeight;
    }
    const int32_t askedWidth = settings.screenWidth, askedHeight = settings.screenHeight;
    const std::string asked = SizeText(askedWidth, askedHeight);
    if (FitToDisplay(settings.screenWidth, settings.screenHeight, limitWidth, limitHeight)) {
        config.KeepConfiguredWindowSize(askedWidth, askedHeight);
        std::fprintf(stderr, "%s: a %s window is larger than the display; it opens at %s, and the file keeps %s\n",
                     Config::FileName, asked.c_str(), SizeText(settings.screenWidth, settings.screenHeight).c_str(),
                     asked.c_str());
    }
}

std::unique_ptr<IGameWindow> OpenGameWindow(Config& config, const DisplayBounds& display, const WindowFactory& create,
                                            WindowLayout& layout)
{
    Settings& settings = config.settings;
    const std::string asked = SizeText(settings.screenWidth, settings.screenHeight);
    // The size the file asks for, which may be larger than `settings` says
    // (cut to the display before).
    int32_t fileWidth = 0, fileHeight = 0;
    config.GetConfiguredWindowSize(fileWidth, fileHeight);
    layout = LayoutFor(settings, display);
    try {
        return create(layout);
    } catch (const GameError& error) {
        const bool displaySized = display.screenWidth <= 0 || display.screenHeight <= 0 ||
                                  (layout.width == display.screenWidth && layout.height == display.screenHeight);
        if (displaySized)
            throw GameError(error.what(), error.Detail() + "; " + Config::FileName + " asks for a " + asked +
                                              " window, the display's size");
        std::fprintf(
            stderr, "%s: a %s window cannot be made (%s); trying the display's size %s, and the file keeps %s\n",
            Config::FileName, SizeText(layout.width, layout.height).c_str(), error.Detail().c_str(),
            SizeText(display.screenWidth, display.screenHeight).c_str(), SizeText(fileWidth, fileHeight).c_str());
    }
    // The refusal may be this run's alone (short of memory, a driver's
    // limit): the window opens at the display's size for this run only.
    settings.screenWidth = display.screenWidth;
    settings.screenHeight = display.screenHeight;
    config.KeepConfiguredWindowSize(fileWidth, fileHeight);
    layout = LayoutFor(settings, display);
    try {
        return create(layout);
    } catch (const GameError& error) {
        throw GameError(error.what(), error.Detail() + "; " + Config::FileName + " asked for a " + asked +
                                          " window, and the display's size " +
                                          SizeText(display.screenWidth, display.screenHeight) + " failed too");
    }
}

} // namespace mirefell
