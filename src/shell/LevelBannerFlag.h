// The show-level-banner flag: set when the game moves on to a new level (and
// when the title screen is entered), read and cleared by the level-start
// banner, which names the level only when it is set. A restart after death
// therefore shows no banner.
#pragma once

namespace mirefell
{

extern bool showLevelBanner;

} // namespace mirefell
