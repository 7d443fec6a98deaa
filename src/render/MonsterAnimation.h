// MonsterAnimation: the ids of a monster sprite's animations. The map's
// entity table names the frame counts of walk, death and attack; the sprite
// animator plays them and adds idle.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class MonsterAnimation : uint32_t
{
    Walk = 1,
    Death = 2,
    Attack = 3,
    Idle = 4,
};

} // namespace mirefell
