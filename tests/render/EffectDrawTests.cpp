// The effects drawn into a real G-buffer on llvmpipe: colour and normal
// targets from the geometry effects, instanced records read from 144-byte
// strides, and the decal pass reading depth and normals while it writes the
// colour target.
#include <gtest/gtest.h>

#include <cmath>

#include "RenderFixture.h"
#include "platform/Lookup.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/GpuError.h"
#include "render/ColorEffect.h"
#include "render/DecalEffect.h"
#include "render/GeometryBuffer.h"
#include "render/InstancedTextureEffect.h"
#include "render/ParticleEffect.h"
#include "render/TextureEffect.h"
#include "render/VertexTypes.h"

namespace mirefell::testing
{
namespace
{

class EffectDrawTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        gbuffer.Clear();
        const float far = 1.0f;
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, far, 0);
        states = std::make_unique<gpu::CommonStates>(*device);
        BindGeometryTargets();
        // Looking straight down at the floor y = 0 from 10 units up.
        view = Matrix::CreateLookAt(Vector3(0, 10, 0), Vector3(0, 0, 0), Vector3(0, 0, -1));
        projection = Matrix::CreatePerspectiveFieldOfView(ToRadians(90), float(Width) / float(Height), 0.1f, 100);
    }

    void BindGeometryTargets()
    {
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        SetViewport();
    }

    std::shared_ptr<gpu::ShaderResourceView> SolidTexture(uint8_t r, uint8_t g, uint8_t b)
    {
        const uint8_t texels[16] = {r, g, b, 255, r, g, b, 255, r, g, b, 255, r, g, b, 255};
        gpu::Texture2DDesc desc;
        desc.width = 2;
        desc.height = 2;
        desc.format = gpu::Format::R8G8B8A8_UNORM_SRGB;
        const gpu::SubresourceData data{texels, 8};
        auto texture = device->CreateTexture2D(desc, &data);
        return device->CreateShaderResourceView(texture.get());
    }

    // A textured floor quad of side 40 at y = 0, facing up.
    void DrawFloor(gpu::ShaderResourceView* texture)
    {
        const VertexPositionNormalTexture quad[] = {
            {{-20, 0, -20}, {0, 1, 0}, {0, 0}}, {{20, 0, -20}, {0, 1, 0}, {1, 0}}, {{-20, 0, 20}, {0, 1, 0}, {0, 1}},
            {{20, 0, -20}, {0, 1, 0}, {1, 0}},  {{20, 0, 20}, {0, 1, 0}, {1, 1}},  {{-20, 0, 20}, {0, 1, 0}, {0, 1}}};
        floor = VertexBuffer(quad, sizeof quad);
        TextureEffect effect(device.get());
        effect.SetMatrices(Matrix::Identity(), view, projection);
        effect.SetTexture(texture);
        effect.Bind(context);
        context->RSSetState(states->CullNone());
        context->OMSetDepthStencilState(states->DepthDefault(), 0);
        context->OMSetBlendState(states->Opaque(), nullptr, 0xffffffff);
        gpu::SamplerState* sampler = states->AnisotropicWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
        gpu::Buffer* buffers[] = {floor.get()};
        const uint32_t stride = effect.GetVertexStride(), offset = 0;
        context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
        context->Draw(6, 0);
    }

    Rgba8 Colour(uint32_t x, uint32_t y) { return PixelAt(gbuffer.textures[GeometryBuffer::ColourIndex].get(), x, y); }

    std::vector<float> Normals()
    {
        return context->ReadPixelsFloat(gbuffer.textures[GeometryBuffer::NormalIndex].get());
    }

    GeometryBuffer gbuffer;
    std::unique_ptr<gpu::CommonStates> states;
    std::shared_ptr<gpu::Buffer> floor;
    Matrix view;
    Matrix projection;
};

TEST_F(EffectDrawTest, ColourEffectWritesVertexColourAndANormalMappedNormal)
{
    TextureRegistry::GetInstance().Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
    ColorEffect effect(device.get());
    VertexPositionNormalTangentColorTexture triangle[3];
    const Vector3 corners[3] = {{-4, 0, -4}, {-4, 0, 4}, {4, 0, 0}};
    for (int i = 0; i < 3; ++i) {
        triangle[i].position = corners[i];
        triangle[i].normal = {0, 1, 0};
        triangle[i].tangent = {1, 0, 0, 0};
        triangle[i].color = Color(1, 0.5f, 0, 1).ToRGBA();
        triangle[i].textureCoordinate = {0.25f * i, 0.5f};
    }
    auto buffer = VertexBuffer(triangle, sizeof triangle);
    effect.SetMatrices(Matrix::CreateTranslation(Vector3(0, 1, 0)), view, projection);
    effect.Bind(context);
    EXPECT_EQ(context->PSGetShaderResource(1), NormalMapView);
    context->RSSetState(states->CullNone());
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    gpu::Buffer* buffers[] = {buffer.get()};
    const uint32_t stride = effect.GetVertexStride(), offset = 0;
    context->IASetVertexBuffers(0, 1, buffers, &stride, &offset);
    context->Draw(3, 0);

    const Rgba8 centre = Colour(Width / 2, Height / 2);
    EXPECT_EQ(centre.r, 255);
    EXPECT_NEAR(centre.g, 188, 2); // 0.5 linear, stored sRGB
    EXPECT_EQ(centre.b, 0);
    const std::vector<float> normals = Normals();
    const float* n = &normals[(Height / 2 * Width + Width / 2) * 4];
    EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 0.05f);
    EXPECT_GT(n[1], 0.7f); // mostly up, roughened by the map
    // Nothing was drawn at the far left: the normal target keeps its clear.
    EXPECT_EQ(normals[(Height / 2 * Width + 0) * 4 + 1], 0.0f);
}

TEST_F(EffectDrawTest, InstancedEffectDrawsEachRecordAndIgnoresTheirColourBytes)
{
    InstancedTextureEffect effect(device.get());
    auto white = SolidTexture(255, 255, 255);
    // A unit quad in the floor plane, drawn at two places.
    const VertexPositionNormalTexture quad[] = {{{-1, 0, -1}, {0, 1, 0}, {0, 0}}, {{1, 0, -1}, {0, 1, 0}, {1, 0}},
                                                {{-1, 0, 1}, {0, 1, 0}, {0, 1}},  {{1, 0, -1}, {0, 1, 0}, {1, 0}},
                                                {{1, 0, 1}, {0, 1, 0}, {1, 1}},   {{-1, 0, 1}, {0, 1, 0}, {0, 1}}};
    InstanceRecord records[2];
    records[0].world = Matrix::CreateTranslation(Vector3(-6, 0, 0));
    records[1].world = Matrix::CreateTranslation(Vector3(6, 0, 0));
    for (InstanceRecord& record : records) {
        record.inverseWorld = record.world.Inverted();
        record.colour = {NAN, NAN, NAN, NAN};
    }
    auto vertices = VertexBuffer(quad, sizeof quad);
    auto instances = VertexBuffer(records, sizeof records);
    effect.SetMatrices(Matrix::Identity(), view, projection);
    gpu::ShaderResourceView* texture = white.get();
    effect.SetTexture(texture);
    effect.Bind(context);
    context->RSSetState(states->CullNone());
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    gpu::Buffer* buffers[] = {vertices.get(), instances.get()};
    const uint32_t strides[] = {effect.GetVertexStride(), sizeof(InstanceRecord)};
    const uint32_t offsets[] = {0, 0};
    context->IASetVertexBuffers(0, 2, buffers, strides, offsets);
    context->DrawInstanced(6, 2, 0, 0);

    // x = -6 and +6 at distance 10 with a 90 degree view lie at +-0.6 of the
    // half height from the centre.
    const uint32_t offsetPixels = static_cast<uint32_t>(0.6f * Height / 2);
    EXPECT_EQ(Colour(Width / 2 - offsetPixels, Height / 2).r, 255);
    EXPECT_EQ(Colour(Width / 2 + offsetPixels, Height / 2).r, 255);
    EXPECT_EQ(Colour(Width / 2, Height / 2).r, 0);
}

TEST_F(EffectDrawTest, DecalPassReadsDepthAndNormalsWhileWritingColour)
{
    auto white = SolidTexture(255, 255, 255);
    DrawFloor(white.get());
    ASSERT_EQ(Colour(2, 2).r, 255);

    // The decal pass: the colour target alone, normals at slot 1, depth at 2.
    gpu::RenderTargetView* colourOnly[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get()};
    context->OMSetRenderTargets(1, colourOnly, nullptr);
    gpu::ShaderResourceView* inputs[] = {gbuffer.shaderResourceViews[GeometryBuffer::NormalIndex].get(),
                                         gbuffer.depthResourceView.get()};
    context->PSSetShaderResources(1, 2, inputs);
    ASSERT_EQ(context->PSGetShaderResource(2), gbuffer.depthResourceView.get());
    gpu::SamplerState* clamp = states->AnisotropicClamp();
    context->PSSetSamplers(0, 1, &clamp);
    context->OMSetBlendState(states->AlphaBlend(), nullptr, 0xffffffff);
    context->OMSetDepthStencilState(states->DepthRead(), 0);
    context->RSSetState(states->CullClockwise());

    // A box of side 4 around the floor's centre, wound outwards like every
    // mesh of the game, tinted red.
    const float cube[12][9] = {
        {1, 1, -1, 1, 1, 1, 1, -1, -1},     {1, 1, 1, 1, -1, 1, 1, -1, -1},    {-1, 1, 1, -1, 1, -1, -1, -1, 1},
        {-1, 1, -1, -1, -1, -1, -1, -1, 1}, {-1, 1, 1, 1, 1, 1, -1, 1, -1},    {1, 1, 1, 1, 1, -1, -1, 1, -1},
        {-1, -1, -1, 1, -1, -1, -1, -1, 1}, {1, -1, -1, 1, -1, 1, -1, -1, 1},  {1, 1, 1, -1, 1, 1, 1, -1, 1},
        {-1, 1, 1, -1, -1, 1, 1, -1, 1},    {-1, 1, -1, 1, 1, -1, -1, -1, -1}, {1, 1, -1, 1, -1, -1, -1, -1, -1}};
    std::vector<VertexPositionNormalTexture> box;
    for (const auto& triangle : cube)
        for (int corner = 0; corner < 3; ++corner)
            box.push_back(
                {{triangle[corner * 3] * 0.5f, triangle[corner * 3 + 1] * 0.5f, triangle[corner * 3 + 2] * 0.5f},
                 {0, 1, 0},
                 {0, 0}});
    InstanceRecord record;
    record.world = Matrix::CreateScale(4);
    record.inverseWorld = record.world.Inverted();
    record.colour = {1, 0, 0, 1};
    auto vertices = VertexBuffer(box.data(), static_cast<uint32_t>(box.size() * sizeof box[0]));
    auto instances = VertexBuffer(&record, sizeof record);
    auto decalTexture = SolidTexture(255, 255, 255);

    DecalEffect effect(device.get());
    effect.SetMatrices(Matrix::Identity(), view, projection);
    effect.SetTexture(decalTexture.get());
    effect.Bind(context);
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    gpu::Buffer* buffers[] = {vertices.get(), instances.get()};
    const uint32_t strides[] = {effect.GetVertexStride(), sizeof(InstanceRecord)};
    const uint32_t offsets[] = {0, 0};
    context->IASetVertexBuffers(0, 2, buffers, strides, offsets);
    try {
        context->DrawInstanced(static_cast<uint32_t>(box.size()), 1, 0, 0);
    } catch (const gpu::GpuError& error) {
        FAIL() << error.Detail();
    }

    const Rgba8 inside = Colour(Width / 2, Height / 2);
    EXPECT_EQ(inside.r, 255);
    EXPECT_LT(inside.g, 10);
    // The box covers +-2 of the +-10 visible half height: outside it the floor
    // stays white.
    EXPECT_EQ(Colour(Width / 2, Height / 2 - 8).g, 255);
    EXPECT_EQ(Colour(2, 2).g, 255);
    // The depth it read was not written: still the floor's.
    const std::vector<float> depth = context->ReadDepth(gbuffer.depthStencilView->GetTexture());
    EXPECT_LT(depth[Height / 2 * Width + Width / 2], 1.0f);
}

TEST_F(EffectDrawTest, ParticleEffectTakesNoTexture)
{
    ParticleEffect effect(device.get());
    auto white = SolidTexture(255, 255, 255);
    auto other = SolidTexture(1, 2, 3);
    gpu::ShaderResourceView* bound = white.get();
    context->PSSetShaderResources(0, 1, &bound);
    effect.SetTexture(other.get());
    EXPECT_EQ(context->PSGetShaderResource(0), white.get());

    // One cube particle in front of the camera, in its instance colour.
    std::vector<VertexPosition> cube;
    const Vector3 top[6] = {{-0.5f, 0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f},
                            {0.5f, 0.5f, -0.5f},  {0.5f, 0.5f, 0.5f},  {-0.5f, 0.5f, 0.5f}};
    for (const Vector3& corner : top)
        cube.push_back({corner});
    ParticleInstanceRecord record;
    record.worldTransposed = (Matrix::CreateScale(6) * Matrix::CreateTranslation(Vector3(0, 2, 0))).Transposed();
    record.colour = {0, 0, 1, 1};
    auto vertices = VertexBuffer(cube.data(), static_cast<uint32_t>(cube.size() * sizeof cube[0]));
    auto instances = VertexBuffer(&record, sizeof record);
    effect.SetMatrices(Matrix::Identity(), view, projection);
    effect.Bind(context);
    context->RSSetState(states->CullNone());
    context->OMSetDepthStencilState(states->DepthDefault(), 0);
    context->IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    gpu::Buffer* buffers[] = {vertices.get(), instances.get()};
    const uint32_t strides[] = {effect.GetVertexStride(), sizeof(ParticleInstanceRecord)};
    const uint32_t offsets[] = {0, 0};
    context->IASetVertexBuffers(0, 2, buffers, strides, offsets);
    context->DrawInstanced(6, 1, 0, 0);
    EXPECT_EQ(Colour(Width / 2, Height / 2).b, 255);
    const std::vector<float> normals = Normals();
    EXPECT_GT(normals[(Height / 2 * Width + Width / 2) * 4 + 1], 0.9f); // the top face looks up at the camera
}

} // namespace
} // namespace mirefell::testing
