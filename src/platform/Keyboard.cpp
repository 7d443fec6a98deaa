#include "platform/Keyboard.h"

namespace mirefell
{

void Keyboard::KeyboardStateTracker::Update(const State& state)
{
    pressed.keys = state.keys & (~lastState.keys | state.wentDownKeys);
    released.keys = ~state.keys & lastState.keys;
    lastState = state;
    std::bitset<VirtualKeyCount> listed;
    pressedCount = 0;
    for (size_t i = 0; i < state.wentDownCount; ++i) {
        const uint8_t key = state.wentDown[i];
        if (pressed.keys.test(key) && !listed.test(key)) {
            pressedOrder[pressedCount++] = key;
            listed.set(key);
        }
    }
    for (size_t key = 0; key < VirtualKeyCount; ++key)
        if (pressed.keys.test(key) && !listed.test(key))
            pressedOrder[pressedCount++] = static_cast<uint8_t>(key);
}

void Keyboard::KeyboardStateTracker::Reset()
{
    pressed = {};
    released = {};
    lastState = {};
    pressedCount = 0;
}

void Keyboard::ProcessEvent(const PlatformEvent& event)
{
    switch (event.type) {
    case PlatformEventType::KeyDown:
        if (event.key > 0 && event.key < VirtualKeyCount && !held.test(event.key)) {
            held.set(event.key);
            if (queuedCount < QueuedPresses)
                queued[queuedCount++] = static_cast<uint8_t>(event.key);
        }
        break;
    case PlatformEventType::KeyUp:
        if (event.key > 0 && event.key < VirtualKeyCount)
            held.reset(event.key);
        break;
    case PlatformEventType::FocusLost:
        Reset();
        break;
    default:
        break;
    }
}

void Keyboard::Reset()
{
    // The taps made before the focus went are the player's; only what is
    // held is let go.
    held.reset();
}

Keyboard::State Keyboard::GetState()
{
    State snapshot;
    size_t taken = 0;
    while (taken < queuedCount && !snapshot.wentDownKeys.test(queued[taken])) {
        snapshot.wentDownKeys.set(queued[taken]);
        snapshot.wentDown[snapshot.wentDownCount++] = queued[taken];
        ++taken;
    }
    std::bitset<VirtualKeyCount> waiting;
    for (size_t i = taken; i < queuedCount; ++i) {
        waiting.set(queued[i]);
        queued[i - taken] = queued[i];
    }
    queuedCount -= taken;
    snapshot.keys = (held & ~waiting) | snapshot.wentDownKeys;
    return snapshot;
}

} // namespace mirefell
