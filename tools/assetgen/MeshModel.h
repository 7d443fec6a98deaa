// MeshModel: the small modelling kit the mesh generator builds the entity
// models with, and the writer of the ".js" mesh files the game reads.
//
// A model is a list of triangles whose corners carry a position and a texture
// coordinate (0..1, v down, (0, 0) the top-left texel). Every triangle is
// wound so that (b - a) x (c - a) points out of the solid it belongs to; the
// builders take an outward direction and order the corners to match, so the
// game's back-face culling keeps the outside.
//
// Most models are laid out in "picture space": the pixel grid of the 64 x 64
// pickup picture that textures them, x right and y down, with a depth axis
// out of the picture. Parts are given in pixels and texture themselves by
// projecting onto the picture along the depth axis, so each part shows the
// piece of the picture it stands in front of. CheckOpaque then proves that
// every triangle samples only opaque texels: the textured effects cut away
// texels under half alpha, and a model must not have holes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Image.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"

namespace mirefell::assetgen
{

struct ModelCorner
{
    Vector3 position;
    Vector2 uv;
};

struct ModelTriangle
{
    ModelCorner corners[3];
};

class Model
{
public:
    // Appends the triangle, its corners ordered so that the face normal has
    // a non-negative component along `outward`.
    void Triangle(ModelCorner a, ModelCorner b, ModelCorner c, const Vector3& outward);
    // Two triangles (0, 1, 2) and (0, 2, 3) of a planar convex quad.
    void Quad(const ModelCorner (&corners)[4], const Vector3& outward);
    // Positions become p x transform (uv unchanged).
    void Transform(const Matrix& transform);
    void Append(const Model& other);

    const std::vector<ModelTriangle>& Triangles() const { return triangles; }

private:
    std::vector<ModelTriangle> triangles;
};

// Picture-space builder over a picture of width x height pixels: a point
// (x, y, depth) in pixels lands at ((x - centreX) u, (centreY - y) u, depth u)
// with u = `unit` world units per pixel, and textures from (x / width,
// y / height).
// `shift` moves the geometry of the next parts (not their texture) by that
// many pixels, so one painted piece can be placed twice.
class PictureModel
{
public:
    PictureModel(float unit_, float centreX_, float centreY_, float width_ = 64.0f, float height_ = 64.0f);

    // A prism: the convex polygon (picture pixels, any winding) extruded over
    // depth d0..d1. Caps show the polygon's picture; walls take the colour
    // of the picture just inside their edge.
    void Prism(const std::vector<Vector2>& polygon, float d0, float d1);
    void Box(float x0, float y0, float x1, float y1, float d0, float d1);
    // A cylinder along the picture's x axis from x0 to x1 around the row
    // `cy`, radius r, centred on depth `dc`.
    void CylinderX(float x0, float x1, float cy, float r, float dc = 0.0f, int sides = 12);
    // A cylinder along the picture's y axis from y0 (top) to y1 around the
    // column `cx`, radius r, centred on depth `dc`.
    void CylinderY(float y0, float y1, float cx, float r, float dc = 0.0f, int sides = 12);
    // A solid of revolution about the vertical line x = cx: the profile is
    // (radius, y) points from top to bottom; a radius of 0 closes the solid
    // at that end, a non-zero end radius gets a flat cap.
    void Lathe(float cx, const std::vector<Vector2>& profile, int sides = 16);
    // A sphere of radius r around (cx, cy), depth 0, textured by projecting
    // its front and back halves onto the disc it covers.
    void Sphere(float cx, float cy, float r, int subdivisions = 3);
    // Every opaque pixel of the mask (alpha >= 128 in `picture`) inside the
    // pixel rectangle, extruded over depth d0..d1 (faces merged into
    // rectangles).
    void Extrude(const Image& picture, int x0, int y0, int x1, int y1, float d0, float d1);
    // A textured face over a parallelogram of the picture: the box of the
    // part spanning x0..x1, y0..y1, d0..d1 (pixels) with every face mapped
    // onto `uvCorners` (three corners of a parallelogram in pixels: origin,
    // end of the first side, end of the second side).
    void MappedBox(float x0, float y0, float x1, float y1, float d0, float d1, const Vector2 (&uvCorners)[3]);

    void SetShift(float dx, float dy, float dDepth = 0.0f) { shift = {dx, dy, dDepth}; }
    Vector3 Position(float x, float y, float depth) const;
    Vector2 Uv(float x, float y) const { return {x / width, y / height}; }

    Model model;

private:
    float unit;
    float centreX;
    float centreY;
    float width;
    float height;
    Vector3 shift;
};

// Throws std::runtime_error naming the model when a triangle samples a texel
// of the picture under half alpha (at its centre and near each corner).
void CheckOpaque(const Model& model, const Image& picture, const std::string& name);

// The ".js" text of a model: v, vt and vn lines (shared entries written
// once), then one "f p/t/n p/t/n p/t/n" line per triangle; "vt" stores
// (u, 1 - v), which the reader turns back.
std::string WriteMeshText(const Model& model, const std::string& name);

} // namespace mirefell::assetgen
