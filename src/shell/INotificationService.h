// INotificationService: the timed messages the game tells the player (a
// pickup, a locked door, a cheat code), as the code that posts them sees
// them. It lives in the shell so that the gameplay can post without knowing
// the user interface: the UI's NotificationBox implements it, keeps the
// messages and draws them, and the program registers the box at start-up.
// With no service registered, posts go to a silent one (a run of the
// gameplay with no user interface, as in tests).
//
// Durations are in update steps of 1/60 s.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

class INotificationService
{
public:
    virtual ~INotificationService() = default;
    // A message shown for `ticks` update steps.
    virtual void Notify(std::wstring text, int32_t ticks) = 0;
    // The message of an item taken into the inventory and the control hints
    // that item teaches; itemTextureId names the item's kind ("item_boots").
    virtual void NotifyPickup(const std::wstring& itemName, const std::string& itemTextureId) = 0;
};

// The registered service, or the silent one.
INotificationService& GetNotificationService();
// Registers a service (not owned; it must outlive its use), or the silent one
// again for nullptr.
void SetNotificationService(INotificationService* service);

} // namespace mirefell
