// Look-ups that must succeed: a missing key is a data fault and throws
// std::out_of_range("invalid map<K, T> key"), the message the game reports
// for every required table look-up. Works with std::map and
// std::unordered_map (anything with find and end).
#pragma once

#include <stdexcept>
#include <string>

namespace mirefell
{

// The same failure when the caller can say what was missing: what() is
// still "invalid map<K, T> key", and Detail() names the entry ("door 460").
class MissingEntryError : public std::out_of_range
{
public:
    explicit MissingEntryError(std::string detail_);
    const std::string& Detail() const noexcept { return detail; }

private:
    std::string detail;
};

[[noreturn]] void ThrowInvalidMapKey();

template <class Map, class Key> auto& MapAt(Map& map, const Key& key)
{
    const auto found = map.find(key);
    if (found == map.end())
        ThrowInvalidMapKey();
    return found->second;
}

} // namespace mirefell
