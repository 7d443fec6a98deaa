// TooltipLine: one line of an item's tooltip, in its own colour.
#pragma once

#include <string>

#include "platform/math/Color.h"

namespace mirefell
{

struct TooltipLine
{
    Color color;
    std::wstring text;

    bool operator==(const TooltipLine&) const = default;
};

} // namespace mirefell
