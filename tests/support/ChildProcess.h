// ChildProcess: runs a program as a child process for the benchmarks that
// measure a whole executable: its standard output is read line by line and
// the time from just before the start until a given line appears is noted,
// then the child is waited for and its resource use taken (the peak resident
// set of the child alone, its CPU time). SDL's offscreen video driver and
// OpenAL's null backend are the child's defaults when the caller's
// environment names none. Given a time limit, a child still running when it
// passes is killed with everything it started (its own process group), so a
// test of a program that hangs fails instead of hanging. Header-only; POSIX.
#pragma once

#include <poll.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace mirefell::testing
{

struct ChildRun
{
    double lineMs = -1.0;  // from the start until the awaited line; -1 when it never came
    double wallMs = 0.0;   // from the start until the child ended
    double cpuMs = 0.0;    // the child's user and system time
    double peakRssMb = 0;  // the child's largest resident set (ru_maxrss)
    int exitCode = -1;     // -1 when it did not exit normally
    bool timedOut = false; // killed at the time limit
    std::string output;    // what it wrote (stderr too, when asked for)
};

// Runs `arguments` (the program first) in `folder` with the extra
// environment `variables`, waiting for the line `awaited` on its output
// (empty: none); with `withStderr` its error output is read as well. With
// `timeoutMs` above 0 the child and what it started are killed once that
// long has passed. Throws std::runtime_error when it cannot be started.
inline ChildRun RunChild(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& variables,
                         const std::filesystem::path& folder, const std::string& awaited, bool withStderr = false,
                         int timeoutMs = 0)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        throw std::runtime_error("cannot make a pipe for the child");
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot start the child");
    if (child == 0) {
        if (timeoutMs > 0)
            ::setpgid(0, 0);
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        if (withStderr)
            ::dup2(pipeEnds[1], STDERR_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        for (const auto& [name, value] : variables)
            ::setenv(name.c_str(), value.c_str(), 1);
        if (::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);

    ChildRun run;
    auto since = [&start] { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); };
    if (timeoutMs > 0)
        ::setpgid(child, child); // whichever of the two runs first
    // Whole lines are matched against `awaited` as they arrive.
    std::string line;
    char buffer[512];
    for (;;) {
        if (timeoutMs > 0) {
            const int left = timeoutMs - static_cast<int>(since());
            int ready = 0;
            if (left > 0) {
                pollfd readable{pipeEnds[0], POLLIN, 0};
                ready = ::poll(&readable, 1, left);
                if (ready < 0 && errno == EINTR)
                    continue;
            }
            if (ready == 0) {
                ::kill(-child, SIGKILL);
                run.timedOut = true;
                break;
            }
        }
        const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        run.output.append(buffer, static_cast<size_t>(got));
        line.append(buffer, static_cast<size_t>(got));
        for (size_t end = line.find('\n'); end != std::string::npos; end = line.find('\n')) {
            if (run.lineMs < 0.0 && !awaited.empty() && line.substr(0, end).find(awaited) != std::string::npos)
                run.lineMs = since();
            line.erase(0, end + 1);
        }
    }
    if (run.lineMs < 0.0 && !awaited.empty() && line.find(awaited) != std::string::npos)
        run.lineMs = since(); // a last line with no line end
    ::close(pipeEnds[0]);

    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wallMs = since();
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-3;
    run.peakRssMb = static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace mirefell::testing
