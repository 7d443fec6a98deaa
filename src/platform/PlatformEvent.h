// PlatformEvent: what the window system tells the game, in our own terms.
// The event pump translates SDL's events into these; the shell's message loop
// hands them to the keyboard, the mouse and the Game. Keys are virtual-key
// codes (platform/VirtualKey.h); positions are client-area pixels.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class PlatformEventType : uint8_t
{
    None,
    Quit,             // the window was closed or a quit was posted
    KeyDown,          // key, repeat, altDown
    KeyUp,            // key
    MouseMotion,      // x, y (absolute), dx, dy (relative)
    MouseButtonDown,  // button
    MouseButtonUp,    // button
    MouseWheel,       // wheel: > 0 turned away from the user, < 0 towards
    FocusGained,      //
    FocusLost,        // every key and button counts as released
    Minimized,        //
    Restored,         // shown again after being minimised (normal or maximised)
    SizeChanged,      // width, height: the new client size
    AudioDeviceAdded, // an audio output device appeared
    PowerSuspending,  // the system is about to sleep
    PowerResumed,     // the system is awake again after sleeping
};

enum class MouseButton : uint8_t
{
    Left,
    Middle,
    Right,
    X1,
    X2,
};

struct PlatformEvent
{
    PlatformEventType type = PlatformEventType::None;
    int32_t key = 0;      // virtual-key code; 0 for a key the game has no code for
    bool repeat = false;  // a key-down sent by auto-repeat
    bool altDown = false; // either Alt key was held at the key-down
    MouseButton button = MouseButton::Left;
    int32_t x = 0, y = 0;   // cursor position
    int32_t dx = 0, dy = 0; // movement since the previous motion event
    int32_t wheel = 0;
    int32_t width = 0, height = 0;
};

// A source of platform events: the SDL pump, or a scripted queue in tests.
class IEventSource
{
public:
    virtual ~IEventSource() = default;
    // Takes the next waiting event; false when none waits. Never blocks.
    virtual bool PollEvent(PlatformEvent& event) = 0;
    // Sleeps until an event arrives or the timeout passes; takes nothing.
    virtual void WaitForEvent(int timeoutMs) = 0;
};

} // namespace mirefell
