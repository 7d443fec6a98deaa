// IMapScriptToolbox: the level-wide effects a level script may ask for.
#pragma once

namespace mirefell
{

class IMapScriptToolbox
{
public:
    virtual ~IMapScriptToolbox() = default;

    // Puts the map's lights out and turns the first-person view's own light
    // on; nothing under the Blackout modifier.
    virtual void LightsOut() = 0;
    // The reverse; nothing under the Blackout modifier.
    virtual void LightsOn() = 0;
};

} // namespace mirefell
