// EffectResources: shader files to GPU objects.
#include "render/EffectResources.h"

#include <filesystem>

#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/GpuError.h"
#include "render/GraphicsDevice.h"
#include "render/ReadData.h"

namespace mirefell
{

EffectResources::EffectResources(gpu::Device& device, const std::wstring& vertexShaderFile,
                                 const std::wstring& pixelShaderFile, const gpu::InputElement* elements,
                                 uint32_t elementCount, uint32_t constantBytes)
{
    const std::vector<uint8_t> vertexBytes = ReadData(vertexShaderFile);
    const std::vector<uint8_t> pixelBytes = ReadData(pixelShaderFile);
    // The GPU layer sees only the source; the file it came from is named here.
    const auto inFile = [](const std::wstring& file, const auto& make) {
        try {
            return make();
        } catch (const gpu::GpuError& error) {
            throw gpu::GpuError(error.what(), std::filesystem::path(file).string() + ": " + error.Detail());
        }
    };
    vertexShader =
        inFile(vertexShaderFile, [&] { return device.CreateVertexShader(vertexBytes.data(), vertexBytes.size()); });
    pixelShader =
        inFile(pixelShaderFile, [&] { return device.CreatePixelShader(pixelBytes.data(), pixelBytes.size()); });
    inputLayout = inFile(vertexShaderFile, [&] {
        return device.CreateInputLayout(elements, elementCount, vertexBytes.data(), vertexBytes.size());
    });
    gpu::BufferDesc desc;
    desc.byteWidth = constantBytes;
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindConstantBuffer;
    desc.cpuWrite = true;
    constantBuffer = device.CreateBuffer(desc);
}

void EffectResources::Release()
{
    vertexShader.reset();
    pixelShader.reset();
    inputLayout.reset();
    constantBuffer.reset();
}

void* EffectResources::MapConstants()
{
    return DeviceContext->Map(constantBuffer.get(), gpu::MapType::WriteDiscard);
}

void EffectResources::UnmapConstants()
{
    DeviceContext->Unmap(constantBuffer.get());
}

void EffectResources::Bind(gpu::Context* context)
{
    context->VSSetShader(vertexShader.get());
    context->PSSetShader(pixelShader.get());
    context->IASetInputLayout(inputLayout.get());
}

} // namespace mirefell
