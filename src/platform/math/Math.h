// Convenience include of every math type.
#pragma once

#include "platform/math/BoundingBox.h"
#include "platform/math/Color.h"
#include "platform/math/Matrix.h"
#include "platform/math/Plane.h"
#include "platform/math/Quaternion.h"
#include "platform/math/Vector.h"
