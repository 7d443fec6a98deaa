// MeshVertices: the two vertex builders.
#include "render/MeshVertices.h"

#include <bit>
#include <unordered_map>

namespace mirefell
{

namespace
{

// Smooth normals are shared by corners whose coordinates are exactly equal.
// The key holds the bit patterns with -0 folded into +0, so equal values map
// to one key and every float (NaN included) still has a well-defined key.
struct PositionKey
{
    uint32_t x, y, z;

    static uint32_t Bits(float value) { return value == 0.0f ? 0u : std::bit_cast<uint32_t>(value); }
    explicit PositionKey(const Vector3& p) : x(Bits(p.x)), y(Bits(p.y)), z(Bits(p.z)) {}
    bool operator==(const PositionKey&) const = default;
};

struct PositionKeyHash
{
    size_t operator()(const PositionKey& k) const
    {
        uint64_t h = k.x * 0x9E3779B97F4A7C15ull;
        h ^= (h >> 29) + k.y * 0xBF58476D1CE4E5B9ull;
        h ^= (h >> 31) + k.z * 0x94D049BB133111EBull;
        return static_cast<size_t>(h ^ (h >> 32));
    }
};

using SmoothNormals = std::unordered_map<PositionKey, Vector3, PositionKeyHash>;

SmoothNormals BuildSmoothNormals(const MeshGeometry& geometry)
{
    SmoothNormals normals;
    normals.reserve(geometry.positions.size());
    for (const Vector3& p : geometry.positions)
        normals.emplace(PositionKey(p), Vector3{});
    for (const MeshTriangle& t : geometry.triangles) {
        const Vector3& p1 = geometry.positions[t.a];
        const Vector3& p2 = geometry.positions[t.b];
        const Vector3& p3 = geometry.positions[t.c];
        const Vector3 normal = FaceNormal(p1, p2, p3);
        normals[PositionKey(p1)] += normal;
        normals[PositionKey(p2)] += normal;
        normals[PositionKey(p3)] += normal;
    }
    for (auto& [key, normal] : normals)
        normal = normal.Normalized();
    return normals;
}

// Whichever of normal x Z and normal x Y is longer, normalised.
Vector4 FaceTangent(const Vector3& normal)
{
    const Vector3 t1 = normal.Cross({0.0f, 0.0f, 1.0f});
    const Vector3 t2 = normal.Cross({0.0f, 1.0f, 0.0f});
    const Vector3 tangent = t1.Length() > t2.Length() ? t1.Normalized() : t2.Normalized();
    return {tangent, 0.0f};
}

float Saturate(float value)
{
    // NaN fails both tests and becomes 0.
    return value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;
}

} // namespace

uint32_t PackColour(const Vector4& colour)
{
    const auto channel = [](float value) { return static_cast<uint32_t>(Saturate(value) * 255.0f); };
    return channel(colour.x) | channel(colour.y) << 8 | channel(colour.z) << 16 | channel(colour.w) << 24;
}

Vector3 FaceNormal(const Vector3& a, const Vector3& b, const Vector3& c)
{
    return (b - a).Cross(c - a).Normalized();
}

std::vector<VertexPositionNormalTexture> BuildTextureVertices(const MeshGeometry& geometry)
{
    geometry.ValidateIndices();
    std::vector<VertexPositionNormalTexture> vertices;
    vertices.reserve(geometry.triangles.size() * 3);
    for (const MeshTriangle& t : geometry.triangles) {
        const Vector3& p1 = geometry.positions[t.a];
        const Vector3& p2 = geometry.positions[t.b];
        const Vector3& p3 = geometry.positions[t.c];
        const Vector3 normal = FaceNormal(p1, p2, p3);
        vertices.push_back({p1, normal, t.uvA});
        vertices.push_back({p2, normal, t.uvB});
        vertices.push_back({p3, normal, t.uvC});
    }
    return vertices;
}

std::vector<VertexPositionNormalTangentColorTexture> BuildColorVertices(const MeshGeometry& geometry)
{
    geometry.ValidateIndices();
    SmoothNormals smooth;
    if (geometry.smoothNormals)
        smooth = BuildSmoothNormals(geometry);
    const uint32_t geometryColour = PackColour(geometry.colour);

    std::vector<VertexPositionNormalTangentColorTexture> vertices;
    vertices.reserve(geometry.triangles.size() * 3);
    for (const MeshTriangle& t : geometry.triangles) {
        const Vector3* corners[3] = {&geometry.positions[t.a], &geometry.positions[t.b], &geometry.positions[t.c]};
        const Vector2* uvs[3] = {&t.uvA, &t.uvB, &t.uvC};
        Vector3 normals[3];
        Vector4 tangent;
        if (geometry.smoothNormals) {
            for (int k = 0; k < 3; ++k)
                normals[k] = smooth.find(PositionKey(*corners[k]))->second; // every position has an entry
            tangent = {1.0f, 1.0f, 1.0f, 0.0f};
        } else {
            const Vector3 face = FaceNormal(*corners[0], *corners[1], *corners[2]);
            normals[0] = normals[1] = normals[2] = face;
            tangent = FaceTangent(face);
        }
        const uint32_t colour = geometry.useTriangleColours ? PackColour(t.colour) : geometryColour;
        for (int k = 0; k < 3; ++k)
            vertices.push_back({*corners[k], normals[k], tangent, colour, *uvs[k]});
    }
    return vertices;
}

} // namespace mirefell
