// ParticleSystem: the renderer's particle store, owned by Core for the life
// of the program. It keeps every particle in a linked list, so a particle's
// address stays valid until it is erased and the level's particle simulator
// and projectiles can hold plain pointers. Whoever ends a particle sets its
// `dead` flag; the draw erases dead particles before it builds its instance
// lists. The list is emptied at every level load.
//
// Drawing (the effect, the vertex and instance buffers and the two instanced
// draws) joins this class with the renderer's device set-up and release; the
// store itself needs no GPU.
#pragma once

#include <cstdint>
#include <list>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

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
    // Appends a particle with the defaults above and returns it.
    Particle& AddParticle();
    // Erases every dead particle (the first step of a draw).
    void RemoveDead();
    // Empties the list (level load); pointers into it become invalid.
    void Clear();

    std::list<Particle> particles;
};

} // namespace mirefell
