// IMenuPanelItem: what a row of a MenuPanel takes from its panel: the panel
// lays its rows out anew on every update, handing each its top-left corner
// and its size in pixels (the size first), then the stretch of the screen
// its text may run over.
#pragma once

#include "platform/math/Vector.h"

namespace mirefell
{

class IMenuPanelItem
{
public:
    virtual ~IMenuPanelItem() = default;
    virtual void SetPosition(const Vector2& position_) = 0;
    virtual void SetSize(const Vector2& size_) = 0;
    // The x range, in pixels, that a text of the row may cover, past the
    // row's own ends where it must: the screen less a margin at each edge,
    // less the widgets beside the row. A row whose texts keep to parts of
    // their own (columns, arrows, an icon) ignores it.
    virtual void SetTextSpan(float /*left*/, float /*right*/) {}
};

} // namespace mirefell
