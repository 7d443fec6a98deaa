// MouseCursor: the pointer.
#include "ui/MouseCursor.h"

#include "render/Painter.h"
#include "shell/Input.h"

namespace mirefell
{

MouseCursor::MouseCursor(Painter* painter_) : BaseUIComponent(painter_) {}

MouseCursor::~MouseCursor() = default;

void MouseCursor::Draw()
{
    static constexpr Vector2 Size{32.0f, 32.0f};
    const Input& input = Input::GetInstance();
    if (input.mouseMode != Input::MouseModeAbsolute || input.mouseState.x <= 0 || input.mouseState.y <= 0)
        return;
    const Vector2 hotSpot(static_cast<float>(input.mouseState.x), static_cast<float>(input.mouseState.y));
    painter->DrawTexture(hotSpot, Size, "mouse", Color(1.0f, 1.0f, 1.0f, 1.0f));
}

} // namespace mirefell
