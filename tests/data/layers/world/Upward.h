// A world header that reaches up: the layer check must name line 5, and not
// the commented-out include of line 6.
#pragma once

#include "gameplay/Player.h"
// #include "app/Core.h"
#include "render/Mesh.h"
