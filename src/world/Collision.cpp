// Collision: the ellipsoid collide-and-slide sweep.
#include "world/Collision.h"

#include <cmath>
#include <utility>

// Degenerate sweeps are rejected by comparisons with NaN being false; fast
// math would let the compiler assume there are no NaNs and break that.
#if defined(__FAST_MATH__)
#error "the collision sweep needs IEEE comparisons: build without -ffast-math"
#endif

namespace mirefell
{

CollisionResult Collision::Slide(const Vector3& start, Vector3& end, float gravity, const Vector3& radius,
                                 const TriangleSource& source)
{
    return Run(start, end, radius, gravity, false, source);
}

CollisionResult Collision::SweepToContact(const Vector3& start, Vector3& end, const Vector3& radius,
                                          const TriangleSource& source)
{
    return Run(start, end, radius, 0.0f, true, source);
}

CollisionResult Collision::Run(const Vector3& start, Vector3& end, const Vector3& radius, float gravity,
                               bool stopAtContact, const TriangleSource& source)
{
    CollisionPacket packet;
    packet.radius = radius;
    packet.start = start;
    packet.velocity = end - start;
    packet.stopAtContact = stopAtContact;
    packet.gravity = gravity;
    CollisionResult result = CollideAndSlide(packet, source);
    end = result.position;
    return result;
}

CollisionResult Collision::CollideAndSlide(CollisionPacket& packet, const TriangleSource& source)
{
    const Vector3& radius = packet.radius;
    packet.eVelocity =
        Vector3(packet.velocity.x / radius.x, packet.velocity.y / radius.y, packet.velocity.z / radius.z);
    packet.basePoint = Vector3(packet.start.x / radius.x, packet.start.y / radius.y, packet.start.z / radius.z);
    packet.depth = 0;
    packet.touched = false;
    const float startY = packet.basePoint.y;
    Vector3 end = CollideWithWorld(packet, source);
    const bool slideTouched = packet.touched;

    CollisionResult result;
    result.movedUp = end.y > startY;
    // After stepping up a ledge the mover is not pulled straight back down.
    if (packet.gravity != 0.0f && !result.movedUp) {
        packet.eVelocity = Vector3(0.0f, -GravityStep * packet.gravity / radius.y, 0.0f);
        packet.basePoint = end;
        packet.depth = 0;
        end = CollideWithWorld(packet, source);
    }

    result.position = end * radius;
    // A body pressed to the floor that slid up a step's edge is on its feet:
    // the slide's last pass usually runs free above the edge, and taking
    // only that pass would report every climbing step as a fall (no eye
    // smoothing on the way up, no jump from the stairs). A rising body
    // (negative gravity) that slid over an edge keeps rising.
    result.collided = packet.foundCollision || (result.movedUp && packet.gravity > 0.0f && slideTouched);
    result.hitObject = packet.hitObject;
    result.hitNormal = packet.hitNormal;
    return result;
}

Vector3 Collision::CollideWithWorld(CollisionPacket& packet, const TriangleSource& source)
{
    if (packet.depth > MaxDepth)
        return packet.basePoint;

    packet.normalizedVelocity = packet.eVelocity.Normalized();
    packet.foundCollision = false;
    packet.nearestDistance = 0.0f;
    source([&packet](GridObject* owner, const Vector3& a, const Vector3& b, const Vector3& c, int32_t) {
        CheckTriangle(packet, owner, a, b, c);
    });

    if (!packet.foundCollision)
        return packet.basePoint + packet.eVelocity;
    packet.touched = true;

    const Vector3 destination = packet.basePoint + packet.eVelocity;
    Vector3 newBase = packet.basePoint;
    // Stop a little short of the contact, so that the next pass does not
    // start touching the surface.
    if (packet.nearestDistance >= VeryCloseDistance) {
        const Vector3 v = packet.normalizedVelocity * (packet.nearestDistance - VeryCloseDistance);
        newBase = packet.basePoint + v;
        packet.intersectionPoint -= v.Normalized() * VeryCloseDistance;
    }

    if (packet.stopAtContact) {
        packet.basePoint = newBase;
        return newBase;
    }

    // Slide: project the destination onto the plane tangent to the sphere
    // at the contact; what is left of the move runs along that plane.
    const Vector3 slideNormal = (newBase - packet.intersectionPoint).Normalized();
    const float distance = (destination - packet.intersectionPoint).Dot(slideNormal);
    const Vector3 newDestination = destination - slideNormal * distance;
    const Vector3 newVelocity = newDestination - packet.intersectionPoint;

    if (newVelocity.Length() < VeryCloseDistance)
        return newBase;

    packet.depth += 1;
    packet.basePoint = newBase;
    packet.eVelocity = newVelocity;
    return CollideWithWorld(packet, source);
}

void Collision::CheckTriangle(CollisionPacket& packet, GridObject* owner, const Vector3& worldA, const Vector3& worldB,
                              const Vector3& worldC)
{
    const Vector3& radius = packet.radius;
    const auto toEllipsoid = [&radius](const Vector3& p) {
        return Vector3(p.x / radius.x, p.y / radius.y, p.z / radius.z);
    };
    const Vector3 a = toEllipsoid(worldA);
    const Vector3 b = toEllipsoid(worldB);
    const Vector3 c = toEllipsoid(worldC);

    const Vector3 normal = (b - a).Cross(c - a).Normalized();
    const float constant = -normal.Dot(a);

    // One-sided: a triangle facing away from the motion is never touched.
    if (normal.Dot(packet.normalizedVelocity) > 0.0f)
        return;

    const Vector3& base = packet.basePoint;
    const Vector3& velocity = packet.eVelocity;
    const float signedDistance = normal.Dot(base) + constant;
    const float normalDotVelocity = normal.Dot(velocity);

    float t0 = 0.0f;
    bool embedded = false;
    if (normalDotVelocity == 0.0f) {
        // Moving parallel to the plane: touching only when already within it.
        if (std::fabs(signedDistance) >= 1.0f)
            return;
        embedded = true;
    } else {
        t0 = (-1.0f - signedDistance) / normalDotVelocity;
        float t1 = (1.0f - signedDistance) / normalDotVelocity;
        if (t0 > t1)
            std::swap(t0, t1);
        if (t0 > 1.0f || t1 < 0.0f)
            return;
        if (t0 < 0.0f)
            t0 = 0.0f;
    }

    bool found = false;
    float t = 1.0f;
    Vector3 contact;
    if (!embedded) {
        const Vector3 planePoint = base - normal + velocity * t0;
        if (PointInTriangle(planePoint, a, b, c)) {
            found = true;
            t = t0;
            contact = planePoint;
        }
    }

    if (!found) {
        // The sphere can only meet a vertex or an edge.
        const float velocitySquared = velocity.LengthSquared();
        float root = 0.0f;
        for (const Vector3* p : {&a, &b, &c}) {
            const float k1 = 2.0f * velocity.Dot(base - *p);
            const float k0 = (*p - base).LengthSquared() - 1.0f;
            if (LowestRoot(velocitySquared, k1, k0, t, root)) {
                t = root;
                found = true;
                contact = *p;
            }
        }

        const Vector3* edges[3][2] = {{&a, &b}, {&b, &c}, {&c, &a}};
        for (const auto& edge : edges) {
            const Vector3& start = *edge[0];
            const Vector3 e = *edge[1] - start;
            const Vector3 s = start - base;
            const float edgeSquared = e.LengthSquared();
            const float edgeDotVelocity = e.Dot(velocity);
            const float edgeDotS = e.Dot(s);
            const float k2 = edgeSquared * -velocitySquared + edgeDotVelocity * edgeDotVelocity;
            const float k1 = edgeSquared * (2.0f * velocity.Dot(s)) - 2.0f * edgeDotVelocity * edgeDotS;
            const float k0 = edgeSquared * (1.0f - s.LengthSquared()) + edgeDotS * edgeDotS;
            if (LowestRoot(k2, k1, k0, t, root)) {
                const float f = (edgeDotVelocity * root - edgeDotS) / edgeSquared;
                if (f >= 0.0f && f <= 1.0f) {
                    t = root;
                    found = true;
                    contact = start + e * f;
                }
            }
        }
    }

    if (!found)
        return;
    const float distance = t * velocity.Length();
    if (!packet.foundCollision || distance < packet.nearestDistance) {
        packet.nearestDistance = distance;
        packet.intersectionPoint = contact;
        packet.foundCollision = true;
        packet.hitNormal = normal;
        packet.hitObject = owner;
    }
}

bool Collision::PointInTriangle(const Vector3& p, const Vector3& a, const Vector3& b, const Vector3& c)
{
    const auto sameSide = [](const Vector3& point, const Vector3& from, const Vector3& to, const Vector3& other) {
        const Vector3 edge = to - from;
        return edge.Cross(point - from).Dot(edge.Cross(other - from)) >= 0.0f;
    };
    return sameSide(p, b, c, a) && sameSide(p, a, c, b) && sameSide(p, a, b, c);
}

bool Collision::LowestRoot(float k2, float k1, float k0, float limit, float& root)
{
    const float determinant = k1 * k1 - 4.0f * k2 * k0;
    if (determinant < 0.0f)
        return false;
    const float q = std::sqrt(determinant);
    float r1 = (-k1 - q) / (2.0f * k2);
    float r2 = (-k1 + q) / (2.0f * k2);
    if (r1 > r2)
        std::swap(r1, r2);
    if (r1 > 0.0f && r1 < limit) {
        root = r1;
        return true;
    }
    if (r2 > 0.0f && r2 < limit) {
        root = r2;
        return true;
    }
    return false;
}

} // namespace mirefell
