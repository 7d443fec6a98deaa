#include "shell/FileKeeping.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

// Links followed from a name to the file a write replaces, as the kernel
// allows in one path (SYMLOOP_MAX); a chain longer than that is a loop.
constexpr int MaxLinks = 40;

// New names tried for a temporary copy before giving up; another name is
// taken only when a random one is already there (or was taken away before
// the copy was locked).
constexpr int MaxTemporaryAttempts = 16;

// A temporary copy is named "<file>" + this + 16 lowercase hex digits.
constexpr std::string_view CopyInfix = ".tmp-";
constexpr size_t CopySuffixLength = 16;

constexpr const char* LinkNotFile = "a link, not a file";

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

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Makes a new, empty file beside `path` that only this write uses:
// "<path>.tmp-<random>", created exclusively, so whatever already has a name
// there (a pipe, a link, a folder, another writer's copy) is never opened.
// The copy is locked before it is used, and an instance clearing leftover
// copies passes a locked one by; one that took the copy away between its
// creation and the lock costs this write another name.
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
        char hex[CopySuffixLength + 1];
        std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(suffix));
        name = path + std::string(CopyInfix) + hex;
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            error = errno;
            continue;
        }
        // A file system without such locks leaves every copy unlocked, and
        // no instance can then lock a leftover to remove it either.
        while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat opened
        {};
        struct stat named
        {};
        if (::fstat(fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 && SameFile(opened, named))
            return fd;
        ::close(fd);
    }
    return -error;
}

// Whether `name` is how CreateTemporaryBeside names a copy of `file` or of
// one of its backups ("<file>[.bak[N]].tmp-<16 hex>").
bool IsCopyName(std::string_view name, std::string_view file)
{
    if (name.substr(0, file.size()) != file)
        return false;
    name.remove_prefix(file.size());
    if (name.substr(0, 4) == ".bak") {
        name.remove_prefix(4);
        while (!name.empty() && name[0] >= '0' && name[0] <= '9')
            name.remove_prefix(1);
    }
    if (name.size() != CopyInfix.size() + CopySuffixLength || name.substr(0, CopyInfix.size()) != CopyInfix)
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(CopyInfix.size()), name.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// Removes the copies of `path` and of its backups that writes killed before
// their end left behind: regular files named exactly as CreateTemporaryBeside
// names them
// (never a link, a folder or a name of the player's) that no running write
// holds locked. Never waits on a lock; what cannot be removed stays.
void RemoveLeftoverCopies(const std::string& path)
{
    const std::filesystem::path file(path);
    const std::string fileName = file.filename().string();
    std::error_code error;
    std::filesystem::directory_iterator entry(file.parent_path().empty() ? "." : file.parent_path(), error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (!IsCopyName(entry->path().filename().string(), fileName))
            continue;
        const std::string copy = entry->path().string();
        struct stat named
        {};
        if (::lstat(copy.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
            continue;
        const Descriptor handle(::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened
        {};
        if (handle.Get() < 0 || ::fstat(handle.Get(), &opened) != 0 || !SameFile(opened, named) ||
            ::flock(handle.Get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // Still the name of the file locked: a copy renamed to its final
        // name since it was opened is a player's file now.
        if (::lstat(copy.c_str(), &named) == 0 && SameFile(opened, named))
            ::unlink(copy.c_str());
    }
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

// Writes `bytes` to a new copy of its own beside `target` (named after it)
// and flushes it to the device. Returns a descriptor of the copy that holds
// its lock until it is closed, and sets `name`; on failure removes the copy,
// sets `failure` and returns -1.
int WriteNewCopy(const std::string& target, std::string_view bytes, std::string& name, std::string& failure)
{
    const int created = CreateTemporaryBeside(target, name);
    if (created < 0) {
        failure = "no new copy could be made in " + FolderName(target) + ": " + ReasonOf(-created);
        return -1;
    }
    Descriptor file(created);
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
    // The lock belongs to the open file, not to one descriptor: a second one
    // keeps it past the checked close, until the copy has its final name.
    int lock = -1;
    if (error == 0 && (lock = ::dup(file.Get())) < 0)
        error = errno;
    if (error == 0)
        error = file.Close();
    if (error != 0) {
        std::error_code ignored;
        std::filesystem::remove(name, ignored);
        if (lock >= 0)
            ::close(lock);
        failure = ReasonOf(error);
        return -1;
    }
    return lock;
}

// Gives `from` the name `to` only where `to` holds nothing; on a file system
// that cannot make sure of that in the rename, after a look. Returns 0 or the
// error (EEXIST: something has the name).
int RenameIfFree(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    struct stat existing
    {};
    if (::lstat(to.c_str(), &existing) == 0)
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace

std::string BackupName(const std::string& path, int number)
{
    return path + ".bak" + (number == 1 ? "" : std::to_string(number));
}

PlayerFile ReadPlayerFile(const std::string& path, uint64_t largest, Links links)
{
    // The name itself first: only a name that holds nothing is missing. A
    // link that leads nowhere is the player's too, and is not replaced.
    struct stat entry
    {};
    if (::lstat(path.c_str(), &entry) != 0)
        return errno == ENOENT ? PlayerFile{} : Unreadable(ReasonOf(errno));
    const bool followed = links == Links::Followed;
    if (!followed && S_ISLNK(entry.st_mode))
        return Unreadable(LinkNotFile);

    // Non-blocking, so a pipe with no writer does not hold the start.
    const Descriptor handle(
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followed ? 0 : O_NOFOLLOW)));
    if (handle.Get() < 0) {
        if (errno == ELOOP && !followed)
            return Unreadable(LinkNotFile); // made since the look
        return Unreadable(errno == ENOENT ? "a link to a missing file" : ReasonOf(errno));
    }
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

void ReplaceFileContents(const std::string& path, std::string_view bytes, Links links)
{
    // Through a link, the file it leads to is replaced and the link stays;
    // only a regular file (or nothing yet) is ever replaced that way.
    const std::string replaced = links == Links::Followed ? FollowLinks(path) : path;
    if (replaced != path) {
        struct stat status
        {};
        if (::stat(replaced.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            throw GameError("can't write file", path + ": a link to " + KindOf(status.st_mode));
    }
    RemoveLeftoverCopies(replaced);
    std::string temporary, failure;
    const Descriptor lock(WriteNewCopy(replaced, bytes, temporary, failure));
    if (lock.Get() < 0)
        throw GameError("can't write file", path + ": " + failure);

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
    PlayerFile original;
    if (IsRegularFileOfAtMost(path, largestCopy)) // nothing else is opened
        original = ReadPlayerFile(path, largestCopy);
    const bool copyable = original.status == PlayerFile::Status::Read;
    RemoveLeftoverCopies(path);
    for (int number = 1; number <= MaxBackups; ++number) {
        const std::string backup = BackupName(path, number);
        struct stat existing
        {};
        if (::lstat(backup.c_str(), &existing) == 0) {
            if (copyable && S_ISREG(existing.st_mode)) {
                const PlayerFile kept = ReadPlayerFile(backup, largestCopy, Links::Refused);
                if (kept.status == PlayerFile::Status::Read && kept.bytes == original.bytes)
                    return SyncBackup(backup, true) ? backup : "";
            }
            continue;
        }
        if (errno != ENOENT)
            continue;
        if (copyable) {
            std::string copy, failure;
            const Descriptor lock(WriteNewCopy(backup, original.bytes, copy, failure));
            if (lock.Get() >= 0) {
                const int error = RenameIfFree(copy, backup);
                if (error == 0 && SyncFolderOf(backup) == 0)
                    return backup;
                std::error_code ignored;
                std::filesystem::remove(error == 0 ? backup : copy, ignored);
                if (error == EEXIST)
                    continue; // another copy of the game took the name meanwhile
            }
            // A copy that could not be made, or may not be on the device,
            // keeps nothing: the file itself moves aside instead.
        }
        // Nothing is read from it (or it could not be read): the entry itself
        // moves, a link stays a link and a pipe a pipe. Its bytes stay where
        // they were, and no write replaces them: the new name's folder is
        // flushed, and the name is the backup's whatever the flush says.
        std::error_code error;
        std::filesystem::rename(path, backup, error);
        if (error)
            return "";
        SyncBackup(backup, false);
        return backup;
    }
    return "";
}

} // namespace mirefell
