// The GPU layer drawn on llvmpipe: Direct3D's conventions (picture rows,
// depth range, winding and culling, blending factors, sRGB encoding,
// per-stage constant slots) must come out of OpenGL pixel for pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/GpuError.h"
#include "platform/gpu/SwapChain.h"
#include "support/GpuTest.h"

namespace mirefell::testing
{
namespace
{

using gpu::Format;

struct Vertex3
{
    float x, y, z;
};

// Two triangles covering the rectangle (x0, y0)-(x1, y1) in clip space at
// depth z, both wound clockwise as seen on screen (y up in clip space).
std::vector<Vertex3> Quad(float x0, float y0, float x1, float y1, float z = 0.5f)
{
    return {{x0, y1, z}, {x1, y1, z}, {x0, y0, z}, {x1, y1, z}, {x1, y0, z}, {x0, y0, z}};
}

class PipelineTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        Prepare();
    }

    void Prepare()
    {
        vertexShader = VertexShader(PositionVertexShader);
        pixelShader = PixelShader(ConstantColourPixelShader);
        layout = Layout({{"SV_Position", 0, Format::R32G32B32_FLOAT}}, PositionVertexShader);
        colourBuffer = ConstantBuffer(16);
        states = std::make_unique<gpu::CommonStates>(*device);
    }

    void UseTarget(gpu::Texture2D* target, gpu::Texture2D* depth = nullptr)
    {
        rtv = device->CreateRenderTargetView(target);
        dsv = depth ? device->CreateDepthStencilView(depth) : nullptr;
        gpu::RenderTargetView* views[] = {rtv.get()};
        context->OMSetRenderTargets(1, views, dsv.get());
        SetViewport(target->Desc().width, target->Desc().height);
    }

    void Clear(float r, float g, float b, float a)
    {
        const float colour[4] = {r, g, b, a};
        context->ClearRenderTargetView(rtv.get(), colour);
        if (dsv)
            context->ClearDepthStencilView(dsv.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
    }

    void DrawColoured(const std::vector<Vertex3>& vertices, float r, float g, float b, float a)
    {
        const float colour[4] = {r, g, b, a};
        WriteConstants(colourBuffer.get(), colour, sizeof colour);
        auto buffer = VertexBuffer(vertices.data(), static_cast<uint32_t>(vertices.size() * sizeof(Vertex3)));
        gpu::Buffer* buffers[] = {buffer.get()};
        const uint32_t stride = sizeof(Vertex3);
        const uint32_t offset = 0;
        context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        UseShaders(vertexShader.get(), pixelShader.get(), layout.get());
        gpu::Buffer* constants[] = {colourBuffer.get()};
        context->PSSetConstantBuffers(0, 1, constants);
        context->Draw(static_cast<uint32_t>(vertices.size()), 0);
    }

    // Binds a two-triangle quad over the whole target as vertex stream 0; the
    // returned buffer must live until the draw.
    std::shared_ptr<gpu::Buffer> BindFullScreenQuad()
    {
        const std::vector<Vertex3> quad = Quad(-1, -1, 1, 1);
        auto buffer = VertexBuffer(quad.data(), static_cast<uint32_t>(quad.size() * sizeof(Vertex3)));
        gpu::Buffer* buffers[] = {buffer.get()};
        const uint32_t stride = sizeof(Vertex3), offset = 0;
        context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        return buffer;
    }

    // Compiled shaders and their layout, kept alive until the draws.
    struct Program
    {
        std::shared_ptr<gpu::VertexShader> vs;
        std::shared_ptr<gpu::PixelShader> ps;
        std::shared_ptr<gpu::InputLayout> layout;
    };

    // Compiles `vs` and `ps` and binds them as a triangle-list pipeline.
    Program UseProgram(const char* vs, const char* ps,
                       const std::vector<gpu::InputElement>& elements = {{"SV_Position", 0, Format::R32G32B32_FLOAT}})
    {
        Program program{VertexShader(vs), PixelShader(ps), Layout(elements, vs)};
        UseShaders(program.vs.get(), program.ps.get(), program.layout.get());
        return program;
    }

    std::shared_ptr<gpu::VertexShader> vertexShader;
    std::shared_ptr<gpu::PixelShader> pixelShader;
    std::shared_ptr<gpu::InputLayout> layout;
    std::shared_ptr<gpu::Buffer> colourBuffer;
    std::shared_ptr<gpu::RenderTargetView> rtv;
    std::shared_ptr<gpu::DepthStencilView> dsv;
    std::unique_ptr<gpu::CommonStates> states;
};

TEST_F(PipelineTest, TopOfClipSpaceAndTopOfViewportLandInTheFirstRows)
{
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    context->RSSetState(states->CullNone());
    Clear(0, 0, 0, 1);
    DrawColoured(Quad(-1, 0, 0, 1), 1, 0, 0, 1); // top-left quarter
    EXPECT_EQ(PixelAt(target.get(), 2, 2).r, 255);
    EXPECT_EQ(PixelAt(target.get(), 31, 23).r, 255);
    EXPECT_EQ(PixelAt(target.get(), 2, 24).r, 0); // first row of the lower half
    EXPECT_EQ(PixelAt(target.get(), 32, 2).r, 0); // right half

    // A viewport whose top edge is row 24 covers the lower half only.
    gpu::Viewport lower;
    lower.topLeftY = 24;
    lower.width = Width;
    lower.height = 24;
    context->RSSetViewports(1, &lower);
    DrawColoured(Quad(-1, -1, 1, 1), 0, 1, 0, 1);
    EXPECT_EQ(PixelAt(target.get(), 40, 23).g, 0);
    EXPECT_EQ(PixelAt(target.get(), 40, 24).g, 255);
    EXPECT_EQ(PixelAt(target.get(), 40, 47).g, 255);

    // Scissor rectangles keep their top-left origin as well.
    gpu::RasterizerDesc scissored;
    scissored.cullMode = gpu::CullMode::None;
    scissored.scissorEnable = true;
    auto scissorState = device->CreateRasterizerState(scissored);
    context->RSSetState(scissorState.get());
    SetViewport();
    const gpu::Rect rect{0, 0, 8, 4};
    context->RSSetScissorRects(1, &rect);
    DrawColoured(Quad(-1, -1, 1, 1), 0, 0, 1, 1);
    EXPECT_EQ(PixelAt(target.get(), 7, 3).b, 255);
    EXPECT_EQ(PixelAt(target.get(), 7, 4).b, 0);
    EXPECT_EQ(PixelAt(target.get(), 8, 3).b, 0);
}

TEST_F(PipelineTest, TextureCoordinateZeroIsTheFirstRowOfTheImageAndOfARenderedTarget)
{
    const char* vs = R"(#version 330 core
in vec3 SV_Position0;
out vec2 uv;
void main()
{
    uv = vec2(SV_Position0.x * 0.5 + 0.5, 0.5 - SV_Position0.y * 0.5);
    gl_Position = vec4(SV_Position0, 1.0);
}
)";
    const char* ps = R"(#version 330 core
uniform sampler2D image_t0;
in vec2 uv;
layout(location = 0) out vec4 Target0;
void main()
{
    Target0 = texture(image_t0, uv);
}
)";
    // An image loaded top row first: red over blue.
    const uint8_t texels[] = {255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    gpu::Texture2DDesc desc;
    desc.width = 2;
    desc.height = 2;
    const gpu::SubresourceData data{texels, 8};
    auto image = device->CreateTexture2D(desc, &data);
    auto imageView = device->CreateShaderResourceView(image.get());

    auto first = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(first.get());
    context->RSSetState(states->CullNone());
    auto quad = BindFullScreenQuad();
    const Program sampling = UseProgram(vs, ps);
    gpu::SamplerState* point[] = {states->PointClamp()};
    context->PSSetSamplers(0, 1, point);
    gpu::ShaderResourceView* views[] = {imageView.get()};
    context->PSSetShaderResources(0, 1, views);
    context->Draw(6, 0);
    EXPECT_EQ(PixelAt(first.get(), 10, 2).r, 255);
    EXPECT_EQ(PixelAt(first.get(), 10, 45).b, 255);

    // Sampling the rendered target the same way keeps it the right way up.
    auto firstView = device->CreateShaderResourceView(first.get());
    auto second = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(second.get());
    gpu::ShaderResourceView* again[] = {firstView.get()};
    context->PSSetShaderResources(0, 1, again);
    context->Draw(6, 0);
    EXPECT_EQ(PixelAt(second.get(), 10, 2).r, 255);
    EXPECT_EQ(PixelAt(second.get(), 10, 45).b, 255);

    // And the window shows it with row 0 at the top.
    gpu::SwapChain swapChain(*device, Width, Height);
    context->CopyResource(swapChain.GetBackBuffer(), second.get());
    swapChain.PresentToWindow(Width, Height);
    const std::vector<uint8_t> window = gpu::SwapChain::ReadWindowPixels(Width, Height);
    EXPECT_EQ(window[(2 * Width + 10) * 4 + 0], 255);
    EXPECT_EQ(window[(45 * Width + 10) * 4 + 2], 255);
}

class DepthRangeTest : public PipelineTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        gpu::DeviceOptions options;
        options.forceDepthFixup = GetParam();
        StartDevice(options);
        Prepare();
    }
};

TEST_P(DepthRangeTest, DepthRunsZeroToOneAndTheNearerSurfaceWins)
{
    EXPECT_EQ(device->UsesClipControl(), !GetParam());
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    auto depth = MakeDepth();
    UseTarget(target.get(), depth.get());
    context->RSSetState(states->CullNone());
    context->OMSetDepthStencilState(states->DepthDefault(), 0);
    Clear(0, 0, 0, 1);

    DrawColoured(Quad(-1, -1, 1, 1, 0.25f), 0, 1, 0, 1);
    DrawColoured(Quad(-1, -1, 1, 1, 0.75f), 1, 0, 0, 1); // behind: rejected
    DrawColoured(Quad(-1, -1, 0, 1, 0.25f), 0, 0, 1, 1); // equal: LESS_EQUAL passes
    EXPECT_EQ(PixelAt(target.get(), 40, 10).g, 255);
    EXPECT_EQ(PixelAt(target.get(), 40, 10).r, 0);
    EXPECT_EQ(PixelAt(target.get(), 10, 10).b, 255);

    const std::vector<float> stored = context->ReadDepth(depth.get());
    EXPECT_NEAR(stored[10 * Width + 40], 0.25f, 1e-4f);

    // Clip-space depth below 0 is outside the volume; 0 itself is inside.
    Clear(0, 0, 0, 1);
    DrawColoured(Quad(-1, -1, 0, 1, -0.1f), 1, 1, 0, 1);
    DrawColoured(Quad(0, -1, 1, 1, 0.0f), 0, 1, 1, 1);
    EXPECT_EQ(PixelAt(target.get(), 10, 10).r, 0);
    EXPECT_EQ(PixelAt(target.get(), 50, 10).b, 255);
    EXPECT_NEAR(context->ReadDepth(depth.get())[10 * Width + 50], 0.0f, 1e-4f);

    // DepthRead tests but does not write; DepthNone neither.
    context->OMSetDepthStencilState(states->DepthRead(), 0);
    DrawColoured(Quad(-1, -1, 1, 1, 0.5f), 1, 0, 1, 1);
    EXPECT_EQ(PixelAt(target.get(), 10, 10).r, 255);
    EXPECT_EQ(PixelAt(target.get(), 50, 10).r, 0);
    EXPECT_NEAR(context->ReadDepth(depth.get())[10 * Width + 10], 1.0f, 1e-4f);
}

INSTANTIATE_TEST_SUITE_P(ClipControlAndShaderFixup, DepthRangeTest, ::testing::Values(false, true));

TEST_F(PipelineTest, CullStatesKeepTheToolkitMeaningOfClockwise)
{
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    // Clockwise on screen: top-left, top-right, bottom-left.
    const std::vector<Vertex3> clockwise = {{-1, 1, 0.5f}, {1, 1, 0.5f}, {-1, -1, 0.5f}};
    const std::vector<Vertex3> counter = {{-1, 1, 0.5f}, {-1, -1, 0.5f}, {1, 1, 0.5f}};
    struct Case
    {
        gpu::RasterizerState* state;
        bool clockwiseDrawn;
        bool counterDrawn;
    };
    const Case cases[] = {{states->CullNone(), true, true},
                          {states->CullClockwise(), false, true},
                          {states->CullCounterClockwise(), true, false},
                          {nullptr, true, false}}; // Direct3D's default culls back faces
    for (const Case& c : cases) {
        context->RSSetState(c.state);
        Clear(0, 0, 0, 1);
        DrawColoured(clockwise, 1, 0, 0, 1);
        EXPECT_EQ(PixelAt(target.get(), 4, 4).r, c.clockwiseDrawn ? 255 : 0);
        Clear(0, 0, 0, 1);
        DrawColoured(counter, 1, 0, 0, 1);
        EXPECT_EQ(PixelAt(target.get(), 4, 4).r, c.counterDrawn ? 255 : 0);
    }
}

TEST_F(PipelineTest, BlendStatesUseTheToolkitFactors)
{
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    context->RSSetState(states->CullNone());
    auto near = [](int actual, float expected) { EXPECT_NEAR(actual, expected * 255.0f, 1.5f); };

    // Additive: source x alpha + destination.
    context->OMSetBlendState(states->Additive(), nullptr, 0xffffffff);
    Clear(0.2f, 0.2f, 0.2f, 1);
    DrawColoured(Quad(-1, -1, 1, 1), 0.5f, 0.25f, 0, 0.5f);
    Rgba8 p = PixelAt(target.get(), 5, 5);
    near(p.r, 0.2f + 0.25f);
    near(p.g, 0.2f + 0.125f);
    near(p.b, 0.2f);

    // AlphaBlend is premultiplied: source + destination x (1 - alpha).
    context->OMSetBlendState(states->AlphaBlend(), nullptr, 0xffffffff);
    Clear(0, 0, 1, 1);
    DrawColoured(Quad(-1, -1, 1, 1), 0.4f, 0, 0, 0.5f);
    p = PixelAt(target.get(), 5, 5);
    near(p.r, 0.4f);
    near(p.b, 0.5f);
    near(p.a, 0.5f + 0.5f);

    // NonPremultiplied: source x alpha + destination x (1 - alpha).
    context->OMSetBlendState(states->NonPremultiplied(), nullptr, 0xffffffff);
    Clear(0, 0, 1, 1);
    DrawColoured(Quad(-1, -1, 1, 1), 0.4f, 0, 0, 0.5f);
    p = PixelAt(target.get(), 5, 5);
    near(p.r, 0.2f);
    near(p.b, 0.5f);

    // Opaque replaces.
    context->OMSetBlendState(states->Opaque(), nullptr, 0xffffffff);
    DrawColoured(Quad(-1, -1, 1, 1), 0.4f, 0, 0, 0.5f);
    p = PixelAt(target.get(), 5, 5);
    near(p.r, 0.4f);
    near(p.b, 0.0f);
    near(p.a, 0.5f);
}

TEST_F(PipelineTest, SrgbTargetsEncodeOnWriteAndDecodeOnRead)
{
    // Writing linear 0.5 into an sRGB target stores the encoded byte.
    auto srgb = MakeTarget(Format::R8G8B8A8_UNORM_SRGB);
    UseTarget(srgb.get());
    context->RSSetState(states->CullNone());
    Clear(0.5f, 0.5f, 0.5f, 0.5f); // clears encode too
    EXPECT_NEAR(PixelAt(srgb.get(), 1, 1).r, 188, 1);
    EXPECT_NEAR(PixelAt(srgb.get(), 1, 1).a, 128, 1); // alpha stays linear
    DrawColoured(Quad(-1, -1, 1, 1), 0.2140f, 0, 0, 1);
    EXPECT_NEAR(PixelAt(srgb.get(), 1, 1).r, 128, 1);

    // A raw copy keeps the encoded bytes.
    auto copy = MakeTarget(Format::R8G8B8A8_UNORM_SRGB);
    context->CopyResource(copy.get(), srgb.get());
    EXPECT_NEAR(PixelAt(copy.get(), 1, 1).r, 128, 1);

    // Sampling the sRGB target gives linear light back.
    const char* ps = R"(#version 330 core
uniform sampler2D source_t0;
layout(location = 0) out vec4 Target0;
void main() { Target0 = texelFetch(source_t0, ivec2(gl_FragCoord.xy), 0); }
)";
    auto copyView = device->CreateShaderResourceView(copy.get());
    auto linear = MakeTarget(Format::R16G16B16A16_FLOAT);
    UseTarget(linear.get());
    const Program fetch = UseProgram(PositionVertexShader, ps);
    gpu::ShaderResourceView* views[] = {copyView.get()};
    context->PSSetShaderResources(0, 1, views);
    auto quad = BindFullScreenQuad();
    context->Draw(6, 0);
    const std::vector<float> values = context->ReadPixelsFloat(linear.get());
    EXPECT_NEAR(values[(1 * Width + 1) * 4], 0.214f, 0.004f);
}

TEST_F(PipelineTest, EachStageHasItsOwnConstantSlots)
{
    const char* vs = R"(#version 330 core
layout(std140) uniform Offset_b0 { vec4 offset; };
layout(std140) uniform Scale_b1 { vec4 scale; };
in vec3 SV_Position0;
out float fromVertexStage;
void main()
{
    fromVertexStage = offset.w;
    gl_Position = vec4(SV_Position0 * scale.xyz + offset.xyz, 1.0);
}
)";
    const char* ps = R"(#version 330 core
layout(std140) uniform Tint_b0 { vec4 tint; };
in float fromVertexStage;
layout(location = 0) out vec4 Target0;
void main() { Target0 = vec4(fromVertexStage, tint.g, tint.b, 1.0); }
)";
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    context->RSSetState(states->CullNone());
    Clear(0, 0, 0, 1);
    auto vsOffset = ConstantBuffer(16);
    auto vsScale = ConstantBuffer(16);
    auto psTint = ConstantBuffer(16);
    const float offset[4] = {-0.5f, 0.5f, 0, 1.0f}; // moves the quad up-left; w feeds red
    const float scale[4] = {0.5f, 0.5f, 1, 0};
    const float tint[4] = {0, 0.5f, 1.0f, 0};
    WriteConstants(vsOffset.get(), offset, 16);
    WriteConstants(vsScale.get(), scale, 16);
    WriteConstants(psTint.get(), tint, 16);
    gpu::Buffer* vsBuffers[] = {vsOffset.get(), vsScale.get()};
    context->VSSetConstantBuffers(0, 2, vsBuffers);
    gpu::Buffer* psBuffers[] = {psTint.get()};
    context->PSSetConstantBuffers(0, 1, psBuffers);
    auto quad = BindFullScreenQuad();
    const Program program = UseProgram(vs, ps);
    context->Draw(6, 0);
    const Rgba8 inside = PixelAt(target.get(), 16, 12); // centre of the top-left quarter
    EXPECT_EQ(inside.r, 255);
    EXPECT_NEAR(inside.g, 128, 1);
    EXPECT_EQ(inside.b, 255);
    EXPECT_EQ(PixelAt(target.get(), 48, 36).r, 0);

    // A block that both stages share has no single slot: refused at link.
    const char* shared = R"(#version 330 core
layout(std140) uniform Offset_b0 { vec4 offset; };
layout(location = 0) out vec4 Target0;
void main() { Target0 = offset; }
)";
    auto sharing = PixelShader(shared);
    context->PSSetShader(sharing.get());
    EXPECT_THROW(context->Draw(6, 0), gpu::GpuError);
}

TEST_F(PipelineTest, BindingATargetUnbindsItsShaderResourceAndTheReverseIsRefused)
{
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    auto other = MakeTarget(Format::R8G8B8A8_UNORM);
    auto depth = MakeDepth();
    auto targetView = device->CreateShaderResourceView(target.get());
    gpu::ShaderResourceView* depthRead = device->CreateShaderResourceView(depth.get()).get();
    auto depthView = device->CreateShaderResourceView(depth.get());
    (void)depthRead;

    gpu::ShaderResourceView* views[] = {targetView.get(), depthView.get()};
    context->PSSetShaderResources(0, 2, views);
    EXPECT_EQ(context->PSGetShaderResource(0), targetView.get());

    UseTarget(target.get());
    EXPECT_EQ(context->PSGetShaderResource(0), nullptr);
    EXPECT_EQ(context->PSGetShaderResource(1), depthView.get());
    context->PSSetShaderResources(0, 1, views);
    EXPECT_EQ(context->PSGetShaderResource(0), nullptr);

    // Writing colour while reading depth is fine; binding depth is not.
    UseTarget(other.get());
    context->PSSetShaderResources(0, 2, views);
    EXPECT_EQ(context->PSGetShaderResource(1), depthView.get());
    UseTarget(other.get(), depth.get());
    EXPECT_EQ(context->PSGetShaderResource(1), nullptr);
}

TEST_F(PipelineTest, InstancedDrawsReadPerInstanceStreamsFromTheStartInstance)
{
    const char* vs = R"(#version 330 core
in vec3 SV_Position0;
in vec4 OFFSET0;
in vec4 COLOR0;
out vec4 colour;
void main()
{
    colour = COLOR0;
    gl_Position = vec4(SV_Position0 + OFFSET0.xyz, 1.0);
}
)";
    const char* ps = R"(#version 330 core
in vec4 colour;
layout(location = 0) out vec4 Target0;
void main() { Target0 = colour; }
)";
    struct Instance
    {
        float offset[4];
        float colour[4];
    };
    const Instance instances[] = {{{-0.5f, 0.5f, 0, 0}, {1, 0, 0, 1}}, // top-left quarter
                                  {{0.5f, -0.5f, 0, 0}, {0, 1, 0, 1}}, // bottom-right quarter
                                  {{0.5f, 0.5f, 0, 0}, {0, 0, 1, 1}}}; // top-right quarter
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    context->RSSetState(states->CullNone());
    Clear(0, 0, 0, 1);
    auto quad = Quad(-0.5f, -0.5f, 0.5f, 0.5f);
    auto vertices = VertexBuffer(quad.data(), static_cast<uint32_t>(quad.size() * sizeof(Vertex3)));
    auto perInstance = VertexBuffer(instances, sizeof instances);
    gpu::Buffer* buffers[] = {vertices.get(), perInstance.get()};
    const uint32_t strides[] = {sizeof(Vertex3), sizeof(Instance)};
    const uint32_t offsets[] = {0, 0};
    context->IASetVertexBuffers(0, 2, buffers, strides, offsets);
    const Program program =
        UseProgram(vs, ps,
                   {{"SV_Position", 0, Format::R32G32B32_FLOAT},
                    {"OFFSET", 0, Format::R32G32B32A32_FLOAT, 1, gpu::AppendAlignedElement, true, 1},
                    {"COLOR", 0, Format::R32G32B32A32_FLOAT, 1, gpu::AppendAlignedElement, true, 1}});
    context->DrawInstanced(6, 2, 0, 0);
    EXPECT_EQ(PixelAt(target.get(), 16, 12).r, 255);
    EXPECT_EQ(PixelAt(target.get(), 48, 36).g, 255);
    EXPECT_EQ(PixelAt(target.get(), 48, 12).b, 0);

    context->DrawInstanced(6, 1, 0, 2); // the third record alone
    EXPECT_EQ(PixelAt(target.get(), 48, 12).b, 255);

    // Indexed: the same quad from four corners.
    const Vertex3 corners[] = {{-0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}};
    const uint16_t indices[] = {0, 1, 2, 1, 3, 2};
    auto cornerBuffer = VertexBuffer(corners, sizeof corners);
    gpu::BufferDesc indexDesc;
    indexDesc.byteWidth = sizeof indices;
    indexDesc.usage = gpu::Usage::Immutable;
    indexDesc.bindFlags = gpu::BindIndexBuffer;
    auto indexBuffer = device->CreateBuffer(indexDesc, indices);
    gpu::Buffer* indexed[] = {cornerBuffer.get(), perInstance.get()};
    context->IASetVertexBuffers(0, 2, indexed, strides, offsets);
    context->IASetIndexBuffer(indexBuffer.get(), Format::R16_UINT, 0);
    Clear(0, 0, 0, 1);
    context->DrawIndexedInstanced(6, 1, 0, 0, 1);
    EXPECT_EQ(PixelAt(target.get(), 48, 36).g, 255);
    EXPECT_EQ(PixelAt(target.get(), 16, 12).r, 0);
}

TEST_F(PipelineTest, InputLayoutsMustFeedEveryInputTheShaderReads)
{
    const char* vs = R"(#version 330 core
in vec3 SV_Position0;
in vec3 NORMAL0;
out vec3 normal;
void main() { normal = NORMAL0; gl_Position = vec4(SV_Position0, 1.0); }
)";
    try {
        Layout({{"SV_Position", 0, Format::R32G32B32_FLOAT}}, vs);
        FAIL() << "a layout without NORMAL0 was accepted";
    } catch (const gpu::GpuError& error) {
        EXPECT_STREQ(error.what(), "CreateInputLayout");
        EXPECT_NE(error.Detail().find("NORMAL0"), std::string::npos);
    }
    // Elements the shader does not read are fine, and offsets append per slot.
    auto layout = Layout({{"SV_Position", 0, Format::R32G32B32_FLOAT},
                          {"TANGENT", 0, Format::R32G32B32A32_FLOAT},
                          {"NORMAL", 0, Format::R32G32B32_FLOAT}},
                         vs);
    ASSERT_EQ(layout->Elements().size(), 2u);
    EXPECT_EQ(layout->Elements()[1].offset, 28u);

    // A layout drawn with a shader of other inputs is a programming error.
    auto shader = VertexShader(PositionVertexShader);
    context->VSSetShader(shader.get());
    context->PSSetShader(pixelShader.get());
    context->IASetInputLayout(layout.get());
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    UseTarget(target.get());
    EXPECT_THROW(context->Draw(3, 0), gpu::GpuError);

    // Broken GLSL reports the compiler's words.
    try {
        VertexShader("#version 330 core\nvoid main() { undeclared = 1.0; }\n");
        FAIL() << "broken shader compiled";
    } catch (const gpu::GpuError& error) {
        EXPECT_STREQ(error.what(), "CreateVertexShader");
        EXPECT_NE(error.Detail().find("undeclared"), std::string::npos);
    }
}

TEST_F(PipelineTest, SingleLevelAndMippedTexturesAreCompleteForMipmappingSamplers)
{
    const char* vs = R"(#version 330 core
in vec3 SV_Position0;
out vec2 uv;
void main() { uv = SV_Position0.xy * 0.5 + 0.5; gl_Position = vec4(SV_Position0, 1.0); }
)";
    const char* ps = R"(#version 330 core
uniform sampler2D image_t0;
in vec2 uv;
layout(location = 0) out vec4 Target0;
void main() { Target0 = texture(image_t0, uv); }
)";
    // An 8 x 8 checker of black and white, one level: drawn at 1 x 1 a
    // trilinear sampler must still read texels (no incomplete-texture black).
    std::vector<uint8_t> checker(8 * 8 * 4);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            for (int c = 0; c < 4; ++c)
                checker[(y * 8 + x) * 4 + c] = ((x + y) % 2 == 0 || c == 3) ? 255 : 0;
    gpu::Texture2DDesc desc;
    desc.width = 8;
    desc.height = 8;
    const gpu::SubresourceData data{checker.data(), 32};
    auto single = device->CreateTexture2D(desc, &data);
    auto singleView = device->CreateShaderResourceView(single.get());

    // The same with a full chain generated on the GPU: the 1 x 1 level is grey.
    desc.mipLevels = 0;
    desc.bindFlags = gpu::BindShaderResource | gpu::BindRenderTarget;
    desc.miscFlags = gpu::TextureGenerateMips;
    std::vector<gpu::SubresourceData> levels(4, gpu::SubresourceData{nullptr, 0});
    auto mipped = device->CreateTexture2D(desc);
    EXPECT_EQ(mipped->Desc().mipLevels, 4u);
    context->UpdateSubresource(mipped.get(), 0, checker.data(), 32);
    auto mippedView = device->CreateShaderResourceView(mipped.get());
    context->GenerateMips(mippedView.get());

    auto tiny = MakeTarget(Format::R8G8B8A8_UNORM, 1, 1);
    UseTarget(tiny.get());
    context->RSSetState(states->CullNone());
    auto quad = BindFullScreenQuad();
    const Program program = UseProgram(vs, ps);
    gpu::SamplerState* sampler[] = {states->AnisotropicWrap()};
    context->PSSetSamplers(0, 1, sampler);

    gpu::ShaderResourceView* first[] = {singleView.get()};
    context->PSSetShaderResources(0, 1, first);
    context->Draw(6, 0);
    const Rgba8 one = PixelAt(tiny.get(), 0, 0);
    EXPECT_GT(one.r, 100); // level 0 filtered; an incomplete texture reads black
    EXPECT_EQ(one.a, 255);

    gpu::ShaderResourceView* second[] = {mippedView.get()};
    context->PSSetShaderResources(0, 1, second);
    context->Draw(6, 0);
    EXPECT_NEAR(PixelAt(tiny.get(), 0, 0).r, 128, 3);
}

TEST_F(PipelineTest, MultipleTargetsTakeOneOutputEach)
{
    const char* ps = R"(#version 330 core
layout(location = 0) out vec4 Target0;
layout(location = 1) out vec4 Target1;
void main() { Target0 = vec4(1.0, 0.0, 0.0, 1.0); Target1 = vec4(-1.0, 0.5, 0.0, 1.0); }
)";
    auto colour = MakeTarget(Format::R8G8B8A8_UNORM_SRGB);
    auto normal = MakeTarget(Format::R8G8B8A8_SNORM);
    auto colourView = device->CreateRenderTargetView(colour.get());
    auto normalView = device->CreateRenderTargetView(normal.get());
    gpu::RenderTargetView* views[] = {colourView.get(), normalView.get()};
    context->OMSetRenderTargets(2, views, nullptr);
    SetViewport();
    context->RSSetState(states->CullNone());
    auto pixel = PixelShader(ps);
    auto quad = BindFullScreenQuad();
    UseShaders(vertexShader.get(), pixel.get(), layout.get());
    context->Draw(6, 0);
    EXPECT_EQ(PixelAt(colour.get(), 3, 3).r, 255);
    const std::vector<float> normals = context->ReadPixelsFloat(normal.get());
    EXPECT_NEAR(normals[0], -1.0f, 0.01f);
    EXPECT_NEAR(normals[1], 0.5f, 0.01f);
}

TEST_F(GpuTest, DeviceCycleDropsEverythingAndStartsAgain)
{
    auto target = MakeTarget(gpu::Format::R8G8B8A8_UNORM);
    auto view = device->CreateRenderTargetView(target.get());
    auto shader = VertexShader(PositionVertexShader);
    EXPECT_GE(device->LiveObjectCount(), 3u);
    view.reset();
    target.reset();
    shader.reset();
    EXPECT_EQ(device->LiveObjectCount(), 0u);

    // Objects that outlive their device let go without touching OpenGL.
    auto survivor = MakeTarget(gpu::Format::R8G8B8A8_UNORM);
    device.reset();
    survivor.reset();

    StartDevice({});
    auto fresh = MakeTarget(gpu::Format::R8G8B8A8_UNORM, 4, 4);
    auto freshView = device->CreateRenderTargetView(fresh.get());
    const float red[4] = {1, 0, 0, 1};
    context->ClearRenderTargetView(freshView.get(), red);
    EXPECT_EQ(PixelAt(fresh.get(), 3, 3).r, 255);
}

TEST_F(GpuTest, BuffersFollowDirect3DCreationRules)
{
    gpu::BufferDesc desc;
    desc.byteWidth = 20;
    desc.usage = gpu::Usage::Dynamic;
    desc.cpuWrite = true;
    desc.bindFlags = gpu::BindConstantBuffer;
    EXPECT_THROW(device->CreateBuffer(desc), gpu::GpuError); // not a multiple of 16
    desc.byteWidth = 0;
    EXPECT_THROW(device->CreateBuffer(desc), gpu::GpuError);
    desc.byteWidth = 16;
    desc.usage = gpu::Usage::Immutable;
    EXPECT_THROW(device->CreateBuffer(desc), gpu::GpuError); // immutable without data
    desc.usage = gpu::Usage::Default;
    auto plain = device->CreateBuffer(desc);
    EXPECT_THROW(context->Map(plain.get(), gpu::MapType::WriteDiscard), gpu::GpuError);
}

} // namespace
} // namespace mirefell::testing
