#include "platform/Mouse.h"

namespace mirefell
{

namespace
{

using ButtonState = Mouse::ButtonStateTracker::ButtonState;

constexpr MouseButton AllButtons[] = {MouseButton::Left, MouseButton::Middle, MouseButton::Right, MouseButton::X1,
                                      MouseButton::X2};

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

ButtonState Track(bool now, bool before, bool wentDown)
{
    if (now && wentDown)
        return ButtonState::Pressed;
    return static_cast<ButtonState>((now ? 1 : 0) | ((now != before) ? 2 : 0));
}

} // namespace

void Mouse::ButtonStateTracker::Update(const State& state)
{
    leftButton = Track(state.leftButton, lastState.leftButton, state.WentDown(MouseButton::Left));
    middleButton = Track(state.middleButton, lastState.middleButton, state.WentDown(MouseButton::Middle));
    rightButton = Track(state.rightButton, lastState.rightButton, state.WentDown(MouseButton::Right));
    xButton1 = Track(state.xButton1, lastState.xButton1, state.WentDown(MouseButton::X1));
    xButton2 = Track(state.xButton2, lastState.xButton2, state.WentDown(MouseButton::X2));
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
    size_t taken = 0;
    while (taken < queuedCount && !snapshot.WentDown(queued[taken]))
        snapshot.wentDown |= State::Bit(queued[taken++]);
    uint8_t waiting = 0;
    for (size_t i = taken; i < queuedCount; ++i) {
        waiting |= State::Bit(queued[i]);
        queued[i - taken] = queued[i];
    }
    queuedCount -= taken;
    for (const MouseButton button : AllButtons) {
        bool& down = *Button(snapshot, button);
        down = (down && (waiting & State::Bit(button)) == 0) || snapshot.WentDown(button);
    }
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
            if (down && !*button && queuedCount < QueuedPresses)
                queued[queuedCount++] = event.button;
            *button = down;
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
