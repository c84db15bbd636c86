// The sculpture scene: the pivot, the picture, the camera's start and the held fade.
#include "tests/demo/demoWorld.h"

#include "demo/sceneToolkit.h"
#include "demo/sculptureScene.h"

#include <gtest/gtest.h>

using namespace qvr;
using namespace demo;
using namespace demo::test;

TEST(SculptureScene, PivotPictureAndCameraAtTheStart)
{
    cDemoWorld world;
    const cSculptureScene& s = sculptureScene();
    EXPECT_EQ(s.sculpture->getParent(), s.pivot);
    EXPECT_EQ(s.pivot->getParent(), world.graph.getRoot());
    EXPECT_EQ(s.overlayQuad->getMaterial().getTextureState(0).getTextureId(), 34);
    EXPECT_EQ(s.water->scale.x, 40.0f);
    EXPECT_FALSE(s.pivot->getOwnVisible());

    world.at(39001, 1);
    updateSculptureScene();
    const cVec3f p = s.camera->getPosition();
    EXPECT_NEAR(p.x, 0.0f, 2.0f);
    EXPECT_FLOAT_EQ(p.y, 879.0f);
    EXPECT_NEAR(p.z, 1220.0f, 0.01f);
    EXPECT_FLOAT_EQ(s.camera->getLookAtTarget().y, 400.0f);
    EXPECT_TRUE(s.pivot->getOwnVisible());
    EXPECT_EQ(s.pivot->getPosition().y, 830.0f);
    EXPECT_EQ(s.pivot->getMaterial().getPrimitiveState().getCullMode(), 2);
    EXPECT_FLOAT_EQ(vertexVec3(s.sculpture, "posOff").y, 800.0f);
    EXPECT_EQ(sharedObjects().reflectionCamera->getPosition().z, p.z);
}

TEST(SculptureScene, FadeRisesAndHoldsFrom54050)
{
    cDemoWorld world;
    const cSculptureScene& s = sculptureScene();
    // 33 ms frames from 39000 miss 54050 itself: the last frame inside the ramp sets the value
    // that is then held until the cut.
    world.at(39000);
    float held = -1.0f;
    while (demoTimeMs < 54650) {
        updateSculptureScene();
        const float fade = fragmentFloat(s.fadeQuad, "fadeToColor");
        if (demoTimeMs < 52650) {
            ASSERT_EQ(fade, 0.0f) << demoTimeMs;
        } else if (demoTimeMs > 54050) {
            held = held < 0.0f ? fade : held;
            ASSERT_EQ(fade, held) << demoTimeMs;
        }
        world.advance(33);
    }
    EXPECT_GT(held, 0.99f);
    EXPECT_NEAR(s.clock, 15.65f, 0.05f);
    world.at(54050);
    updateSculptureScene();
    world.at(54300);
    updateSculptureScene();
    EXPECT_EQ(fragmentFloat(s.fadeQuad, "fadeToColor"), 1.0f);
}
