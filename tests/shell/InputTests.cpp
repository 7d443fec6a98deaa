// One snapshot per step: what counts as pressed, held and consumed, and what
// a mouse-mode switch forgets.
#include <vector>

#include <gtest/gtest.h>

#include "platform/VirtualKey.h"
#include "shell/Input.h"
#include "shell/KeybindManager.h"
#include "support/ShellTestSupport.h"

namespace mirefell
{
namespace
{

using ButtonState = Mouse::ButtonStateTracker::ButtonState;

class InputTest : public testing::ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        Input::GetInstance().Initialize(&window);
    }
    Input& input = Input::GetInstance();
    testing::RecordingWindow window;
};

TEST_F(InputTest, AKeyOrButtonHeldOverTwoStepsIsPressedOnlyInTheFirst)
{
    Send(testing::KeyEvent('W', true));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::MoveForward));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Attack));

    Send(testing::KeyEvent('W', true, false, true)); // auto-repeat changes nothing
    input.Update();
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::MoveForward));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::Attack));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::Attack));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Held);

    Send(testing::KeyEvent('W', false));
    Send(testing::ButtonEvent(MouseButton::Left, false));
    input.Update();
    EXPECT_FALSE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased('W'));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Released);
}

// A slow frame can take longer than a tap: the press still reaches one step
// and the release the next.
TEST_F(InputTest, ATapBetweenTwoStepsIsPressedInOneAndReleasedInTheNext)
{
    Send(testing::KeyEvent('E', true));
    Send(testing::KeyEvent('E', false));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    Send(testing::ButtonEvent(MouseButton::Left, false));
    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Use));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Pressed);

    input.Update();
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Use));
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased('E'));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Released);
}

// Keys tapped within one slow frame reach one step together, in the order
// they went down (not in key-code order); a key held from before is not
// pressed again. A key pressed a second time waits for the next step, and so
// does every key pressed after it, so the steps see the presses in the order
// they were made.
TEST_F(InputTest, KeysTappedWithinOneFrameArePressedInTheOrderTheyWentDown)
{
    Send(testing::KeyEvent('W', true));
    input.Update();
    Send(testing::KeyEvent('P', true));
    Send(testing::KeyEvent('P', false));
    Send(testing::KeyEvent('O', true));
    Send(testing::KeyEvent('Z', true));
    Send(testing::KeyEvent('O', false));
    Send(testing::KeyEvent('P', true)); // again within the frame: the next step's
    Send(testing::KeyEvent('I', true));
    input.Update();
    auto pressed = input.keyboardTracker.PressedInOrder();
    EXPECT_EQ(std::vector<uint8_t>(pressed.begin(), pressed.end()), (std::vector<uint8_t>{'P', 'O', 'Z'}));
    EXPECT_FALSE(input.keyboardState.IsKeyDown('I')) << "pressed after the second P";

    input.Update();
    pressed = input.keyboardTracker.PressedInOrder();
    EXPECT_EQ(std::vector<uint8_t>(pressed.begin(), pressed.end()), (std::vector<uint8_t>{'P', 'I'}));
    EXPECT_TRUE(input.keyboardState.IsKeyDown('Z'));
    EXPECT_TRUE(input.keyboardState.IsKeyDown('W'));

    input.Update();
    EXPECT_TRUE(input.keyboardTracker.PressedInOrder().empty());
}

// Two taps of one key or button between two steps are two presses: the
// second reaches the step after, as a new click the user interface has not
// used, and the release the step after that.
TEST_F(InputTest, ASecondTapWithinOneFrameIsPressedAgainAtTheNextStep)
{
    for (int tap = 0; tap < 2; ++tap) {
        Send(testing::KeyEvent('E', true));
        Send(testing::KeyEvent('E', false));
        Send(testing::ButtonEvent(MouseButton::Left, true));
        Send(testing::ButtonEvent(MouseButton::Left, false));
    }
    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Use));
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Attack));
    input.clickConsumed = true; // the UI used the click

    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Use));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::Use));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Pressed);
    EXPECT_TRUE(input.IsActionDown(KeybindAction::Attack));
    EXPECT_FALSE(input.clickConsumed);

    input.Update();
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Use));
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased('E'));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Released);
    input.Update();
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Up);
}

// A key-down or button-down of what is already held (auto-repeat, or a second
// down with no up between) is no press, neither within a frame nor across
// steps, and leaves a used click used.
TEST_F(InputTest, ADownOfAKeyOrButtonAlreadyHeldIsNoPress)
{
    Send(testing::KeyEvent('W', true));
    Send(testing::KeyEvent('W', true, false, true));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    ASSERT_TRUE(input.IsActionPressed(KeybindAction::MoveForward));
    ASSERT_EQ(input.mouseTracker.leftButton, ButtonState::Pressed);
    input.clickConsumed = true; // the UI used the click

    input.Update();
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::MoveForward));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Held);

    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Held);
    EXPECT_TRUE(input.clickConsumed);
}

// A key or button the last step saw down (held, or a tap that step caught)
// and that went up and down again before the next step was pressed again:
// the next step reports it pressed, and a click the user interface used is
// not the new one.
TEST_F(InputTest, ReleasedAndPressedAgainBetweenTwoStepsIsANewPress)
{
    Send(testing::KeyEvent(KeyEnter, true));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    input.clickConsumed = true; // the UI used the click
    Send(testing::KeyEvent(KeyEnter, false));
    Send(testing::KeyEvent(KeyEnter, true));
    Send(testing::ButtonEvent(MouseButton::Left, false));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyPressed(KeyEnter));
    EXPECT_EQ(input.mouseTracker.leftButton, ButtonState::Pressed);
    EXPECT_FALSE(input.clickConsumed);

    // Taps: the step catches the first while it is already up; a second tap
    // before the next step is a second press.
    Send(testing::KeyEvent(KeyEnter, false));
    Send(testing::ButtonEvent(MouseButton::Left, false));
    input.Update();
    Send(testing::KeyEvent('E', true));
    Send(testing::KeyEvent('E', false));
    input.Update();
    ASSERT_TRUE(input.IsActionPressed(KeybindAction::Use));
    Send(testing::KeyEvent('E', true));
    Send(testing::KeyEvent('E', false));
    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Use));
    const auto pressed = input.keyboardTracker.PressedInOrder();
    EXPECT_EQ(std::vector<uint8_t>(pressed.begin(), pressed.end()), std::vector<uint8_t>{'E'});
    input.Update();
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::Use));
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased('E'));
}

// The focus going away releases what is held, but a tap made before it, in
// the same frame, still reaches the next step.
TEST_F(InputTest, ATapJustBeforeTheFocusGoesStillReachesTheNextStep)
{
    Send(testing::KeyEvent('W', true));
    input.Update();
    Send(testing::KeyEvent(KeyEnter, true));
    Send(testing::KeyEvent(KeyEnter, false));
    Send(testing::ButtonEvent(MouseButton::Right, true));
    Send(testing::ButtonEvent(MouseButton::Right, false));
    Send(testing::SimpleEvent(PlatformEventType::FocusLost));
    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyPressed(KeyEnter));
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Block));
    EXPECT_FALSE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased('W'));
    input.Update();
    EXPECT_FALSE(input.keyboardState.IsKeyDown(KeyEnter));
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Block));
}

// The focus going away keeps every tap made before it: a key tapped twice is
// pressed at two steps.
TEST_F(InputTest, EveryTapBeforeTheFocusGoesReachesAStepOfItsOwn)
{
    Send(testing::KeyEvent(KeyEscape, true));
    Send(testing::KeyEvent(KeyEscape, false));
    Send(testing::KeyEvent(KeyEscape, true));
    Send(testing::SimpleEvent(PlatformEventType::FocusLost));
    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyPressed(KeyEscape));
    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyPressed(KeyEscape));
    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyReleased(KeyEscape));
}

// Clicks still waiting when the mouse mode changes were made on the screen
// that is going (a double click on "Resume" fires no shot); keys are not the
// mouse's and wait on, so a second Escape closes the menu the first opened.
TEST_F(InputTest, AModeSwitchForgetsTheClicksStillWaitingButNotTheKeys)
{
    for (int tap = 0; tap < 2; ++tap) {
        Send(testing::KeyEvent(KeyEscape, true));
        Send(testing::KeyEvent(KeyEscape, false));
        Send(testing::ButtonEvent(MouseButton::Left, true));
        Send(testing::ButtonEvent(MouseButton::Left, false));
    }
    Send(testing::ButtonEvent(MouseButton::Right, true)); // held through the switch
    input.Update();
    ASSERT_TRUE(input.IsActionPressed(KeybindAction::Attack));
    input.SetMouseMode(Input::MouseModeRelative);

    input.Update();
    EXPECT_TRUE(input.keyboardTracker.IsKeyPressed(KeyEscape));
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Attack));
    EXPECT_EQ(input.mouseTracker.rightButton, ButtonState::Up);
    input.Update();
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Attack));
    EXPECT_EQ(input.mouseTracker.rightButton, ButtonState::Pressed);
}

TEST_F(InputTest, AModeSwitchDropsOneStepOfMovementAndReportsHeldButtonsPressedAgain)
{
    Send(testing::ButtonEvent(MouseButton::Right, true));
    input.Update();
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Block));

    input.SetMouseMode(Input::MouseModeRelative);
    EXPECT_TRUE(window.relative);
    EXPECT_EQ(window.cursorCentrings, 1);
    Send(testing::MotionEvent(400, 300, 7, -2));
    input.Update();
    EXPECT_EQ(input.mouseState.x, 0);
    EXPECT_EQ(input.mouseState.y, 0);
    EXPECT_EQ(input.mouseTracker.rightButton, ButtonState::Up);
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::Block));

    Send(testing::MotionEvent(400, 300, 3, 4));
    Send(testing::MotionEvent(400, 300, 2, -1));
    input.Update();
    EXPECT_EQ(input.mouseState.x, 5); // relative: the sum since the last snapshot
    EXPECT_EQ(input.mouseState.y, 3);
    EXPECT_TRUE(input.IsActionPressed(KeybindAction::Block));
    input.Update();
    EXPECT_EQ(input.mouseState.x, 0);
    EXPECT_EQ(input.mouseTracker.rightButton, ButtonState::Held);

    input.SetMouseMode(Input::MouseModeAbsolute);
    EXPECT_FALSE(window.relative);
    Send(testing::MotionEvent(120, 80, 1, 1));
    input.Update();
    input.Update();
    EXPECT_EQ(input.mouseState.x, 120); // absolute: the cursor position
    EXPECT_EQ(input.mouseState.y, 80);
}

TEST_F(InputTest, AConsumedClickStaysConsumedUntilTheLeftButtonIsUp)
{
    Send(testing::ButtonEvent(MouseButton::Left, true));
    input.Update();
    input.clickConsumed = true; // the UI used the click
    Send(testing::ButtonEvent(MouseButton::Right, true));
    input.Update();
    Send(testing::ButtonEvent(MouseButton::Right, false));
    input.SetMouseMode(Input::MouseModeRelative);
    input.Update();
    EXPECT_TRUE(input.clickConsumed);
    Send(testing::ButtonEvent(MouseButton::Left, false));
    input.Update();
    EXPECT_FALSE(input.clickConsumed);
}

TEST_F(InputTest, BindingsThatCanNeverFire)
{
    auto& bindings = KeybindManager::GetInstance().bindings;
    for (int key = 0; key < 256; ++key)
        Send(testing::KeyEvent(key, true));
    Send(testing::ButtonEvent(MouseButton::Left, true));
    Send(testing::ButtonEvent(MouseButton::Middle, true));
    Send(testing::ButtonEvent(MouseButton::Right, true));
    input.Update();

    bindings[KeybindAction::Use] = Keybind::ForKey(300);
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Use));
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::Use));
    bindings[KeybindAction::Attack] = Keybind{true, KeybindDevice::Mouse};
    EXPECT_FALSE(input.IsActionDown(KeybindAction::Attack));
    EXPECT_FALSE(input.IsActionPressed(KeybindAction::Attack));
    bindings[KeybindAction::MoveForward].bound = false;
    EXPECT_FALSE(input.IsActionDown(KeybindAction::MoveForward));
    EXPECT_TRUE(input.IsActionDown(KeybindAction::Block)); // the neighbours still work

    bindings.erase(KeybindAction::Inventory);
    try {
        input.IsActionPressed(KeybindAction::Inventory);
        FAIL() << "a missing action must throw";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
}

} // namespace
} // namespace mirefell
