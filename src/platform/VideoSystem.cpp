#include "platform/VideoSystem.h"

#include <cstdlib>
#include <string>

#include <SDL.h>

#include "platform/GameError.h"
#include "platform/WindowLayout.h"

namespace mirefell
{

namespace
{

constexpr const char* SystemBusVariable = "DBUS_SYSTEM_BUS_ADDRESS";
// A socket that cannot exist: connecting fails at once.
constexpr const char* NoSystemBus = "unix:path=/dev/null/no-system-bus";

// Points the system bus's address at nothing for its lifetime, then puts
// back what was there (or nothing). No other thread may read the environment
// meanwhile: the game starts its window system before any thread of its own.
class HiddenSystemBus
{
public:
    HiddenSystemBus()
    {
        if (const char* address = std::getenv(SystemBusVariable)) {
            hadAddress = true;
            savedAddress = address;
        }
        ::setenv(SystemBusVariable, NoSystemBus, 1);
    }
    ~HiddenSystemBus()
    {
        if (hadAddress)
            ::setenv(SystemBusVariable, savedAddress.c_str(), 1);
        else
            ::unsetenv(SystemBusVariable);
    }
    HiddenSystemBus(const HiddenSystemBus&) = delete;
    HiddenSystemBus& operator=(const HiddenSystemBus&) = delete;

private:
    bool hadAddress = false;
    std::string savedAddress;
};

} // namespace

VideoSystem::VideoSystem()
{
    const HiddenSystemBus hidden;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0)
        throw GameError("can't start the video system", SDL_GetError());
    // Without it the game simply does not notice a new audio device; the
    // devices present at start are announced at once and are not news.
    audioEvents = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (audioEvents)
        SDL_FlushEvent(SDL_AUDIODEVICEADDED);
}

VideoSystem::~VideoSystem()
{
    if (audioEvents)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

std::vector<DisplayMode> VideoSystem::GetDisplayModes()
{
    std::vector<DisplayMode> modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w > 0 && mode.h > 0)
            modes.push_back({static_cast<uint32_t>(mode.w), static_cast<uint32_t>(mode.h),
                             static_cast<uint32_t>(mode.refresh_rate > 0 ? mode.refresh_rate : 0)});
    }
    if (modes.empty()) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w > 0 && desktop.h > 0)
            modes.push_back({static_cast<uint32_t>(desktop.w), static_cast<uint32_t>(desktop.h),
                             static_cast<uint32_t>(desktop.refresh_rate > 0 ? desktop.refresh_rate : 0)});
    }
    return OrderDisplayModes(std::move(modes));
}

bool VideoSystem::GetScreenSize(int32_t& width, int32_t& height)
{
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0 || desktop.w <= 0 || desktop.h <= 0)
        return false;
    width = desktop.w;
    height = desktop.h;
    return true;
}

} // namespace mirefell
