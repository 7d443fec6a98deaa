// MapObjectIndex: the level's scriptable objects by map id, as the level
// script sees them: pickups and monsters by their entity "id", doors and
// elevators by their sector "id", switches by their segment "id". The AI
// region graph owns it and fills it when the level starts (a later object
// with the same id replaces an earlier one). The interfaces are borrowed from
// the World's objects.
#pragma once

#include <cstdint>
#include <map>

namespace mirefell
{

class IDoor;
class IElevator;
class IMonster;
class IPowerup;
class ISwitch;

struct MapObjectIndex
{
    std::map<uint32_t, IPowerup*> pickups;
    std::map<uint32_t, IDoor*> doors;
    std::map<uint32_t, IElevator*> elevators;
    std::map<uint32_t, IMonster*> monsters;
    std::map<uint32_t, ISwitch*> switches;
};

} // namespace mirefell
