// ParticleSystem: the renderer's particle store and its draw, owned by Core
// for the life of the program. It keeps every particle in a linked list, so
// a particle's address stays valid until it is erased and the level's
// particle simulator and projectiles can hold plain pointers. Whoever ends a
// particle sets its `dead` flag and drops its pointer; the level's next step
// (the particle simulator's update) or the next draw, whichever comes first,
// erases it. Core empties the list at every level load.
//
// Erased particles keep their list nodes in a spare list that AddParticle
// takes from first, and ReservedParticles nodes are made up front, so
// spawning and erasing allocate nothing once the game runs.
//
// The draw builds one instance list per shape from the visible particles
// (cubes of edge 1, unit spheres; at most MaxInstancesPerShape each, in list
// order) and issues one instanced draw per shape through the particle
// effect. Create makes the effect and the four buffers on the device and
// Release drops them (device loss); the particles survive both. Everything
// but Create, Release and Draw runs without a GPU.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"
#include "render/VertexTypes.h"

namespace mirefell
{

namespace gpu
{
class Buffer;
}

class Camera;
class ParticleEffect;

inline constexpr uint8_t ParticleShapeCube = 0;
inline constexpr uint8_t ParticleShapeSphere = 1;

struct Particle
{
    Vector3 position;
    Vector3 rotation; // pitch about X, yaw about Y, roll about Z, radians
    Vector3 scale{1.0f, 1.0f, 1.0f};
    Color colour{1.0f, 1.0f, 1.0f, 1.0f}; // linear
    bool dead = false;                    // erased by the next draw
    bool visible = true;                  // only visible particles are drawn
    uint8_t shape = ParticleShapeCube;
};

class ParticleSystem
{
public:
    // Instances drawn per shape and frame; further particles of a shape wait
    // for a frame with room.
    static constexpr uint32_t MaxInstancesPerShape = 1000;
    static constexpr uint32_t InstanceBufferBytes = MaxInstancesPerShape * sizeof(ParticleInstanceRecord);
    // List nodes made at construction.
    static constexpr size_t ReservedParticles = 4096;

    ParticleSystem();
    ~ParticleSystem();
    ParticleSystem(const ParticleSystem&) = delete;
    ParticleSystem& operator=(const ParticleSystem&) = delete;

    // The effect, the cube's and the sphere's vertex buffers and their
    // instance buffers; replaces any held. Throws when the device refuses one.
    void Create();
    // Drops the effect and the four buffers; the particles stay.
    void Release();

    // Appends a particle with the defaults of Particle and returns it.
    Particle& AddParticle();
    // Erases every dead particle (the first step of a draw).
    void RemoveDead();
    // Empties the list (level load); pointers into it become invalid.
    void Clear();

    // Erases the dead, then draws the visible particles with the camera's
    // view and projection into the bound targets: opaque, depth-tested,
    // clockwise faces culled. Sets no state and draws nothing when no
    // particle is visible, or before Create.
    void Draw(const Camera& camera);
    // Fills cubeInstances and sphereInstances from the visible particles:
    // world matrix (scale, then rotation, then translation) transposed, and
    // colour.
    void BuildInstances();

    uint32_t cubeVertexCount = 36;
    uint32_t sphereVertexCount = 0;
    std::list<Particle> particles;
    std::unique_ptr<ParticleEffect> effect;
    std::shared_ptr<gpu::Buffer> cubeVertexBuffer;
    std::shared_ptr<gpu::Buffer> cubeInstanceBuffer;
    std::shared_ptr<gpu::Buffer> sphereVertexBuffer;
    std::shared_ptr<gpu::Buffer> sphereInstanceBuffer;
    // The last built instance lists, at most MaxInstancesPerShape each.
    std::vector<ParticleInstanceRecord> cubeInstances;
    std::vector<ParticleInstanceRecord> sphereInstances;

private:
    void CreateSphereBuffers();
    // One shape's instanced draw: the records into its instance buffer, the
    // two streams bound, one DrawInstanced.
    void DrawShape(gpu::Buffer* vertices, gpu::Buffer* instanceBuffer, uint32_t vertexCount,
                   const std::vector<ParticleInstanceRecord>& instances);

    std::list<Particle> spare; // erased particles' nodes, reused first
};

} // namespace mirefell
