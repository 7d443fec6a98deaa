// An app file may include every layer below it.
#include "platform/Clock.h"
#include "world/World.h"
