// Consumable: an item used up from the inventory window; 1 x 1 cell unless
// its maker says otherwise.
#pragma once

#include <cstdint>
#include <string>

#include "gameplay/Item.h"

namespace mirefell
{

enum class ConsumableNumber : uint32_t
{
    None = 0,
    HealthCube = 1,
    Breastplate = 2,
};

class Consumable : public Item
{
public:
    Consumable();

    ConsumableNumber number = ConsumableNumber::None;
    std::wstring description;
};

} // namespace mirefell
