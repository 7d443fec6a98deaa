// TextureCanvas: shapes, noise and the 5x7 lettering.
#include "TextureCanvas.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace mirefell::assetgen
{

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

uint32_t Scatter::Next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

namespace
{

float Hash(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xffffff) / 16777215.0f;
}

float Smooth(float t)
{
    return t * t * (3 - 2 * t);
}

float Coverage(float distance)
{
    return std::clamp(0.5f - distance, 0.0f, 1.0f);
}

// Glyphs of the 5x7 capitals, one string of 7 rows of 5 per character.
const std::map<char, const char*>& Glyphs()
{
    static const std::map<char, const char*> glyphs = {
        {'A', ".###.#...##...#######...##...##...#"}, {'B', "####.#...#####.#...##...##...#####."},
        {'C', ".#####....#....#....#....#.....####"}, {'D', "####.#...##...##...##...##...#####."},
        {'E', "######....####.#....#....#....#####"}, {'F', "######....####.#....#....#....#...."},
        {'G', ".#####....#....#.####...##...#.###."}, {'H', "#...##...#######...##...##...##...#"},
        {'I', "#####..#....#....#....#....#..#####"}, {'J', "..###...#....#....#....#.#..#.##.."},
        {'K', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'L', "#....#....#....#....#....#....#####"},
        {'M', "#...###.###.#.##...##...##...##...#"}, {'N', "#...###..##.#.##..###...##...##...#"},
        {'O', ".###.#...##...##...##...##...#.###."}, {'P', "####.#...##...#####.#....#....#...."},
        {'Q', ".###.#...##...##...##.#.##..#..##.#"}, {'R', "####.#...##...#####.#.#..#..#.#...#"},
        {'S', ".#####....#.....###.....#....#####."}, {'T', "#####..#....#....#....#....#....#.."},
        {'U', "#...##...##...##...##...##...#.###."}, {'V', "#...##...##...##...#.#.#..#.#...#.."},
        {'W', "#...##...##...##.#.##.#.###.###...#"}, {'X', "#...##...#.#.#...#...#.#.#...##...#"},
        {'Y', "#...##...#.#.#...#....#....#....#.."}, {'Z', "#####....#...#...#...#...#....#####"},
        {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
        {'2', ".###.#...#....#...#...#...#...#####"}, {'3', "####.....#....#.###.....#....#####."},
        {'4', "#...##...##...######....#....#....#"}, {'5', "######....####.....#....#....#####."},
        {'6', ".###.#....#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
        {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#....#.###."},
        {'?', ".###.#...#....#...#...#.........#.."}, {'!', "..#....#....#....#....#.........#.."},
        {'-', "...............#####..............."}, {'.', "..........................##...##.."},
        {':', "......##...##.........##...##......"}, {'+', ".......#....#..#####..#....#......."},
        {' ', "..................................."},
    };
    return glyphs;
}

} // namespace

float ValueNoise(float x, float y, uint32_t seed, int period)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = Smooth(x - static_cast<float>(x0));
    const float fy = Smooth(y - static_cast<float>(y0));
    auto wrap = [period](int v) { return period > 0 ? ((v % period) + period) % period : v; };
    const float a = Hash(wrap(x0), wrap(y0), seed);
    const float b = Hash(wrap(x0 + 1), wrap(y0), seed);
    const float c = Hash(wrap(x0), wrap(y0 + 1), seed);
    const float d = Hash(wrap(x0 + 1), wrap(y0 + 1), seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float Fractal(float x, float y, uint32_t seed, int octaves, int period)
{
    float sum = 0;
    float weight = 0.5f;
    float total = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += ValueNoise(x, y, seed + static_cast<uint32_t>(octave) * 101u, period) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / total;
}

Canvas::Canvas(int width_, int height_, Rgba fill)
    : width(width_), height(height_), pixels(static_cast<size_t>(width_) * height_, fill)
{}

void Canvas::Blend(int x, int y, const Rgba& colour, float coverage)
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return;
    const float alpha = std::clamp(colour.a * coverage, 0.0f, 1.0f);
    if (alpha <= 0)
        return;
    Rgba& under = At(x, y);
    const float outAlpha = alpha + under.a * (1 - alpha);
    if (outAlpha <= 0)
        return;
    auto channel = [&](float top, float bottom) { return (top * alpha + bottom * under.a * (1 - alpha)) / outAlpha; };
    under = {channel(colour.r, under.r), channel(colour.g, under.g), channel(colour.b, under.b), outAlpha};
}

void Canvas::FillRect(float x0, float y0, float x1, float y1, const Rgba& colour)
{
    FillRoundRect(x0, y0, x1, y1, 0, colour);
}

void Canvas::FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour)
{
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
    for (int y = std::max(0, int(y0) - 1); y <= std::min(height - 1, int(y1) + 1); ++y)
        for (int x = std::max(0, int(x0) - 1); x <= std::min(width - 1, int(x1) + 1); ++x) {
            const float qx = std::abs(x + 0.5f - cx) - hx + radius;
            const float qy = std::abs(y + 0.5f - cy) - hy + radius;
            const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
            const float distance = outside + std::min(std::max(qx, qy), 0.0f) - radius;
            Blend(x, y, colour, Coverage(distance));
        }
}

void Canvas::FillCircle(float cx, float cy, float radius, const Rgba& colour)
{
    FillEllipse(cx, cy, radius, radius, colour);
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, const Rgba& colour)
{
    if (rx <= 0 || ry <= 0)
        return;
    for (int y = std::max(0, int(cy - ry) - 1); y <= std::min(height - 1, int(cy + ry) + 1); ++y)
        for (int x = std::max(0, int(cx - rx) - 1); x <= std::min(width - 1, int(cx + rx) + 1); ++x) {
            const float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            const float distance = (std::sqrt(dx * dx + dy * dy) - 1) * std::min(rx, ry);
            Blend(x, y, colour, Coverage(distance));
        }
}

void Canvas::Ring(float cx, float cy, float radius, float thickness, const Rgba& colour)
{
    for (int y = std::max(0, int(cy - radius - thickness) - 1);
         y <= std::min(height - 1, int(cy + radius + thickness) + 1); ++y)
        for (int x = std::max(0, int(cx - radius - thickness) - 1);
             x <= std::min(width - 1, int(cx + radius + thickness) + 1); ++x) {
            const float distance = std::abs(std::hypot(x + 0.5f - cx, y + 0.5f - cy) - radius) - thickness / 2;
            Blend(x, y, colour, Coverage(distance));
        }
}

void Canvas::Line(float x0, float y0, float x1, float y1, float thickness, const Rgba& colour)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const float length2 = std::max(dx * dx + dy * dy, 1e-6f);
    const float pad = thickness + 1;
    for (int y = std::max(0, int(std::min(y0, y1) - pad)); y <= std::min(height - 1, int(std::max(y0, y1) + pad)); ++y)
        for (int x = std::max(0, int(std::min(x0, x1) - pad)); x <= std::min(width - 1, int(std::max(x0, x1) + pad));
             ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f);
            const float distance = std::hypot(px - t * dx, py - t * dy) - thickness / 2;
            Blend(x, y, colour, Coverage(distance));
        }
}

void Canvas::FillPolygon(const std::vector<float>& xy, const Rgba& colour)
{
    const size_t count = xy.size() / 2;
    if (count < 3)
        return;
    float minX = xy[0], maxX = xy[0], minY = xy[1], maxY = xy[1];
    for (size_t i = 0; i < count; ++i) {
        minX = std::min(minX, xy[2 * i]);
        maxX = std::max(maxX, xy[2 * i]);
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    auto inside = [&](float px, float py) {
        bool in = false;
        for (size_t i = 0, j = count - 1; i < count; j = i++) {
            const float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
                in = !in;
        }
        return in;
    };
    for (int y = std::max(0, int(minY)); y <= std::min(height - 1, int(maxY)); ++y)
        for (int x = std::max(0, int(minX)); x <= std::min(width - 1, int(maxX)); ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4) ? 1 : 0;
            Blend(x, y, colour, hits / 16.0f);
        }
}

float Canvas::TextWidth(const std::string& text, float scale)
{
    return text.empty() ? 0 : (static_cast<float>(text.size()) * 6 - 1) * scale;
}

void Canvas::Text(float x, float y, float scale, const std::string& text, const Rgba& colour)
{
    const auto& glyphs = Glyphs();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto found = glyphs.find(static_cast<char>(std::toupper(static_cast<unsigned char>(text[i]))));
        if (found == glyphs.end())
            continue;
        const std::string rows = found->second;
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column) {
                const size_t at = static_cast<size_t>(row * 5 + column);
                if (at < rows.size() && rows[at] == '#') {
                    const float left = x + (static_cast<float>(i) * 6 + column) * scale;
                    const float top = y + row * scale;
                    FillRect(left, top, left + scale, top + scale, colour);
                }
            }
    }
}

void Canvas::TextCentred(float cx, float y, float scale, const std::string& text, const Rgba& colour)
{
    Text(cx - TextWidth(text, scale) / 2, y, scale, text, colour);
}

void Canvas::Outline(const Rgba& colour)
{
    const std::vector<Rgba> before = pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (before[static_cast<size_t>(y) * width + x].a > 0.5f)
                continue;
            float nearby = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < width && ny < height)
                        nearby = std::max(nearby, before[static_cast<size_t>(ny) * width + nx].a);
                }
            if (nearby > 0.5f)
                Blend(x, y, colour, nearby);
        }
}

Image Canvas::ToImage() const
{
    Image image(static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const Rgba& p = pixels[i];
        const float channels[4] = {p.r, p.g, p.b, p.a};
        for (int c = 0; c < 4; ++c)
            image.rgba[i * 4 + c] = static_cast<uint8_t>(std::lround(std::clamp(channels[c], 0.0f, 1.0f) * 255.0f));
    }
    return image;
}

} // namespace mirefell::assetgen
