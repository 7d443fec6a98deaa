// PointLights: the process-wide list of dynamic lights. Records live in a
// std::list, so a light's address stays valid until it is erased: by
// Update (its `remove` flag), by Clear (every level load) or at exit.
// Holders of a pointer must drop it at Clear.
//
// The light pass (device resources, per-frame constants, the sphere draws)
// belongs to the renderer's frame and joins this class with its device
// set-up and release; the list itself needs no GPU.
#pragma once

#include <list>

#include "render/PointLight.h"

namespace mirefell
{

class PointLights
{
public:
    // Advance of the light phase per play-state update.
    static constexpr float PhaseStep = 0.00025f;

    static PointLights& GetInstance();

    // Appends a light with the defaults of PointLight and returns it.
    PointLight& Add();
    // Empties the list; every pointer into it becomes invalid.
    void Clear();
    // Once per update in the playing state: erases the lights flagged for
    // removal, then advances the light phase.
    void Update();

    std::list<PointLight> lights;
    // Turns the sky in the light pass; never reset.
    float lightPhase = 0.0f;
};

} // namespace mirefell
