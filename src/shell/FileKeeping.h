// Files the player must never lose: the settings, the key bindings and the
// save games. A file is replaced only by a complete new copy, so a full disk
// or a failing device leaves the old file as it was; a file about to be
// replaced because it cannot be read is first kept aside, on the device. A
// file reached through a symbolic link is replaced where the link leads; the
// game's own backups are never read or written through a link.
//
// Reading goes through ReadPlayerFile, which takes only a regular file of a
// size its kind can have: a folder, a pipe, a device or a file larger than
// the limit is unreadable, never waited on or read into memory. Only a name
// that holds nothing at all counts as missing.
//
// Owns no state; the readers and writers of each format call these.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mirefell
{

// The first backup of a file is "<file>.bak", then "<file>.bak2" and so on,
// up to this many.
inline constexpr int MaxBackups = 1000;

// "<path>.bak" for 1, "<path>.bak<number>" after it.
std::string BackupName(const std::string& path, int number);

// How a name that is a symbolic link is taken. The player's files are read
// and written through their links; a link at one of the game's own names (a
// backup) is the player's, and is neither read nor written through.
enum class Links
{
    Followed,
    Refused,
};

// What reading one of the player's files found.
struct PlayerFile
{
    enum class Status
    {
        Read,       // `bytes` holds the whole file
        Missing,    // nothing has that name
        Unreadable, // something is there but cannot be read: `problem` says why
    };
    Status status = Status::Missing;
    std::string bytes;
    std::string problem; // e.g. "a named pipe, not a file", "Permission denied"
};

// Reads `path` whole when it is a regular file of at most `largest` bytes.
// Never blocks on a pipe and never reads more than `largest` + 1 bytes. With
// Links::Refused a link at `path` is unreadable ("a link, not a file").
PlayerFile ReadPlayerFile(const std::string& path, uint64_t largest, Links links = Links::Followed);

// Writes `bytes` to a new temporary file beside `path` ("<path>.tmp-" and 16
// random lowercase hex digits, created exclusively: nothing already in the
// folder is ever opened, and writers of one file at once each have their
// own), flushes it to the device, renames it over `path` and flushes the
// folder, so the new name survives a power cut. The temporary file is locked
// (flock) from its creation until it has its final name or is gone; copies
// of `path` and of its backups that a killed write left behind (regular
// files so named that no one holds locked) are removed before the write, so
// a full disk may take the new one. When `path` is a symbolic link and `links` is Followed, the
// write goes through it as an in-place write would: the chain of links is
// followed, the temporary file is made beside the file at its end and
// renamed over that file, and the links stay as they are; a link that leads
// to something other than a regular file (or to nothing yet) is refused.
// With Links::Refused the name itself is replaced, whatever it holds. On any
// failure the temporary file is removed, the file is untouched (or already
// whole, when only the folder's flush failed) and GameError("can't write
// file", "<path>: <reason>") is thrown.
void ReplaceFileContents(const std::string& path, std::string_view bytes, Links links = Links::Followed);

// Keeps what is at `path` under "<path>.bak", or, when that name holds
// something else, the first free "<path>.bak2", "<path>.bak3", ...; a backup
// (a regular file, not a link) that already holds the same bytes is reused.
// A regular file of at most `largestCopy` bytes is copied: written whole to a
// temporary file of its own and flushed, then given the backup's name, so a
// killed copy never leaves a backup cut short (its leftover copies go as in
// ReplaceFileContents); the copy and its folder are on the device before
// this returns, so the caller may then replace the file; anything else (a
// pipe, a link to a device, a huge file), or a file whose copy cannot be made
// or flushed, is moved to the backup name as it is, so nothing is read from
// it, and the folder is flushed. Returns the backup's name, or an empty
// string when nothing could be kept.
std::string KeepBackupCopy(const std::string& path, uint64_t largestCopy = 16u << 20);

} // namespace mirefell
