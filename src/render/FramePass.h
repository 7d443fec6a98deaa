// FramePass: the passes of a drawn level frame, in the order they run, and
// the one hook that hears each pass issued. The frame benchmarks set the
// hook to wait for the rasteriser after every pass and time it; the game
// leaves it empty, and an empty hook costs one test per pass.
#pragma once

#include <cstdint>

namespace mirefell
{

enum class FramePass : uint8_t
{
    Clear,        // the frame's and the G-buffer's clears
    Geometry,     // the coloured region meshes
    Decals,       // the blood decals
    Scene,        // textured, instanced meshes and particles
    WeaponView,   // the player's weapon view
    BloomExtract, // the bloom's extract at half size
    Ssao,         // the ambient occlusion
    Lights,       // the point lights' volumes into the light target
    Composition,  // the composition
    Fxaa,         // FXAA
    Bloom,        // the two blur passes and the overlay
    GameEffects,  // the play state's screen effect
    Ui,           // the interface
    Brightness,   // brightness and contrast
    Count
};

// Called after each pass has been issued; null in the game.
inline void (*framePassIssued)(FramePass pass) = nullptr;

inline void MarkFramePass(FramePass pass)
{
    if (framePassIssued)
        framePassIssued(pass);
}

} // namespace mirefell
