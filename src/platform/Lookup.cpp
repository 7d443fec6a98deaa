#include "platform/Lookup.h"

namespace mirefell
{

void ThrowInvalidMapKey()
{
    throw std::out_of_range("invalid map<K, T> key");
}

} // namespace mirefell
