#include "gameplay/AmmoType.h"

#include <map>

#include "platform/Lookup.h"

namespace mirefell
{

const std::wstring& GetAmmoTypeName(AmmoType type)
{
    static const std::map<AmmoType, std::wstring> names = {
        {AmmoType::Bullets, L"Bullets"},
        {AmmoType::Shells, L"Shells"},
        {AmmoType::Cells, L"Cells"},
        {AmmoType::Rockets, L"Rockets"},
    };
    return MapAt(names, type);
}

int32_t GetMaxAmmo(AmmoType type)
{
    static const std::map<AmmoType, int32_t> maxima = {
        {AmmoType::Bullets, 100},
        {AmmoType::Shells, 50},
        {AmmoType::Cells, 200},
        {AmmoType::Rockets, 30},
    };
    return MapAt(maxima, type);
}

} // namespace mirefell
