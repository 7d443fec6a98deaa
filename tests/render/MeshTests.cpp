// Mesh without a GPU: transforms, the tree walk with its culling and filters,
// the child list and the instance records.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MeshTestSupport.h"
#include "render/Camera.h"
#include "render/EffectRegistry.h"
#include "render/Mesh.h"

namespace mirefell
{
namespace
{

using testing::Box;
using testing::BoxAround;
using testing::ExpectVectorNear;

constexpr float HalfPi = 1.5707964f;

Mesh* AddNamed(Mesh& parent, const std::string& name, EffectId effect = EffectIdColor)
{
    auto child = std::make_unique<Mesh>(effect, MeshVertexFormatColor);
    child->name = name;
    return parent.AddChild(std::move(child));
}

// The nodes a draw offers to its filter, in order; the filter rejects all of
// them, so nothing reaches the GPU.
std::vector<std::string> OfferedNodes(Mesh& root, const Camera& camera)
{
    std::vector<std::string> offered;
    root.Draw(
        camera,
        [&offered](const Mesh* node) {
            offered.push_back(node->name);
            return false;
        },
        false, false);
    return offered;
}

TEST(Mesh, WorldIsScaleThenRollPitchYawThenTranslation)
{
    Mesh mesh(EffectIdColor, MeshVertexFormatColor);
    EXPECT_EQ(mesh.world, Matrix::Identity());
    mesh.scale = {2, 1, 1};
    mesh.rotation = {0, HalfPi, 0};
    mesh.position = {10, 0, 0};
    EXPECT_EQ(mesh.world, Matrix::Identity()); // nothing until asked
    mesh.UpdateTransform();
    ExpectVectorNear(TransformPoint({1, 0, 0}, mesh.world), {10, 0, -2});

    // Roll acts before pitch, pitch before yaw.
    mesh.scale = {1, 1, 1};
    mesh.position = {};
    mesh.rotation = {HalfPi, HalfPi, 0};
    mesh.UpdateTransform();
    ExpectVectorNear(TransformPoint({0, 1, 0}, mesh.world), {1, 0, 0});
    mesh.rotation = {HalfPi, 0, HalfPi};
    mesh.UpdateTransform();
    ExpectVectorNear(TransformPoint({1, 0, 0}, mesh.world), {0, 0, 1});

    // A child keeps its own transform.
    Mesh* child = AddNamed(mesh, "child");
    EXPECT_EQ(child->parent, &mesh);
    EXPECT_EQ(child->world, Matrix::Identity());
}

TEST(Mesh, DrawWalkSkipsHiddenAndCulledSubtreesButNotRejectedOnes)
{
    Camera camera; // at the origin looking down -Z
    const Box behind = BoxAround({0, 0, 50}, 1);
    const Box ahead = BoxAround({0, 0, -50}, 1);

    Mesh root(EffectIdNone, MeshVertexFormatColor);
    root.name = "root";
    Mesh* hidden = AddNamed(root, "hidden", EffectIdNone);
    hidden->visible = false;
    AddNamed(*hidden, "under hidden")->visible = true;
    Mesh* culled = AddNamed(root, "culled");
    culled->bounds = behind.data();
    AddNamed(*culled, "under culled"); // has no box of its own, still skipped
    Mesh* group = AddNamed(root, "culled group", EffectIdNone);
    group->bounds = behind.data();
    AddNamed(*group, "under culled group");
    Mesh* seen = AddNamed(root, "seen");
    seen->bounds = ahead.data();
    AddNamed(*seen, "under seen");
    Mesh* instanced = AddNamed(root, "instanced", EffectIdInstancedTexture);
    instanced->bounds = behind.data(); // instanced nodes are culled per instance only
    AddNamed(*instanced, "under instanced");
    AddNamed(*instanced, "decal", EffectIdDecal)->bounds = behind.data();

    EXPECT_EQ(OfferedNodes(root, camera),
              (std::vector<std::string>{"root", "seen", "under seen", "instanced", "under instanced", "decal"}));

    camera.target = {0, 0, 1}; // turn round
    camera.UpdateView();
    EXPECT_EQ(OfferedNodes(root, camera),
              (std::vector<std::string>{"root", "culled", "under culled", "culled group", "under culled group",
                                        "instanced", "under instanced", "decal"}));
}

TEST(Mesh, RemoveChildErasesOnlyAChildAndKeepsTheOrder)
{
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    Mesh* a = AddNamed(root, "a");
    Mesh* b = AddNamed(root, "b");
    AddNamed(*b, "under b");
    Mesh* c = AddNamed(root, "c");

    root.RemoveChild(b->children[0].get()); // a grandchild: not ours
    Mesh stranger(EffectIdNone, MeshVertexFormatColor);
    root.RemoveChild(&stranger);
    root.RemoveChild(nullptr);
    ASSERT_EQ(root.children.size(), 3u);
    EXPECT_EQ(b->children.size(), 1u);

    root.RemoveChild(b);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].get(), a);
    EXPECT_EQ(root.children[1].get(), c);
}

TEST(Mesh, UpdateNeedsARegisteredEffectForEveryDrawnNode)
{
    EffectRegistry::GetInstance().clear();
    Mesh root(EffectIdNone, MeshVertexFormatColor);
    AddNamed(root, "unknown effect", 9);
    try {
        root.Update();
        FAIL() << "an unregistered effect id was accepted";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "invalid map<K, T> key");
    }
}

class MeshInstanceRecords : public ::testing::Test
{
protected:
    MeshInstance& Add(const Vector3& position, const float* bounds = nullptr)
    {
        MeshInstance& instance = node.instances.emplace_back();
        instance.position = position;
        instance.bounds = bounds;
        return instance;
    }

    Camera camera;
    Mesh node{EffectIdInstancedTexture, MeshVertexFormatTexture};
};

TEST_F(MeshInstanceRecords, RecordHoldsWorldItsInverseAndTheColour)
{
    MeshInstance& instance = Add({1, 2, -30});
    instance.scale = {2, 2, 2};
    instance.rotation = {0, HalfPi, 0};
    instance.colour = {0.25f, 0.5f, 0.75f, 1};
    ASSERT_EQ(node.BuildInstanceRecords(&camera, false, false), 1u);
    const InstanceRecord& record = node.instanceRecords[0];
    ExpectVectorNear(TransformPoint({1, 0, 0}, record.world), {1, 2, -32});
    ExpectVectorNear(TransformPoint({1, 2, -32}, record.inverseWorld), {1, 0, 0});
    EXPECT_EQ(record.colour, instance.colour);
}

TEST_F(MeshInstanceRecords, RemovedInstancesAreSkippedBeforeTheirBoxIsRead)
{
    // A picked-up powerup: its object, and the box the instance pointed at,
    // are gone, while the instance stays in the list.
    auto box = std::make_unique<Box>(BoxAround({0, 0, -20}, 1));
    Add({0, 0, -20}, box->data());
    Add({0, 0, -40});
    node.instances[0].removed = true;
    box.reset();

    EXPECT_EQ(node.BuildInstanceRecords(&camera, true, false), 1u);
    EXPECT_EQ(node.BuildInstanceRecords(nullptr, false, false), 1u);
    ExpectVectorNear(node.instanceRecords[0].world.Translation(), {0, 0, -40});
}

TEST_F(MeshInstanceRecords, HiddenAndOffScreenInstancesAreSkippedOnlyWithACamera)
{
    const Box behind = BoxAround({0, 0, 30}, 1);
    const Box ahead = BoxAround({0, 0, -30}, 1);
    Add({0, 0, 30}, behind.data());
    Add({0, 0, -30}, ahead.data());
    Add({0, 0, -31}).shown = false;
    Add({0, 0, 31}); // no box: never culled

    EXPECT_EQ(node.BuildInstanceRecords(&camera, false, false), 2u);
    ExpectVectorNear(node.instanceRecords[0].world.Translation(), {0, 0, -30});
    ExpectVectorNear(node.instanceRecords[1].world.Translation(), {0, 0, 31});
    // Without a camera (the instance buffer's first fill) only removal counts.
    EXPECT_EQ(node.BuildInstanceRecords(nullptr, false, false), 4u);
}

TEST_F(MeshInstanceRecords, ContainmentSplitsInstancesByWhetherTheirBoxHoldsTheCamera)
{
    const Box around = {-1, -1, -1, 1, 1, 0}; // the eye sits on its far face
    const Box ahead = BoxAround({0, 0, -10}, 1);
    Add({0, 0, 0}, around.data());
    Add({0, 0, -10}, ahead.data());
    Add({0, 0, -20}); // no box: counts as outside

    EXPECT_EQ(node.BuildInstanceRecords(&camera, true, true), 1u);
    ExpectVectorNear(node.instanceRecords[0].world.Translation(), {0, 0, 0});
    EXPECT_EQ(node.BuildInstanceRecords(&camera, true, false), 2u);
    EXPECT_EQ(node.BuildInstanceRecords(&camera, false, true), 3u);
}

} // namespace
} // namespace mirefell
