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

std::shared_ptr<gpu::PixelShader> LoadPixelShader(const std::wstring& file, const std::string& defines)
{
    const std::vector<uint8_t> bytes = ReadData(file);
    const std::string source = InsertDefines(std::string(bytes.begin(), bytes.end()), defines);
    return Device->CreatePixelShader(source.data(), source.size());
}

std::string InsertDefines(const std::string& source, const std::string& defines)
{
    const size_t version = source.find("#version");
    const size_t versionEnd = version == std::string::npos ? std::string::npos : source.find('\n', version);
    if (versionEnd == std::string::npos)
        return source;
    const auto nextLine = 2 + std::count(source.begin(), source.begin() + static_cast<long>(versionEnd), '\n');
    return source.substr(0, versionEnd + 1) + defines + "#line " + std::to_string(nextLine) + "\n" +
           source.substr(versionEnd + 1);
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
