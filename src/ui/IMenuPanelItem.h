// IMenuPanelItem: what a row of a MenuPanel takes from its panel: the panel
// lays its rows out anew on every update, handing each its top-left corner
// and its size in pixels (the size first).
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
};

} // namespace mirefell
