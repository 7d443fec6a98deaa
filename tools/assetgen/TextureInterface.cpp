// Interface recipes: HUD icons, the cursor, check boxes, the inventory
// backdrop, the title-screen buttons and the title image.
#include <algorithm>
#include <cmath>

#include "TextureRecipes.h"

namespace mirefell::assetgen
{

namespace
{

const Rgba White{1, 1, 1, 1};
const Rgba Shadow{0, 0, 0, 0.85f};

Canvas Crosshair()
{
    Canvas c(32, 32);
    for (const Rgba& colour : {Shadow, White}) {
        const float grow = colour.a < 1 ? 1.0f : 0.0f;
        c.FillRect(15 - grow, 4 - grow, 17 + grow, 12 + grow, colour);
        c.FillRect(15 - grow, 20 - grow, 17 + grow, 28 + grow, colour);
        c.FillRect(4 - grow, 15 - grow, 12 + grow, 17 + grow, colour);
        c.FillRect(20 - grow, 15 - grow, 28 + grow, 17 + grow, colour);
        c.FillCircle(16, 16, 1.2f + grow, colour);
    }
    return c;
}

Canvas HudHealth()
{
    Canvas c(32, 32);
    c.FillRoundRect(10, 3, 22, 29, 2, Rgba{0.9f, 0.1f, 0.1f, 1});
    c.FillRoundRect(3, 10, 29, 22, 2, Rgba{0.9f, 0.1f, 0.1f, 1});
    c.FillRect(11, 4, 21, 6, Rgba{1, 0.5f, 0.5f, 1});
    c.Outline(Shadow);
    return c;
}

Canvas HudArmor()
{
    Canvas c(32, 32);
    c.FillPolygon({4, 5, 16, 2, 28, 5, 27, 18, 16, 30, 5, 18}, Rgba{0.3f, 0.5f, 0.9f, 1});
    c.FillPolygon({16, 5, 25, 7, 24, 17, 16, 26}, Rgba{0.5f, 0.7f, 1.0f, 1});
    c.Outline(Shadow);
    return c;
}

Canvas HudAmmo()
{
    Canvas c(32, 32);
    for (float x : {6.0f, 14.0f, 22.0f}) {
        c.FillRect(x, 13, x + 5, 28, Rgba{0.85f, 0.66f, 0.25f, 1});
        c.FillRoundRect(x, 4, x + 5, 16, 2.5f, Rgba{0.7f, 0.45f, 0.25f, 1});
    }
    c.Outline(Shadow);
    return c;
}

Canvas HudPermadeath()
{
    Canvas c(32, 32);
    const Rgba bone{0.92f, 0.9f, 0.82f, 1};
    c.FillCircle(16, 13, 11, bone);
    c.FillRect(10, 18, 22, 28, bone);
    c.FillCircle(11.5f, 13, 3.5f, Rgba{0.6f, 0, 0, 1});
    c.FillCircle(20.5f, 13, 3.5f, Rgba{0.6f, 0, 0, 1});
    c.FillPolygon({16, 17, 18, 21, 14, 21}, Rgba{0.1f, 0.05f, 0.05f, 1});
    for (float x : {12.0f, 16.0f, 20.0f})
        c.Line(x, 23, x, 28, 1, Rgba{0.2f, 0.15f, 0.1f, 1});
    c.Outline(Shadow);
    return c;
}

Canvas Cursor()
{
    Canvas c(32, 32);
    const std::vector<float> arrow = {1, 1, 1, 23, 7, 18, 11, 27, 15, 25, 11, 17, 19, 17};
    c.FillPolygon(arrow, White);
    c.Outline(Rgba{0, 0, 0, 1});
    return c;
}

Canvas RandomPowerup()
{
    Canvas c(64, 64);
    c.FillCircle(32, 32, 30, Rgba{0.9f, 0.8f, 0.2f, 0.2f});
    c.FillCircle(32, 32, 24, Rgba{0.85f, 0.6f, 0.1f, 1});
    c.FillCircle(32, 32, 20, Rgba{0.95f, 0.78f, 0.25f, 1});
    c.TextCentred(32, 19, 4, "?", Rgba{0.35f, 0.15f, 0.02f, 1});
    c.FillCircle(25, 23, 5, Rgba{1, 1, 1, 0.35f});
    c.Outline(Shadow);
    return c;
}

// Drawn full-screen behind the inventory with a dark tint: bright detail here
// reads as faint texture there.
Canvas InventoryBackdrop()
{
    const int size = 256;
    Canvas c(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float n = Fractal(x / 32.0f, y / 32.0f, 404, 5, 8);
            const float v = 0.45f + 0.4f * n;
            c.At(x, y) = Rgba{v * 0.8f, v, v * 0.8f, 1};
        }
    for (int i = 0; i <= size; i += 32) {
        c.Line(float(i), 0, float(i), float(size), 1.5f, Rgba{1, 1, 1, 0.35f});
        c.Line(0, float(i), float(size), float(i), 1.5f, Rgba{1, 1, 1, 0.35f});
    }
    Scatter scatter(405);
    for (int i = 0; i < 40; ++i) {
        const float x = std::floor(scatter.Range(0, 8)) * 32, y = std::floor(scatter.Range(0, 8)) * 32;
        c.FillCircle(x, y, 3, Rgba{1, 1, 1, 0.6f});
        const bool across = scatter.Unit() < 0.5f;
        c.Line(x, y, across ? x + 32 : x, across ? y : y + 32, 2.5f, Rgba{1, 1, 1, 0.5f});
    }
    return c;
}

Canvas CheckBox(bool checked)
{
    Canvas c(32, 32);
    c.FillRoundRect(3, 3, 29, 29, 3, White);
    c.FillRoundRect(6, 6, 26, 26, 2, Rgba{0.08f, 0.09f, 0.1f, 1});
    if (checked) {
        c.Line(9, 16, 14, 22, 3.5f, White);
        c.Line(14, 22, 24, 9, 3.5f, White);
    }
    return c;
}

Canvas Button(const std::string& label, const Rgba& colour)
{
    Canvas c(128, 32);
    c.FillRoundRect(1, 1, 127, 31, 6, colour * 0.6f);
    c.FillRoundRect(2, 2, 126, 29, 5, colour);
    c.FillRoundRect(4, 3, 124, 12, 4, Rgba{1, 1, 1, 0.18f});
    c.TextCentred(64, 9, 2, label, White);
    return c;
}

Canvas Social(const std::string& letter, const Rgba& colour, bool play)
{
    Canvas c(32, 32);
    c.FillRoundRect(1, 1, 31, 31, 7, colour);
    if (play) {
        c.FillRoundRect(5, 8, 27, 24, 5, White);
        c.FillPolygon({13, 11, 21, 16, 13, 21}, colour);
    } else {
        c.TextCentred(16, 9, 2, letter, White);
    }
    return c;
}

Canvas Title()
{
    const int width = 512, height = 128;
    Canvas c(width, height);
    const std::string word = "MIREFELL";
    const float scale = 10;
    const float left = (width - Canvas::TextWidth(word, scale)) / 2;
    const float top = 22;
    c.Text(left + 5, top + 6, scale, word, Rgba{0, 0, 0, 0.7f});
    // Letters from a stagnant green at the top into peat at the foot.
    Canvas letters(width, height);
    letters.Text(left, top, scale, word, White);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba& mask = letters.At(x, y);
            if (mask.a <= 0)
                continue;
            const float t = std::clamp((y - top) / (7 * scale), 0.0f, 1.0f);
            const float n = Fractal(x / 10.0f, y / 10.0f, 77, 4);
            Rgba colour = Mix(Rgba{0.55f, 0.75f, 0.25f, 1}, Rgba{0.2f, 0.13f, 0.06f, 1}, t);
            colour = colour * (0.75f + 0.45f * n);
            c.Blend(x, y, colour.WithAlpha(1), mask.a);
        }
    // Slime dripping from the letters' feet.
    Scatter scatter(78);
    const float foot = top + 7 * scale;
    for (int i = 0; i < 22; ++i) {
        const float x = left + scatter.Range(0, Canvas::TextWidth(word, scale));
        if (letters.At(int(x), int(foot) - 2).a <= 0)
            continue;
        const float length = scatter.Range(6, 26);
        c.Line(x, foot - 2, x, foot + length, scatter.Range(2.5f, 4.5f), Rgba{0.25f, 0.3f, 0.08f, 1});
        c.FillCircle(x, foot + length, scatter.Range(2.5f, 4), Rgba{0.3f, 0.36f, 0.1f, 1});
    }
    // A lighter lip along the top of each letter.
    for (int y = 1; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (letters.At(x, y).a > 0.5f && letters.At(x, y - 1).a < 0.5f)
                for (int k = 0; k < 3 && y + k < height; ++k)
                    c.Blend(x, y + k, Rgba{0.85f, 1.0f, 0.6f, 0.5f - k * 0.15f});
    c.Outline(Rgba{0.02f, 0.03f, 0.01f, 1});
    return c;
}

} // namespace

void AddInterfaceRecipes(RecipeBook& book)
{
    book["crosshair"] = Crosshair;
    book["hud_health"] = HudHealth;
    book["hud_armor"] = HudArmor;
    book["hud_ammo"] = HudAmmo;
    book["hud_permadeath"] = HudPermadeath;
    book["mouse"] = Cursor;
    book["random_powerup"] = RandomPowerup;
    book["inventory"] = InventoryBackdrop;
    book["checked"] = [] { return CheckBox(true); };
    book["unchecked"] = [] { return CheckBox(false); };
    book["subscribe"] = [] { return Button("SUBSCRIBE", Rgba{0.75f, 0.3f, 0.1f, 1}); };
    book["steam"] = [] { return Button("STORE", Rgba{0.15f, 0.25f, 0.4f, 1}); };
    book["sm_twitter"] = [] { return Social("T", Rgba{0.2f, 0.6f, 0.9f, 1}, false); };
    book["sm_facebook"] = [] { return Social("F", Rgba{0.23f, 0.35f, 0.6f, 1}, false); };
    book["sm_tumblr"] = [] { return Social("T", Rgba{0.2f, 0.27f, 0.36f, 1}, false); };
    book["sm_youtube"] = [] { return Social("", Rgba{0.85f, 0.1f, 0.1f, 1}, true); };
    book["title"] = Title;
}

} // namespace mirefell::assetgen
