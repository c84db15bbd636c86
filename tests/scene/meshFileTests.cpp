// Scene files: both forms, attributes, bounds, tangents, picking and malformed input.
#include "core/cMouseState.h"
#include "scene/cScenegraph.h"
#include "scene/sceneFileWriter.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

using namespace qvr;
using qvr::test::cScratchDir;
using qvr::test::writeFile;

namespace {

void expectVec(const cVec3f& v, float x, float y, float z, float eps = 1e-5f)
{
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

// One triangle in the xy plane with normals and texture coordinates, plus a kind-1 attribute in
// the text form.
const char* const kTriangleText =
    "QVS version:1\n"
    "groups:1\n"
    "nodes:2\n"
    "spatial\n"
    "name:holder\n"
    "id:10\n"
    "parent id:-1\n"
    "transform\n{\nlocal\n"
    "position:1 2 3\n"
    "rotation:0 0 0 1\n"
    "scale:2 2 2\n"
    "}\nend transform\nend node\n"
    "\n"
    "mesh\n"
    "name:tri angle\n"
    "id:11\n"
    "parent id:10\n"
    "transform\n{\nlocal\n"
    "position:0 0 0\n"
    "rotation:0 0 0 1\n"
    "scale:1 1 1\n"
    "}\nend transform\nend node\n"
    "vertices:3\n"
    "0 0 0\n1 0 0\n0 1 0\n"
    "attributes:3\n"
    "name:weights\nkind:1\n0.5\n0.25\n0.125\n"
    "name:normals\nkind:3\n0 0 1\n0 0 1\n0 0 1\n"
    "name:texCoord1\nkind:2\n0 0\n1 0\n0 1\n"
    "triangles:1\n"
    "0 1 2\n"
    "\n";

class MeshFile : public ::testing::Test {
protected:
    cSpatialNode* loadText(const std::string& text, const char* name = "m.QVS")
    {
        writeFile(mDir.file(name), text);
        return mGraph.loadScene(mDir.file(name), false, nullptr);
    }

    size_t rootChildren() const { return mGraph.getRoot()->getChildren().size(); }

    cScratchDir mDir;
    cScenegraph mGraph;
};

} // namespace

TEST_F(MeshFile, TextFormBuildsTheSubtreeUnderANamedTopNode)
{
    cSpatialNode* top = loadText(kTriangleText);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->getName(), mDir.file("m.QVS"));
    EXPECT_EQ(top->getParent(), mGraph.getRoot());
    ASSERT_NE(top->getMaterials(), nullptr);
    EXPECT_EQ(top->getMaterials()->size(), 1u);
    EXPECT_EQ(top->getId(), -1);

    ASSERT_EQ(top->getChildren().size(), 1u);
    cSpatialNode* holder = top->getChildren()[0].get();
    EXPECT_EQ(holder->getName(), "holder");
    EXPECT_EQ(holder->getParentId(), -1);
    expectVec(holder->getPosition(), 1, 2, 3);
    EXPECT_EQ(holder->scale.x, 2);
    ASSERT_EQ(holder->getChildren().size(), 1u);
    auto* tri = dynamic_cast<cGeometryNode*>(holder->getChildren()[0].get());
    ASSERT_NE(tri, nullptr);
    EXPECT_EQ(tri->getName(), "tri angle");
    EXPECT_EQ(tri->getParentId(), 10);
    EXPECT_EQ(tri->getPositions().size(), 3u);
    EXPECT_EQ(tri->getVec3Attributes().count("weights"), 0u);
    EXPECT_EQ(tri->getVec3Attributes().at("normals").size(), 3u);
    EXPECT_EQ(tri->getVec2Attributes().at("texCoord1")[1][0], 1);
    ASSERT_EQ(tri->getTriangles().size(), 1u);
    EXPECT_EQ(tri->getTriangles()[0][2], 2u);
    // The tangent of a triangle whose u runs along x is x, at every vertex.
    const cVec3Array& tangents = tri->getVec3Attributes().at("tangent");
    ASSERT_EQ(tangents.size(), 3u);
    for (const cVec3f& t : tangents) {
        expectVec(t, 1, 0, 0);
    }
    EXPECT_EQ(mGraph.findNode("tri angle"), tri);
}

TEST_F(MeshFile, CrlfFilesReadTheSame)
{
    std::string crlf;
    for (const char* c = kTriangleText; *c; ++c) {
        crlf += (*c == '\n') ? std::string("\r\n") : std::string(1, *c);
    }
    cSpatialNode* top = loadText(crlf);
    ASSERT_NE(top, nullptr);
    EXPECT_NE(mGraph.findNode("tri angle"), nullptr);
    EXPECT_NE(mGraph.findNode("holder"), nullptr);
}

TEST_F(MeshFile, BinaryAndTextFormsLoadTheSameMesh)
{
    cSpatialNode* text = loadText(kTriangleText);
    ASSERT_NE(text, nullptr);
    // Written without the tangents the text form generated: the binary form must not make any.
    auto* generated = dynamic_cast<cGeometryNode*>(text->findByName("tri angle"));
    ASSERT_NE(generated, nullptr);
    const cVec3Array tangents = generated->getVec3Attributes().at("tangent");
    generated->getVec3Attributes().erase("tangent");
    std::ostringstream binary;
    ASSERT_TRUE(writeScene(binary, *text, true));
    generated->getVec3Attributes()["tangent"] = tangents;
    writeFile(mDir.file("m.bin"), binary.str());
    cSpatialNode* fromBinary = mGraph.loadScene(mDir.file("m.bin"), true, text);
    ASSERT_NE(fromBinary, nullptr);
    EXPECT_EQ(fromBinary->getParent(), text);

    auto* a = dynamic_cast<cGeometryNode*>(text->findByName("tri angle"));
    auto* b = dynamic_cast<cGeometryNode*>(fromBinary->findByName("tri angle"));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(b->getParent()->getName(), "holder");
    EXPECT_EQ(b->getId(), 11);
    EXPECT_EQ(b->getPositions().size(), a->getPositions().size());
    EXPECT_EQ(b->getPositions()[2].y, 1);
    EXPECT_EQ(b->getVec2Attributes().at("texCoord1"), a->getVec2Attributes().at("texCoord1"));
    EXPECT_EQ(b->getTriangles(), a->getTriangles());
    EXPECT_EQ(b->getBoundsRadius(), a->getBoundsRadius());
    EXPECT_EQ(b->getParent()->scale.x, 2);
    EXPECT_EQ(b->getVec3Attributes().count("tangent"), 0u);
    EXPECT_EQ(a->getVec3Attributes().count("tangent"), 1u);

    // And the text writer round-trips too.
    std::ostringstream again;
    ASSERT_TRUE(writeScene(again, *text, false));
    cSpatialNode* fromText = loadText(again.str(), "again.QVS");
    ASSERT_NE(fromText, nullptr);
    auto* c = dynamic_cast<cGeometryNode*>(fromText->findByName("tri angle"));
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->getVec3Attributes().at("normals")[0].z, 1);
}

TEST_F(MeshFile, BoundsAreTheHalfDiagonalOfTheBox)
{
    cGeometryNode node;
    node.computeBounds();
    EXPECT_EQ(node.getBoundsRadius(), 0);
    node.getPositions() = {cVec3f(-1, 0, 0), cVec3f(1, 2, 0)};
    node.computeBounds();
    expectVec(node.getBoundsCentre(), 0, 1, 0);
    EXPECT_FLOAT_EQ(node.getBoundsRadius(), std::sqrt(8.0f) / 2);
}

TEST_F(MeshFile, TangentsNeedNormalsAndCoordinatesAndNeverGoNaN)
{
    cGeometryNode node;
    node.getPositions() = {cVec3f(0, 0, 0), cVec3f(1, 0, 0), cVec3f(0, 1, 0), cVec3f(5, 5, 5)};
    node.getTriangles() = {{0, 1, 2}, {0, 1, 7}};  // the second one points past the vertices
    node.getVec3Attributes()["tangent"] = {cVec3f(9, 9, 9)};
    node.generateTangents("tangent");
    EXPECT_EQ(node.getVec3Attributes().count("tangent"), 0u);

    node.getVec3Attributes()["normals"].assign(4, cVec3f(0, 0, 1));
    node.getVec2Attributes()["texCoord1"] = {{0, 0}, {0, 0}, {0, 0}, {0, 0}};  // degenerate
    node.generateTangents("tangent");
    for (const cVec3f& t : node.getVec3Attributes().at("tangent")) {
        expectVec(t, 0, 0, 0);
    }
    node.getVec2Attributes()["texCoord1"] = {{0, 0}, {0, 1}, {-1, 0}, {0, 0}};
    node.generateTangents("tangent");
    const cVec3Array& t = node.getVec3Attributes().at("tangent");
    expectVec(t[0], 0, -1, 0);
    expectVec(t[3], 0, 0, 0);  // on no triangle
}

TEST_F(MeshFile, VersionOtherThanOneAttachesNothing)
{
    std::string text = kTriangleText;
    text.replace(text.find("version:1"), 9, "version:2");
    EXPECT_EQ(loadText(text), nullptr);
    EXPECT_EQ(rootChildren(), 1u);
}

TEST_F(MeshFile, MalformedFilesAttachNothing)
{
    const struct {
        const char* from;
        const char* to;
    } breakages[] = {
        {"0 1 2\n", "0 1 3\n"},                // index past the vertices
        {"mesh\n", "cube\n"},                  // unknown type word
        {"parent id:10\n", "parent id:77\n"},  // no such parent
        {"0 0 1\n0 0 1\n0 0 1\n", "0 0 1\n"},  // attribute shorter than the vertex list
        {"0 0 0\n1 0 0\n0 1 0\n", "0 0 0\nx\n"},
        {"scale:2 2 2", "scale:2 2"},
    };
    for (const auto& b : breakages) {
        SCOPED_TRACE(b.to);
        std::string text = kTriangleText;
        const size_t at = text.find(b.from);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, std::strlen(b.from), b.to);
        EXPECT_EQ(loadText(text), nullptr);
        EXPECT_EQ(rootChildren(), 1u);
    }
}

TEST_F(MeshFile, EveryCutOfATextFileIsSafe)
{
    const std::string text = kTriangleText;
    for (size_t cut = 0; cut < text.size(); ++cut) {
        cSpatialNode* top = loadText(text.substr(0, cut));
        if (top) {
            mGraph.removeNode(top);
        }
    }
    EXPECT_EQ(rootChildren(), 1u);
}

TEST_F(MeshFile, CorruptBinaryCountsAllocateNothing)
{
    cSpatialNode* text = loadText(kTriangleText);
    ASSERT_NE(text, nullptr);
    std::ostringstream out;
    writeScene(out, *text, true);
    const std::string binary = out.str();
    // The vertex count follows the mesh node's record; replace it with a huge value.
    const size_t name = binary.find("tri angle");
    const size_t count = name + std::strlen("tri angle") + 1 + 4 * 12;
    std::string huge = binary;
    const int32_t big = 0x7FFFFFFF;
    std::memcpy(&huge[count], &big, 4);
    writeFile(mDir.file("huge.bin"), huge);
    EXPECT_EQ(mGraph.loadScene(mDir.file("huge.bin"), true, nullptr), nullptr);

    for (size_t cut = 0; cut < binary.size(); ++cut) {
        writeFile(mDir.file("cut.bin"), binary.substr(0, cut));
        cSpatialNode* top = mGraph.loadScene(mDir.file("cut.bin"), true, nullptr);
        if (top) {
            mGraph.removeNode(top);
        }
    }
    EXPECT_EQ(rootChildren(), 2u);
}

TEST_F(MeshFile, MissingFileIsFatal)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    cScratchDir runDir(true);
    EXPECT_EXIT(mGraph.loadScene("Assets/none.QVS", false, nullptr),
                ::testing::ExitedWithCode(EXIT_FAILURE), "Crash: Could not find file:Assets/none.QVS");
}

TEST_F(MeshFile, HitTestCastsTheMouseRayFromTheActiveCamera)
{
    cGeometryNode* ball = mGraph.createGeometryNode();
    ball->getPositions() = {cVec3f(-10, -10, -10), cVec3f(10, 10, 10)};
    ball->computeBounds();
    ball->setPosition(cVec3f(0, 0, 100));  // in front: the default camera looks along +z
    mGraph.getRoot()->addChild(ball);
    mGraph.update(mGraph.getRoot(), 0);

    cMouseState& mouse = getMouseState();
    mouse.x = 400;
    mouse.y = 300;
    EXPECT_TRUE(ball->hitTest());
    mouse.x = 0;
    mouse.y = 0;
    EXPECT_FALSE(ball->hitTest());
    mouse.x = 0;
    mouse.y = 0;
    EXPECT_FALSE(mGraph.getRoot()->hitTest());
}

TEST_F(MeshFile, ParentsAreFoundByIdAlsoInLongChainsAndRepeatedIds)
{
    // A chain of 20000 nodes, each the child of the one before.
    std::string text = "QVS version:1\ngroups:1\nnodes:20000\n";
    for (int i = 0; i < 20000; ++i) {
        text += "spatial\nname:n" + std::to_string(i) + "\nid:" + std::to_string(100 + i) + "\nparent id:" +
                std::to_string(i == 0 ? -1 : 99 + i) +
                "\ntransform\n{\nlocal\nposition:0 0 0\nrotation:0 0 0 1\nscale:1 1 1\n}\nend transform\nend node\n\n";
    }
    qvr::test::writeFile(mDir.file("chain.QVS"), text);
    cSpatialNode* top = mGraph.loadScene(mDir.file("chain.QVS"), false, nullptr);
    ASSERT_NE(top, nullptr);
    const cSpatialNode* tip = top->findByName("n19999");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->getParent()->getName(), "n19998");

    // Id 7 twice: a child naming 7 goes to the first of them in pre-order, which is the one
    // read second here (it sits under the earlier node "a").
    const std::string node = "spatial\nname:%s\nid:%d\nparent id:%d\ntransform\n{\nlocal\nposition:0 0 0\n"
                             "rotation:0 0 0 1\nscale:1 1 1\n}\nend transform\nend node\n\n";
    const auto record = [&](const char* name, int id, int parent) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, node.c_str(), name, id, parent);
        return std::string(buffer);
    };
    qvr::test::writeFile(mDir.file("twice.QVS"), "QVS version:1\ngroups:1\nnodes:4\n" + record("a", 1, -1) +
                                                     record("late", 7, -1) + record("early", 7, 1) +
                                                     record("child", 9, 7));
    cSpatialNode* twice = mGraph.loadScene(mDir.file("twice.QVS"), false, nullptr);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice->findByName("child")->getParent()->getName(), "early");
}
