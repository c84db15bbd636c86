// The extrusion scene: the tube tree's size, seam and side angles, its random draws, the flags
// of the update and the logo key.
#include "tests/demo/demoWorld.h"

#include "demo/extrusionScene.h"
#include "demo/sceneToolkit.h"
#include "math/random.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace qvr;
using namespace demo;
using namespace demo::test;

namespace {

constexpr size_t kRing = kTubeSides;
constexpr size_t kTubeVertices = (kTubeSegments + 1) * kTubeSides;
constexpr size_t kTubeTriangles = (kTubeSegments - 1) * kTubeSides * 2;

cVec3f ringCentre(const cVec3Array& positions, size_t first)
{
    cVec3f sum;
    for (size_t j = 0; j < kRing; ++j) {
        sum.add(positions[first + j]);
    }
    sum.scale(1.0f / kRing);
    return sum;
}

} // namespace

TEST(ExtrusionScene, TreeOf121TubesWithASpiralSeam)
{
    cDemoWorld world;
    const cExtrusionScene& s = extrusionScene();
    const cGeometryNode* tubes = s.tubes;
    ASSERT_EQ(tubes->getPositions().size(), 121 * kTubeVertices);
    ASSERT_EQ(tubes->getTriangles().size(), 121 * kTubeTriangles);
    EXPECT_EQ(tubes->getVec3Attributes().at("normals").size(), 121 * kTubeVertices);
    EXPECT_EQ(tubes->getVec3Attributes().at("tangent").size(), 121 * kTubeVertices);
    EXPECT_EQ(tubes->getVec2Attributes().at("texCoord1").size(), 121 * kTubeVertices);
    EXPECT_GT(tubes->getBoundsRadius(), 0.0f);

    for (size_t tube = 0; tube < 121; ++tube) {
        const uint32_t base = static_cast<uint32_t>(tube * kTubeVertices);
        const auto* t = &tubes->getTriangles()[tube * kTubeTriangles];
        uint32_t highest = 0;
        for (size_t k = 0; k < kTubeTriangles; ++k) {
            for (uint32_t index : t[k]) {
                ASSERT_GE(index, base);
                highest = std::max(highest, index);
            }
        }
        // Only the seam of the last strip reaches the last ring, at its first vertex.
        ASSERT_EQ(highest, base + kTubeSegments * kTubeSides) << "tube " << tube;
    }

    // Side 7 sits just short of half a turn from side 0 on every ring, so the two do not cancel.
    const cVec3Array& p = tubes->getPositions();
    const cVec3f centre = ringCentre(p, 0);
    cVec3f r0 = p[0];
    r0.subtract(centre);
    cVec3f r7 = p[7];
    r7.subtract(centre);
    const float radius = r0.length();
    EXPECT_NEAR(radius, 8.0f, 0.05f);
    EXPECT_NEAR(r0.plus(r7).length(), radius * (kPi - 3.1405926f), 0.002f);
    for (int32_t j = 0; j < kTubeSides; ++j) {
        const float plain = static_cast<float>(j) / kTubeSides * kTwoPi;
        EXPECT_EQ(tubeSideAngle(j), j == 7 ? 3.1405926f : plain) << j;
    }
}

TEST(ExtrusionScene, FirstTubeFollowsItsDrawsDirectionXBeforeZ)
{
    cDemoWorld world(false);
    buildExtrusionScene();
    // The ring city takes the first 1000 draws, then the first tube: x and z of its direction,
    // six jitters of three, its texture offset.
    seedRandom(1);
    for (int32_t i = 0; i < 1000; ++i) {
        randomInt();
    }
    const float dx = static_cast<float>(randomInt() % 800 - 300);
    const float dz = static_cast<float>(randomInt() % 800 - 300);
    cVec3f direction(dx, 800.0f, dz);
    direction.normalize();
    cVec3f jitter;
    for (int32_t i = 0; i < 18; ++i) {
        const float value = static_cast<float>(randomInt() % 8000 - 4000) * 0.01f;
        (i % 3 == 0 ? jitter.x : i % 3 == 1 ? jitter.y : jitter.z) = value;
    }
    const cVec3f end = cVec3f(0.0f, -900.0f, 0.0f).plus(direction.scaled(6 * 50.2f)).plus(jitter);
    const cVec3f last = ringCentre(extrusionScene().tubes->getPositions(), kTubeSegments * kTubeSides);
    // The rings are cones about the spline (up is not kept square to it), so their average lies
    // a little off the centre; swapped draws would put it hundreds of units away.
    EXPECT_NEAR(last.x, end.x, 1.0f);
    EXPECT_NEAR(last.y, end.y, 1.0f);
    EXPECT_NEAR(last.z, end.z, 1.0f);
    const float extra = static_cast<float>(randomInt() % 1800);
    // v runs from the start value 1 to 70 + extra + 1 along the tube.
    const cVec2Array& uv = extrusionScene().tubes->getVec2Attributes().at("texCoord1");
    EXPECT_FLOAT_EQ(uv[0][1], 1.0f);
    EXPECT_FLOAT_EQ(uv[kTubeVertices - 1][1], 71.0f + extra);
}

TEST(ExtrusionScene, FlagsShowTheirPartsAndRainAlwaysShows)
{
    cDemoWorld world;
    const cExtrusionScene& s = extrusionScene();
    world.at(60000);
    updateExtrusionScene(1, 0, 0);
    for (cSpatialNode* node : {static_cast<cSpatialNode*>(s.tubes), static_cast<cSpatialNode*>(s.linkA),
                               static_cast<cSpatialNode*>(s.linkB), static_cast<cSpatialNode*>(s.linkC),
                               static_cast<cSpatialNode*>(s.linkD), static_cast<cSpatialNode*>(s.cloud)}) {
        EXPECT_FALSE(node->getOwnVisible());
    }
    EXPECT_TRUE(s.ring->getOwnVisible());
    EXPECT_TRUE(s.water->getOwnVisible());
    EXPECT_TRUE(s.rain->getOwnVisible());
    EXPECT_EQ(world.renderer.clearRed, 0.01f);
    EXPECT_TRUE(world.renderer.culling);
    EXPECT_TRUE(reflectionPass().mainCameraOnly);
    EXPECT_EQ(s.viewIndex, 0);
    EXPECT_FLOAT_EQ(world.graph.getActiveCamera()->getPosition().y, 350.0f);

    world.at(80000);
    updateExtrusionScene(1, 0, 1);
    EXPECT_TRUE(s.cloud->getOwnVisible());
    EXPECT_FALSE(s.tubes->getOwnVisible());
    EXPECT_EQ(s.viewIndex, 1);

    world.at(140000);
    updateExtrusionScene(0, 1, 1);
    EXPECT_TRUE(s.tubes->getOwnVisible());
    EXPECT_TRUE(s.linkD->getOwnVisible());
    EXPECT_TRUE(s.rain->getOwnVisible());
    EXPECT_FLOAT_EQ(vertexFloat(s.linkB, "anim"), s.growth1);
    EXPECT_FLOAT_EQ(fragmentFloat(s.tubes, "anim"), s.growth0);

    hideExtrusionScene();
    EXPECT_FALSE(s.rain->getOwnVisible());
    EXPECT_FALSE(s.picture37->getOwnVisible());
}

TEST(ExtrusionScene, SpaceTogglesTheLogoOnEachPress)
{
    cDemoWorld world;
    const cExtrusionScene& s = extrusionScene();
    world.at(60000);
    world.advance(33);
    updateExtrusionScene(1, 0, 0);
    setFragmentFloat(s.rain, "logoShow", 0.5f);  // untouched until the key goes down
    world.advance(33);
    updateExtrusionScene(1, 0, 0);
    EXPECT_EQ(fragmentFloat(s.rain, "logoShow"), 0.5f);

    world.keys.held = {kKeySpace};
    world.advance(33);
    updateExtrusionScene(1, 0, 0);
    EXPECT_EQ(fragmentFloat(s.rain, "logoShow"), 0.0f);
    EXPECT_TRUE(s.logoOn);
    world.advance(33);  // still held: no new press
    updateExtrusionScene(1, 0, 0);
    EXPECT_TRUE(s.logoOn);

    world.keys.held.clear();
    world.advance(33);
    updateExtrusionScene(1, 0, 0);
    world.keys.held = {kKeySpace};
    world.advance(33);
    updateExtrusionScene(1, 0, 0);
    EXPECT_FLOAT_EQ(fragmentFloat(s.rain, "logoShow"), 0.8f);
    EXPECT_FALSE(s.logoOn);
}

TEST(ExtrusionScene, PicturesTakeTurnsAndTheLastIsLeftFading)
{
    cDemoWorld world;
    const cExtrusionScene& s = extrusionScene();
    world.at(132712);
    while (demoTimeMs < 163924) {
        updateExtrusionScene(1, 1, 1);
        const int32_t t = demoTimeMs;
        if (t >= 136712 && t <= 141712) {
            ASSERT_GE(fragmentFloat(s.picture35, "fadeToColor"), 1.0f - 33.0f / 2000.0f) << t;
        }
        if (t < 145712) {
            ASSERT_EQ(fragmentFloat(s.picture36, "fadeToColor"), 0.0f) << t;
        }
        world.advance(33);
    }
    EXPECT_NEAR(fragmentFloat(s.picture37, "fadeToColor"), 0.89f, 0.02f);
    EXPECT_NEAR(fragmentFloat(s.fadeQuad, "fadeToColor"), 1.0f, 0.02f);
}
