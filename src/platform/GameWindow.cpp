#include "platform/GameWindow.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>

#include <SDL.h>
#include <epoxy/gl.h>

#include "platform/GameError.h"
#include "platform/Sleeper.h"
#include "platform/VideoSystem.h"
#include "platform/gpu/Device.h"

namespace mirefell
{

struct GameWindow::Handles
{
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

namespace
{

void RequestContext(bool srgb, bool resetNotification)
{
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_FRAMEBUFFER_SRGB_CAPABLE, srgb ? 1 : 0);
    // A robust context: a GPU reset then loses the context, and says so,
    // instead of leaving it in an undefined state (some drivers give the
    // notification to robust contexts only).
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, resetNotification ? SDL_GL_CONTEXT_ROBUST_ACCESS_FLAG : 0);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_RESET_NOTIFICATION,
                        resetNotification ? SDL_GL_CONTEXT_RESET_LOSE_CONTEXT : SDL_GL_CONTEXT_RESET_NO_NOTIFICATION);
}

SDL_Window* CreateWindow(const std::string& title, const WindowLayout& layout)
{
    const Uint32 style = layout.bordered ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_BORDERLESS;
    return SDL_CreateWindow(title.c_str(), layout.x, layout.y, std::max(layout.width, 1), std::max(layout.height, 1),
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | style);
}

bool DefaultFramebufferIsSrgb()
{
    GLint encoding = GL_LINEAR;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_COLOR_ENCODING,
                                          &encoding);
    return glGetError() == GL_NO_ERROR && encoding == GL_SRGB;
}

// Whether the current context was made to be lost on a GPU reset, and has
// the reset status query that tells of it.
bool LosesContextOnReset()
{
    if (epoxy_gl_version() < 45 && !epoxy_has_gl_extension("GL_KHR_robustness") &&
        !epoxy_has_gl_extension("GL_ARB_robustness"))
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    GLint strategy = GL_NO_RESET_NOTIFICATION;
    glGetIntegerv(GL_RESET_NOTIFICATION_STRATEGY, &strategy);
    return glGetError() == GL_NO_ERROR && strategy == GL_LOSE_CONTEXT_ON_RESET;
}

// The driver's reset status of the current context: anything but
// GL_NO_ERROR means a reset happened.
GLenum ReadResetStatus()
{
    if (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_KHR_robustness"))
        return glGetGraphicsResetStatus();
    return glGetGraphicsResetStatusARB();
}

// A context can still be refused while the driver finishes its reset.
constexpr int ContextAttempts = 20;
constexpr uint64_t ContextRetryNanoseconds = 100'000'000;

} // namespace

GameWindow::GameWindow(const std::string& title, const WindowLayout& layout) : handles(std::make_unique<Handles>())
{
    RequestContext(true, true);
    handles->window = CreateWindow(title, layout);
    if (!handles->window) {
        // A driver without sRGB visuals still runs the game, with a darker
        // picture; say so rather than refuse to start.
        const std::string srgbFailure = SDL_GetError();
        RequestContext(false, true);
        handles->window = CreateWindow(title, layout);
        if (!handles->window)
            throw GameError("can't create the window", srgbFailure);
        srgbRequested = false;
        std::fprintf(stderr, "no sRGB-capable framebuffer (%s); colours will look darker\n", srgbFailure.c_str());
    }

    handles->context = SDL_GL_CreateContext(handles->window);
    if (!handles->context) {
        // A driver that refuses the reset notification gets a plain context.
        RequestContext(srgbRequested, false);
        handles->context = SDL_GL_CreateContext(handles->window);
    }
    if (!handles->context) {
        const std::string reason = SDL_GetError();
        SDL_DestroyWindow(handles->window);
        throw GameError("can't create the OpenGL 3.3 context", reason);
    }
    SDL_SetWindowMinimumSize(handles->window, MinimumWidth, MinimumHeight);
    SetUpContext();
    // Keys are read by position; no text entry, so no input-method window.
    SDL_StopTextInput();
    SDL_ShowWindow(handles->window);
}

void GameWindow::SetUpContext()
{
    // The back buffer is sRGB: the renderer writes linear colour and the
    // hardware encodes it.
    srgb = DefaultFramebufferIsSrgb();
    if (srgb)
        glEnable(GL_FRAMEBUFFER_SRGB);
    resetNotification = LosesContextOnReset();
    swapInterval = -1;
    contextLost = false;
}

void GameWindow::RecreateContext()
{
    SDL_GL_MakeCurrent(handles->window, nullptr);
    SDL_GL_DeleteContext(handles->context);
    handles->context = nullptr;
    std::string reason;
    for (int attempt = 0; attempt < ContextAttempts && !handles->context; ++attempt) {
        if (attempt > 0)
            GetSleeper().Sleep(ContextRetryNanoseconds);
        RequestContext(srgbRequested, true);
        handles->context = SDL_GL_CreateContext(handles->window);
        if (!handles->context) {
            RequestContext(srgbRequested, false);
            handles->context = SDL_GL_CreateContext(handles->window);
        }
        if (!handles->context)
            reason = SDL_GetError();
    }
    if (!handles->context)
        throw GameError("can't create the OpenGL 3.3 context", reason);
    ++contextGeneration;
    SetUpContext();
}

GameWindow::~GameWindow()
{
    if (SDL_GetRelativeMouseMode())
        SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_GL_DeleteContext(handles->context);
    SDL_DestroyWindow(handles->window);
}

void GameWindow::SetFullscreenState(bool fullscreen)
{
    if (fullscreen == IsFullscreen())
        return;
    if (!fullscreen) {
        SDL_SetWindowFullscreen(handles->window, 0);
        return;
    }
    int32_t width = 0, height = 0;
    GetClientSize(width, height);
    const int display = std::max(SDL_GetWindowDisplayIndex(handles->window), 0);
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(display, &wanted, &closest))
        SDL_SetWindowDisplayMode(handles->window, &closest);
    // Failures leave the window as it is; the game goes on windowed.
    SDL_SetWindowFullscreen(handles->window, SDL_WINDOW_FULLSCREEN);
}

void GameWindow::SetWindowedStyle(int width, int height)
{
    SetFullscreenState(false);
    SDL_RestoreWindow(handles->window);
    SDL_SetWindowBordered(handles->window, SDL_TRUE);
    SDL_SetWindowResizable(handles->window, SDL_TRUE);
    // width x height is the outer size, frame included, with its corner at
    // the screen's; the frame is known only once the window manager drew it.
    int top = 0, left = 0, bottom = 0, right = 0;
    if (SDL_GetWindowBordersSize(handles->window, &top, &left, &bottom, &right) != 0)
        top = left = bottom = right = 0;
    SDL_SetWindowSize(handles->window, std::max(width - left - right, 1), std::max(height - top - bottom, 1));
    SDL_SetWindowPosition(handles->window, left, top);
}

void GameWindow::SetBorderlessStyle()
{
    SDL_SetWindowBordered(handles->window, SDL_FALSE);
    SDL_SetWindowResizable(handles->window, SDL_FALSE);
    int32_t width = 0, height = 0;
    if (VideoSystem::GetScreenSize(width, height)) {
        SDL_SetWindowPosition(handles->window, 0, 0);
        SDL_SetWindowSize(handles->window, width, height);
    } else {
        SDL_MaximizeWindow(handles->window);
    }
}

void GameWindow::SetRelativeMouseMode(bool relative)
{
    SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
}

void GameWindow::CentreCursor()
{
    int32_t width = 0, height = 0;
    GetClientSize(width, height);
    SDL_WarpMouseInWindow(handles->window, width / 2, height / 2);
}

std::vector<DisplayMode> GameWindow::GetDisplayModes() const
{
    return VideoSystem::GetDisplayModes();
}

uint32_t GameWindow::GetRefreshRate() const
{
    SDL_DisplayMode mode{};
    if (SDL_GetWindowDisplayMode(handles->window, &mode) != 0 || mode.refresh_rate <= 0)
        return 0;
    return static_cast<uint32_t>(mode.refresh_rate);
}

void GameWindow::SetClientSize(int32_t width, int32_t height)
{
    SDL_SetWindowSize(handles->window, std::max(width, 1), std::max(height, 1));
}

void GameWindow::ClearBackBuffer(const Color& colour)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(colour.r, colour.g, colour.b, colour.a);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

std::unique_ptr<gpu::Device> GameWindow::CreateGpuDevice()
{
    // A lost context stays lost: every GL call on it is ignored.
    if (contextLost)
        RecreateContext();
    SDL_GL_MakeCurrent(handles->window, handles->context);
    return std::make_unique<gpu::Device>();
}

bool GameWindow::IsGpuDeviceLost()
{
    if (!contextLost) {
        if (resetStatusSource)
            contextLost = resetStatusSource();
        else if (resetNotification)
            contextLost = ReadResetStatus() != GL_NO_ERROR;
    }
    return contextLost;
}

void GameWindow::SetResetStatusSource(std::function<bool()> source)
{
    resetStatusSource = std::move(source);
}

void GameWindow::Present(bool vsync)
{
    const int interval = vsync ? 1 : 0;
    if (interval != swapInterval) {
        SDL_GL_SetSwapInterval(interval); // a driver that cannot sync simply doesn't
        swapInterval = interval;
    }
    SDL_GL_SwapWindow(handles->window);
}

void GameWindow::SetCursorVisible(bool visible)
{
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void GameWindow::GetClientSize(int32_t& width, int32_t& height) const
{
    SDL_GL_GetDrawableSize(handles->window, &width, &height);
}

bool GameWindow::IsFullscreen() const
{
    return (SDL_GetWindowFlags(handles->window) & SDL_WINDOW_FULLSCREEN) != 0;
}

bool GameWindow::IsBordered() const
{
    return (SDL_GetWindowFlags(handles->window) & SDL_WINDOW_BORDERLESS) == 0;
}

int GameWindow::GetContextVersion() const
{
    return epoxy_gl_version();
}

uint32_t GameWindow::ReadBackBufferPixel(int32_t x, int32_t y) const
{
    int32_t width = 0, height = 0;
    GetClientSize(width, height);
    uint8_t pixel[4] = {};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, height - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    return pixel[0] | pixel[1] << 8 | pixel[2] << 16 | static_cast<uint32_t>(pixel[3]) << 24;
}

} // namespace mirefell
