// VideoSystem: the window system for the life of the program (SDL's video and
// event subsystems, and its audio subsystem only to hear of audio devices
// arriving). Create one before any window, event pump or display query;
// destroying it shuts them down. Instances nest.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Window.h"

namespace mirefell
{

class VideoSystem
{
public:
    // Throws GameError "can't start the video system" with SDL's reason.
    VideoSystem();
    ~VideoSystem();
    VideoSystem(const VideoSystem&) = delete;
    VideoSystem& operator=(const VideoSystem&) = delete;

    // The modes of the first display in the game's order (see
    // OrderDisplayModes). A display that lists no usable mode reports its
    // desktop mode alone; empty only when even that is unknown.
    static std::vector<DisplayMode> GetDisplayModes();
    // The desktop size of the first display; false when it is unknown.
    static bool GetScreenSize(int32_t& width, int32_t& height);

private:
    bool audioEvents = false;
};

} // namespace mirefell
