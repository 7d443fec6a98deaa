// Keyboard: which keys are held, kept from the key events the message loop
// hands over, and the tracker that turns two snapshots into the keys pressed
// and released between them. Keys are virtual-key codes 0-255. Plain state:
// no window or SDL is needed, so tests drive it with events.
#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/PlatformEvent.h"
#include "platform/VirtualKey.h"

namespace mirefell
{

class Keyboard
{
public:
    // How many keys going down between two snapshots keep their order.
    static constexpr size_t OrderedKeys = 32;

    // One bit per virtual key.
    struct State
    {
        std::bitset<VirtualKeyCount> keys;
        // The keys that went down since the previous snapshot, each once, in
        // the order they went down (the first OrderedKeys of them).
        std::array<uint8_t, OrderedKeys> wentDown{};
        size_t wentDownCount = 0;
        // Every key that went down since the previous snapshot, listed or
        // not. Such a key was up in between, even when both snapshots hold
        // it down: a new press.
        std::bitset<VirtualKeyCount> wentDownKeys;
        // False for a code outside 0..255.
        bool IsKeyDown(int32_t key) const { return key >= 0 && key < VirtualKeyCount && keys.test(key); }
        bool IsKeyUp(int32_t key) const { return !IsKeyDown(key); }
    };

    // Keys that went down (pressed) or up (released) between the previous
    // snapshot and the current one. A key the previous snapshot held that
    // went up and down again in between is pressed again.
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
        // The pressed keys in the order they went down: several keys tapped
        // within one frame reach one step, and keep the order they were
        // typed in. Pressed keys without a key-down of their own (held over
        // a Reset) follow, in key order.
        std::span<const uint8_t> PressedInOrder() const { return {pressedOrder.data(), pressedCount}; }

        State pressed;
        State released;

    private:
        State lastState;
        std::array<uint8_t, VirtualKeyCount> pressedOrder{};
        size_t pressedCount = 0;
    };

    // KeyDown, KeyUp and FocusLost; other events are ignored. Auto-repeat
    // (a key-down of a key already down) keeps a key down and is no press.
    void ProcessEvent(const PlatformEvent& event);
    // Releases every key (the window lost the focus). A key that went down
    // since the previous snapshot still reaches it as a press.
    void Reset();
    // The held keys, plus every key that went down since the previous call
    // even if it is already up again: a tap shorter than a frame still
    // reaches the next step as one press (and its release the step after).
    State GetState();

private:
    State state;         // keys only
    State downSinceRead; // the keys that went down, in order; keys unused
};

} // namespace mirefell
