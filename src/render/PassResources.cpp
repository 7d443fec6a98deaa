// PassResources: shader files, constant buffers and frame copies.
#include "render/PassResources.h"

#include <algorithm>
#include <vector>

#include "platform/gpu/Device.h"
#include "render/GraphicsDevice.h"
#include "render/ReadData.h"

namespace mirefell
{

std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file)
{
    const std::vector<uint8_t> bytes = ReadData(file);
    return Device->CreatePixelShader(bytes.data(), bytes.size());
}

std::shared_ptr<gpu::Buffer> CreateDynamicConstants(uint32_t bytes)
{
    gpu::BufferDesc desc;
    desc.byteWidth = bytes;
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindConstantBuffer;
    desc.cpuWrite = true;
    return Device->CreateBuffer(desc);
}

std::shared_ptr<gpu::Texture2D> CreateFrameCopy()
{
    gpu::Texture2DDesc desc;
    desc.width = static_cast<uint32_t>(std::max(ScreenWidth, 1));
    desc.height = static_cast<uint32_t>(std::max(ScreenHeight, 1));
    desc.format = gpu::Format::R8G8B8A8_UNORM_SRGB;
    desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
    return Device->CreateTexture2D(desc);
}

} // namespace mirefell
