// All six scenes built together: the shared objects, the render-target ids the material files
// rely on, and the size of every scene's geometry.
#include "tests/demo/demoWorld.h"

#include "demo/corridorScene.h"
#include "demo/extrusionScene.h"
#include "demo/iceTreeScene.h"
#include "demo/sceneToolkit.h"
#include "demo/sculptureScene.h"
#include "demo/snakeCityScene.h"
#include "demo/titleCityScene.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>

using namespace qvr;
using namespace demo;
using namespace demo::test;

namespace {

size_t countVertices(cSpatialNode* top, size_t* triangles)
{
    size_t vertices = 0;
    visitPreOrder(top, [&](cSpatialNode* node) {
        if (node->getType() == kNodeGeometry) {
            const cGeometryNode* g = static_cast<cGeometryNode*>(node);
            vertices += g->getPositions().size();
            *triangles += g->getTriangles().size();
        }
        return true;
    });
    return vertices;
}

bool allFinite(const cGeometryNode* node)
{
    for (const cVec3f& p : node->getPositions()) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            return false;
        }
    }
    for (const auto& [name, values] : node->getVec3Attributes()) {
        for (const cVec3f& v : values) {
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(ShowBuild, SharedObjectsExistOnceWithTargetIdsInCreationOrder)
{
    const auto start = std::chrono::steady_clock::now();
    cDemoWorld world;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("building all six scenes: %.0f ms\n", ms);

    cSharedObjects& shared = sharedObjects();
    ASSERT_NE(shared.mainCamera, nullptr);
    EXPECT_EQ(shared.mainCamera, world.graph.findNode("qvr_defcam"));
    ASSERT_EQ(shared.mainCamera->getRenderPassCount(), 1);
    // Default camera, the reflection camera, the ice camera: nothing else.
    ASSERT_EQ(world.graph.getCameraCount(), 3);
    EXPECT_EQ(world.graph.getCamera(1), shared.reflectionCamera);
    EXPECT_EQ(world.graph.getCamera(2), iceTreeScene().iceCamera);

    EXPECT_EQ(glowPass().target.id, 0);
    EXPECT_EQ(glowPass().target.texture.getWidth(), 128);
    std::vector<cPostProcessStep>& chain = world.graph.getPostProcessChain();
    ASSERT_EQ(chain.size(), 4u);
    EXPECT_EQ(chain[0].target.id, 1);
    EXPECT_EQ(chain[1].target.id, 2);
    EXPECT_EQ(chain[2].target.id, 3);
    EXPECT_EQ(chain[3].target.kind, kTargetScreen);
    EXPECT_EQ(chain[2].material.getTextureState(0).getTextureId(), 2);
    EXPECT_EQ(world.graph.getPostProcessSteps(), (std::vector<int32_t>{0, 1, 2, 1, 2, 1, 2, 1, 3}));
    EXPECT_EQ(reflectionPass().target.id, 4);
    EXPECT_EQ(reflectionPass().target.texture.getWidth(), 512);
    EXPECT_EQ(iceTreeScene().iceCamera->getRenderPass(0).target.id, 5);
    EXPECT_EQ(shared.reflectionCamera->scale.y, -1.0f);
    EXPECT_TRUE(shared.reflectionCamera->lookAtMode);

    // After the last builder, the glow pass leaves out what the corridor says does not glow, and
    // the reflection pass is the corridor's (drawn only while its camera is active).
    const cCorridorScene& corridor = corridorScene();
    EXPECT_EQ(glowPass().exclude, (std::vector<cSpatialNode*>{corridor.water, corridor.splashLeft,
                                                              corridor.splashRight, corridor.waterCreak}));
    EXPECT_TRUE(reflectionPass().mainCameraOnly);
    EXPECT_EQ(reflectionPass().exclude, std::vector<cSpatialNode*>{titleCityScene().water});
}

TEST(ShowBuild, GeometryOfEveryScene)
{
    cDemoWorld world;
    struct cCount {
        const char* scene;
        std::vector<cSpatialNode*> nodes;
    };
    const cSnakeCityScene& snake = snakeCityScene();
    const cExtrusionScene& ex = extrusionScene();
    const cCorridorScene& co = corridorScene();
    const std::vector<cCount> scenes = {
        {"snake city", {snake.city, snake.snake, snake.water}},
        {"sculpture", {sculptureScene().pivot, sculptureScene().water}},
        {"extrusion", {ex.tubes, ex.ring, ex.cloud, ex.rain, ex.water}},
        {"ice tree", {iceTreeScene().tree, iceTreeScene().water}},
        {"corridor", {co.corridor, co.water, co.splashLeft, co.splashRight, co.waterCreak}},
        {"title city", {titleCityScene().blocks, titleCityScene().water}},
    };
    for (const cCount& scene : scenes) {
        size_t triangles = 0;
        size_t vertices = 0;
        for (cSpatialNode* node : scene.nodes) {
            vertices += countVertices(node, &triangles);
            if (node->getType() == kNodeGeometry) {
                EXPECT_TRUE(allFinite(static_cast<cGeometryNode*>(node))) << scene.scene;
            }
        }
        std::printf("%-10s %8zu vertices %8zu triangles\n", scene.scene, vertices, triangles);
    }
}
