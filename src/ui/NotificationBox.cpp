// NotificationBox: the message list and the pickup messages.
#include "ui/NotificationBox.h"

#include "gameplay/Item.h"
#include "platform/Lookup.h"
#include "shell/KeybindAction.h"
#include "shell/KeybindManager.h"

namespace mirefell
{

namespace
{

std::wstring KeyNameOf(KeybindAction action)
{
    return KeybindManager::GetKeyName(MapAt(KeybindManager::GetInstance().bindings, action));
}

} // namespace

NotificationBox& NotificationBox::GetInstance()
{
    static NotificationBox box;
    return box;
}

void NotificationBox::Notify(std::wstring text, int32_t ticks)
{
    AddMessage(GetMessages(), std::move(text), ticks);
}

void NotificationBox::NotifyPickup(const std::wstring& itemName, const std::string& itemTextureId)
{
    ShowPickup(GetMessages(), itemName, itemTextureId);
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
    messages.remove_if([](const NotificationMessage& message) { return message.ticks == 0; });
}

void NotificationBox::Clear(std::list<NotificationMessage>& messages)
{
    messages.clear();
}

} // namespace mirefell
