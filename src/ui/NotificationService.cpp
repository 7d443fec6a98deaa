// NotificationService: posts into the NotificationBox's list.
#include "ui/NotificationService.h"

#include "ui/NotificationBox.h"

namespace mirefell
{

NotificationService& NotificationService::GetInstance()
{
    static NotificationService service;
    return service;
}

void NotificationService::Notify(std::wstring text, int32_t ticks)
{
    NotificationBox::AddMessage(NotificationBox::GetMessages(), std::move(text), ticks);
}

void NotificationService::NotifyPickup(const std::wstring& itemName, const std::string& itemTextureId)
{
    NotificationBox::ShowPickup(NotificationBox::GetMessages(), itemName, itemTextureId);
}

} // namespace mirefell
