// MessageLoop: the main loop and the handling of each window event. One pass
// takes one waiting event and handles it; when none waits it runs one
// Game::Tick. Keyboard and mouse events go to Input's Keyboard and Mouse, the
// wheel sets Input's wheel direction, Alt+Enter switches a windowed game
// between a bordered and a borderless window, minimising suspends the Game
// and restoring resumes it, and a Quit event ends the loop.
//
// The system's sleep comes from a second source (SystemSleepEvents in the
// game), asked when the window has nothing waiting: going to sleep suspends
// the Game unless it already is; waking resumes it, unless the window is
// still minimised, when restoring it resumes the Game instead.
//
// The window system has no modal size/move loop here, so a drag that sends
// many size changes is coalesced: the Game hears the latest size once, when
// the queue is empty, before the next Tick. While the window is minimised the
// loop sleeps on the queue instead of ticking, and size changes are not
// passed on.
#pragma once

#include <cstdint>

#include "platform/PlatformEvent.h"

namespace mirefell
{

class Game;

class MessageLoop
{
public:
    // How long a pass sleeps for events while the window is minimised.
    static constexpr int MinimizedWaitMs = 100;

    // `systemEvents`, when given, is the source of the system's sleep and
    // wake-up; it must outlive the loop.
    MessageLoop(Game& game_, IEventSource& events_, IEventSource* systemEvents_ = nullptr)
        : game(game_), events(events_), systemEvents(systemEvents_)
    {}

    // Runs passes until a Quit event arrives.
    void Run();
    // One pass; false once the loop has ended.
    bool RunOnce();
    // The handling of one event (the window procedure).
    void HandleEvent(const PlatformEvent& event);

    bool IsMinimized() const { return minimized; }
    bool IsSuspended() const { return suspended; }

private:
    void SwitchWindowStyle();

    Game& game;
    IEventSource& events;
    IEventSource* systemEvents;
    bool quit = false;
    bool minimized = false;
    bool suspended = false;
    bool resizePending = false;
    int32_t pendingWidth = 0;
    int32_t pendingHeight = 0;
};

} // namespace mirefell
