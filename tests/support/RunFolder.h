// RunFolder: a scratch working folder under the system's temporary folder
// that sees the run folder's assets and shaders (MIREFELL_RUN_DIR), for a
// benchmark or a child process that runs the game where it writes its files
// (config.json, binds.bin, saves/). Removed with what was written there.
// Header-only.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace mirefell::testing
{

class RunFolder
{
public:
    explicit RunFolder(const std::string& name)
        : folder(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid())))
    {
        const std::filesystem::path run = MIREFELL_RUN_DIR;
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        for (const char* linked : {"assets", "shaders"})
            std::filesystem::create_directory_symlink(run / linked, folder / linked);
    }
    ~RunFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    const std::filesystem::path& Path() const { return folder; }

private:
    std::filesystem::path folder;
};

} // namespace mirefell::testing
