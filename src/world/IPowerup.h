// IPowerup: the handle by which level scripts recognise a pickup (compared
// by identity); it has no operations of its own.
#pragma once

namespace mirefell
{

class IPowerup
{
public:
    virtual ~IPowerup() = default;
};

} // namespace mirefell
