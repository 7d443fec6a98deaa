// Switch: a small panel on a wall (a segment of "type" 5) that the player
// throws with the use key. Each use toggles it between off and on, shows the
// matching picture, tells the level script (which decides what a throw
// means) and clicks. Level scripts find switches by their segment id and may
// show one as thrown with TurnOn, silently.
//
// The panel is an 8-unit band starting 8 units above the wall's foot: the
// build rewrites the heights of the segment record in the World's map. The
// panel mesh is the object's own until the World resets, then the scene's;
// `instanceMesh` keeps addressing it either way.
#pragma once

#include "world/GridObject.h"
#include "world/ISwitch.h"
#include "world/IUsable.h"

namespace mirefell
{

class Switch : public GridObject, public IUsable, public ISwitch
{
public:
    static constexpr float PanelLift = 8.0f;   // above the wall's "bottomY"
    static constexpr float PanelHeight = 8.0f; // of the band
    static constexpr const char* TextureOff = "switch_off";
    static constexpr const char* TextureOn = "switch_on";

    // Of the segment record in the World's map (borrowed; also the source).
    Switch(World* world_, MapSegment* segment_);

    // Builds the switch of a "type" 5 segment, registers it in the cells of
    // the segment's ends and appends it to the World; returns it. A segment
    // whose ends coincide gets a switch without area, which shows nothing.
    static GridObject* Spawn(World& world, MapSegment& segment);
    // Moves the segment's heights to the panel's band, builds the panel
    // (showing "switch_off") and sets the box around it.
    void BuildGeometry();

    // Toggles; the picture, the script's switch hook, then "switch_on".
    void Use() override;
    bool IsUsable() override { return usableNow; }
    bool IsOn() override { return on; }
    // Shows the switch as thrown: no sound, no script call.
    void TurnOn() override;
    // The panel shows the picture of the state; a panel that already lives
    // on the device looks the texture up again.
    void RefreshTexture();

    MapSegment* segment;
    bool on = false;
    bool usableNow = true; // nothing changes it
};

} // namespace mirefell
