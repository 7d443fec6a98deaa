// DebugLines: the process-wide instance.
#include "render/DebugLines.h"

namespace mirefell
{

DebugLines& DebugLines::GetInstance()
{
    static DebugLines instance;
    return instance;
}

} // namespace mirefell
