// The ".js" mesh reader: what counts as a line, which lines count, the
// texture-coordinate flip, and the checks on broken face lines.
#include <gtest/gtest.h>

#include <string>

#include "platform/GameError.h"
#include "render/MeshFile.h"
#include "support/TempDir.h"

namespace mirefell
{
namespace
{

MeshGeometry ReadText(testing::TempDir& folder, const std::string& text)
{
    folder.Write("model.js", text);
    return ReadMeshFile(folder.File("model.js"));
}

// The message of the GameError the text raises, literal and detail.
std::string FailureOf(const std::string& text)
{
    try {
        ParseMeshText(text, "assets/meshes/broken.js");
    } catch (const GameError& error) {
        return std::string(error.what()) + " | " + error.Detail();
    }
    return "accepted";
}

TEST(MeshFile, FacesBuildOwnCornersInFileOrderWithFlippedTextureRows)
{
    testing::TempDir folder;
    // Faces may name positions given later; normals, comments, groups and
    // materials are skipped; a carriage return is whitespace.
    const MeshGeometry geometry = ReadText(folder, "# a comment\r\n"
                                                   "mtllib model.mtl\n"
                                                   "o thing\n"
                                                   "vt 0.25 0.75\n"
                                                   "vt 1 0\n"
                                                   "f 3/1/1 1/2/1 2/1/1\r\n"
                                                   "usemtl steel\n"
                                                   "vn 0 0 1\n"
                                                   "v 1 0 0\n"
                                                   "\n"
                                                   "v 0 1 0\n"
                                                   "   v\t0 0 -1.5e1\n");
    EXPECT_FALSE(geometry.useTriangleColours);
    EXPECT_FALSE(geometry.smoothNormals);
    EXPECT_EQ(geometry.colour, Vector4(0, 0, 0, 1));
    ASSERT_EQ(geometry.positions.size(), 3u);
    EXPECT_EQ(geometry.positions[0], Vector3(0, 0, -15));
    EXPECT_EQ(geometry.positions[1], Vector3(1, 0, 0));
    EXPECT_EQ(geometry.positions[2], Vector3(0, 1, 0));
    ASSERT_EQ(geometry.triangles.size(), 1u);
    const MeshTriangle& t = geometry.triangles[0];
    EXPECT_EQ(t.a, 0u);
    EXPECT_EQ(t.c, 2u);
    EXPECT_EQ(t.colour, Vector4(0, 0, 0, 1));
    EXPECT_EQ(t.uvA, Vector2(0.25f, 0.25f));
    EXPECT_EQ(t.uvB, Vector2(1, 1));
}

TEST(MeshFile, OnlyWholeLinesAreRead)
{
    testing::TempDir folder;
    const std::string three = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\n";
    // The last face has no line feed after it.
    EXPECT_EQ(ReadText(folder, three + "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 2/1/1 3/1/1").triangles.size(), 1u);
    // No line feed at all: nothing.
    EXPECT_TRUE(ReadText(folder, "v 0 0 0").positions.empty());
    EXPECT_TRUE(ReadText(folder, "").triangles.empty());
    // Tokens longer than two characters never match, whatever they start with.
    EXPECT_TRUE(ParseMeshText("vtx 1 2\nvv 1 2 3\nfa 1/1/1 1/1/1 1/1/1\n", "x.js").positions.empty());
}

TEST(MeshFile, BrokenLinesAreRejectedNamingFileAndLine)
{
    const std::string header = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\n";
    const std::string prefix = "mesh file is invalid | assets/meshes/broken.js line ";
    EXPECT_EQ(FailureOf(header + "f 1/1/1 2/1/1\n").rfind(prefix + "5:", 0), 0u) << FailureOf(header + "f 1/1/1\n");
    EXPECT_EQ(FailureOf(header + "f 1//1 2//1 3//1\n").rfind(prefix + "5:", 0), 0u);
    EXPECT_EQ(FailureOf(header + "f 1/1/1 2/1/1 3/1\n").rfind(prefix + "5:", 0), 0u);
    EXPECT_EQ(FailureOf("v 1 2\n").rfind(prefix + "1:", 0), 0u);
    EXPECT_EQ(FailureOf("vt 1\n").rfind(prefix + "1:", 0), 0u);
    EXPECT_EQ(FailureOf("v 1 two 3\n").rfind(prefix + "1:", 0), 0u);
    // Indices outside the lists, counted from 1, and numbers that overflow.
    EXPECT_NE(FailureOf(header + "f 1/1/1 2/1/1 4/1/1\n").find("line 5: face names position 4 of 3"),
              std::string::npos);
    EXPECT_NE(FailureOf(header + "f 0/1/1 2/1/1 3/1/1\n").find("position 0 of 3"), std::string::npos);
    EXPECT_NE(FailureOf(header + "f -1/1/1 2/1/1 3/1/1\n").find("position -1 of 3"), std::string::npos);
    EXPECT_NE(FailureOf(header + "f 1/2/1 2/1/1 3/1/1\n").find("texture coordinate 2 of 1"), std::string::npos);
    EXPECT_NE(FailureOf(header + "f 99999999999/1/1 2/1/1 3/1/1\n").find("line 5"), std::string::npos);
    EXPECT_NE(FailureOf("f 1/1/1 1/1/1 1/1/1\n").find("position 1 of 0"), std::string::npos);
}

TEST(MeshFile, MissingFileCannotBeOpened)
{
    testing::TempDir folder;
    try {
        ReadMeshFile(folder.File("absent.js"));
        FAIL() << "a missing file was read";
    } catch (const GameError& error) {
        EXPECT_STREQ(error.what(), "file cannot be opened");
        EXPECT_NE(error.Detail().find("absent.js"), std::string::npos);
    }
}

} // namespace
} // namespace mirefell
