// HeadlessGpu: a hidden SDL window with an OpenGL 3.3 core context.
#include "platform/gpu/HeadlessGpu.h"

#include <SDL.h>

#include <string>

#include "platform/gpu/GpuError.h"

namespace mirefell::gpu
{

HeadlessGpu::HeadlessGpu()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        throw GpuError("CreateDevice", std::string("SDL video: ") + SDL_GetError());
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_Window* created = SDL_CreateWindow("mirefell-headless", 0, 0, 64, 48, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (created == nullptr) {
        const std::string error = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw GpuError("CreateDevice", "window: " + error);
    }
    SDL_GLContext made = SDL_GL_CreateContext(created);
    if (made == nullptr) {
        const std::string error = SDL_GetError();
        SDL_DestroyWindow(created);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw GpuError("CreateDevice", "OpenGL context: " + error);
    }
    window = created;
    context = made;
}

HeadlessGpu::~HeadlessGpu()
{
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
    SDL_DestroyWindow(static_cast<SDL_Window*>(window));
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

HeadlessGpu& HeadlessGpu::Shared()
{
    static HeadlessGpu shared;
    shared.MakeCurrent();
    return shared;
}

void HeadlessGpu::MakeCurrent()
{
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(window), static_cast<SDL_GLContext>(context));
}

} // namespace mirefell::gpu
