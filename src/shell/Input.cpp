#include "shell/Input.h"

#include "platform/Lookup.h"
#include "shell/KeybindManager.h"

namespace mirefell
{

namespace
{

bool IsBoundKeyDown(const Keybind& binding, const Keyboard::State& state)
{
    return binding.keyCode >= 0 && binding.keyCode < VirtualKeyCount && state.IsKeyDown(binding.keyCode);
}

} // namespace

Input& Input::GetInstance()
{
    static Input instance;
    return instance;
}

void Input::Initialize(ICursorHost* window)
{
    keyboard = std::make_unique<Keyboard>();
    mouse = std::make_unique<Mouse>();
    mouse->SetWindow(window);
}

void Input::Update()
{
    mouseState = mouse ? mouse->GetState() : Mouse::State{};
    keyboardState = keyboard ? keyboard->GetState() : Keyboard::State{};
    keyboardTracker.Update(keyboardState);
    mouseTracker.Update(mouseState);
    if (resetPending) {
        mouseState.x = 0;
        mouseState.y = 0;
        mouseTracker.Reset();
    }
    resetPending = false;
    // A left press this step takes was up before it went down, even if both
    // steps saw it down: a new click, not the one consumed.
    if (!mouseState.leftButton || mouseState.WentDown(MouseButton::Left))
        clickConsumed = false;
    KeybindManager::GetInstance().CaptureRebind(*this);
}

bool Input::IsActionDown(KeybindAction action) const
{
    const Keybind& binding = MapAt(KeybindManager::GetInstance().bindings, action);
    if (!binding.bound)
        return false;
    if (binding.device == KeybindDevice::Keyboard)
        return IsBoundKeyDown(binding, keyboardState);
    if (binding.leftButton)
        return mouseState.leftButton;
    if (binding.middleButton)
        return mouseState.middleButton;
    if (binding.rightButton)
        return mouseState.rightButton;
    return false;
}

bool Input::IsActionPressed(KeybindAction action) const
{
    using ButtonState = Mouse::ButtonStateTracker::ButtonState;
    const Keybind& binding = MapAt(KeybindManager::GetInstance().bindings, action);
    if (!binding.bound)
        return false;
    if (binding.device == KeybindDevice::Keyboard)
        return IsBoundKeyDown(binding, keyboardTracker.pressed);
    if (binding.leftButton)
        return mouseTracker.leftButton == ButtonState::Pressed;
    if (binding.middleButton)
        return mouseTracker.middleButton == ButtonState::Pressed;
    if (binding.rightButton)
        return mouseTracker.rightButton == ButtonState::Pressed;
    return false;
}

void Input::SetMouseMode(uint32_t mode)
{
    mouseMode = mode;
    resetPending = true;
    if (!mouse)
        return;
    mouse->DropQueuedPresses();
    // The mode first: leaving relative mode puts the cursor back where it was
    // captured, which would undo an earlier centring.
    if (mode == MouseModeRelative)
        mouse->SetMode(Mouse::Mode::Relative);
    else if (mode == MouseModeAbsolute)
        mouse->SetMode(Mouse::Mode::Absolute);
    mouse->CentreCursor();
}

void Input::Reset()
{
    mouse.reset();
    keyboard.reset();
    *this = Input{};
}

} // namespace mirefell
