// Sprite recipes: the 64 x 64 pickup sprites and inventory icons (transparent
// backgrounds, dark outlines so they read against any wall) and the two
// monster sheets, whose frame layout SpriteSheets.h fixes.
#include <cmath>

#include "SpriteSheets.h"
#include "TextureRecipes.h"

namespace mirefell::assetgen
{

namespace
{

constexpr int S = 64;
const Rgba Outline{0.03f, 0.02f, 0.02f, 0.9f};
const Rgba Gunmetal{0.28f, 0.29f, 0.31f, 1};
const Rgba Wood{0.45f, 0.26f, 0.12f, 1};
const Rgba Brass{0.85f, 0.66f, 0.25f, 1};

Canvas Finish(Canvas canvas)
{
    canvas.Outline(Outline);
    return canvas;
}

void Highlight(Canvas& canvas, float x0, float y0, float x1, float y1)
{
    canvas.Line(x0, y0, x1, y1, 1.2f, Rgba{1, 1, 1, 0.35f});
}

Canvas ShellBox()
{
    Canvas c(S, S);
    for (int i = 0; i < 5; ++i) {
        const float x = 14 + i * 8.5f;
        c.FillRect(x, 12, x + 6, 30, Rgba{0.75f, 0.12f, 0.08f, 1});
        c.FillRect(x, 26, x + 6, 31, Brass);
        Highlight(c, x + 1.5f, 13, x + 1.5f, 28);
    }
    c.FillRect(10, 28, 56, 54, Rgba{0.33f, 0.38f, 0.18f, 1});
    c.FillRect(10, 28, 56, 31, Rgba{0.45f, 0.5f, 0.26f, 1});
    c.FillRect(18, 36, 48, 46, Rgba{0.85f, 0.8f, 0.55f, 1});
    c.TextCentred(33, 38, 1, "12GA", Rgba{0.2f, 0.15f, 0.05f, 1});
    return Finish(c);
}

Canvas Bullets()
{
    Canvas c(S, S);
    for (int i = 0; i < 4; ++i) {
        const float x = 12 + i * 11.0f;
        c.FillRect(x, 26, x + 7, 52, Brass);
        c.FillRoundRect(x, 14, x + 7, 30, 3.5f, Rgba{0.72f, 0.45f, 0.25f, 1});
        c.FillRect(x - 0.5f, 50, x + 7.5f, 53, Brass * 0.7f);
        Highlight(c, x + 1.5f, 17, x + 1.5f, 50);
    }
    return Finish(c);
}

Canvas Medkit()
{
    Canvas c(S, S);
    c.FillRoundRect(24, 10, 40, 18, 3, Rgba{0.3f, 0.3f, 0.32f, 1});
    c.FillRoundRect(27, 13, 37, 18, 1, Rgba{0, 0, 0, 0});
    c.FillRoundRect(8, 16, 56, 54, 4, Rgba{0.92f, 0.92f, 0.9f, 1});
    c.FillRect(8, 46, 56, 54, Rgba{0.75f, 0.75f, 0.74f, 1});
    c.FillRect(27, 21, 37, 49, Rgba{0.85f, 0.08f, 0.08f, 1});
    c.FillRect(18, 30, 46, 40, Rgba{0.85f, 0.08f, 0.08f, 1});
    Highlight(c, 11, 19, 53, 19);
    return Finish(c);
}

Canvas Pistol()
{
    Canvas c(S, S);
    c.FillRoundRect(10, 20, 54, 30, 2, Gunmetal);
    c.FillRect(12, 18, 52, 21, Gunmetal * 1.3f);
    c.FillPolygon({34, 28, 48, 28, 52, 50, 40, 52}, Rgba{0.2f, 0.15f, 0.12f, 1});
    c.Ring(32, 34, 5, 2, Gunmetal * 0.8f);
    c.FillRect(8, 22, 11, 27, Rgba{0.1f, 0.1f, 0.1f, 1});
    Highlight(c, 13, 21, 50, 21);
    return Finish(c);
}

Canvas DoubleShotgun()
{
    Canvas c(S, S);
    c.FillRect(4, 22, 42, 26, Gunmetal * 1.1f);
    c.FillRect(4, 27, 42, 31, Gunmetal * 0.9f);
    c.FillRect(36, 21, 46, 33, Gunmetal);
    c.FillPolygon({44, 22, 60, 26, 60, 40, 52, 40, 44, 32}, Wood);
    c.FillRect(16, 31, 30, 35, Wood * 0.9f);
    Highlight(c, 5, 23, 40, 23);
    return Finish(c);
}

Canvas HyperBlaster()
{
    Canvas c(S, S);
    c.FillRoundRect(8, 20, 52, 36, 5, Rgba{0.22f, 0.26f, 0.38f, 1});
    for (int i = 0; i < 4; ++i)
        c.FillRect(14 + i * 8.0f, 18, 18 + i * 8.0f, 38, Rgba{0.3f, 0.7f, 1.0f, 1});
    c.FillRect(2, 25, 9, 31, Rgba{0.15f, 0.15f, 0.2f, 1});
    c.FillCircle(4, 28, 3, Rgba{0.5f, 0.9f, 1, 0.9f});
    c.FillPolygon({36, 34, 46, 34, 50, 52, 40, 52}, Rgba{0.15f, 0.16f, 0.2f, 1});
    Highlight(c, 12, 22, 48, 22);
    return Finish(c);
}

Canvas RocketLauncher()
{
    Canvas c(S, S);
    c.FillRoundRect(6, 20, 58, 32, 3, Rgba{0.32f, 0.36f, 0.2f, 1});
    c.FillRect(4, 18, 10, 34, Rgba{0.22f, 0.25f, 0.14f, 1});
    c.FillCircle(7, 26, 4, Rgba{0.05f, 0.05f, 0.05f, 1});
    c.FillPolygon({2, 26, 7, 23, 7, 29}, Rgba{0.8f, 0.2f, 0.1f, 1});
    c.FillPolygon({26, 30, 36, 30, 38, 46, 30, 46}, Rgba{0.2f, 0.2f, 0.2f, 1});
    c.FillRect(20, 14, 30, 20, Gunmetal);
    Highlight(c, 10, 22, 56, 22);
    return Finish(c);
}

Canvas Hammer()
{
    Canvas c(S, S);
    c.Line(16, 54, 44, 18, 5, Wood);
    c.Line(14, 56, 20, 48, 6, Rgba{0.15f, 0.1f, 0.08f, 1});
    c.FillPolygon({30, 12, 48, 4, 58, 22, 40, 30}, Gunmetal * 1.2f);
    c.FillPolygon({48, 4, 52, 2, 62, 20, 58, 22}, Gunmetal * 0.8f);
    Highlight(c, 32, 13, 48, 6);
    return Finish(c);
}

Canvas Key(const Rgba& colour)
{
    Canvas c(S, S);
    c.Ring(20, 32, 10, 6, colour);
    c.FillRect(28, 29, 58, 35, colour);
    c.FillRect(48, 35, 52, 44, colour);
    c.FillRect(54, 35, 58, 41, colour);
    c.FillCircle(20, 32, 3, colour * 1.4f);
    Highlight(c, 30, 30, 56, 30);
    return Finish(c);
}

Canvas HealthCube()
{
    Canvas c(S, S);
    c.FillCircle(32, 32, 28, Rgba{0.2f, 1.0f, 0.4f, 0.18f});
    c.FillPolygon({32, 8, 54, 20, 32, 32, 10, 20}, Rgba{0.45f, 1.0f, 0.55f, 0.95f});
    c.FillPolygon({10, 20, 32, 32, 32, 58, 10, 46}, Rgba{0.15f, 0.7f, 0.3f, 0.95f});
    c.FillPolygon({54, 20, 32, 32, 32, 58, 54, 46}, Rgba{0.1f, 0.5f, 0.22f, 0.95f});
    c.FillRect(28, 14, 36, 26, Rgba{1, 1, 1, 0.85f});
    c.FillRect(24, 18, 40, 22, Rgba{1, 1, 1, 0.85f});
    return Finish(c);
}

Canvas Boots()
{
    Canvas c(S, S);
    for (float x : {8.0f, 34.0f}) {
        c.FillRect(x + 4, 10, x + 16, 40, Rgba{0.35f, 0.25f, 0.18f, 1});
        c.FillRoundRect(x + 2, 36, x + 24, 48, 4, Rgba{0.35f, 0.25f, 0.18f, 1});
        c.FillRect(x + 1, 47, x + 25, 51, Rgba{0.3f, 0.9f, 1.0f, 1});
        c.FillRect(x + 1, 51, x + 25, 56, Rgba{0.3f, 0.9f, 1.0f, 0.3f});
        c.FillRect(x + 4, 18, x + 16, 21, Gunmetal);
        Highlight(c, x + 6, 12, x + 6, 38);
    }
    return Finish(c);
}

Canvas ArmorShard()
{
    Canvas c(S, S);
    c.FillPolygon({32, 6, 46, 30, 36, 58, 22, 34}, Rgba{0.25f, 0.5f, 0.95f, 1});
    c.FillPolygon({32, 6, 36, 58, 22, 34}, Rgba{0.45f, 0.7f, 1.0f, 1});
    Highlight(c, 30, 12, 26, 32);
    return Finish(c);
}

Canvas Breastplate(const Rgba& colour)
{
    Canvas c(S, S);
    c.FillPolygon({12, 12, 24, 8, 32, 14, 40, 8, 52, 12, 54, 36, 44, 54, 32, 58, 20, 54, 10, 36}, colour);
    c.Line(32, 16, 32, 54, 2, colour * 0.7f);
    c.FillPolygon({16, 16, 28, 16, 28, 30, 16, 28}, colour * 1.25f);
    c.FillPolygon({36, 16, 48, 16, 48, 28, 36, 30}, colour * 1.1f);
    for (float y : {38.0f, 44.0f})
        c.Line(18, y, 46, y, 1.2f, colour * 0.6f);
    return Finish(c);
}

Canvas Orb(const Rgba& colour, bool skull)
{
    Canvas c(S, S);
    c.FillCircle(32, 32, 29, colour.WithAlpha(0.2f));
    c.FillCircle(32, 32, 22, colour);
    c.FillCircle(26, 25, 8, Rgba{1, 1, 1, 0.25f});
    if (skull) {
        const Rgba bone{0.92f, 0.9f, 0.82f, 1};
        c.FillCircle(32, 29, 11, bone);
        c.FillRect(26, 34, 38, 43, bone);
        c.FillCircle(27.5f, 29, 3.2f, Rgba{0.1f, 0.02f, 0.12f, 1});
        c.FillCircle(36.5f, 29, 3.2f, Rgba{0.1f, 0.02f, 0.12f, 1});
        for (float x : {28.0f, 32.0f, 36.0f})
            c.Line(x, 38, x, 43, 1, Rgba{0.2f, 0.1f, 0.2f, 1});
    } else {
        c.FillPolygon({20, 26, 44, 26, 32, 34}, Rgba{0.95f, 0.92f, 0.85f, 1});
        c.FillPolygon({22, 40, 42, 40, 32, 32}, Rgba{0.95f, 0.92f, 0.85f, 1});
        c.FillCircle(32, 33, 3, Rgba{0.3f, 0, 0, 1});
    }
    return Finish(c);
}

Canvas WinThing()
{
    Canvas c(S, S);
    const Rgba gold{0.95f, 0.75f, 0.2f, 1};
    c.FillCircle(32, 30, 30, Rgba{1, 0.85f, 0.3f, 0.15f});
    c.FillRect(20, 50, 44, 58, gold * 0.7f);
    c.FillRect(28, 38, 36, 50, gold * 0.85f);
    c.FillPolygon({14, 8, 50, 8, 46, 26, 32, 38, 18, 26}, gold);
    c.Ring(12, 16, 6, 3, gold);
    c.Ring(52, 16, 6, 3, gold);
    c.FillPolygon({32, 12, 35, 19, 42, 19, 36, 23, 38, 30, 32, 26, 26, 30, 28, 23, 22, 19, 29, 19},
                  Rgba{1, 1, 0.8f, 1});
    return Finish(c);
}

Canvas Placeholder()
{
    Canvas c(S, S);
    for (int i = 0; i < 8; ++i) {
        const float t = i * 7.0f;
        c.FillRect(6 + t, 6, 10 + t, 8, Rgba{0.7f, 0.7f, 0.7f, 1});
        c.FillRect(6 + t, 56, 10 + t, 58, Rgba{0.7f, 0.7f, 0.7f, 1});
        c.FillRect(6, 6 + t, 8, 10 + t, Rgba{0.7f, 0.7f, 0.7f, 1});
        c.FillRect(56, 6 + t, 58, 10 + t, Rgba{0.7f, 0.7f, 0.7f, 1});
    }
    c.TextCentred(32, 18, 4, "?", Rgba{0.85f, 0.85f, 0.85f, 1});
    return c;
}

// ---- monsters ----

enum class Pose
{
    Walk,
    Attack,
    Death,
};

// "nom": a squat bog creature that is mostly mouth.
void DrawNom(Canvas& c, float ox, float oy, Pose pose, int step)
{
    const Rgba skin{0.36f, 0.45f, 0.16f, 1}, belly{0.55f, 0.6f, 0.3f, 1}, gum{0.55f, 0.08f, 0.1f, 1};
    const Rgba tooth{0.95f, 0.93f, 0.8f, 1}, eye{0.95f, 0.85f, 0.1f, 1};
    const float cx = ox + 32;
    if (pose == Pose::Death && step >= 2) {
        // Collapsed into a puddle of itself.
        const float spread = step == 2 ? 18 : 24;
        c.FillEllipse(cx, oy + 54, spread + 4, 7, Rgba{0.45f, 0.03f, 0.03f, 0.95f});
        c.FillEllipse(cx, oy + 52, spread, step == 2 ? 9 : 5, skin * 0.8f);
        if (step == 2) {
            for (float dx : {-10.0f, -3.0f, 4.0f, 11.0f})
                c.FillPolygon({cx + dx, oy + 46, cx + dx + 3, oy + 46, cx + dx + 1.5f, oy + 51}, tooth);
            c.FillCircle(cx - 6, oy + 47, 2, eye * 0.6f);
        } else {
            c.Line(cx - 14, oy + 51, cx - 4, oy + 49, 2, tooth);
            c.FillCircle(cx + 8, oy + 50, 2.5f, tooth);
        }
        return;
    }
    const float bob = pose == Pose::Walk ? (step % 2 == 0 ? 0 : -2) : 0;
    const float squash = pose == Pose::Death ? (step == 0 ? 2 : 6) : 0;
    const float tilt = pose == Pose::Death ? (step == 0 ? 3 : 7) : 0;
    const float top = oy + 14 + bob + squash;
    // Legs.
    const float legSwing = pose == Pose::Walk ? (step % 2 == 0 ? 4 : -4) : 0;
    if (pose != Pose::Death || step == 0) {
        c.Line(cx - 10, top + 30, cx - 12 - legSwing, oy + 60, 6, skin * 0.7f);
        c.Line(cx + 10, top + 30, cx + 12 - legSwing, oy + 60, 6, skin * 0.7f);
        c.FillEllipse(cx - 13 - legSwing, oy + 60, 6, 2.5f, skin * 0.55f);
        c.FillEllipse(cx + 11 - legSwing, oy + 60, 6, 2.5f, skin * 0.55f);
    }
    // Body.
    c.FillEllipse(cx + tilt, top + 18, 24, 20 - squash / 2, skin);
    c.FillEllipse(cx + tilt, top + 26, 16, 10 - squash / 3, belly);
    for (float dx : {-14.0f, -4.0f, 8.0f, 16.0f})
        c.FillCircle(cx + tilt + dx, top + 8 + std::abs(dx) / 4, 2, skin * 0.75f);
    // Mouth: a slit when walking, gaping when attacking.
    const float open = pose == Pose::Attack ? (step == 0 ? 8 : 15) : (pose == Pose::Death ? 6 : 3);
    const float mouthY = top + 20;
    c.FillEllipse(cx + tilt, mouthY, 18, open, gum);
    if (pose == Pose::Attack && step == 1)
        c.FillEllipse(cx + tilt + 2, mouthY + 6, 8, 5, Rgba{0.85f, 0.3f, 0.4f, 1});
    for (int i = 0; i < 6; ++i) {
        const float x = cx + tilt - 15 + i * 6;
        c.FillPolygon({x, mouthY - open, x + 4, mouthY - open, x + 2, mouthY - open + 5 + open * 0.25f}, tooth);
        c.FillPolygon({x + 1, mouthY + open, x + 5, mouthY + open, x + 3, mouthY + open - 4 - open * 0.2f}, tooth);
    }
    // Eyes on short stalks.
    for (float side : {-1.0f, 1.0f}) {
        const float ex = cx + tilt + side * 9, ey = top + 2;
        c.Line(ex, ey + 6, ex, ey, 3, skin);
        if (pose == Pose::Death) {
            c.Line(ex - 3, ey - 3, ex + 3, ey + 3, 1.5f, Rgba{0.1f, 0.05f, 0, 1});
            c.Line(ex - 3, ey + 3, ex + 3, ey - 3, 1.5f, Rgba{0.1f, 0.05f, 0, 1});
        } else {
            c.FillCircle(ex, ey, 4, eye);
            c.FillEllipse(ex + (pose == Pose::Attack ? 0 : side), ey, 1.2f, 3, Rgba{0.05f, 0.02f, 0, 1});
        }
    }
    if (pose == Pose::Death)
        for (int i = 0; i < 5; ++i)
            c.FillCircle(cx - 14 + i * 7.0f, top + 10 + (i % 2) * 8.0f, 2.5f, Rgba{0.5f, 0.02f, 0.02f, 0.9f});
}

// "eye": a floating eyeball trailing tentacles.
void DrawEye(Canvas& c, float ox, float oy, Pose pose, int step)
{
    const Rgba white{0.93f, 0.9f, 0.86f, 1}, vein{0.75f, 0.12f, 0.12f, 0.8f}, tentacle{0.45f, 0.2f, 0.45f, 1};
    const float cx = ox + 32;
    float cy = oy + 26;
    if (pose == Pose::Walk)
        cy += std::sin(step * 1.5708f) * 2;
    if (pose == Pose::Death)
        cy += step * 7.0f;
    const float radius = pose == Pose::Death ? 17 - step * 3.0f : 17;
    // Tentacles.
    if (!(pose == Pose::Death && step == 3)) {
        for (int i = 0; i < 4; ++i) {
            float x = cx - 9 + i * 6.0f, y = cy + radius - 3;
            const float phase = step * 1.3f + i * 1.7f;
            const float length = pose == Pose::Death ? 10 - step * 3.0f : 20;
            for (int segment = 0; segment < 4; ++segment) {
                const float nx = x + std::sin(phase + segment) * 3, ny = y + length / 4;
                c.Line(x, y, nx, ny, 3.5f - segment * 0.6f, tentacle);
                x = nx;
                y = ny;
            }
        }
    }
    if (pose == Pose::Death && step == 3) {
        c.FillEllipse(cx, oy + 56, 22, 6, Rgba{0.6f, 0.05f, 0.08f, 0.95f});
        c.FillEllipse(cx - 4, oy + 53, 10, 5, white * 0.8f);
        c.FillCircle(cx - 2, oy + 53, 3, Rgba{0.35f, 0.1f, 0.05f, 1});
        c.Line(cx + 6, oy + 55, cx + 18, oy + 52, 3, tentacle);
        return;
    }
    if (pose == Pose::Attack)
        c.FillCircle(cx, cy, radius + 7, Rgba{1.0f, 0.2f, 0.1f, step == 0 ? 0.2f : 0.35f});
    c.FillCircle(cx, cy, radius, white);
    Scatter veins(17);
    for (int i = 0; i < 7; ++i) {
        const float angle = veins.Range(0, 6.2832f);
        const float x0 = cx + std::cos(angle) * radius * 0.95f, y0 = cy + std::sin(angle) * radius * 0.95f;
        const float x1 = cx + std::cos(angle + 0.2f) * radius * 0.55f,
                    y1 = cy + std::sin(angle + 0.2f) * radius * 0.55f;
        c.Line(x0, y0, x1, y1, 1, vein);
    }
    // Iris looks around while it floats, glares when it attacks.
    float lookX = 0, lookY = 3;
    if (pose == Pose::Walk) {
        lookX = (step == 1 ? 3.0f : step == 3 ? -3.0f : 0.0f);
        lookY = step == 2 ? 1.0f : 3.0f;
    }
    const Rgba iris = pose == Pose::Attack ? Rgba{1.0f, 0.25f, 0.1f, 1} : Rgba{0.85f, 0.55f, 0.1f, 1};
    const float irisRadius = radius * 0.5f;
    c.FillCircle(cx + lookX, cy + lookY, irisRadius, iris);
    c.Ring(cx + lookX, cy + lookY, irisRadius, 1.2f, iris * 0.5f);
    if (pose == Pose::Attack)
        c.FillEllipse(cx + lookX, cy + lookY, 1.3f, irisRadius * 0.8f, Rgba{0.05f, 0, 0, 1});
    else
        c.FillCircle(cx + lookX, cy + lookY, irisRadius * 0.45f, Rgba{0.05f, 0.02f, 0.02f, 1});
    c.FillCircle(cx - radius * 0.4f, cy - radius * 0.45f, radius * 0.2f, Rgba{1, 1, 1, 0.7f});
    if (pose == Pose::Death) {
        // Split open and bleeding.
        c.Line(cx - radius, cy - 2, cx + radius * 0.3f, cy + 3, 2.0f + step, Rgba{0.55f, 0.02f, 0.03f, 1});
        for (int i = 0; i < 3 + step * 2; ++i)
            c.FillCircle(cx - 12 + i * 5.0f, cy + radius + 2 + (i % 3) * 3.0f, 2, Rgba{0.6f, 0.03f, 0.05f, 0.9f});
    }
}

template <size_t N>
Canvas Sheet(const std::array<const char*, N>& frames, int width, int height,
             void (*draw)(Canvas&, float, float, Pose, int))
{
    Canvas c(width, height);
    for (size_t i = 0; i < N; ++i) {
        const std::string name = frames[i];
        const Pose pose = name.find("attack") != std::string::npos  ? Pose::Attack
                          : name.find("death") != std::string::npos ? Pose::Death
                                                                    : Pose::Walk;
        const int step = name.back() - '0';
        const float ox = float(int(i) % SpriteSheetColumns * SpriteFrameSize);
        const float oy = float(int(i) / SpriteSheetColumns * SpriteFrameSize);
        draw(c, ox, oy, pose, step);
    }
    c.Outline(Outline);
    return c;
}

// Inventory icons sit on a faint plate of their own.
TextureRecipe AsIcon(TextureRecipe art)
{
    return [art] {
        Canvas icon(S, S);
        icon.FillRoundRect(1, 1, 63, 63, 8, Rgba{0.12f, 0.14f, 0.16f, 0.55f});
        const Canvas picture = art();
        for (int y = 0; y < S; ++y)
            for (int x = 0; x < S; ++x)
                icon.Blend(x, y, picture.At(x, y));
        return icon;
    };
}

} // namespace

void AddSpriteRecipes(RecipeBook& book)
{
    const Rgba red{0.85f, 0.12f, 0.1f, 1}, blue{0.15f, 0.35f, 0.95f, 1};
    const Rgba armour{0.45f, 0.55f, 0.7f, 1};
    // Pickups seen in the world.
    book["ammo"] = ShellBox;
    book["medkit"] = Medkit;
    book["pistol"] = Pistol;
    book["double_shotgun"] = DoubleShotgun;
    book["hyper_blaster"] = HyperBlaster;
    book["rocket_launcher"] = RocketLauncher;
    book["hammer"] = Hammer;
    book["redkey"] = [red] { return Key(red); };
    book["bluekey"] = [blue] { return Key(blue); };
    book["health_cube"] = HealthCube;
    book["boots"] = Boots;
    book["armor_shard"] = ArmorShard;
    book["armor"] = [armour] { return Breastplate(armour); };
    book["nightmare"] = [] { return Orb(Rgba{0.45f, 0.12f, 0.6f, 1}, true); };
    book["bloodlust"] = [] { return Orb(Rgba{0.7f, 0.05f, 0.08f, 1}, false); };
    book["win_thing"] = WinThing;
    book["nom"] = [] { return Sheet(NomFrames, NomSheetWidth, NomSheetHeight, DrawNom); };
    book["eye"] = [] { return Sheet(EyeFrames, EyeSheetWidth, EyeSheetHeight, DrawEye); };
    // Inventory icons.
    book["item_placeholder"] = Placeholder;
    book["item_double_shotgun"] = AsIcon(DoubleShotgun);
    book["item_hyper_blaster"] = AsIcon(HyperBlaster);
    book["item_rocket_launcher"] = AsIcon(RocketLauncher);
    book["item_pistol"] = AsIcon(Pistol);
    book["item_hammer"] = AsIcon(Hammer);
    book["item_ammo_bullets"] = AsIcon(Bullets);
    book["item_boots"] = AsIcon(Boots);
    book["item_red_key"] = AsIcon([red] { return Key(red); });
    book["item_blue_key"] = AsIcon([blue] { return Key(blue); });
    book["item_health_cube"] = AsIcon(HealthCube);
    book["item_breastplate"] = AsIcon([armour] { return Breastplate(armour * 1.1f); });
    book["item_nightmare"] = AsIcon([] { return Orb(Rgba{0.45f, 0.12f, 0.6f, 1}, true); });
    book["item_bloodlust"] = AsIcon([] { return Orb(Rgba{0.7f, 0.05f, 0.08f, 1}, false); });
}

} // namespace mirefell::assetgen
