// Keyboard: which keys are held, kept from the key events the message loop
// hands over, the presses still waiting for a snapshot, and the tracker that
// turns two snapshots into the keys pressed and released between them. Keys
// are virtual-key codes 0-255. Plain state: no window or SDL is needed, so
// tests drive it with events.
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
    // How many key-downs can wait for a snapshot. A press beyond them is
    // lost; its key, while held, still reads as down.
    static constexpr size_t QueuedPresses = 64;

    // One bit per virtual key.
    struct State
    {
        std::bitset<VirtualKeyCount> keys;
        // The presses this snapshot takes, each key once, in the order they
        // went down.
        std::array<uint8_t, QueuedPresses> wentDown{};
        size_t wentDownCount = 0;
        // The same keys as a set. Such a key was up before it went down,
        // even when both snapshots hold it down: a new press.
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
    // Releases every key (the window lost the focus). The presses still
    // waiting reach their snapshots all the same.
    void Reset();
    // Takes the waiting presses in the order they were made, up to the first
    // key this snapshot has already taken: a key tapped twice between two
    // calls is pressed at this one and again at the next, and every key
    // pressed after its second tap waits with it, so the presses keep their
    // order. A key taken reads as down even if it is already up again (a
    // tap shorter than a frame is one press, its release seen the call
    // after); a held key whose press still waits reads as up until then.
    State GetState();

private:
    std::bitset<VirtualKeyCount> held;
    // Key-downs no snapshot has taken yet, oldest first.
    std::array<uint8_t, QueuedPresses> queued{};
    size_t queuedCount = 0;
};

} // namespace mirefell
