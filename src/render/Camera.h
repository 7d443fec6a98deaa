// Camera: an eye, a look-at point and an up vector, the view and projection
// matrices built from them and four perspective values, and the six frustum
// planes culling tests against. Core owns the main camera every world pass
// draws with; the weapon view and the title scene own their own. Matrices
// are row-vector, right-handed, clip depth 0..1.
//
// Nothing is rebuilt implicitly: whoever changes position, target or up
// calls UpdateView; whoever changes fieldOfView, aspectRatio or the two
// distances calls UpdateProjection. Both rebuild the planes.
#pragma once

#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"
#include "render/Frustum.h"

namespace mirefell
{

class Camera
{
public:
    // The values below, then Reset.
    Camera();

    // Eye at the origin looking down -Z with Y up; view, projection and
    // planes rebuilt.
    void Reset();
    // View = right-handed look-at from position toward target with up; then
    // the planes.
    void UpdateView();
    // Projection = right-handed perspective of fieldOfView (degrees),
    // aspectRatio, nearPlane, farPlane; then the planes. A field of view or
    // aspect ratio of 0 gives a degenerate projection: callers keep them in
    // range.
    void UpdateProjection();

    Vector3 position;
    Vector3 target;
    Vector3 up;
    Matrix view;
    Matrix projection;
    FrustumPlanes planes;
    float fieldOfView = 90.0f;      // vertical, degrees
    float aspectRatio = 1.7777778f; // width / height
    float nearPlane = 0.1f;
    float farPlane = 1500.0f; // also the depth of the culling frustum
};

// The frustum of view x projection with the projection's depth range
// rewritten to end at `depth`, planes normalised, in the order near, far,
// left, right, top, bottom.
//
// With a right-handed projection the near and far rows come out as the
// view-space half-spaces z <= depth and z <= -depth * near / (2 depth + near)
// rather than the slab in front of the eye: boxes behind the eye are still
// rejected by the side planes, but boxes beyond the far distance in front of
// the eye are never culled. Culling has always worked this way and the
// levels are tuned to it; it is kept.
void ExtractFrustumPlanes(FrustumPlanes& planes, float depth, const Matrix& view, const Matrix& projection);

} // namespace mirefell
