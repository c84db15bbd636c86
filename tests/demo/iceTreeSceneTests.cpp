// The ice tree scene: branch particles, the wandering sphere, the fades and the ice camera.
#include "tests/demo/demoWorld.h"

#include "demo/iceTreeScene.h"
#include "demo/sceneToolkit.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qvr;
using namespace demo;
using namespace demo::test;

TEST(IceTreeScene, ParticlesSitOnEverySecondBranchVertex)
{
    cDemoWorld world(false);
    cIceTreeScene& s = iceTreeScene();
    s.tree = world.graph.createSpatialNode();
    world.graph.getRoot()->addChild(s.tree);
    cGeometryNode* branch = world.graph.createGeometryNode();
    branch->getName() = "Branc";
    branch->getPositions() = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    s.tree->addChild(branch);
    buildTreeParticles();
    ASSERT_NE(s.particles, nullptr);
    EXPECT_EQ(s.particles->getParent(), branch);
    ASSERT_EQ(s.particles->getPositions().size(), 3u);
    EXPECT_EQ(s.particles->getPositions()[2].x, 4.0f);
    EXPECT_TRUE(s.particles->getTriangles().empty());
}

TEST(IceTreeScene, FadesSphereAndParticleAnimationOverTheScene)
{
    cDemoWorld world;
    const cIceTreeScene& s = iceTreeScene();
    const cSpatialNode* branch = s.tree->findByName("Branc");
    ASSERT_NE(branch, nullptr);
    const size_t branchVertices = static_cast<const cGeometryNode*>(branch)->getPositions().size();
    EXPECT_EQ(s.particles->getPositions().size(), (branchVertices + 1) / 2);
    EXPECT_FALSE(s.tree->getOwnVisible());

    world.at(86155);
    float lowest = 1e9f;
    float highest = -1e9f;
    while (demoTimeMs < 101491) {
        updateIceTreeScene();
        const float anim = vertexFloat(s.particles, "anim");
        lowest = std::min(lowest, anim);
        highest = std::max(highest, anim);
        if (demoTimeMs >= 88155 && demoTimeMs < 99491) {
            // The last frame inside the fade-in leaves its value: within one frame of 0.
            ASSERT_LE(fragmentFloat(s.fadeQuad, "fadeToColor"), 33.0f / 2000.0f) << demoTimeMs;
        }
        ASSERT_FALSE(s.sphere->getOwnVisible());
        const cVec3f spherePos = vertexVec3(s.tree, "spherePos");
        ASSERT_EQ(s.sphere->getPosition().y, spherePos.y);
        ASSERT_EQ(vertexVec3(s.particles, "spherePos").x, spherePos.x);
        world.advance(33);
    }
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LE(highest, 727.0f);
    EXPECT_GT(highest - lowest, 700.0f);
    EXPECT_EQ(s.iceCamera->getPosition().x, s.camera->getPosition().x);
    EXPECT_TRUE(s.iceCamera->getRenderPass(0).mainCameraOnly);
    EXPECT_NEAR(fragmentFloat(s.fadeQuad, "fadeToColor"), 1.0f, 0.02f);
}
