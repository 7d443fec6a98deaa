// MenuBlank: an empty row of a menu page. It only takes one row of height:
// it ignores the place its panel gives it and draws nothing.
#pragma once

#include "ui/BaseUIComponent.h"
#include "ui/IMenuPanelItem.h"

namespace mirefell
{

class MenuBlank : public BaseUIComponent, public IMenuPanelItem
{
public:
    explicit MenuBlank(Painter* painter_) : BaseUIComponent(painter_) {}
    ~MenuBlank() override;

    void SetPosition(const Vector2&) override {}
    void SetSize(const Vector2&) override {}
};

} // namespace mirefell
