// Box against frustum.
#include "render/Frustum.h"

namespace mirefell
{

bool IsBoxInFrustum(const FrustumPlanes& planes, const float* box)
{
    for (const Vector4& plane : planes) {
        bool anyInside = false;
        for (int corner = 0; corner < 8 && !anyInside; ++corner) {
            const float x = box[(corner & 1) ? 3 : 0];
            const float y = box[(corner & 2) ? 4 : 1];
            const float z = box[(corner & 4) ? 5 : 2];
            anyInside = plane.x * x + plane.y * y + plane.z * z + plane.w >= 0.0f;
        }
        if (!anyInside)
            return false;
    }
    return true;
}

bool IsPointInBox(const Vector3& point, const float* box)
{
    return box[0] <= point.x && point.x <= box[3] && box[1] <= point.y && point.y <= box[4] && box[2] <= point.z &&
           point.z <= box[5];
}

} // namespace mirefell
