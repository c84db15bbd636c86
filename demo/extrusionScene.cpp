// The extrusion scene: tube tree, links, ring city, point cloud, rain, pictures and fades.
#include "demo/extrusionScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"

#include <cmath>

namespace demo {

using namespace qvr;

namespace {

constexpr float kEighthTurn = 0.7853982f;

cVec3f jitter()
{
    const float x = static_cast<float>(randomBelow(8000) - 4000) * 0.01f;
    const float y = static_cast<float>(randomBelow(8000) - 4000) * 0.01f;
    const float z = static_cast<float>(randomBelow(8000) - 4000) * 0.01f;
    return cVec3f(x, y, z);
}

// Direction of the spline at t, pointing backwards along it. Where the spline stands still (past
// its last key) the previous direction is kept instead of normalising a zero vector.
cVec3f backwardDirection(const cTcbController& spline, float t, float step, const cVec3f& previous)
{
    cVec3f d = spline.evaluate(t);
    d.subtract(spline.evaluate(t + step));
    if (d.lengthSquared() <= 1e-12f) {
        return previous;
    }
    d.normalize();
    return d;
}

void addTubeTriangles(cGeometryNode& mesh, uint32_t base)
{
    std::vector<cTriangle>& triangles = mesh.getTriangles();
    for (uint32_t s = 0; s < kTubeSegments - 1; ++s) {
        const uint32_t a = base + kTubeSides * s;
        const uint32_t b = base + kTubeSides * (s + 1);
        for (uint32_t k = 0; k < kTubeSides; ++k) {
            triangles.push_back({a + k, a + k + 1, b + k});
            triangles.push_back({a + k + 1, b + k + 1, b + k});
        }
    }
}

cGeometryNode* addPicture(int32_t id)
{
    cGeometryNode* quad = nullptr;
    addOverlayQuad(quad);
    setPictureId(quad, id);
    setFragmentFloat(quad, "fadeToColor", 0.0f);
    return quad;
}

void runFades(cExtrusionScene& s)
{
    struct cFade {
        cSpatialNode* node;
        int32_t start;
        int32_t end;
        float from;
        float to;
    };
    const cFade fades[] = {
        {s.fadeQuad, 54650, 56650, 1, 0},     {s.fadeQuad, 68260, 70260, 0, 1},
        {s.fadeQuad, 70260, 71260, 1, 0},     {s.fadeQuad, 84155, 86155, 0, 1},
        {s.fadeQuad, 132712, 134712, 1, 0},   {s.fadeQuad, 161924, 163924, 0, 1},
        {s.picture35, 134712, 136712, 0, 1},  {s.picture35, 141712, 143712, 1, 0},
        {s.picture36, 145712, 147712, 0, 1},  {s.picture36, 152712, 154712, 1, 0},
        {s.picture37, 156712, 158712, 0, 1},  {s.picture37, 163712, 165712, 1, 0},
    };
    for (const cFade& fade : fades) {
        fadeToColorRamp(fade.node, fade.start, fade.end, fade.from, fade.to);
    }
}

void aimExtrusionCamera(cExtrusionScene& s)
{
    const float c = s.clock;
    cCameraNode* camera = demoScenegraph().getActiveCamera();
    camera->lookAtMode = true;
    const float x = 3000.0f * std::sin(0.2f * c);
    const float z = 3000.0f * std::cos(0.2f * c);
    const cVec3f views[2] = {{x, 350.0f, z}, {x, 1350.0f * std::sin(0.1f * c) + 4200.0f, z}};
    if (demoTimeMs >= 70260) {
        s.viewIndex = 1;
    }
    aimCamera(camera, views[s.viewIndex], cVec3f(0.0f, 0.0f, 0.0f));
}

void morphRingSeeds(cExtrusionScene& s)
{
    s.ringTimer += demoFrameTimeMs;
    if (s.ringTimer >= s.ringInterval) {
        reseedBlocks(s.ring, s.ringFromSeed, s.ringToSeed, s.ringInterval, s.ringTimer, 650, 500);
    }
    setSeedProgress(s.ring, s.ringTimer, s.ringInterval, s.clock);
}

} // namespace

cExtrusionScene& extrusionScene()
{
    static cExtrusionScene scene;
    return scene;
}

float tubeSideAngle(int32_t side)
{
    const float angle = static_cast<float>(side) / static_cast<float>(kTubeSides) * kTwoPi;
    if (angle > 3.1415826535900457f && angle < 3.1416026535895405f) {
        return 3.1405926f;
    }
    return angle;
}

void buildTube(const cTcbController& spline, cGeometryNode& mesh, int32_t level, float extra, float startV)
{
    const uint32_t base = static_cast<uint32_t>(mesh.getPositions().size());
    cVec3f g = spline.evaluate(0.0f);
    g.subtract(spline.evaluate(0.0001f));
    g.normalize();
    cVec3f up = perpendicularOf(g);
    const float radius0 = static_cast<float>(level) * 1.1f + 8.0f;

    cVec3Array& positions = mesh.getPositions();
    cVec3Array& normals = mesh.getVec3Attributes()["normals"];
    cVec3Array& tangents = mesh.getVec3Attributes()["tangent"];
    cVec2Array& texCoords = mesh.getVec2Attributes()["texCoord1"];
    for (int32_t i = 0; i <= kTubeSegments; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(kTubeSegments);
        const cVec3f centre = spline.evaluate(t);
        g = backwardDirection(spline, t, 0.001f, g);
        cVec3f next = up.plus(perpendicularOf(g));
        up = next.lengthSquared() <= 0.00001f ? cVec3f(0.0f, 0.0f, 1.0f) : next.normalized();
        const float radius = static_cast<float>(i) * 0.1f + radius0;
        const cVec3f tangent = up.cross(g);
        for (int32_t j = 0; j < kTubeSides; ++j) {
            cQuaternion q;
            q.setAxisAngle(tubeSideAngle(j), g);
            const cVec3f r = q.rotateVector(up);
            positions.push_back(centre.plus(r.scaled(radius)));
            normals.push_back(r.scaled(-1.0f));
            texCoords.push_back({static_cast<float>(j) / kTubeSides, (70.0f + extra) * t + startV});
            tangents.push_back(tangent);
        }
    }
    addTubeTriangles(mesh, base);
}

void buildExtrusionMesh(int32_t level, float startV, const cVec3f& startPoint)
{
    if (level > kTubeDeepestLevel) {
        return;
    }
    cTcbController spline;
    spline.addKey({0.0f, startPoint});
    const float dx = static_cast<float>(randomBelow(800) - 300);
    const float dy = 800.0f - static_cast<float>(level * level) * 15.0f;
    const float dz = static_cast<float>(randomBelow(800) - 300);
    const cVec3f direction = cVec3f(dx, dy, dz).normalized();
    for (int32_t i = 1; i <= 6; ++i) {
        const cVec3f offset = jitter();
        cVec3f point = startPoint.plus(direction.scaled(static_cast<float>((level + 1) * i) * 50.2f));
        point.add(offset);
        spline.addKey({static_cast<float>(i) / 6.0f, point});
    }
    const float extra = static_cast<float>(randomBelow(1800));
    buildTube(spline, *extrusionScene().tubes, level, extra, startV);
    const cVec3f end = spline.evaluate(1.0f);
    for (int32_t child = 0; child < 3; ++child) {
        buildExtrusionMesh(level + 1, 70.0f + startV + extra, end);
    }
}

void buildExtrusionCity()
{
    cExtrusionScene& s = extrusionScene();
    s.ring = buildBlockField("Assets/oneblock.qvs", 500, "Assets/Mat/city.mat", s.blockTemplate,
                             [](int32_t i) {
                                 const float a = static_cast<float>(i) * 1.2f;
                                 const float x = std::sin(a) * 8000.0f + static_cast<float>(randomBelow(5000) - 2500);
                                 const float z = std::cos(a) * 8000.0f + static_cast<float>(randomBelow(5000) - 2500);
                                 return std::array<float, 2>{x, z};
                             });
}

void buildBallCloud()
{
    cExtrusionScene& s = extrusionScene();
    s.cloud = demoScenegraph().createGeometryNode();
    s.cloud->getName() = "lolpart";
    for (int32_t x0 = -250; x0 <= 200; x0 += 50) {
        for (int32_t z0 = -250; z0 <= 200; z0 += 50) {
            for (int32_t y0 = 2000; y0 <= 2450; y0 += 50) {
                const int32_t x = x0 + randomBelow(50) - 25;
                const int32_t y = y0 + randomBelow(50);
                const int32_t z = z0 + randomBelow(50) - 25;
                s.cloud->getPositions().push_back(cVec3f(x, y, z));
            }
        }
    }
    loadMaterial(s.cloud, "Assets/Mat/ballpart.mat");
    demoScenegraph().getRoot()->addChild(s.cloud);
}

void buildRain()
{
    cExtrusionScene& s = extrusionScene();
    s.rain = demoScenegraph().createGeometryNode();
    s.rain->getName() = "lol";
    s.rain->getVec2Attributes()["tex1"];
    cMeshData quad;
    quad.positions = {{-340, -740, 0}, {340, -740, 0}, {340, 740, 0}, {-340, 740, 0}};
    quad.vec2["tex1"] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    quad.triangles = {{0, 1, 3}, {1, 2, 3}};
    for (int32_t x0 = -18000; x0 <= 16200; x0 += 1800) {
        for (int32_t z0 = -18000; z0 <= 16200; z0 += 1800) {
            for (int32_t y0 = -3000; y0 <= 2400; y0 += 600) {
                const float x = static_cast<float>(x0 + randomBelow(3000) - 1500);
                const float y = static_cast<float>(y0 + randomBelow(5000) - 2500);
                const float z = static_cast<float>(z0 + randomBelow(3000) - 1500);
                cQuaternion turn;
                turn.setAxisAngle(randomFraction(400) * kTwoPi, cVec3f(0.0f, 1.0f, 0.0f));
                cMeshData copy = quad;
                for (cVec3f& p : copy.positions) {
                    p = turn.rotateVector(p).plus(cVec3f(x, y, z));
                }
                appendMesh(*s.rain, copy);
            }
        }
    }
    loadMaterial(s.rain, "Assets/Mat/rain.mat");
    demoScenegraph().getRoot()->addChild(s.rain);
}

void buildExtrusionScene()
{
    cExtrusionScene& s = extrusionScene();
    cScenegraph& graph = demoScenegraph();
    s.tubes = graph.createGeometryNode();
    s.tubes->getVec3Attributes()["normals"];
    s.tubes->getVec3Attributes()["tangent"];
    s.tubes->getVec2Attributes()["texCoord1"];
    buildExtrusionCity();
    buildExtrusionMesh(0, 1.0f, cVec3f(0.0f, -900.0f, 0.0f));
    s.tubes->computeBounds();
    loadMaterial(s.tubes, "Assets/Mat/extrude.mat");
    graph.getRoot()->addChild(s.tubes);

    cLinkNode** links[4] = {&s.linkA, &s.linkB, &s.linkC, &s.linkD};
    for (int32_t i = 0; i < 4; ++i) {
        *links[i] = graph.createLinkNode();
        (*links[i])->setLinkTarget(s.tubes);
        graph.getRoot()->addChild(*links[i]);
        if (i > 0) {
            loadMaterial(*links[i], "Assets/Mat/extrude.mat");
        }
    }
    s.water = loadWaterPlane("Assets/Mat/water.mat", false, "buildExtrusionScene");
    s.linkA->getRotation().setAxisAngle(kEighthTurn, cVec3f(0, 0, 1));
    s.linkB->getRotation().setAxisAngle(-kEighthTurn, cVec3f(0, 0, 1));
    s.linkC->getRotation().setAxisAngle(kEighthTurn, cVec3f(1, 0, 0));
    s.linkD->getRotation().setAxisAngle(-kEighthTurn, cVec3f(1, 0, 0));

    buildBallCloud();
    buildRain();
    s.rain->setVisible(false);
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.fadeQuad, "fadeToColor", 1.0f);
    s.picture35 = addPicture(35);
    s.picture37 = addPicture(37);
    s.picture36 = addPicture(36);

    if (!makeMainCameraObjects()) {
        glowPass().exclude.push_back(s.rain);
    }
    if (!makeReflectionCamera(s.water, true)) {
        sharedObjects().reflectionCamera->lookAtMode = true;
        reflectionPass().mainCameraOnly = true;
    }
}

void hideExtrusionScene()
{
    cExtrusionScene& s = extrusionScene();
    setVisible({s.tubes, s.linkA, s.linkB, s.linkC, s.linkD, s.ring, s.water, s.cloud, s.rain,
                s.fadeQuad, s.picture35, s.picture36, s.picture37},
               false);
}

void updateExtrusionScene(int32_t rainOn, int32_t tubesOn, int32_t cloudOn)
{
    cExtrusionScene& s = extrusionScene();
    setVisible({s.fadeQuad, s.picture37, s.picture36, s.picture35}, true);
    runFades(s);
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.001f;
    reflectionPass().mainCameraOnly = true;
    setFragmentFloat(s.water, "anim", s.clock);
    demoRenderer().setClearColor(0.01f, 0.01f, 0.01f, 0.0f);

    setVisible({s.tubes, s.linkA, s.linkB, s.linkC, s.linkD}, tubesOn != 0);
    setVisible({s.ring, s.water}, true);
    s.cloud->setVisible(cloudOn != 0);
    s.rain->setVisible(rainOn != 0);
    demoRenderer().enableFaceCulling();
    activateMainCamera();

    const float c = s.clock;
    const float length = 70.0f * 4.0f * 32.0f;
    s.growth0 = length * std::sin(0.1f * c) + 520.0f + length;
    s.growth1 = length * std::cos(0.1f * c) + 520.0f + length;
    s.growth2 = length * std::cos(0.154f * c + 1.4f) + 520.0f + length;
    s.growth3 = length * std::sin(0.3f * c) + 520.0f + length;
    setFragmentFloat(s.tubes, "anim", s.growth0);
    setVertexFloat(s.tubes, "anim", s.growth0);
    setFragmentFloat(s.tubes, "glow", 0.0f);
    setVertexFloat(s.linkB, "anim", s.growth1);
    setVertexFloat(s.linkC, "anim", s.growth2);
    setVertexFloat(s.linkD, "anim", s.growth3);
    aimExtrusionCamera(s);

    if (demoInput().justPressed(6)) {
        setFragmentFloat(s.rain, "logoShow", s.logoOn ? 0.8f : 0.0f);
        s.logoOn = !s.logoOn;
    }
    s.rain->setVisible(true);
    setVertexFloat(s.rain, "anim", c * 3350.0f);
    setFragmentFloat(s.rain, "anim2", c * 3.0f);
    setVertexFloat(s.cloud, "anim", c * 0.0003f);
    morphRingSeeds(s);
}

} // namespace demo
