// The callbacks of the World's object queries. Visitors and tests are
// called synchronously, once per object, and never kept (FunctionRef, no
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
// A search's test: true ends the search with the object. Called while the
// cells are read in place, so it must not move objects between cells.
using ObjectTest = FunctionRef<bool(GridObject*)>;
// True takes the object.
using ObjectPredicate = std::function<bool(GridObject*)>;

} // namespace mirefell
