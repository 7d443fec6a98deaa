// UiProjection: the inset's numbers.
#include "render/UiProjection.h"

#include <algorithm>

#include "render/LineBatch.h"
#include "render/Painter.h"
#include "shell/Screen.h"

namespace mirefell
{

UiProjection MakeUiProjection(int32_t screenWidth, float unit, float margin)
{
    // Below about 414 pixels of width the formula gives no room at all; a
    // zero width would divide by zero in the projection.
    const float width = std::max(1.0f, static_cast<float>(screenWidth) - 10.0f * unit - 6.0f * margin);
    const float height = 10.0f * unit;
    UiProjection inset;
    inset.viewport = gpu::Viewport{2.0f * margin, 3.0f * margin + unit, width, height, 0.0f, 1.0f};
    inset.projection = MakeOrthographicOffCenter(0.0f, width, height, 0.0f, 0.0f, 1.0f);
    return inset;
}

UiProjection ApplyUiProjection(Painter& painter)
{
    const UiProjection inset = MakeUiProjection(ScreenWidth, painter.unitSize.x, painter.margin);
    painter.lineBatch->projection = inset.projection;
    return inset;
}

} // namespace mirefell
