// Automap: the top-down line map of the level, shown beside the inventory
// window while it is open: the outlines of every sector of the AI regions,
// the door sectors whose door has opened at least once (in a darker yellow),
// an arrow for the player and an icon for each random powerup still lying
// in the level (an icon outside the inset sticks to its edge), with the
// level's name and clock and the game mode above the inset and a legend
// below it. On "Masochistic" the inset only says it is not available there.
//
// The map is drawn around the player, not rotated: world x runs right and
// world z down, at `zoom` pixels per world unit; only the arrow turns, and
// its size does not follow the zoom. The mouse wheel changes the zoom by
// one step per update, also during play with the inventory closed.
//
// A HUD widget that the UIManager makes at every level load (zoom 2 then)
// and updates with the HUD in play, shown or not. Its ordinary Draw draws
// nothing: while the inventory is open the UIManager binds the inset
// viewport (the automap's rectangle) and calls DrawMap, outside the
// painter's batch. The texts are rebuilt every update without allocating
// once the level runs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/math/Color.h"
#include "ui/BaseUIComponent.h"

namespace mirefell
{

class LineBatch;

class Automap : public BaseUIComponent
{
public:
    static constexpr float DefaultZoom = 2.0f;
    static constexpr float MinZoom = 0.25f;
    static constexpr float MaxZoom = 4.0f;
    static constexpr float ZoomStep = 0.25f;

    // Visible, zoom 2, with the painter's line batch.
    explicit Automap(Painter* painter_);
    ~Automap() override;

    // Centre and zoom (not on "Masochistic"), then the title and mode texts.
    void Update() override;
    // (2m, 3m + u) from the top-left corner.
    Vector2 GetPosition() override;
    // W - 10u - 6m wide (at least one pixel, as the inset viewport) and 10u
    // high.
    Vector2 GetSize() override;

    // The map in the bound inset viewport, then the header and legend in the
    // full-window viewport, which it leaves bound. No sprite batch may be
    // open. Needs a level (a World with its player and AI regions).
    void DrawMap();

    // Where a world point (x, z) lands in the inset, in pixels from its
    // top-left corner.
    Vector2 MapPoint(float x, float z);
    // The same point pulled back onto the inset's edge when it lies outside.
    Vector2 IconCentre(float x, float z);

    LineBatch* lineBatch;
    Vector2 centre; // world x and z of the player at the last update
    float zoom = DefaultZoom;
    std::wstring titleText;
    std::wstring modeText;

private:
    void DrawNotice(Vector2 size);
    void DrawBackground(Vector2 size);
    // Every sector outline of the AI regions: the ordinary sectors first,
    // then the opened doors.
    void AddSectorOutlines();
    void AddArrow(Vector2 size);
    void DrawPowerupIcons();
    void DrawTexts();
    void RefreshModeText();
    void RefreshTitleText();

    // What the texts were last built from, so an unchanged game rebuilds
    // them without allocating.
    std::string labelLevelId;
    std::wstring levelLabel;
    int32_t modeKey = -1;
};

} // namespace mirefell
