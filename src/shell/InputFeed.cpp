// InputFeed: the events, built as the event pump builds them.
#include "shell/InputFeed.h"

#include "platform/Lookup.h"
#include "platform/PlatformEvent.h"
#include "shell/Input.h"
#include "shell/KeybindManager.h"

namespace mirefell
{

namespace
{

void ToMouse(const PlatformEvent& event)
{
    if (Mouse* mouse = Input::GetInstance().mouse.get())
        mouse->ProcessEvent(event);
}

} // namespace

void FeedAction(KeybindAction action, bool down)
{
    const Keybind& binding = MapAt(KeybindManager::GetInstance().bindings, action);
    if (binding.device != KeybindDevice::Mouse) {
        FeedKey(binding.keyCode, down);
        return;
    }
    PlatformEvent event;
    event.type = down ? PlatformEventType::MouseButtonDown : PlatformEventType::MouseButtonUp;
    event.button = binding.leftButton    ? MouseButton::Left
                   : binding.rightButton ? MouseButton::Right
                                         : MouseButton::Middle;
    ToMouse(event);
}

void FeedKey(int32_t virtualKey, bool down)
{
    PlatformEvent event;
    event.type = down ? PlatformEventType::KeyDown : PlatformEventType::KeyUp;
    event.key = virtualKey;
    if (Keyboard* keyboard = Input::GetInstance().keyboard.get())
        keyboard->ProcessEvent(event);
}

void FeedMouseMotion(int32_t dx, int32_t dy)
{
    PlatformEvent event;
    event.type = PlatformEventType::MouseMotion;
    event.dx = dx;
    event.dy = dy;
    ToMouse(event);
}

} // namespace mirefell
