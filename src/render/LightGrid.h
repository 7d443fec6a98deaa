// LightGrid: which of a frame's lights can reach which part of the screen.
// The lit composition shades the window region by region, each region
// looping over its own short list of lights instead of every light the
// frame has; this unit cuts the window into regions and, given the camera
// and the lights (spheres of their range), lists for each region the lights
// whose sphere meets the region's slice of the view frustum. The test is
// conservative: a listed light may still miss every surface of the region
// (the shader skips it per pixel), but a light that lights a pixel is always
// listed for that pixel's region.
//
// Pure CPU work over plain values: no device, no allocation after Resize
// (the lists are sized for MaxLights lights in every region).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gpu/GpuTypes.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class LightGrid
{
public:
    // Side of a square region in pixels; the last column and row take what
    // is left of the window.
    static constexpr int32_t RegionSize = 128;
    // Lights a frame can have (the light pass's limit).
    static constexpr uint32_t MaxLights = 100;

    // A light as the grid sees it: the centre of its sphere and its range.
    struct Sphere
    {
        Vector3 centre;
        float radius = 0.0f;
    };

    // Lays out the regions of a window of this size (at least 1 x 1).
    void Resize(int32_t width, int32_t height);
    // Lists the lights for every region. `view` and `projection` are the
    // camera's (row-vector, right-handed, clip depth 0..1); `nearPlane` is
    // its near distance. At most MaxLights spheres are read; a light keeps
    // its index in `lights` in every list, and lists keep that order.
    void Build(const Matrix& view, const Matrix& projection, float nearPlane, std::span<const Sphere> lights);

    int32_t Width() const { return width; }
    int32_t Height() const { return height; }
    int32_t Columns() const { return columns; }
    int32_t Rows() const { return rows; }
    uint32_t RegionCount() const { return static_cast<uint32_t>(columns * rows); }
    // The region's pixels: left, top, right, bottom (exclusive).
    gpu::Rect RegionRect(uint32_t region) const;
    // The indices of the lights that may reach the region.
    std::span<const uint8_t> RegionLights(uint32_t region) const;

private:
    int32_t width = 0;
    int32_t height = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<uint8_t> lists;  // MaxLights entries per region
    std::vector<uint8_t> counts; // per region
    // Per light and frame: which columns and rows its sphere reaches.
    std::vector<uint8_t> columnHit;
    std::vector<uint8_t> rowHit;
};

} // namespace mirefell
