// PainterDrawLog: what a painter drew while a log was given to it, for the
// tests that check a screen's layout (no two texts on top of each other,
// nothing off screen) without reading pixels. Each text is recorded once, as
// the player reads it: its font, its top-left after alignment and flooring,
// and the string, and whether its outline copies went under it (the copies
// themselves, and DrawTextShadow's, are left out). Each texture
// draw is recorded with its name, whole-pixel rectangle and tint ("white"
// for a filled rectangle).
//
// The game never gives a painter a log; a painter with a log appends to it on
// every draw, and the owner of the log empties it between frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/math/Color.h"
#include "platform/math/Vector.h"

namespace mirefell
{

class SpriteFont;

struct PainterDrawLog
{
    struct Text
    {
        const SpriteFont* font = nullptr;
        Vector2 position; // top-left of the line box
        std::wstring text;
        bool outlined = false;
    };
    struct Texture
    {
        std::string name;
        int32_t x = 0, y = 0, width = 0, height = 0;
        Color color;
    };

    std::vector<Text> texts;
    std::vector<Texture> textures;
};

} // namespace mirefell
