// The shipped levels, each started as a new game and loaded by Core's own
// level load, drawn on llvmpipe from where a player stands: every area of
// "pentagram" and its hall with the pillars sunk; the start of "descent" and
// the brass frame of its gate, its chapel before and after the chapel's key
// puts the lights out, its pit from the balcony; the teeth of "mouth", its
// ember cavern and its heart.
// Each view is written to test-output/levels/<level>_<view>.png for the eye;
// the frames are sampled for what the level means them to show.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/Player.h"
#include "gameplay/WeaponView.h"
#include "gameplay/Weapons.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/SwapChain.h"
#include "render/PointLights.h"
#include "shell/LevelBannerFlag.h"
#include "support/LevelDevice.h"
#include "support/Screenshot.h"
#include "support/ShellTestSupport.h"
#include "ui/NotificationBox.h"
#include "world/AIRegionGraph.h"
#include "world/IElevator.h"
#include "world/MapScript.h"
#include "world/World.h"

namespace mirefell::testing
{
namespace
{

constexpr uint32_t Width = 480;
constexpr uint32_t Height = 270;

struct Average
{
    double r = 0, g = 0, b = 0;
    double Luminance() const { return 0.2126 * r + 0.7152 * g + 0.0722 * b; }
};

class ShippedLevelView : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        levelDevice.Create();
        PointLights::GetInstance().Clear();
        Config::GetInstance().settings.noiseIntensity = 0.0f; // no film grain in a sampled picture
        Input::GetInstance().Initialize(nullptr);
        core = std::make_unique<Core>(); // registers the level scripts
        core->Initialize();
        swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, Width, Height);
        core->OnWindowSizeChanged(Width, Height, nullptr, swapChain.get());
        core->Update(); // the main menu
    }
    void TearDown() override
    {
        core.reset();
        levelDevice.Release();
        GameSaveManager::GetInstance().current = GameSave();
        ShellTest::TearDown();
    }

    // A new game on "Normal" started at the level, loaded by Core's own
    // level load.
    void Build(const std::string& level)
    {
        GameSaveManager& saves = GameSaveManager::GetInstance();
        saves.NewGame(0, GameDifficulty::Normal, false, false);
        saves.current.levelId = level;
        showLevelBanner = false; // the views are of the level, not of its opening banner
        core->Update();
        ASSERT_EQ(GameStateManager::GetInstance().current, GameState::Playing);
        world = core->GetWorld();
        ASSERT_EQ(world->map.name, level);
    }

    // The player stands at `eye` (map x, height, map y) and looks at
    // `target`: the regions it reaches are shown, the frame is drawn, written
    // and averaged.
    Average Look(const std::string& name, Vector3 eye, Vector3 target)
    {
        auto& player = *static_cast<Player*>(world->player);
        player.SetPosition({eye.x, eye.y - 3.5f, eye.z});
        player.SetCells(world->GetCellRange({Vector2{eye.x, eye.z}}));
        world->aiRegions->MarkReachable(&player);
        core->GetRoot().Update();
        Camera& camera = core->GetCamera();
        camera.position = eye;
        camera.target = target;
        camera.UpdateView();
        core->Render();
        SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "levels/" + world->map.name + "_" + name);
        const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        lastFrame = rgba;
        Average average;
        for (size_t i = 0; i < rgba.size(); i += 4) {
            average.r += rgba[i];
            average.g += rgba[i + 1];
            average.b += rgba[i + 2];
        }
        const double pixels = static_cast<double>(Width) * Height;
        average.r /= pixels;
        average.g /= pixels;
        average.b /= pixels;
        return average;
    }

    // The pixels of the last frame's rectangle [x0, x1) x [y0, y1) (row 0 at
    // the top) in a warm colour: red and green both above blue.
    int WarmPixels(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) const
    {
        int warm = 0;
        for (uint32_t y = y0; y < y1; ++y)
            for (uint32_t x = x0; x < x1; ++x) {
                const uint8_t* p = &lastFrame[(y * Width + x) * 4];
                if (p[0] > p[2] + 20 && p[1] > p[2] + 10)
                    ++warm;
            }
        return warm;
    }

    // The share of the frame's pixels clipped to white (every channel 250
    // or more).
    double WhiteShare()
    {
        const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        size_t white = 0;
        for (size_t i = 0; i < rgba.size(); i += 4)
            white += rgba[i] >= 250 && rgba[i + 1] >= 250 && rgba[i + 2] >= 250;
        return static_cast<double>(white) / (static_cast<double>(Width) * Height);
    }

    LevelDevice levelDevice;
    std::unique_ptr<gpu::SwapChain>& swapChain = levelDevice.swapChain;
    std::vector<uint8_t> lastFrame;
    std::unique_ptr<Core> core;
    World* world = nullptr;
};

TEST_F(ShippedLevelView, PentagramIsLitFromItsHallToItsExit)
{
    Build("pentagram");
    // The shotgun of the start hall's alcove in hand, raised, and the HUD's
    // counters risen to what the player has.
    auto& player = *static_cast<Player*>(world->player);
    player.GiveItem(201, Weapons::MakeDoubleShotgun());
    for (int step = 0; step < 120; ++step)
        core->Update();
    NotificationBox::GetMessages().clear(); // the pickup's message and hint
    struct View
    {
        const char* name;
        Vector3 eye;
        Vector3 target;
    };
    const View views[] = {
        {"hall", {96, 10, 1840}, {96, 20, 1600}},        {"courtyard", {0, 10, 1570}, {300, 24, 1200}},
        {"crushers", {-72, 10, 1320}, {-320, 10, 1320}}, {"chasm", {-110, 10, 1070}, {-440, 0, 900}},
        {"lift_hall", {-420, 10, 690}, {-72, 40, 568}},  {"gallery", {-30, 106, 568}, {600, 110, 568}},
        {"dome", {420, 106, 690}, {640, 140, 450}},      {"tunnel", {904, 106, 690}, {904, 100, 820}},
        {"corridor", {600, 34, 1030}, {584, 34, 1380}},  {"pentagram", {650, 34, 1630}, {904, 40, 1376}},
        {"closet", {744, 34, 1738}, {744, 30, 1660}},    {"way_back", {560, 34, 1620}, {240, 34, 1620}},
        {"exit", {504, 34, 1310}, {504, 40, 1560}},
    };
    for (const View& view : views) {
        const Average seen = Look(view.name, view.eye, view.target);
        EXPECT_GT(seen.Luminance(), 12.0) << view.name << " can be seen";
    }

    // The pillars sunk: the star on the floor, lit red.
    for (int32_t pillar = 25; pillar <= 54; ++pillar)
        world->aiRegions->objects.elevators.at(pillar)->SnapToBottom();
    const Average star = Look("star", {650, 50, 1376}, {904, 24, 1376});
    EXPECT_GT(star.r, 2.0 * star.b) << "the star is red";
}

// A shot lights the room for a moment: in the first hall of "pentagram", in
// the frame drawn one step after the double shotgun and then the hyper
// blaster fire, the room is brighter than before, but no more than 2% of
// the window is clipped to white (a white-out would clip most of it). The
// frames are levels/pentagram_shot_<weapon>.png.
TEST_F(ShippedLevelView, AShotBrightensTheRoomWithoutWhitingItOut)
{
    Build("pentagram");
    auto& player = *static_cast<Player*>(world->player);
    player.GiveItem(201, Weapons::MakeDoubleShotgun());
    player.GiveItem(202, Weapons::MakeHyperBlaster());
    const Vector3 eye{96, 10, 1840};
    const Vector3 target{96, 20, 1600};
    for (const char* weapon : {"item_double_shotgun", "item_hyper_blaster"}) {
        player.UseItem(player.inventory.FindByName(weapon));
        for (int step = 0; step < 120; ++step)
            core->Update();
        NotificationBox::GetMessages().clear();
        const Average calm = Look("calm", eye, target);
        const double calmWhite = WhiteShare();
        player.weaponView->Fire();
        core->Update();
        const Average shot = Look(std::string("shot_") + (weapon + 5), eye, target);
        const double shotWhite = WhiteShare();
        std::printf("%s: white before %.4f, after the shot %.4f; luminance %.1f -> %.1f\n", weapon, calmWhite,
                    shotWhite, calm.Luminance(), shot.Luminance());
        EXPECT_GT(shot.Luminance(), calm.Luminance() + 3.0) << "the flash shows, weapon " << weapon;
        EXPECT_LT(shotWhite, 0.02) << "weapon " << weapon;
    }
}

// The flashes of play reach the frame Core draws: in the first hall of
// "pentagram", loaded by Core's own level load, the frame right after the
// player is hurt is redder than the plain one, after a pickup warmer, after
// a teleport greener, and with the invulnerable look cold and dark; once the
// hurt flash has decayed (48 steps) the frame is the plain one again.
TEST_F(ShippedLevelView, EachFlashOfPlayShowsInTheFrameAndFadesAway)
{
    Build("pentagram");
    WeaponView& view = *static_cast<Player*>(world->player)->weaponView;
    for (int step = 0; step < 120; ++step) // the HUD's counters risen to what the player has
        core->Update();
    const Vector3 eye{96, 10, 1840};
    const Vector3 target{96, 20, 1600};
    const Average plain = Look("plain", eye, target);
    const std::vector<uint8_t> plainPixels = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());

    view.hurtFlash = 0.95f;
    const Average hurt = Look("flash_hurt", eye, target);
    EXPECT_GT(hurt.r - hurt.g, plain.r - plain.g + 20.0) << "red";
    for (int step = 0; step < 48; ++step)
        core->Update();
    ASSERT_EQ(view.hurtFlash, 0.0f);
    Look("flash_gone", eye, target);
    const std::vector<uint8_t> after = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
    size_t changed = 0;
    for (size_t i = 0; i < after.size(); ++i)
        changed += std::abs(int(after[i]) - int(plainPixels[i])) > 2;
    EXPECT_LT(changed, after.size() / 200) << "the plain frame again";

    view.pickupFlash = 0.3f;
    const Average pickup = Look("flash_pickup", eye, target);
    EXPECT_GT(pickup.r, plain.r + 5.0);
    EXPECT_GT(pickup.r - pickup.b, plain.r - plain.b) << "warm";
    view.pickupFlash = 0.0f;
    view.teleportFlash = 0.3f;
    const Average teleport = Look("flash_teleport", eye, target);
    EXPECT_GT(teleport.g - teleport.r, plain.g - plain.r + 5.0) << "green";
    view.teleportFlash = 0.0f;
    view.face = true;
    const Average invulnerable = Look("invulnerable", eye, target);
    EXPECT_GT(invulnerable.b, invulnerable.r) << "cold";
    EXPECT_GT(std::abs(invulnerable.Luminance() - plain.Luminance()), 10.0);
    view.face = false;
}

TEST_F(ShippedLevelView, DescentIsColdAboveAndItsChapelGoesDarkWithTheKey)
{
    Build("descent");
    const Average gatehouse = Look("gatehouse", {128, 170, 2210}, {128, 190, 1990});
    EXPECT_GT(gatehouse.Luminance(), 20.0) << "the start can be seen";
    EXPECT_GT(gatehouse.b, gatehouse.r) << "moonlit blue";
    // Straight ahead the gate, told from the blue walls by its brass frame;
    // nothing of the hall's own walls to either side is brass.
    EXPECT_GT(WarmPixels(Width * 2 / 5, Height / 4, Width * 3 / 5, Height * 3 / 5), 200) << "the gate's frame";
    EXPECT_EQ(WarmPixels(0, Height / 4, Width / 4, Height * 3 / 5), 0) << "the hall's wall";
    Look("court", {300, 172, 1930}, {96, 176, 1700});
    Look("pit", {1300, -20, 1460}, {1312, -100, 1230});

    const Average lit = Look("chapel", {128, 15, 990}, {128, 20, 600});
    // The chapel's key is taken.
    world->aiRegions->script->OnPowerupPickedUp(world->aiRegions->objects.pickups.at(127));
    const Average dark = Look("chapel_dark", {128, 15, 990}, {128, 20, 600});
    EXPECT_LT(dark.Luminance(), 0.7 * lit.Luminance()) << "the lamps carry the chapel";
}

TEST_F(ShippedLevelView, MouthIsRedFromItsTeethToItsHeart)
{
    Build("mouth");
    const Average teeth = Look("teeth", {960, 10.5f, 2300}, {960, 40, 1984});
    const Average cavern = Look("cavern", {200, -80, 1030}, {384, -100, 700});
    const Average heart = Look("heart", {448, -133, -100}, {448, -125, -512});
    for (const Average& view : {teeth, cavern, heart}) {
        EXPECT_GT(view.Luminance(), 10.0) << "something can be seen";
        EXPECT_GT(view.r, view.b) << "the mouth is red";
    }
}

} // namespace
} // namespace mirefell::testing
