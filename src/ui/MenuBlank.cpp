// MenuBlank: nothing but its place in the list.
#include "ui/MenuBlank.h"

namespace mirefell
{

MenuBlank::~MenuBlank() = default;

} // namespace mirefell
