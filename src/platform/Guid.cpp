#include "platform/Guid.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include <sys/random.h>

namespace mirefell
{

namespace
{

bool FillFromGetrandom(uint8_t* bytes, size_t count)
{
    size_t filled = 0;
    while (filled < count) {
        const ssize_t got = getrandom(bytes + filled, count - filled, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        filled += static_cast<size_t>(got);
    }
    return true;
}

// For kernels without getrandom (ENOSYS) and sandboxes that forbid it.
bool FillFromUrandom(uint8_t* bytes, size_t count)
{
    std::FILE* file = std::fopen("/dev/urandom", "rb");
    if (file == nullptr)
        return false;
    const bool ok = std::fread(bytes, 1, count, file) == count;
    std::fclose(file);
    return ok;
}

} // namespace

GUID NewGuid()
{
    uint8_t bytes[16];
    if (!FillFromGetrandom(bytes, sizeof bytes) && !FillFromUrandom(bytes, sizeof bytes))
        throw std::runtime_error("no system randomness for a new item identity");

    GUID id;
    std::memcpy(&id.Data1, bytes, 4);
    std::memcpy(&id.Data2, bytes + 4, 2);
    std::memcpy(&id.Data3, bytes + 6, 2);
    std::memcpy(id.Data4, bytes + 8, 8);
    // Version 4 (random) and the standard variant, as the system's own GUID
    // maker produces; this also keeps the result away from the empty GUID.
    id.Data3 = static_cast<uint16_t>((id.Data3 & 0x0FFF) | 0x4000);
    id.Data4[0] = static_cast<uint8_t>((id.Data4[0] & 0x3F) | 0x80);
    return id;
}

} // namespace mirefell
