// DebugLines: the process's list of world-space line segments drawn over the
// level with the main camera, for looking at collision and AI while working
// on the game. Gameplay code appends lines; a level load empties the list;
// every frame of play draws it (opaque, no depth test, no culling). Device
// objects follow the renderer's device cycle: Initialize after each device
// creation, Release on loss.
#pragma once

#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/LineBatch.h"

namespace mirefell
{

class Camera;

class DebugLines
{
public:
    static DebugLines& GetInstance();

    // Replaces the device objects.
    void Initialize() { batch.Initialize(); }
    void Release() { batch.Release(); }
    // Nothing when the list is empty; otherwise every line with the camera's
    // view and projection.
    void Draw(const Camera& camera) { batch.DrawWithCamera(camera); }

    void AddLine(const Vector3& start, const Vector3& end, const Color& color)
    {
        batch.lines.push_back({{start, color.ToVector4()}, {end, color.ToVector4()}});
    }

    // The queued lines, in the order added.
    std::vector<LineRecord>& Lines() { return batch.lines; }

private:
    DebugLines() = default;
    LineBatch batch;
};

} // namespace mirefell
