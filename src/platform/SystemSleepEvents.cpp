// SystemSleepEvents: logind's PrepareForSleep signal over libdbus, read on a
// listener thread. The thread alone touches its connection; the main thread
// sees only the queue of signals and two flags.
#include "platform/SystemSleepEvents.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>

#include <dbus/dbus.h>

namespace mirefell
{

namespace
{

constexpr const char* SystemBusDefaultAddress = "unix:path=/var/run/dbus/system_bus_socket";
constexpr const char* LoginPath = "/org/freedesktop/login1";
constexpr const char* ManagerInterface = "org.freedesktop.login1.Manager";
constexpr const char* SleepSignal = "PrepareForSleep";
// Only logind itself may own its name on the system bus, so only its signal
// is routed to us.
constexpr const char* SleepMatch = "type='signal',sender='org.freedesktop.login1',path='/org/freedesktop/"
                                   "login1',interface='org.freedesktop.login1.Manager',member='PrepareForSleep'";
// How long one read of the bus waits: the longest the thread takes to notice
// that it should end.
constexpr int ReadWaitMs = 100;
// Signals not yet taken by the main loop; it takes them at every pass, so a
// full queue means the loop is not running and the oldest may go.
constexpr size_t QueueSize = 16;

using SteadyClock = std::chrono::steady_clock;

// Whether the message is logind's sleep signal; `sleeping` is its argument.
bool ReadSleepSignal(DBusMessage* message, bool& sleeping)
{
    const char* path = dbus_message_get_path(message);
    if (!dbus_message_is_signal(message, ManagerInterface, SleepSignal) || !path || std::strcmp(path, LoginPath) != 0)
        return false;
    dbus_bool_t value = FALSE;
    if (!dbus_message_get_args(message, nullptr, DBUS_TYPE_BOOLEAN, &value, DBUS_TYPE_INVALID))
        return false;
    sleeping = value != FALSE;
    return true;
}

} // namespace

struct SleepListenerShared
{
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> listening{false};
    std::atomic<bool> stopped{false};
    std::mutex mutex; // guards the queue and `stopped` changes
    std::condition_variable ended;
    std::array<bool, QueueSize> queue{}; // true: going to sleep
    size_t first = 0;
    size_t count = 0; // signals waiting

    void Push(bool sleeping)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (count == QueueSize) {
            first = (first + 1) % QueueSize;
            --count;
        }
        queue[(first + count) % QueueSize] = sleeping;
        ++count;
    }

    bool Pop(bool& sleeping)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (count == 0)
            return false;
        sleeping = queue[first];
        first = (first + 1) % QueueSize;
        --count;
        return true;
    }

    void End()
    {
        listening = false;
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopped = true;
        }
        ended.notify_all();
    }
};

namespace
{

// The listener thread's connection, closed when it goes.
class BusConnection
{
public:
    explicit BusConnection(DBusConnection* connection_) : connection(connection_) {}
    ~BusConnection()
    {
        if (connection) {
            dbus_connection_close(connection);
            dbus_connection_unref(connection);
        }
    }
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    DBusConnection* connection;
};

// Hands every sleep signal the connection holds to the queue. False once the
// connection is gone.
bool TakeSignals(DBusConnection* connection, SleepListenerShared& shared, dbus_uint32_t awaitedSerial,
                 DBusMessage** reply)
{
    while (DBusMessage* message = dbus_connection_pop_message(connection)) {
        bool sleeping = false;
        if (reply && awaitedSerial != 0 && dbus_message_get_reply_serial(message) == awaitedSerial) {
            *reply = message;
            return true;
        }
        if (ReadSleepSignal(message, sleeping))
            shared.Push(sleeping);
        dbus_message_unref(message);
    }
    return dbus_connection_get_is_connected(connection);
}

enum class CallResult
{
    Answered,
    Stopped, // the thread was asked to end
    Failed,  // `failure` says why
};

// Calls a method of the bus and waits for its answer, at most `timeoutMs`,
// reading in short waits so that a request to end is seen.
CallResult CallBus(DBusConnection* connection, SleepListenerShared& shared, const char* method, const char* argument,
                   int timeoutMs, std::string& failure)
{
    DBusMessage* call = dbus_message_new_method_call(DBUS_SERVICE_DBUS, DBUS_PATH_DBUS, DBUS_INTERFACE_DBUS, method);
    if (!call || (argument && !dbus_message_append_args(call, DBUS_TYPE_STRING, &argument, DBUS_TYPE_INVALID))) {
        if (call)
            dbus_message_unref(call);
        failure = "could not be called: out of memory";
        return CallResult::Failed;
    }
    dbus_uint32_t serial = 0;
    const bool sent = dbus_connection_send(connection, call, &serial);
    dbus_message_unref(call);
    if (!sent) {
        failure = "could not be called: out of memory";
        return CallResult::Failed;
    }
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs);
    while (!shared.stopRequested) {
        dbus_connection_read_write(connection, ReadWaitMs);
        DBusMessage* reply = nullptr;
        const bool connected = TakeSignals(connection, shared, serial, &reply);
        if (reply) {
            const bool refused = dbus_message_get_type(reply) == DBUS_MESSAGE_TYPE_ERROR;
            if (refused) {
                const char* name = dbus_message_get_error_name(reply);
                failure = "refused " + std::string(method) + " (" + (name ? name : "no reason") + ")";
            }
            dbus_message_unref(reply);
            return refused ? CallResult::Failed : CallResult::Answered;
        }
        if (!connected) {
            failure = "closed the connection before answering " + std::string(method);
            return CallResult::Failed;
        }
        if (SteadyClock::now() >= deadline) {
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.1f", timeoutMs / 1000.0);
            failure = "did not answer " + std::string(method) + " within " + seconds + " s";
            return CallResult::Failed;
        }
    }
    return CallResult::Stopped;
}

void Listen(const std::shared_ptr<SleepListenerShared>& shared, const std::string& address, int timeoutMs)
{
    DBusError error;
    dbus_error_init(&error);
    // Only the connection itself may wait in the system here (a bus that
    // never accepts it); that is why this runs on its own thread.
    BusConnection bus(dbus_connection_open_private(address.c_str(), &error));
    dbus_error_free(&error);
    if (!bus.connection) {
        // No bus: silence, as on a machine without one.
        shared->End();
        return;
    }
    // A bus that goes away must not take the game with it.
    dbus_connection_set_exit_on_disconnect(bus.connection, FALSE);

    std::string failure;
    CallResult result = CallBus(bus.connection, *shared, "Hello", nullptr, timeoutMs, failure);
    if (result == CallResult::Answered)
        result = CallBus(bus.connection, *shared, "AddMatch", SleepMatch, timeoutMs, failure);
    if (result == CallResult::Failed)
        std::fprintf(stderr, "the system bus (%s) %s; the system's sleep and wake-up will not be noticed\n",
                     address.c_str(), failure.c_str());
    if (result != CallResult::Answered) {
        shared->End();
        return;
    }

    shared->listening = true;
    while (!shared->stopRequested) {
        dbus_connection_read_write(bus.connection, ReadWaitMs);
        if (!TakeSignals(bus.connection, *shared, 0, nullptr))
            break;
    }
    shared->End();
}

} // namespace

SystemSleepEvents::SystemSleepEvents(const std::string& busAddress, int answerTimeoutMs)
    : shared(std::make_shared<SleepListenerShared>())
{
    std::string address = busAddress;
    if (address.empty()) {
        const char* configured = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
        address = configured && *configured ? configured : SystemBusDefaultAddress;
    }
    try {
        listener = std::thread([state = shared, address, answerTimeoutMs] { Listen(state, address, answerTimeoutMs); });
    } catch (const std::system_error& error) {
        std::fprintf(stderr,
                     "cannot start listening to the system bus (%s); the system's sleep and wake-up will not be "
                     "noticed\n",
                     error.what());
        shared->End();
    }
}

SystemSleepEvents::~SystemSleepEvents()
{
    shared->stopRequested = true;
    if (!listener.joinable())
        return;
    bool ended = false;
    {
        std::unique_lock<std::mutex> lock(shared->mutex);
        ended = shared->ended.wait_for(lock, std::chrono::milliseconds(StopWaitMs),
                                       [this] { return shared->stopped.load(); });
    }
    if (ended)
        listener.join();
    else
        listener.detach(); // ends with the process; it keeps what it shares
}

bool SystemSleepEvents::IsListening() const
{
    return shared->listening;
}

bool SystemSleepEvents::HasStopped() const
{
    return shared->stopped;
}

bool SystemSleepEvents::PollEvent(PlatformEvent& event)
{
    bool sleeping = false;
    if (!shared->Pop(sleeping))
        return false;
    event = PlatformEvent();
    event.type = sleeping ? PlatformEventType::PowerSuspending : PlatformEventType::PowerResumed;
    return true;
}

void SystemSleepEvents::WaitForEvent(int) {}

} // namespace mirefell
