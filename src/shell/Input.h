// Input: the keyboard and mouse state of one update step. Once per step it
// snapshots the Keyboard and Mouse (which the message loop feeds), derives
// what went down and up since the previous step, and answers by
// KeybindAction through the KeybindManager's table. It also holds the mouse
// mode (relative look in play, absolute cursor in menus), the wheel direction
// of the step and the flag by which the user interface marks the current left
// click as used.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/Keyboard.h"
#include "platform/Mouse.h"
#include "shell/KeybindAction.h"

namespace mirefell
{

class Input
{
public:
    static constexpr uint32_t MouseModeRelative = 1;
    static constexpr uint32_t MouseModeAbsolute = 2;

    static Input& GetInstance();

    // Creates the Keyboard and the Mouse (replacing earlier ones); the mouse
    // switches modes and moves the cursor through `window` (may be null).
    void Initialize(ICursorHost* window);
    // Once per step, second action of Core::Update. Before Initialize the
    // snapshots are empty. Each step takes one press of a key or button: a
    // second tap made before a step is pressed at the step after.
    void Update();

    // Throws "invalid map<K, T> key" for an action the table lacks.
    bool IsActionDown(KeybindAction action) const;
    bool IsActionPressed(KeybindAction action) const;

    // 1 relative, 2 absolute; the next Update drops the mouse movement and
    // forgets the buttons, so a held button reports Pressed one step later.
    // Clicks still waiting for a step are dropped now; keys wait on.
    void SetMouseMode(uint32_t mode);

    // Back to the state of first use, without keyboard or mouse (for tests).
    void Reset();

    bool clickConsumed = false; // the UI used the current left press
    bool resetPending = false;
    int32_t wheel = 0; // +1 away from the user, -1 towards, 0 none; one step only
    std::unique_ptr<Mouse> mouse;
    std::unique_ptr<Keyboard> keyboard;
    Mouse::State mouseState;
    Keyboard::State keyboardState;
    Keyboard::KeyboardStateTracker keyboardTracker;
    Mouse::ButtonStateTracker mouseTracker;
    uint32_t mouseMode = MouseModeAbsolute;
};

} // namespace mirefell
