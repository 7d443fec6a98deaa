// The weapon view as the player sees it: the raised model's tree drawn with
// the view's own camera on llvmpipe, as the frame draws it after the level's
// geometry. The picture goes to build/test-output/ to be looked at.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "platform/gpu/CommonStates.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/TextureRegistry.h"
#include "support/GameplayFixture.h"
#include "support/Screenshot.h"
#include "support/WorldFixture.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t Width = 320;
constexpr uint32_t Height = 180;
constexpr float Background[4] = {0.1f, 0.1f, 0.3f, 1.0f};

class WeaponViewDraw : public GameplayTest
{
protected:
    void SetUp() override
    {
        GameplayTest::SetUp();
        ScreenWidth = Width;
        ScreenHeight = Height;
        gpu::HeadlessGpu::Shared();
        device = std::make_unique<gpu::Device>();
        Device = device.get();
        DeviceContext = &device->GetImmediateContext();
        context = DeviceContext;

        // Shaders and textures from the run folder.
        const std::filesystem::path here = std::filesystem::current_path();
        std::filesystem::current_path(MIREFELL_RUN_DIR);
        TextureRegistry& textures = TextureRegistry::GetInstance();
        textures.Load(L"assets/textures/normalmaps/normal_128.png", "normal", true);
        for (const char* name : {"white", "hammer", "hyper_blaster", "double_shotgun"})
            textures.Load(L"assets/textures/" + std::wstring(name, name + std::strlen(name)) + L".png", name, false);
        EffectRegistry::Initialize();
        std::filesystem::current_path(here);
        GetCommonStates() = CreateCommonStates(Device);

        gpu::Texture2DDesc desc;
        desc.width = Width;
        desc.height = Height;
        desc.format = gpu::Format::R8G8B8A8_UNORM;
        desc.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
        colour = device->CreateTexture2D(desc);
        desc.format = gpu::Format::D24_UNORM_S8_UINT;
        desc.bindFlags = gpu::BindDepthStencil;
        depth = device->CreateTexture2D(desc);
        colourView = device->CreateRenderTargetView(colour.get());
        depthView = device->CreateDepthStencilView(depth.get());
    }

    void TearDown() override
    {
        if (player)
            player->weaponView->root->ReleaseBuffers();
        TextureRegistry::GetInstance().Clear();
        EffectRegistry::GetInstance().clear();
        GetCommonStates().reset();
        Device = nullptr;
        DeviceContext = nullptr;
        colourView.reset();
        depthView.reset();
        colour.reset();
        depth.reset();
        device.reset();
        ScreenWidth = 0;
        ScreenHeight = 0;
        GameplayTest::TearDown();
    }

    // The view's tree with its camera, in the textured pass's states.
    void DrawView()
    {
        WeaponView& view = *player->weaponView;
        view.root->Update();
        gpu::RenderTargetView* targets[] = {colourView.get()};
        context->OMSetRenderTargets(1, targets, depthView.get());
        context->ClearRenderTargetView(colourView.get(), Background);
        context->ClearDepthStencilView(depthView.get(), gpu::ClearDepth | gpu::ClearStencil, 1.0f, 0);
        gpu::Viewport viewport;
        viewport.width = static_cast<float>(Width);
        viewport.height = static_cast<float>(Height);
        viewport.maxDepth = 1.0f;
        context->RSSetViewports(1, &viewport);
        gpu::CommonStates& states = *GetCommonStates();
        gpu::SamplerState* sampler = states.AnisotropicWrap();
        context->PSSetSamplers(0, 1, &sampler);
        context->OMSetBlendState(states.Opaque(), nullptr, 0xffffffff);
        context->OMSetDepthStencilState(states.DepthDefault(), 0);
        context->RSSetState(states.CullClockwise());
        view.root->Draw(view.camera, {}, false, false);
    }

    // How many pixels of the block differ from the background.
    int Drawn(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1)
    {
        const std::vector<uint8_t> pixels = context->ReadPixelsRGBA8(colour.get());
        int count = 0;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = x0; x < x1; ++x) {
                const uint8_t* p = &pixels[(size_t(y) * Width + x) * 4];
                if (std::abs(p[0] - 26) > 8 || std::abs(p[1] - 26) > 8 || std::abs(p[2] - 77) > 8)
                    ++count;
            }
        return count;
    }

    std::unique_ptr<gpu::Device> device;
    gpu::Context* context = nullptr;
    std::shared_ptr<gpu::Texture2D> colour;
    std::shared_ptr<gpu::Texture2D> depth;
    std::shared_ptr<gpu::RenderTargetView> colourView;
    std::shared_ptr<gpu::DepthStencilView> depthView;
};

TEST_F(WeaponViewDraw, TheRaisedGunsSitInTheLowerRightAndTheHammerBringsItsShieldLeft)
{
    BuildLevel(LoadTestMap());
    player->GiveItem(1000, Weapons::MakeHyperBlaster());
    Step(WeaponView::SwitchInSteps + 1);
    DrawView();
    SaveScreenshot(*context, colour.get(), "weapon_view_hyper_blaster");
    const int lowerRight = Drawn(Width * 2 / 3, Height * 2 / 3, Width, Height);
    EXPECT_GT(lowerRight, 2000);
    EXPECT_EQ(Drawn(0, 0, Width, Height / 2), 0);
    EXPECT_EQ(Drawn(0, 0, Width / 2, Height), 0);

    player->GiveItem(1001, Weapons::MakeHammer());
    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps + 1);
    DrawView();
    SaveScreenshot(*context, colour.get(), "weapon_view_hammer");
    EXPECT_GT(Drawn(0, Height / 2, Width / 4, Height), 1000);         // the shield
    EXPECT_GT(Drawn(Width * 5 / 8, Height / 2, Width, Height), 3000); // the hammer's head
    EXPECT_EQ(Drawn(0, 0, Width, Height / 3), 0);

    player->GiveItem(1002, Weapons::MakeDoubleShotgun());
    Step(WeaponView::SwitchOutSteps + WeaponView::SwitchInSteps + 1);
    DrawView();
    SaveScreenshot(*context, colour.get(), "weapon_view_double_shotgun");
    // Barrels, receiver and stock in the lower right (the barrels' tip alone
    // is a few hundred pixels).
    EXPECT_GT(Drawn(Width * 2 / 3, Height * 2 / 3, Width, Height), 2000);
    EXPECT_EQ(Drawn(0, 0, Width, Height / 2), 0);
    EXPECT_EQ(Drawn(0, 0, Width / 2, Height), 0);

    // Lowered for the switch, nothing shows.
    player->UseItem(player->equippedItem);
    Step(WeaponView::SwitchOutSteps + 1);
    DrawView();
    EXPECT_EQ(Drawn(0, 0, Width, Height), 0);
}

} // namespace
} // namespace mirefell::testing
