#include "app/GameFolder.h"

#include <system_error>

#include "platform/GameError.h"
#include "platform/ProgramFolder.h"
#include "render/MeshRegistry.h"
#include "render/Painter.h"
#include "render/PostFXChain.h"
#include "render/TextureTable.h"
#include "shell/Levels.h"
#include "shell/SoundManager.h"
#include "world/MapLoader.h"

namespace mirefell
{

namespace
{

// The game's file names are plain ASCII.
std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::vector<std::string> ListDataFiles()
{
    std::vector<std::string> files;
    for (const LevelInfo& level : Levels::GetAll())
        files.push_back(MapLoader::MapPath(level.id));
    for (const auto& [name, entry] : SoundManager::GetSoundTable())
        files.push_back(SoundManager::SoundFolder + entry.file);
    for (const TextureTableRow& row : GetTextureTable())
        files.push_back(Narrow(row.path));
    for (const char* name : GetEntityMeshNames())
        files.push_back(std::string(EntityMeshFolder) + name + ".js");
    for (const wchar_t* font : Painter::GetFontFiles())
        files.push_back(Narrow(font));
    files.push_back(Narrow(PostFXChain::SsaoSourceFile));
    return files;
}

} // namespace

const std::vector<std::string>& GameFolder::GetDataFiles()
{
    static const std::vector<std::string> files = ListDataFiles();
    return files;
}

std::string GameFolder::FindMissingData(const std::filesystem::path& folder)
{
    std::error_code error;
    if (!std::filesystem::is_directory(folder / "shaders", error))
        return "shaders";
    for (const std::string& file : GetDataFiles())
        if (!std::filesystem::is_regular_file(folder / file, error))
            return file;
    return {};
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
    if (found.empty()) {
        const std::string missing = program.empty() ? std::string() : FindMissingData(program);
        throw GameError(NotFound, "neither the working folder (" + working.string() + ") nor the program's folder (" +
                                      program.string() + ") holds all of the game's data" +
                                      (missing.empty() ? std::string() : " (the program's lacks " + missing + ")") +
                                      "; nothing was read or written");
    }
    if (found != working) {
        std::filesystem::current_path(found, error);
        if (error)
            throw GameError(NotFound, found.string() + ": " + error.message() + "; nothing was read or written");
    }
}

} // namespace mirefell
