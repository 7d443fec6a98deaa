// GameFolder: where the game runs. The game reads its data ("assets/",
// "shaders/") and keeps the player's files (config.json, binds.bin,
// "saves/") in its working folder, so before anything is read or written the
// working folder must be the game's own: a folder that holds all of the
// game's data. Started from anywhere else, the game moves to the folder of
// its executable when that one holds the data, and otherwise stops with a
// clear message; a folder that is not the game's is never written to.
//
// A folder that holds only part of the data is not the game's: the project's
// source checkout has the authored maps and shaders but none of the sounds,
// textures, meshes and fonts the build generates.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mirefell
{

class GameFolder
{
public:
    static constexpr const char* NotFound = "the game's folder was not found";

    // Every file the game reads from its folder, relative to it, taken from
    // the tables the game loads by: the level maps, the sounds, the textures,
    // the entity meshes, the fonts and the ambient-occlusion shader source.
    static const std::vector<std::string>& GetDataFiles();
    // The first of GetDataFiles that `folder` lacks, or "shaders" when it has
    // no shaders folder; empty when it holds them all.
    static std::string FindMissingData(const std::filesystem::path& folder);
    static bool HoldsGameData(const std::filesystem::path& folder) { return FindMissingData(folder).empty(); }
    // The folder to run in: `working` when it holds the game's data, else
    // `program` when it does; empty when neither does.
    static std::filesystem::path Find(const std::filesystem::path& working, const std::filesystem::path& program);
    // Makes the game's folder the working folder (the program's own folder
    // from ProgramFolder). Throws GameError(NotFound, what was looked at) when
    // there is none; nothing has been read or written then.
    static void Enter();
};

} // namespace mirefell
