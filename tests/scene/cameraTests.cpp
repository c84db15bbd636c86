// Camera projection, view direction and render passes.
#include "scene/cScenegraph.h"

#include <gtest/gtest.h>

using namespace qvr;

TEST(Camera, DefaultProjectionIs75DegreesAtFourThirds)
{
    const cCameraNode camera;
    const cMatrix4f p = camera.getProjection();
    EXPECT_NEAR(p.at(0, 0), 0.9774190f, 1e-6f);
    EXPECT_NEAR(p.at(1, 1), 1.3032254f, 1e-6f);
    EXPECT_NEAR(p.at(2, 2), -1.0000107f, 1e-6f);
    EXPECT_NEAR(p.at(2, 3), -0.6000032f, 1e-6f);
    EXPECT_EQ(p.at(3, 2), -1);
    EXPECT_EQ(p.at(3, 3), 0);
    EXPECT_FALSE(camera.lookAtMode);
    EXPECT_EQ(camera.getType(), kNodeCamera);
}

TEST(Camera, UnrotatedCameraLooksAlongPlusZ)
{
    cScenegraph graph;
    cCameraNode* camera = graph.getActiveCamera();
    camera->setPosition(cVec3f(0, 0, -5));
    graph.update(graph.getRoot(), 0);
    const cVec4f ahead = camera->getViewMatrix().transform(cVec4f(0, 0, 10, 1));
    EXPECT_NEAR(ahead.z, -15, 1e-4f);  // in front of an OpenGL eye: negative z
    EXPECT_NEAR(ahead.x, 0, 1e-4f);
    const cVec4f right = camera->getViewMatrix().transform(cVec4f(-1, 0, -5, 1));
    EXPECT_NEAR(right.x, 1, 1e-4f);  // looking along +z, world -x is to the right

    // setLookAt alone keeps the rotation view.
    camera->setLookAt(cVec3f(100, 0, -5), cVec3f(0, 1, 0));
    const cVec4f stillAhead = camera->getViewMatrix().transform(cVec4f(0, 0, 10, 1));
    EXPECT_NEAR(stillAhead.z, -15, 1e-4f);
    camera->lookAtMode = true;
    const cVec4f target = camera->getViewMatrix().transform(cVec4f(100, 0, -5, 1));
    EXPECT_NEAR(target.x, 0, 1e-3f);
    EXPECT_NEAR(target.z, -100, 1e-3f);
}

TEST(Camera, RenderPassesAreStoredByValue)
{
    cCameraNode camera;
    cRenderPass pass;
    EXPECT_TRUE(pass.mainCameraOnly);
    EXPECT_EQ(pass.target.kind, kTargetScreen);
    EXPECT_EQ(pass.target.texture.getSource(), kTextureFromRenderTarget);
    EXPECT_EQ(pass.target.texture.getType(), kTexture2D);
    EXPECT_EQ(pass.target.id, -1);
    camera.addRenderPass(pass);
    pass.mainCameraOnly = false;
    ASSERT_EQ(camera.getRenderPassCount(), 1);
    EXPECT_TRUE(camera.getRenderPass(0).mainCameraOnly);
    camera.getRenderPass(0).target.kind = kTargetTexture;
    EXPECT_EQ(camera.getRenderPass(0).target.kind, kTargetTexture);
}
