// The monsters' sprite frames: one two-sided quad per frame, textured with
// its cell of the kind's sheet (SpriteSheets.h). The textured effects cut the
// clear texels away, so the quad shows only the creature. A monster's centre
// is 8.03 above the floor and its sprite is scaled by its kind's sprite
// scale (nom 0.9, eye 0.5): the quads are sized so that the creature fills
// its box and the sheet's foot row touches the floor.
#include <stdexcept>
#include <string>

#include "MeshModels.h"
#include "SpriteSheets.h"

namespace mirefell::assetgen
{

namespace
{

struct FrameLayout
{
    int index;        // cell in the sheet
    int sheetWidth;   // pixels
    int sheetHeight;  // pixels
    float unit;       // world units per sheet pixel, before the sprite scale
    float footRow;    // the frame row that stands on the floor
    float floorDepth; // the floor below the centre, before the sprite scale
};

template <size_t N> int FindFrame(const std::array<const char*, N>& frames, const std::string& name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == frames[i])
            return static_cast<int>(i);
    return -1;
}

FrameLayout LayoutOf(const std::string& name)
{
    constexpr float CentreHeight = 8.03f;
    if (const int nom = FindFrame(NomFrames, name); nom >= 0)
        return {nom, NomSheetWidth, NomSheetHeight, 0.33f, 62.0f, CentreHeight / 0.9f};
    if (const int eye = FindFrame(EyeFrames, name); eye >= 0)
        return {eye, EyeSheetWidth, EyeSheetHeight, 0.6f, 63.0f, CentreHeight / 0.5f};
    throw std::runtime_error("no sprite frame " + name);
}

} // namespace

Model BuildSpriteFrame(const std::string& meshName)
{
    const FrameLayout layout = LayoutOf(meshName);
    const FrameUv cell = FrameRect(layout.index, layout.sheetWidth, layout.sheetHeight);
    // Half a texel in from the cell's edge, so filtering never reads the
    // neighbouring frame.
    const float du = 0.5f / static_cast<float>(layout.sheetWidth);
    const float dv = 0.5f / static_cast<float>(layout.sheetHeight);
    const Vector2 uvTopLeft{cell.u0 + du, cell.v0 + dv}, uvBottomRight{cell.u1 - du, cell.v1 - dv};

    const float size = static_cast<float>(SpriteFrameSize) * layout.unit;
    const float bottom = -layout.floorDepth - (static_cast<float>(SpriteFrameSize) - layout.footRow) * layout.unit;
    const float top = bottom + size;
    const float halfWidth = size / 2;
    const ModelCorner corners[4] = {{{-halfWidth, top, 0}, uvTopLeft},
                                    {{halfWidth, top, 0}, {uvBottomRight.x, uvTopLeft.y}},
                                    {{halfWidth, bottom, 0}, uvBottomRight},
                                    {{-halfWidth, bottom, 0}, {uvTopLeft.x, uvBottomRight.y}}};
    Model model;
    model.Quad(corners, {0, 0, 1});
    model.Quad(corners, {0, 0, -1});
    return model;
}

} // namespace mirefell::assetgen
