// MenuScene: the 3D background of the title screen (state 1): the title
// word as eight extruded letters on an arc of radius 5 around the origin,
// a blue ring band of the same outer radius, two of the game's weapons, four
// warm point lights and a camera that swoops in each time the title is
// entered: from 45 degrees off the word's axis, high and zoomed in, it
// circles to straight in front of the word, sinks and widens to 80 degrees
// within 140 steps, then stays still. The models never move.
//
// The Core owns one scene for the whole run: it makes it when it is first
// initialised (before the title is first requested), builds the tree's
// device buffers (Mesh::Update on root) after every device creation,
// releases them on device loss, sets the camera's aspect ratio at every
// size change, updates the scene once per step in state 1 and draws root
// with the camera in its title pass. The scene only builds and moves.
//
// Every entry into state 1 (heard through a GameStateManager listener that
// stays registered for the run and reaches the scene only while it exists)
// restarts the swoop, switches off the lights the level left and adds the
// four lights (the level load clears them all),
// arms the level banner for the next level loaded and starts the title
// music.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/math/Vector.h"
#include "render/Camera.h"
#include "render/Mesh.h"
#include "render/MeshGeometry.h"
#include "shell/GameState.h"

namespace mirefell
{

// The ring band: outer radius 5, inner radius 4.75, from y -0.25 to 1, in
// 360 segments of four quads each (outer wall, inner wall, bottom, top): 8640
// positions and 2880 triangles, all in one smooth blue.
MeshGeometry BuildRingGeometry();

class MenuScene
{
public:
    // How far the camera turns and sinks per step, and where it starts.
    static constexpr float OrbitStep = 0.32142857f;   // 9/28 degrees
    static constexpr float HeightStep = 0.035714287f; // 1/28
    static constexpr float StartOrbitAngle = -45.0f;
    static constexpr float StartHeight = 3.5f;
    static constexpr float StartFieldOfView = 10.0f;
    static constexpr float EndFieldOfView = 80.0f;
    static constexpr float FieldOfViewStep = 0.5f;
    static constexpr float OrbitRadius = 10.0f;
    static constexpr float LetterArcRadius = 5.0f;
    static constexpr float LetterStep = 6.5f; // degrees between letters
    // The warm lights added at every entry to the title, the only ones on there.
    static constexpr int LightCount = 4;

    // The camera, the registry's meshes (loaded here when the registry is
    // still empty) and the models, and the state listener. A missing mesh
    // throws "invalid map<K, T> key".
    MenuScene();
    ~MenuScene();
    MenuScene(const MenuScene&) = delete;
    MenuScene& operator=(const MenuScene&) = delete;

    // One step of the swoop: at most one orbit step and one widening step.
    void Update();
    // Device loss: drops the device buffers of the whole tree.
    void Release();
    // Entering the title (state 1) restarts the swoop; others are ignored.
    void OnGameStateChanged(GameState newState);

    float orbitAngle = 0.0f; // degrees about the vertical axis through the origin
    float cameraHeight = 0.0f;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Mesh> root;          // owns every model
    std::map<std::string, Mesh*> models; // letter keys, "ring", "shotgun", "hyperblaster"

private:
    void CreateCamera();
    void LoadModels();
    // A textured node with a copy of the registry mesh's geometry, under root.
    Mesh* AddModel(const std::string& meshName, const std::string& textureName, Vector3 position, Vector3 rotation,
                   Vector3 scale);
    Mesh* AddRing();
    // Switches off every light in the list, then appends the four warm
    // lights around the scene.
    static void ResetLights();

    // Reaches this scene from the listener while it exists.
    std::shared_ptr<MenuScene*> listenerTarget;
};

} // namespace mirefell
