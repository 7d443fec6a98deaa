// LineBatch: coloured line segments collected in a list and drawn in one go,
// in pixels through its own projection (the painter's batch, which the
// automap fills for its inset viewport) or in world space with a camera (the
// debug lines). The list is never emptied by drawing: its user clears it
// before adding a frame's lines.
//
// Device objects (shaders "shaders/LineVertexShader.glsl" and
// "shaders/LinePixelShader.glsl", the input layout, a 64-byte matrix block at
// vertex slot 0 and a vertex buffer of 2048 vertices) exist between Initialize
// and Release, on the process-wide Device and DeviceContext. A list longer
// than one buffer fill is drawn in several fills, never cut short.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"
#include "render/EffectResources.h"
#include "render/VertexTypes.h"

namespace mirefell
{

class Camera;

// One segment: the start, then the end.
struct LineRecord
{
    VertexPositionColor start;
    VertexPositionColor end;
};
static_assert(sizeof(LineRecord) == 2 * sizeof(VertexPositionColor), "records are copied to the buffer as they are");

// The right-handed off-centre orthographic projection.
Matrix MakeOrthographicOffCenter(float left, float right, float bottom, float top, float nearZ, float farZ);

class LineBatch
{
public:
    // Vertices one buffer fill holds.
    static constexpr uint32_t MaxVertices = 2048;

    // No lines, no device objects, identity projection.
    LineBatch();
    ~LineBatch();
    LineBatch(const LineBatch&) = delete;
    LineBatch& operator=(const LineBatch&) = delete;

    // Makes the device objects, replacing any there were. Throws what
    // ReadData and the GPU layer throw.
    void Initialize();
    void Release();

    // Appends (start.x, start.y, 0)-(end.x, end.y, 0) in the colour.
    void AddLine(const Vector2& start, const Vector2& end, const Color& color);
    // Every listed line with identity world and view and the batch's
    // projection: opaque, no depth, no culling. With an empty list the states
    // are still set and nothing is drawn.
    void Draw();
    // The same with the camera's view and projection; nothing at all when
    // the list is empty.
    void DrawWithCamera(const Camera& camera);

    // Line draws issued since construction (tests and benchmarks).
    uint64_t DrawCallCount() const { return drawCalls; }

    std::vector<LineRecord> lines;
    Matrix projection;

private:
    void DrawLines(const Matrix& view, const Matrix& projection_);

    std::optional<EffectResources> resources;
    std::shared_ptr<gpu::Buffer> vertexBuffer;
    uint64_t drawCalls = 0;
};

} // namespace mirefell
