// The title scene with no GPU: the camera's swoop step by step in float,
// its restart on every entry into the title with its four lights the only
// ones on and the banner armed, and where the models stand. (The drawn
// scene is an app test: TitleSceneFrameTests.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "render/MeshRegistry.h"
#include "render/PointLights.h"
#include "shell/GameStateManager.h"
#include "shell/LevelBannerFlag.h"
#include "ui/MenuScene.h"

namespace mirefell::testing
{
namespace
{

class MenuSceneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GameStateManager::GetInstance().Reset();
        PointLights::GetInstance().Clear();
        showLevelBanner = false;
        MeshRegistry::GetInstance().LoadAll(std::string(MIREFELL_RUN_DIR) + "/assets/meshes/");
        scene = std::make_unique<MenuScene>();
    }
    void TearDown() override
    {
        scene.reset();
        GameStateManager::GetInstance().Reset();
        PointLights::GetInstance().Clear();
        showLevelBanner = false;
    }
    // The title is entered: the change is heard at the next step.
    void EnterTitle(GameState from)
    {
        GameStateManager& states = GameStateManager::GetInstance();
        states.Request(from);
        states.NotifyListeners();
        states.Request(GameState::MainMenu);
        states.NotifyListeners();
    }

    std::unique_ptr<MenuScene> scene;
};

// Entering: -45 degrees, 3.5 high, 10 degrees wide. One step later the
// angle is -45 + 9/28 = -44.678571 and the height 3.5 - 1/28 = 3.4642857;
// with sin(44.678571 deg) = (cos d - sin d) / sqrt 2 for d = 0.32142857 deg
// = 0.0056100 rad, that is (0.9999843 - 0.0056100) / 1.4142136 = 0.7031289,
// and cos = (0.9999843 + 0.0056100) / 1.4142136 = 0.7110625, the eye is at
// (-7.031289, 3.4642857, 7.110625); the view widens by half a degree.
TEST_F(MenuSceneTest, TheSwoopStepsOncePerUpdateFromItsStartToTheFront)
{
    EnterTitle(GameState::Start);
    EXPECT_EQ(scene->orbitAngle, -45.0f);
    EXPECT_EQ(scene->cameraHeight, 3.5f);
    EXPECT_EQ(scene->camera->fieldOfView, 10.0f);

    scene->Update();
    const Camera& camera = *scene->camera;
    EXPECT_NEAR(scene->orbitAngle, -44.678571f, 2e-6f);
    EXPECT_NEAR(scene->cameraHeight, 3.4642857f, 1e-6f);
    EXPECT_NEAR(camera.position.x, -7.031289f, 1e-5f);
    EXPECT_NEAR(camera.position.y, 3.4642857f, 1e-6f);
    EXPECT_NEAR(camera.position.z, 7.110625f, 1e-5f);
    EXPECT_EQ(camera.target, Vector3(0, 0, 0));
    EXPECT_EQ(camera.fieldOfView, 10.5f);

    // 140 steps in all: 140 x 9/28 = 45 less a rounding the float sum ends
    // just above 0; the view reaches exactly 80. Then nothing moves.
    for (int step = 1; step < 140; ++step)
        scene->Update();
    EXPECT_GT(scene->orbitAngle, 0.0f);
    EXPECT_LT(scene->orbitAngle, 1e-3f);
    EXPECT_NEAR(scene->cameraHeight, -1.5f, 1e-4f);
    EXPECT_EQ(camera.fieldOfView, 80.0f);
    const Vector3 end = camera.position;
    scene->Update();
    EXPECT_EQ(camera.position, end);
    EXPECT_EQ(camera.fieldOfView, 80.0f);
}

// Each entry adds four lights at 12 units on the axes, ranged where
// 0.1 d + 0.01 d^2 reaches 100: d = (sqrt(0.01 + 4) - 0.1) / 0.02 = 95.125,
// and switches off every light already there (the level's and its own).
TEST_F(MenuSceneTest, EveryEntryRestartsTheSwoopWithOnlyItsFourLightsOnAndArmsTheBanner)
{
    EnterTitle(GameState::Start);
    for (int step = 0; step < 200; ++step)
        scene->Update();
    showLevelBanner = false;
    PointLight& levelLight = PointLights::GetInstance().Add();
    levelLight.enabled = levelLight.drawFirst = 1;

    EnterTitle(GameState::IngameMenu); // "Save and exit"
    EXPECT_EQ(scene->orbitAngle, -45.0f);
    EXPECT_EQ(scene->cameraHeight, 3.5f);
    EXPECT_EQ(scene->camera->fieldOfView, 10.0f);
    EXPECT_TRUE(showLevelBanner);
    const auto& lights = PointLights::GetInstance().lights;
    ASSERT_EQ(lights.size(), 9u);
    EXPECT_EQ(std::count_if(lights.begin(), std::next(lights.begin(), 5), [](auto& l) { return l.enabled != 0; }), 0);
    const PointLight& east = *std::next(lights.begin(), 6); // n = 1: 90 degrees
    EXPECT_NEAR(east.position.x, 12.0f, 1e-5f);
    EXPECT_NEAR(east.position.z, 0.0f, 1e-5f);
    EXPECT_EQ(east.colour, Color(1.0f, 0.85f, 0.75f, 1.0f));
    EXPECT_NEAR(east.range, 95.125f, 1e-3f);
    EXPECT_TRUE(east.enabled && east.drawFirst && east.shaderFlag);

    // Other states leave the scene alone.
    GameStateManager::GetInstance().Request(GameState::Loading);
    GameStateManager::GetInstance().NotifyListeners();
    EXPECT_EQ(lights.size(), 9u);
}

// The letters step 6.5 degrees apart, the first at -7 x 6.5 / 2 = -22.75
// (sin -0.386711, cos 0.922201), the last at +22.75, each 5 out at y 0.25
// and turned by its own angle.
TEST_F(MenuSceneTest, TheWordStandsOnTheArcInFrontOfTheRing)
{
    const Mesh& root = *scene->root;
    ASSERT_EQ(root.children.size(), 11u);
    const char* order[] = {"m", "i", "r", "e", "f", "e2", "l", "l2", "ring", "shotgun", "hyperblaster"};
    for (size_t i = 0; i < 11; ++i)
        EXPECT_EQ(root.children[i].get(), scene->models.at(order[i])) << order[i];

    const Mesh& m = *scene->models.at("m");
    EXPECT_NEAR(m.position.x, -1.933555f, 1e-5f);
    EXPECT_EQ(m.position.y, 0.25f);
    EXPECT_NEAR(m.position.z, 4.611005f, 1e-5f);
    EXPECT_NEAR(m.rotation.y, -0.397062f, 1e-5f);
    EXPECT_NEAR(scene->models.at("l2")->position.x, 1.933555f, 1e-5f);
    EXPECT_EQ(m.textureName, "title");
    EXPECT_EQ(m.scale, Vector3(0.1f, 0.1f, 0.1f));
    EXPECT_EQ(scene->models.at("hyperblaster")->scale, Vector3(0.34f, 0.34f, 0.34f));
    EXPECT_EQ(scene->models.at("shotgun")->scale, Vector3(0.4f, 0.4f, 0.4f));
    EXPECT_EQ(scene->models.at("ring")->effectId, EffectIdColor);

    // The band: 360 segments of four two-triangle quads, outer radius 5,
    // inner 4.75, from -0.25 to 1.
    const MeshGeometry ring = BuildRingGeometry();
    EXPECT_EQ(ring.positions.size(), 8640u);
    EXPECT_EQ(ring.triangles.size(), 2880u);
    float outer = 0, inner = 10, low = 10, high = -10;
    for (const Vector3& p : ring.positions) {
        const float r = std::sqrt(p.x * p.x + p.z * p.z);
        outer = std::max(outer, r);
        inner = std::min(inner, r);
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    EXPECT_NEAR(outer, 5.0f, 1e-5f);
    EXPECT_NEAR(inner, 4.75f, 1e-5f);
    EXPECT_EQ(low, -0.25f);
    EXPECT_EQ(high, 1.0f);
    EXPECT_EQ(ring.triangles[2879].c, 8639u);
}

} // namespace
} // namespace mirefell::testing
