// The five sprite fonts: "assets/fonts/arial12.spritefont" (the small font,
// a plain sans serif at 12 points) and "capsuula20" to "capsuula60" (the
// display font at 20, 30, 40 and 60 points, with the line spacings the
// painter's line-height table gives). Glyphs are rendered by FreeType from
// packaged TrueType files at 96 dots per inch, shelf-packed into one coverage
// atlas per font with a pixel of space around each, and written in the
// sprite-font layout of render/SpriteFontFile.h.
//
// The display font is a narrow face: the menus, the HUD and the screens are
// laid out for glyphs about two thirds as wide as a condensed bold sans
// serif's. It is that sans serif drawn 0.6 as wide, its outlines then widened
// by 0.04 em (the stems keep their weight) with the advance grown to match;
// heights, ascent and line spacing stay the face's own.
//
// Each font holds printable ASCII (32-126) and Latin-1 (160-255); "?" is the
// default character. Every line box centres the font's ascent and descent
// where its glyphs allow; no glyph reaches above the line top, and none below
// the box where the line spacing can hold the font's tallest and deepest
// glyphs together (the small font's spacing, the face's own, grows to).
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "AssetGenerator.h"
#include "render/SpriteFontFile.h"

namespace mirefell::assetgen
{

namespace
{

struct FontRecipe
{
    const char* file;
    const char* face; // a TrueType file of a Debian font package
    const char* package;
    int points;
    float lineSpacing; // 0: the face's own line height
    float widthScale;  // horizontal scale of the outlines, 1 as designed
    float widening;    // added to each glyph's ink and advance, in ems
};

constexpr const char* SansRegular = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
constexpr const char* DisplayBold = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

constexpr float DisplayWidth = 0.6f;
constexpr float DisplayWidening = 0.04f;

const FontRecipe Recipes[] = {
    {"arial12.spritefont", SansRegular, "fonts-liberation2", 12, 0.0f, 1.0f, 0.0f},
    {"capsuula20.spritefont", DisplayBold, "fonts-dejavu-extra", 20, 32.0f, DisplayWidth, DisplayWidening},
    {"capsuula30.spritefont", DisplayBold, "fonts-dejavu-extra", 30, 47.0f, DisplayWidth, DisplayWidening},
    {"capsuula40.spritefont", DisplayBold, "fonts-dejavu-extra", 40, 63.0f, DisplayWidth, DisplayWidening},
    {"capsuula60.spritefont", DisplayBold, "fonts-dejavu-extra", 60, 94.0f, DisplayWidth, DisplayWidening},
};

constexpr unsigned Dpi = 96;
constexpr uint32_t DefaultCharacter = '?';
constexpr int Padding = 1;

std::vector<uint32_t> Characters()
{
    std::vector<uint32_t> characters;
    for (uint32_t c = 32; c <= 126; ++c)
        characters.push_back(c);
    for (uint32_t c = 160; c <= 255; ++c)
        characters.push_back(c);
    return characters;
}

struct RenderedGlyph
{
    uint32_t character = 0;
    int width = 0, height = 0;
    int left = 0, top = 0; // bitmap origin from the pen and the baseline
    float advance = 0.0f;
    std::vector<uint8_t> coverage;
};

class FreeTypeFace
{
public:
    FreeTypeFace(const FontRecipe& recipe)
    {
        if (FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("FreeType cannot start");
        if (FT_New_Face(library, recipe.face, 0, &face) != 0)
            throw std::runtime_error(std::string("font ") + recipe.face + " cannot be opened (install " +
                                     recipe.package + ", see scripts/install-deps.sh)");
        if (FT_Set_Char_Size(face, 0, recipe.points * 64, Dpi, Dpi) != 0)
            throw std::runtime_error(std::string("font ") + recipe.face + " cannot be sized");
        // The transform narrows outlines and advances alike.
        FT_Matrix narrow{static_cast<FT_Fixed>(std::lround(recipe.widthScale * 65536.0f)), 0, 0, 0x10000};
        FT_Set_Transform(face, &narrow, nullptr);
        // Pixels per em, in 26.6 fixed point.
        widening = static_cast<FT_Pos>(std::lround(recipe.widening * recipe.points * Dpi / 72.0f * 64.0f));
    }
    ~FreeTypeFace()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    RenderedGlyph Render(uint32_t character) const
    {
        if (FT_Load_Char(face, character, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0)
            throw std::runtime_error("glyph " + std::to_string(character) + " cannot be rendered");
        const FT_GlyphSlot slot = face->glyph;
        // Widened on both sides, then moved right by half: the side bearings
        // stay and the ink and the advance grow alike (a blank's advance too).
        const FT_Pos advance = slot->advance.x + widening;
        if (widening > 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_points > 0) {
            FT_Outline_EmboldenXY(&slot->outline, widening, 0);
            FT_Outline_Translate(&slot->outline, widening / 2, 0);
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
            throw std::runtime_error("glyph " + std::to_string(character) + " cannot be rendered");
        const FT_Bitmap& bitmap = slot->bitmap;
        RenderedGlyph glyph;
        glyph.character = character;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        // Whole pixels, so that every glyph of a text lands on the pixel grid
        // (the narrowing leaves fractions).
        glyph.advance = std::round(static_cast<float>(advance) / 64.0f);
        glyph.coverage.resize(size_t(glyph.width) * glyph.height);
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x)
                glyph.coverage[size_t(y) * glyph.width + x] = bitmap.buffer[y * bitmap.pitch + x];
        return glyph;
    }

    float Ascent() const { return static_cast<float>(face->size->metrics.ascender) / 64.0f; }
    float Descent() const { return -static_cast<float>(face->size->metrics.descender) / 64.0f; }
    float LineHeight() const { return static_cast<float>(face->size->metrics.height) / 64.0f; }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Pos widening = 0; // 26.6 pixels
};

// Shelf packing into the narrowest power-of-two width whose height does not
// exceed it; fills each glyph's atlas rectangle.
void Pack(const std::vector<RenderedGlyph>& rendered, SpriteFontData& font)
{
    for (uint32_t width = 64;; width *= 2) {
        int x = Padding, y = Padding, shelf = 0;
        for (size_t i = 0; i < rendered.size(); ++i) {
            const RenderedGlyph& glyph = rendered[i];
            if (glyph.width == 0 || glyph.height == 0)
                continue;
            if (x + glyph.width + Padding > static_cast<int>(width)) {
                x = Padding;
                y += shelf + Padding;
                shelf = 0;
            }
            SpriteGlyph& out = font.glyphs[i];
            out.left = x;
            out.top = y;
            out.right = x + glyph.width;
            out.bottom = y + glyph.height;
            x += glyph.width + Padding;
            shelf = std::max(shelf, glyph.height);
        }
        const auto height = static_cast<uint32_t>(y + shelf + Padding);
        if (height <= width || width >= MaxSpriteFontAtlasSide) {
            font.width = width;
            font.height = height;
            return;
        }
    }
}

SpriteFontData BakeFont(const FontRecipe& recipe)
{
    const FreeTypeFace face(recipe);
    std::vector<RenderedGlyph> rendered;
    for (uint32_t character : Characters())
        rendered.push_back(face.Render(character));

    SpriteFontData font;
    font.lineSpacing = recipe.lineSpacing > 0.0f ? recipe.lineSpacing : std::round(face.LineHeight());
    font.defaultCharacter = DefaultCharacter;
    // The baseline centres ascent plus descent in the line box, moved up as
    // far as the tallest glyph allows when a glyph would reach below the box,
    // and down when one would reach above its top (the top wins).
    float tallest = 0.0f;
    float deepest = 0.0f;
    for (const RenderedGlyph& glyph : rendered)
        if (glyph.height > 0) {
            tallest = std::max(tallest, static_cast<float>(glyph.top));
            deepest = std::max(deepest, static_cast<float>(glyph.height - glyph.top));
        }
    float baseline = std::round((font.lineSpacing - (face.Ascent() + face.Descent())) * 0.5f + face.Ascent());
    baseline = std::max(tallest, std::min(baseline, font.lineSpacing - deepest));

    // A face-spaced font's line box also holds its deepest descender.
    if (recipe.lineSpacing <= 0.0f)
        font.lineSpacing = std::max(font.lineSpacing, baseline + deepest);

    font.glyphs.resize(rendered.size());
    Pack(rendered, font);
    font.coverage.assign(size_t(font.width) * font.height, 0);
    for (size_t i = 0; i < rendered.size(); ++i) {
        const RenderedGlyph& glyph = rendered[i];
        SpriteGlyph& out = font.glyphs[i];
        out.character = glyph.character;
        if (glyph.width == 0 || glyph.height == 0) {
            out.left = out.top = out.right = out.bottom = 0;
            out.xAdvance = glyph.advance;
            continue;
        }
        out.xOffset = static_cast<float>(glyph.left);
        out.yOffset = baseline - static_cast<float>(glyph.top);
        out.xAdvance = glyph.advance - static_cast<float>(glyph.left + glyph.width);
        for (int y = 0; y < glyph.height; ++y)
            std::copy_n(glyph.coverage.begin() + size_t(y) * glyph.width, glyph.width,
                        font.coverage.begin() + size_t(out.top + y) * font.width + out.left);
    }
    return font;
}

void GenerateFonts(const std::filesystem::path& runDir)
{
    for (const FontRecipe& recipe : Recipes) {
        const std::vector<uint8_t> bytes = WriteSpriteFont(BakeFont(recipe));
        // What the game reads must pass its own reader.
        (void)ReadSpriteFont(bytes.data(), bytes.size());
        WriteFileBytes(runDir / "assets" / "fonts" / recipe.file, bytes.data(), bytes.size());
    }
}

const AssetGenerator fonts("fonts", GenerateFonts);

} // namespace

} // namespace mirefell::assetgen
