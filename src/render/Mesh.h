// Mesh: a node of the scene graph that is also a drawable mesh. A node owns
// its children and carries its own geometry, transform, effect id and, for
// the instanced effects, a list of instances. Transforms are not inherited:
// the tree is for ownership, visibility, culling and pass selection only.
//
// Lifecycle: a creator builds a node, fills it, attaches it (AddChild) and,
// once the tree is complete, calls Update, which looks the effect and texture
// up and makes the GPU buffers; the passes then Draw the tree every frame.
// ReleaseBuffers drops the buffers on device loss; the next Update makes them
// again. Everything except Update, ReleaseBuffers and the drawing of a node
// that passes its filter runs without a GPU: the tree walk, culling, filters
// and the instance records are plain CPU work.
//
// Whoever changes position, rotation or scale of a node calls
// UpdateTransform; nothing calls it implicitly.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gpu/GpuResources.h"
#include "platform/math/Matrix.h"
#include "platform/math/Vector.h"
#include "render/EffectRegistry.h"
#include "render/MeshGeometry.h"
#include "render/MeshInstance.h"
#include "render/VertexTypes.h"

namespace mirefell
{

class Camera;
class IEffect;

// 1: colour vertices (52 bytes), 2: textured vertices (32 bytes).
using MeshVertexFormat = uint32_t;
inline constexpr MeshVertexFormat MeshVertexFormatColor = 1;
inline constexpr MeshVertexFormat MeshVertexFormatTexture = 2;

// Splits the textured (effect id 2) nodes between two draws of the textured
// pass: 1 opaque, 2 blended (the TV screens).
using MeshSubKind = int32_t;
inline constexpr MeshSubKind MeshSubKindOpaque = 1;
inline constexpr MeshSubKind MeshSubKindBlended = 2;

class Mesh;
// Which nodes a pass draws; an empty filter accepts every node. A node the
// filter rejects still has its children offered.
using MeshFilter = std::function<bool(const Mesh*)>;

class Mesh
{
public:
    // Group nodes are made with effect id 0 and vertex format 1.
    Mesh(EffectId effectId_, MeshVertexFormat vertexFormat_);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    // Builds this node's GPU data and then its children's, in order: the
    // effect (required: an id missing from the EffectRegistry throws
    // "invalid map<K, T> key"), the texture, the vertices and the vertex
    // buffer, and for instanced nodes the instance buffer sized for every
    // instance the node has now. Nodes updated before a failure keep their
    // new buffers. An instanced node without instances gets no instance
    // buffer and draws nothing until it is updated with some.
    void Update();
    // Drops the vertex and instance buffers of the whole subtree; effect and
    // texture pointers stay until the next Update.
    void ReleaseBuffers();
    // world = scale x rotation (roll, then pitch, then yaw) x translation.
    void UpdateTransform();
    // Draws the subtree with the camera's view, projection and frustum. Hidden
    // nodes skip their subtree; a non-instanced node with bounds outside the
    // frustum skips its subtree (instanced nodes are culled per instance).
    // For instanced nodes, testContainment keeps only the instances whose box
    // holds the camera position when wantInside is set, only the others when
    // it is clear (the two decal draws).
    void Draw(const Camera& camera, const MeshFilter& filter, bool testContainment, bool wantInside);
    // Takes ownership of the child, sets its parent and appends it.
    Mesh* AddChild(std::unique_ptr<Mesh> child);
    // Erases the child (destroying its subtree); a pointer that is not a
    // child changes nothing.
    void RemoveChild(Mesh* child);
    // Textured format only: looks textureName up in the TextureRegistry (an
    // empty name means no texture and no look-up). Call again after
    // changing textureName of an updated node.
    void RefreshTexture();

    // The instance records of this node into instanceRecords, returning
    // their count: every instance that is not removed and, with a camera,
    // is shown, has no bounds or bounds inside the frustum, and passes the
    // containment test. Used by the draw; public so culling can be measured
    // and checked without a device.
    uint32_t BuildInstanceRecords(const Camera* camera, bool testContainment, bool wantInside);
    // How many instance records the instance buffer holds (0 without one).
    uint32_t InstanceCapacity() const;
    bool IsInstanced() const { return effectId == EffectIdInstancedTexture || effectId == EffectIdDecal; }

    // Frame statistics of the mesh renderer: draw calls issued and instances
    // drawn by instanced draws. Core zeroes them at the start of a frame.
    static inline uint32_t drawCalls = 0;
    static inline uint32_t drawnInstances = 0;

    bool visible = true;
    std::string name;
    Mesh* parent = nullptr; // not owning
    MeshGeometry geometry;
    std::vector<MeshInstance> instances;
    std::string textureName; // TextureRegistry key; empty: no texture
    Vector3 position;
    Vector3 rotation; // pitch about X, yaw about Y, roll about Z, radians
    Vector3 scale{1.0f, 1.0f, 1.0f};
    // Six floats (min x, y, z, max x, y, z) owned by the node's object; null
    // means never culled.
    const float* bounds = nullptr;
    MeshSubKind subKind = MeshSubKindOpaque;
    std::vector<std::unique_ptr<Mesh>> children;
    Matrix world;
    MeshVertexFormat vertexFormat;
    std::vector<VertexPositionNormalTangentColorTexture> colorVertices;
    std::vector<VertexPositionNormalTexture> textureVertices;
    EffectId effectId;
    IEffect* effect = nullptr;                  // EffectRegistry's, set by Update
    gpu::ShaderResourceView* texture = nullptr; // TextureRegistry's, set by Update
    std::shared_ptr<gpu::Buffer> vertexBuffer;
    std::shared_ptr<gpu::Buffer> instanceBuffer;
    // Rebuilt by every instanced draw; keeps its capacity between frames.
    std::vector<InstanceRecord> instanceRecords;

private:
    void BuildVertices();
    void CreateVertexBuffer();
    void CreateInstanceBuffer();
    void DrawSelf(const Camera& camera, bool testContainment, bool wantInside);
    uint32_t FillInstanceBuffer(const Camera& camera, bool testContainment, bool wantInside);
    void DrawInstanced(uint32_t count);
};

} // namespace mirefell
