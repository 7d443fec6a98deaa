#include "platform/Keyboard.h"

namespace mirefell
{

void Keyboard::KeyboardStateTracker::Update(const State& state)
{
    pressed.keys = state.keys & ~lastState.keys;
    released.keys = ~state.keys & lastState.keys;
    lastState = state;
}

void Keyboard::KeyboardStateTracker::Reset()
{
    pressed = {};
    released = {};
    lastState = {};
}

void Keyboard::ProcessEvent(const PlatformEvent& event)
{
    switch (event.type) {
    case PlatformEventType::KeyDown:
        if (event.key > 0 && event.key < VirtualKeyCount) {
            state.keys.set(event.key);
            downSinceRead.keys.set(event.key);
        }
        break;
    case PlatformEventType::KeyUp:
        if (event.key > 0 && event.key < VirtualKeyCount)
            state.keys.reset(event.key);
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
    state.keys.reset();
    downSinceRead.keys.reset();
}

Keyboard::State Keyboard::GetState()
{
    State snapshot;
    snapshot.keys = state.keys | downSinceRead.keys;
    downSinceRead.keys.reset();
    return snapshot;
}

} // namespace mirefell
