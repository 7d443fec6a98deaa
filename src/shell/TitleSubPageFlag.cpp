#include "shell/TitleSubPageFlag.h"

namespace mirefell
{

bool titleSubPageOpen = false;

} // namespace mirefell
