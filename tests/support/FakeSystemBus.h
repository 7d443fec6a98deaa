// FakeSystemBus: a Unix socket standing in for a system bus that is there but
// does not work, for tests of a program that must not wait for it. It runs on
// a thread of its own from construction to destruction; destruction closes
// every connection, which frees a client that waited on one. Header-only;
// POSIX.
//
//   AcceptsAndStaysSilent  takes every connection and reads it, never writes
//   ListensAndNeverAccepts listens, never takes a connection (the system
//                          queues the first few, so connecting succeeds)
//   QueueFull              as ListensAndNeverAccepts with its queue already
//                          full, so connecting itself waits for good
//   AnswersGarbage         takes every connection and answers what comes
//                          with bytes that are no D-Bus
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace mirefell::testing
{

class FakeSystemBus
{
public:
    enum class Behaviour
    {
        AcceptsAndStaysSilent,
        ListensAndNeverAccepts,
        QueueFull,
        AnswersGarbage,
    };

    FakeSystemBus(const std::filesystem::path& socketPath, Behaviour behaviour_)
        : path(socketPath), behaviour(behaviour_)
    {
        listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address = Address();
        if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener, behaviour == Behaviour::QueueFull ? 0 : 8) != 0 || ::pipe2(wake, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make the fake bus at " + path.string());
        if (behaviour == Behaviour::QueueFull)
            FillQueue();
        if (behaviour == Behaviour::AcceptsAndStaysSilent || behaviour == Behaviour::AnswersGarbage)
            server = std::thread([this] { Serve(); });
    }

    ~FakeSystemBus()
    {
        stop = true;
        [[maybe_unused]] const ssize_t written = ::write(wake[1], "x", 1);
        if (server.joinable())
            server.join();
        for (int fd : clients)
            ::close(fd);
        ::close(listener);
        ::close(wake[0]);
        ::close(wake[1]);
        std::filesystem::remove(path);
    }

    FakeSystemBus(const FakeSystemBus&) = delete;
    FakeSystemBus& operator=(const FakeSystemBus&) = delete;

    // The bus's D-Bus address.
    std::string BusAddress() const { return "unix:path=" + path.string(); }
    // How many connections it took (only the behaviours that take any).
    int Accepted() const { return accepted; }

private:
    sockaddr_un Address() const
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (path.string().size() >= sizeof address.sun_path)
            throw std::runtime_error("socket path too long: " + path.string());
        std::strcpy(address.sun_path, path.c_str());
        return address;
    }

    // Connects to itself until the system refuses another connection in
    // the queue; those connections are kept, so the queue stays full.
    void FillQueue()
    {
        const sockaddr_un address = Address();
        for (int i = 0; i < 64; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
                ::close(fd);
                return;
            }
            clients.push_back(fd);
        }
        throw std::runtime_error("the fake bus's queue never filled");
    }

    void Serve()
    {
        // Only this thread touches `clients` until the destructor joins it.
        static constexpr char Garbage[] = "\x7f\x00garbage\xff\r\nNOT D-BUS\r\n";
        while (!stop) {
            std::vector<pollfd> watched{{wake[0], POLLIN, 0}, {listener, POLLIN, 0}};
            for (int fd : clients)
                watched.push_back({fd, POLLIN, 0});
            if (::poll(watched.data(), watched.size(), -1) < 0)
                continue;
            if (watched[1].revents & POLLIN) {
                const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0) {
                    clients.push_back(fd);
                    ++accepted;
                }
            }
            for (size_t i = 2; i < watched.size(); ++i) {
                if (!(watched[i].revents & (POLLIN | POLLHUP)))
                    continue;
                char buffer[256];
                const ssize_t got = ::read(watched[i].fd, buffer, sizeof buffer);
                if (got > 0 && behaviour == Behaviour::AnswersGarbage) {
                    [[maybe_unused]] const ssize_t written = ::write(watched[i].fd, Garbage, sizeof Garbage - 1);
                }
                if (got <= 0) {
                    ::close(watched[i].fd);
                    std::erase(clients, watched[i].fd);
                }
            }
        }
    }

    std::filesystem::path path;
    Behaviour behaviour;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::vector<int> clients;
    std::atomic<int> accepted{0};
    std::atomic<bool> stop{false};
    std::thread server;
};

} // namespace mirefell::testing
