// The callbacks of the World's object queries. Visitors are called
// synchronously, once per object, and never kept (FunctionRef, no
// allocation). A predicate only filters; the sources keep theirs, so it is a
// std::function: keep its captures to two pointers, which std::function
// stores without allocating, so the fixed step stays allocation-free.
#pragma once

#include <functional>

#include "world/FunctionRef.h"

namespace mirefell
{

class GridObject;

using ObjectVisitor = FunctionRef<void(GridObject*)>;
// True takes the object.
using ObjectPredicate = std::function<bool(GridObject*)>;

} // namespace mirefell
