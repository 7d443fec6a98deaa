// LentGame: a game folder of a test's own for runs of the real program: the
// run folder's data linked in, and the executable placed there, so that the
// files the game writes (config.json, binds.bin, saves/) land in it and
// nowhere else. Header-only.
#pragma once

#include <filesystem>
#include <system_error>

namespace mirefell::testing
{

// Makes `folder` see the run folder's data, as the game's own folder does.
inline void LendGameData(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    for (const char* shared : {"assets", "shaders"})
        std::filesystem::create_directory_symlink(std::filesystem::path(MIREFELL_RUN_DIR) / shared, folder / shared);
}

// The game's executable in `folder` (a hard link where the file system
// allows, else a copy), so that the program's own folder is that one.
inline std::filesystem::path PlaceProgram(const std::filesystem::path& folder)
{
    std::filesystem::create_directories(folder);
    const std::filesystem::path program = folder / "mirefell";
    std::error_code error;
    std::filesystem::create_hard_link(std::filesystem::path(MIREFELL_RUN_DIR) / "mirefell", program, error);
    if (error)
        std::filesystem::copy_file(std::filesystem::path(MIREFELL_RUN_DIR) / "mirefell", program);
    return program;
}

} // namespace mirefell::testing
