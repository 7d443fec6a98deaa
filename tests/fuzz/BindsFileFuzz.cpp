// Fuzz target for the key-binding reader ("binds.bin"): any input must either
// be refused with ArchiveError or give a table of all 13 actions that the game
// can use as it is: every binding has a name to show, assigning a key keeps
// the table whole, and writing it again and reading that back gives the same
// table. Anything else (a crash, another exception, a sanitizer report, a
// leak) is a finding.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <boost/serialization/map.hpp>
#include <boost/serialization/utility.hpp>
#include <unistd.h>

#include "shell/BinaryArchive.h"
#include "shell/KeybindManager.h"

namespace
{

using namespace mirefell;

std::string ScratchPath(const char* name)
{
    return (std::filesystem::temp_directory_path() /
            ("mirefell-fuzz-" + std::to_string(getpid()) + "-" + name + ".bin"))
        .string();
}

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string input = ScratchPath("binds");
    static const std::string again = ScratchPath("binds-again");
    {
        std::ofstream file(input, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::map<KeybindAction, Keybind> table;
    try {
        table = KeybindManager::ReadBindingsFile(input);
    } catch (const ArchiveError&) {
        return 0; // a clean refusal
    }
    Require(table.size() == 13);
    for (const auto& [action, binding] : table) {
        (void)KeybindManager::GetActionLabel(action);
        (void)KeybindManager::GetKeyName(binding);
    }

    KeybindManager manager(""); // memory only
    manager.bindings = table;
    (void)manager.GetUseKeyLabel();
    WriteArchiveFile(again, [&](ArchiveWriter& ar) { ar << manager.bindings; });
    Require(KeybindManager::ReadBindingsFile(again) == table);
    manager.Assign(KeybindAction::Use, Keybind::ForKey('Q'));
    Require(manager.bindings.size() == 13);
    return 0;
}
