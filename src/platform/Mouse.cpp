#include "platform/Mouse.h"

namespace mirefell
{

namespace
{

using ButtonState = Mouse::ButtonStateTracker::ButtonState;

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
        switch (event.button) {
        case MouseButton::Left:
            state.leftButton = down;
            break;
        case MouseButton::Middle:
            state.middleButton = down;
            break;
        case MouseButton::Right:
            state.rightButton = down;
            break;
        case MouseButton::X1:
            state.xButton1 = down;
            break;
        case MouseButton::X2:
            state.xButton2 = down;
            break;
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
}

} // namespace mirefell
