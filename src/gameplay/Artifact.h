// Artifact: an item with a lasting effect while active; 2 x 2 cells.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/Item.h"

namespace mirefell
{

enum class ArtifactNumber : uint32_t
{
    None = 0,
    Boots = 1,
    Nightmare = 2,
    Bloodlust = 3,
};

class Artifact : public Item
{
public:
    Artifact();

    ArtifactNumber number = ArtifactNumber::None;
    std::wstring line1; // the two description lines of the tooltip
    std::wstring line2; // may be empty
};

} // namespace mirefell
