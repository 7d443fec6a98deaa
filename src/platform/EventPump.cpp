#include "platform/EventPump.h"

#include <optional>

#include <SDL.h>

#include "platform/VirtualKey.h"

namespace mirefell
{

namespace
{

bool TranslateWindowEvent(const SDL_WindowEvent& window, PlatformEvent& out)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
        out.type = PlatformEventType::Quit;
        return true;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.type = PlatformEventType::FocusGained;
        return true;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.type = PlatformEventType::FocusLost;
        return true;
    case SDL_WINDOWEVENT_MINIMIZED:
        out.type = PlatformEventType::Minimized;
        return true;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        out.type = PlatformEventType::Restored;
        return true;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        out.type = PlatformEventType::SizeChanged;
        out.width = window.data1;
        out.height = window.data2;
        return true;
    default:
        return false;
    }
}

std::optional<MouseButton> TranslateButton(uint8_t button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return MouseButton::Left;
    case SDL_BUTTON_MIDDLE:
        return MouseButton::Middle;
    case SDL_BUTTON_RIGHT:
        return MouseButton::Right;
    case SDL_BUTTON_X1:
        return MouseButton::X1;
    case SDL_BUTTON_X2:
        return MouseButton::X2;
    default:
        return std::nullopt;
    }
}

// Fills `out` from `event`; false for an event the game ignores.
bool Translate(const SDL_Event& event, PlatformEvent& out)
{
    out = PlatformEvent{};
    switch (event.type) {
    case SDL_QUIT:
        out.type = PlatformEventType::Quit;
        return true;
    case SDL_WINDOWEVENT:
        return TranslateWindowEvent(event.window, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        out.type = event.type == SDL_KEYDOWN ? PlatformEventType::KeyDown : PlatformEventType::KeyUp;
        out.key = VirtualKeyFromScancode(event.key.keysym.scancode);
        out.repeat = event.key.repeat != 0;
        out.altDown = (event.key.keysym.mod & KMOD_ALT) != 0;
        return out.key != KeyNone;
    case SDL_MOUSEMOTION:
        out.type = PlatformEventType::MouseMotion;
        out.x = event.motion.x;
        out.y = event.motion.y;
        out.dx = event.motion.xrel;
        out.dy = event.motion.yrel;
        return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const std::optional<MouseButton> button = TranslateButton(event.button.button);
        if (!button)
            return false;
        out.type =
            event.type == SDL_MOUSEBUTTONDOWN ? PlatformEventType::MouseButtonDown : PlatformEventType::MouseButtonUp;
        out.button = *button;
        out.x = event.button.x;
        out.y = event.button.y;
        return true;
    }
    case SDL_MOUSEWHEEL: {
        // Only the vertical wheel; SDL reports y > 0 for a turn away from the
        // user unless the system flips the direction.
        int32_t y = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            y = -y;
        if (y == 0)
            return false;
        out.type = PlatformEventType::MouseWheel;
        out.wheel = y;
        return true;
    }
    case SDL_AUDIODEVICEADDED:
        if (event.adevice.iscapture)
            return false;
        out.type = PlatformEventType::AudioDeviceAdded;
        return true;
    default:
        return false;
    }
}

} // namespace

bool EventPump::PollEvent(PlatformEvent& event)
{
    SDL_Event raw;
    while (SDL_PollEvent(&raw)) {
        if (Translate(raw, event))
            return true;
    }
    return false;
}

void EventPump::WaitForEvent(int timeoutMs)
{
    SDL_WaitEventTimeout(nullptr, timeoutMs);
}

void EventPump::PostQuit()
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

} // namespace mirefell
