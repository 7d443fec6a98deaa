#include "support/FullDevice.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include <dlfcn.h>
#include <unistd.h>

namespace
{

std::atomic<bool> full{false};
std::mutex prefixLock;
std::string fullPrefix; // absolute, with the folder's links resolved

bool IsOnTheFullDevice(int fd)
{
    std::error_code error;
    const std::string name = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
    const std::lock_guard<std::mutex> lock(prefixLock);
    return !error && name.compare(0, fullPrefix.size(), fullPrefix) == 0;
}

} // namespace

extern "C" ssize_t write(int fd, const void* bytes, size_t count)
{
    using Real = ssize_t (*)(int, const void*, size_t);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "write"));
    if (full.load() && IsOnTheFullDevice(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return real(fd, bytes, count);
}

namespace mirefell::testing
{

FullDevice::FullDevice(const std::string& prefix)
{
    if (full.exchange(true))
        throw std::logic_error("one full device at a time");
    const std::filesystem::path path = std::filesystem::absolute(prefix);
    const std::lock_guard<std::mutex> lock(prefixLock);
    fullPrefix = (std::filesystem::weakly_canonical(path.parent_path()) / path.filename()).string();
}

FullDevice::~FullDevice()
{
    full.store(false);
}

} // namespace mirefell::testing
