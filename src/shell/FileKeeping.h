// Files the player must never lose: the settings, the key bindings and the
// save games. A file is replaced only by a complete new copy, so a full disk
// or a failing device leaves the old file as it was; a file about to be
// replaced by defaults because it cannot be read is first copied aside.
//
// Owns no state; the readers and writers of each format call these.
#pragma once

#include <string>
#include <string_view>

namespace mirefell
{

// Writes `bytes` to "<path>.tmp", flushes it to the device and renames it over
// `path`. On any failure the temporary file is removed, `path` is untouched
// and GameError("can't write file", "<path>: <reason>") is thrown.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// Copies `path` to "<path>.bak", or, when that name holds something else, to
// the first free "<path>.bak2", "<path>.bak3", ...; a backup that already
// holds the same bytes is reused. Returns the backup's name, or an empty
// string when no copy could be made.
std::string KeepBackupCopy(const std::string& path);

} // namespace mirefell
