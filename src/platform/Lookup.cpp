#include "platform/Lookup.h"

namespace mirefell
{

namespace
{

constexpr const char* InvalidMapKey = "invalid map<K, T> key";

} // namespace

MissingEntryError::MissingEntryError(std::string detail_) : std::out_of_range(InvalidMapKey), detail(std::move(detail_))
{}

void ThrowInvalidMapKey()
{
    throw std::out_of_range(InvalidMapKey);
}

} // namespace mirefell
