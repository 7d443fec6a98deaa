#include "shell/FileKeeping.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <unistd.h>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

// Stops numbering backups somewhere; a folder with this many copies of one
// file is not one we should add to.
constexpr int MaxBackups = 1000;

std::string ReasonOf(int error)
{
    return error != 0 ? std::strerror(error) : "unknown error";
}

[[noreturn]] void FailWrite(const std::string& path, const std::string& temporary, const std::string& reason)
{
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw GameError("can't write file", path + ": " + reason);
}

bool SameBytes(const std::string& a, const std::string& b)
{
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    if (!first || !second)
        return false;
    return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

} // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr)
        FailWrite(path, temporary, ReasonOf(errno));
    // A full device may accept the bytes into the buffer and refuse them only
    // at the flush, the sync or the close: every step is checked.
    int error = 0;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
        error = errno;
    if (error == 0 && std::fflush(file) != 0)
        error = errno;
    if (error == 0 && fsync(fileno(file)) != 0 && errno != EINVAL) // EINVAL: a device that cannot sync
        error = errno;
    if (std::fclose(file) != 0 && error == 0)
        error = errno;
    if (error != 0)
        FailWrite(path, temporary, ReasonOf(error));

    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError)
        FailWrite(path, temporary, renameError.message());
}

std::string KeepBackupCopy(const std::string& path)
{
    for (int number = 1; number <= MaxBackups; ++number) {
        const std::string backup = path + ".bak" + (number == 1 ? "" : std::to_string(number));
        std::error_code error;
        if (std::filesystem::exists(backup, error) || error) {
            if (!error && SameBytes(path, backup))
                return backup;
            continue;
        }
        if (std::filesystem::copy_file(path, backup, std::filesystem::copy_options::none, error))
            return backup;
        return "";
    }
    return "";
}

} // namespace mirefell
