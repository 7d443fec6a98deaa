// Camera: matrices and frustum planes.
#include "render/Camera.h"

namespace mirefell
{

namespace
{

constexpr float DegreesToRadians = 0.017453292f;

} // namespace

Camera::Camera()
{
    planes.fill({0.0f, 1.0f, 0.0f, 0.0f});
    Reset();
}

void Camera::Reset()
{
    position = {0.0f, 0.0f, 0.0f};
    target = {0.0f, 0.0f, -1.0f};
    up = {0.0f, 1.0f, 0.0f};
    UpdateView();
    UpdateProjection();
}

void Camera::UpdateView()
{
    view = Matrix::CreateLookAt(position, target, up);
    ExtractFrustumPlanes(planes, farPlane, view, projection);
}

void Camera::UpdateProjection()
{
    projection = Matrix::CreatePerspectiveFieldOfView(fieldOfView * DegreesToRadians, aspectRatio, nearPlane, farPlane);
    ExtractFrustumPlanes(planes, farPlane, view, projection);
}

void ExtractFrustumPlanes(FrustumPlanes& planes, float depth, const Matrix& view, const Matrix& projection)
{
    Matrix p = projection;
    const float zMin = -p.m[3][2] / p.m[2][2];
    const float r = depth / (depth - zMin);
    p.m[2][2] = r;
    p.m[3][2] = -r * zMin;
    const Matrix m = view * p;

    const auto column = [&m](int k) { return Vector4{m.m[0][k], m.m[1][k], m.m[2][k], m.m[3][k]}; };
    const Vector4 c1 = column(0), c2 = column(1), c3 = column(2), c4 = column(3);
    planes = {c4 + c3, c4 - c3, c4 + c1, c4 - c1, c4 - c2, c4 + c2};
    for (Vector4& plane : planes) {
        const float length = plane.XYZ().Length();
        if (length > 0.0f)
            plane = plane / length;
    }
}

} // namespace mirefell
