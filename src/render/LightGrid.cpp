// LightGrid: regions of the window and the lights that may reach each.
#include "render/LightGrid.h"

#include <algorithm>
#include <cmath>

namespace mirefell
{

namespace
{

// The plane (in view space) of the points whose clip-space coordinate
// `axis` (0 x, 1 y) divided by w exceeds `ndc`: column `axis` of the
// projection minus ndc times its column 3, scaled to unit normal length.
Vector4 ClipPlane(const Matrix& projection, int axis, float ndc)
{
    Vector4 plane(projection.m[0][axis] - ndc * projection.m[0][3], projection.m[1][axis] - ndc * projection.m[1][3],
                  projection.m[2][axis] - ndc * projection.m[2][3], projection.m[3][axis] - ndc * projection.m[3][3]);
    const float length = std::sqrt(plane.x * plane.x + plane.y * plane.y + plane.z * plane.z);
    return length > 0.0f ? plane * (1.0f / length) : plane;
}

float Distance(const Vector4& plane, const Vector3& point)
{
    return plane.x * point.x + plane.y * point.y + plane.z * point.z + plane.w;
}

} // namespace

void LightGrid::Resize(int32_t width_, int32_t height_)
{
    width = std::max(width_, 1);
    height = std::max(height_, 1);
    columns = (width + RegionSize - 1) / RegionSize;
    rows = (height + RegionSize - 1) / RegionSize;
    lists.assign(static_cast<size_t>(columns * rows) * MaxLights, 0);
    counts.assign(static_cast<size_t>(columns * rows), 0);
    columnHit.assign(static_cast<size_t>(columns), 0);
    rowHit.assign(static_cast<size_t>(rows), 0);
}

gpu::Rect LightGrid::RegionRect(uint32_t region) const
{
    const int32_t column = static_cast<int32_t>(region) % columns;
    const int32_t row = static_cast<int32_t>(region) / columns;
    return {column * RegionSize, row * RegionSize, std::min(width, (column + 1) * RegionSize),
            std::min(height, (row + 1) * RegionSize)};
}

std::span<const uint8_t> LightGrid::RegionLights(uint32_t region) const
{
    return {lists.data() + static_cast<size_t>(region) * MaxLights, counts[region]};
}

void LightGrid::Build(const Matrix& view, const Matrix& projection, float nearPlane, std::span<const Sphere> lights)
{
    std::fill(counts.begin(), counts.end(), 0);
    const size_t count = std::min<size_t>(lights.size(), MaxLights);
    for (size_t light = 0; light < count; ++light) {
        const Vector3 centre = TransformPoint(lights[light].centre, view);
        const float radius = lights[light].radius;
        // Wholly behind the near plane (the view looks down -z).
        if (centre.z - radius > -nearPlane)
            continue;
        // A column reaches from its left edge (x > left) to its right edge
        // (x < right); the sphere meets it when it reaches into both
        // half-spaces. Rows likewise, their top edge having the larger y.
        bool any = false;
        float left = Distance(ClipPlane(projection, 0, -1.0f), centre);
        for (int32_t column = 0; column < columns; ++column) {
            const float edge = 2.0f * static_cast<float>(std::min(width, (column + 1) * RegionSize)) / width - 1.0f;
            const float right = Distance(ClipPlane(projection, 0, edge), centre);
            columnHit[column] = left >= -radius && right <= radius;
            any = any || columnHit[column];
            left = right;
        }
        if (!any)
            continue;
        float top = Distance(ClipPlane(projection, 1, 1.0f), centre);
        for (int32_t row = 0; row < rows; ++row) {
            const float edge = 1.0f - 2.0f * static_cast<float>(std::min(height, (row + 1) * RegionSize)) / height;
            const float bottom = Distance(ClipPlane(projection, 1, edge), centre);
            rowHit[row] = bottom >= -radius && top <= radius;
            top = bottom;
        }
        for (int32_t row = 0; row < rows; ++row) {
            if (!rowHit[row])
                continue;
            for (int32_t column = 0; column < columns; ++column) {
                if (!columnHit[column])
                    continue;
                const size_t region = static_cast<size_t>(row * columns + column);
                lists[region * MaxLights + counts[region]++] = static_cast<uint8_t>(light);
            }
        }
    }
}

} // namespace mirefell
