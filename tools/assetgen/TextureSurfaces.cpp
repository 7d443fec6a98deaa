// Surface recipes: tileable 128 x 128 walls, metal and floors, the signs and
// switches, the shared normal map and the blood splat of the decals.
#include <algorithm>
#include <cmath>

#include "TextureRecipes.h"

namespace mirefell::assetgen
{

namespace
{

constexpr int Size = 128;

// Base colour varied by tileable noise: `grain` is the noise cell size.
Canvas Noisy(const Rgba& base, float variation, uint32_t seed, int grain = 16, int octaves = 4)
{
    Canvas canvas(Size, Size);
    const int period = Size / grain;
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float n = Fractal(float(x) / grain, float(y) / grain, seed, octaves, period);
            canvas.At(x, y) = base * (1.0f + (n - 0.5f) * 2 * variation);
            canvas.At(x, y).a = 1;
        }
    return canvas;
}

// Multiplies a rectangle's colour: bevels and grooves.
void Shade(Canvas& canvas, int x0, int y0, int x1, int y1, float factor)
{
    for (int y = std::max(0, y0); y < std::min(Size, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(Size, x1); ++x) {
            Rgba& p = canvas.At(x, y);
            p = Rgba{p.r * factor, p.g * factor, p.b * factor, p.a};
        }
}

// A raised panel: light top and left edges, dark bottom and right, a groove round it.
void Panel(Canvas& canvas, int x0, int y0, int x1, int y1, int bevel = 2)
{
    Shade(canvas, x0, y0, x1, y0 + 1, 0.45f);
    Shade(canvas, x0, y0, x0 + 1, y1, 0.45f);
    Shade(canvas, x0 + 1, y0 + 1, x1, y0 + 1 + bevel, 1.25f);
    Shade(canvas, x0 + 1, y0 + 1, x0 + 1 + bevel, y1, 1.18f);
    Shade(canvas, x0 + 1, y1 - bevel, x1, y1, 0.72f);
    Shade(canvas, x1 - bevel, y0 + 1, x1, y1, 0.78f);
}

void Rivet(Canvas& canvas, float x, float y, const Rgba& metal)
{
    canvas.FillCircle(x + 0.6f, y + 0.8f, 2.6f, Rgba{0, 0, 0, 0.45f});
    canvas.FillCircle(x, y, 2.2f, metal * 1.15f);
    canvas.FillCircle(x - 0.6f, y - 0.6f, 0.9f, Mix(metal, Rgba{1, 1, 1, 1}, 0.6f));
}

void Scratches(Canvas& canvas, uint32_t seed, int count, float strength)
{
    Scatter scatter(seed);
    for (int i = 0; i < count; ++i) {
        const float x = scatter.Range(0, Size), y = scatter.Range(0, Size);
        const float angle = scatter.Range(0, 6.2832f), length = scatter.Range(4, 14);
        canvas.Line(x, y, x + std::cos(angle) * length, y + std::sin(angle) * length, 0.7f,
                    Rgba{1, 1, 1, strength * scatter.Range(0.4f, 1.0f)});
    }
}

Canvas MetalPlates(const Rgba& base, uint32_t seed, bool tread)
{
    Canvas canvas = Noisy(base, 0.12f, seed, 8);
    // Brushed streaks along x.
    for (int y = 0; y < Size; ++y) {
        const float streak = 1.0f + (ValueNoise(0.5f, y * 0.9f, seed + 7, 0) - 0.5f) * 0.12f;
        Shade(canvas, 0, y, Size, y + 1, streak);
    }
    Panel(canvas, 0, 0, 64, 64);
    Panel(canvas, 64, 0, 128, 64);
    Panel(canvas, 0, 64, 128, 128);
    if (tread) {
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const float cx = column * 16 + 8.0f, cy = row * 16 + 8.0f;
                const bool slant = (row + column) % 2 == 0;
                const float dx = slant ? 4 : -4;
                canvas.Line(cx - dx, cy - 4, cx + dx, cy + 4, 3.0f, base * 1.3f);
                canvas.Line(cx - dx + 1, cy - 3, cx + dx + 1, cy + 5, 1.0f, Rgba{0, 0, 0, 0.3f});
            }
    }
    for (float y : {6.0f, 58.0f})
        for (float x : {6.0f, 58.0f, 70.0f, 122.0f})
            Rivet(canvas, x, y, base);
    for (float x : {6.0f, 64.0f, 122.0f})
        for (float y : {70.0f, 122.0f})
            Rivet(canvas, x, y, base);
    Scratches(canvas, seed + 3, 18, 0.10f);
    return canvas;
}

Canvas Bricks(const Rgba& brick, const Rgba& mortar, uint32_t seed)
{
    Canvas canvas = Noisy(mortar, 0.15f, seed, 8);
    Scatter scatter(seed);
    const int rows = 8, brickHeight = Size / rows, brickWidth = 32;
    for (int row = 0; row < rows; ++row) {
        const int offset = (row % 2) * brickWidth / 2;
        for (int column = -1; column < Size / brickWidth + 1; ++column) {
            const int x0 = column * brickWidth + offset + 1, y0 = row * brickHeight + 1;
            const int x1 = x0 + brickWidth - 2, y1 = y0 + brickHeight - 2;
            const float tint = scatter.Range(0.8f, 1.15f);
            for (int y = y0; y < y1; ++y)
                for (int xx = x0; xx < x1; ++xx) {
                    const int x = ((xx % Size) + Size) % Size;
                    const float n = Fractal(float(x) / 6, float(y) / 6, seed + 11, 3, Size / 6 + 0);
                    Rgba colour = brick * (tint * (0.8f + 0.4f * n));
                    if (y == y0 || xx == x0)
                        colour = colour * 1.2f;
                    if (y == y1 - 1 || xx == x1 - 1)
                        colour = colour * 0.7f;
                    colour.a = 1;
                    canvas.At(x, y) = colour;
                }
        }
    }
    return canvas;
}

Canvas Tiles(const Rgba& base, int tile, uint32_t seed)
{
    Canvas canvas = Noisy(base, 0.08f, seed, 16);
    Scatter scatter(seed);
    for (int y = 0; y < Size; y += tile)
        for (int x = 0; x < Size; x += tile) {
            Shade(canvas, x, y, x + tile, y + tile, scatter.Range(0.9f, 1.08f));
            Panel(canvas, x, y, x + tile, y + tile, 1);
        }
    return canvas;
}

Canvas Painted(const Rgba& base, uint32_t seed)
{
    Canvas canvas = Noisy(base, 0.18f, seed, 32, 5);
    // Stains running down.
    Scatter scatter(seed + 5);
    for (int i = 0; i < 10; ++i) {
        const float x = scatter.Range(0, Size), y = scatter.Range(0, Size), length = scatter.Range(10, 40);
        canvas.Line(x, y, x, y + length, scatter.Range(1, 3), Rgba{0, 0, 0, 0.12f});
    }
    return canvas;
}

Canvas Mud(uint32_t seed)
{
    const Rgba dark{0.22f, 0.15f, 0.09f, 1}, light{0.42f, 0.31f, 0.19f, 1}, moss{0.25f, 0.32f, 0.12f, 1};
    Canvas canvas(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float n = Fractal(float(x) / 32, float(y) / 32, seed, 5, 4);
            const float m = Fractal(float(x) / 16, float(y) / 16, seed + 9, 3, 8);
            Rgba colour = Mix(dark, light, std::clamp(n * 1.6f - 0.3f, 0.0f, 1.0f));
            colour = Mix(colour, moss, std::clamp((m - 0.55f) * 3, 0.0f, 0.7f));
            colour.a = 1;
            canvas.At(x, y) = colour;
        }
    Scatter scatter(seed);
    for (int i = 0; i < 40; ++i)
        canvas.FillCircle(scatter.Range(0, Size), scatter.Range(0, Size), scatter.Range(0.8f, 2.2f),
                          Rgba{0.5f, 0.45f, 0.38f, 0.6f});
    return canvas;
}

Canvas Poster(const std::string& first, const std::string& second, const Rgba& ink, uint32_t seed)
{
    Canvas canvas = Painted(Rgba{0.16f, 0.15f, 0.14f, 1}, seed);
    canvas.FillRect(10, 10, 118, 118, Rgba{0.82f, 0.78f, 0.66f, 1});
    for (int y = 10; y < 118; ++y)
        for (int x = 10; x < 118; ++x) {
            const float n = Fractal(x / 12.0f, y / 12.0f, seed + 4, 3);
            Rgba& p = canvas.At(x, y);
            p = p * (0.8f + 0.3f * n);
            p.a = 1;
        }
    const float scale = std::min(4.0f, 96.0f / Canvas::TextWidth(first, 1));
    canvas.TextCentred(64, second.empty() ? 50 : 34, scale, first, ink);
    if (!second.empty())
        canvas.TextCentred(64, 70, std::min(4.0f, 96.0f / Canvas::TextWidth(second, 1)), second, ink);
    // Ink running from the letters.
    Scatter scatter(seed);
    for (int i = 0; i < 6; ++i) {
        const float x = scatter.Range(24, 104);
        canvas.Line(x, 60, x, 60 + scatter.Range(8, 40), 1.5f, ink.WithAlpha(0.8f));
    }
    for (float x : {14.0f, 114.0f})
        for (float y : {14.0f, 114.0f})
            canvas.FillCircle(x, y, 2, Rgba{0.3f, 0.3f, 0.32f, 1});
    return canvas;
}

Canvas ExitSign()
{
    Canvas canvas = MetalPlates(Rgba{0.25f, 0.27f, 0.28f, 1}, 71, false);
    canvas.FillRoundRect(8, 34, 120, 94, 6, Rgba{0.02f, 0.05f, 0.02f, 1});
    canvas.FillRoundRect(11, 37, 117, 91, 4, Rgba{0.05f, 0.45f, 0.12f, 1});
    canvas.TextCentred(64, 42, 4, "EXIT", Rgba{0.85f, 1.0f, 0.85f, 1});
    canvas.FillRect(34, 78, 84, 82, Rgba{0.85f, 1, 0.85f, 1});
    canvas.FillPolygon({84, 73, 98, 80, 84, 87}, Rgba{0.85f, 1, 0.85f, 1});
    return canvas;
}

Canvas UnderConstruction()
{
    Canvas canvas(Size, Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const bool stripe = ((x + y) / 16) % 2 == 0;
            const float n = Fractal(x / 8.0f, y / 8.0f, 33, 3, 16);
            Rgba colour = stripe ? Rgba{0.95f, 0.75f, 0.08f, 1} : Rgba{0.08f, 0.08f, 0.08f, 1};
            colour = colour * (0.8f + 0.35f * n);
            colour.a = 1;
            canvas.At(x, y) = colour;
        }
    canvas.FillRect(4, 40, 124, 88, Rgba{0.92f, 0.9f, 0.84f, 1});
    canvas.TextCentred(64, 46, 2.4f, "UNDER", Rgba{0.1f, 0.1f, 0.1f, 1});
    canvas.TextCentred(64, 66, 1.7f, "CONSTRUCTION", Rgba{0.1f, 0.1f, 0.1f, 1});
    Scratches(canvas, 8, 30, 0.12f);
    return canvas;
}

Canvas Switch(bool on)
{
    Canvas canvas = MetalPlates(Rgba{0.33f, 0.34f, 0.36f, 1}, 90, false);
    canvas.FillRoundRect(36, 20, 92, 108, 6, Rgba{0.08f, 0.08f, 0.09f, 1});
    canvas.FillRoundRect(39, 23, 89, 105, 4, Rgba{0.2f, 0.21f, 0.23f, 1});
    canvas.FillRect(60, 40, 68, 92, Rgba{0.03f, 0.03f, 0.03f, 1});
    const float knobY = on ? 44 : 86;
    canvas.Line(64, 66, 64, knobY, 6, Rgba{0.55f, 0.56f, 0.58f, 1});
    canvas.FillCircle(64, knobY, 7, on ? Rgba{0.15f, 0.8f, 0.2f, 1} : Rgba{0.85f, 0.15f, 0.1f, 1});
    canvas.FillCircle(62, knobY - 2, 2.5f, Rgba{1, 1, 1, 0.5f});
    const Rgba lamp = on ? Rgba{0.3f, 1.0f, 0.35f, 1} : Rgba{0.3f, 0.06f, 0.05f, 1};
    canvas.FillCircle(64, 30, 5, lamp);
    if (on)
        canvas.FillCircle(64, 30, 9, Rgba{0.3f, 1.0f, 0.35f, 0.25f});
    canvas.TextCentred(64, 96, 1, on ? "ON" : "OFF", Rgba{0.8f, 0.8f, 0.8f, 1});
    return canvas;
}

// Tileable height field of bumps and panel grooves, as tangent-space normals.
Canvas NormalMap()
{
    std::vector<float> height(Size * Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            float h = Fractal(float(x) / 16, float(y) / 16, 515, 4, 8) * 0.8f;
            if (x % 32 == 0 || y % 32 == 0)
                h -= 0.6f;
            height[y * Size + x] = h;
        }
    Canvas canvas(Size, Size);
    auto at = [&](int x, int y) { return height[((y + Size) % Size) * Size + (x + Size) % Size]; };
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const float dx = (at(x + 1, y) - at(x - 1, y)) * 2.0f;
            const float dy = (at(x, y + 1) - at(x, y - 1)) * 2.0f;
            const float length = std::sqrt(dx * dx + dy * dy + 1);
            canvas.At(x, y) = {(-dx / length) * 0.5f + 0.5f, (-dy / length) * 0.5f + 0.5f, (1 / length) * 0.5f + 0.5f,
                               1};
        }
    return canvas;
}

Canvas Blood()
{
    Canvas canvas(64, 64, Rgba{0.35f, 0.0f, 0.0f, 0});
    Scatter scatter(666);
    const Rgba blood{0.45f, 0.02f, 0.02f, 0.95f};
    canvas.FillEllipse(32, 32, 15, 13, blood);
    for (int i = 0; i < 10; ++i) {
        const float angle = scatter.Range(0, 6.2832f), reach = scatter.Range(14, 28);
        const float x = 32 + std::cos(angle) * reach, y = 32 + std::sin(angle) * reach;
        canvas.Line(32, 32, x, y, scatter.Range(2, 5), blood);
        canvas.FillCircle(x, y, scatter.Range(1.5f, 3.5f), blood);
    }
    for (int i = 0; i < 18; ++i)
        canvas.FillCircle(scatter.Range(4, 60), scatter.Range(4, 60), scatter.Range(0.7f, 1.8f), blood);
    // Darker, wetter middle.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            Rgba& p = canvas.At(x, y);
            const float d = std::hypot(x - 32.0f, y - 32.0f) / 32;
            const float n = Fractal(x / 6.0f, y / 6.0f, 9, 3);
            p = Rgba{p.r * (0.7f + 0.5f * n) * (1.1f - d * 0.4f), p.g, p.b, p.a * (0.75f + 0.25f * n)};
        }
    return canvas;
}

} // namespace

void AddSurfaceRecipes(RecipeBook& book)
{
    book["cyan_wall"] = [] { return Tiles(Rgba{0.22f, 0.55f, 0.58f, 1}, 32, 1); };
    book["blue_metal"] = [] { return MetalPlates(Rgba{0.24f, 0.32f, 0.55f, 1}, 2, false); };
    book["dark_blue_metal"] = [] { return MetalPlates(Rgba{0.11f, 0.14f, 0.27f, 1}, 3, true); };
    book["white"] = [] { return Canvas(16, 16, Rgba{1, 1, 1, 1}); };
    book["wall"] = [] { return Bricks(Rgba{0.42f, 0.36f, 0.3f, 1}, Rgba{0.2f, 0.19f, 0.17f, 1}, 5); };
    book["metal"] = [] { return MetalPlates(Rgba{0.42f, 0.43f, 0.44f, 1}, 6, false); };
    book["red"] = [] { return Painted(Rgba{0.55f, 0.08f, 0.06f, 1}, 7); };
    book["red_metal"] = [] { return MetalPlates(Rgba{0.5f, 0.12f, 0.08f, 1}, 8, true); };
    book["blue"] = [] { return Painted(Rgba{0.14f, 0.2f, 0.5f, 1}, 9); };
    book["cyan"] = [] { return Tiles(Rgba{0.3f, 0.7f, 0.72f, 1}, 16, 10); };
    book["brown"] = [] { return Mud(11); };
    book["why"] = [] { return Poster("WHY?", "", Rgba{0.6f, 0.04f, 0.03f, 1}, 12); };
    book["strafe_run"] = [] { return Poster("STRAFE", "RUN", Rgba{0.1f, 0.12f, 0.35f, 1}, 13); };
    book["normal"] = NormalMap;
    book["exit"] = ExitSign;
    book["under_construction"] = UnderConstruction;
    book["switch_on"] = [] { return Switch(true); };
    book["switch_off"] = [] { return Switch(false); };
    book["blood"] = Blood;
}

} // namespace mirefell::assetgen
