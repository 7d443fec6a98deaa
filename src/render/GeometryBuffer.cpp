// GeometryBuffer: target creation and clears.
#include "render/GeometryBuffer.h"

#include <algorithm>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

namespace
{

std::shared_ptr<gpu::Texture2D> MakeTarget(uint32_t width, uint32_t height, gpu::Format format)
{
    gpu::Texture2DDesc desc;
    desc.width = width;
    desc.height = height;
    desc.mipLevels = 1;
    desc.format = format;
    desc.usage = gpu::Usage::Default;
    desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
    return Device->CreateTexture2D(desc);
}

uint32_t Side(int32_t pixels)
{
    return static_cast<uint32_t>(std::max(pixels, 1));
}

} // namespace

GeometryBuffer::~GeometryBuffer()
{
    Release();
}

void GeometryBuffer::Create()
{
    Release();
    const uint32_t width = Side(ScreenWidth);
    const uint32_t height = Side(ScreenHeight);
    auto make = [&](int index, gpu::Format format) {
        textures[index] = MakeTarget(width, height, format);
        renderTargetViews[index] = Device->CreateRenderTargetView(textures[index].get());
        shaderResourceViews[index] = Device->CreateShaderResourceView(textures[index].get());
    };
    make(ColourIndex, gpu::Format::R8G8B8A8_UNORM_SRGB);
    make(OcclusionIndex, gpu::Format::R8G8B8A8_UNORM_SRGB);
    make(LightIndex, gpu::Format::R16G16B16A16_FLOAT);
    make(NormalIndex, gpu::Format::R8G8B8A8_SNORM);

    // Half size rounds down; a side of 1 would give 0, which no target can
    // have, so it stays 1.
    const uint32_t halfWidth = std::max(width / 2, 1u);
    const uint32_t halfHeight = std::max(height / 2, 1u);
    auto half = MakeTarget(halfWidth, halfHeight, gpu::Format::R8G8B8A8_UNORM_SRGB);
    halfTargetA = Device->CreateRenderTargetView(half.get());
    halfResourceA = Device->CreateShaderResourceView(half.get());
    half = MakeTarget(halfWidth, halfHeight, gpu::Format::R8G8B8A8_UNORM_SRGB);
    halfTargetB = Device->CreateRenderTargetView(half.get());
    halfResourceB = Device->CreateShaderResourceView(half.get());
}

void GeometryBuffer::CreateDepthBuffer()
{
    gpu::Texture2DDesc desc;
    desc.width = Side(ScreenWidth);
    desc.height = Side(ScreenHeight);
    desc.mipLevels = 1;
    desc.format = gpu::Format::D24_UNORM_S8_UINT;
    desc.bindFlags = gpu::BindDepthStencil | gpu::BindShaderResource;
    auto depth = Device->CreateTexture2D(desc);
    depthStencilView.reset();
    depthStencilView = Device->CreateDepthStencilView(depth.get());
    depthResourceView.reset();
    gpu::ShaderResourceViewDesc view;
    view.format = gpu::Format::R24_UNORM_X8_TYPELESS;
    depthResourceView = Device->CreateShaderResourceView(depth.get(), &view);
    depthTestView.reset();
    depthTestCopy.reset();
    depthTestCopy = Device->CreateTexture2D(desc);
    depthTestView = Device->CreateDepthStencilView(depthTestCopy.get());
}

void GeometryBuffer::CopyDepthForTests()
{
    DeviceContext->CopyResource(depthTestCopy.get(), depthResourceView->GetTexture());
}

void GeometryBuffer::Clear()
{
    // Every target a frame writes starts from its clear value: the four
    // full-size ones opaque black, the two half-size ones transparent black.
    // The bloom's passes blend into half-size target A, so a frame that
    // skipped its clear would keep the last frame's glow.
    const float opaqueBlack[4] = {0, 0, 0, 1};
    for (int index : {ColourIndex, NormalIndex, LightIndex, OcclusionIndex})
        DeviceContext->ClearRenderTargetView(renderTargetViews[index].get(), opaqueBlack);
    const float transparent[4] = {0, 0, 0, 0};
    DeviceContext->ClearRenderTargetView(halfTargetA.get(), transparent);
    DeviceContext->ClearRenderTargetView(halfTargetB.get(), transparent);
}

void GeometryBuffer::Release()
{
    for (int index = 0; index < 4; ++index) {
        textures[index].reset();
        renderTargetViews[index].reset();
        shaderResourceViews[index].reset();
    }
    halfTargetA.reset();
    halfResourceA.reset();
    halfTargetB.reset();
    halfResourceB.reset();
    depthStencilView.reset();
    depthResourceView.reset();
    depthTestView.reset();
    depthTestCopy.reset();
}

} // namespace mirefell
