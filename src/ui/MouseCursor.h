// MouseCursor: the pointer image, its top-left corner at the cursor's hot
// spot, drawn while the input runs in absolute (cursor) mode. The UIManager
// owns it, never initialises it, and draws it last in every state but
// loading. A cursor on the left or top screen edge (x or y 0) is not drawn.
#pragma once

#include "ui/BaseUIComponent.h"

namespace mirefell
{

class MouseCursor : public BaseUIComponent
{
public:
    explicit MouseCursor(Painter* painter_);
    ~MouseCursor() override;

    void Draw() override;
};

} // namespace mirefell
