#include "platform/Mouse.h"

namespace mirefell
{

namespace
{

using ButtonState = Mouse::ButtonStateTracker::ButtonState;

bool* Button(Mouse::State& state, MouseButton button)
{
    switch (button) {
    case MouseButton::Left:
        return &state.leftButton;
    case MouseButton::Middle:
        return &state.middleButton;
    case MouseButton::Right:
        return &state.rightButton;
    case MouseButton::X1:
        return &state.xButton1;
    case MouseButton::X2:
        return &state.xButton2;
    }
    return nullptr;
}

ButtonState Track(bool now, bool before)
{
    return static_cast<ButtonState>((now ? 1 : 0) | ((now != before) ? 2 : 0));
}

} // namespace

void Mouse::ButtonStateTracker::Update(const State& state)
{
    leftButton = Track(state.leftButton, lastState.leftButton);
    middleButton = Track(state.middleButton, lastState.middleButton);
    rightButton = Track(state.rightButton, lastState.rightButton);
    xButton1 = Track(state.xButton1, lastState.xButton1);
    xButton2 = Track(state.xButton2, lastState.xButton2);
    lastState = state;
}

void Mouse::ButtonStateTracker::Reset()
{
    *this = ButtonStateTracker{};
}

void Mouse::SetMode(Mode mode_)
{
    if (host)
        host->SetRelativeMouseMode(mode_ == Mode::Relative);
    mode = mode_;
    relativeX = 0;
    relativeY = 0;
}

void Mouse::CentreCursor()
{
    if (host)
        host->CentreCursor();
}

Mouse::State Mouse::GetState()
{
    State snapshot = state;
    snapshot.leftButton |= downSinceRead.leftButton;
    snapshot.middleButton |= downSinceRead.middleButton;
    snapshot.rightButton |= downSinceRead.rightButton;
    snapshot.xButton1 |= downSinceRead.xButton1;
    snapshot.xButton2 |= downSinceRead.xButton2;
    downSinceRead = State{};
    snapshot.positionMode = mode;
    if (mode == Mode::Relative) {
        snapshot.x = relativeX;
        snapshot.y = relativeY;
        relativeX = 0;
        relativeY = 0;
    }
    return snapshot;
}

void Mouse::ProcessEvent(const PlatformEvent& event)
{
    const bool down = event.type == PlatformEventType::MouseButtonDown;
    switch (event.type) {
    case PlatformEventType::MouseMotion:
        state.x = event.x;
        state.y = event.y;
        if (mode == Mode::Relative) {
            relativeX += event.dx;
            relativeY += event.dy;
        }
        break;
    case PlatformEventType::MouseButtonDown:
    case PlatformEventType::MouseButtonUp:
        if (bool* button = Button(state, event.button)) {
            *button = down;
            if (down)
                *Button(downSinceRead, event.button) = true;
        }
        break;
    case PlatformEventType::FocusLost:
        ReleaseButtons();
        break;
    default:
        break;
    }
}

void Mouse::ReleaseButtons()
{
    state.leftButton = state.middleButton = state.rightButton = false;
    state.xButton1 = state.xButton2 = false;
    downSinceRead = State{};
}

} // namespace mirefell
