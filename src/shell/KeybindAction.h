// KeybindAction: the actions a player can bind to a key or mouse button. The
// numbers are stored in "binds.bin" as 32-bit integers and must not change.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class KeybindAction : int32_t
{
    Attack = 1,
    MoveForward = 2,
    MoveBackward = 3,
    StrafeLeft = 4,
    StrafeRight = 5,
    Inventory = 6,
    Use = 7,
    Block = 8,
    UseAntiGravBoots = 9,
    Sledgehammer = 10,
    DoubleShotgun = 11,
    HyperBlaster = 12,
    RocketLauncher = 13,
};

inline constexpr int32_t FirstKeybindAction = 1;
inline constexpr int32_t LastKeybindAction = 13;

} // namespace mirefell
