// GpuTest fixture helpers.
#include "support/GpuTest.h"

#include <cstring>

namespace mirefell::testing
{

const char* const PositionVertexShader = R"(#version 330 core
in vec3 SV_Position0;
void main()
{
    gl_Position = vec4(SV_Position0, 1.0);
}
)";

const char* const ConstantColourPixelShader = R"(#version 330 core
layout(std140) uniform Colour_b0
{
    vec4 colour;
};
layout(location = 0) out vec4 Target0;
void main()
{
    Target0 = colour;
}
)";

void GpuTest::StartDevice(const gpu::DeviceOptions& options)
{
    gpu::HeadlessGpu::Shared();
    device.reset();
    device = std::make_unique<gpu::Device>(options);
    context = &device->GetImmediateContext();
}

std::shared_ptr<gpu::Texture2D> GpuTest::MakeTarget(gpu::Format format, uint32_t width, uint32_t height)
{
    gpu::Texture2DDesc desc;
    desc.width = width;
    desc.height = height;
    desc.format = format;
    desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
    return device->CreateTexture2D(desc);
}

std::shared_ptr<gpu::Texture2D> GpuTest::MakeDepth(uint32_t width, uint32_t height)
{
    gpu::Texture2DDesc desc;
    desc.width = width;
    desc.height = height;
    desc.format = gpu::Format::D24_UNORM_S8_UINT;
    desc.bindFlags = gpu::BindDepthStencil | gpu::BindShaderResource;
    return device->CreateTexture2D(desc);
}

void GpuTest::SetViewport(uint32_t width, uint32_t height)
{
    gpu::Viewport viewport;
    viewport.width = static_cast<float>(width);
    viewport.height = static_cast<float>(height);
    context->RSSetViewports(1, &viewport);
}

std::shared_ptr<gpu::VertexShader> GpuTest::VertexShader(const std::string& source)
{
    return device->CreateVertexShader(source.data(), source.size());
}

std::shared_ptr<gpu::PixelShader> GpuTest::PixelShader(const std::string& source)
{
    return device->CreatePixelShader(source.data(), source.size());
}

std::shared_ptr<gpu::InputLayout> GpuTest::Layout(const std::vector<gpu::InputElement>& elements,
                                                  const std::string& vertexSource)
{
    return device->CreateInputLayout(elements.data(), static_cast<uint32_t>(elements.size()), vertexSource.data(),
                                     vertexSource.size());
}

std::shared_ptr<gpu::Buffer> GpuTest::VertexBuffer(const void* data, uint32_t bytes)
{
    gpu::BufferDesc desc;
    desc.byteWidth = bytes;
    desc.usage = gpu::Usage::Immutable;
    desc.bindFlags = gpu::BindVertexBuffer;
    return device->CreateBuffer(desc, data);
}

std::shared_ptr<gpu::Buffer> GpuTest::ConstantBuffer(uint32_t bytes)
{
    gpu::BufferDesc desc;
    desc.byteWidth = bytes;
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindConstantBuffer;
    desc.cpuWrite = true;
    return device->CreateBuffer(desc);
}

void GpuTest::WriteConstants(gpu::Buffer* buffer, const void* data, size_t bytes)
{
    void* mapped = context->Map(buffer, gpu::MapType::WriteDiscard);
    std::memcpy(mapped, data, bytes);
    context->Unmap(buffer);
}

void GpuTest::UseShaders(gpu::VertexShader* vs, gpu::PixelShader* ps, gpu::InputLayout* layout)
{
    context->IASetInputLayout(layout);
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    context->VSSetShader(vs);
    context->PSSetShader(ps);
}

Rgba8 GpuTest::PixelAt(gpu::Texture2D* texture, uint32_t x, uint32_t y)
{
    const std::vector<uint8_t> pixels = context->ReadPixelsRGBA8(texture);
    const size_t at = (static_cast<size_t>(y) * texture->Desc().width + x) * 4;
    return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

} // namespace mirefell::testing
