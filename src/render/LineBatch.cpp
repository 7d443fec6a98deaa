// LineBatch: states, the matrix block and buffer fills of MaxVertices.
#include "render/LineBatch.h"

#include <algorithm>
#include <cstring>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/GraphicsDevice.h"

namespace mirefell
{

Matrix MakeOrthographicOffCenter(float left, float right, float bottom, float top, float nearZ, float farZ)
{
    return Matrix::CreateOrthographicOffCenter(left, right, bottom, top, nearZ, farZ);
}

LineBatch::LineBatch() = default;
LineBatch::~LineBatch() = default;

void LineBatch::Initialize()
{
    Release();
    resources.emplace(*Device, L"shaders/LineVertexShader.glsl", L"shaders/LinePixelShader.glsl",
                      VertexPositionColor::InputElements, VertexPositionColor::InputElementCount, sizeof(Matrix));
    gpu::BufferDesc desc;
    desc.byteWidth = MaxVertices * sizeof(VertexPositionColor);
    desc.usage = gpu::Usage::Dynamic;
    desc.bindFlags = gpu::BindVertexBuffer;
    desc.cpuWrite = true;
    vertexBuffer = Device->CreateBuffer(desc);
}

void LineBatch::Release()
{
    resources.reset();
    vertexBuffer.reset();
}

void LineBatch::AddLine(const Vector2& start, const Vector2& end, const Color& color)
{
    const Vector4 colour = color.ToVector4();
    lines.push_back({{{start.x, start.y, 0.0f}, colour}, {{end.x, end.y, 0.0f}, colour}});
}

void LineBatch::Draw()
{
    DrawLines(Matrix::Identity(), projection);
}

void LineBatch::DrawWithCamera(const Camera& camera)
{
    if (lines.empty())
        return;
    DrawLines(camera.view, camera.projection);
}

void LineBatch::DrawLines(const Matrix& view, const Matrix& projection_)
{
    gpu::Context& context = *DeviceContext;
    gpu::CommonStates& states = *GetCommonStates();
    context.OMSetBlendState(states.Opaque(), nullptr, 0xFFFFFFFF);
    context.OMSetDepthStencilState(states.DepthNone(), 0);
    context.RSSetState(states.CullNone());

    const Matrix worldViewProjection = view * projection_; // world is the identity
    std::memcpy(resources->MapConstants(), &worldViewProjection, sizeof worldViewProjection);
    resources->UnmapConstants();
    gpu::Buffer* constants[] = {resources->constantBuffer.get()};
    context.VSSetConstantBuffers(0, 1, constants);
    resources->Bind(&context);

    gpu::Buffer* buffers[] = {vertexBuffer.get()};
    const uint32_t stride = sizeof(VertexPositionColor);
    const uint32_t offset = 0;
    context.IASetVertexBuffers(0, 1, buffers, &stride, &offset);
    context.IASetPrimitiveTopology(gpu::PrimitiveTopology::LineList);

    // Fills of whole lines: a full buffer is drawn and refilled.
    constexpr size_t LinesPerFill = MaxVertices / 2;
    for (size_t first = 0; first < lines.size(); first += LinesPerFill) {
        const size_t count = std::min(LinesPerFill, lines.size() - first);
        std::memcpy(context.Map(vertexBuffer.get(), gpu::MapType::WriteDiscard), lines.data() + first,
                    count * sizeof(LineRecord));
        context.Unmap(vertexBuffer.get());
        context.Draw(static_cast<uint32_t>(count * 2), 0);
        ++drawCalls;
    }
}

} // namespace mirefell
