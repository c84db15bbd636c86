// The corridor scene: the closed sweep, the greeting's letters, the groups, the splash that is
// never hidden and the camera's descent.
#include "tests/demo/demoWorld.h"

#include "demo/corridorScene.h"
#include "demo/sceneToolkit.h"
#include "scene/cLinkNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace qvr;
using namespace demo;
using namespace demo::test;

TEST(CorridorScene, SweepOf1001RingsClosedOntoTheFirst)
{
    cDemoWorld world;
    const cCorridorScene& s = corridorScene();
    const cGeometryNode* corridor = s.corridor;
    ASSERT_EQ(corridor->getPositions().size(), 1001u * 100u);
    ASSERT_EQ(corridor->getTriangles().size(), 1000u * 200u + 200u);
    EXPECT_EQ(corridor->getVec3Attributes().at("normals").size(), 1001u * 100u);
    // The closing band joins the last ring to the first.
    const cTriangle& closing = corridor->getTriangles()[1000 * 200];
    EXPECT_EQ(closing, (cTriangle{100000, 100001, 0}));
    EXPECT_EQ(corridor->getTriangles().back(), (cTriangle{100000, 0, 99}));
    // The path comes back round to its start (its height has risen by 10 sin 0.25 there), and the
    // sweep's turns bring the last ring back onto the first, up to a twist of a few degrees that
    // the rising path leaves in the carried rotation.
    const float rise = 10.0f * std::sin(0.25f);
    for (size_t i = 0; i < 100; ++i) {
        cVec3f d = corridor->getPositions()[100000 + i];
        d.subtract(corridor->getPositions()[i]);
        d.y -= rise;
        ASSERT_LT(d.length(), 1.5f) << i;
    }
    EXPECT_NEAR(s.water->getPosition().y, -14.0f, 1e-4f);
    EXPECT_EQ(s.water->getPositions().size(), corridor->getPositions().size());
}

TEST(CorridorScene, LettersAdvanceOverCharactersWithoutGlyphs)
{
    cDemoWorld world;
    const cCorridorScene& s = corridorScene();
    ASSERT_EQ(s.letterGroups.size(), 1u);
    const std::string greeting = "personal greet to tarnwick";
    const auto& links = s.letterGroups[0]->getChildren();
    ASSERT_EQ(links.size(), greeting.size() - 3);  // three spaces have no glyph
    size_t link = 0;
    for (size_t i = 0; i < greeting.size(); ++i) {
        if (greeting[i] == ' ') {
            continue;
        }
        const cLinkNode* letter = static_cast<const cLinkNode*>(links[link++].get());
        ASSERT_EQ(letter->getType(), kNodeLink);
        ASSERT_EQ(letter->getLinkTarget()->getName(), std::string(1, greeting[i]));
        const cVec3f on = s.path.evaluate(static_cast<float>(i) * 0.005f + 0.1f);
        EXPECT_NEAR(letter->getPosition().y, on.y - 1.0f, 1e-3f) << i;
        EXPECT_NEAR(letter->getPosition().z, on.z, 1e-3f) << i;
        EXPECT_LE(std::fabs(letter->getPosition().x - on.x), 2.5f) << i;
        EXPECT_EQ(letter->scale.x, 6.0f);
        EXPECT_EQ(letter->scale.y, 3.0f);
    }
}

TEST(CorridorScene, FlightWrapsToTheStartSinksAndLeavesTheRightSplashShown)
{
    cDemoWorld world;
    const cCorridorScene& s = corridorScene();
    EXPECT_FALSE(s.corridor->getOwnVisible());
    EXPECT_TRUE(s.splashRight->getOwnVisible());

    world.at(101491);
    updateCorridorScene();
    EXPECT_NEAR(s.pathPos, 0.0f, 1e-6f);
    EXPECT_EQ(s.groupIndex, 0);  // one group: the wrap shows the same one again
    EXPECT_TRUE(s.letterGroups[0]->getOwnVisible());
    EXPECT_EQ(glowPass().exclude.size(), 4u);
    cCameraNode* camera = world.graph.getActiveCamera();
    const cVec3f start = s.path.evaluate(0.0f);
    EXPECT_NEAR(camera->getPosition().x, start.x, 1e-3f);

    float lowest = 1e9f;
    while (demoTimeMs < 132712) {
        world.advance(33);
        updateCorridorScene();
        const float expected = s.path.evaluate(s.pathPos).y + std::sin(0.08f * s.clock) + 1.8f;
        ASSERT_NEAR(camera->getPosition().y, std::max(expected - s.sink, -8.0f), 1e-3f) << demoTimeMs;
        if (demoTimeMs < 130491) {
            ASSERT_EQ(s.sink, 0.0f);
        }
        lowest = std::min(lowest, camera->getPosition().y);
    }
    EXPECT_LT(lowest, -6.0f);
    EXPECT_GE(lowest, -8.0f);
    EXPECT_NEAR(s.pathPos, 0.62f, 0.01f);

    hideCorridorScene();
    EXPECT_FALSE(s.splashLeft->getOwnVisible());
    EXPECT_TRUE(s.splashRight->getOwnVisible());
}
