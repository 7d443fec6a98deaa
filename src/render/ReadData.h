// ReadData: reads a whole file into bytes. Every shader the renderer uses and
// the SSAO source are read through it. A relative name is looked up in the
// working folder first and beside the executable second, so the game runs
// from its build folder and from anywhere else alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirefell
{

// Throws GameError("ReadData") when the file cannot be opened in either place
// or cannot be read whole; the detail names the file and says which. An
// empty file gives no bytes.
std::vector<uint8_t> ReadData(const std::wstring& name);

} // namespace mirefell
