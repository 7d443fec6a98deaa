// GameFolder: where the game runs. The game reads its data ("assets/",
// "shaders/") and keeps the player's files (config.json, binds.bin,
// "saves/") in its working folder, so before anything is read or written the
// working folder must be the game's own: a folder that holds the game's
// data. Started from anywhere else, the game moves to the folder of its
// executable when that one holds the data, and otherwise stops with a clear
// message; a folder that is not the game's is never written to.
#pragma once

#include <filesystem>

namespace mirefell
{

class GameFolder
{
public:
    static constexpr const char* NotFound = "the game's folder was not found";

    // Whether `folder` holds the game's data: the first level's map under
    // "assets/maps/" and the "shaders" folder.
    static bool HoldsGameData(const std::filesystem::path& folder);
    // The folder to run in: `working` when it holds the game's data, else
    // `program` when it does; empty when neither does.
    static std::filesystem::path Find(const std::filesystem::path& working, const std::filesystem::path& program);
    // Makes the game's folder the working folder (the program's own folder
    // from ProgramFolder). Throws GameError(NotFound, what was looked at) when
    // there is none; nothing has been read or written then.
    static void Enter();
};

} // namespace mirefell
