// EventPump: the SDL event queue as a source of PlatformEvents. SDL events
// the game has no use for (text input, joysticks, ...) are dropped here.
// Needs the video system (platform/VideoSystem.h) to be up.
#pragma once

#include "platform/PlatformEvent.h"

namespace mirefell
{

class EventPump final : public IEventSource
{
public:
    bool PollEvent(PlatformEvent& event) override;
    void WaitForEvent(int timeoutMs) override;

    // Queues a Quit event: the main menu's "Exit" ends the loop this way.
    static void PostQuit();
};

} // namespace mirefell
