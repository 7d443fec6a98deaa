// The player's files: what reading finds at a name (a file, nothing, or
// something that must not be read), backups that never read what they keep
// and are on the device before the file they keep is replaced, a replaced
// file whose new name is flushed with its folder, and writes through links.
#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/GameError.h"
#include "shell/FileKeeping.h"
#include "support/TempDir.h"

namespace
{

// Every fsync and rename of the test program passes here, in order, while
// `watching` is set: for an fsync the path flushed and what it held then (for
// a folder, what the watched file held then); for a rename both names.
struct FileEvent
{
    enum Kind
    {
        Sync,
        Rename,
    };
    Kind kind = Sync;
    std::string path;
    std::string to; // a rename's new name
    bool folder = false;
    std::string bytes;
};
bool watching = false;
std::string watchedFile;
std::vector<FileEvent> events;

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<FileEvent> Syncs()
{
    std::vector<FileEvent> syncs;
    for (const FileEvent& event : events)
        if (event.kind == FileEvent::Sync)
            syncs.push_back(event);
    return syncs;
}

} // namespace

extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    if (watching) {
        std::error_code error;
        FileEvent record;
        record.path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
        record.folder = std::filesystem::is_directory(record.path, error);
        if (record.folder)
            record.bytes = ReadAll(watchedFile);
        else if (std::filesystem::is_regular_file(record.path, error))
            record.bytes = ReadAll(record.path);
        events.push_back(record);
    }
    return real(fd);
}

void RecordRename(const char* from, const char* to)
{
    if (watching) {
        FileEvent record;
        record.kind = FileEvent::Rename;
        record.path = from;
        record.to = to;
        events.push_back(record);
    }
}

extern "C" int rename(const char* from, const char* to)
{
    using Real = int (*)(const char*, const char*);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "rename"));
    RecordRename(from, to);
    return real(from, to);
}

extern "C" int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    using Real = int (*)(int, const char*, int, const char*, unsigned int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "renameat2"));
    RecordRename(from, to);
    return real(fromFolder, from, toFolder, to, flags);
}

// Set by a test: the next temporary copy the program creates finds a link to
// this file already at its name, as if another program had put it there
// between the choice of the name and its creation.
std::string plantedLinkTarget;

extern "C" int open(const char* path, int flags, ...)
{
    using Real = int (*)(const char*, int, ...);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "open"));
    int mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = va_arg(rest, int);
        va_end(rest);
    }
    if (!plantedLinkTarget.empty() && (flags & O_CREAT) != 0 && std::strstr(path, ".tmp-") != nullptr) {
        ::symlink(plantedLinkTarget.c_str(), path);
        plantedLinkTarget.clear();
    }
    return real(path, flags, mode);
}

namespace mirefell
{
namespace
{

using testing::TempDir;
using testing::TemporaryCopiesOf;

TEST(PlayerFiles, OnlyARegularFileOfItsSizeIsReadAndOnlyNothingIsMissing)
{
    TempDir dir;
    dir.Write("settings", "0123456789");
    PlayerFile file = ReadPlayerFile(dir.File("settings"), 10);
    EXPECT_EQ(file.status, PlayerFile::Status::Read);
    EXPECT_EQ(file.bytes, "0123456789");
    file = ReadPlayerFile(dir.File("settings"), 9);
    EXPECT_EQ(file.status, PlayerFile::Status::Unreadable);
    EXPECT_EQ(file.problem, "10 bytes, more than such a file can hold (9)");

    EXPECT_EQ(ReadPlayerFile(dir.File("absent"), 10).status, PlayerFile::Status::Missing);
    // A link that leads nowhere is something the player made: not missing.
    std::filesystem::create_symlink("absent", dir.File("dangling"));
    file = ReadPlayerFile(dir.File("dangling"), 10);
    EXPECT_EQ(file.status, PlayerFile::Status::Unreadable);
    EXPECT_EQ(file.problem, "a link to a missing file");

    // A pipe nobody writes to is refused at once, not waited on.
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0644), 0);
    file = ReadPlayerFile(dir.File("pipe"), 10);
    EXPECT_EQ(file.status, PlayerFile::Status::Unreadable);
    EXPECT_EQ(file.problem, "a named pipe, not a file");
    std::filesystem::create_symlink("/dev/zero", dir.File("zeros"));
    EXPECT_EQ(ReadPlayerFile(dir.File("zeros"), 10).problem, "a device, not a file");
    EXPECT_EQ(ReadPlayerFile(dir.Path().string(), 10).problem, "a folder, not a file");
    dir.Write("plain", "x");
    EXPECT_EQ(ReadPlayerFile(dir.File("plain/inside"), 10).problem, "Not a directory");
}

TEST(PlayerFiles, WhatCannotBeCopiedIsMovedAsideUnread)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("save0.mfv").c_str(), 0644), 0);
    EXPECT_EQ(KeepBackupCopy(dir.File("save0.mfv")), dir.File("save0.mfv.bak"));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("save0.mfv.bak")));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(dir.File("save0.mfv"))));

    // Too large to copy: the file itself moves, beside the earlier backup.
    dir.Write("save0.mfv", "head");
    std::filesystem::resize_file(dir.File("save0.mfv"), 3ull << 30);
    EXPECT_EQ(KeepBackupCopy(dir.File("save0.mfv"), 1024), dir.File("save0.mfv.bak2"));
    EXPECT_EQ(std::filesystem::file_size(dir.File("save0.mfv.bak2")), 3ull << 30);
    EXPECT_FALSE(std::filesystem::exists(dir.File("save0.mfv")));

    // A small file is copied and stays where it was.
    dir.Write("save0.mfv", "small");
    EXPECT_EQ(KeepBackupCopy(dir.File("save0.mfv"), 1024), dir.File("save0.mfv.bak3"));
    EXPECT_EQ(dir.Read("save0.mfv"), "small");
    EXPECT_EQ(dir.Read("save0.mfv.bak3"), "small");
}

TEST(PlayerFiles, AReplacedFileIsFlushedThenItsFolderAfterTheRename)
{
    TempDir dir;
    dir.Write("binds.bin", "old");
    watchedFile = dir.File("binds.bin");
    events.clear();
    watching = true;
    ReplaceFileContents(dir.File("binds.bin"), "new");
    watching = false;

    const std::vector<FileEvent> syncs = Syncs();
    ASSERT_EQ(syncs.size(), 2u);
    EXPECT_EQ(syncs[0].path.rfind(dir.File("binds.bin.tmp-"), 0), 0u) << syncs[0].path;
    EXPECT_TRUE(syncs[1].folder);
    EXPECT_EQ(std::filesystem::path(syncs[1].path), dir.Path());
    EXPECT_EQ(syncs[1].bytes, "new") << "the folder is flushed after the rename";
    EXPECT_EQ(dir.Read("binds.bin"), "new");
}

// A power cut between the two must never leave an empty backup and the
// player's file gone: the copy's bytes, then its name, reach the device before
// the new file is renamed over the player's.
TEST(PlayerFiles, ABackupIsOnTheDeviceBeforeTheFileItKeepsIsReplaced)
{
    TempDir dir;
    dir.Write("config.json", "theirs");
    watchedFile = dir.File("config.json");
    events.clear();
    watching = true;
    const std::string backup = KeepBackupCopy(dir.File("config.json"));
    ReplaceFileContents(dir.File("config.json"), "defaults");
    watching = false;

    ASSERT_EQ(backup, dir.File("config.json.bak"));
    ASSERT_GE(events.size(), 5u);
    // The copy is made whole under a name of its own: a write killed before
    // it ends leaves no backup cut short.
    EXPECT_EQ(events[0].kind, FileEvent::Sync);
    EXPECT_EQ(events[0].path.rfind(backup + ".tmp-", 0), 0u) << events[0].path;
    EXPECT_EQ(events[0].bytes, "theirs") << "written whole before it is flushed";
    EXPECT_EQ(events[1].kind, FileEvent::Rename);
    EXPECT_EQ(events[1].path, events[0].path);
    EXPECT_EQ(events[1].to, backup);
    EXPECT_EQ(events[2].kind, FileEvent::Sync);
    EXPECT_TRUE(events[2].folder);
    EXPECT_EQ(std::filesystem::path(events[2].path), dir.Path());
    EXPECT_EQ(events[2].bytes, "theirs") << "config.json still holds the player's text";
    EXPECT_EQ(events[3].path.rfind(dir.File("config.json.tmp-"), 0), 0u) << events[3].path;
    EXPECT_EQ(events[4].kind, FileEvent::Rename);
    EXPECT_EQ(events[4].to, dir.File("config.json"));
    EXPECT_EQ(dir.Read("config.json.bak"), "theirs");

    // A file moved aside as it is: its new name is flushed before returning.
    dir.Write("save0.mfv", "a save too large to copy");
    events.clear();
    watching = true;
    EXPECT_EQ(KeepBackupCopy(dir.File("save0.mfv"), 4), dir.File("save0.mfv.bak"));
    watching = false;
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, FileEvent::Rename);
    EXPECT_EQ(events[1].kind, FileEvent::Sync);
    EXPECT_TRUE(events[1].folder);
}

TEST(PlayerFiles, AWriteThroughALinkReplacesOnlyARegularFileAtTheEndOfItsChain)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("elsewhere"));
    // A link that leads nowhere yet: the write creates the file it names.
    std::filesystem::create_symlink("elsewhere/fresh.bin", dir.File("fresh"));
    ReplaceFileContents(dir.File("fresh"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("fresh")));
    EXPECT_EQ(dir.Read("elsewhere/fresh.bin"), "made");

    // A loop, and a link to a pipe: refused, nothing made beside either.
    std::filesystem::create_symlink("b", dir.File("a"));
    std::filesystem::create_symlink("a", dir.File("b"));
    EXPECT_THROW(ReplaceFileContents(dir.File("a"), "x"), GameError);
    ASSERT_EQ(::mkfifo(dir.File("elsewhere/pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir.File("elsewhere/pipe"), dir.File("piped"));
    try {
        ReplaceFileContents(dir.File("piped"), "x");
        ADD_FAILURE() << "a pipe is no file to replace";
    } catch (const GameError& error) {
        EXPECT_EQ(error.Detail(), dir.File("piped") + ": a link to a named pipe, not a file");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("elsewhere/pipe")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("piped")));
    EXPECT_EQ(std::vector<std::string>({"fresh.bin", "pipe"}), [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.File("elsewhere")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }());
}

// Whatever already has a name beside the file (something left at the
// temporary name of an older version, another writer's copy) is never opened:
// a pipe would hold the write for good, a link would turn it on the file it
// leads to.
TEST(PlayerFiles, AWriteOpensNothingThatIsAlreadyThere)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("game"));
    dir.Write("victim.txt", "not the game's");
    ASSERT_EQ(::mkfifo(dir.File("game/config.json.tmp").c_str(), 0644), 0);
    std::filesystem::create_symlink("../victim.txt", dir.File("game/binds.bin.tmp"));
    std::filesystem::create_directories(dir.File("game/saves/save0.mfv.tmp"));

    for (const char* name : {"game/config.json", "game/binds.bin", "game/saves/save0.mfv"}) {
        ReplaceFileContents(dir.File(name), "written");
        EXPECT_EQ(dir.Read(name), "written") << name;
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.File(name)))) << name;
    }
    EXPECT_EQ(dir.Read("victim.txt"), "not the game's");
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("game/config.json.tmp")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("game/binds.bin.tmp")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("game/saves/save0.mfv.tmp")));
    EXPECT_EQ(TemporaryCopiesOf(dir.File("game/config.json")), std::vector<std::string>{"config.json.tmp"});

    // Nor a link put at the very name the copy is given, as it is made.
    plantedLinkTarget = dir.File("victim.txt");
    ReplaceFileContents(dir.File("game/config.json"), "written again");
    EXPECT_TRUE(plantedLinkTarget.empty()) << "no copy was made";
    EXPECT_EQ(dir.Read("victim.txt"), "not the game's");
    EXPECT_EQ(dir.Read("game/config.json"), "written again");
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(dir.File("game/config.json"))));

    // No copy can be made where there is no folder: the message names the
    // file and the folder.
    try {
        ReplaceFileContents(dir.File("missing/save1.mfv"), "x");
        ADD_FAILURE() << "there is no folder to write in";
    } catch (const GameError& error) {
        EXPECT_EQ(error.Detail(), dir.File("missing/save1.mfv") + ": no new copy could be made in " +
                                      dir.File("missing") + ": No such file or directory");
    }
}

// A write killed before its end leaves its copy behind; the next write of
// that file removes it. A copy that another copy of the game is still
// writing (it holds it locked), a link and any name the game does not give
// its copies stay.
TEST(PlayerFiles, TheNextWriteRemovesWhatAKilledWriteLeftButNoCopyInUse)
{
    TempDir dir;
    dir.Write("victim.txt", "not the game's");
    dir.Write("config.json.tmp-0123456789abcdef", "cut short");
    dir.Write("config.json.bak2.tmp-0123456789abcdef", "a backup's copy, cut short");
    dir.Write("config.json.tmp-fedcba9876543210", "still being written");
    const int inUse = ::open(dir.File("config.json.tmp-fedcba9876543210").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
    std::filesystem::create_symlink(dir.File("victim.txt"), dir.File("config.json.tmp-00000000000000ff"));
    dir.Write("config.json.tmp-0123", "not a name the game gives");
    dir.Write("binds.bin.tmp-0123456789abcdef", "another file's, left to its own next write");

    ReplaceFileContents(dir.File("config.json"), "written");
    ::close(inUse);
    std::vector<std::string> left = TemporaryCopiesOf(dir.File("config.json"));
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"config.json.tmp-00000000000000ff", "config.json.tmp-0123",
                                              "config.json.tmp-fedcba9876543210"}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("config.json.bak2.tmp-0123456789abcdef")));
    EXPECT_EQ(dir.Read("victim.txt"), "not the game's");
    EXPECT_EQ(dir.Read("binds.bin.tmp-0123456789abcdef"), "another file's, left to its own next write");
    EXPECT_EQ(dir.Read("config.json"), "written");
}

// Two copies of the game in one folder save at once: each write is whole,
// neither fails, and the file ends as one of them wrote it.
TEST(PlayerFiles, TwoWritersOfOneFileAtOnceLeaveItWhole)
{
    TempDir dir;
    const std::string path = dir.File("config.json");
    const std::string first(64 * 1024, 'a'), second(48 * 1024, 'b');
    const auto writeMany = [&](const std::string& bytes, int& failures) {
        for (int i = 0; i < 100; ++i) {
            try {
                ReplaceFileContents(path, bytes);
            } catch (const GameError&) {
                ++failures;
            }
        }
    };
    int firstFailures = 0, secondFailures = 0;
    std::thread one(writeMany, std::cref(first), std::ref(firstFailures));
    std::thread two(writeMany, std::cref(second), std::ref(secondFailures));
    one.join();
    two.join();
    EXPECT_EQ(firstFailures + secondFailures, 0);
    const std::string after = dir.Read("config.json");
    EXPECT_TRUE(after == first || after == second) << after.size() << " bytes";
    EXPECT_TRUE(TemporaryCopiesOf(path).empty());
}

} // namespace
} // namespace mirefell
