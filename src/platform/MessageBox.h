// The error report of last resort: a modal message box over the desktop,
// used by the program entry when an error escapes. Shows nothing (and returns)
// when there is no display to show it on.
#pragma once

#include <string>

namespace mirefell
{

void ShowErrorMessageBox(const std::string& title, const std::string& message);

} // namespace mirefell
