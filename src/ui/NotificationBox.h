// NotificationBox: the process-wide list of timed messages that gameplay
// tells the player ("Picked up the red key.", a locked door, a cheat code).
// Any part of the program adds to it; the UI counts the messages down in
// play and removes the expired ones; the HUD widget draws them as a stack of
// boxes at the top-left, newest on top. The list holds at most three
// messages, refuses a message equal to the newest one, and is emptied when a
// level's HUD is built.
//
// Item pickups also teach two controls, once per run of the program: the
// inventory key on the first pickup of any item, the jump key on the first
// pickup of the anti-grav boots.
//
// What the gameplay posts through the shell's INotificationService lands in
// the same list (NotificationService).
//
// Durations are in update steps of 1/60 s. The list needs no display; the
// widget draws it, and draws nothing while the inventory is open or the HUD
// is switched off. Its Update does nothing: the UIManager counts the
// messages down.
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class Item;
class MonsterHealthBar;

struct NotificationMessage
{
    std::wstring text;
    int32_t ticks = 0; // update steps left
};

class NotificationBox : public BaseUIComponent
{
public:
    static constexpr size_t MaxMessages = 3;
    static constexpr int32_t PickupTicks = 300;
    static constexpr int32_t HintTicks = 600;

    explicit NotificationBox(Painter* painter_);
    ~NotificationBox() override;

    // Nothing, not even the children.
    void Update() override;
    // The messages from the top-left corner down, newest first, each in a
    // dark box one margin wide around its text, one margin apart. While the
    // monster's health bar is shown and a box would lie on it (a long
    // message on a screen up to 1280 wide), the stack starts one margin
    // below the bar instead.
    void Draw() override;

    // The message list, newest first; made on first use.
    static std::list<NotificationMessage>& GetMessages();
    // Puts {text, ticks} in front, dropping the oldest beyond three; a text
    // equal to the newest message's is ignored (its time is not renewed).
    static void AddMessage(std::list<NotificationMessage>& messages, std::wstring text, int32_t ticks);
    // "Picked up <name>." and the once-per-run control hints. Throws "invalid
    // map<K, T> key" when a hinted action has no binding.
    static void ShowPickup(std::list<NotificationMessage>& messages, const Item& item);
    // The same from the item's display name and texture id (the boots are
    // "item_boots").
    static void ShowPickup(std::list<NotificationMessage>& messages, const std::wstring& itemName,
                           const std::string& itemTextureId);
    // Removes every message whose ticks have run out (0 or below).
    static void RemoveExpired(std::list<NotificationMessage>& messages);
    static void Clear(std::list<NotificationMessage>& messages);

    // The bar the stack keeps clear of (not owned; the HUD's), or null.
    const MonsterHealthBar* monsterHealthBar = nullptr;

    // Whether each hint was shown in this run of the program.
    static inline bool inventoryHintShown = false;
    static inline bool bootsHintShown = false;
};

} // namespace mirefell
