// Program entry: the game's folder, the settings, the window system, the
// Game and its window, then the main loop until the window is closed. Any
// error that escapes is printed, shown in a message box when a display
// exists, and ends the process with a non-zero exit code.
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>
#include <vector>

#include "app/Autopilot.h"
#include "app/Core.h"
#include "app/DeveloperRun.h"
#include "app/Game.h"
#include "app/GameFolder.h"
#include "app/MessageLoop.h"
#include "app/WindowStartup.h"
#include "platform/EventPump.h"
#include "platform/GameError.h"
#include "platform/GameWindow.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/SystemSleepEvents.h"
#include "platform/VideoSystem.h"
#include "platform/WindowLayout.h"
#include "shell/Config.h"

namespace mirefell
{
namespace
{

constexpr const char* Title = "mirefell";
constexpr const char* NoResetNotification =
    "the graphics driver gives no reset notification: a GPU reset will not be noticed";

int RunGame()
{
    // Before the settings are read or written: they belong in the game's
    // folder, never in whatever folder the player started from.
    GameFolder::Enter();
    Config& config = Config::GetInstance();
    config.Load();
    VideoSystem video;
    const std::vector<DisplayMode> modes = VideoSystem::GetDisplayModes();
    if (config.WantsDisplaySize())
        Game::QueryDefaultScreenSize(modes, config.settings.screenWidth, config.settings.screenHeight);
    DisplayBounds display;
    if (!VideoSystem::GetScreenSize(display.screenWidth, display.screenHeight)) {
        display.screenWidth = config.settings.screenWidth;
        display.screenHeight = config.settings.screenHeight;
    }
    if (!modes.empty()) {
        display.largestModeWidth = static_cast<int32_t>(modes.back().width);
        display.largestModeHeight = static_cast<int32_t>(modes.back().height);
    }
    // The window opens at a size the display can show; the file keeps the
    // size it asked for.
    FitWindowSettings(config, display);
    config.Save(); // every start writes the complete key set
    SeedRand(static_cast<uint32_t>(std::time(nullptr)));
    // The developer's aids, off unless their variables are set (the
    // autopilot: MIREFELL_AUTOPILOT names a route file); read before the
    // window opens, so a bad value or file stops the start at once.
    DeveloperRun developer = DeveloperRun::FromEnvironment();
    std::unique_ptr<Autopilot> autopilot = Autopilot::FromEnvironment();

    // Declared before the Game so that the Game, which leaves full screen
    // through it, is destroyed first.
    std::unique_ptr<IGameWindow> window;
    auto game = std::make_unique<Game>();

    WindowLayout layout;
    window = OpenGameWindow(
        config, display,
        [](const WindowLayout& wanted) {
            auto made = std::make_unique<GameWindow>(Title, wanted);
            made->SetCursorVisible(false); // the menus draw their own cursor
            if (!made->HasResetNotification())
                std::fprintf(stderr, "%s: %s\n", Title, NoResetNotification);
            return made;
        },
        layout);
    config.window = window.get();
    game->Initialize(window.get(), layout.width, layout.height);
    game->SetAutopilot(std::move(autopilot));
    if (developer.Active()) {
        developer.Start();
        game->onFramePresented = [&developer, &game] {
            std::string line;
            if (developer.AfterFrame(game->GetCore()->GetWorld(), line)) {
                std::printf("%s\n", line.c_str());
                std::fflush(stdout);
                EventPump::PostQuit();
            }
        };
    }

    EventPump events;
    SystemSleepEvents sleep; // silent where there is no system bus
    MessageLoop loop(*game, events, &sleep);
    loop.Run();

    game.reset(); // saves the settings
    config.window = nullptr;
    return 0;
}

void ReportFatalError(const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", Title, message.c_str());
    ShowErrorMessageBox(Title, message);
}

} // namespace
} // namespace mirefell

int main()
{
    using namespace mirefell;
    try {
        return RunGame();
    } catch (const GameError& error) {
        ReportFatalError(error.Describe());
    } catch (const std::exception& error) {
        ReportFatalError(error.what());
    }
    return 1;
}
