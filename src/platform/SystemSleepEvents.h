// SystemSleepEvents: the system's sleep and wake-up as platform events.
// systemd-logind announces them on the system bus with its PrepareForSleep
// signal (true before the machine sleeps, false once it is awake again);
// this source listens to that signal and hands it on as PowerSuspending and
// PowerResumed events.
//
// Where there is no system bus (a container, a CI machine, a system without
// logind) the source is silent: it fails nothing and waits for nothing, and
// PollEvent always answers false. A bus that goes away later leaves it silent
// the same way. Everything runs on the calling thread; PollEvent reads the
// bus without blocking.
#pragma once

#include <memory>
#include <string>

#include "platform/PlatformEvent.h"

namespace mirefell
{

class SystemSleepEvents final : public IEventSource
{
public:
    // The system bus, or the bus at `busAddress` when one is given (a D-Bus
    // address such as "unix:path=/run/dbus/system_bus_socket").
    explicit SystemSleepEvents(const std::string& busAddress = {});
    ~SystemSleepEvents() override;
    SystemSleepEvents(const SystemSleepEvents&) = delete;
    SystemSleepEvents& operator=(const SystemSleepEvents&) = delete;

    // Whether a bus is there to listen to.
    bool IsListening() const;

    // The next sleep or wake-up announced since the last call; false when
    // none was.
    bool PollEvent(PlatformEvent& event) override;
    // Returns at once: the game's main loop waits on the window's events.
    void WaitForEvent(int timeoutMs) override;

private:
    struct Bus;
    std::unique_ptr<Bus> bus;
};

} // namespace mirefell
