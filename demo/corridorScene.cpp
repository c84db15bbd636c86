// The corridor scene: sweeps, letters, splashes, falling water and the camera's flight.
#include "demo/corridorScene.h"

#include "demo/demoState.h"
#include "demo/sceneToolkit.h"
#include "scene/cLinkNode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace demo {

using namespace qvr;

namespace {

void addCorridorKeys(cCorridorScene& s)
{
    const float profileTimes[] = {0.0f, 0.2f, 0.4f, 0.7f, 0.8f, 1.0f};
    const cVec3f profilePoints[] = {{0, -10, 0}, {10, -10, 0}, {10, 10, 0},
                                    {-10, 10, 0}, {-10, -10, 0}, {-0.5f, -10, 0}};
    for (int32_t i = 0; i < 6; ++i) {
        s.profile.addKey(makeKey(profileTimes[i], profilePoints[i]));
    }
    for (int32_t i = 0; i <= 50; ++i) {
        const float t = static_cast<float>(i) / 50.0f;
        const float a = kTwoPi * static_cast<float>(i) / 50.0f;
        const cVec3f p(190.0f * std::sin(a), 10.0f * std::sin(0.005f * static_cast<float>(i)),
                       190.0f * std::cos(a));
        s.path.addKey(makeKey(t, p));
        s.leftRail.addKey(makeKey(t, cVec3f(p.x - 4.3f, p.y - 2.2f, p.z)));
        s.rightRail.addKey(makeKey(t, cVec3f(p.x + 4.3f, p.y - 2.2f, p.z)));
    }
    s.leftRail.addKey(makeKey(0.0f, cVec3f(-5.3f, -2.5f, 0.0f)));
    s.rightRail.addKey(makeKey(0.0f, cVec3f(5.3f, -2.5f, 0.0f)));
}

// The path's direction at s from a forward difference; where the path stands still (at and past
// its last key) the previous direction is kept instead of normalising a zero vector.
cVec3f forwardDirection(const cTcbController& path, float s, const cVec3f& previous)
{
    cVec3f d = path.evaluate(s + 0.00001f);
    d.subtract(path.evaluate(s));
    d.divide(0.00001f);
    if (d.lengthSquared() <= 1e-12f) {
        return previous;
    }
    d.normalize();
    return d;
}

void addRingTriangles(std::vector<cTriangle>& triangles, uint32_t a, uint32_t b, uint32_t samples)
{
    for (uint32_t i = 0; i < samples; ++i) {
        const uint32_t next = (i + 1) % samples;
        triangles.push_back({a + i, a + next, b + i});
        triangles.push_back({a + next, b + next, b + i});
    }
}

void addWaterCreaks(cCorridorScene& s, float side)
{
    for (int32_t m = 0; m < 20; ++m) {
        const float a = randomFraction(50) + static_cast<float>(m) / 20.0f;
        const float x = 190.0f * std::sin(kTwoPi * a) + side;
        const float z = 190.0f * std::cos(kTwoPi * a);
        cTcbController fall;
        fall.addKey(makeKey(0.0f, cVec3f(x, 12, z)));
        fall.addKey(makeKey(0.4f, cVec3f(x, 5, z)));
        fall.addKey(makeKey(0.7f, cVec3f(x, 0, z)));
        fall.addKey(makeKey(1.0f, cVec3f(x, -7, z)));
        buildWaterCreak(s.waterCreak, fall, 50, randomFraction(5) + 0.35f);
    }
}

void setGlowExclusions(cCorridorScene& s)
{
    cRenderPass& glow = glowPass();
    glow.exclude = {s.water, s.splashLeft, s.splashRight, s.waterCreak};
}

} // namespace

cCorridorScene& corridorScene()
{
    static cCorridorScene scene;
    return scene;
}

void buildSweep(int32_t profileSamples, int32_t pathSteps, const cVec3f& startDirection,
                cGeometryNode& mesh, const cVec3f& firstProfileNormal, bool closed)
{
    cCorridorScene& s = corridorScene();
    std::vector<cVec3f> points;
    std::vector<cVec3f> normals;
    for (int32_t i = 0; i < profileSamples; ++i) {
        points.push_back(s.profile.evaluate(static_cast<float>(i) / static_cast<float>(profileSamples)));
        if (i == 0) {
            normals.push_back(firstProfileNormal);
        } else {
            cVec3f edge = points[i];
            edge.subtract(points[i - 1]);
            normals.push_back(perpendicularOf(edge.normalized()).scaled(-1.0f));
        }
    }
    std::printf("dude\n");

    cVec3Array& tangents = mesh.getVec3Attributes()["tangent"];
    cVec3Array& meshNormals = mesh.getVec3Attributes()["normals"];
    cVec2Array& texCoords = mesh.getVec2Attributes()["texCoord1"];
    const uint32_t samples = static_cast<uint32_t>(profileSamples);
    cVec3f d = startDirection;
    cQuaternion rotation;
    for (int32_t k = 0; k <= pathSteps; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(pathSteps);
        const cVec3f p = s.path.evaluate(t);
        const cVec3f direction = forwardDirection(s.path, t, d);
        const float angle = std::acos(std::clamp(direction.dot(d), -1.0f, 1.0f));
        if (std::fabs(angle) > 0.000001f) {
            cQuaternion turn;
            turn.setAxisAngle(angle, d.cross(direction).normalized());
            d = direction;
            rotation = turn.multiply(rotation);
        }
        for (int32_t i = 0; i < profileSamples; ++i) {
            mesh.getPositions().push_back(rotation.rotateVector(points[i]).plus(p));
            texCoords.push_back({static_cast<float>(i) / static_cast<float>(profileSamples), t});
            meshNormals.push_back(rotation.rotateVector(normals[i]));
            tangents.push_back(direction);
        }
        if (k >= 1) {
            addRingTriangles(mesh.getTriangles(), (k - 1) * samples, k * samples, samples);
        }
    }
    if (closed) {
        addRingTriangles(mesh.getTriangles(), static_cast<uint32_t>(pathSteps) * samples, 0, samples);
    }
}

void buildLetters(cSpatialNode*& outGroup, const std::string& text, const cTcbController& path,
                  float spacing)
{
    cScenegraph& graph = demoScenegraph();
    cCorridorScene& s = corridorScene();
    outGroup = graph.createSpatialNode();
    graph.getRoot()->addChild(outGroup);
    float at = 0.0f;
    for (char c : text) {
        cSpatialNode* glyph = s.charset->findByName(std::string(1, c));
        if (glyph) {
            cLinkNode* link = graph.createLinkNode();
            link->setLinkTarget(glyph);
            const float jitter = static_cast<float>(randomBelow(20)) * 0.25f - 2.5f;
            link->setPosition(path.evaluate(at + 0.1f).plus(cVec3f(jitter, -1.0f, 0.0f)));
            link->scale.scale(3.0f);
            link->scale.x *= 2.0f;
            link->scale.z *= 2.0f;
            loadMaterial(glyph, "Assets/Mat/letter.mat");
            link->getRotation().setAxisAngle(-kPi / 4.0f, cVec3f(0.0f, 1.0f, 0.0f));
            outGroup->addChild(link);
        }
        at += spacing;
    }
}

void buildSplash(const cTcbController& rail, cGeometryNode*& out)
{
    cScenegraph& graph = demoScenegraph();
    out = graph.createGeometryNode();
    out->getName() = "splash";
    out->getVec2Attributes()["tex1"];
    cMeshData quad;
    quad.positions = {{-2.4f, -2.4f, 0}, {2.4f, -2.4f, 0}, {2.4f, 2.4f, 0}, {-2.4f, 2.4f, 0}};
    quad.vec2["tex1"] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    quad.triangles = {{0, 1, 3}, {1, 2, 3}};
    for (int32_t i = 0; i < 4000; ++i) {
        const float t = static_cast<float>(i) / 4000.0f;
        const float dx = randomFraction(5) - 0.5f;
        const float dy = static_cast<float>(randomBelow(20)) / 5.0f - 2.0f;
        const cVec3f p = rail.evaluate(t);
        cQuaternion turn;
        turn.setAxisAngle(randomFraction(400) * kTwoPi, cVec3f(0.0f, 1.0f, 0.0f));
        const cVec3f offset(p.x + dx, p.y + dy - 1.2f, p.z);
        cMeshData copy = quad;
        for (cVec3f& v : copy.positions) {
            v = turn.rotateVector(v).plus(offset);
        }
        appendMesh(*out, copy);
    }
    loadMaterial(out, "Assets/Mat/watersplash.mat");
    graph.getRoot()->addChild(out);
}

void buildWaterCreak(cGeometryNode*& out, const cTcbController& path, int32_t count, float halfWidth)
{
    if (!out) {
        out = demoScenegraph().createGeometryNode();
        out->getVec2Attributes()["tex1"];
        loadMaterial(out, "Assets/Mat/watercreak.mat");
        demoScenegraph().getRoot()->addChild(out);
    }
    cMeshData ribbon;
    cVec2Array& tex = ribbon.vec2["tex1"];
    cVec3f direction(0.0f, -1.0f, 0.0f);
    for (int32_t i = 0; i <= count; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(count);
        const cVec3f p = path.evaluate(t);
        direction = forwardDirection(path, t, direction);
        const cVec3f side = direction.cross(cVec3f(0.0f, 0.0f, 1.0f)).normalized().scaled(halfWidth);
        ribbon.positions.push_back(p.plus(side));
        tex.push_back({0.0f, t});
        ribbon.positions.push_back(p.plus(side.scaled(-1.0f)));
        tex.push_back({1.0f, t});
        if (i >= 1) {
            const uint32_t v = static_cast<uint32_t>(2 * i - 1);
            ribbon.triangles.push_back({v - 1, v, v + 1});
            ribbon.triangles.push_back({v, v + 2, v + 1});
        }
    }
    appendMesh(*out, ribbon);
}

void buildCorridorScene()
{
    cCorridorScene& s = corridorScene();
    cScenegraph& graph = demoScenegraph();
    s.greetings = {"personal greet to tarnwick"};
    s.corridor = graph.createGeometryNode();
    addCorridorKeys(s);
    buildSweep(100, 1000, cVec3f(0, 0, 1), *s.corridor, cVec3f(0, 1, 0), true);
    loadMaterial(s.corridor, "Assets/Mat/corri.mat");
    s.charset = loadMeshFile("Assets/charset.QVS", "buildCorridorScene");
    for (const std::string& line : s.greetings) {
        cSpatialNode* group = nullptr;
        buildLetters(group, line, s.path, s.letterSpacing);
        group->setVisible(false);
        s.letterGroups.push_back(group);
    }
    s.letterGroups[0]->setVisible(true);

    s.water = graph.createGeometryNode();
    buildSweep(100, 1000, cVec3f(0, 0, 1), *s.water, cVec3f(0, 1, 0), true);
    loadMaterial(s.water, "Assets/Mat/watercorr.mat");
    graph.getRoot()->addChild(s.water);
    s.water->translate(cVec3f(0.0f, -14.0f, 0.0f));
    graph.getRoot()->addChild(s.corridor);
    buildSplash(s.leftRail, s.splashLeft);
    buildSplash(s.rightRail, s.splashRight);
    std::printf("all should be good\n");

    addWaterCreaks(s, 4.0f);
    addWaterCreaks(s, -4.0f);
    for (const cVec3f& p : s.waterCreak->getPositions()) {
        std::printf("%g %g %g\n", p.x, p.y, p.z);
    }
    std::fflush(stdout);
    addOverlayQuad(s.fadeQuad);
    loadMaterial(s.fadeQuad, "Assets/Mat/toColor.mat");
    setFragmentFloat(s.fadeQuad, "fadeToColor", 1.0f);

    makeMainCameraObjects();
    setGlowExclusions(s);
    if (!makeReflectionCamera(s.water, true)) {
        sharedObjects().reflectionCamera->lookAtMode = true;
        reflectionPass().mainCameraOnly = true;
    }
    hideCorridorScene();
}

void hideCorridorScene()
{
    cCorridorScene& s = corridorScene();
    setVisible({s.water, s.splashLeft, s.waterCreak, s.corridor, s.fadeQuad}, false);
}

void updateCorridorScene()
{
    cCorridorScene& s = corridorScene();
    s.fadeQuad->setVisible(true);
    fadeToColorRamp(s.fadeQuad, 101491, 102491, 1.0f, 0.0f);
    fadeToColorRamp(s.fadeQuad, 130712, 132712, 0.0f, 1.0f);
    cCameraNode* camera = activateMainCamera();
    reflectionPass().mainCameraOnly = true;
    s.clock += static_cast<float>(demoFrameTimeMs) * 0.007f;
    setGlowExclusions(s);
    setVisible({s.water, s.splashLeft, s.waterCreak, s.corridor}, true);
    s.letterGroups[s.groupIndex]->setVisible(true);

    s.pathPos += static_cast<float>(demoFrameTimeMs) * 0.001f * s.pathSpeed;
    if (s.pathPos >= 1.5f) {
        s.pathPos = 0.0f;
        s.letterGroups[s.groupIndex]->setVisible(false);
        s.groupIndex = (s.groupIndex + 1) % static_cast<int32_t>(s.letterGroups.size());
        s.letterGroups[s.groupIndex]->setVisible(true);
    }
    const float c = s.clock;
    cVec3f position = s.path.evaluate(s.pathPos).plus(cVec3f(0.0f, std::sin(0.08f * c) + 1.8f, 0.0f));
    const cVec3f target = s.path.evaluate(s.pathPos + 0.01f);
    if (demoTimeMs >= 130491) {
        s.sink += static_cast<float>(demoFrameTimeMs) * 0.004f;
        position.y = std::max(position.y - s.sink, -8.0f);
    }
    const cVec3f up(std::sin(0.01f * c), 0.5f * std::cos(0.031f * c) + 0.6f, std::sin(0.04f * c));
    aimCamera(camera, position, target, up);

    setFragmentFloat(s.corridor, "anim2", c * 0.001f);
    setFragmentFloat(s.water, "anim", c * 3.4f);
    setVertexFloat(s.splashLeft, "anim", c * 5.0f);
    setFragmentFloat(s.waterCreak, "anim2", c * 8.4f);
}

} // namespace demo
