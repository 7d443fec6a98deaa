// The system's sleep signal: silent where no bus is; a bus that is there but
// does not answer (silent, never accepting, speaking no D-Bus) is never
// waited for by the caller, is given up with one line on stderr, and never
// holds up the end; a working bus, however slow, brings logind's signals to
// the poller in the order they came.
#include <dbus/dbus.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/SystemSleepEvents.h"
#include "support/FakeSystemBus.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

using testing::FakeSystemBus;
using Behaviour = FakeSystemBus::Behaviour;

// Generous: each case needs well under a second.
constexpr int CaseLimitMs = 20'000;
constexpr int AnswerTimeoutMs = 300;

// Runs `body` on a thread of its own; false when it has not finished within
// `limitMs`, so a listener that waits for good fails the test instead of
// hanging it. `body` must own everything it touches: a body that did not
// finish is left running.
bool FinishesWithin(int limitMs, std::function<void()> body)
{
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> finished = done->get_future();
    std::thread([done, body = std::move(body)] {
        body();
        done->set_value();
    }).detach();
    return finished.wait_for(std::chrono::milliseconds(limitMs)) == std::future_status::ready;
}

// Polls `condition` every few milliseconds for at most `limitMs`.
bool WaitFor(const std::function<bool()>& condition, int limitMs = 5'000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(SystemSleepEvents, WithoutABusItIsSilent)
{
    testing::TempDir dir;
    ::testing::internal::CaptureStderr();
    {
        SystemSleepEvents sleep("unix:path=" + dir.File("no-bus"));
        EXPECT_TRUE(WaitFor([&sleep] { return sleep.HasStopped(); }));
        EXPECT_FALSE(sleep.IsListening());
        PlatformEvent event;
        EXPECT_FALSE(sleep.PollEvent(event));
        EXPECT_EQ(event.type, PlatformEventType::None);
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(SystemSleepEvents, ABusThatDoesNotAnswerIsGivenUpWithOneLineAndNeverWaitedFor)
{
    for (Behaviour behaviour :
         {Behaviour::AcceptsAndStaysSilent, Behaviour::ListensAndNeverAccepts, Behaviour::AnswersGarbage}) {
        SCOPED_TRACE(static_cast<int>(behaviour));
        testing::TempDir dir;
        FakeSystemBus bus(dir.Path() / "bus", behaviour);
        struct Outcome
        {
            bool polled = true, stopped = false, listening = true;
        };
        auto outcome = std::make_shared<Outcome>();
        ::testing::internal::CaptureStderr();
        const bool finished = FinishesWithin(CaseLimitMs, [address = bus.BusAddress(), outcome] {
            SystemSleepEvents sleep(address, AnswerTimeoutMs);
            PlatformEvent event;
            outcome->polled = sleep.PollEvent(event);
            outcome->stopped = WaitFor([&sleep] { return sleep.HasStopped(); });
            outcome->listening = sleep.IsListening();
        });
        const std::string said = ::testing::internal::GetCapturedStderr();
        ASSERT_TRUE(finished) << "the listener waited for the bus";
        EXPECT_FALSE(outcome->polled);
        EXPECT_TRUE(outcome->stopped);
        EXPECT_FALSE(outcome->listening);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(said.rfind("the system bus (" + bus.BusAddress() + ") ", 0), 0u) << said;
    }
}

TEST(SystemSleepEvents, AConnectionTheBusNeverTakesDoesNotHoldUpTheEnd)
{
    // Connecting itself waits for good: the listener thread is stuck in the
    // system, and destruction leaves it there.
    testing::TempDir dir;
    FakeSystemBus bus(dir.Path() / "bus", Behaviour::QueueFull);
    auto polled = std::make_shared<bool>(true), stoppedBeforeEnd = std::make_shared<bool>(true);
    EXPECT_TRUE(FinishesWithin(CaseLimitMs, [address = bus.BusAddress(), polled, stoppedBeforeEnd] {
        SystemSleepEvents sleep(address, AnswerTimeoutMs);
        PlatformEvent event;
        *polled = sleep.PollEvent(event);
        std::this_thread::sleep_for(std::chrono::milliseconds(AnswerTimeoutMs * 2));
        *stoppedBeforeEnd = sleep.HasStopped();
    }));
    EXPECT_FALSE(*polled);
    EXPECT_FALSE(*stoppedBeforeEnd) << "the connection was expected to hang";
}

// A bus that speaks D-Bus as far as the listener needs, on a thread of its
// own: it takes one connection, agrees to its authentication, answers Hello
// and AddMatch, each `answerDelayMs` after it came, and sends PrepareForSleep
// signals as logind does.
class LoginBus
{
public:
    LoginBus(const std::filesystem::path& socketPath, int answerDelayMs_)
        : path(socketPath), answerDelayMs(answerDelayMs_)
    {
        listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, path.c_str());
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, 1) != 0)
            throw std::runtime_error("cannot make the login bus");
        server = std::thread([this] { Serve(); });
    }
    ~LoginBus()
    {
        ::shutdown(listener, SHUT_RDWR);
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (client >= 0)
                ::shutdown(client, SHUT_RDWR);
        }
        server.join();
        if (client >= 0)
            ::close(client);
        ::close(listener);
    }
    LoginBus(const LoginBus&) = delete;
    LoginBus& operator=(const LoginBus&) = delete;

    std::string BusAddress() const { return "unix:path=" + path.string(); }
    // The methods called so far, and how many were answered.
    std::vector<std::string> Calls()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return calls;
    }
    int Answered()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return answered;
    }
    // logind's PrepareForSleep(sleeping) from `objectPath`.
    void SendSleepSignal(bool sleeping, const char* objectPath = "/org/freedesktop/login1")
    {
        DBusMessage* signal = dbus_message_new_signal(objectPath, "org.freedesktop.login1.Manager", "PrepareForSleep");
        const dbus_bool_t value = sleeping ? TRUE : FALSE;
        dbus_message_append_args(signal, DBUS_TYPE_BOOLEAN, &value, DBUS_TYPE_INVALID);
        dbus_message_set_sender(signal, "org.freedesktop.login1");
        Send(signal);
    }

private:
    void Send(DBusMessage* message)
    {
        std::lock_guard<std::mutex> lock(mutex);
        dbus_message_set_serial(message, ++serial);
        char* bytes = nullptr;
        int length = 0;
        if (dbus_message_marshal(message, &bytes, &length)) {
            [[maybe_unused]] const ssize_t written = ::write(client, bytes, static_cast<size_t>(length));
            dbus_free(bytes);
        }
        dbus_message_unref(message);
    }

    // Reads what the client sent; false once it is gone.
    bool Read(std::string& buffer)
    {
        char chunk[512];
        const ssize_t got = ::read(client, chunk, sizeof chunk);
        if (got <= 0)
            return false;
        buffer.append(chunk, static_cast<size_t>(got));
        return true;
    }

    void Serve()
    {
        const int accepted = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (accepted < 0)
            return;
        {
            std::lock_guard<std::mutex> lock(mutex);
            client = accepted;
        }
        // Authentication: a credentials byte, then text lines until BEGIN.
        std::string buffer;
        bool begun = false;
        while (!begun) {
            size_t end = buffer.find("\r\n");
            if (end == std::string::npos) {
                if (!Read(buffer))
                    return;
                continue;
            }
            std::string line = buffer.substr(0, end);
            buffer.erase(0, end + 2);
            if (!line.empty() && line[0] == '\0')
                line.erase(0, 1);
            std::string answer = "ERROR\r\n";
            if (line == "AUTH")
                answer = "REJECTED EXTERNAL\r\n";
            else if (line == "AUTH EXTERNAL")
                answer = "DATA\r\n";
            else if (line.rfind("AUTH EXTERNAL ", 0) == 0 || line.rfind("DATA", 0) == 0)
                answer = "OK 0123456789abcdef0123456789abcdef\r\n";
            else if (line == "BEGIN")
                begun = true;
            if (!begun) {
                std::lock_guard<std::mutex> lock(mutex);
                [[maybe_unused]] const ssize_t written = ::write(client, answer.data(), answer.size());
            }
        }
        // Messages.
        for (;;) {
            const int needed =
                buffer.size() < 16
                    ? 0
                    : dbus_message_demarshal_bytes_needed(buffer.data(), static_cast<int>(buffer.size()));
            if (needed < 0)
                return;
            if (needed == 0 || static_cast<size_t>(needed) > buffer.size()) {
                if (!Read(buffer))
                    return;
                continue;
            }
            DBusMessage* message = dbus_message_demarshal(buffer.data(), needed, nullptr);
            buffer.erase(0, static_cast<size_t>(needed));
            if (!message)
                return;
            if (dbus_message_get_type(message) == DBUS_MESSAGE_TYPE_METHOD_CALL) {
                const std::string member = dbus_message_get_member(message);
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    calls.push_back(member);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(answerDelayMs));
                DBusMessage* reply = dbus_message_new_method_return(message);
                if (member == "Hello") {
                    const char* name = ":1.7";
                    dbus_message_append_args(reply, DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
                }
                dbus_message_set_sender(reply, "org.freedesktop.DBus");
                Send(reply);
                std::lock_guard<std::mutex> lock(mutex);
                ++answered;
            }
            dbus_message_unref(message);
        }
    }

    std::filesystem::path path;
    int answerDelayMs;
    int listener = -1;
    int client = -1;
    std::mutex mutex; // guards the client's writes, `calls`, `answered`, `serial`
    std::vector<std::string> calls;
    int answered = 0;
    dbus_uint32_t serial = 0;
    std::thread server;
};

TEST(SystemSleepEvents, ASlowBusDelaysOnlyTheListeningAndItsSignalsArriveInOrder)
{
    testing::TempDir dir;
    LoginBus bus(dir.Path() / "bus", 200);
    SystemSleepEvents sleep(bus.BusAddress());
    EXPECT_EQ(bus.Answered(), 0) << "the caller waited for the bus";
    PlatformEvent event;
    EXPECT_FALSE(sleep.PollEvent(event));

    ASSERT_TRUE(WaitFor([&sleep] { return sleep.IsListening(); }));
    EXPECT_EQ(bus.Calls(), (std::vector<std::string>{"Hello", "AddMatch"}));
    bus.SendSleepSignal(true, "/org/freedesktop/login1/elsewhere"); // not the manager's
    bus.SendSleepSignal(true);
    bus.SendSleepSignal(false);
    std::vector<PlatformEventType> heard;
    EXPECT_TRUE(WaitFor([&] {
        while (sleep.PollEvent(event))
            heard.push_back(event.type);
        return heard.size() >= 2;
    }));
    EXPECT_EQ(heard,
              (std::vector<PlatformEventType>{PlatformEventType::PowerSuspending, PlatformEventType::PowerResumed}));
    EXPECT_FALSE(sleep.PollEvent(event));
}

} // namespace
} // namespace mirefell
