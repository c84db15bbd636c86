// The snake city scene: block placement and its random draws, the cut at 7.8 s, the seed morphs.
#include "tests/demo/demoWorld.h"

#include "demo/sceneToolkit.h"
#include "demo/snakeCityScene.h"
#include "math/random.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qvr;
using namespace demo;
using namespace demo::test;

namespace {

cVec3f lookDirection(cCameraNode* camera)
{
    cVec3f d = camera->getLookAtTarget();
    d.subtract(camera->getPosition());
    return d;
}

} // namespace

TEST(SnakeCityScene, BlocksShareOneDisplacementDrawnInOrder)
{
    cDemoWorld world;
    const cSnakeCityScene& s = snakeCityScene();
    const size_t perBlock = s.blockTemplate->getPositions().size();
    ASSERT_GT(perBlock, 0u);
    const cVec2Array& displace = s.city->getVec2Attributes().at("displace");
    ASSERT_EQ(s.city->getPositions().size(), 500 * perBlock);
    ASSERT_EQ(displace.size(), 500 * perBlock);
    EXPECT_EQ(s.city->getVec3Attributes().at("normals").size(), 500 * perBlock);

    // The sculpture builds first and draws nothing, so the street takes the first 500 draws.
    seedRandom(1);
    for (int32_t i = 0; i < 500; ++i) {
        const float t = static_cast<float>(i) * 1.2f;
        const float r = static_cast<float>(randomInt() % 5000 + 2500);
        const float x = std::sin(t) * 1000.0f + (i % 2 == 0 ? r : -r);
        for (size_t v = 0; v < perBlock; ++v) {
            const auto& d = displace[i * perBlock + v];
            ASSERT_FLOAT_EQ(d[0], x) << "block " << i;
            ASSERT_FLOAT_EQ(d[1], t * 48.0f - 12000.0f) << "block " << i;
        }
    }
    const size_t snakeBlock = s.blockTemplate->getPositions().size();
    const cVec2Array& snake = s.snake->getVec2Attributes().at("displace");
    ASSERT_EQ(snake.size(), 5000 * snakeBlock);
    EXPECT_FLOAT_EQ(snake[0][0], -250.0f);
    EXPECT_FLOAT_EQ(snake[0][1], -500.0f);
    EXPECT_FLOAT_EQ(snake[4999 * snakeBlock][0], 240.0f);
    EXPECT_FLOAT_EQ(snake[4999 * snakeBlock][1], 490.0f);
    EXPECT_FALSE(s.snake->getOwnVisible());
    EXPECT_TRUE(s.blockTemplate->getOwnVisible());
}

TEST(SnakeCityScene, CutAt7800ChangesViewAndHidesTheTitle)
{
    cDemoWorld world;
    const cSnakeCityScene& s = snakeCityScene();
    world.at(7799);
    updateSnakeCityScene();
    EXPECT_EQ(s.viewIndex, 0);
    EXPECT_TRUE(s.titleQuad->getOwnVisible());
    cVec3f d = lookDirection(s.camera);
    EXPECT_NEAR(d.x, -1400.0f, 0.01f);
    EXPECT_NEAR(d.y, 1000.0f, 0.01f);
    EXPECT_EQ(s.camera, world.graph.getActiveCamera());

    world.at(7800);
    updateSnakeCityScene();
    EXPECT_EQ(s.viewIndex, 1);
    EXPECT_FALSE(s.titleQuad->getOwnVisible());
    EXPECT_FLOAT_EQ(fragmentFloat(s.fadeQuad, "fadeToColor"), 1.0f);
    d = lookDirection(s.camera);
    EXPECT_NEAR(d.x, 0.0f, 0.01f);
    EXPECT_NEAR(d.z, 400.0f, 0.01f);
    // The reflection camera follows the main one.
    EXPECT_EQ(sharedObjects().reflectionCamera->getLookAtTarget().z, s.camera->getLookAtTarget().z);
    EXPECT_FALSE(s.snake->getOwnVisible());

    world.at(15620);
    updateSnakeCityScene();
    EXPECT_EQ(s.viewIndex, 2);
    EXPECT_TRUE(s.snake->getOwnVisible());
    EXPECT_EQ(reflectionPass().exclude, (std::vector<cSpatialNode*>{s.water, s.titleQuad}));
}

TEST(SnakeCityScene, CitySeedsWaitForTheCutWhileTheSnakeReseedsAt1200)
{
    cDemoWorld world;
    const cSnakeCityScene& s = snakeCityScene();
    for (int32_t frame = 1; frame <= 11; ++frame) {
        world.advance(100);
        updateSnakeCityScene();
    }
    EXPECT_EQ(s.snakeFromSeed, 0.0f);
    EXPECT_FLOAT_EQ(vertexFloat(s.snake, "seedT"), 1100.0f / 1200.0f);
    world.advance(100);
    updateSnakeCityScene();
    EXPECT_EQ(s.snakeFromSeed, 1.0f);
    EXPECT_EQ(s.snakeTimer, 0);
    EXPECT_GE(s.snakeInterval, 1500);
    EXPECT_LT(s.snakeInterval, 2150);
    EXPECT_FLOAT_EQ(vertexFloat(s.snake, "toSeed"), s.snakeToSeed);

    while (demoTimeMs + 100 < 7800) {
        world.advance(100);
        updateSnakeCityScene();
    }
    EXPECT_EQ(s.cityToSeed, 1.0f);
    EXPECT_EQ(s.cityFromSeed, 0.0f);
    EXPECT_GT(vertexFloat(s.city, "seedT"), 1.0f);  // the timer ran on before the morph began
    world.advance(100);
    updateSnakeCityScene();
    EXPECT_EQ(s.cityFromSeed, 1.0f);
    EXPECT_GE(s.cityInterval, 300);
    EXPECT_LT(s.cityInterval, 350);
    EXPECT_FLOAT_EQ(vertexFloat(s.city, "seedT"), 0.0f);
}
