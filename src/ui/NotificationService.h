// NotificationService: the game's notification service (the shell's
// INotificationService) over the NotificationBox's message list. The
// program registers GetInstance() at start-up; what the gameplay posts then
// lands in NotificationBox::GetMessages(), which the HUD draws.
#pragma once

#include "shell/INotificationService.h"

namespace mirefell
{

class NotificationService final : public INotificationService
{
public:
    static NotificationService& GetInstance();

    // NotificationBox::AddMessage on the message list.
    void Notify(std::wstring text, int32_t ticks) override;
    // NotificationBox::ShowPickup on the message list.
    void NotifyPickup(const std::wstring& itemName, const std::string& itemTextureId) override;
};

} // namespace mirefell
