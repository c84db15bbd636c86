// The title city scene: recursive block chains, the title view and the orbit, the blow-up.
#include "demo/titleCityScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"

#include <cmath>

namespace demo {

using namespace qvr;

const std::string kTitle = "LANTERNS ON THE QUARRY";

namespace {

// The template block at centre, its texture coordinates moved to glyph column and chain position.
cMeshData titleBlock(const cMeshData& block, const cVec3f& centre, int32_t q, float distance)
{
    cMeshData copy = block;
    for (cVec3f& p : copy.positions) {
        p.scale(kTitleBlockSize);
    }
    copy.vec3["displace"].assign(copy.positions.size(), centre);
    const float columns = static_cast<float>(kGlyphColumns);
    const bool inTitle = q < static_cast<int32_t>(kTitle.size());
    const float column = inTitle ? static_cast<float>(static_cast<unsigned char>(kTitle[q]) - 32) / columns : 0.0f;
    for (std::array<float, 2>& uv : copy.vec2["texCoord1"]) {
        uv = {uv[0] / columns + column, uv[1] + static_cast<float>(q) + distance};
    }
    return copy;
}

void candidateDirections(int32_t vertical, const cVec3f& direction, cVec3f out[4])
{
    if (vertical != 0) {
        out[0] = cVec3f(0, 1, 0);
        out[1] = cVec3f(0, -1, 0);
        if (direction.z == 0.0f) {
            out[2] = cVec3f(0, 0, 1);
            out[3] = cVec3f(0, 0, -1);
        } else {
            out[2] = cVec3f(1, 0, 0);
            out[3] = cVec3f(-1, 0, 0);
        }
    } else {
        out[0] = cVec3f(1, 0, 0);
        out[1] = cVec3f(-1, 0, 0);
        out[2] = cVec3f(0, 0, 1);
        out[3] = cVec3f(0, 0, -1);
    }
}

void aimTitleCamera(cTitleCityScene& s)
{
    const float c = s.clock;
    const float growth = static_cast<float>(s.step) / s.lastDistance;
    cVec3f position(5260.0f * std::sin(0.08f * c), 3560.0f * std::sin(0.08f * c) + 3290.0f,
                    5260.0f * std::cos(0.08f * c));
    cVec3f target = s.endPath.evaluate(growth).scaled(0.04f);
    const float r = static_cast<float>(s.step) / 22.0f;
    if (r <= 6.5f) {
        const float a = r * 22.0f * kTitleBlockSize - 2.0f * kTitleBlockSize;
        position = cVec3f(a, 2500.0f, 6.0f * kTitleBlockSize);
        target = r <= 1.0f ? cVec3f(a, 2500.0f, 0.0f)
                           : cVec3f(22.0f * kTitleBlockSize - 2.0f * kTitleBlockSize, 2500.0f, 0.0f);
    }
    aimCamera(demoScenegraph().getActiveCamera(), position, target);
    aimCamera(sharedObjects().reflectionCamera, position, target);
}

} // namespace

cTitleCityScene& titleCityScene()
{
    static cTitleCityScene scene;
    return scene;
}

void buildTitleBlocks(float distance, int32_t level, int32_t vertical, const cVec3f& direction,
                      const cVec3f& start, int32_t length, bool markEnd)
{
    cTitleCityScene& s = titleCityScene();
    if (level > kTitleDeepestLevel) {
        s.lastDistance = distance;
        return;
    }
    const cMeshData block = copyMeshData(*s.blockTemplate);
    for (int32_t q = level == 0 ? 0 : 1; q <= length; ++q) {
        const cVec3f centre = start.plus(direction.scaled(static_cast<float>(q) * kTitleBlockSize));
        if (centre.y >= 0.0f) {
            appendMesh(*s.blocks, titleBlock(block, centre, q, distance));
        }
    }
    const cVec3f end = start.plus(direction.scaled(static_cast<float>(length) * kTitleBlockSize));
    if (markEnd) {
        s.endPoints.push_back(end);
    }
    cVec3f candidates[4];
    candidateDirections(vertical, direction, candidates);
    const float childDistance = distance + static_cast<float>(length);
    const int32_t lengths[2][3] = {{14, 13, 14}, {26, 3, 6}};
    for (int32_t child = 0; child < 3; ++child) {
        const cVec3f childDirection = candidates[randomBelow(4)];
        buildTitleBlocks(childDistance, level + 1, vertical != 0 ? 0 : 1, childDirection, end,
                         lengths[vertical != 0 ? 1 : 0][child], child == 2);
    }
}

void buildTitleCityBlocks()
{
    cTitleCityScene& s = titleCityScene();
    cScenegraph& graph = demoScenegraph();
    cSpatialNode* file = loadMeshFile("Assets/ablock.QVS", "buildTitleCityBlocks");
    s.blockTemplate = findGeometry(file, "Box01", "Assets/ablock.QVS", "buildTitleCityBlocks");
    s.blockTemplate->setVisible(false);
    s.blocks = graph.createGeometryNode();
    s.blocks->getVec3Attributes()["normals"];
    s.blocks->getVec3Attributes()["tangent"];
    s.blocks->getVec3Attributes()["displace"];
    s.blocks->getVec2Attributes()["texCoord1"];
    loadMaterial(s.blocks, "Assets/Mat/gcity.mat");
    graph.getRoot()->addChild(s.blocks);
    buildTitleBlocks(0.0f, 0, 1, cVec3f(1, 0, 0), cVec3f(0, 2500, 0), static_cast<int32_t>(kTitle.size()), false);
    const float n = static_cast<float>(s.endPoints.size());
    for (size_t i = 0; i < s.endPoints.size(); ++i) {
        cControllerKey key;
        key.time = static_cast<float>(i) / n;
        key.value = s.endPoints[i];
        s.endPath.addKey(key);
    }
}

void buildTitleCityScene()
{
    cTitleCityScene& s = titleCityScene();
    s.water = loadWaterPlane("Assets/Mat/water2.mat", false, "buildTitleCityScene");
    demoScenegraph().getRoot()->addChild(s.water);
    buildTitleCityBlocks();
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.fadeQuad, "fadeToColor", 1.0f);
    addOverlayQuad(s.picture38);
    setPictureId(s.picture38, 38);
    setFragmentFloat(s.picture38, "fadeToColor", 0.0f);

    if (!makeMainCameraObjects()) {
        glowPass().exclude.clear();
    }
    if (!makeReflectionCamera(s.water, false)) {
        reflectionPass().exclude = {s.water};
    }
    hideTitleCityScene();
}

void hideTitleCityScene()
{
    cTitleCityScene& s = titleCityScene();
    setVisible({s.water, s.blocks, s.fadeQuad, s.picture38}, false);
}

void updateTitleCityScene()
{
    cTitleCityScene& s = titleCityScene();
    activateMainCamera();
    setVisible({s.water, s.blocks, s.fadeQuad, s.picture38}, true);
    fadeToColorRamp(s.fadeQuad, 163924, 165924, 1.0f, 0.0f);
    fadeToColorRamp(s.picture38, 168924, 170924, 0.0f, 1.0f);
    setReflectionPass(false, {s.water});

    s.stepTimer += demoFrameTimeMs;
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.001f;
    if (s.stepTimer > 50) {
        s.step += 1;
        s.stepTimer = 0;
        if (s.lastDistance + 100.0f < static_cast<float>(s.step)) {
            s.blowTimer = 0;
        }
    }
    float blow = 0.0f;
    if (static_cast<float>(s.step) > s.lastDistance) {
        s.blowTimer += demoFrameTimeMs;
        blow = static_cast<float>(s.blowTimer) / 10000.0f;
    }
    aimTitleCamera(s);
    s.water->setVisible(true);
    setFragmentFloat(s.blocks, "anim", static_cast<float>(s.step));
    setVertexFloat(s.blocks, "blowup", blow * 500.0f);
}

} // namespace demo
