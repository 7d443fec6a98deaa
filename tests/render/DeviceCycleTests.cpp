// The renderer through a whole device cycle, in the order the shell drives
// it: device resources (textures, effects, common states), the window-size
// step (G-buffer), a drawn frame, device loss (everything released, nothing
// left on the device), a new device with the same steps, and a frame again.
#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "platform/Lookup.h"
#include "render/GeometryBuffer.h"
#include "render/VertexTypes.h"

namespace mirefell::testing
{
namespace
{

class DeviceCycleTest : public RenderFixture
{
protected:
    void CreateDeviceResources()
    {
        TextureRegistry::GetInstance().LoadAll();
        EffectRegistry::Initialize();
        GetCommonStates() = CreateCommonStates(Device);
    }

    void CreateWindowSizeResources(int32_t width, int32_t height)
    {
        ScreenWidth = width;
        ScreenHeight = height;
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
    }

    void OnDeviceLost()
    {
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::ReleaseAll();
        gbuffer.Release();
        GetCommonStates().reset();
    }

    // One textured triangle over the middle of the G-buffer, as the textured
    // pass draws it; returns the colour at the centre.
    Rgba8 DrawFrame()
    {
        gbuffer.Clear();
        const float far = 1.0f;
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, far, 0);
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[0].get(), gbuffer.renderTargetViews[1].get()};
        context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        SetViewport(uint32_t(ScreenWidth), uint32_t(ScreenHeight));
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.AnisotropicWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthDefault(), 0);
        context->RSSetState(states.CullNone());
        const VertexPositionNormalTexture triangle[] = {{{-1, -1, 0.5f}, {0, 0, 1}, {0, 0}},
                                                        {{3, -1, 0.5f}, {0, 0, 1}, {0, 0}},
                                                        {{-1, 3, 0.5f}, {0, 0, 1}, {0, 0}}};
        auto buffer = VertexBuffer(triangle, sizeof triangle);
        IEffect* effect = MapAt(EffectRegistry::GetInstance(), EffectIdTexture).get();
        effect->SetMatrices(Matrix::Identity(), Matrix::Identity(), Matrix::Identity());
        effect->SetTexture(TextureRegistry::GetInstance().GetTexture("red"));
        effect->Bind(context);
        context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        gpu::Buffer* buffers[] = {buffer.get()};
        const uint32_t stride = effect->GetVertexStride(), offset = 0;
        context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        context->Draw(3, 0);
        gpu::Texture2D* colour = gbuffer.textures[GeometryBuffer::ColourIndex].get();
        return PixelAt(colour, colour->Desc().width / 2, colour->Desc().height / 2);
    }

    GeometryBuffer gbuffer;
};

TEST_F(DeviceCycleTest, CreateReleaseAndCreateAgain)
{
    CreateDeviceResources();
    CreateWindowSizeResources(64, 48);
    const Rgba8 before = DrawFrame();
    EXPECT_GT(before.r, 100);
    EXPECT_LT(before.g, before.r);
    IEffect* oldEffect = MapAt(EffectRegistry::GetInstance(), EffectIdTexture).get();

    OnDeviceLost();
    context->ClearState(); // the shell drops its context with the device
    EXPECT_EQ(device->LiveObjectCount(), 0u) << "a renderer part kept GPU objects past device loss";
    EXPECT_EQ(EffectRegistry::GetInstance().size(), 4u);

    StartDevice({});
    Adopt();
    CreateDeviceResources();
    CreateWindowSizeResources(96, 54); // the window changed size meanwhile
    EXPECT_NE(MapAt(EffectRegistry::GetInstance(), EffectIdTexture).get(), oldEffect);
    EXPECT_EQ(gbuffer.textures[0]->Desc().width, 96u);
    EXPECT_EQ(gbuffer.halfResourceA->GetTexture()->Desc().height, 27u);
    const Rgba8 after = DrawFrame();
    EXPECT_EQ(after.r, before.r);
    EXPECT_EQ(after.g, before.g);

    // A size change alone rebuilds only the size-dependent targets.
    CreateWindowSizeResources(32, 20);
    EXPECT_EQ(DrawFrame().r, before.r);
}

} // namespace
} // namespace mirefell::testing
