// SocialMediaButton: hover, the click on the press, the faint or full draw.
#include "ui/SocialMediaButton.h"

#include "render/Painter.h"
#include "shell/Input.h"

namespace mirefell
{

SocialMediaButton::SocialMediaButton(Painter* painter_) : BaseUIComponent(painter_) {}

SocialMediaButton::~SocialMediaButton() = default;

void SocialMediaButton::Update()
{
    if (!visible)
        return;
    Input& input = Input::GetInstance();
    hovered = HitTestMouse(input.mouseState);
    if (hovered && input.mouseState.leftButton && !input.clickConsumed && onClick) {
        onClick();
        input.clickConsumed = true;
    }
}

void SocialMediaButton::Draw()
{
    if (!visible)
        return;
    painter->DrawTexture(position, size, textureName, hovered ? hoverColour : normalColour);
}

} // namespace mirefell
