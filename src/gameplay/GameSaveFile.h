// The save file: a binary archive (BinaryArchive.h) whose root object is one
// GameSave. Before the root both sides register the item kinds Weapon,
// Artifact and Consumable, in that order, which fixes their class numbers in
// the file; no class carries an export key or a version other than 0.
//
// Reading validates what the file says before anyone uses it: a file that
// parses but holds impossible values (an unknown difficulty or level, an
// item the inventory cannot hold or whose icon the game does not have, a
// number that is not finite, a colour the frame cannot draw, an equipped GUID
// that is not a weapon of the save, ...) is refused like a corrupt one, with
// the item named. An item's place is not checked: the inventory puts an item
// that cannot lie where the file says at the first free place. Only a
// regular file of at most LargestGameSaveFile bytes is read; anything else
// at the path is unreadable, and no larger save is written.
//
// Items are looked up by identity, so the largest save reads in a fraction
// of a second.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gameplay/GameSave.h"
#include "gameplay/Item.h"
#include "shell/BinaryArchive.h"

namespace mirefell
{

// A save read from a file: `save.items` points at the items `items` owns.
struct LoadedGameSave
{
    GameSave save;
    std::vector<std::unique_ptr<Item>> items;
};

// The largest save file read; a save with a full inventory page is about a
// kilobyte.
inline constexpr uint64_t LargestGameSaveFile = 8u << 20;

// Writes `save` to `path` through a temporary file, so the previous file
// survives any failure; a save of more than LargestGameSaveFile bytes is not
// written. Throws ArchiveError.
void WriteGameSaveFile(const std::string& path, const GameSave& save);
// Reads and validates a save file. Throws ArchiveError ("can't access file",
// "invalid archive" or "invalid save") and then leaves nothing allocated.
LoadedGameSave ReadGameSaveFile(const std::string& path);
// The same, except that a path holding nothing at all gives nullopt.
std::optional<LoadedGameSave> ReadGameSaveFileIfAny(const std::string& path);
// Reads and validates a save from its bytes; `name` names them in errors.
LoadedGameSave ReadGameSave(const std::string& name, const std::string& bytes);

} // namespace mirefell
