// MenuButton: hover, the click on the press, and the three layouts.
#include "ui/MenuButton.h"

#include "render/Painter.h"
#include "shell/Input.h"
#include "shell/SoundManager.h"
#include "ui/MenuStyle.h"

namespace mirefell
{

namespace
{
constexpr float PulseStep = 0.05f;
// Where the two columns are centred, as parts of the row's width.
constexpr float TextColumn = 0.15f;
constexpr float ValueColumn = 0.65f;
} // namespace

MenuButton::MenuButton(Painter* painter_) : BaseUIComponent(painter_) {}

MenuButton::~MenuButton() = default;

void MenuButton::Update()
{
    if (!visible)
        return;
    if (IsDisabled()) {
        hovered = false;
        return;
    }
    Input& input = Input::GetInstance();
    hovered = HitTestMouse(input.mouseState);
    if (hovered && input.mouseState.leftButton && !input.clickConsumed && onClick) {
        SoundManager::GetInstance().PlaySound(clickSound);
        onClick();
        input.clickConsumed = true;
    }
    pulseTime += PulseStep;
}

void MenuButton::Draw()
{
    if (!visible)
        return;
    if (hovered)
        painter->FillRectangle(position, size, MenuHoverRed);

    const float centreY = position.y + size.y * 0.5f;
    const Color colour = IsDisabled() ? MenuDisabledGrey() : pulse ? MenuPulseColour(pulseTime) : MenuWhite;
    if (twoColumn) {
        const std::wstring left = CurrentText();
        const std::wstring right = valueProvider ? valueProvider() : valueText;
        painter->DrawText(textSize, scaleText, Vector2(position.x + size.x * TextColumn, centreY), left.c_str(), colour,
                          MenuAlignCentre, MenuAlignCentre, true);
        painter->DrawText(textSize, scaleText, Vector2(position.x + size.x * ValueColumn, centreY), right.c_str(),
                          colour, MenuAlignCentre, MenuAlignCentre, true);
        return;
    }
    if (iconMode) {
        const Vector2 corner = position + size * 0.5f - Vector2(size.y * 0.5f, size.y * 0.5f);
        painter->DrawTexture(corner, Vector2(size.y, size.y), iconName, colour);
        return;
    }
    const float x = MenuTextX(painter->margin, position, size, alignment);
    // A fixed text is drawn as it stands, without a copy.
    const std::wstring provided = textProvider ? textProvider() : std::wstring();
    const wchar_t* shown = textProvider ? provided.c_str() : text.c_str();
    painter->DrawText(textSize, scaleText, Vector2(x + textOffsetX, centreY), shown, colour, alignment, MenuAlignCentre,
                      true);
}

} // namespace mirefell
