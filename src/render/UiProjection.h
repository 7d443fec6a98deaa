// UiProjection: the inset in which the automap draws its lines through the
// painter's line batch, recomputed with the painter's layout at every size
// change. The inset starts at (2m, 3m + u), is W - 10u - 6m wide (at least
// one pixel, so narrow windows keep a finite projection) and 10u high, depth
// 0 to 1; its projection maps line points in pixels from the inset's
// top-left corner, y growing downwards, onto it.
#pragma once

#include <cstdint>

#include "platform/gpu/GpuTypes.h"
#include "platform/math/Matrix.h"

namespace mirefell
{

class Painter;

struct UiProjection
{
    gpu::Viewport viewport;
    Matrix projection;
};

// For screen width W, unit size u and margin m.
UiProjection MakeUiProjection(int32_t screenWidth, float unit, float margin);

// Stores the projection for the painter's current layout (after
// Painter::UpdateScales) into its line batch and returns the inset.
UiProjection ApplyUiProjection(Painter& painter);

} // namespace mirefell
