// HeadlessGpu: an OpenGL 3.3 core context without a visible window, for tests
// and tools. Under SDL's offscreen video driver (SDL_VIDEODRIVER=offscreen, as
// CTest sets it) it is an EGL context on Mesa's llvmpipe and needs no display.
// The context is current on the creating thread for the object's lifetime;
// devices are made on it with gpu::Device.
#pragma once

namespace mirefell::gpu
{

class HeadlessGpu
{
public:
    // Throws GpuError("CreateDevice") when no context can be made.
    HeadlessGpu();
    ~HeadlessGpu();
    HeadlessGpu(const HeadlessGpu&) = delete;
    HeadlessGpu& operator=(const HeadlessGpu&) = delete;

    // The one context of the process, made on first use and kept until exit,
    // so a test run pays for EGL start-up once.
    static HeadlessGpu& Shared();
    // Makes the context current again (after other code switched).
    void MakeCurrent();

private:
    void* window = nullptr;
    void* context = nullptr;
};

} // namespace mirefell::gpu
