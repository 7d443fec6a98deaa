// Mesh trees drawn into the G-buffer on llvmpipe, pass by pass as the game
// draws a level: a textured room, instanced pickups and one coloured block.
// Also the GPU side of a node: buffers made only by Update, instanced nodes
// with no instances or more instances than their buffer holds, and nodes
// without a texture.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>

#include "MeshTestSupport.h"
#include "RenderFixture.h"
#include "platform/GameError.h"
#include "platform/gpu/CommonStates.h"
#include "render/Camera.h"
#include "render/GeometryBuffer.h"
#include "render/Mesh.h"
#include "render/MeshPrimitives.h"
#include "render/MeshRegistry.h"
#include "support/RoomMesh.h"

namespace mirefell::testing
{
namespace
{

MeshFilter EffectFilter(EffectId effect, MeshSubKind subKind = 0)
{
    return [effect, subKind](const Mesh* node) {
        return node->effectId == effect && (subKind == 0 || node->subKind == subKind);
    };
}

class MeshDrawTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        auto& textures = TextureRegistry::GetInstance();
        textures.Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
        textures.Load(L"assets/textures/wall.png", "wall", true);
        textures.Load(L"assets/textures/medkit.png", "medkit", false);
        EffectRegistry::Initialize();
        GetCommonStates() = CreateCommonStates(Device);
        MeshRegistry::GetInstance().Clear();
        MeshRegistry::GetInstance().LoadAll();

        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        gbuffer.Clear();
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        SetViewport();

        camera.aspectRatio = float(Width) / float(Height);
        camera.UpdateProjection();
        Mesh::drawCalls = 0;
        Mesh::drawnInstances = 0;
    }

    void TearDown() override
    {
        MeshRegistry::GetInstance().Clear();
        RenderFixture::TearDown();
    }

    // The level passes: colour geometry, then the textured draws (blended
    // sub-kind 2, opaque sub-kind 1, instanced), with the pass states.
    void DrawLevel(Mesh& root)
    {
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.AnisotropicWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthDefault(), 0);
        context->RSSetState(states.CullClockwise());
        root.Draw(camera, EffectFilter(EffectIdColor), false, false);

        context->OMSetBlendState(states.AlphaBlend(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthRead(), 0);
        root.Draw(camera, EffectFilter(EffectIdTexture, MeshSubKindBlended), false, false);
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthDefault(), 0);
        root.Draw(camera, EffectFilter(EffectIdTexture, MeshSubKindOpaque), false, false);
        root.Draw(camera, EffectFilter(EffectIdInstancedTexture), false, false);
    }

    // A room of side 40 around the eye, its walls facing inwards.
    static std::unique_ptr<Mesh> Room() { return InwardRoom("wall", {20, 20, 20}); }

    static std::unique_ptr<Mesh> RedBlock(const Vector3& position)
    {
        auto block = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
        BuildCubeMesh(block->geometry);
        block->geometry.useTriangleColours = false;
        block->geometry.colour = {1, 0, 0, 1};
        block->position = position;
        block->scale = {2, 2, 2};
        block->UpdateTransform();
        return block;
    }

    static std::unique_ptr<Mesh> Pickups(const char* name)
    {
        auto batch = std::make_unique<Mesh>(EffectIdInstancedTexture, MeshVertexFormatTexture);
        batch->geometry = MeshRegistry::GetInstance().GetMesh(name);
        batch->textureName = name;
        return batch;
    }

    static MeshInstance& AddInstance(Mesh& batch, const Vector3& position)
    {
        MeshInstance& instance = batch.instances.emplace_back();
        instance.position = position;
        instance.scale = {0.4f, 0.4f, 0.4f};
        return instance;
    }

    Rgba8 Colour(uint32_t x, uint32_t y) { return PixelAt(gbuffer.textures[GeometryBuffer::ColourIndex].get(), x, y); }
    Vector3 Normal(uint32_t x, uint32_t y)
    {
        const std::vector<float> normals =
            context->ReadPixelsFloat(gbuffer.textures[GeometryBuffer::NormalIndex].get());
        const size_t at = (size_t(y) * Width + x) * 4;
        return {normals[at], normals[at + 1], normals[at + 2]};
    }
    float Depth(uint32_t x, uint32_t y)
    {
        return context->ReadDepth(gbuffer.depthStencilView->GetTexture())[size_t(y) * Width + x];
    }

    GeometryBuffer gbuffer;
    Camera camera; // at the origin looking down -Z
};

TEST_F(MeshDrawTest, LevelSceneFillsColourNormalAndDepthTargets)
{
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    root.name = "root";
    root.AddChild(Room());
    root.AddChild(RedBlock({-6, 0, -15}));
    Mesh* medkits = root.AddChild(Pickups("medkit"));
    AddInstance(*medkits, {6, 0, -15});
    AddInstance(*medkits, {0, 6, -15}).shown = false;
    AddInstance(*medkits, {0, -6, -15}).removed = true;
    root.Update();
    DrawLevel(root);

    // The block, in its geometry colour, in front of the back wall.
    const Rgba8 block = Colour(22, 24);
    EXPECT_EQ(block.r, 255);
    EXPECT_LT(block.g, 10);
    EXPECT_LT(block.b, 10);
    const float wallDepth = Depth(32, 40);
    EXPECT_LT(Depth(22, 24), wallDepth);

    // The medkit shows the red cross of its picture at its centre.
    const Rgba8 cross = Colour(42, 24);
    EXPECT_GT(cross.r, 180);
    EXPECT_LT(cross.g, 60);
    EXPECT_LT(Depth(42, 24), wallDepth);

    // The hidden and the removed medkit leave the wall showing: same depth
    // as elsewhere on the back wall, its normal facing the eye.
    EXPECT_FLOAT_EQ(Depth(32, 14), wallDepth);
    EXPECT_FLOAT_EQ(Depth(32, 34), wallDepth);
    ExpectVectorNear(Normal(32, 14), {0, 0, 1}, 0.02f);
    const Rgba8 wall = Colour(32, 40);
    EXPECT_EQ(wall.a, 255);
    EXPECT_GT(wall.r + wall.g + wall.b, 30) << "the wall texture is missing";

    // Three draws: room, block, one instanced draw of one medkit.
    EXPECT_EQ(Mesh::drawCalls, 3u);
    EXPECT_EQ(Mesh::drawnInstances, 1u);
}

TEST_F(MeshDrawTest, InstanceBufferIsSizedByUpdateAndDrawsNoMoreThanItHolds)
{
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    Mesh* batch = root.AddChild(Pickups("medkit"));
    root.Update(); // no instances: no zero-byte buffer, no draw
    EXPECT_EQ(batch->instanceBuffer, nullptr);
    DrawLevel(root);
    EXPECT_EQ(Mesh::drawCalls, 0u);

    AddInstance(*batch, {6, 0, -15});
    AddInstance(*batch, {-6, 0, -15});
    root.Update();
    ASSERT_EQ(batch->InstanceCapacity(), 2u);
    AddInstance(*batch, {0, 0, -15}); // after the Update: no room for these
    AddInstance(*batch, {0, 5, -15});
    DrawLevel(root);
    EXPECT_EQ(Mesh::drawCalls, 1u);
    EXPECT_EQ(Mesh::drawnInstances, 2u);
    EXPECT_EQ(batch->instanceRecords.size(), 4u);

    root.ReleaseBuffers(); // device lost: effect and texture stay, nothing draws
    EXPECT_EQ(batch->vertexBuffer, nullptr);
    EXPECT_EQ(batch->instanceBuffer, nullptr);
    EXPECT_NE(batch->texture, nullptr);
    DrawLevel(root);
    EXPECT_EQ(Mesh::drawCalls, 1u);
}

TEST_F(MeshDrawTest, NodeWithoutTextureNameSkipsTheTextureLookUp)
{
    auto node = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    BuildCubeMesh(node->geometry);
    node->Update();
    EXPECT_EQ(node->texture, nullptr);
    EXPECT_EQ(node->vertexBuffer->Desc().byteWidth, 36u * 32u);
    node->textureName = "no such texture";
    EXPECT_THROW(node->Update(), std::out_of_range);
}

TEST_F(MeshDrawTest, UpdateRejectsBadGeometryAndAFormatItsEffectCannotRead)
{
    auto broken = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    BuildCubeMesh(broken->geometry);
    broken->geometry.triangles[5].b = 36;
    EXPECT_THROW(broken->Update(), GameError);
    EXPECT_EQ(broken->vertexBuffer, nullptr);

    auto mismatched = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatTexture);
    BuildCubeMesh(mismatched->geometry);
    EXPECT_THROW(mismatched->Update(), std::logic_error);
    EXPECT_EQ(mismatched->vertexBuffer, nullptr);
}

} // namespace
} // namespace mirefell::testing
