// The folder that holds the running program's executable, as the system
// names it (links resolved), whatever the working folder is.
#pragma once

#include <filesystem>

namespace mirefell
{

// Empty when the system cannot say.
std::filesystem::path ProgramFolder();

} // namespace mirefell
