// IOverlayPainter: what the debug overlay (Profiler::Draw) needs of the
// renderer's 2D painter. The shell draws nothing itself and cannot include
// the renderer, so the renderer's Painter implements this and the program
// entry gives the profiler one (Profiler::painter).
#pragma once

#include <cstdint>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class IOverlayPainter
{
public:
    virtual ~IOverlayPainter() = default;

    // Device objects: made after every device creation, dropped on loss.
    virtual void Initialize() = 0;
    virtual void Release() = 0;
    // Layout values from the current screen size.
    virtual void UpdateScales() = 0;

    virtual float GetLineHeight(int32_t fontSizeId) = 0;
    virtual float GetMargin() const = 0;
    // One batch of 2D drawing: Begin, texts, End.
    virtual void BeginWithShader() = 0;
    virtual void DrawText(int32_t fontSizeId, bool scaled, Vector2 position, const wchar_t* text, Color color,
                          int32_t horizontalAlignment, int32_t verticalAlignment, bool outline) = 0;
    virtual void EndBatch() = 0;
};

} // namespace mirefell
