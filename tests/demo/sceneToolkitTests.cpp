// The scene toolkit: fade ramp, mesh appending, perpendicular vectors, overlay quads, checked
// loading, and the shared objects made once.
#include "tests/demo/demoWorld.h"

#include "demo/sceneToolkit.h"
#include "math/random.h"
#include "tests/support/testSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace qvr;
using namespace demo;
using namespace demo::test;

TEST(SceneToolkit, FadeRampSetsOneMinusTheRampInsideItsIntervalOnly)
{
    cDemoWorld world(false);
    cGeometryNode* quad = nullptr;
    addOverlayQuad(quad);
    setFragmentFloat(quad, "fadeToColor", 0.25f);

    world.at(999);
    fadeToColorRamp(quad, 1000, 3000, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 0.25f);
    world.at(1000);
    fadeToColorRamp(quad, 1000, 3000, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 0.0f);  // 1 - to
    world.at(1500);
    fadeToColorRamp(quad, 1000, 3000, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 0.25f);
    world.at(3000);
    fadeToColorRamp(quad, 1000, 3000, 0.0f, 1.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 1.0f);  // 1 - from
    world.at(3001);
    fadeToColorRamp(quad, 1000, 3000, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 1.0f);
    world.at(3000);
    fadeToColorRamp(quad, 1000, 3000, 1.0f, 0.0f);
    EXPECT_FLOAT_EQ(fragmentFloat(quad, "fadeToColor"), 0.0f);
}

TEST(SceneToolkit, AppendMeshTakesOnlyDeclaredAttributesAndMovesIndices)
{
    cScenegraph graph;
    cGeometryNode* destination = graph.createGeometryNode();
    graph.getRoot()->addChild(destination);
    destination->getPositions() = {{0, 0, 0}, {1, 0, 0}};
    destination->getTriangles() = {{0, 1, 1}};
    destination->getVec2Attributes()["texCoord1"] = {{0, 0}, {1, 0}};
    destination->getVec3Attributes()["normals"];

    cMeshData source;
    source.positions = {{5, 5, 5}, {6, 6, 6}, {7, 7, 7}};
    source.triangles = {{0, 1, 2}, {2, 1, 0}};
    source.vec2["texCoord1"] = {{0.5f, 0.5f}, {0.6f, 0.6f}, {0.7f, 0.7f}};
    source.vec2["displace"] = {{9, 9}, {9, 9}, {9, 9}};
    source.vec3["normals"] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    source.vec4["colour"] = {{1, 1, 1, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}};
    appendMesh(*destination, source);

    EXPECT_EQ(destination->getPositions().size(), 5u);
    EXPECT_EQ(destination->getPositions()[2].x, 5.0f);
    ASSERT_EQ(destination->getTriangles().size(), 3u);
    EXPECT_EQ(destination->getTriangles()[1], (cTriangle{2, 3, 4}));
    EXPECT_EQ(destination->getTriangles()[2], (cTriangle{4, 3, 2}));
    EXPECT_EQ(destination->getVec2Attributes()["texCoord1"].size(), 5u);
    EXPECT_EQ(destination->getVec2Attributes()["texCoord1"][4][0], 0.7f);
    EXPECT_EQ(destination->getVec3Attributes()["normals"].size(), 3u);
    EXPECT_EQ(destination->getVec2Attributes().count("displace"), 0u);
    EXPECT_TRUE(destination->getVec4Attributes().empty());
}

TEST(SceneToolkit, PerpendicularOfDropsTheSmallestComponent)
{
    struct cCase {
        cVec3f v;
        cVec3f expected;
    };
    const cCase cases[] = {
        {{0.1f, 2.0f, 3.0f}, cVec3f(0.0f, -3.0f, 2.0f).normalized()},   // x smallest
        {{2.0f, 0.1f, 3.0f}, cVec3f(-3.0f, 0.0f, 2.0f).normalized()},   // y smallest
        {{2.0f, 3.0f, 0.1f}, cVec3f(-3.0f, 2.0f, 0.0f).normalized()},   // z smallest
        {{1.0f, 1.0f, 2.0f}, cVec3f(-2.0f, 0.0f, 1.0f).normalized()},   // |y| = |x|: y
        {{1.0f, 2.0f, 1.0f}, cVec3f(-2.0f, 1.0f, 0.0f).normalized()},   // |x| = |z|: z
        {{0.0f, -5.0f, 0.0f}, cVec3f(5.0f, 0.0f, 0.0f).normalized()},   // on an axis
    };
    for (const cCase& c : cases) {
        const cVec3f p = perpendicularOf(c.v);
        EXPECT_NEAR(p.x, c.expected.x, 1e-6f);
        EXPECT_NEAR(p.y, c.expected.y, 1e-6f);
        EXPECT_NEAR(p.z, c.expected.z, 1e-6f);
        EXPECT_NEAR(p.dot(c.v), 0.0f, 1e-5f);
    }
}

TEST(SceneToolkit, OverlayQuadCoversTheScreenUnderTheRoot)
{
    cDemoWorld world(false);
    cGeometryNode* quad = nullptr;
    addOverlayQuad(quad);
    ASSERT_NE(quad, nullptr);
    EXPECT_EQ(quad->getParent(), world.graph.getRoot());
    const cVec3f corners[4] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    ASSERT_EQ(quad->getPositions().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(quad->getPositions()[i].x, corners[i].x);
        EXPECT_EQ(quad->getPositions()[i].y, corners[i].y);
        EXPECT_EQ(quad->getPositions()[i].z, corners[i].z);
    }
    EXPECT_EQ(quad->getVec2Attributes()["tex1"], (cVec2Array{{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(quad->getTriangles(), (std::vector<cTriangle>{{0, 1, 3}, {1, 2, 3}}));
}

TEST(SceneToolkit, SharedObjectsAreMadeOnce)
{
    cDemoWorld world(false);
    cSpatialNode* water = world.graph.createSpatialNode();
    world.graph.getRoot()->addChild(water);
    EXPECT_TRUE(makeMainCameraObjects());
    EXPECT_TRUE(makeReflectionCamera(water, false));
    EXPECT_FALSE(makeMainCameraObjects());
    EXPECT_FALSE(makeReflectionCamera(water, true));
    EXPECT_EQ(sharedObjects().mainCamera->getRenderPassCount(), 1);
    EXPECT_EQ(world.graph.getCameraCount(), 2);
    EXPECT_EQ(world.graph.getPostProcessChain().size(), 4u);
    EXPECT_EQ(world.graph.getPostProcessSteps().size(), 9u);
    EXPECT_FALSE(reflectionPass().mainCameraOnly);
    EXPECT_EQ(reflectionPass().exclude, std::vector<cSpatialNode*>{water});
    // Targets: glow pass, three post steps, then the reflection camera.
    EXPECT_EQ(world.renderer.nextTargetId, 5);
}

TEST(SceneToolkitDeathTest, RejectedMeshFileAndMissingNodeEndTheRunNamingThem)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    qvr::test::cScratchDir scratch(true);
    qvr::test::writeFile(scratch.file("broken.QVS"), "version:1\nnumber of groups:abc\n");
    qvr::test::writeFile(scratch.file("empty.QVS"), "version:1\nnumber of groups:0\n");
    cScenegraph graph;
    setDemoServices({&graph, nullptr, nullptr});
    EXPECT_EXIT(loadMeshFile("broken.QVS", "buildSomething"), ::testing::ExitedWithCode(EXIT_FAILURE),
                "buildSomething : could not load broken.QVS");
    cSpatialNode* top = loadMeshFile("empty.QVS", "buildSomething");
    EXPECT_EXIT(findGeometry(top, "Box01", "empty.QVS", "buildCityBlocks"),
                ::testing::ExitedWithCode(EXIT_FAILURE), "buildCityBlocks : empty.QVS has no mesh node named \"Box01\"");
    setDemoServices({});
}
