// UnreadableFiles: what a player's file name may hold that is no readable
// file, each made by the test itself at a given path, with a check that it
// is still there as it was made: a folder, a link to itself, a named pipe, a
// link to a device that never ends, a sparse file far larger than its kind
// may be, and (when the tests do not run as root, who reads anything) a file
// its owner may not read. None of them blocks or takes long to make, and a
// reader that follows the rules neither waits on nor reads any of them.
// Header-only; POSIX.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace mirefell::testing
{

struct UnreadableFile
{
    std::string name;
    std::function<void(const std::string& path)> make;
    std::function<bool(const std::string& path)> intact;
};

// `hugeSize`: the length of the sparse file, beyond what its kind may hold.
inline std::vector<UnreadableFile> UnreadableFiles(uint64_t hugeSize)
{
    namespace fs = std::filesystem;
    const auto isLinkTo = [](const std::string& target) {
        return [target](const std::string& path) {
            std::error_code error;
            return fs::is_symlink(fs::symlink_status(path, error)) && fs::read_symlink(path, error) == target;
        };
    };
    std::vector<UnreadableFile> files = {
        {"a folder", [](const std::string& path) { fs::create_directory(path); },
         [](const std::string& path) { return fs::is_directory(path); }},
        {"a link to itself", [](const std::string& path) { fs::create_symlink(fs::path(path).filename(), path); },
         [](const std::string& path) {
             std::error_code error;
             return fs::is_symlink(fs::symlink_status(path, error)) &&
                    fs::read_symlink(path, error) == fs::path(path).filename();
         }},
        {"a named pipe", [](const std::string& path) { ::mkfifo(path.c_str(), 0644); },
         [](const std::string& path) { return fs::is_fifo(fs::symlink_status(path)); }},
        {"a link to /dev/full", [](const std::string& path) { fs::create_symlink("/dev/full", path); },
         isLinkTo("/dev/full")},
        {"a sparse file of " + std::to_string(hugeSize) + " bytes",
         [hugeSize](const std::string& path) {
             std::ofstream(path, std::ios::binary) << "{}";
             fs::resize_file(path, hugeSize);
         },
         [hugeSize](const std::string& path) { return fs::is_regular_file(path) && fs::file_size(path) == hugeSize; }},
    };
    if (::geteuid() != 0)
        files.push_back({"a file its owner may not read",
                         [](const std::string& path) {
                             std::ofstream(path, std::ios::binary) << "{\"fov\": 100}";
                             fs::permissions(path, fs::perms::none);
                         },
                         [](const std::string& path) {
                             std::error_code error;
                             const bool kept = fs::status(path, error).permissions() == fs::perms::none;
                             fs::permissions(path, fs::perms::owner_all, error); // so the folder can go
                             return kept;
                         }});
    return files;
}

} // namespace mirefell::testing
