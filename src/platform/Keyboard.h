// Keyboard: which keys are held, kept from the key events the message loop
// hands over, and the tracker that turns two snapshots into the keys pressed
// and released between them. Keys are virtual-key codes 0-255. Plain state:
// no window or SDL is needed, so tests drive it with events.
#pragma once

#include <bitset>

#include "platform/PlatformEvent.h"
#include "platform/VirtualKey.h"

namespace mirefell
{

class Keyboard
{
public:
    // One bit per virtual key.
    struct State
    {
        std::bitset<VirtualKeyCount> keys;
        // False for a code outside 0..255.
        bool IsKeyDown(int32_t key) const { return key >= 0 && key < VirtualKeyCount && keys.test(key); }
        bool IsKeyUp(int32_t key) const { return !IsKeyDown(key); }
    };

    // Keys that went down (pressed) or up (released) between the previous
    // snapshot and the current one.
    class KeyboardStateTracker
    {
    public:
        void Update(const State& state);
        // Forgets the previous snapshot: every held key counts as pressed at
        // the next Update.
        void Reset();
        bool IsKeyPressed(int32_t key) const { return pressed.IsKeyDown(key); }
        bool IsKeyReleased(int32_t key) const { return released.IsKeyDown(key); }
        const State& GetLastState() const { return lastState; }

        State pressed;
        State released;

    private:
        State lastState;
    };

    // KeyDown, KeyUp and FocusLost; other events are ignored. Auto-repeat
    // keeps a key down.
    void ProcessEvent(const PlatformEvent& event);
    // Releases every key (the window lost the focus).
    void Reset();
    // The held keys, plus every key that went down since the previous call
    // even if it is already up again: a tap shorter than a frame still
    // reaches the next step as one press (and its release the step after).
    State GetState();

private:
    State state;
    State downSinceRead;
};

} // namespace mirefell
