#include "ui/LevelBannerFlag.h"

namespace mirefell
{

bool showLevelBanner = false;

} // namespace mirefell
