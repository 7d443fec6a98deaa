// The notification list: at most three, newest first, no repeat of the
// newest, expiry at 0 or below, and the once-per-run pickup hints.
#include <gtest/gtest.h>

#include "gameplay/Item.h"
#include "shell/KeybindManager.h"
#include "ui/NotificationBox.h"

namespace mirefell
{
namespace
{

using Messages = std::list<NotificationMessage>;

std::vector<std::wstring> Texts(const Messages& messages)
{
    std::vector<std::wstring> texts;
    for (const NotificationMessage& message : messages)
        texts.push_back(message.text);
    return texts;
}

TEST(NotificationBox, HoldsThreeNewestFirstAndRefusesARepeatOfTheNewest)
{
    Messages messages;
    NotificationBox::AddMessage(messages, L"A", 300);
    NotificationBox::AddMessage(messages, L"A", 50);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages.front().ticks, 300); // not renewed

    NotificationBox::AddMessage(messages, L"B", 10);
    NotificationBox::AddMessage(messages, L"A", 20); // only the newest is compared
    EXPECT_EQ(Texts(messages), (std::vector<std::wstring>{L"A", L"B", L"A"}));
    NotificationBox::AddMessage(messages, L"C", 999);
    EXPECT_EQ(Texts(messages), (std::vector<std::wstring>{L"C", L"A", L"B"})); // the oldest goes, ticks or not

    // Expiry is at zero or below: the UI counts down and then removes; a
    // message that came with no time at all goes too.
    for (NotificationMessage& message : messages)
        message.ticks -= 10;
    NotificationBox::AddMessage(messages, L"D", -1);
    NotificationBox::RemoveExpired(messages);
    EXPECT_EQ(Texts(messages), (std::vector<std::wstring>{L"C", L"A"}));
    NotificationBox::Clear(messages);
    EXPECT_TRUE(messages.empty());
}

TEST(NotificationBox, PickupsTeachTheInventoryKeyOnceAndTheBootsKeyOnce)
{
    KeybindManager& keys = KeybindManager::GetInstance();
    keys.Reset("");
    NotificationBox::inventoryHintShown = false;
    NotificationBox::bootsHintShown = false;
    Item shotgun;
    shotgun.name = L"Double Shotgun";
    shotgun.textureId = "item_double_shotgun";
    Item boots;
    boots.name = L"Anti-Grav Boots";
    boots.textureId = "item_boots";
    const std::wstring inventoryKey = KeybindManager::GetKeyName(keys.bindings.at(KeybindAction::Inventory));

    Messages messages;
    NotificationBox::ShowPickup(messages, shotgun);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages.front().text, L"You can review your map and inventory by pressing [" + inventoryKey + L"].");
    EXPECT_EQ(messages.front().ticks, 600);
    EXPECT_EQ(messages.back().text, L"Picked up Double Shotgun.");
    EXPECT_EQ(messages.back().ticks, 300);

    NotificationBox::ShowPickup(messages, boots);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages.front().text.rfind(L"Press [", 0), 0u);
    EXPECT_NE(messages.front().text.find(L"] to jump. Land on something living!"), std::wstring::npos);
    EXPECT_EQ(std::next(messages.begin())->text, L"Picked up Anti-Grav Boots.");

    NotificationBox::Clear(messages);
    NotificationBox::ShowPickup(messages, boots);
    EXPECT_EQ(Texts(messages), (std::vector<std::wstring>{L"Picked up Anti-Grav Boots."})); // both hints given

    // A lost binding is a data fault the player would otherwise never see.
    keys.bindings.erase(KeybindAction::Inventory);
    NotificationBox::inventoryHintShown = false;
    EXPECT_THROW(NotificationBox::ShowPickup(messages, shotgun), std::out_of_range);
    keys.Reset("");
}

} // namespace
} // namespace mirefell
