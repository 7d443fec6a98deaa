// NotificationBox: the message list, the pickup messages and their drawing.
#include "ui/NotificationBox.h"

#include "gameplay/Item.h"
#include "platform/Lookup.h"
#include "render/Painter.h"
#include "shell/InventoryWindowFlag.h"
#include "shell/KeybindAction.h"
#include "shell/KeybindManager.h"
#include "ui/HudState.h"
#include "ui/MonsterHealthBar.h"

namespace mirefell
{

namespace
{

std::wstring KeyNameOf(KeybindAction action)
{
    return KeybindManager::GetKeyName(MapAt(KeybindManager::GetInstance().bindings, action));
}

constexpr int32_t MessageFont = 0;
constexpr int32_t TopLeft = 1;
constexpr int32_t AlignStart = 1;
constexpr Color BoxColor{0.0f, 0.0f, 0.0f, 0.75f};
constexpr Color TextColor{1.0f, 1.0f, 1.0f, 1.0f};

} // namespace

NotificationBox::NotificationBox(Painter* painter_) : BaseUIComponent(painter_) {}

NotificationBox::~NotificationBox() = default;

void NotificationBox::Update() {}

void NotificationBox::Draw()
{
    if (inventoryWindowOpen || !IsHudShown())
        return;
    const float margin = painter->margin;
    const float lineHeight = painter->GetLineHeight(MessageFont);
    const SpriteFont& font = *painter->fonts.at(MessageFont);
    Vector2 corner = painter->GetAnchorPoint(TopLeft, 2.0f * margin, 2.0f * margin);
    if (monsterHealthBar && monsterHealthBar->IsShown()) {
        // Every box starts at or below the bar's top and left of its right
        // end, so a box lies on the bar when it begins above the bar's
        // bottom and reaches past its left edge.
        const float barLeft = MonsterHealthBar::RowLeft(*painter);
        const float barBottom = MonsterHealthBar::RowBottom(*painter);
        float top = corner.y;
        for (const NotificationMessage& message : GetMessages()) {
            if (top >= barBottom)
                break;
            if (corner.x + 2.0f * margin + font.MeasureString(message.text.c_str()).x > barLeft) {
                corner.y = barBottom + margin;
                break;
            }
            top += 3.0f * margin + lineHeight;
        }
    }
    for (const NotificationMessage& message : GetMessages()) {
        const float width = font.MeasureString(message.text.c_str()).x;
        painter->FillRectangle(corner, Vector2(2.0f * margin + width, 2.0f * margin + lineHeight), BoxColor);
        painter->DrawText(MessageFont, false, corner + Vector2(margin, margin), message.text.c_str(), TextColor,
                          AlignStart, AlignStart, true);
        corner.y += 3.0f * margin + lineHeight;
    }
}

std::list<NotificationMessage>& NotificationBox::GetMessages()
{
    static std::list<NotificationMessage> messages;
    return messages;
}

void NotificationBox::AddMessage(std::list<NotificationMessage>& messages, std::wstring text, int32_t ticks)
{
    if (!messages.empty() && messages.front().text == text)
        return;
    if (messages.size() >= MaxMessages)
        messages.pop_back();
    messages.push_front({std::move(text), ticks});
}

void NotificationBox::ShowPickup(std::list<NotificationMessage>& messages, const Item& item)
{
    ShowPickup(messages, item.name, item.textureId);
}

void NotificationBox::ShowPickup(std::list<NotificationMessage>& messages, const std::wstring& itemName,
                                 const std::string& itemTextureId)
{
    AddMessage(messages, L"Picked up " + itemName + L".", PickupTicks);
    if (!inventoryHintShown) {
        AddMessage(messages,
                   L"You can review your map and inventory by pressing [" + KeyNameOf(KeybindAction::Inventory) + L"].",
                   HintTicks);
        inventoryHintShown = true;
    }
    if (itemTextureId == "item_boots" && !bootsHintShown) {
        AddMessage(messages,
                   L"Press [" + KeyNameOf(KeybindAction::UseAntiGravBoots) + L"] to jump. Land on something living!",
                   HintTicks);
        bootsHintShown = true;
    }
}

void NotificationBox::RemoveExpired(std::list<NotificationMessage>& messages)
{
    // Below 0 too: a message added with no time left, or one counted past 0,
    // would otherwise stay for good.
    messages.remove_if([](const NotificationMessage& message) { return message.ticks <= 0; });
}

void NotificationBox::Clear(std::list<NotificationMessage>& messages)
{
    messages.clear();
}

} // namespace mirefell
