// MenuLabel: white outlined text, placed like a button's.
#include "ui/MenuLabel.h"

#include "render/Painter.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

MenuLabel::MenuLabel(Painter* painter_) : BaseUIComponent(painter_) {}

MenuLabel::~MenuLabel() = default;

void MenuLabel::SetTextSpan(float left, float right)
{
    textSpan = TextSpan{left, right};
}

void MenuLabel::Draw()
{
    if (!visible)
        return;
    const float x = MenuTextX(painter->margin, position, size, alignment);
    const float room =
        textSpan ? MenuTextRoomInSpan(x, alignment, *textSpan) : MenuTextRoom(painter->margin, size, alignment);
    const int32_t font = MenuFont(*painter, textSize, scaleText, text.c_str(), room, size.y);
    painter->DrawText(font, false, Vector2(x, position.y + size.y * 0.5f), text.c_str(), MenuWhite, alignment,
                      MenuAlignCentre, true);
}

} // namespace mirefell
