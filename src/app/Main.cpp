// Program entry: the settings, the window system, the Game and its window,
// then the main loop until the window is closed. Any error that escapes is
// printed, shown in a message box when a display exists, and ends the
// process with a non-zero exit code.
#include <cstdio>
#include <ctime>
#include <exception>
#include <memory>

#include "app/Game.h"
#include "app/MessageLoop.h"
#include "platform/EventPump.h"
#include "platform/GameError.h"
#include "platform/GameWindow.h"
#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "platform/VideoSystem.h"
#include "platform/WindowLayout.h"
#include "shell/Config.h"

namespace mirefell
{
namespace
{

constexpr const char* Title = "mirefell";

int RunGame()
{
    Config& config = Config::GetInstance();
    config.Load();
    VideoSystem video;
    if (config.WantsDisplaySize())
        Game::QueryDefaultScreenSize(VideoSystem::GetDisplayModes(), config.settings.screenWidth,
                                     config.settings.screenHeight);
    config.Save(); // every start writes the complete key set
    SeedRand(static_cast<uint32_t>(std::time(nullptr)));

    // Declared before the Game so that the Game, which leaves full screen
    // through it, is destroyed first.
    std::unique_ptr<GameWindow> window;
    auto game = std::make_unique<Game>();

    const Settings& settings = config.settings;
    int32_t screenWidth = settings.screenWidth;
    int32_t screenHeight = settings.screenHeight;
    VideoSystem::GetScreenSize(screenWidth, screenHeight);
    const WindowLayout layout = ChooseWindowLayout(settings.windowed, settings.borderless, settings.screenWidth,
                                                   settings.screenHeight, screenWidth, screenHeight);
    window = std::make_unique<GameWindow>(Title, layout);
    config.window = window.get();
    window->SetCursorVisible(false); // the menus draw their own cursor
    game->Initialize(window.get(), layout.width, layout.height);

    EventPump events;
    MessageLoop loop(*game, events);
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
