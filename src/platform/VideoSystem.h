// VideoSystem: the window system for the life of the program (SDL's video and
// event subsystems, and its audio subsystem only to hear of audio devices
// arriving). Create one before any window, event pump or display query;
// destroying it shuts them down. Instances nest.
//
// While SDL starts, it is shown no system bus: given a session bus, SDL
// connects to the system bus too as its video starts (for thread priorities
// the game never asks for), on the calling thread and with no time-out, so a
// system bus that never answers would hold the start for good. The game's
// own use of that bus (SystemSleepEvents) waits on a thread of its own.
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
    // DBUS_SYSTEM_BUS_ADDRESS is as it was when this returns.
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
