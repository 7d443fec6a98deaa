// GameState: the top-level state of the whole program.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class GameState : uint32_t
{
    Start = 0,         // before start-up has finished
    MainMenu = 1,      // title screen and main menu
    Loading = 2,       // a level is being built (within one step)
    Playing = 3,       // a level is played; death is shown inside this state
    LevelComplete = 4, // the level-complete statistics screen
    IngameMenu = 5,    // the in-game menu over a paused level
};

} // namespace mirefell
