// GpuError: a GPU-layer call that failed (a shader that does not compile, an
// input layout that does not fit its shader, a texture the driver refuses).
// what() names the failed call, as Direct3D's error codes name nothing more;
// the detail (the compiler's first lines, the size asked for, the file the
// caller read) travels in Detail(). It is the game's own error type, so the
// program entry's one handler prints both.
#pragma once

#include <string>

#include "platform/GameError.h"

namespace mirefell::gpu
{

class GpuError : public GameError
{
public:
    explicit GpuError(const std::string& call, std::string detail = {}) : GameError(call, std::move(detail)) {}
};

} // namespace mirefell::gpu
