// MeshModel: triangles, picture-space parts, the opacity check and the writer.
#include "MeshModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

namespace mirefell::assetgen
{

namespace
{

constexpr float TwoPi = 6.2831853f;
// How far texture look-ups stay inside a part's painted edge, in pixels, so
// that filtering never reaches past the edge.
constexpr float Inset = 0.5f;

Vector2 Centroid(const std::vector<Vector2>& points)
{
    Vector2 sum;
    for (const Vector2& p : points)
        sum += p;
    return sum / static_cast<float>(points.size());
}

// The convex polygon with every edge moved `amount` towards the inside.
std::vector<Vector2> InsetPolygon(const std::vector<Vector2>& polygon, float amount)
{
    const Vector2 centre = Centroid(polygon);
    const size_t n = polygon.size();
    const auto inwardNormal = [&](size_t i) {
        const Vector2 a = polygon[i], b = polygon[(i + 1) % n];
        Vector2 normal = Vector2{-(b - a).y, (b - a).x}.Normalized();
        if (normal.Dot(centre - (a + b) * 0.5f) < 0.0f)
            normal = normal * -1.0f;
        return normal;
    };
    std::vector<Vector2> result(n);
    for (size_t i = 0; i < n; ++i) {
        const Vector2 before = inwardNormal((i + n - 1) % n), after = inwardNormal(i);
        const float miter = 1.0f + before.Dot(after);
        result[i] = miter > 1e-3f ? polygon[i] + (before + after) * (amount / miter) : polygon[i];
    }
    return result;
}

std::string Format(const char* format, float a, float b, float c = 0.0f)
{
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<double>(a), static_cast<double>(b), static_cast<double>(c));
    return text;
}

} // namespace

void Model::Triangle(ModelCorner a, ModelCorner b, ModelCorner c, const Vector3& outward)
{
    const Vector3 normal = (b.position - a.position).Cross(c.position - a.position);
    if (normal.LengthSquared() < 1e-12f)
        return; // degenerate: covers nothing
    if (normal.Dot(outward) < 0.0f)
        std::swap(b, c);
    triangles.push_back({{a, b, c}});
}

void Model::Quad(const ModelCorner (&corners)[4], const Vector3& outward)
{
    Triangle(corners[0], corners[1], corners[2], outward);
    Triangle(corners[0], corners[2], corners[3], outward);
}

void Model::Transform(const Matrix& transform)
{
    for (ModelTriangle& triangle : triangles)
        for (ModelCorner& corner : triangle.corners)
            corner.position = TransformPoint(corner.position, transform);
}

void Model::Append(const Model& other)
{
    triangles.insert(triangles.end(), other.triangles.begin(), other.triangles.end());
}

PictureModel::PictureModel(float unit_, float centreX_, float centreY_, float width_, float height_)
    : unit(unit_), centreX(centreX_), centreY(centreY_), width(width_), height(height_)
{}

Vector3 PictureModel::Position(float x, float y, float depth) const
{
    return {(x + shift.x - centreX) * unit, (centreY - y - shift.y) * unit, (depth + shift.z) * unit};
}

void PictureModel::Prism(const std::vector<Vector2>& polygon, float d0, float d1)
{
    const std::vector<Vector2> inset = InsetPolygon(polygon, Inset);
    const Vector2 centre = Centroid(polygon);
    const float middle = (d0 + d1) * 0.5f;
    const Vector3 solidCentre = Position(centre.x, centre.y, middle);
    const size_t n = polygon.size();

    for (size_t i = 1; i + 1 < n; ++i) {
        for (float depth : {d0, d1}) {
            const Vector3 outward = Position(centre.x, centre.y, depth) - solidCentre;
            model.Triangle({Position(polygon[0].x, polygon[0].y, depth), Uv(inset[0].x, inset[0].y)},
                           {Position(polygon[i].x, polygon[i].y, depth), Uv(inset[i].x, inset[i].y)},
                           {Position(polygon[i + 1].x, polygon[i + 1].y, depth), Uv(inset[i + 1].x, inset[i + 1].y)},
                           outward);
        }
    }
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        const Vector2 mid = (polygon[i] + polygon[j]) * 0.5f;
        const Vector3 outward = Position(mid.x, mid.y, middle) - solidCentre;
        const Vector2 uvI = Uv(inset[i].x, inset[i].y), uvJ = Uv(inset[j].x, inset[j].y);
        model.Quad({{Position(polygon[i].x, polygon[i].y, d0), uvI},
                    {Position(polygon[j].x, polygon[j].y, d0), uvJ},
                    {Position(polygon[j].x, polygon[j].y, d1), uvJ},
                    {Position(polygon[i].x, polygon[i].y, d1), uvI}},
                   outward);
    }
}

void PictureModel::Box(float x0, float y0, float x1, float y1, float d0, float d1)
{
    Prism({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, d0, d1);
}

void PictureModel::CylinderX(float x0, float x1, float cy, float r, float dc, int sides)
{
    const float ru = std::max(r - Inset, 0.0f);
    const float u0 = x0 + Inset, u1 = x1 - Inset;
    const auto ring = [&](int k, float x) {
        const float angle = TwoPi * static_cast<float>(k % sides) / static_cast<float>(sides);
        return ModelCorner{Position(x, cy - r * std::cos(angle), dc + r * std::sin(angle)),
                           Uv(x == x0 ? u0 : u1, cy - ru * std::cos(angle))};
    };
    const Vector3 axis0 = Position(x0, cy, dc), axis1 = Position(x1, cy, dc);
    for (int k = 0; k < sides; ++k) {
        const ModelCorner a = ring(k, x0), b = ring(k + 1, x0), c = ring(k + 1, x1), d = ring(k, x1);
        const Vector3 centre = (a.position + b.position + c.position + d.position) * 0.25f;
        model.Quad({a, b, c, d}, centre - (axis0 + axis1) * 0.5f);
        model.Triangle({axis0, Uv(u0, cy)}, a, b, axis0 - axis1);
        model.Triangle({axis1, Uv(u1, cy)}, d, c, axis1 - axis0);
    }
}

void PictureModel::CylinderY(float y0, float y1, float cx, float r, float dc, int sides)
{
    const float ru = std::max(r - Inset, 0.0f);
    const float v0 = y0 + Inset, v1 = y1 - Inset;
    const auto ring = [&](int k, float y) {
        const float angle = TwoPi * static_cast<float>(k % sides) / static_cast<float>(sides);
        return ModelCorner{Position(cx + r * std::cos(angle), y, dc + r * std::sin(angle)),
                           Uv(cx + ru * std::cos(angle), y == y0 ? v0 : v1)};
    };
    const Vector3 axis0 = Position(cx, y0, dc), axis1 = Position(cx, y1, dc);
    for (int k = 0; k < sides; ++k) {
        const ModelCorner a = ring(k, y0), b = ring(k + 1, y0), c = ring(k + 1, y1), d = ring(k, y1);
        const Vector3 centre = (a.position + b.position + c.position + d.position) * 0.25f;
        model.Quad({a, b, c, d}, centre - (axis0 + axis1) * 0.5f);
        model.Triangle({axis0, Uv(cx, v0)}, a, b, axis0 - axis1);
        model.Triangle({axis1, Uv(cx, v1)}, d, c, axis1 - axis0);
    }
}

void PictureModel::Lathe(float cx, const std::vector<Vector2>& profile, int sides)
{
    const auto corner = [&](size_t i, int k) {
        const float angle = TwoPi * static_cast<float>(k % sides) / static_cast<float>(sides);
        const float r = profile[i].x, y = profile[i].y;
        const float ru = std::max(r - Inset, 0.0f);
        return ModelCorner{Position(cx + r * std::cos(angle), y, r * std::sin(angle)),
                           Uv(cx + ru * std::cos(angle), y)};
    };
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        const Vector3 axis = Position(cx, (profile[i].y + profile[i + 1].y) * 0.5f, 0.0f);
        for (int k = 0; k < sides; ++k) {
            const ModelCorner a = corner(i, k), b = corner(i, k + 1), c = corner(i + 1, k + 1), d = corner(i + 1, k);
            const Vector3 centre = (a.position + b.position + c.position + d.position) * 0.25f;
            model.Quad({a, b, c, d}, centre - axis);
        }
    }
    // Flat ends where the profile does not close on the axis.
    const auto cap = [&](size_t i, float inward) {
        if (profile[i].x <= 0.0f)
            return;
        const Vector3 middle = Position(cx, profile[i].y, 0.0f);
        const Vector2 uv = Uv(cx, profile[i].y + inward * Inset);
        for (int k = 0; k < sides; ++k) {
            ModelCorner a = corner(i, k), b = corner(i, k + 1);
            a.uv.y = b.uv.y = uv.y;
            model.Triangle({middle, uv}, a, b, Vector3{0.0f, inward > 0.0f ? 1.0f : -1.0f, 0.0f});
        }
    };
    cap(0, 1.0f);
    cap(profile.size() - 1, -1.0f);
}

void PictureModel::Sphere(float cx, float cy, float r, int subdivisions)
{
    std::vector<Vector3> corners = {{0, 1, 0},  {0, 0, -1}, {1, 0, 0},  {0, 1, 0},  {1, 0, 0},  {0, 0, 1},
                                    {0, 1, 0},  {0, 0, 1},  {-1, 0, 0}, {0, 1, 0},  {-1, 0, 0}, {0, 0, -1},
                                    {0, -1, 0}, {0, 0, -1}, {-1, 0, 0}, {0, -1, 0}, {-1, 0, 0}, {0, 0, 1},
                                    {0, -1, 0}, {0, 0, 1},  {1, 0, 0},  {0, -1, 0}, {1, 0, 0},  {0, 0, -1}};
    for (int s = 0; s < subdivisions; ++s) {
        std::vector<Vector3> finer;
        finer.reserve(corners.size() * 4);
        for (size_t t = 0; t < corners.size(); t += 3) {
            const Vector3 a = corners[t], b = corners[t + 1], c = corners[t + 2];
            const Vector3 ab = ((a + b) * 0.5f).Normalized(), bc = ((b + c) * 0.5f).Normalized(),
                          ca = ((c + a) * 0.5f).Normalized();
            for (const Vector3& p : {a, ab, ca, ab, b, bc, ca, bc, c, ab, bc, ca})
                finer.push_back(p);
        }
        corners = std::move(finer);
    }
    const float ru = std::max(r - 2.0f * Inset, 0.0f);
    const auto corner = [&](const Vector3& u) {
        return ModelCorner{Position(cx + u.x * r, cy - u.y * r, u.z * r), Uv(cx + u.x * ru, cy - u.y * ru)};
    };
    for (size_t t = 0; t < corners.size(); t += 3) {
        const Vector3 outward = corners[t] + corners[t + 1] + corners[t + 2];
        model.Triangle(corner(corners[t]), corner(corners[t + 1]), corner(corners[t + 2]), outward);
    }
}

void PictureModel::Extrude(const Image& picture, int x0, int y0, int x1, int y1, float d0, float d1)
{
    const auto opaque = [&](int x, int y) {
        if (x < x0 || y < y0 || x >= x1 || y >= y1)
            return false;
        return picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4 + 3] >= 128;
    };
    // Faces: runs of opaque pixels per row, merged down while the run below
    // is the same.
    std::vector<std::vector<bool>> used(static_cast<size_t>(y1 - y0), std::vector<bool>(size_t(x1 - x0), false));
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!opaque(x, y) || used[size_t(y - y0)][size_t(x - x0)])
                continue;
            int end = x;
            while (end < x1 && opaque(end, y) && !used[size_t(y - y0)][size_t(end - x0)])
                ++end;
            int bottom = y + 1;
            const auto sameRun = [&](int row) {
                for (int k = x; k < end; ++k)
                    if (!opaque(k, row) || used[size_t(row - y0)][size_t(k - x0)])
                        return false;
                return true;
            };
            while (bottom < y1 && sameRun(bottom))
                ++bottom;
            for (int row = y; row < bottom; ++row)
                for (int k = x; k < end; ++k)
                    used[size_t(row - y0)][size_t(k - x0)] = true;
            const float left = float(x), right = float(end), top = float(y), low = float(bottom);
            for (float depth : {d0, d1}) {
                const Vector3 outward{0.0f, 0.0f, depth > (d0 + d1) * 0.5f ? 1.0f : -1.0f};
                model.Quad({{Position(left, top, depth), Uv(left, top)},
                            {Position(right, top, depth), Uv(right, top)},
                            {Position(right, low, depth), Uv(right, low)},
                            {Position(left, low, depth), Uv(left, low)}},
                           outward);
            }
        }
    }
    // Walls: along every edge between an opaque pixel and a clear one, runs
    // merged along the edge; textured from the edge pixels' centres.
    for (int y = y0; y < y1; ++y) {
        for (int side : {-1, 1}) {
            for (int x = x0; x < x1;) {
                if (!opaque(x, y) || opaque(x, y + side)) {
                    ++x;
                    continue;
                }
                int end = x;
                while (end < x1 && opaque(end, y) && !opaque(end, y + side))
                    ++end;
                const float edge = side < 0 ? float(y) : float(y + 1);
                const float v = float(y) + 0.5f;
                model.Quad({{Position(float(x), edge, d0), Uv(float(x) + 0.5f, v)},
                            {Position(float(end), edge, d0), Uv(float(end) - 0.5f, v)},
                            {Position(float(end), edge, d1), Uv(float(end) - 0.5f, v)},
                            {Position(float(x), edge, d1), Uv(float(x) + 0.5f, v)}},
                           Vector3{0.0f, side < 0 ? 1.0f : -1.0f, 0.0f});
                x = end;
            }
        }
    }
    for (int x = x0; x < x1; ++x) {
        for (int side : {-1, 1}) {
            for (int y = y0; y < y1;) {
                if (!opaque(x, y) || opaque(x + side, y)) {
                    ++y;
                    continue;
                }
                int end = y;
                while (end < y1 && opaque(x, end) && !opaque(x + side, end))
                    ++end;
                const float edge = side < 0 ? float(x) : float(x + 1);
                const float u = float(x) + 0.5f;
                model.Quad({{Position(edge, float(y), d0), Uv(u, float(y) + 0.5f)},
                            {Position(edge, float(end), d0), Uv(u, float(end) - 0.5f)},
                            {Position(edge, float(end), d1), Uv(u, float(end) - 0.5f)},
                            {Position(edge, float(y), d1), Uv(u, float(y) + 0.5f)}},
                           Vector3{side < 0 ? -1.0f : 1.0f, 0.0f, 0.0f});
                y = end;
            }
        }
    }
}

void PictureModel::MappedBox(float x0, float y0, float x1, float y1, float d0, float d1, const Vector2 (&uvCorners)[3])
{
    const Vector2 origin = uvCorners[0], sideS = uvCorners[1] - origin, sideT = uvCorners[2] - origin;
    const auto uv = [&](float s, float t) {
        const Vector2 p = origin + sideS * s + sideT * t;
        return Uv(p.x, p.y);
    };
    const Vector3 centre = Position((x0 + x1) * 0.5f, (y0 + y1) * 0.5f, (d0 + d1) * 0.5f);
    const auto face = [&](Vector3 p0, Vector3 p1, Vector3 p2, Vector3 p3) {
        const Vector3 faceCentre = (p0 + p1 + p2 + p3) * 0.25f;
        model.Quad({{p0, uv(0, 0)}, {p1, uv(1, 0)}, {p2, uv(1, 1)}, {p3, uv(0, 1)}}, faceCentre - centre);
    };
    const auto P = [&](float x, float y, float d) { return Position(x, y, d); };
    face(P(x0, y0, d1), P(x1, y0, d1), P(x1, y1, d1), P(x0, y1, d1)); // front
    face(P(x1, y0, d0), P(x0, y0, d0), P(x0, y1, d0), P(x1, y1, d0)); // back
    face(P(x0, y0, d0), P(x1, y0, d0), P(x1, y0, d1), P(x0, y0, d1)); // top
    face(P(x0, y1, d1), P(x1, y1, d1), P(x1, y1, d0), P(x0, y1, d0)); // bottom
    face(P(x0, y0, d0), P(x0, y0, d1), P(x0, y1, d1), P(x0, y1, d0)); // left
    face(P(x1, y0, d1), P(x1, y0, d0), P(x1, y1, d0), P(x1, y1, d1)); // right
}

void CheckOpaque(const Model& model, const Image& picture, const std::string& name)
{
    const auto alphaAt = [&](const Vector2& uv) {
        const int x = std::clamp(static_cast<int>(std::floor(uv.x * picture.width)), 0, int(picture.width) - 1);
        const int y = std::clamp(static_cast<int>(std::floor(uv.y * picture.height)), 0, int(picture.height) - 1);
        return picture.rgba[(static_cast<size_t>(y) * picture.width + x) * 4 + 3];
    };
    for (const ModelTriangle& t : model.Triangles()) {
        const Vector2 centre = (t.corners[0].uv + t.corners[1].uv + t.corners[2].uv) / 3.0f;
        Vector2 samples[4] = {centre};
        for (int k = 0; k < 3; ++k)
            samples[k + 1] = t.corners[k].uv * 0.85f + centre * 0.15f;
        for (const Vector2& uv : samples)
            if (alphaAt(uv) < 128)
                throw std::runtime_error("mesh " + name + " samples a clear texel at (" +
                                         std::to_string(uv.x * picture.width) + ", " +
                                         std::to_string(uv.y * picture.height) + ")");
    }
}

std::string WriteMeshText(const Model& model, const std::string& name)
{
    std::map<std::string, size_t> positions, uvs, normals;
    std::string vertexLines, uvLines, normalLines, faceLines;
    const auto index = [](std::map<std::string, size_t>& table, std::string& lines, const std::string& line) {
        const auto [entry, added] = table.emplace(line, table.size() + 1);
        if (added)
            lines += line;
        return entry->second;
    };
    for (const ModelTriangle& t : model.Triangles()) {
        const Vector3 n =
            (t.corners[1].position - t.corners[0].position).Cross(t.corners[2].position - t.corners[0].position);
        const Vector3 normal = n.Normalized();
        const size_t ni = index(normals, normalLines, Format("vn %.4f %.4f %.4f\n", normal.x, normal.y, normal.z));
        faceLines += "f";
        for (const ModelCorner& corner : t.corners) {
            const Vector3& p = corner.position;
            const size_t pi = index(positions, vertexLines, Format("v %.4f %.4f %.4f\n", p.x, p.y, p.z));
            const size_t ti = index(uvs, uvLines, Format("vt %.6f %.6f\n", corner.uv.x, 1.0f - corner.uv.y));
            faceLines += " " + std::to_string(pi) + "/" + std::to_string(ti) + "/" + std::to_string(ni);
        }
        faceLines += "\n";
    }
    return "# " + name + ", written by the mirefell asset generator\n" + vertexLines + uvLines + normalLines +
           faceLines;
}

} // namespace mirefell::assetgen
