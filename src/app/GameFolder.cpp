#include "app/GameFolder.h"

#include <system_error>

#include "platform/GameError.h"
#include "platform/ProgramFolder.h"
#include "shell/Levels.h"
#include "world/MapLoader.h"

namespace mirefell
{

bool GameFolder::HoldsGameData(const std::filesystem::path& folder)
{
    std::error_code error;
    const std::string firstMap = MapLoader::MapPath(Levels::GetAll().front().id);
    return std::filesystem::is_regular_file(folder / firstMap, error) &&
           std::filesystem::is_directory(folder / "shaders", error);
}

std::filesystem::path GameFolder::Find(const std::filesystem::path& working, const std::filesystem::path& program)
{
    if (!working.empty() && HoldsGameData(working))
        return working;
    if (!program.empty() && HoldsGameData(program))
        return program;
    return {};
}

void GameFolder::Enter()
{
    std::error_code error;
    const std::filesystem::path working = std::filesystem::current_path(error);
    const std::filesystem::path program = ProgramFolder();
    const std::filesystem::path found = Find(working, program);
    if (found.empty())
        throw GameError(NotFound, "neither the working folder (" + working.string() + ") nor the program's folder (" +
                                      program.string() +
                                      ") holds the game's \"assets\" and \"shaders\"; nothing was "
                                      "read or written");
    if (found != working) {
        std::filesystem::current_path(found, error);
        if (error)
            throw GameError(NotFound, found.string() + ": " + error.message() + "; nothing was read or written");
    }
}

} // namespace mirefell
