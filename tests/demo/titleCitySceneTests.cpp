// The title city scene: the title chain and its glyph columns, chains below the water, the
// end-point path and the growth and blow-up over the scene.
#include "tests/demo/demoWorld.h"

#include "demo/sceneToolkit.h"
#include "demo/titleCityScene.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qvr;
using namespace demo;
using namespace demo::test;

TEST(TitleCityScene, RootChainSpellsTheTitle)
{
    cDemoWorld world;
    const cTitleCityScene& s = titleCityScene();
    EXPECT_FALSE(s.blockTemplate->getOwnVisible());
    const size_t perBlock = s.blockTemplate->getPositions().size();
    const cVec3Array& displace = s.blocks->getVec3Attributes().at("displace");
    const cVec2Array& uv = s.blocks->getVec2Attributes().at("texCoord1");
    const cVec2Array& templateUv = s.blockTemplate->getVec2Attributes().at("texCoord1");
    ASSERT_EQ(s.blocks->getPositions().size() % perBlock, 0u);
    ASSERT_GE(s.blocks->getPositions().size(), 23 * perBlock);
    for (size_t q = 0; q <= 22; ++q) {
        const size_t first = q * perBlock;
        EXPECT_FLOAT_EQ(displace[first].x, q * 140.0f);
        EXPECT_FLOAT_EQ(displace[first].y, 2500.0f);
        const float column = q < 22 ? static_cast<float>(kTitle[q] - 32) : 0.0f;
        for (size_t v = 0; v < perBlock; ++v) {
            ASSERT_FLOAT_EQ(uv[first + v][0], templateUv[v][0] / 66.0f + column / 66.0f) << q;
            ASSERT_FLOAT_EQ(uv[first + v][1], templateUv[v][1] + q) << q;
        }
        EXPECT_FLOAT_EQ(s.blocks->getPositions()[first].x, s.blockTemplate->getPositions()[0].x * 140.0f);
    }
    // The next block starts the first child chain at the root chain's end, at q = 1.
    EXPECT_FLOAT_EQ(uv[23 * perBlock][1], templateUv[0][1] + 1.0f + 22.0f);
    for (const cVec3f& d : displace) {
        ASSERT_GE(d.y, 0.0f);
    }
    // Every chain at levels 1-5 marks the end of its third child.
    EXPECT_EQ(s.endPoints.size(), 121u);
    EXPECT_EQ(s.endPath.getKeyCount(), 121);
    EXPECT_FLOAT_EQ(s.lastDistance, 22.0f + 6 + 14 + 6 + 14 + 6);
    EXPECT_EQ(s.water->getParent(), world.graph.getRoot());
    size_t waterCount = 0;
    for (const auto& child : world.graph.getRoot()->getChildren()) {
        waterCount += child.get() == s.water;
    }
    EXPECT_EQ(waterCount, 1u);
}

TEST(TitleCityScene, ChainBelowTheWaterPlacesNoBlocksButSeedsItsChildren)
{
    cDemoWorld world(false);
    cTitleCityScene& s = titleCityScene();
    s.blockTemplate = world.graph.createGeometryNode();
    s.blockTemplate->getPositions() = {{0.5f, 0.5f, 0.5f}};
    s.blockTemplate->getVec2Attributes()["texCoord1"] = {{1.0f, 1.0f}};
    s.blocks = world.graph.createGeometryNode();
    world.graph.getRoot()->addChild(s.blockTemplate);
    world.graph.getRoot()->addChild(s.blocks);
    s.blocks->getVec3Attributes()["displace"];
    s.blocks->getVec2Attributes()["texCoord1"];

    // A vertical chain at level 4 going down from y = 280: blocks at 140 and 0, then below.
    buildTitleBlocks(10.0f, 4, 1, cVec3f(0, -1, 0), cVec3f(0, 280, 0), 6, true);
    const cVec3Array& displace = s.blocks->getVec3Attributes().at("displace");
    ASSERT_GE(displace.size(), 2u);
    EXPECT_FLOAT_EQ(displace[0].y, 140.0f);
    EXPECT_FLOAT_EQ(displace[1].y, 0.0f);
    ASSERT_EQ(s.endPoints.size(), 2u);
    EXPECT_FLOAT_EQ(s.endPoints[0].y, -560.0f);
    // The third child starts at that end point: horizontal, six blocks long.
    cVec3f step = s.endPoints[1];
    step.subtract(s.endPoints[0]);
    EXPECT_FLOAT_EQ(step.length(), 6 * 140.0f);
    EXPECT_EQ(step.y, 0.0f);
    for (const cVec3f& d : displace) {
        EXPECT_GE(d.y, 0.0f);
    }
    EXPECT_FLOAT_EQ(s.lastDistance, 10.0f + 6.0f + 6.0f);
}

TEST(TitleCityScene, GrowthPassesTheLastKeyAndTheBlocksBlowApart)
{
    cDemoWorld world;
    const cTitleCityScene& s = titleCityScene();
    cCameraNode* camera = sharedObjects().mainCamera;
    world.at(163924);
    updateTitleCityScene();
    EXPECT_FLOAT_EQ(camera->getPosition().x, -280.0f);  // the title view at step 0
    float blowup = 0.0f;
    while (demoTimeMs < 184000) {
        world.advance(33);
        updateTitleCityScene();
        blowup = std::max(blowup, vertexFloat(s.blocks, "blowup"));
        if (s.step <= 22) {
            ASSERT_FLOAT_EQ(camera->getLookAtTarget().x, camera->getPosition().x);
        }
    }
    EXPECT_GT(s.step, 143);
    // Growth is far past 1: the linear end-point path holds its last key.
    const cVec3f target = s.endPoints.back().scaled(0.04f);
    EXPECT_FLOAT_EQ(camera->getLookAtTarget().x, target.x);
    EXPECT_FLOAT_EQ(camera->getLookAtTarget().z, target.z);
    EXPECT_GT(blowup, 0.0f);
    EXPECT_EQ(fragmentFloat(s.blocks, "anim"), static_cast<float>(s.step));
    EXPECT_GT(fragmentFloat(s.picture38, "fadeToColor"), 0.98f);
}
