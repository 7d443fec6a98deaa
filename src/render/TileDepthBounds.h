// TileDepthBounds: the nearest and farthest depth of what each 64 x 64
// region of the window shows, found on the GPU in two reducing passes
// (8 x 8 pixels, then 8 x 8 of those) and read back as a few hundred
// values, so the lights of a region can be listed for the depths it really
// shows (LightGrid) instead of for every depth along its rays. The read-back
// waits for the passes issued before it; the lit composition makes it once
// a frame, just before it needs the lists.
//
// Owns its two small float targets (window size / 8 and / 64, rounded up),
// the two pixel shaders and a sprite batch for the quads. Device objects
// follow Initialize and Release, the targets the window size.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gpu/GpuResources.h"
#include "render/LightGrid.h"

namespace mirefell
{

class SpriteBatch;

class TileDepthBounds
{
public:
    static constexpr int32_t Step = 8;
    static constexpr int32_t TileSize = Step * Step;
    static_assert(TileSize == LightGrid::RegionSize, "one bound per light region");

    TileDepthBounds();
    ~TileDepthBounds();
    TileDepthBounds(const TileDepthBounds&) = delete;
    TileDepthBounds& operator=(const TileDepthBounds&) = delete;

    // The shaders and the sprite batch. Throws what ReadData and the GPU
    // layer throw.
    void Initialize();
    // The targets for a window of ScreenWidth x ScreenHeight (at least 1 x 1).
    void CreateWindowSizeResources();
    void Release();

    // Issues the two passes over the depth view (window-sized, the G-buffer's).
    // Leaves the first pass's target bound; the caller binds its own next.
    void Reduce(gpu::ShaderResourceView* depth);
    // The bounds of every region, row by row from the top-left, as the
    // passes found them; waits for them. Empty before the targets exist.
    std::span<const LightGrid::DepthRange> Read();

    int32_t Columns() const { return columns; }
    int32_t Rows() const { return rows; }

private:
    struct Target
    {
        std::shared_ptr<gpu::Texture2D> texture;
        std::shared_ptr<gpu::RenderTargetView> target;
        std::shared_ptr<gpu::ShaderResourceView> view;
    };
    static Target MakeTarget(int32_t width, int32_t height);

    std::unique_ptr<SpriteBatch> spriteBatch;
    std::shared_ptr<gpu::PixelShader> firstShader;
    std::shared_ptr<gpu::PixelShader> reduceShader;
    Target blocks;  // one texel per 8 x 8 pixels
    Target regions; // one texel per 64 x 64 pixels
    int32_t blockColumns = 0;
    int32_t blockRows = 0;
    int32_t columns = 0;
    int32_t rows = 0;
    std::vector<float> readBack;               // red, green per region
    std::vector<LightGrid::DepthRange> bounds; // per region
};

} // namespace mirefell
