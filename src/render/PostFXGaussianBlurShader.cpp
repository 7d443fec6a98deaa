// PostFXGaussianBlurShader: the blur weights and their blocks.
#include "render/PostFXGaussianBlurShader.h"

#include <algorithm>
#include <cmath>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

namespace
{

std::shared_ptr<gpu::Buffer> MakeConstants()
{
    gpu::BufferDesc desc;
    desc.byteWidth = PostFXGaussianBlurShader::ConstantBytes;
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindConstantBuffer;
    return Device->CreateBuffer(desc);
}

} // namespace

PostFXGaussianBlurShader::PostFXGaussianBlurShader()
    : pixelShader(LoadPixelShader(L"shaders/PostFXGaussianBlurPixelShader.glsl")), horizontalConstants(MakeConstants()),
      verticalConstants(MakeConstants())
{}

PostFXGaussianBlurShader::Constants PostFXGaussianBlurShader::BuildConstants(float dx, float dy, bool bilinearPairs)
{
    auto gauss = [](int k) { return std::exp(-static_cast<float>(k * k) / 8.0f); };
    float sum = gauss(0);
    for (int k = 1; k <= Reach; ++k)
        sum += 2.0f * gauss(k);

    Constants block{};
    float* offsets = block.data();
    float* weights = block.data() + SampleCount * 4;
    weights[0] = gauss(0) / sum;
    int taps = 1;
    auto add = [&](float k, float weight) {
        for (const float side : {k, -k}) {
            offsets[taps * 4] = side * dx;
            offsets[taps * 4 + 1] = side * dy;
            weights[taps * 4] = weight / sum;
            ++taps;
        }
    };
    if (bilinearPairs) {
        for (int k = 1; k < Reach; k += 2) {
            const float pair = gauss(k) + gauss(k + 1);
            add(static_cast<float>(k) + gauss(k + 1) / pair, pair);
        }
    } else {
        for (int k = 1; k <= Reach; ++k)
            add(static_cast<float>(k), gauss(k));
    }
    return block;
}

void PostFXGaussianBlurShader::UpdateWeights()
{
    const float quarterWidth = static_cast<float>(std::max(ScreenWidth / 2 / 2, 1));
    const float quarterHeight = static_cast<float>(std::max(ScreenHeight / 2 / 2, 1));
    const Constants horizontal = BuildConstants(1.0f / quarterWidth, 0.0f, false);
    DeviceContext->UpdateSubresource(horizontalConstants.get(), horizontal.data());
    Constants vertical = BuildConstants(0.0f, 1.0f / quarterHeight, true);
    vertical[2] = 1.0f; // reads the encoded glow
    DeviceContext->UpdateSubresource(verticalConstants.get(), vertical.data());
}

} // namespace mirefell
