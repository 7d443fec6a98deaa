// MenuScene: building the title's models, the ring band, the lights and the
// camera's swoop.
#include "ui/MenuScene.h"

#include <array>
#include <cmath>

#include "platform/Lookup.h"
#include "render/EffectRegistry.h"
#include "render/MeshRegistry.h"
#include "render/PointLight.h"
#include "render/PointLights.h"
#include "shell/GameStateManager.h"
#include "shell/LevelBannerFlag.h"
#include "shell/SoundManager.h"

namespace mirefell
{

namespace
{

constexpr float DegreesToRadians = 0.017453292f;

// The letters of the title word in reading order; a letter's second
// occurrence has a "2" after it. Each stands on the arc with its width
// factor: every letter model is five font cells wide, so none is narrow.
struct TitleLetter
{
    const char* key;
    float widthFactor;
};
constexpr std::array<TitleLetter, 8> TitleLetters{{
    {"m", 1.0f},
    {"i", 1.0f},
    {"r", 1.0f},
    {"e", 1.0f},
    {"f", 1.0f},
    {"e2", 1.0f},
    {"l", 1.0f},
    {"l2", 1.0f},
}};
constexpr float LetterY = 0.25f;
constexpr float LetterScale = 0.1f;
constexpr const char* TitleTexture = "title";

// The ring band.
constexpr float RingOuterRadius = 5.0f;
constexpr float RingInnerFactor = 0.95f;
constexpr float RingBottom = -0.25f;
constexpr float RingTop = 1.0f;
constexpr int RingSegments = 360;
constexpr Vector4 RingColour{0.0f, 0.217638f, 1.0f, 1.0f}; // display (0, 0.5, 1)

// The lights: warm, unconverted, 12 units out on the four axes.
constexpr float LightDistance = 12.0f;
constexpr Color LightColour{1.0f, 0.85f, 0.75f, 1.0f};

} // namespace

MeshGeometry BuildRingGeometry()
{
    MeshGeometry ring;
    ring.useTriangleColours = false;
    ring.smoothNormals = true;
    ring.colour = RingColour;
    ring.positions.reserve(RingSegments * 4 * 6);
    ring.triangles.reserve(RingSegments * 4 * 2);

    auto outer = [](int i) {
        const float a = static_cast<float>(i) * DegreesToRadians;
        return Vector2(RingOuterRadius * std::sin(a), RingOuterRadius * std::cos(a));
    };
    auto inner = [&](int i) { return outer(i) * RingInnerFactor; };
    auto at = [](Vector2 point, float y) { return Vector3(point.x, y, point.y); };
    // Six positions make two triangles, (k, k+1, k+2) and (k+3, k+4, k+5).
    auto quad = [&ring](const std::array<Vector3, 6>& corners) {
        const auto k = static_cast<uint32_t>(ring.positions.size());
        ring.positions.insert(ring.positions.end(), corners.begin(), corners.end());
        MeshTriangle first;
        first.a = k;
        first.b = k + 1;
        first.c = k + 2;
        MeshTriangle second;
        second.a = k + 3;
        second.b = k + 4;
        second.c = k + 5;
        ring.triangles.push_back(first);
        ring.triangles.push_back(second);
    };
    const float b = RingBottom;
    const float t = RingTop;
    for (int pass = 0; pass < 4; ++pass)
        for (int i = 0; i < RingSegments; ++i) {
            const int j = (i + 1) % RingSegments;
            const Vector2 oi = outer(i), oj = outer(j), ii = inner(i), ij = inner(j);
            switch (pass) {
            case 0: // outer wall
                quad({at(oi, b), at(oj, b), at(oi, t), at(oj, b), at(oj, t), at(oi, t)});
                break;
            case 1: // inner wall
                quad({at(ii, b), at(ii, t), at(ij, b), at(ij, b), at(ii, t), at(ij, t)});
                break;
            case 2: // bottom
                quad({at(ii, b), at(ij, b), at(oi, b), at(ij, b), at(oj, b), at(oi, b)});
                break;
            default: // top
                quad({at(ii, t), at(oi, t), at(ij, t), at(ij, t), at(oi, t), at(oj, t)});
                break;
            }
        }
    return ring;
}

MenuScene::MenuScene() : listenerTarget(std::make_shared<MenuScene*>(this))
{
    GameStateManager::GetInstance().AddListener(
        [target = std::weak_ptr<MenuScene*>(listenerTarget)](GameState newState, GameState) {
            if (const std::shared_ptr<MenuScene*> scene = target.lock())
                (*scene)->OnGameStateChanged(newState);
        });
    CreateCamera();
    LoadModels();
}

MenuScene::~MenuScene() = default;

void MenuScene::CreateCamera()
{
    camera = std::make_unique<Camera>();
    camera->fieldOfView = StartFieldOfView;
    camera->position = Vector3(0.0f, cameraHeight, OrbitRadius);
    camera->target = Vector3(0.0f, 0.0f, 0.0f);
    camera->UpdateView();
}

void MenuScene::LoadModels()
{
    // The title is built before any level, so the registry may be empty.
    MeshRegistry::GetInstance().LoadAll();
    root = std::make_unique<Mesh>(EffectIdNone, MeshVertexFormatColor);

    const Vector3 letterScale(LetterScale, LetterScale, LetterScale);
    for (const TitleLetter& letter : TitleLetters)
        models[letter.key] = AddModel(std::string("title_") + letter.key, TitleTexture, {}, {}, letterScale);

    // Centred on +z: the first letter stands half the arc's steps (between
    // the first and the last letter) to the left.
    float span = 0.0f;
    for (size_t i = 0; i + 1 < TitleLetters.size(); ++i)
        span += LetterStep * TitleLetters[i].widthFactor;
    float angle = -span / 2.0f;
    for (const TitleLetter& letter : TitleLetters) {
        Mesh& node = *MapAt(models, std::string(letter.key));
        const float radians = angle * DegreesToRadians;
        node.position = Vector3(LetterArcRadius * std::sin(radians), LetterY, LetterArcRadius * std::cos(radians));
        node.rotation = Vector3(0.0f, radians, 0.0f);
        node.UpdateTransform();
        angle += LetterStep * letter.widthFactor;
    }

    models["ring"] = AddRing();
    models["shotgun"] = AddModel("double_shotgun", "double_shotgun", {0.0f, 0.6f, -1.0f},
                                 {-Pi / 4.0f, 3.0f * Pi / 2.0f, 0.0f}, {0.4f, 0.4f, 0.4f});
    const float blasterScale = 0.4f * 0.85f;
    models["hyperblaster"] = AddModel("hyper_blaster", "hyper_blaster", {0.0f, 0.6f, 1.5f}, {0.0f, Pi, -Pi / 4.0f},
                                      {blasterScale, blasterScale, blasterScale});
}

Mesh* MenuScene::AddModel(const std::string& meshName, const std::string& textureName, Vector3 position,
                          Vector3 rotation, Vector3 scale)
{
    auto node = std::make_unique<Mesh>(EffectIdTexture, MeshVertexFormatTexture);
    node->geometry = MeshRegistry::GetInstance().GetMesh(meshName);
    node->textureName = textureName;
    node->position = position;
    node->rotation = rotation;
    node->scale = scale;
    node->UpdateTransform();
    return root->AddChild(std::move(node));
}

Mesh* MenuScene::AddRing()
{
    auto node = std::make_unique<Mesh>(EffectIdColor, MeshVertexFormatColor);
    node->geometry = BuildRingGeometry();
    node->UpdateTransform();
    return root->AddChild(std::move(node));
}

void MenuScene::ResetLights()
{
    // The title shades its own lights only. What the level left (it stays
    // until the next load, whose Clear empties the list, and its objects
    // keep pointers into it) is switched off, never erased: the level is
    // never resumed from the title, and its lights would otherwise tint the
    // scene or, filling the frame's light budget first, leave it unlit.
    for (PointLight& light : PointLights::GetInstance().lights)
        light.enabled = 0;
    for (int n = 0; n < LightCount; ++n) {
        PointLight& light = PointLights::GetInstance().Add();
        const float angle = static_cast<float>(n) * 90.0f * DegreesToRadians;
        light.colour = LightColour;
        light.position = Vector3(LightDistance * std::sin(angle), 0.0f, LightDistance * std::cos(angle));
        light.enabled = 1;
        light.drawFirst = 1;
        light.shaderFlag = 1;
        light.attenuationConstant = 0.0f;
        light.attenuationLinear = 0.1f;
        light.attenuationQuadratic = 0.01f;
        light.intensity = 1.0f;
        light.ComputeRange();
    }
}

void MenuScene::OnGameStateChanged(GameState newState)
{
    if (newState != GameState::MainMenu)
        return;
    showLevelBanner = true;
    ResetLights();
    orbitAngle = StartOrbitAngle;
    camera->fieldOfView = StartFieldOfView;
    cameraHeight = StartHeight;
    camera->UpdateProjection();
    SoundManager::GetInstance().PlayTitleMusic();
}

void MenuScene::Update()
{
    // One step of each per update: the swoop takes 140 steps.
    if (orbitAngle < 0.0f) {
        orbitAngle += OrbitStep;
        cameraHeight -= HeightStep;
        const float radians = orbitAngle * DegreesToRadians;
        camera->position = Vector3(OrbitRadius * std::sin(radians), cameraHeight, OrbitRadius * std::cos(radians));
        camera->UpdateView();
    }
    if (camera->fieldOfView < EndFieldOfView) {
        camera->fieldOfView += FieldOfViewStep;
        camera->UpdateProjection();
    }
}

void MenuScene::Release()
{
    root->ReleaseBuffers();
}

} // namespace mirefell
