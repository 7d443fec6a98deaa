// Mouse: the buttons and the cursor, kept from the mouse events the message
// loop hands over, in one of two modes: absolute (x, y is the cursor in the
// client area; menus) or relative (x, y is the movement since the previous
// snapshot; mouse look). Button presses wait in order for the snapshots, one
// press of a button per snapshot. The button tracker turns two snapshots into
// UP / HELD / RELEASED / PRESSED per button. The wheel is not counted here:
// the shell keeps its direction per step (Input::wheel).
//
// Switching the mode and moving the cursor are done by the window through
// ICursorHost; without a host (tests) only the state changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/PlatformEvent.h"

namespace mirefell
{

// The window operations the mouse needs.
class ICursorHost
{
public:
    virtual ~ICursorHost() = default;
    // Relative mode hides and captures the cursor and reports movement only.
    virtual void SetRelativeMouseMode(bool relative) = 0;
    // Puts the cursor at the centre of the game's window.
    virtual void CentreCursor() = 0;
};

class Mouse
{
public:
    enum class Mode : uint8_t
    {
        Absolute,
        Relative,
    };

    // How many button-downs can wait for a snapshot. A press beyond them is
    // lost; its button, while held, still reads as down.
    static constexpr size_t QueuedPresses = 32;

    struct State
    {
        bool leftButton = false;
        bool middleButton = false;
        bool rightButton = false;
        bool xButton1 = false;
        bool xButton2 = false;
        int32_t x = 0;
        int32_t y = 0;
        int32_t scrollWheelValue = 0;
        Mode positionMode = Mode::Absolute;
        // One bit per MouseButton whose press this snapshot takes: such a
        // button was up before it went down, even when both snapshots hold
        // it down.
        uint8_t wentDown = 0;
        bool WentDown(MouseButton button) const { return (wentDown & Bit(button)) != 0; }
        static constexpr uint8_t Bit(MouseButton button)
        {
            return static_cast<uint8_t>(1u << static_cast<unsigned>(button));
        }
    };

    class ButtonStateTracker
    {
    public:
        enum class ButtonState : uint8_t
        {
            Up = 0,       // up now and at the previous snapshot
            Held = 1,     // down now and at the previous snapshot
            Released = 2, // went up since the previous snapshot
            Pressed = 3,  // went down since the previous snapshot (also
                          // when it was down then too and went up between)
        };

        void Update(const State& state);
        // Every button Up and the previous snapshot cleared, so a button still
        // held reports Pressed at the next Update.
        void Reset();
        const State& GetLastState() const { return lastState; }

        ButtonState leftButton = ButtonState::Up;
        ButtonState middleButton = ButtonState::Up;
        ButtonState rightButton = ButtonState::Up;
        ButtonState xButton1 = ButtonState::Up;
        ButtonState xButton2 = ButtonState::Up;

    private:
        State lastState;
    };

    // The window that carries out mode switches and cursor moves; may be null.
    void SetWindow(ICursorHost* host_) { host = host_; }
    void SetMode(Mode mode_);
    Mode GetMode() const { return mode; }
    void CentreCursor();

    // The snapshot of now. In relative mode x, y are the movement since the
    // previous call, which this call consumes. The waiting presses are taken
    // in the order they were made, up to the first button this snapshot has
    // already taken: two clicks between two calls are pressed at this one
    // and at the next. A button taken reads as down even if it is up again
    // (a click shorter than a frame still reaches a step); a held button
    // whose press still waits reads as up until then.
    State GetState();

    // Motion, button and FocusLost events; others are ignored. A button-down
    // of a button already down is no new press.
    void ProcessEvent(const PlatformEvent& event);
    // Releases every button (the window lost the focus). The clicks still
    // waiting reach their snapshots all the same.
    void ReleaseButtons();
    // Forgets the clicks still waiting for a snapshot: made before the mouse
    // mode changed, they were meant for the screen that is going. Held
    // buttons stay held.
    void DropQueuedPresses() { queuedCount = 0; }

private:
    ICursorHost* host = nullptr;
    Mode mode = Mode::Absolute;
    State state; // the buttons held now and the cursor
    // Button-downs no snapshot has taken yet, oldest first.
    std::array<MouseButton, QueuedPresses> queued{};
    size_t queuedCount = 0;
    int32_t relativeX = 0;
    int32_t relativeY = 0;
};

} // namespace mirefell
