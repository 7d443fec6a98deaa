// DeveloperRun: the developer's aids for measuring the real executable from
// a script or a benchmark, read from the environment once at start. Each is
// off unless its variable is set; the player's game sets none.
//
//   MIREFELL_EXIT_AFTER_FIRST_TITLE_FRAME (any non-empty value): once the
//     first frame of the title screen has been presented, writes the line
//     "mirefell: first title frame presented" to stdout and ends the program
//     as the main menu's "Exit" does.
//   MIREFELL_PLAY_LEVEL=<level id>: the game starts a new game on Normal in
//     the first save slot (overwriting its save) at that level instead of
//     stopping at the title, the player in god mode (it stands where the
//     level starts it, and the monsters come).
//   MIREFELL_EXIT_AFTER_FRAMES=<n>: once n frames of play have been
//     presented, writes "mirefell: <n> frames of play presented" to stdout
//     and ends the program.
//
// It only reads the game state and requests states, as the menus do; what it
// needs from the Game is to be told of every presented frame.
#pragma once

#include <cstdint>
#include <string>

namespace mirefell
{

class World;

class DeveloperRun
{
public:
    static constexpr const char* ExitAfterTitleVariable = "MIREFELL_EXIT_AFTER_FIRST_TITLE_FRAME";
    static constexpr const char* PlayLevelVariable = "MIREFELL_PLAY_LEVEL";
    static constexpr const char* ExitAfterFramesVariable = "MIREFELL_EXIT_AFTER_FRAMES";
    static constexpr const char* TitleLine = "mirefell: first title frame presented";

    // The aids the variables ask for. A frame count that is not a whole
    // number from 1 up throws GameError "MIREFELL_EXIT_AFTER_FRAMES is not a
    // number of frames".
    static DeveloperRun FromEnvironment();

    // Whether any aid is on (else the Game need not call it).
    bool Active() const { return exitAfterTitle || !playLevel.empty() || exitAfterFrames > 0; }
    // After the Game is initialised (the main menu requested): starts the
    // level when one is asked for.
    void Start() const;
    // After every presented frame, with the level in memory (null before
    // the first): keeps the player of a level it started in god mode; true
    // when the program should end now, `out` then holding the line that
    // says why.
    bool AfterFrame(World* world, std::string& out);

    bool exitAfterTitle = false;
    std::string playLevel;
    int64_t exitAfterFrames = 0; // 0: never
    int64_t playFrames = 0;      // frames of play presented so far
};

} // namespace mirefell
