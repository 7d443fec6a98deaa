// The back buffer's size in pixels, process-wide. Game::Initialize stores the
// size the window was made with; afterwards every size change of Core stores
// the new size before any renderer or UI part hears of it. The renderer and
// the user interface read these two.
#pragma once

#include <cstdint>

namespace mirefell
{

inline int32_t ScreenWidth = 0;
inline int32_t ScreenHeight = 0;

} // namespace mirefell
