// MeshFile: tokenising, checking and building.
#include "render/MeshFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>

#include "platform/GameError.h"

namespace mirefell
{

namespace
{

constexpr const char* InvalidFile = "mesh file is invalid";

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A cursor over one line that reads numbers the way the file format wants:
// whitespace before a number is skipped, an optional '+' or '-' sign is
// accepted, and a number that does not parse or overflows counts as missing.
class LineReader
{
public:
    explicit LineReader(std::string_view line_) : line(line_) {}

    std::string_view Token()
    {
        SkipSpace();
        const size_t start = at;
        while (at < line.size() && !IsSpace(line[at]))
            ++at;
        return line.substr(start, at - start);
    }

    bool Float(float& value)
    {
        SkipSpace();
        bool negative = false;
        if (at < line.size() && (line[at] == '+' || line[at] == '-'))
            negative = line[at++] == '-';
        if (at < line.size() && (line[at] == '+' || line[at] == '-'))
            return false;
        const auto [end, error] = std::from_chars(line.data() + at, line.data() + line.size(), value);
        if (error != std::errc())
            return false;
        at = static_cast<size_t>(end - line.data());
        if (negative)
            value = -value;
        return true;
    }

    bool Int(int32_t& value)
    {
        SkipSpace();
        if (at < line.size() && line[at] == '+')
            ++at;
        const auto [end, error] = std::from_chars(line.data() + at, line.data() + line.size(), value);
        if (error != std::errc())
            return false;
        at = static_cast<size_t>(end - line.data());
        return true;
    }

    bool Literal(char c)
    {
        if (at >= line.size() || line[at] != c)
            return false;
        ++at;
        return true;
    }

private:
    void SkipSpace()
    {
        while (at < line.size() && IsSpace(line[at]))
            ++at;
    }

    std::string_view line;
    size_t at = 0;
};

[[noreturn]] void Reject(const std::string& path, uint32_t line, const std::string& what)
{
    throw GameError(InvalidFile, path + " line " + std::to_string(line) + ": " + what);
}

void CheckFaceIndices(const MeshText& text, const std::string& path)
{
    for (const MeshFace& face : text.faces) {
        for (int corner = 0; corner < 3; ++corner) {
            const int32_t position = face.indices[corner * 2];
            const int32_t uv = face.indices[corner * 2 + 1];
            if (position < 0 || static_cast<size_t>(position) >= text.positions.size())
                Reject(path, face.line,
                       "face names position " + std::to_string(int64_t{position} + 1) + " of " +
                           std::to_string(text.positions.size()));
            if (uv < 0 || static_cast<size_t>(uv) >= text.textureCoordinates.size())
                Reject(path, face.line,
                       "face names texture coordinate " + std::to_string(int64_t{uv} + 1) + " of " +
                           std::to_string(text.textureCoordinates.size()));
        }
    }
}

} // namespace

MeshText ParseMeshText(std::string_view text, const std::string& path)
{
    MeshText result;
    uint32_t lineNumber = 0;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', start)) {
        ++lineNumber;
        LineReader reader(text.substr(start, end - start));
        start = end + 1;

        const std::string_view kind = reader.Token();
        if (kind == "v") {
            Vector3 p;
            if (!reader.Float(p.x) || !reader.Float(p.y) || !reader.Float(p.z))
                Reject(path, lineNumber, "a position needs three numbers");
            result.positions.push_back(p);
        } else if (kind == "vt") {
            Vector2 uv;
            if (!reader.Float(uv.x) || !reader.Float(uv.y))
                Reject(path, lineNumber, "a texture coordinate needs two numbers");
            result.textureCoordinates.push_back(uv);
        } else if (kind == "f") {
            MeshFace face;
            face.line = lineNumber;
            for (int corner = 0; corner < 3; ++corner) {
                int32_t position = 0, uv = 0, normal = 0;
                if (!reader.Int(position) || !reader.Literal('/') || !reader.Int(uv) || !reader.Literal('/') ||
                    !reader.Int(normal))
                    Reject(path, lineNumber, "a face needs three corners of position/uv/normal indices");
                // 1-based in the file; int64 keeps INT32_MIN from wrapping.
                face.indices[corner * 2] = static_cast<int32_t>(std::max<int64_t>(int64_t{position} - 1, -1));
                face.indices[corner * 2 + 1] = static_cast<int32_t>(std::max<int64_t>(int64_t{uv} - 1, -1));
            }
            result.faces.push_back(face);
        }
    }
    CheckFaceIndices(result, path);
    return result;
}

MeshGeometry ReadMeshFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw GameError("file cannot be opened", path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    const MeshText parsed = ParseMeshText(text, path);

    MeshGeometry geometry;
    geometry.positions.reserve(parsed.faces.size() * 3);
    geometry.triangles.reserve(parsed.faces.size());
    uint32_t first = 0;
    for (const MeshFace& face : parsed.faces) {
        MeshTriangle triangle;
        Vector2* uvs[3] = {&triangle.uvA, &triangle.uvB, &triangle.uvC};
        for (int corner = 0; corner < 3; ++corner) {
            geometry.positions.push_back(parsed.positions[face.indices[corner * 2]]);
            const Vector2 uv = parsed.textureCoordinates[face.indices[corner * 2 + 1]];
            *uvs[corner] = {uv.x, 1.0f - uv.y};
        }
        triangle.a = first;
        triangle.b = first + 1;
        triangle.c = first + 2;
        first += 3;
        geometry.triangles.push_back(triangle);
    }
    return geometry;
}

} // namespace mirefell
