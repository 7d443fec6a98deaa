#include "app/MessageLoop.h"

#include "app/Game.h"
#include "platform/VirtualKey.h"
#include "shell/Config.h"
#include "shell/Input.h"

namespace mirefell
{

void MessageLoop::Run()
{
    while (RunOnce()) {
    }
}

bool MessageLoop::RunOnce()
{
    if (quit)
        return false;
    PlatformEvent event;
    if (events.PollEvent(event) || (systemEvents && systemEvents->PollEvent(event))) {
        HandleEvent(event);
        return !quit;
    }
    if (resizePending) {
        resizePending = false;
        game.OnWindowSizeChanged(pendingWidth, pendingHeight);
    }
    if (minimized)
        events.WaitForEvent(MinimizedWaitMs);
    else
        game.Tick();
    return true;
}

void MessageLoop::HandleEvent(const PlatformEvent& event)
{
    Input& input = Input::GetInstance();
    switch (event.type) {
    case PlatformEventType::Quit:
        quit = true;
        break;
    case PlatformEventType::KeyDown:
        // Alt+Enter acts on the first key-down of a press, never on repeats.
        if (event.key == KeyEnter && event.altDown && !event.repeat)
            SwitchWindowStyle();
        [[fallthrough]];
    case PlatformEventType::KeyUp:
        if (input.keyboard)
            input.keyboard->ProcessEvent(event);
        break;
    case PlatformEventType::MouseMotion:
    case PlatformEventType::MouseButtonDown:
    case PlatformEventType::MouseButtonUp:
        if (input.mouse)
            input.mouse->ProcessEvent(event);
        break;
    case PlatformEventType::MouseWheel:
        input.wheel = event.wheel > 0 ? 1 : -1;
        break;
    case PlatformEventType::FocusLost:
        // Keys released while another window has the focus never reach us.
        if (input.keyboard)
            input.keyboard->ProcessEvent(event);
        if (input.mouse)
            input.mouse->ProcessEvent(event);
        break;
    case PlatformEventType::Minimized:
        if (!minimized) {
            minimized = true;
            if (!suspended)
                game.Suspend();
            suspended = true;
        }
        break;
    case PlatformEventType::Restored:
        if (minimized) {
            minimized = false;
            if (suspended)
                game.Resume();
            suspended = false;
        }
        break;
    case PlatformEventType::SizeChanged:
        // A minimised window's size is no size to draw at; restoring brings
        // back the size it had.
        if (minimized)
            break;
        resizePending = true;
        pendingWidth = event.width;
        pendingHeight = event.height;
        break;
    case PlatformEventType::PowerSuspending:
        if (!suspended)
            game.Suspend();
        suspended = true;
        break;
    case PlatformEventType::PowerResumed:
        // A minimised window stays suspended until it is restored.
        if (!minimized) {
            if (suspended)
                game.Resume();
            suspended = false;
        }
        break;
    case PlatformEventType::AudioDeviceAdded:
        game.OnAudioDeviceArrived();
        break;
    default:
        break;
    }
}

void MessageLoop::SwitchWindowStyle()
{
    Config& config = Config::GetInstance();
    if (!config.settings.windowed)
        return;
    config.settings.borderless = !config.settings.borderless;
    if (config.settings.borderless)
        config.SetBorderlessStyle();
    else
        config.SetWindowedStyle();
    config.pending.borderless = config.settings.borderless;
}

} // namespace mirefell
