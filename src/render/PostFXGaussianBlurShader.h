// PostFXGaussianBlurShader: the blur of the bloom's glow ("shaders/
// PostFXGaussianBlurPixelShader.glsl"), drawn at a quarter of the window's
// size, and its two constant blocks, one per direction: fifteen float4
// offsets (k dx, k dy, 0, 0) then fifteen float4 weights (w, 0, 0, 0), taps
// past a direction's last left at zero (the shader reads thirteen); the
// vertical block's first offset has z = 1: its source, the first glow
// target, holds square roots of the light. Both directions make one
// Gaussian of standard deviation 2 quarter texels (8 window pixels) cut at
// 6, w(k) = exp(-k^2 / 8) normalised:
// - horizontal, 13 taps at k = 0, +-1, ..., +-6 quarter texels. It reads
//   the half-size extract, where a tap at a quarter texel's centre averages
//   a 2 x 2 block, so the taps also shrink the extract to quarter size;
// - vertical, 7 bilinear taps over the quarter-size texels: the centre, and
//   each neighbour pair (1, 2), (3, 4), (5, 6) as one tap between its two
//   texels weighted by their sum.
// The deferred renderer binds the shader and one of the blocks itself, so
// Apply does nothing.
#pragma once

#include <array>
#include <cstdint>

#include "render/IPostFXShader.h"

namespace mirefell
{

class PostFXGaussianBlurShader : public IPostFXShader
{
public:
    static constexpr int SampleCount = 15;
    static constexpr int Reach = 6; // quarter texels
    static constexpr uint32_t ConstantBytes = 480;
    using Constants = std::array<float, SampleCount * 8>;

    PostFXGaussianBlurShader();
    void Apply() override {}
    // Rewrites both blocks for the current screen size: horizontal steps of
    // one texel of a quarter-width target, vertical of a quarter-height one.
    void UpdateWeights();
    // The block for one direction (dx, dy: one quarter texel in texture
    // coordinates); `bilinearPairs` merges the neighbour pairs.
    static Constants BuildConstants(float dx, float dy, bool bilinearPairs);

    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::Buffer> horizontalConstants;
    std::shared_ptr<gpu::Buffer> verticalConstants;
};

} // namespace mirefell
