// GUID: the 128-bit identity of an inventory item, kept in the Windows layout
// (Data1 32-bit, Data2 and Data3 16-bit, Data4 8 bytes) because that layout is
// what the save files store. New identities come from the operating system's
// randomness, never from the game's Rand(): drawing an item must not disturb
// the gameplay stream, and two items must not collide when the stream is
// seeded alike.
#pragma once

#include <compare>
#include <cstdint>

namespace mirefell
{

struct GUID
{
    uint32_t Data1 = 0;
    uint16_t Data2 = 0;
    uint16_t Data3 = 0;
    uint8_t Data4[8] = {};

    bool operator==(const GUID&) const = default;
    // Any strict order will do; it lets GUIDs key ordered containers.
    std::strong_ordering operator<=>(const GUID&) const = default;

    // The all-zero GUID marks "no item" (a free inventory cell, nothing
    // equipped).
    bool IsEmpty() const { return *this == GUID{}; }
};

// A fresh random (version 4) GUID; never the empty one. Throws
// std::runtime_error when the system has no randomness to give.
GUID NewGuid();

} // namespace mirefell
