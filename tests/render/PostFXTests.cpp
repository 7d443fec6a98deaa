// The full-screen passes over a finished frame: brightness and contrast,
// FXAA, the menu dimming, the level-complete fade, the title's distortion
// and the play state's screen effect, each drawn over a back buffer the test
// fills; the chain's timers and SSAO settings; the blur weights.
#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "RenderFixture.h"
#include "platform/Random.h"
#include "platform/gpu/SwapChain.h"
#include "render/BasicPostFXShader.h"
#include "render/BrightnessContrast.h"
#include "render/Camera.h"
#include "render/IScreenFlashSource.h"
#include "render/PostFXChain.h"
#include "render/PostFXGaussianBlurShader.h"
#include "render/PostFXScreenEffectShader.h"
#include "shell/Config.h"
#include "shell/GameStateManager.h"
#include "shell/InventoryWindowFlag.h"
#include "support/Screenshot.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t Side = 16; // 256 pixels

class PostFXTest : public RenderFixture
{
protected:
    void SetUp() override
    {
        RenderFixture::SetUp();
        ScreenWidth = Side;
        ScreenHeight = Side;
        Config::GetInstance().settings = Settings{};
        TextureRegistry::GetInstance().Load(L"assets/textures/widgets/inventory.png", "inventory", false);
        swapChain = std::make_unique<gpu::SwapChain>(*device, Side, Side);
        gpu::RenderTargetView* view = swapChain->GetBackBufferView();
        context->OMSetRenderTargets(1, &view, nullptr);
        SetViewport(Side, Side);
    }

    void TearDown() override
    {
        chain.reset();
        GameStateManager::GetInstance().Reset();
        Config::GetInstance().settings = Settings{};
        RenderFixture::TearDown();
    }

    void MakeChain()
    {
        chain = std::make_unique<PostFXChain>(&camera);
        chain->CreateDeviceResources();
        chain->CreateWindowSizeResources(swapChain->GetBackBuffer(), swapChain->GetBackBufferView(), nullptr);
    }

    void Fill(const std::vector<uint8_t>& rgba)
    {
        context->UpdateSubresource(swapChain->GetBackBuffer(), 0, rgba.data(), Side * 4);
    }
    static std::vector<uint8_t> Flat(uint8_t r, uint8_t g, uint8_t b, uint32_t side = Side)
    {
        std::vector<uint8_t> rgba(side * side * 4);
        for (size_t i = 0; i < rgba.size(); i += 4) {
            rgba[i] = r;
            rgba[i + 1] = g;
            rgba[i + 2] = b;
            rgba[i + 3] = 255;
        }
        return rgba;
    }
    void FillFlat(uint8_t r, uint8_t g, uint8_t b) { Fill(Flat(r, g, b)); }

    std::vector<uint8_t> Read() { return context->ReadPixelsRGBA8(swapChain->GetBackBuffer()); }

    std::unique_ptr<gpu::SwapChain> swapChain;
    Camera camera;
    std::unique_ptr<PostFXChain> chain;
};

TEST_F(PostFXTest, BrightnessAndContrastAtTheirDefaultsKeepEveryGreyLevel)
{
    BrightnessContrast pass;
    pass.LoadShader();
    pass.CreateTarget(swapChain->GetBackBuffer());
    std::vector<uint8_t> greys(Side * Side * 4);
    for (size_t i = 0; i < Side * Side; ++i) {
        greys[i * 4] = greys[i * 4 + 1] = greys[i * 4 + 2] = static_cast<uint8_t>(i);
        greys[i * 4 + 3] = static_cast<uint8_t>(i % 3 == 0 ? 0 : 128); // the interface may leave any alpha
    }
    Fill(greys);
    pass.Apply(0.0f, 1.0f);
    EXPECT_EQ(pass.copiesMade, 1u) << "the defaults still copy and draw";
    const std::vector<uint8_t> out = Read();
    for (size_t i = 0; i < Side * Side; ++i) {
        ASSERT_EQ(out[i * 4], i) << "grey level " << i;
        ASSERT_EQ(out[i * 4 + 1], i) << "grey level " << i;
        ASSERT_EQ(out[i * 4 + 2], i) << "grey level " << i;
        ASSERT_EQ(out[i * 4 + 3], 255);
    }

    // The options' highest values: display 128/255 -> 0.00196 x 1.05 + 0.55 =
    // 0.5521 (141); black -> -0.5 x 1.05 + 0.55 = 0.025 (6).
    Fill(greys);
    pass.Apply(0.05f, 1.05f);
    const std::vector<uint8_t> raised = Read();
    EXPECT_NEAR(raised[128 * 4], 141, 1);
    EXPECT_NEAR(raised[0], 6, 1);

    // Either setting alone away from its default changes the picture:
    // contrast 1.05 takes 200/255 to 0.28431 x 1.05 + 0.5 = 0.79853 (204),
    // brightness 0.05 takes 100/255 to 0.44216 (113).
    Fill(greys);
    pass.Apply(0.0f, 1.05f);
    EXPECT_NEAR(Read()[200 * 4], 204, 1);
    Fill(greys);
    pass.Apply(0.05f, 1.0f);
    EXPECT_NEAR(Read()[100 * 4], 113, 1);
}

// FXAA copies the frame and draws it back anti-aliased; off, it draws
// nothing and copies nothing.
TEST_F(PostFXTest, FxaaLeavesAFlatPictureAloneAndSoftensAStaircase)
{
    MakeChain();
    FillFlat(90, 140, 200);
    chain->ApplyFxaa();
    for (uint8_t value : Read())
        ASSERT_TRUE(value == 90 || value == 140 || value == 200 || value == 255);

    std::vector<uint8_t> stairs(Side * Side * 4, 255);
    for (uint32_t y = 0; y < Side; ++y)
        for (uint32_t x = 0; x < Side; ++x)
            if (x > y)
                for (int c = 0; c < 3; ++c)
                    stairs[(y * Side + x) * 4 + c] = 0;
    Fill(stairs);
    const uint64_t copies = chain->copiesMade;
    chain->ApplyFxaa();
    EXPECT_EQ(chain->copiesMade, copies + 1);
    int softened = 0;
    const std::vector<uint8_t> out = Read();
    for (size_t i = 0; i < out.size(); i += 4)
        softened += out[i] > 10 && out[i] < 245;
    EXPECT_GT(softened, 8);

    Config::GetInstance().settings.fxaa = false;
    chain->ApplyFxaa();
    EXPECT_EQ(chain->copiesMade, copies + 1) << "fxaa off: no copy, no quad";
}

// FXAA changes only the edge pixels of a black and light staircase, those
// whose diagonal neighbours are not all of the centre's colour: x - y of
// -1, 0, 1 or 2, 15 + 16 + 15 + 14 = 60 pixels; every other pixel is
// returned as it was.
TEST_F(PostFXTest, FxaaChangesTheEdgesOfAStaircaseAndNothingElse)
{
    MakeChain();
    std::vector<uint8_t> stairs(Side * Side * 4, 255);
    for (uint32_t y = 0; y < Side; ++y)
        for (uint32_t x = 0; x < Side; ++x)
            for (int c = 0; c < 3; ++c)
                stairs[(y * Side + x) * 4 + c] = x > y ? 0 : 230;
    Fill(stairs);
    chain->ApplyFxaa();
    const std::vector<uint8_t> out = Read();
    int changed = 0;
    for (uint32_t y = 0; y < Side; ++y)
        for (uint32_t x = 0; x < Side; ++x) {
            const size_t i = (y * Side + x) * 4;
            const int diagonal = int(x) - int(y);
            const bool edge = diagonal >= -1 && diagonal <= 2;
            if (!edge) {
                ASSERT_EQ(out[i], stairs[i]) << x << ", " << y;
            }
            changed += out[i] != stairs[i];
        }
    EXPECT_GT(changed, 30) << "the staircase is softened";
}

// The in-game menu's dimming replaces the frame (alpha 1): linear grey 0.5
// (188) becomes 0.5 x (0.2 + 0.05) = 0.125 (99), never brighter. The
// level-complete fade at 0.95 turns it to mix(0.5, 0.5 x (0.7125, 0.95, 0),
// 0.95) = (0.3634, 0.4763, 0.025): (162, 184, 44).
TEST_F(PostFXTest, MenuDimmingAndTheLevelCompleteFadeReplaceTheFrame)
{
    MakeChain();
    FillFlat(188, 188, 188);
    chain->DrawFullScreen(chain->luminanceShader.get(), PostFXChain::MenuDimTint);
    const std::vector<uint8_t> dimmed = Read();
    EXPECT_NEAR(dimmed[0], 99, 2);
    EXPECT_NEAR(dimmed[2], 99, 2);

    FillFlat(188, 188, 188);
    chain->screenEffectShader->SetParameters(0.0f, 0.0f);
    const float f = 0.95f;
    chain->DrawFullScreen(chain->screenEffectShader.get(), Color(0.75f * f, f, 0.0f, f));
    const std::vector<uint8_t> faded = Read();
    EXPECT_NEAR(faded[0], 162, 2);
    EXPECT_NEAR(faded[1], 184, 2);
    EXPECT_NEAR(faded[2], 44, 2);
}

// The title screen's distortion draws green, then red, from the game's
// stream, each scaled by the distortion amount; the tint (r, g, 0, 0) moves
// row y sideways by round(6 r sin(0.12 (y + 0.5) + 40 g)) pixels and parts
// red from green by round(4 g). Seeded with 1 the stream gives 41, 18467,
// 6334: at amount 0.5, g = 41 / 32767 x 0.5 = 0.000626 (no parting) and
// r = 18467 / 32767 x 0.5 = 0.2818, so over a picture that brightens by 16
// a column, rows 0, 6 and 12 move by round(1.691 sin 0.085) = 0,
// round(1.691 sin 0.805) = 1 and round(1.691 sin 1.525) = 2 pixels, all three
// channels together. Red drawn first would part the channels by a pixel and
// move no row.
TEST_F(PostFXTest, TheTitleDistortionDrawsGreenThenRedScaledByItsAmount)
{
    MakeChain();
    std::vector<uint8_t> ramp(Side * Side * 4, 255);
    for (uint32_t y = 0; y < Side; ++y)
        for (uint32_t x = 0; x < Side; ++x)
            for (int c = 0; c < 3; ++c)
                ramp[(y * Side + x) * 4 + c] = static_cast<uint8_t>(x * 16);
    Fill(ramp);
    SeedRand(1);
    PostFXChain::menuDistortion = 0.5f;
    chain->ApplyMenuEffects();
    EXPECT_EQ(Rand(), 6334) << "two draws a frame";
    SaveScreenshot(*context, swapChain->GetBackBuffer(), "title_distortion");
    const std::vector<uint8_t> out = Read();
    for (const auto& [row, shift] : {std::pair{0u, 0}, std::pair{6u, 1}, std::pair{12u, 2}}) {
        const size_t i = (row * Side + 8) * 4;
        EXPECT_EQ(out[i], (8 + shift) * 16) << "red, row " << row;
        EXPECT_EQ(out[i + 1], (8 + shift) * 16) << "green, row " << row;
        EXPECT_EQ(out[i + 2], (8 + shift) * 16) << "blue, row " << row;
    }
    PostFXChain::menuDistortion = 1.0f;
}

TEST_F(PostFXTest, TheInventoryBackdropIsDrawnWithoutCopyingTheFrame)
{
    MakeChain();
    inventoryWindowOpen = true;
    FillFlat(255, 255, 255);
    chain->ApplyGameEffects();
    EXPECT_EQ(chain->copiesMade, 0u);
    const std::vector<uint8_t> out = Read();
    EXPECT_LT(out[0], 255) << "the tinted backdrop covers the frame";

    inventoryWindowOpen = false;
}

// The play state's screen effect runs every frame: without a flash (or
// without a source) it gives the frame back as it was; each flash washes
// linear grey 0.50289 (188) toward its colour: the damage flash 0.7 by 0.42
// toward (0.8, 0, 0): (0.6277, 0.2917, 0.2917), on screen (208, 147, 147);
// the teleport flash 0.5 by 0.4 toward (0.7, 1, 0.8): (201, 218, 207); the
// pickup flash 1.0 by 0.5 toward (1, 0.8, 0.3): (225, 211, 170). The
// invulnerable look replaces the frame with its own.
TEST_F(PostFXTest, TheScreenEffectOfPlayKeepsThePlainFrameAndWashesItWithEachFlash)
{
    struct Flashes final : IScreenFlashSource
    {
        ScreenFlashes GetScreenFlashes() const override { return flashes; }
        ScreenFlashes flashes;
    } source;
    MakeChain();
    std::vector<uint8_t> ramp(Side * Side * 4);
    for (size_t i = 0; i < Side * Side; ++i) {
        ramp[i * 4] = static_cast<uint8_t>(i);
        ramp[i * 4 + 1] = static_cast<uint8_t>(255 - i);
        ramp[i * 4 + 2] = static_cast<uint8_t>((i * 7) % 256);
        ramp[i * 4 + 3] = 255;
    }
    Fill(ramp);
    chain->ApplyGameEffects();
    EXPECT_EQ(chain->copiesMade, 1u) << "drawn without a source too";
    EXPECT_EQ(Read(), ramp);
    chain->flashSource = &source;
    Fill(ramp);
    chain->ApplyGameEffects();
    EXPECT_EQ(Read(), ramp) << "no flash";

    struct Case
    {
        ScreenFlashes flashes;
        uint8_t r, g, b;
    };
    for (const Case& c :
         {Case{{false, 0.7f, 0.0f, 0.0f}, 208, 147, 147}, Case{{false, 0.0f, 0.5f, 0.0f}, 201, 218, 207},
          Case{{false, 0.0f, 0.0f, 1.0f}, 225, 211, 170}}) {
        FillFlat(188, 188, 188);
        source.flashes = c.flashes;
        chain->ApplyGameEffects();
        const std::vector<uint8_t> out = Read();
        EXPECT_NEAR(out[0], c.r, 2) << int(c.r);
        EXPECT_NEAR(out[1], c.g, 2) << int(c.r);
        EXPECT_NEAR(out[2], c.b, 2) << int(c.r);
    }
    FillFlat(188, 188, 188);
    source.flashes = {true, 0.7f, 0.0f, 0.0f};
    chain->ApplyGameEffects();
    const std::vector<uint8_t> cold = Read();
    EXPECT_LT(cold[0], cold[2]) << "the invulnerable look is cold, not the damage flash's red";
    chain->flashSource = nullptr;
}

TEST(PostFXChainTimers, DistortionShrinksAndRestartsFadeGrowsAndStateChangesResetBoth)
{
    GameStateManager::GetInstance().Reset();
    Camera camera;
    PostFXChain chain(&camera);
    PostFXChain::menuDistortion = 1.0f;
    PostFXChain::fadeLevel = 0.0f;
    chain.Update();
    EXPECT_FLOAT_EQ(PostFXChain::menuDistortion, 1.0f - 0.0015625f);
    EXPECT_FLOAT_EQ(PostFXChain::fadeLevel, 0.05f);
    for (int i = 1; i < 19; ++i)
        chain.Update();
    EXPECT_NEAR(PostFXChain::fadeLevel, 0.95f, 1e-4f);
    for (int i = 0; i < 20; ++i)
        chain.Update();
    EXPECT_NEAR(PostFXChain::fadeLevel, 0.95f, 1e-4f) << "stops at about 0.95";

    float lowest = 1.0f;
    bool restarted = false;
    for (int i = 39; i < 642 && !restarted; ++i) {
        const float before = PostFXChain::menuDistortion;
        chain.Update();
        restarted = PostFXChain::menuDistortion > before;
        lowest = std::min(lowest, before);
    }
    EXPECT_TRUE(restarted);
    EXPECT_LT(lowest, 0.002f);
    EXPECT_FLOAT_EQ(PostFXChain::menuDistortion, 1.0f);

    chain.Update();
    GameStateManager::GetInstance().Request(GameState::LevelComplete);
    GameStateManager::GetInstance().NotifyListeners();
    EXPECT_EQ(PostFXChain::fadeLevel, 0.0f);
    EXPECT_EQ(PostFXChain::menuDistortion, 1.0f);
    GameStateManager::GetInstance().Reset();
}

TEST(PostFXChainSsao, SettingsFollowTheSettingAndTheState)
{
    GameStateManager& states = GameStateManager::GetInstance();
    states.Reset();
    Config::GetInstance().settings.ssao = 7;
    Camera camera;
    PostFXChain chain(&camera); // state 0: a listener follows the state
    EXPECT_EQ(chain.ssaoSettings.qualityLevel, 3);
    EXPECT_EQ(chain.ssaoSettings.blurPassCount, 1);
    EXPECT_EQ(chain.ssaoSettings.fadeOutTo, 1500.0f);
    states.Request(GameState::Loading);
    states.NotifyListeners();
    EXPECT_EQ(chain.ssaoSettings.radius, 10.0f);
    EXPECT_EQ(chain.ssaoSettings.horizonAngleThreshold, 0.2f);

    states.Request(GameState::IngameMenu);
    Config::GetInstance().settings.ssao = 3;
    chain.UpdateSsaoSettings();
    EXPECT_EQ(chain.ssaoSettings.qualityLevel, 3);
    EXPECT_EQ(chain.ssaoSettings.radius, 10.0f);
    EXPECT_EQ(chain.ssaoSettings.horizonAngleThreshold, 0.2f);

    states.Request(GameState::MainMenu);
    Config::GetInstance().settings.ssao = 1;
    chain.UpdateSsaoSettings();
    EXPECT_EQ(chain.ssaoSettings.qualityLevel, 1);
    EXPECT_EQ(chain.ssaoSettings.radius, 1.0f);
    EXPECT_EQ(chain.ssaoSettings.horizonAngleThreshold, 0.1f);
    EXPECT_EQ(chain.ssao, nullptr);
    chain.DrawSsao(nullptr); // no effect: nothing to draw, nothing to fail
    states.Reset();
    Config::GetInstance().settings = Settings{};
}

// The blur's fifteen taps at 0, +-1.5, ..., +-13.5 texels, weighted
// exp(-(j+1)^2 / 8) for the pair j and 1 for the centre, normalised (sum
// 5.0125): 0.199501, then 0.176059, 0.121004, ... 0.000436 for each pair.
TEST(PostFXGaussianBlur, WeightsSumToOneAndMatchTheGaussianOfTheTaps)
{
    const auto block = PostFXGaussianBlurShader::BuildConstants(0.5f, 0.0f);
    const float* offsets = block.data();
    const float* weights = block.data() + 60;
    const float expected[8] = {0.199501f, 0.176059f, 0.121004f, 0.064769f, 0.027000f, 0.008765f, 0.002216f, 0.000436f};
    EXPECT_NEAR(weights[0], expected[0], 1e-6f);
    float sum = weights[0];
    for (int j = 0; j < 7; ++j) {
        EXPECT_NEAR(weights[(2 * j + 1) * 4], expected[j + 1], 1e-6f) << j;
        EXPECT_NEAR(weights[(2 * j + 2) * 4], expected[j + 1], 1e-6f) << j;
        sum += weights[(2 * j + 1) * 4] + weights[(2 * j + 2) * 4];
    }
    EXPECT_NEAR(sum, 1.0f, 1e-6f);
    // Offsets 0, +1.5, -1.5, ... +13.5, -13.5 texels of dx = 0.5.
    EXPECT_EQ(offsets[0], 0.0f);
    EXPECT_EQ(offsets[4], 0.75f);
    EXPECT_EQ(offsets[8], -0.75f);
    EXPECT_EQ(offsets[13 * 4], 6.75f);
    EXPECT_EQ(offsets[14 * 4], -6.75f);
    EXPECT_EQ(offsets[14 * 4 + 1], 0.0f);
}

} // namespace
} // namespace mirefell::testing
