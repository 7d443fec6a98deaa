// TextureCanvas: the small painting kit the texture generator draws with.
// Colours are display (sRGB) values 0..1 with straight alpha; shapes are
// antialiased from their distance fields; noise is hashed from integer
// lattice points and a seed, so every picture is the same on every run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Image.h"

namespace mirefell::assetgen
{

struct Rgba
{
    float r = 0, g = 0, b = 0, a = 1;

    Rgba operator*(float s) const { return {r * s, g * s, b * s, a}; }
    Rgba WithAlpha(float alpha) const { return {r, g, b, alpha}; }
};

Rgba Mix(const Rgba& a, const Rgba& b, float t);

// Deterministic generator for scattering details (xorshift).
class Scatter
{
public:
    explicit Scatter(uint32_t seed) : state(seed * 2654435761u + 0x9e3779b9u) {}
    uint32_t Next();
    float Unit() { return static_cast<float>(Next() & 0xffffff) / 16777215.0f; }
    float Range(float low, float high) { return low + (high - low) * Unit(); }

private:
    uint32_t state;
};

// Smooth value noise in 0..1. With a period the pattern wraps every `period`
// units on both axes, for tileable surfaces.
float ValueNoise(float x, float y, uint32_t seed, int period = 0);
// Sum of octaves of value noise, 0..1; the period doubles with each octave.
float Fractal(float x, float y, uint32_t seed, int octaves, int period = 0);

class Canvas
{
public:
    Canvas(int width_, int height_, Rgba fill = {0, 0, 0, 0});

    int Width() const { return width; }
    int Height() const { return height; }
    Rgba& At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Rgba& At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }

    // Paints `colour` over the pixel with the given coverage (0..1).
    void Blend(int x, int y, const Rgba& colour, float coverage = 1.0f);
    void FillRect(float x0, float y0, float x1, float y1, const Rgba& colour);
    void FillRoundRect(float x0, float y0, float x1, float y1, float radius, const Rgba& colour);
    void FillCircle(float cx, float cy, float radius, const Rgba& colour);
    void FillEllipse(float cx, float cy, float rx, float ry, const Rgba& colour);
    void Ring(float cx, float cy, float radius, float thickness, const Rgba& colour);
    void Line(float x0, float y0, float x1, float y1, float thickness, const Rgba& colour);
    // Convex or concave polygon, even-odd filled, 4x4 supersampled.
    void FillPolygon(const std::vector<float>& xy, const Rgba& colour);
    // Text in the built-in 5x7 capitals (A-Z, 0-9, ?!-.:+ and space); each
    // font pixel is `scale` pixels; x, y is the top-left of the first letter.
    void Text(float x, float y, float scale, const std::string& text, const Rgba& colour);
    static float TextWidth(const std::string& text, float scale);
    // The same, centred on cx.
    void TextCentred(float cx, float y, float scale, const std::string& text, const Rgba& colour);
    // Darkens the edge of every opaque region: a soft shadow one pixel out.
    void Outline(const Rgba& colour);

    Image ToImage() const;

private:
    int width;
    int height;
    std::vector<Rgba> pixels;
};

} // namespace mirefell::assetgen
