#include "shell/LevelBannerFlag.h"

namespace mirefell
{

bool showLevelBanner = false;

} // namespace mirefell
