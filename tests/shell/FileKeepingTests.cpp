// The player's files: what reading finds at a name (a file, nothing, or
// something that must not be read), backups that never read what they keep,
// and a replaced file whose new name is flushed with its folder.
#include <dlfcn.h>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/GameError.h"
#include "shell/FileKeeping.h"
#include "support/TempDir.h"

namespace
{

// Every fsync of the test program passes here while `watching` is set: the
// path of what was flushed and, for a folder, what the watched file held then.
struct SyncRecord
{
    std::string path;
    bool folder = false;
    std::string watchedBytes;
};
bool watching = false;
std::string watchedFile;
std::vector<SyncRecord> syncs;

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

extern "C" int fsync(int fd)
{
    using Real = int (*)(int);
    static const Real real = reinterpret_cast<Real>(dlsym(RTLD_NEXT, "fsync"));
    if (watching) {
        std::error_code error;
        SyncRecord record;
        record.path = std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
        record.folder = std::filesystem::is_directory(record.path, error);
        if (record.folder)
            record.watchedBytes = ReadAll(watchedFile);
        syncs.push_back(record);
    }
    return real(fd);
}

namespace mirefell
{
namespace
{

using testing::TempDir;

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
    syncs.clear();
    watching = true;
    ReplaceFileContents(dir.File("binds.bin"), "new");
    watching = false;

    ASSERT_EQ(syncs.size(), 2u);
    EXPECT_EQ(syncs[0].path, dir.File("binds.bin.tmp"));
    EXPECT_TRUE(syncs[1].folder);
    EXPECT_EQ(std::filesystem::path(syncs[1].path), dir.Path());
    EXPECT_EQ(syncs[1].watchedBytes, "new") << "the folder is flushed after the rename";
    EXPECT_EQ(dir.Read("binds.bin"), "new");
}

} // namespace
} // namespace mirefell
