// GpuError: a GPU-layer call that failed (a shader that does not compile, an
// input layout that does not fit its shader, a texture the driver refuses).
// what() names the failed call, as Direct3D's error codes name nothing more;
// the driver's own text (a compiler log) travels in Detail() for the
// top-level handler and for tests.
#pragma once

#include <stdexcept>
#include <string>

namespace mirefell::gpu
{

class GpuError : public std::runtime_error
{
public:
    explicit GpuError(const std::string& call, std::string detail_ = {})
        : std::runtime_error(call), detail(std::move(detail_))
    {}
    const std::string& Detail() const noexcept { return detail; }

private:
    std::string detail;
};

} // namespace mirefell::gpu
