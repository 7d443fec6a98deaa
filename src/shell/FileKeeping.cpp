#include "shell/FileKeeping.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

// Stops numbering backups somewhere; a folder with this many copies of one
// file is not one we should add to.
constexpr int MaxBackups = 1000;

// Links followed from a name to the file a write replaces, as the kernel
// allows in one path (SYMLOOP_MAX); a chain longer than that is a loop.
constexpr int MaxLinks = 40;

// New names tried for a temporary copy before giving up; another name is
// taken only when a random one is already there.
constexpr int MaxTemporaryAttempts = 16;

std::string ReasonOf(int error)
{
    return error != 0 ? std::strerror(error) : "unknown error";
}

// What a name holds when it is not a regular file, in the player's words.
std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder, not a file";
    if (S_ISFIFO(mode))
        return "a named pipe, not a file";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device, not a file";
    if (S_ISSOCK(mode))
        return "a socket, not a file";
    return "not a regular file";
}

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd_) : fd(fd_) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }
    // Closes now; returns 0 or the error the close reported.
    int Close()
    {
        const int result = ::close(fd);
        fd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int fd;
};

PlayerFile Unreadable(std::string problem)
{
    PlayerFile file;
    file.status = PlayerFile::Status::Unreadable;
    file.problem = std::move(problem);
    return file;
}

// The folder that holds `path`, as a message names it.
std::string FolderName(const std::string& path)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// Makes a new, empty file beside `path` that only this write uses:
// "<path>.tmp-<random>", created exclusively, so whatever already has a name
// there (a pipe, a link, a folder, another writer's copy) is never opened.
// Returns the open descriptor and sets `name`, or returns minus the error.
int CreateTemporaryBeside(const std::string& path, std::string& name)
{
    static std::mt19937_64 names{std::random_device{}()};
    static std::mutex namesLock;
    int error = EEXIST;
    for (int attempt = 0; attempt < MaxTemporaryAttempts && error == EEXIST; ++attempt) {
        uint64_t suffix = 0;
        {
            const std::lock_guard<std::mutex> lock(namesLock);
            suffix = names();
        }
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(suffix));
        name = path + ".tmp-" + hex;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        error = errno;
    }
    return -error;
}

[[noreturn]] void FailWrite(const std::string& path, const std::string& temporary, const std::string& reason)
{
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    throw GameError("can't write file", path + ": " + reason);
}

// Flushes the folder that holds `path`, so a rename into it is on the device.
// Returns 0 or the error; a file system that cannot sync folders (EINVAL) is
// taken as done.
int SyncFolderOf(const std::string& path)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    const Descriptor handle(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (handle.Get() < 0)
        return errno;
    if (::fsync(handle.Get()) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

// Flushes the file at `path` to the device. Returns 0 or the error; a device
// that cannot sync (EINVAL) is taken as done.
int SyncFile(const std::string& path)
{
    const Descriptor handle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (handle.Get() < 0)
        return errno;
    if (::fsync(handle.Get()) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

// A backup is on the device before the caller may replace what it keeps:
// its bytes first, then the folder that holds its name.
bool SyncBackup(const std::string& backup, bool withBytes)
{
    return (!withBytes || SyncFile(backup) == 0) && SyncFolderOf(backup) == 0;
}

// The file a write of `path` replaces: `path` itself, or, when it is a
// symbolic link, the name at the end of its chain of links (which may not
// exist yet, as an in-place write through a link would create it). Throws
// the write's GameError for a loop of links or a link that cannot be read.
std::string FollowLinks(const std::string& path)
{
    std::filesystem::path current = path;
    for (int followed = 0; followed <= MaxLinks; ++followed) {
        struct stat entry
        {};
        if (::lstat(current.c_str(), &entry) != 0) {
            if (errno == ENOENT)
                return current.string();
            throw GameError("can't write file", path + ": " + ReasonOf(errno));
        }
        if (!S_ISLNK(entry.st_mode))
            return current.string();
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            throw GameError("can't write file", path + ": " + error.message());
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    throw GameError("can't write file", path + ": " + ReasonOf(ELOOP));
}

bool IsRegularFileOfAtMost(const std::string& path, uint64_t largest)
{
    struct stat status
    {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           static_cast<uint64_t>(status.st_size) <= largest;
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

PlayerFile ReadPlayerFile(const std::string& path, uint64_t largest)
{
    // The name itself first: only a name that holds nothing is missing. A
    // link that leads nowhere is the player's too, and is not replaced.
    struct stat entry
    {};
    if (::lstat(path.c_str(), &entry) != 0)
        return errno == ENOENT ? PlayerFile{} : Unreadable(ReasonOf(errno));

    // Non-blocking, so a pipe with no writer does not hold the start.
    const Descriptor handle(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (handle.Get() < 0)
        return Unreadable(errno == ENOENT ? "a link to a missing file" : ReasonOf(errno));
    struct stat status
    {};
    if (::fstat(handle.Get(), &status) != 0)
        return Unreadable(ReasonOf(errno));
    if (!S_ISREG(status.st_mode))
        return Unreadable(KindOf(status.st_mode));
    const uint64_t size = static_cast<uint64_t>(status.st_size);
    if (size > largest)
        return Unreadable(std::to_string(size) + " bytes, more than such a file can hold (" + std::to_string(largest) +
                          ")");

    PlayerFile file;
    file.status = PlayerFile::Status::Read;
    file.bytes.resize(static_cast<size_t>(size) + 1);
    size_t got = 0;
    // One byte more than the size, to see a file that grew while read.
    while (got < file.bytes.size()) {
        const ssize_t count = ::read(handle.Get(), file.bytes.data() + got, file.bytes.size() - got);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return Unreadable(ReasonOf(errno));
        if (count == 0)
            break;
        got += static_cast<size_t>(count);
    }
    if (got > largest)
        return Unreadable("more than " + std::to_string(largest) + " bytes, more than such a file can hold");
    file.bytes.resize(got);
    return file;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes)
{
    // Through a link, the file it leads to is replaced and the link stays;
    // only a regular file (or nothing yet) is ever replaced that way.
    const std::string replaced = FollowLinks(path);
    if (replaced != path) {
        struct stat status
        {};
        if (::stat(replaced.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            throw GameError("can't write file", path + ": a link to " + KindOf(status.st_mode));
    }
    std::string temporary;
    Descriptor file(CreateTemporaryBeside(replaced, temporary));
    if (file.Get() < 0)
        throw GameError("can't write file",
                        path + ": no new copy could be made in " + FolderName(replaced) + ": " + ReasonOf(-file.Get()));
    // A full device may accept the bytes and refuse them only at the sync or
    // the close: every step is checked.
    int error = 0;
    for (size_t written = 0; written < bytes.size() && error == 0;) {
        const ssize_t count = ::write(file.Get(), bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno != EINTR)
            error = errno;
        else if (count > 0)
            written += static_cast<size_t>(count);
    }
    if (error == 0 && ::fsync(file.Get()) != 0 && errno != EINVAL) // EINVAL: a device that cannot sync
        error = errno;
    if (error != 0)
        FailWrite(path, temporary, ReasonOf(error));
    if (const int closeError = file.Close())
        FailWrite(path, temporary, ReasonOf(closeError));

    std::error_code renameError;
    std::filesystem::rename(temporary, replaced, renameError);
    if (renameError)
        FailWrite(path, temporary, renameError.message());
    // The new name lives in the folder: until the folder is on the device, a
    // power cut may bring back the old file, or none.
    if (const int folderError = SyncFolderOf(replaced))
        FailWrite(path, temporary, "the folder could not be flushed: " + ReasonOf(folderError));
}

std::string KeepBackupCopy(const std::string& path, uint64_t largestCopy)
{
    const bool copyable = IsRegularFileOfAtMost(path, largestCopy);
    for (int number = 1; number <= MaxBackups; ++number) {
        const std::string backup = path + ".bak" + (number == 1 ? "" : std::to_string(number));
        struct stat existing
        {};
        if (::lstat(backup.c_str(), &existing) == 0) {
            if (copyable && IsRegularFileOfAtMost(backup, largestCopy) && SameBytes(path, backup))
                return SyncBackup(backup, true) ? backup : "";
            continue;
        }
        if (errno != ENOENT)
            continue;
        std::error_code error;
        if (copyable && std::filesystem::copy_file(path, backup, std::filesystem::copy_options::none, error)) {
            if (SyncBackup(backup, true))
                return backup;
            // A copy that may not be on the device keeps nothing: the file
            // itself moves aside instead.
            std::filesystem::remove(backup, error);
        }
        // Nothing is read from it (or it could not be read): the entry itself
        // moves, a link stays a link and a pipe a pipe. Its bytes stay where
        // they were, and no write replaces them: the new name's folder is
        // flushed, and the name is the backup's whatever the flush says.
        std::filesystem::rename(path, backup, error);
        if (error)
            return "";
        SyncBackup(backup, false);
        return backup;
    }
    return "";
}

} // namespace mirefell
