// SystemSleepEvents: logind's PrepareForSleep signal over libdbus.
#include "platform/SystemSleepEvents.h"

#include <cstring>

#include <dbus/dbus.h>

namespace mirefell
{

namespace
{

constexpr const char* LoginPath = "/org/freedesktop/login1";
constexpr const char* ManagerInterface = "org.freedesktop.login1.Manager";
constexpr const char* SleepSignal = "PrepareForSleep";
// Only logind itself may own its name on the system bus, so only its signal
// is routed to us.
constexpr const char* SleepMatch = "type='signal',sender='org.freedesktop.login1',path='/org/freedesktop/"
                                   "login1',interface='org.freedesktop.login1.Manager',member='PrepareForSleep'";

// A private connection (ours to close) to the system bus or to `address`,
// registered on it; null when there is none.
DBusConnection* Connect(const std::string& address)
{
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* connection = nullptr;
    if (address.empty()) {
        connection = dbus_bus_get_private(DBUS_BUS_SYSTEM, &error);
    } else {
        connection = dbus_connection_open_private(address.c_str(), &error);
        if (connection && !dbus_bus_register(connection, &error)) {
            dbus_connection_close(connection);
            dbus_connection_unref(connection);
            connection = nullptr;
        }
    }
    if (connection) {
        // A bus that goes away must not take the game with it.
        dbus_connection_set_exit_on_disconnect(connection, FALSE);
        dbus_bus_add_match(connection, SleepMatch, &error);
        if (dbus_error_is_set(&error)) {
            dbus_connection_close(connection);
            dbus_connection_unref(connection);
            connection = nullptr;
        }
    }
    dbus_error_free(&error);
    return connection;
}

void Disconnect(DBusConnection* connection)
{
    dbus_connection_close(connection);
    dbus_connection_unref(connection);
}

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

struct SystemSleepEvents::Bus
{
    DBusConnection* connection = nullptr;
};

SystemSleepEvents::SystemSleepEvents(const std::string& busAddress) : bus(std::make_unique<Bus>())
{
    bus->connection = Connect(busAddress);
}

SystemSleepEvents::~SystemSleepEvents()
{
    if (bus->connection)
        Disconnect(bus->connection);
}

bool SystemSleepEvents::IsListening() const
{
    return bus->connection != nullptr;
}

bool SystemSleepEvents::PollEvent(PlatformEvent& event)
{
    DBusConnection* connection = bus->connection;
    if (!connection)
        return false;
    // Takes what the socket holds, without waiting.
    dbus_connection_read_write(connection, 0);
    while (DBusMessage* message = dbus_connection_pop_message(connection)) {
        bool sleeping = false;
        const bool found = ReadSleepSignal(message, sleeping);
        dbus_message_unref(message);
        if (found) {
            event = PlatformEvent();
            event.type = sleeping ? PlatformEventType::PowerSuspending : PlatformEventType::PowerResumed;
            return true;
        }
    }
    if (!dbus_connection_get_is_connected(connection)) {
        Disconnect(connection);
        bus->connection = nullptr;
    }
    return false;
}

void SystemSleepEvents::WaitForEvent(int) {}

} // namespace mirefell
