// SaveFailureMessage: what the player is told when the game could not be
// saved, in words they can act on ("The game could not be saved: the disk is
// full."), made from the GameSaveManager's report of the failure (its
// GetLastError). The report itself, with the file and the system's words,
// still goes to the terminal.
#pragma once

#include <string>

namespace mirefell
{

// "The game could not be saved: <why>." for a report of a failed save: a full
// disk, a read-only disk, a game folder the game may not write to, a disk
// error, a file in the way of the save folder, a save larger than the game
// loads, a slot file that is not a save and could not be kept aside, or no
// backup name left for the game a new game replaces; any other reason in the
// system's own words when they are short, else that the system refused the
// write. The whole fits one message line on the smallest screen.
std::wstring SaveFailureMessage(const std::string& report);

} // namespace mirefell
