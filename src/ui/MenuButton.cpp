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

void MenuButton::SetTextSpan(float left, float right)
{
    textSpan = TextSpan{left, right};
}

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
        // Each column holds what is centred in it without reaching the other
        // or the row's ends: the first the row's first 0.3, the second the
        // rest.
        const int32_t leftFont =
            MenuFont(*painter, textSize, scaleText, left.c_str(), size.x * TextColumn * 2.0f, size.y);
        const int32_t rightFont =
            MenuFont(*painter, textSize, scaleText, right.c_str(), size.x * (1.0f - ValueColumn) * 2.0f, size.y);
        painter->DrawText(leftFont, false, Vector2(position.x + size.x * TextColumn, centreY), left.c_str(), colour,
                          MenuAlignCentre, MenuAlignCentre, true);
        painter->DrawText(rightFont, false, Vector2(position.x + size.x * ValueColumn, centreY), right.c_str(), colour,
                          MenuAlignCentre, MenuAlignCentre, true);
        return;
    }
    if (iconMode) {
        const Vector2 corner = position + size * 0.5f - Vector2(size.y * 0.5f, size.y * 0.5f);
        painter->DrawTexture(corner, Vector2(size.y, size.y), iconName, colour);
        return;
    }
    const float x = MenuTextX(painter->margin, position, size, alignment) + textOffsetX;
    // A fixed text is drawn as it stands, without a copy.
    const std::wstring provided = textProvider ? textProvider() : std::wstring();
    const wchar_t* shown = textProvider ? provided.c_str() : text.c_str();
    // A text longer than its row runs on over empty screen in its own font.
    const float room =
        textSpan ? MenuTextRoomInSpan(x, alignment, *textSpan) : MenuTextRoom(painter->margin, size, alignment);
    const int32_t font = MenuFont(*painter, textSize, scaleText, shown, room, size.y);
    painter->DrawText(font, false, Vector2(x, centreY), shown, colour, alignment, MenuAlignCentre, true);
}

} // namespace mirefell
