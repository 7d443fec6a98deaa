// KeybindManager: the table of key bindings, its file "binds.bin", the
// capture of a new binding from the options page, and the texts shown for
// actions and keys.
//
// The file is read on first use and written at reset and when the manager is
// destroyed at exit. A missing file gives the default table. A file that does
// not read as a bindings archive (truncated, garbage, foreign) also gives the
// defaults: it is kept as "binds.bin.bak" (or the next free numbered backup)
// and one line on stderr says so; nothing is thrown. Something that cannot be
// read at all (no permission, a folder, a pipe, a device, a file far larger
// than any bindings) gives the defaults too, is reported, and is not written
// over for as long as the manager lives. Actions a file lacks are loaded as
// unbound.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "shell/Keybind.h"
#include "shell/KeybindAction.h"

namespace mirefell
{

class Input;

class KeybindManager
{
public:
    static constexpr const char* FileName = "binds.bin";
    // What the game shows for an action without a binding.
    static constexpr const wchar_t* NotBoundLabel = L"NOT BOUND";

    // The process-wide manager; the first call loads "binds.bin".
    static KeybindManager& GetInstance();

    // A manager bound to `path` with an empty table; call Load to fill it.
    // An empty path keeps the bindings in memory only.
    explicit KeybindManager(std::string path = FileName);
    // Saves first.
    virtual ~KeybindManager();
    KeybindManager(const KeybindManager&) = delete;
    KeybindManager& operator=(const KeybindManager&) = delete;

    // The largest binds.bin read; the real one is 275 bytes.
    static constexpr uint64_t LargestFile = 1u << 20;

    // Reads a bindings file: every action it lacks comes back unbound.
    // Throws ArchiveError when the file is missing, unreadable or not a
    // bindings archive.
    static std::map<KeybindAction, Keybind> ReadBindingsFile(const std::string& path);
    // The same over the file's bytes; `name` names them in errors.
    static std::map<KeybindAction, Keybind> ReadBindings(const std::string& name, const std::string& bytes);
    void Load();
    // A failed write is reported on stderr and leaves the old file. Writes
    // nothing while the file found by Load could not be read.
    void Save() const;
    // The default table, then Save.
    void ResetToDefaults();
    // Back to a fresh manager over `path` (loaded), not capturing (for tests).
    void Reset(std::string path);

    // Starts capturing a new binding for `action`; the left click that asked
    // for it must be released before anything counts.
    void StartCapture(KeybindAction action);
    // The capture step, once per update at the end of Input::Update.
    void CaptureRebind(Input& input);
    // Binds `action`, unbinding every other action bound to the same key or
    // the same mouse button. Does not write the file.
    void Assign(KeybindAction action, const Keybind& binding);

    // "LMB", "MMB", "RMB" for a mouse button, else the key's name; a key
    // without a name gives a placeholder with its number.
    static std::wstring GetKeyName(const Keybind& binding);
    // The action's label; throws "invalid map<K, T> key" for a value that is
    // no action.
    static const std::wstring& GetActionLabel(KeybindAction action);
    // "[" + the key name of the Use binding + "]"; "[NOT BOUND]" while Use
    // has no binding (its key went to another action).
    std::wstring GetUseKeyLabel() const;

    static const std::map<KeybindAction, Keybind>& DefaultBindings();
    // Virtual-key code -> upper-case name; F1 and Escape have none.
    static const std::map<int32_t, std::wstring>& KeyNames();
    static const std::map<KeybindAction, std::wstring>& ActionLabels();

    std::map<KeybindAction, Keybind> bindings;
    KeybindAction pendingAction = KeybindAction::Attack;
    bool capturing = false;
    // Set when a capture starts, cleared when the left button is released
    // (or is seen going down again, so was released in between).
    bool waitForRelease = false;
    std::string filePath;
    // Set by Load when something is at filePath that cannot be read.
    bool fileUntouchable = false;
};

} // namespace mirefell
