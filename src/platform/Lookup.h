// Look-ups that must succeed: a missing key is a data fault and throws
// std::out_of_range("invalid map<K, T> key"), the message the game reports
// for every required table look-up. Works with std::map and
// std::unordered_map (anything with find and end).
#pragma once

#include <stdexcept>

namespace mirefell
{

[[noreturn]] void ThrowInvalidMapKey();

template <class Map, class Key> auto& MapAt(Map& map, const Key& key)
{
    const auto found = map.find(key);
    if (found == map.end())
        ThrowInvalidMapKey();
    return found->second;
}

} // namespace mirefell
