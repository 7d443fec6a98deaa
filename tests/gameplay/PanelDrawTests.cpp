// The switch of the test map as the player sees it from the hall: its panel
// drawn by the textured pass into the G-buffer's colour target on llvmpipe,
// off and then on. The frames are written to
// test-output/switch_panel_{off,on}.png for the eye.
#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "gameplay/Switch.h"
#include "platform/gpu/CommonStates.h"
#include "render/Camera.h"
#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/GeometryBuffer.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "render/TextureRegistry.h"
#include "shell/Screen.h"
#include "support/GpuTest.h"
#include "support/Screenshot.h"
#include "support/TempDir.h"
#include "support/WorldFixture.h"
#include "world/AIRegionGraph.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

class PanelDraw : public GpuTest
{
protected:
    void SetUp() override
    {
        GpuTest::SetUp();
        previousFolder = std::filesystem::current_path();
        for (const char* folder : {"assets", "shaders"})
            std::filesystem::create_directory_symlink(std::filesystem::path(MIREFELL_RUN_DIR) / folder,
                                                      dir.Path() / folder);
        std::filesystem::current_path(dir.Path()); // the player's save lands here
        GameSaveManager::GetInstance().current = GameSave();
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal; // the monsters read it
        Device = device.get();
        DeviceContext = context;
        ScreenWidth = Width;
        ScreenHeight = Height;
        TextureRegistry::GetInstance().LoadAll();
        EffectRegistry::Initialize();
        GetCommonStates() = CreateCommonStates(Device);
        MeshRegistry::GetInstance().LoadAll();

        world = World::Create(&root, &debugRoot, &particles, &camera, LoadTestMap(),
                              GameSaveManager::GetInstance().GetLevelSettings(), MakeMapObjectFactories());
        panel = dynamic_cast<Switch*>(world->aiRegions->objects.switches.at(100));
        ASSERT_NE(panel, nullptr);
        panel->instanceMesh->Update();

        gbuffer.Create();
        gbuffer.CreateDepthBuffer();
        // In the hall, 12 units from the switch, looking at it.
        camera.position = {216, 12, 115.5f};
        camera.target = {216, 12, 127.5f};
        camera.aspectRatio = float(Width) / float(Height);
        camera.UpdateView();
        camera.UpdateProjection();
    }

    void TearDown() override
    {
        world.reset();
        PointLights::GetInstance().Clear();
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::GetInstance().clear();
        GetCommonStates().reset();
        Device = nullptr;
        DeviceContext = nullptr;
        GameSaveManager::GetInstance().current = GameSave();
        std::filesystem::current_path(previousFolder);
        GpuTest::TearDown();
    }

    // The scene pass's blended textured draw, over a cleared G-buffer.
    void DrawPanel()
    {
        gbuffer.Clear();
        context->ClearDepthStencilView(gbuffer.depthStencilView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        gpu::RenderTargetView* targets[] = {gbuffer.renderTargetViews[GeometryBuffer::ColourIndex].get(),
                                            gbuffer.renderTargetViews[GeometryBuffer::NormalIndex].get()};
        context->OMSetRenderTargets(2, targets, gbuffer.depthStencilView.get());
        SetViewport();
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.AnisotropicWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->OMSetBlendState(states.AlphaBlend(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthRead(), 0);
        context->RSSetState(states.CullClockwise());
        root.Draw(
            camera,
            [](const Mesh* node) { return node->effectId == EffectIdTexture && node->subKind == MeshSubKindBlended; },
            false, false);
    }

    // The strongest red and green excess over the other channel in the
    // middle of the band (which fills the width and the middle third, rows
    // 16 to 31): the knob of "off" sits low, the lamps of "on" high.
    void Lamps(int& red, int& green)
    {
        red = green = -255;
        for (uint32_t y = 17; y < 31; ++y)
            for (uint32_t x = 20; x < 44; ++x) {
                const Rgba8 p = PixelAt(gbuffer.textures[GeometryBuffer::ColourIndex].get(), x, y);
                red = std::max(red, p.r - p.g);
                green = std::max(green, p.g - p.r);
            }
    }
    Rgba8 Colour(uint32_t x, uint32_t y) { return PixelAt(gbuffer.textures[GeometryBuffer::ColourIndex].get(), x, y); }

    TempDir dir;
    std::filesystem::path previousFolder;
    Mesh root{EffectIdNone, MeshVertexFormatColor};
    Mesh debugRoot{EffectIdNone, MeshVertexFormatColor};
    ParticleSystem particles;
    Camera camera;
    std::unique_ptr<World> world;
    Switch* panel = nullptr;
    GeometryBuffer gbuffer;
};

TEST_F(PanelDraw, TheSwitchShowsItsStateFacingTheHall)
{
    DrawPanel();
    SaveScreenshot(*context, gbuffer.textures[GeometryBuffer::ColourIndex].get(), "switch_panel_off");
    const Rgba8 above = Colour(32, 4), below = Colour(32, 44);
    EXPECT_EQ(above.r + above.g + above.b, 0) << "above the band: the cleared target";
    EXPECT_EQ(below.r + below.g + below.b, 0) << "below the band: the cleared target";
    EXPECT_GT(Colour(4, 24).r + Colour(4, 24).g + Colour(4, 24).b, 60) << "the metal plate fills the band";
    int red = 0, green = 0;
    Lamps(red, green);
    EXPECT_GT(red, 80) << "the red knob of \"off\"";
    EXPECT_LT(green, 40);

    panel->Use();
    DrawPanel();
    SaveScreenshot(*context, gbuffer.textures[GeometryBuffer::ColourIndex].get(), "switch_panel_on");
    Lamps(red, green);
    EXPECT_GT(green, 80) << "the green lamps of \"on\"";
    EXPECT_LT(red, 40);
}

} // namespace
} // namespace mirefell::testing
