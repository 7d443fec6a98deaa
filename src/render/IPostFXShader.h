// IPostFXShader: one full-screen effect's pixel shader and whatever
// constants it binds itself. The post-processing chain and the deferred
// renderer draw a quad through the sprite batch and call Apply from the
// batch's set-up callback, after the batch has set its own shaders, so Apply
// replaces the pixel shader.
#pragma once

#include "render/PassResources.h" // every post effect loads its shader the same way

namespace mirefell
{

class IPostFXShader
{
public:
    virtual ~IPostFXShader() = default;
    // Binds the effect's pixel shader (and its constants, where it has
    // them) on the immediate context.
    virtual void Apply() = 0;
};

} // namespace mirefell
