// The save file: a binary archive (BinaryArchive.h) whose root object is one
// GameSave. Before the root both sides register the item kinds Weapon,
// Artifact and Consumable, in that order, which fixes their class numbers in
// the file; no class carries an export key or a version other than 0.
//
// Reading validates what the file says before anyone uses it: a file that
// parses but holds impossible values (an unknown difficulty or level, an
// item the inventory cannot hold, an equipped GUID that is not a weapon of
// the save, ...) is refused like a corrupt one.
#pragma once

#include <memory>
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

// Writes `save` to `path` through a temporary file, so the previous file
// survives any failure. Throws ArchiveError.
void WriteGameSaveFile(const std::string& path, const GameSave& save);
// Reads and validates a save file. Throws ArchiveError ("can't access file",
// "invalid archive" or "invalid save") and then leaves nothing allocated.
LoadedGameSave ReadGameSaveFile(const std::string& path);

} // namespace mirefell
