// SystemSleepEvents: the system's sleep and wake-up as platform events.
// systemd-logind announces them on the system bus with its PrepareForSleep
// signal (true before the machine sleeps, false once it is awake again);
// this source listens to that signal and hands it on as PowerSuspending and
// PowerResumed events.
//
// The bus is never waited for on the calling (main) thread: a listener
// thread of its own connects, subscribes and reads the bus, and passes each
// signal on through a small queue that PollEvent empties without blocking.
// A bus that is slow to answer only delays the listening, never the game.
//
// Where there is no system bus (a container, a CI machine, a system without
// logind) the source is silent: it fails nothing and PollEvent always answers
// false. A bus that is there but does not answer the connection's greeting or
// the subscription within the answer time-out (it never speaks, never accepts
// the connection, or speaks no D-Bus) is given up with one line on stderr,
// and the source is silent from then on. A bus that goes away later leaves it
// silent the same way.
#pragma once

#include <memory>
#include <string>
#include <thread>

#include "platform/PlatformEvent.h"

namespace mirefell
{

// What the listener thread and its SystemSleepEvents share (defined with
// them); the thread keeps it alive while it runs, so a thread left behind at
// destruction finds it still there.
struct SleepListenerShared;

class SystemSleepEvents final : public IEventSource
{
public:
    // How long the listener waits for each answer of the bus before it gives
    // up (the bus's own default for a method call).
    static constexpr int DefaultAnswerTimeoutMs = 25'000;
    // How long destruction waits for the listener thread to notice that it
    // should end; one stuck in the system (a connection the bus never
    // accepts) is left to end with the process.
    static constexpr int StopWaitMs = 500;

    // The system bus (DBUS_SYSTEM_BUS_ADDRESS, else the system's socket), or
    // the bus at `busAddress` when one is given (a D-Bus address such as
    // "unix:path=/run/dbus/system_bus_socket"). Returns at once; the
    // listener starts on its own thread.
    explicit SystemSleepEvents(const std::string& busAddress = {}, int answerTimeoutMs = DefaultAnswerTimeoutMs);
    // Returns within about StopWaitMs whatever the bus does.
    ~SystemSleepEvents() override;
    SystemSleepEvents(const SystemSleepEvents&) = delete;
    SystemSleepEvents& operator=(const SystemSleepEvents&) = delete;

    // Whether the listener is subscribed to the sleep signal.
    bool IsListening() const;
    // Whether the listener has ended: no bus, the bus given up or gone.
    bool HasStopped() const;

    // The next sleep or wake-up announced since the last call, in the order
    // they came; false when none was. Never blocks.
    bool PollEvent(PlatformEvent& event) override;
    // Returns at once: the game's main loop waits on the window's events.
    void WaitForEvent(int timeoutMs) override;

private:
    std::shared_ptr<SleepListenerShared> shared;
    std::thread listener;
};

} // namespace mirefell
