// Sprite fonts without a GPU: the file layout's reader and writer, the layout
// rules measured on a small hand-made font, and the five generated fonts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/GameError.h"
#include "render/ReadData.h"
#include "render/SpriteFont.h"
#include "render/SpriteFontFile.h"

namespace mirefell::testing
{
namespace
{

// Line spacing 12; space (no ink, advance 5); "?" 6 x 10 with x offset 1,
// y offset 2, advance 1; "A" 8 x 12 with x offset -2, advance 2; "j" 4 x 14
// with x offset -1, y offset 4.
SpriteFontData SmallFont()
{
    SpriteFontData font;
    font.lineSpacing = 12.0f;
    font.defaultCharacter = '?';
    font.glyphs = {
        {' ', 0, 0, 0, 0, 0.0f, 0.0f, 5.0f},
        {'?', 0, 0, 6, 10, 1.0f, 2.0f, 1.0f},
        {'A', 6, 0, 14, 12, -2.0f, 0.0f, 2.0f},
        {'j', 14, 0, 18, 14, -1.0f, 4.0f, 0.0f},
    };
    font.width = 32;
    font.height = 16;
    font.coverage.assign(32 * 16, 0);
    for (size_t i = 0; i < font.coverage.size(); ++i)
        font.coverage[i] = static_cast<uint8_t>(i * 7);
    return font;
}

void PutU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

void PutF32(std::vector<uint8_t>& bytes, size_t at, float value)
{
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

TEST(SpriteFontFile, WriteThenReadGivesTheFontBack)
{
    const SpriteFontData font = SmallFont();
    const std::vector<uint8_t> bytes = WriteSpriteFont(font);
    ASSERT_EQ(bytes.size(), 32u + 4 * 32 + 32 * 16);
    const SpriteFontData back = ReadSpriteFont(bytes.data(), bytes.size());
    EXPECT_EQ(back.lineSpacing, 12.0f);
    EXPECT_EQ(back.defaultCharacter, uint32_t('?'));
    ASSERT_EQ(back.glyphs.size(), 4u);
    EXPECT_EQ(back.glyphs[2].character, uint32_t('A'));
    EXPECT_EQ(back.glyphs[2].right, 14);
    EXPECT_EQ(back.glyphs[2].xOffset, -2.0f);
    EXPECT_EQ(back.glyphs[3].yOffset, 4.0f);
    EXPECT_EQ(back.coverage, font.coverage);
}

TEST(SpriteFontFile, EveryInconsistencyIsRefusedWithItsMessage)
{
    const std::vector<uint8_t> good = WriteSpriteFont(SmallFont());
    const size_t glyph2 = 32 + 2 * 32; // "A"
    const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> breakages = {
        {"magic", [](auto& b) { b[0] = 'X'; }},
        {"version", [](auto& b) { PutU32(b, 8, 2); }},
        {"line spacing zero", [](auto& b) { PutF32(b, 12, 0.0f); }},
        {"line spacing NaN", [](auto& b) { PutF32(b, 12, std::numeric_limits<float>::quiet_NaN()); }},
        {"no glyphs", [](auto& b) { PutU32(b, 20, 0); }},
        {"glyph count past the bytes", [](auto& b) { PutU32(b, 20, 0x08000000); }},
        {"atlas too wide", [](auto& b) { PutU32(b, 24, 5000); }},
        {"atlas size past the bytes", [](auto& b) { PutU32(b, 28, 0xffffffffu); }},
        {"one byte short", [](auto& b) { b.pop_back(); }},
        {"one byte over", [](auto& b) { b.push_back(0); }},
        {"characters out of order", [&](auto& b) { PutU32(b, glyph2, 'B' - 30); }},
        {"repeated character", [&](auto& b) { PutU32(b, glyph2, '?'); }},
        {"rectangle past the atlas", [&](auto& b) { PutU32(b, glyph2 + 12, 33); }},
        {"rectangle turned over", [&](auto& b) { PutU32(b, glyph2 + 4, 15); }},
        {"negative rectangle", [&](auto& b) { PutU32(b, glyph2 + 8, 0xffffffffu); }},
        {"infinite advance", [&](auto& b) { PutF32(b, glyph2 + 28, std::numeric_limits<float>::infinity()); }},
        {"default character without a glyph", [](auto& b) { PutU32(b, 16, 'Z'); }},
        {"empty file", [](auto& b) { b.clear(); }},
    };
    for (const auto& [what, breakIt] : breakages) {
        std::vector<uint8_t> bytes = good;
        breakIt(bytes);
        try {
            ReadSpriteFont(bytes.data(), bytes.size());
            ADD_FAILURE() << what << " was accepted";
        } catch (const GameError& error) {
            EXPECT_STREQ(error.what(), "sprite font is invalid") << what;
            EXPECT_FALSE(error.Detail().empty()) << what;
        }
    }
}

TEST(SpriteFontLayout, MeasureFollowsOffsetsAdvancesAndLineBreaks)
{
    const SpriteFont font(nullptr, SmallFont());
    // "A" at x 0 (its -2 offset stops at the left edge), 8 wide, one line.
    EXPECT_EQ(font.MeasureString(L"A"), Vector2(8, 12));
    // Second "A": pen 0 + 8 + 2 = 10, offset -2, so 8 + 8.
    EXPECT_EQ(font.MeasureString(L"AA"), Vector2(16, 12));
    // "?" starts 1 right; 10 high plus 2 below the line top fits the line.
    EXPECT_EQ(font.MeasureString(L"?"), Vector2(7, 12));
    // A space advances the pen (10 + 5) without ink; "j" then starts at 14
    // and reaches 4 + 14 = 18 below the line top.
    EXPECT_EQ(font.MeasureString(L"A j"), Vector2(18, 18));
    // Blanks on their own, or at the end, add nothing.
    EXPECT_EQ(font.MeasureString(L"A  "), Vector2(8, 12));
    EXPECT_EQ(font.MeasureString(L"   "), Vector2(0, 0));
    EXPECT_EQ(font.MeasureString(L""), Vector2(0, 0));
    // Line feeds start over at x 0 one line lower; carriage returns vanish.
    EXPECT_EQ(font.MeasureString(L"AA\nA"), Vector2(16, 24));
    EXPECT_EQ(font.MeasureString(L"A\r\n\r\nA"), Vector2(8, 36));
}

TEST(SpriteFontLayout, CharactersOutsideTheFontTakeTheDefaultGlyph)
{
    const SpriteFont font(nullptr, SmallFont());
    EXPECT_FALSE(font.ContainsCharacter(L'Z'));
    EXPECT_EQ(font.FindGlyph(L'Z')->character, uint32_t('?'));
    EXPECT_EQ(font.FindGlyph(L'\x263A')->character, uint32_t('?'));
    EXPECT_EQ(font.MeasureString(L"Z"), Vector2(7, 12));
    EXPECT_EQ(font.MeasureString(L"A\x4E2D"), font.MeasureString(L"A?"));
    EXPECT_EQ(font.GetDefaultCharacter(), L'?');
}

TEST(SpriteFontAssets, TheFiveFontsHaveTheirLineSpacingsAndGlyphs)
{
    struct Expected
    {
        const wchar_t* file;
        float lineSpacing;
    };
    const Expected fonts[] = {
        {L"assets/fonts/arial12.spritefont", 0.0f},     {L"assets/fonts/capsuula20.spritefont", 32.0f},
        {L"assets/fonts/capsuula30.spritefont", 47.0f}, {L"assets/fonts/capsuula40.spritefont", 63.0f},
        {L"assets/fonts/capsuula60.spritefont", 94.0f},
    };
    float previousWidth = 0.0f;
    for (const Expected& expected : fonts) {
        const std::vector<uint8_t> bytes = ReadData(expected.file);
        const SpriteFont font(nullptr, ReadSpriteFont(bytes.data(), bytes.size()));
        if (expected.lineSpacing > 0.0f)
            EXPECT_EQ(font.GetLineSpacing(), expected.lineSpacing);
        else // the face's own, about 1.15 x 16 pixels, grown for descenders
            EXPECT_TRUE(font.GetLineSpacing() >= 18.0f && font.GetLineSpacing() <= 21.0f) << font.GetLineSpacing();
        EXPECT_EQ(font.GetDefaultCharacter(), L'?');
        for (wchar_t c : std::wstring(L"AZaz09\"%:?-\u00e9\u00c4"))
            EXPECT_TRUE(font.ContainsCharacter(c)) << int(c);
        // A line of letters, digits and common marks is one line high: no
        // glyph reaches above the line top or below the line box.
        const Vector2 size = font.MeasureString(L"Mire fell: 100%, jQy!");
        EXPECT_EQ(size.y, font.GetLineSpacing());
        EXPECT_GT(size.x, previousWidth);
        if (expected.lineSpacing > 0.0f) // the display fonts grow with their size
            previousWidth = size.x;
    }
}

} // namespace
} // namespace mirefell::testing
