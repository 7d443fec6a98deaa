// Parts of textures in the GPU layer: slices of 2D texture arrays and single
// mip levels as render targets, views over a range of levels, the per-level
// read/write hazards, and a saved context state put back after a pass.
#include <gtest/gtest.h>

#include <vector>

#include "platform/gpu/CommonStates.h"
#include "platform/gpu/GpuError.h"
#include "platform/gpu/SavedContextState.h"
#include "support/GpuTest.h"

namespace mirefell::testing
{
namespace
{

using gpu::Format;

// One triangle over the whole viewport, no vertex inputs.
const char* const ScreenTriangleShader = R"(#version 330 core
void main()
{
    vec2 corner = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? -3.0 : 1.0);
    gl_Position = vec4(corner, 0.0, 1.0);
}
)";

class SubresourceTest : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        states = std::make_unique<gpu::CommonStates>(*device);
        triangle = VertexShader(ScreenTriangleShader);
    }

    // Draws the screen triangle with `pixelSource` into the bound targets
    // over a width x height viewport.
    void Pass(const std::string& pixelSource, uint32_t width, uint32_t height)
    {
        auto pixel = PixelShader(pixelSource);
        SetViewport(width, height);
        context->RSSetState(states->CullNone());
        UseShaders(triangle.get(), pixel.get(), nullptr);
        context->Draw(3, 0);
    }

    std::shared_ptr<gpu::Texture2D> Texture(uint32_t size, uint32_t mips, uint32_t slices,
                                            const gpu::SubresourceData* data = nullptr)
    {
        gpu::Texture2DDesc desc;
        desc.width = desc.height = size;
        desc.mipLevels = mips;
        desc.arraySize = slices;
        desc.format = Format::R8G8B8A8_UNORM;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        return device->CreateTexture2D(desc, data);
    }

    Rgba8 Texel(gpu::Texture2D* texture, uint32_t mip, uint32_t slice, uint32_t x, uint32_t y)
    {
        const std::vector<uint8_t> pixels = context->ReadPixelsRGBA8(texture, mip, slice);
        const size_t at = (static_cast<size_t>(y) * (texture->Desc().width >> mip) + x) * 4;
        return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
    }

    std::unique_ptr<gpu::CommonStates> states;
    std::shared_ptr<gpu::VertexShader> triangle;
};

TEST_F(SubresourceTest, ArraySlicesAreDrawnOneAtATimeAndReadThroughOneView)
{
    // Three 4 x 4 slices that start blue, grey and white.
    std::vector<std::vector<uint8_t>> start;
    for (uint8_t grey : {0, 128, 255}) {
        std::vector<uint8_t> slice(4 * 4 * 4, grey);
        for (size_t i = 2; i < slice.size(); i += 4)
            slice[i] = 255;
        start.push_back(slice);
    }
    const gpu::SubresourceData data[] = {{start[0].data(), 16}, {start[1].data(), 16}, {start[2].data(), 16}};
    auto array = Texture(4, 1, 3, data);
    gpu::RenderTargetViewDesc second;
    second.arraySlice = 2;
    auto sliceTwo = device->CreateRenderTargetView(array.get(), &second);
    auto whole = device->CreateShaderResourceView(array.get());
    EXPECT_EQ(whole->Desc().dimension, gpu::ViewDimension::Texture2DArray);

    // Slice 2 turns red; slices 0 and 1 keep their contents.
    gpu::RenderTargetView* target[] = {sliceTwo.get()};
    context->OMSetRenderTargets(1, target, nullptr);
    // The array is being written: a view of it is refused.
    gpu::ShaderResourceView* read[] = {whole.get()};
    context->PSSetShaderResources(0, 1, read);
    EXPECT_EQ(context->PSGetShaderResource(0), nullptr);
    Pass("#version 330 core\nlayout(location = 0) out vec4 Target0;\nvoid main() { Target0 = vec4(1, 0, 0, 1); }\n", 4,
         4);
    EXPECT_EQ(Texel(array.get(), 0, 2, 3, 3).r, 255);
    EXPECT_EQ(Texel(array.get(), 0, 2, 3, 3).b, 0);
    EXPECT_EQ(Texel(array.get(), 0, 0, 3, 3).b, 255);
    EXPECT_EQ(Texel(array.get(), 0, 1, 3, 3).r, 128);

    // One view reads every slice; the shader picks slice 1 on the left half
    // of a 4 x 1 target and slice 2 on the right.
    auto strip = MakeTarget(Format::R8G8B8A8_UNORM, 4, 1);
    auto stripView = device->CreateRenderTargetView(strip.get());
    gpu::RenderTargetView* stripTarget[] = {stripView.get()};
    context->OMSetRenderTargets(1, stripTarget, nullptr);
    context->PSSetShaderResources(0, 1, read);
    ASSERT_EQ(context->PSGetShaderResource(0), whole.get());
    Pass(R"(#version 330 core
uniform sampler2DArray slices_t0;
layout(location = 0) out vec4 Target0;
void main() { Target0 = texelFetch(slices_t0, ivec3(0, 0, gl_FragCoord.x < 2.0 ? 1 : 2), 0); }
)",
         4, 1);
    EXPECT_EQ(PixelAt(strip.get(), 0, 0).r, 128);
    EXPECT_EQ(PixelAt(strip.get(), 3, 0).r, 255);
    EXPECT_EQ(PixelAt(strip.get(), 3, 0).g, 0);
}

TEST_F(SubresourceTest, EachMipLevelIsDrawnFromTheLevelAboveThroughItsOwnViews)
{
    // Two 8 x 8 textures with levels 8, 4 and 2, filled on the way down by
    // one pass per level into both at once: each texel of level N is half
    // the texel of level N - 1 it covers, read as level 0 of a one-level view.
    auto first = Texture(8, 3, 1);
    auto second = Texture(8, 3, 1);
    std::vector<std::shared_ptr<gpu::RenderTargetView>> targets;
    std::vector<std::shared_ptr<gpu::ShaderResourceView>> levels;
    for (uint32_t mip = 0; mip < 3; ++mip) {
        const gpu::RenderTargetViewDesc target{mip, 0};
        const gpu::ShaderResourceViewDesc level{Format::Unknown, gpu::ViewDimension::Texture2D, mip, 1};
        for (auto* texture : {first.get(), second.get()}) {
            targets.push_back(device->CreateRenderTargetView(texture, &target));
            levels.push_back(device->CreateShaderResourceView(texture, &level));
        }
    }
    const float white[4] = {1, 1, 1, 1};
    const float grey[4] = {0.5f, 0.5f, 0.5f, 1};
    context->ClearRenderTargetView(targets[0].get(), white);
    context->ClearRenderTargetView(targets[1].get(), grey);

    const char* halve = R"(#version 330 core
uniform sampler2D above0_t0;
uniform sampler2D above1_t1;
layout(location = 0) out vec4 Target0;
layout(location = 1) out vec4 Target1;
void main()
{
    ivec2 at = ivec2(gl_FragCoord.xy) * 2;
    Target0 = vec4(texelFetch(above0_t0, at, 0).rgb * 0.5, 1.0);
    Target1 = vec4(texelFetch(above1_t1, at, 0).rgb * 0.5, 1.0);
}
)";
    for (uint32_t mip = 1; mip < 3; ++mip) {
        gpu::RenderTargetView* pair[] = {targets[mip * 2].get(), targets[mip * 2 + 1].get()};
        context->OMSetRenderTargets(2, pair, nullptr);
        gpu::ShaderResourceView* above[] = {levels[(mip - 1) * 2].get(), levels[(mip - 1) * 2 + 1].get()};
        context->PSSetShaderResources(0, 2, above);
        ASSERT_EQ(context->PSGetShaderResource(1), above[1]); // another level than the one drawn: allowed
        Pass(halve, 8 >> mip, 8 >> mip);
    }
    EXPECT_EQ(Texel(first.get(), 0, 0, 7, 7).r, 255);
    EXPECT_NEAR(Texel(first.get(), 1, 0, 3, 3).r, 128, 1);
    EXPECT_NEAR(Texel(first.get(), 2, 0, 1, 1).r, 64, 1);
    EXPECT_NEAR(Texel(second.get(), 2, 0, 0, 0).r, 32, 1);

    // Drawing level 1 unbinds the views that include it, and only those.
    auto all = device->CreateShaderResourceView(first.get());
    EXPECT_EQ(all->Desc().mipLevels, 3u);
    gpu::ShaderResourceView* both[] = {levels[0].get(), levels[4].get()}; // first's levels 0 and 2
    EXPECT_THROW(context->PSSetShaderResources(0, 2, both), gpu::GpuError);
    gpu::ShaderResourceView* views[] = {levels[0].get(), levels[5].get()}; // first's 0, second's 2
    context->PSSetShaderResources(0, 2, views);
    gpu::RenderTargetView* levelOne[] = {targets[2].get()};
    context->OMSetRenderTargets(1, levelOne, nullptr);
    EXPECT_EQ(context->PSGetShaderResource(0), levels[0].get());
    gpu::ShaderResourceView* whole[] = {all.get()};
    context->PSSetShaderResources(0, 1, whole);
    EXPECT_EQ(context->PSGetShaderResource(0), nullptr);

    // A view past the texture's levels is a creation error.
    const gpu::ShaderResourceViewDesc beyond{Format::Unknown, gpu::ViewDimension::Texture2D, 2, 2};
    EXPECT_THROW(device->CreateShaderResourceView(first.get(), &beyond), gpu::GpuError);
    const gpu::RenderTargetViewDesc noSlice{0, 1};
    EXPECT_THROW(device->CreateRenderTargetView(first.get(), &noSlice), gpu::GpuError);
}

TEST_F(SubresourceTest, SavedStateIsBoundAgainOnRestore)
{
    auto target = MakeTarget(Format::R8G8B8A8_UNORM);
    auto targetView = device->CreateRenderTargetView(target.get());
    auto depth = MakeDepth();
    auto depthView = device->CreateDepthStencilView(depth.get());
    auto source = MakeTarget(Format::R8G8B8A8_UNORM);
    auto sourceView = device->CreateShaderResourceView(source.get());
    auto constants = ConstantBuffer(16);
    auto layout = Layout({{"SV_Position", 0, Format::R32G32B32_FLOAT}}, PositionVertexShader);

    gpu::RenderTargetView* targets[] = {nullptr, targetView.get()};
    context->OMSetRenderTargets(2, targets, depthView.get());
    gpu::Viewport viewport;
    viewport.topLeftX = 3;
    viewport.width = 20;
    viewport.height = 10;
    context->RSSetViewports(1, &viewport);
    const gpu::Rect scissor{1, 2, 30, 40};
    context->RSSetScissorRects(1, &scissor);
    gpu::SamplerState* sampler[] = {states->LinearWrap()};
    context->PSSetSamplers(3, 1, sampler);
    gpu::Buffer* buffer[] = {constants.get()};
    context->PSSetConstantBuffers(0, 1, buffer);
    gpu::ShaderResourceView* resource[] = {sourceView.get()};
    context->PSSetShaderResources(4, 1, resource);
    const float factor[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    context->OMSetBlendState(states->Additive(), factor, 0x0f);
    context->OMSetDepthStencilState(states->DepthRead(), 7);
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleStrip);
    context->IASetInputLayout(layout.get());
    context->RSSetState(states->CullClockwise());

    gpu::SavedContextState saved;
    saved.Save(*context, {4, 1, 5});
    context->ClearState();
    saved.Restore(*context);

    EXPECT_EQ(context->OMGetRenderTarget(0), nullptr);
    EXPECT_EQ(context->OMGetRenderTarget(1), targetView.get());
    EXPECT_EQ(context->OMGetDepthStencil(), depthView.get());
    EXPECT_EQ(context->RSGetViewport().topLeftX, 3.0f);
    EXPECT_EQ(context->RSGetViewport().width, 20.0f);
    EXPECT_EQ(context->RSGetScissorRect().bottom, 40);
    EXPECT_EQ(context->PSGetSampler(3), states->LinearWrap());
    EXPECT_EQ(context->PSGetConstantBuffer(0), constants.get());
    EXPECT_EQ(context->PSGetShaderResource(4), sourceView.get());
    float restoredFactor[4] = {};
    uint32_t mask = 0;
    EXPECT_EQ(context->OMGetBlendState(restoredFactor, &mask), states->Additive());
    EXPECT_EQ(restoredFactor[2], 0.75f);
    EXPECT_EQ(mask, 0x0fu);
    uint32_t reference = 0;
    EXPECT_EQ(context->OMGetDepthStencilState(&reference), states->DepthRead());
    EXPECT_EQ(reference, 7u);
    EXPECT_EQ(context->IAGetPrimitiveTopology(), gpu::PrimitiveTopology::TriangleStrip);
    EXPECT_EQ(context->IAGetInputLayout(), layout.get());
    EXPECT_EQ(context->RSGetState(), states->CullClockwise());
}

} // namespace
} // namespace mirefell::testing
