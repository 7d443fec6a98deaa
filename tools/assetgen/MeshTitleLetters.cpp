// The title letters: each letter of the title word as a solid block letter,
// the 5 x 7 capitals of the "title" picture extruded one unit per font pixel
// and 1.5 units deep. Their faces show the painted letter they were cut from,
// so the texture's colours land on the letter's own cells. The title scene
// scales them by 0.1 and stands them on an arc 0.567 apart: every letter is
// five cells wide, none is narrow.
#include <stdexcept>
#include <string>

#include "MeshModels.h"
#include "TextureCanvas.h"

namespace mirefell::assetgen
{

namespace
{

// Where the "title" picture paints the word: 512 x 128, the 5 x 7 font at
// ten pixels a cell, centred across, its top row at 22.
constexpr int TitleWidth = 512;
constexpr int TitleHeight = 128;
constexpr float TitleScale = 10.0f;
constexpr float TitleTop = 22.0f;
const std::string TitleWord = "MIREFELL";

constexpr float UnitsPerPixel = 0.1f; // one font cell is one unit
constexpr float DepthPixels = 15.0f;  // 1.5 units

// Position of the letter in the word: the second "e" and "l" are the keys
// with a trailing 2.
size_t LetterIndex(const std::string& key)
{
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(key.at(0))));
    const size_t first = TitleWord.find(letter);
    if (key.size() == 1 && first != std::string::npos)
        return first;
    if (key.size() == 2 && key[1] == '2' && first != std::string::npos) {
        const size_t second = TitleWord.find(letter, first + 1);
        if (second != std::string::npos)
            return second;
    }
    throw std::runtime_error("no title letter " + key);
}

} // namespace

Model BuildTitleLetter(const std::string& meshName)
{
    const size_t index = LetterIndex(meshName.substr(std::string("title_").size()));
    const float left = (TitleWidth - Canvas::TextWidth(TitleWord, TitleScale)) / 2;
    const float letterLeft = left + static_cast<float>(index) * 6 * TitleScale;

    // The letter alone, painted where the title picture paints it.
    Canvas mask(TitleWidth, TitleHeight);
    mask.Text(letterLeft, TitleTop, TitleScale, std::string(1, TitleWord[index]), Rgba{1, 1, 1, 1});
    const Image maskImage = mask.ToImage();

    PictureModel letter(UnitsPerPixel, letterLeft + 2.5f * TitleScale, TitleTop + 7 * TitleScale, TitleWidth,
                        TitleHeight);
    letter.Extrude(maskImage, static_cast<int>(letterLeft), static_cast<int>(TitleTop),
                   static_cast<int>(letterLeft + 5 * TitleScale), static_cast<int>(TitleTop + 7 * TitleScale), 0.0f,
                   DepthPixels);
    return letter.model;
}

} // namespace mirefell::assetgen
