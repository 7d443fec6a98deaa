#include "shell/INotificationService.h"

namespace mirefell
{

namespace
{

class SilentNotifications final : public INotificationService
{
public:
    void Notify(std::wstring, int32_t) override {}
    void NotifyPickup(const std::wstring&, const std::string&) override {}
};

SilentNotifications silent;
INotificationService* current = &silent;

} // namespace

INotificationService& GetNotificationService()
{
    return *current;
}

void SetNotificationService(INotificationService* service)
{
    current = service ? service : &silent;
}

} // namespace mirefell
