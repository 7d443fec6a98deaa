// The test map drawn by Core in the play state on llvmpipe: the level build
// makes the meshes and the map's four lights, Core draws the frame in its
// order (G-buffer passes, lights, composition, FXAA, bloom, game effects,
// brightness and contrast). The frame is sampled where the lights fall and
// where they do not, where blood has left a decal and where a particle
// flies, and the monsters' sprites where they stand; full-size pictures are
// written to test-output/testmap_lit.png and testmap_blood.png for the eye,
// the monsters to testmap_nom.png and testmap_eye.png, and each state's
// frame with brightness and contrast raised to brightness/<state>.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "app/Core.h"
#include "gameplay/GameSaveManager.h"
#include "gameplay/MapObjectMakers.h"
#include "platform/Random.h"
#include "platform/gpu/Context.h"
#include "platform/gpu/Device.h"
#include "platform/gpu/HeadlessGpu.h"
#include "platform/gpu/SwapChain.h"
#include "render/BloodDecals.h"
#include "render/CommonStatesHolder.h"
#include "render/EffectRegistry.h"
#include "render/Frustum.h"
#include "render/GraphicsDevice.h"
#include "render/Mesh.h"
#include "render/MeshRegistry.h"
#include "render/ParticleSimulator.h"
#include "render/ParticleSystem.h"
#include "render/PointLights.h"
#include "render/PostFXChain.h"
#include "render/TextureRegistry.h"
#include "shell/InventoryWindowFlag.h"
#include "support/GpuTest.h"
#include "support/LevelDevice.h"
#include "support/Screenshot.h"
#include "support/ShellTestSupport.h"
#include "world/GridObject.h"
#include "world/MapEntityTypes.h"
#include "world/MapLoader.h"
#include "world/World.h"
#include "world/WorldCollision.h"

namespace mirefell::testing
{
namespace
{

class LitLevelTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        levelDevice.Create();
        PointLights::GetInstance().Clear();
        Config::GetInstance().settings.noiseIntensity = 0.0f; // no film grain in a sampled picture
    }

    void TearDown() override
    {
        world.reset();
        core.reset();
        levelDevice.Release();
        ShellTest::TearDown();
    }

    // Core on the device at the size, the test map built into its scene,
    // the camera in room A looking east towards the hall, the play state.
    void StartLevel(uint32_t width, uint32_t height)
    {
        core = std::make_unique<Core>();
        core->Initialize();
        // The test map names surfaces the game's texture table does not
        // have; lend them real pictures.
        TextureRegistry& textures = TextureRegistry::GetInstance();
        for (const auto& [name, file] : {std::pair{"ceiling_plain", L"metal"}, std::pair{"floor_stone", L"brown"},
                                         std::pair{"door_metal", L"blue_metal"}, std::pair{"door_red", L"red_metal"},
                                         std::pair{"elevator_side", L"dark_blue_metal"}})
            textures.Load(std::wstring(L"assets/textures/") + file + L".png", name, true);
        swapChain = std::make_unique<gpu::SwapChain>(*levelDevice.device, width, height);
        core->OnWindowSizeChanged(static_cast<int32_t>(width), static_cast<int32_t>(height), nullptr, swapChain.get());
        MeshRegistry::GetInstance().LoadAll();
        GameSaveManager::GetInstance().current.difficulty = GameDifficulty::Normal; // the monsters read it
        world = World::Create(&core->GetRoot(), &core->GetDebugRoot(), &core->GetParticles(), &core->GetCamera(), map,
                              GameSaveManager::GetInstance().GetLevelSettings(), MakeMapObjectFactories());
        world->Update(); // the first step shows the player's region
        core->GetRoot().Update();
        Camera& camera = core->GetCamera();
        camera.position = {12, 40, 20};
        camera.target = {140, 32, 100};
        camera.UpdateView();
        GameStateManager::GetInstance().Request(GameState::Playing);
    }

    Rgba8 At(uint32_t x, uint32_t y)
    {
        const std::vector<uint8_t> rgba = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        const size_t i = (size_t(y) * swapChain->Width() + x) * 4;
        return {rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
    }

    // Where a world point falls in the picture.
    std::pair<uint32_t, uint32_t> PixelOf(const Vector3& point)
    {
        const Camera& camera = core->GetCamera();
        const Vector4 clip = Transform(Vector4(point.x, point.y, point.z, 1), camera.view * camera.projection);
        const float x = (clip.x / clip.w + 1) * 0.5f * float(swapChain->Width());
        const float y = (1 - clip.y / clip.w) * 0.5f * float(swapChain->Height());
        return {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
    }

    LevelDevice levelDevice;
    std::unique_ptr<gpu::SwapChain>& swapChain = levelDevice.swapChain;
    std::unique_ptr<Core> core;
    MapData map = LoadMap();

    static MapData LoadMap()
    {
        MapEntityTypes::Initialize();
        return MapLoader::LoadFromFile(std::string(MIREFELL_SOURCE_DIR) + "/tests/data/maps/testmap.json");
    }
    std::unique_ptr<World> world;
};

// Room A seen from its south-west corner: the warm ceiling light (0xFFE0C0,
// 124 units up) lights the tops of the walls, the floor far below it gets
// little, and the blue door of the east wall stays blue. Without the lights
// the walls would show the ambient alone (0.05 of their colour, about 25).
TEST_F(LitLevelTest, TheTestMapIsLitByItsLights)
{
    StartLevel(320, 180);
    core->Render();
    const Rgba8 upperWall = At(250, 10);
    EXPECT_GT(upperWall.r, 35);
    EXPECT_LT(upperWall.r, 80);
    EXPECT_GT(upperWall.r, upperWall.b + 5) << "the ceiling light is warm";
    EXPECT_GE(upperWall.g, upperWall.b);
    const Rgba8 floor = At(160, 170);
    EXPECT_LT(floor.r + floor.g + floor.b, upperWall.r + upperWall.g + upperWall.b);
    EXPECT_GT(floor.r, 5) << "the ambient light reaches everything";
    const Rgba8 door = At(140, 80);
    EXPECT_GT(door.b, door.r + 5);
    EXPECT_EQ(upperWall.a, 255);
}

// Each state's branch on the same level: the in-game menu dims the frame to
// a grey (the luminance pass), the level-complete screen tints it with its
// fade (none yet at fade 0), the loading frame is the cleared black alone,
// and an open inventory window shows its backdrop instead of the level.
TEST_F(LitLevelTest, EachStateDrawsItsOwnBranch)
{
    StartLevel(320, 180);
    core->Render();
    const Rgba8 played = At(250, 10);

    GameStateManager::GetInstance().Request(GameState::IngameMenu);
    core->Render();
    const Rgba8 menu = At(250, 10);
    EXPECT_LT(menu.r, played.r);
    EXPECT_NEAR(menu.r, menu.b, 3) << "drained of colour";

    GameStateManager::GetInstance().Request(GameState::LevelComplete);
    PostFXChain::fadeLevel = 0.0f;
    core->Render();
    const Rgba8 complete = At(250, 10);
    EXPECT_NEAR(complete.r, played.r, 2) << "no fade yet";

    GameStateManager::GetInstance().Request(GameState::Loading);
    core->Render();
    const Rgba8 loading = At(250, 10);
    EXPECT_EQ(loading.r + loading.g + loading.b, 0);

    GameStateManager::GetInstance().Request(GameState::Playing);
    inventoryWindowOpen = true;
    core->Render();
    const Rgba8 inventory = At(250, 10);
    EXPECT_NE(inventory.r, played.r);
    EXPECT_GE(inventory.g, inventory.r) << "the backdrop's greenish tint";
    inventoryWindowOpen = false;
}

// Brightness and contrast are the last pass of every state's frame, over
// the level, the title and the interface alike: at brightness 0.05 and
// contrast 1.05 each display level v / 255 becomes (v / 255 - 0.5) x 1.05 +
// 0.55, that is v becomes 1.05 v + 6.4: the loading frame's black 6, a wall
// of 40 48, white stays white. Each state's frame is drawn at the defaults
// and again at those values (the title's distortion from the same seed);
// the frames are written to test-output/brightness/<state>.png.
TEST_F(LitLevelTest, BrightnessAndContrastActOnTheFrameOfEveryState)
{
    StartLevel(320, 180);
    Settings& settings = Config::GetInstance().settings;
    const std::pair<GameState, const char*> states[] = {{GameState::Playing, "playing"},
                                                        {GameState::IngameMenu, "ingame_menu"},
                                                        {GameState::LevelComplete, "level_complete"},
                                                        {GameState::Loading, "loading"},
                                                        {GameState::MainMenu, "title"}};
    for (const auto& [state, name] : states) {
        GameStateManager::GetInstance().Request(state);
        settings.brightness = 0.0f;
        settings.contrast = 1.0f;
        SeedRand(1);
        core->Render();
        const std::vector<uint8_t> plain = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        settings.brightness = 0.05f;
        settings.contrast = 1.05f;
        SeedRand(1);
        core->Render();
        SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), std::string("brightness/") + name);
        const std::vector<uint8_t> adjusted = DeviceContext->ReadPixelsRGBA8(swapChain->GetBackBuffer());
        int off = 0;
        for (size_t i = 0; i < plain.size(); ++i)
            if (i % 4 != 3)
                off += std::abs(adjusted[i] - std::min(255.0, std::round(1.05 * plain[i] + 6.375))) > 1.0;
        EXPECT_EQ(off, 0) << name;
        if (state == GameState::Loading) {
            EXPECT_EQ(At(250, 10).r, 6);
        }
    }
    settings.brightness = 0.0f;
    settings.contrast = 1.0f;
}

// The player walks into the hall, so its region (hall, elevator, ledge)
// shows and its monsters wake. Looked at from the hall's north end, the nom
// stands in the middle of the frame in its dark green (the hall's light is
// dim) against the grey wall; from the ledge's east end, the eye shows its
// brown iris in the middle of its pale ball.
TEST_F(LitLevelTest, MonstersAreDrawnAsSpritesWhereTheyStand)
{
    StartLevel(320, 180);
    world->collision->PlaceObject(world->player, Vector3(219.6f, 7.03f, 115.0f));
    world->Update(); // the player's move shows the hall
    world->Update(); // the monsters are no longer dormant
    Camera& camera = core->GetCamera();
    camera.position = {219.6f, 12.0f, 100.0f};
    camera.target = {219.6f, 9.0f, 67.6f};
    camera.UpdateView();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_nom");
    const Rgba8 nom = At(160, 86);
    EXPECT_GT(nom.g, nom.r + 4) << "the nom's green body";
    EXPECT_GT(nom.g, nom.b + 10);
    const Rgba8 wall = At(120, 86);
    EXPECT_NEAR(wall.r, wall.g, 2) << "grey beside it";

    camera.position = {440.0f, 76.0f, 34.8f};
    camera.target = {402.8f, 76.0f, 34.8f};
    camera.UpdateView();
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_eye");
    const Rgba8 iris = At(160, 90);
    EXPECT_GT(iris.r, iris.b + 30) << "the eye's brown iris";
    EXPECT_GT(iris.r, iris.g + 10);
    const Rgba8 ball = At(152, 86);
    EXPECT_GT(ball.b, iris.b + 30) << "its pale ball around it";
}

// Blood thrown at the wall the camera faces lands on it through the level's
// trace and leaves a decal there (four, one over another): the wall is
// stained dark under them and stays as it was a little way off.
TEST_F(LitLevelTest, BloodThatHitsAWallLeavesADecalThatDarkensIt)
{
    StartLevel(1280, 720);
    Camera& camera = core->GetCamera();
    const Vector3 ahead = (camera.target - camera.position).Normalized();
    const RaycastResult wall =
        world->collision->Raycast(camera.position, ahead, GridObjectType::Concrete, 0, 5, nullptr);
    ASSERT_EQ(wall.type, RaycastResult::Triangle);
    // Step up to 30 units from the wall, facing it.
    camera.position = wall.point + wall.normal * 30.0f;
    camera.target = wall.point;
    camera.UpdateView();
    core->Render();
    const auto [x, y] = PixelOf(wall.point);
    const Rgba8 bare = At(x, y);
    const Rgba8 bareAside = At(x + 400, y);

    world->SpawnParticles(wall.point + wall.normal * 3.0f, Color(0.8f, 0.05f, 0.05f, 1), 4);
    for (ParticleMotion& drop : world->particles->motions)
        drop.velocity = wall.normal * -5.0f; // into the wall within this step
    world->particles->Update(); // the world step's first part (the whole step would move the camera to the player)
    EXPECT_TRUE(world->particles->motions.empty());
    EXPECT_EQ(world->bloodDecals->nextSlot, 4u);
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_blood");

    const Rgba8 stained = At(x, y);
    EXPECT_LT(2 * (stained.r + stained.g + stained.b), bare.r + bare.g + bare.b) << "under half as bright";
    const Rgba8 aside = At(x + 400, y);
    EXPECT_NEAR(aside.g, bareAside.g, 2);
}

// An eye inside a decal's box, as a dead player's is in a pool of blood: the
// decal is drawn by the box's far faces, and the floor under it is stained
// while the floor beyond the box is as it was.
TEST_F(LitLevelTest, AnEyeInsideADecalsBoxStillSeesTheDecalAroundIt)
{
    StartLevel(640, 360);
    Camera& camera = core->GetCamera();
    const RaycastResult floor =
        world->collision->Raycast(camera.position, {0, -1, 0}, GridObjectType::Concrete, 0, 5, nullptr);
    ASSERT_EQ(floor.type, RaycastResult::Triangle);
    const Vector3 ahead =
        Vector3(camera.target.x - camera.position.x, 0, camera.target.z - camera.position.z).Normalized();
    camera.position = floor.point + Vector3(0, 3.5f, 0);
    camera.target = floor.point + ahead * 8.0f;
    camera.UpdateView();
    core->Render();
    const Vector3 stainAt = floor.point + ahead * 4.0f;
    const Vector3 beyond = floor.point + ahead * 20.0f; // a box reaches at most 12 from its point
    const auto [x, y] = PixelOf(stainAt);
    const auto [farX, farY] = PixelOf(beyond);
    const Rgba8 bare = At(x, y);
    const Rgba8 bareFar = At(farX, farY);

    world->bloodDecals->Add(stainAt, Color(0.8f, 0.05f, 0.05f, 1));
    world->bloodDecals->Add(stainAt, Color(0.8f, 0.05f, 0.05f, 1));
    core->GetRoot().Update();
    ASSERT_TRUE(IsPointInBox(camera.position, &world->bloodDecals->slotBoxes[0].min.x));
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_blood_pool");
    const Rgba8 stained = At(x, y);
    EXPECT_LT(3 * (stained.r + stained.g + stained.b), 2 * (bare.r + bare.g + bare.b)) << "a third darker at least";
    const Rgba8 far = At(farX, farY);
    EXPECT_NEAR(far.g, bareFar.g, 2);
}

// A particle in Core's store is drawn in the level's scene pass (lit like
// the geometry) among a spray of chips and blood. The picture is
// test-output/testmap_particles.png.
TEST_F(LitLevelTest, ParticlesAreDrawnInTheLevelsScenePass)
{
    StartLevel(640, 360);
    Camera& camera = core->GetCamera();
    const Vector3 ahead = (camera.target - camera.position).Normalized();
    const Vector3 right = ahead.Cross({0, 1, 0}).Normalized();
    const Vector3 spray = camera.position + ahead * 40.0f + right * 12.0f;
    world->SpawnParticlesWithVelocity(spray, {0, 1, 0}, Color(1, 1, 1, 1), 30);
    world->SpawnParticles(spray - right * 24.0f, Color(0.7f, 0, 0, 1), 30);
    for (int i = 0; i < 30; ++i) // half a second of flight
        world->particles->Update();
    Particle& chip = core->GetParticles().AddParticle();
    chip.position = camera.position + ahead * 20.0f;
    chip.scale = Vector3(3);
    chip.colour = {1, 0, 0, 1};
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_particles");
    const Rgba8 seen = At(320, 180);
    EXPECT_GT(seen.r, 30);
    EXPECT_LT(seen.g + seen.b, 10);
}

// The same view at the window size a player has, written to
// test-output/testmap_lit.png: the frame four times as wide and high shows
// what the small one shows at the same places (coordinates times 4): the
// warm upper wall, the darker floor, the blue door, opaque to the corner.
TEST_F(LitLevelTest, AFullSizeFrameShowsWhatTheSmallOneShows)
{
    StartLevel(1280, 720);
    core->Render();
    SaveScreenshot(*DeviceContext, swapChain->GetBackBuffer(), "testmap_lit");
    const Rgba8 upperWall = At(1000, 40);
    EXPECT_GT(upperWall.r, 35);
    EXPECT_LT(upperWall.r, 80);
    EXPECT_GT(upperWall.r, upperWall.b + 5) << "the ceiling light is warm";
    const Rgba8 floor = At(640, 680);
    EXPECT_LT(floor.r + floor.g + floor.b, upperWall.r + upperWall.g + upperWall.b);
    EXPECT_GT(floor.r, 5);
    const Rgba8 door = At(560, 320);
    EXPECT_GT(door.b, door.r + 5);
    EXPECT_EQ(At(1279, 719).a, 255);
}

} // namespace
} // namespace mirefell::testing
