// UsePopup: follows the player's use target and draws the prompt.
#include "ui/UsePopup.h"

#include "gameplay/Player.h"
#include "platform/Lookup.h"
#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindManager.h"
#include "ui/HudState.h"
#include "world/IUsable.h"

namespace mirefell
{

namespace
{

constexpr int32_t PromptFont = 1;
constexpr int32_t Centre = 5;
constexpr int32_t AlignCentre = 2;
constexpr Color White{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

UsePopup::UsePopup(Painter* painter_) : BaseUIComponent(painter_)
{
    visible = false;
}

UsePopup::~UsePopup() = default;

void UsePopup::Update()
{
    visible = false;
    const Player* player = PlayerOf(context);
    // A dead player uses nothing: no prompt under the death screen's lines.
    if (player && !player->dead && player->usableInReach && player->usable)
        visible = player->usable->IsUseTarget();
    if (!visible)
        return;

    const KeybindManager& keys = KeybindManager::GetInstance();
    const Keybind& binding = MapAt(keys.bindings, KeybindAction::Use);
    if (text.empty() || !(binding == textBinding)) {
        text = keys.GetUseKeyLabel() + L" Use";
        textBinding = binding;
    }
    // Measuring needs the display fonts, which exist while the device does.
    if (painter->fonts.size() > PromptFont)
        width = 2.0f * painter->margin + painter->fonts[PromptFont]->MeasureString(text.c_str()).x;
}

void UsePopup::Draw()
{
    if (inventoryWindowOpen || !visible || !IsHudShown())
        return;
    const Vector2 box = painter->GetAnchorPoint(Centre, -width * 0.5f, 3.0f * painter->margin);
    const Vector2 centre = box + Vector2(width * 0.5f, painter->unitSize.y * 0.5f);
    painter->DrawTextShadow(PromptFont, false, centre, text.c_str(), AlignCentre);
    painter->DrawText(PromptFont, false, centre, text.c_str(), White, AlignCentre, AlignCentre, false);
}

} // namespace mirefell
