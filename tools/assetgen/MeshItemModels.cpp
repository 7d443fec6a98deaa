// The pickup and weapon models. Each is built in the pixel grid of its own
// 64 x 64 picture (TextureSprites.cpp paints them), a quarter of a unit per
// pixel: boxes, prisms, cylinders and lathes stand exactly in front of the
// painted piece they show, so the picture's detail lands on the right part.
// Sizes follow their users: pickups are drawn at 0.4 with their centre three
// units above the floor; weapons are drawn at 0.4 by the weapon view, which
// holds the pistol, hyper blaster and rocket launcher with the muzzle along
// -x and the shotgun with it along +z. The registry later scales the boots
// and armour by 1.5 and lifts them by 4, turns the hammer a quarter and
// lifts it by 12, and turns the shield half round and moves it 9 along z;
// those four are built to end up right after that.
#include <cmath>
#include <map>
#include <stdexcept>

#include "MeshModels.h"

namespace mirefell::assetgen
{

namespace
{

constexpr float Unit = 0.25f;
constexpr float Pi = 3.1415927f;

// A ring of `segments` boxes around (cx, cy) between two radii, from angle
// `from` to `to` (radians, picture orientation: y down).
void Ring(PictureModel& m, float cx, float cy, float inner, float outer, float from, float to, int segments, float d0,
          float d1)
{
    for (int k = 0; k < segments; ++k) {
        const float a0 = from + (to - from) * static_cast<float>(k) / static_cast<float>(segments);
        const float a1 = from + (to - from) * static_cast<float>(k + 1) / static_cast<float>(segments);
        const Vector2 r0{std::cos(a0), std::sin(a0)}, r1{std::cos(a1), std::sin(a1)};
        const Vector2 c{cx, cy};
        m.Prism({c + r0 * inner, c + r0 * outer, c + r1 * outer, c + r1 * inner}, d0, d1);
    }
}

Model Ammo()
{
    // A box of shells: the olive box shows the lid and the label, two rows
    // of shells stand in it.
    PictureModel m(Unit, 33, 33);
    m.Box(10, 28, 56, 54, -8, 8);
    for (int i = 0; i < 5; ++i) {
        const float cx = 14 + static_cast<float>(i) * 8.5f + 3;
        for (float depth : {-4.0f, 4.0f})
            m.CylinderY(12, 29, cx, 2.8f, depth, 10);
    }
    return m.model;
}

Model Medkit()
{
    // The white case with its red cross on both faces, and the handle.
    PictureModel m(Unit, 32, 34);
    m.Prism({{11, 17}, {53, 17}, {55, 19}, {55, 51}, {53, 53}, {11, 53}, {9, 51}, {9, 19}}, -9, 9);
    m.Box(24, 12, 27, 17.5f, -2, 2);
    m.Box(37, 12, 40, 17.5f, -2, 2);
    m.Box(26, 10, 38, 13, -2, 2);
    return m.model;
}

Model Pistol()
{
    PictureModel m(Unit, 32, 34);
    m.Box(10.5f, 20.5f, 53.5f, 29.5f, -4, 4); // slide
    m.Box(12, 18, 52, 21, -2, 2);             // sight rib
    m.Box(8, 22, 11, 27, -2.5f, 2.5f);        // muzzle
    m.Prism({{34, 28}, {48, 28}, {52, 50}, {40, 52}}, -3.5f, 3.5f);
    Ring(m, 32, 34, 4.2f, 5.8f, 0.0f, Pi, 5, -1, 1); // trigger guard, below the slide
    return m.model;
}

Model DoubleShotgun()
{
    // Over-and-under barrels, receiver, fore-end and stock, then turned so
    // the muzzles point along +z. The weapon view holds the shotgun a unit
    // lower and nearer than the other guns, so the model stands 3.5 units
    // above and 1 unit muzzle-ward of its picture's middle: raised, it shows
    // barrels, receiver and stock in the lower right as they show theirs
    // (its pickup floats one and a half units higher).
    PictureModel m(Unit, 36, 44);
    m.CylinderX(4, 42, 24, 2);
    m.CylinderX(4, 42, 29, 2);
    m.Box(36, 21, 46, 33, -4, 4);
    m.Box(16, 31, 30, 35, -3, 3);
    m.Prism({{44, 22}, {60, 26}, {60, 40}, {52, 40}, {44, 32}}, -3, 3);
    m.model.Transform(Matrix::CreateRotationY(Pi / 2));
    return m.model;
}

Model HyperBlaster()
{
    PictureModel m(Unit, 30, 30);
    m.CylinderX(10, 50, 28, 7.5f, 0, 16); // body
    for (int i = 0; i < 4; ++i) {
        const float x = 14 + static_cast<float>(i) * 8;
        m.CylinderX(x, x + 4, 28, 9.5f, 0, 16); // cooling rings
    }
    m.CylinderX(2, 9.5f, 28, 3); // muzzle
    m.Prism({{36, 34}, {46, 34}, {50, 52}, {40, 52}}, -3, 3);
    return m.model;
}

Model RocketLauncher()
{
    PictureModel m(Unit, 32, 30);
    m.CylinderX(9, 57, 26, 5.5f, 0, 16); // tube
    m.CylinderX(4, 10, 26, 7.5f, 0, 16); // muzzle ring
    m.Box(20, 14, 30, 20, -1.5f, 1.5f);  // sight
    m.Prism({{26, 30}, {36, 30}, {38, 46}, {30, 46}}, -3, 3);
    return m.model;
}

Model Key(const Image& picture)
{
    // Keys are flat: the painted key cut out and given a thickness.
    PictureModel m(Unit, 34, 32);
    m.Extrude(picture, 0, 0, 64, 64, -2, 2);
    return m.model;
}

Model HealthCube()
{
    // A cube whose faces are the three faces of the painted cube: the top
    // (with its white cross) above and below, the lit and shaded sides
    // around.
    PictureModel m(Unit, 32, 32);
    const float lo = 20, hi = 44, d = 12;
    const Vector2 top[4] = {{32, 29.5f}, {51, 20}, {32, 10.5f}, {13, 20}};
    const Vector2 left[4] = {{12, 23}, {30, 33.5f}, {30, 55}, {12, 44.5f}};
    const Vector2 right[4] = {{34, 33.5f}, {52, 23}, {52, 44.5f}, {34, 55}};
    const auto face = [&](const Vector3(&p)[4], const Vector2(&uv)[4], Vector3 outward) {
        m.model.Quad({{p[0], m.Uv(uv[0].x, uv[0].y)},
                      {p[1], m.Uv(uv[1].x, uv[1].y)},
                      {p[2], m.Uv(uv[2].x, uv[2].y)},
                      {p[3], m.Uv(uv[3].x, uv[3].y)}},
                     outward);
    };
    const auto P = [&](float x, float y, float depth) { return m.Position(x, y, depth); };
    face({P(lo, lo, d), P(hi, lo, d), P(hi, hi, d), P(lo, hi, d)}, left, {0, 0, 1});
    face({P(hi, lo, d), P(hi, lo, -d), P(hi, hi, -d), P(hi, hi, d)}, right, {1, 0, 0});
    face({P(hi, lo, -d), P(lo, lo, -d), P(lo, hi, -d), P(hi, hi, -d)}, left, {0, 0, -1});
    face({P(lo, lo, -d), P(lo, lo, d), P(lo, hi, d), P(lo, hi, -d)}, right, {-1, 0, 0});
    face({P(lo, lo, d), P(hi, lo, d), P(hi, lo, -d), P(lo, lo, -d)}, top, {0, 1, 0});
    face({P(lo, hi, -d), P(hi, hi, -d), P(hi, hi, d), P(lo, hi, d)}, top, {0, -1, 0});
    return m.model;
}

Model Boots()
{
    // A pair side by side, toes along +x; built at two thirds of the pickup
    // scale for the registry's 1.5.
    PictureModel m(Unit / 1.5f, 21, 33);
    for (float x : {8.0f, 34.0f}) {
        const float depth = x < 20 ? -7.0f : 7.0f;
        m.SetShift(8 - x, 0, depth);
        m.Box(x + 4, 10, x + 16, 40, -5, 5);       // leg
        m.Box(x + 3, 37, x + 23, 47, -5.5f, 5.5f); // foot
        m.Box(x + 1, 47, x + 25, 51, -6, 6);       // glowing sole
    }
    return m.model;
}

Model ArmorShard()
{
    // A crystal: the painted kite as its outline, pointed front and back.
    PictureModel m(Unit, 34, 32);
    const Vector2 centre{34, 32};
    const auto uv = [&](Vector2 p) {
        const Vector2 q = centre + (p - centre) * 0.85f;
        return m.Uv(q.x, q.y);
    };
    const Vector2 top{32, 6}, right{46, 30}, bottom{36, 58}, left{22, 34}, middle{33.5f, 32};
    const ModelCorner t{m.Position(top.x, top.y, 0), uv(top)}, r{m.Position(right.x, right.y, 0), uv(right)},
        b{m.Position(bottom.x, bottom.y, 0), uv(bottom)}, l{m.Position(left.x, left.y, 0), uv(left)};
    const Vector3 solidCentre = m.Position(middle.x, middle.y, 0);
    for (float depth : {7.0f, -7.0f}) {
        const ModelCorner f{m.Position(middle.x, middle.y, depth), uv(middle)};
        for (const auto& [a, c] : {std::pair{t, r}, std::pair{r, b}, std::pair{b, l}, std::pair{l, t}}) {
            const Vector3 faceCentre = (a.position + c.position + f.position) / 3.0f;
            m.model.Triangle(a, c, f, faceCentre - solidCentre);
        }
    }
    return m.model;
}

Model Armor(const Image& picture)
{
    // The breastplate cut out of its picture; two thirds of the pickup scale
    // for the registry's 1.5.
    PictureModel m(Unit / 1.5f, 32, 33);
    m.Extrude(picture, 0, 0, 64, 64, -5, 5);
    return m.model;
}

Model Orb()
{
    // The artifacts are orbs: the painted disc wraps the front and back.
    PictureModel m(Unit, 32, 32);
    m.Sphere(32, 32, 20);
    return m.model;
}

Model WinThing()
{
    // The trophy: base, stem, cup turned on a lathe, and two ring handles.
    PictureModel m(Unit, 32, 33);
    m.Box(21, 50.5f, 43, 57.5f, -7, 7);
    m.CylinderY(38, 51, 32, 3.5f);
    m.Lathe(32, {{17, 9}, {13.5f, 26}, {0, 37.5f}}, 16);
    for (float cx : {12.0f, 52.0f})
        Ring(m, cx, 16, 4.9f, 7.1f, 0.0f, 2 * Pi, 8, -1.5f, 1.5f);
    return m.model;
}

// The hammer picture's pieces: the steel head is a parallelogram, the wooden
// shaft a line of five pixels from (16, 54) to (44, 18), the grip a line from
// (14, 56) to (20, 48).
struct HammerPicture
{
    static constexpr Vector2 HeadOrigin{30, 12}, HeadAlong{18, -8}, HeadAcross{10, 18};

    // A parallelogram inside the head, `margin` of each side in from it.
    static void Head(Vector2 (&corners)[3], float margin)
    {
        const Vector2 o = HeadOrigin + HeadAlong * margin + HeadAcross * margin;
        corners[0] = o;
        corners[1] = o + HeadAlong * (1 - 2 * margin);
        corners[2] = o + HeadAcross * (1 - 2 * margin);
    }
    // A strip along a painted line from t0 to t1, `halfWidth` to each side.
    static void Strip(Vector2 (&corners)[3], Vector2 from, Vector2 to, float t0, float t1, float halfWidth)
    {
        const Vector2 along = to - from;
        const Vector2 across = Vector2{-along.y, along.x}.Normalized() * halfWidth;
        const Vector2 start = from + along * t1 - across;
        corners[0] = start;
        corners[1] = start + across * 2;
        corners[2] = from + along * t0 - across;
    }
};

Model Hammer()
{
    // A sledgehammer standing on its grip, head across the top, in units
    // (one "pixel" of the builder is one unit, y up through -y below).
    PictureModel m(1.0f, 0, 0);
    Vector2 shaft[3], grip[3], head[3];
    HammerPicture::Strip(shaft, {16, 54}, {44, 18}, 0.3f, 0.72f, 1.0f);
    HammerPicture::Strip(grip, {14, 56}, {20, 48}, 0.25f, 0.75f, 1.2f);
    HammerPicture::Head(head, 0.15f);
    m.MappedBox(-0.6f, -1, 0.6f, 16, -0.6f, 0.6f, shaft);
    m.MappedBox(-0.75f, 11.5f, 0.75f, 16.5f, -0.75f, 0.75f, grip);
    m.MappedBox(-4.5f, -4.5f, 4.5f, 0, -2, 2, head);
    m.MappedBox(-5.2f, -3.8f, -4.5f, -0.7f, -1.6f, 1.6f, head); // striking faces
    m.MappedBox(4.5f, -3.8f, 5.2f, -0.7f, -1.6f, 1.6f, head);
    return m.model;
}

Model Shield()
{
    // A round steel shield with a wooden rim and a boss on its outer face
    // (+z), centred 7 units up; drawn with the hammer's picture.
    constexpr int Sides = 16;
    constexpr float Radius = 6, Thickness = 0.5f, CentreY = 7, RimWidth = 0.6f;
    Model model;
    const Vector2 headCentre =
        HammerPicture::HeadOrigin + HammerPicture::HeadAlong * 0.5f + HammerPicture::HeadAcross * 0.5f;
    const auto steelUv = [&](float c, float s) {
        const Vector2 p = headCentre + HammerPicture::HeadAlong * (0.33f * c) + HammerPicture::HeadAcross * (0.33f * s);
        return Vector2{p.x / 64, p.y / 64};
    };
    Vector2 rim[3];
    HammerPicture::Strip(rim, {16, 54}, {44, 18}, 0.35f, 0.65f, 0.8f);
    const auto rimUv = [&](int k) {
        const float t = static_cast<float>(k % 2);
        const Vector2 p = rim[0] + (rim[2] - rim[0]) * t + (rim[1] - rim[0]) * 0.5f;
        return Vector2{p.x / 64, p.y / 64};
    };
    const auto point = [&](int k, float radius, float z) {
        const float angle = 2 * Pi * static_cast<float>(k % Sides) / Sides;
        return Vector3{radius * std::cos(angle), CentreY + radius * std::sin(angle), z};
    };
    const auto angleCs = [&](int k) {
        const float angle = 2 * Pi * static_cast<float>(k % Sides) / Sides;
        return std::pair{std::cos(angle), std::sin(angle)};
    };
    const Vector3 centreBack{0, CentreY, -Thickness}, centreFront{0, CentreY, Thickness};
    const Vector3 bossTip{0, CentreY, Thickness + 1.6f};
    for (int k = 0; k < Sides; ++k) {
        const auto [c0, s0] = angleCs(k);
        const auto [c1, s1] = angleCs(k + 1);
        // Steel faces, inside the rim.
        const float inner = Radius - RimWidth;
        model.Triangle({centreBack, steelUv(0, 0)}, {point(k, inner, -Thickness), steelUv(c0, s0)},
                       {point(k + 1, inner, -Thickness), steelUv(c1, s1)}, {0, 0, -1});
        model.Quad({{point(k, 1.6f, Thickness), steelUv(c0 * 0.27f, s0 * 0.27f)},
                    {point(k + 1, 1.6f, Thickness), steelUv(c1 * 0.27f, s1 * 0.27f)},
                    {point(k + 1, inner, Thickness), steelUv(c1, s1)},
                    {point(k, inner, Thickness), steelUv(c0, s0)}},
                   {0, 0, 1});
        // Boss: a cone over the middle of the front.
        model.Triangle({bossTip, steelUv(0, 0)}, {point(k, 1.6f, Thickness), steelUv(c0 * 0.27f, s0 * 0.27f)},
                       {point(k + 1, 1.6f, Thickness), steelUv(c1 * 0.27f, s1 * 0.27f)},
                       (point(k, 1, Thickness + 0.8f) + point(k + 1, 1, Thickness + 0.8f)) * 0.5f -
                           Vector3{0, CentreY, 0});
        // Wooden rim: its front, back and outer edge.
        for (float z : {-Thickness, Thickness})
            model.Quad({{point(k, inner, z), rimUv(0)},
                        {point(k + 1, inner, z), rimUv(1)},
                        {point(k + 1, Radius, z), rimUv(1)},
                        {point(k, Radius, z), rimUv(0)}},
                       {0, 0, z});
        model.Quad({{point(k, Radius, -Thickness), rimUv(0)},
                    {point(k + 1, Radius, -Thickness), rimUv(1)},
                    {point(k + 1, Radius, Thickness), rimUv(1)},
                    {point(k, Radius, Thickness), rimUv(0)}},
                   (point(k, Radius, 0) + point(k + 1, Radius, 0)) * 0.5f - Vector3{0, CentreY, 0});
    }
    return model;
}

} // namespace

std::string ModelTexture(const std::string& meshName)
{
    if (meshName == "shield")
        return "hammer";
    if (meshName.rfind("title_", 0) == 0)
        return "title";
    if (meshName.rfind("nom_", 0) == 0)
        return "nom";
    if (meshName.rfind("eye_", 0) == 0)
        return "eye";
    return meshName;
}

Model BuildItemModel(const std::string& meshName, const PictureSource& pictures)
{
    static const std::map<std::string, std::function<Model(const Image&)>> builders = {
        {"ammo", [](const Image&) { return Ammo(); }},
        {"medkit", [](const Image&) { return Medkit(); }},
        {"pistol", [](const Image&) { return Pistol(); }},
        {"double_shotgun", [](const Image&) { return DoubleShotgun(); }},
        {"hyper_blaster", [](const Image&) { return HyperBlaster(); }},
        {"rocket_launcher", [](const Image&) { return RocketLauncher(); }},
        {"hammer", [](const Image&) { return Hammer(); }},
        {"shield", [](const Image&) { return Shield(); }},
        {"redkey", Key},
        {"bluekey", Key},
        {"health_cube", [](const Image&) { return HealthCube(); }},
        {"boots", [](const Image&) { return Boots(); }},
        {"armor_shard", [](const Image&) { return ArmorShard(); }},
        {"armor", Armor},
        {"nightmare", [](const Image&) { return Orb(); }},
        {"bloodlust", [](const Image&) { return Orb(); }},
        {"win_thing", [](const Image&) { return WinThing(); }},
    };
    const auto builder = builders.find(meshName);
    if (builder == builders.end())
        throw std::runtime_error("no model " + meshName);
    return builder->second(pictures(ModelTexture(meshName)));
}

} // namespace mirefell::assetgen
