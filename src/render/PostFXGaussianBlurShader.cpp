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

PostFXGaussianBlurShader::Constants PostFXGaussianBlurShader::BuildConstants(float dx, float dy)
{
    Constants block{};
    float* offsets = block.data();
    float* weights = block.data() + SampleCount * 4;
    weights[0] = 1.0f;
    float sum = 1.0f;
    for (int j = 0; j < (SampleCount - 1) / 2; ++j) {
        const float k = static_cast<float>(j) * 2.0f + 1.5f;
        const float weight = std::exp(-static_cast<float>((j + 1) * (j + 1)) / 8.0f);
        for (int side = 0; side < 2; ++side) {
            const int i = 2 * j + 1 + side;
            const float signedK = side == 0 ? k : -k;
            offsets[i * 4] = signedK * dx;
            offsets[i * 4 + 1] = signedK * dy;
            weights[i * 4] = weight;
            sum += weight;
        }
    }
    for (int i = 0; i < SampleCount; ++i)
        weights[i * 4] /= sum;
    return block;
}

void PostFXGaussianBlurShader::UpdateWeights()
{
    const float halfWidth = static_cast<float>(std::max(ScreenWidth / 2, 1));
    const float halfHeight = static_cast<float>(std::max(ScreenHeight / 2, 1));
    const Constants horizontal = BuildConstants(1.0f / halfWidth, 0.0f);
    DeviceContext->UpdateSubresource(horizontalConstants.get(), horizontal.data());
    const Constants vertical = BuildConstants(0.0f, 1.0f / halfHeight);
    DeviceContext->UpdateSubresource(verticalConstants.get(), vertical.data());
}

} // namespace mirefell
