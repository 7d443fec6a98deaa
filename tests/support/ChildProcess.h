// ChildProcess: runs a program as a child process for the benchmarks that
// measure a whole executable: its standard output is read line by line and
// the time from just before the start until a given line appears is noted,
// then the child is waited for and its resource use taken (the peak resident
// set of the child alone, its CPU time). SDL's offscreen video driver and
// OpenAL's null backend are the child's defaults when the caller's
// environment names none. Header-only; POSIX.
#pragma once

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
    double lineMs = -1.0; // from the start until the awaited line; -1 when it never came
    double wallMs = 0.0;  // from the start until the child ended
    double cpuMs = 0.0;   // the child's user and system time
    double peakRssMb = 0; // the child's largest resident set (ru_maxrss)
    int exitCode = -1;    // -1 when it did not exit normally
    std::string output;   // what it wrote (stderr too, when asked for)
};

// Runs `arguments` (the program first) in `folder` with the extra
// environment `variables`, waiting for the line `awaited` on its output
// (empty: none); with `withStderr` its error output is read as well.
// Throws std::runtime_error when it cannot be started.
inline ChildRun RunChild(const std::vector<std::string>& arguments,
                         const std::vector<std::pair<std::string, std::string>>& variables,
                         const std::filesystem::path& folder, const std::string& awaited, bool withStderr = false)
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
    std::FILE* output = ::fdopen(pipeEnds[0], "r");
    char line[512];
    while (std::fgets(line, sizeof line, output)) {
        run.output += line;
        if (run.lineMs < 0.0 && !awaited.empty() && std::string(line).find(awaited) != std::string::npos)
            run.lineMs = since();
    }
    std::fclose(output);

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
