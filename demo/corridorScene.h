// The fifth scene: a flight through a closed ring-shaped corridor swept from a spline profile,
// with water in its channel, splashes along both sides, falling-water ribbons and the letters of
// a greeting floating along the way.
#pragma once

#include "math/cTcbController.h"
#include "scene/cGeometryNode.h"

#include <string>
#include <vector>

namespace demo {

struct cCorridorScene {
    std::vector<std::string> greetings;
    qvr::cTcbController profile;
    qvr::cTcbController path;
    qvr::cTcbController leftRail;
    qvr::cTcbController rightRail;
    qvr::cGeometryNode* corridor = nullptr;
    qvr::cGeometryNode* water = nullptr;
    qvr::cSpatialNode* charset = nullptr;
    std::vector<qvr::cSpatialNode*> letterGroups;
    int32_t groupIndex = 0;
    qvr::cGeometryNode* splashLeft = nullptr;
    qvr::cGeometryNode* splashRight = nullptr;
    qvr::cGeometryNode* waterCreak = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    float pathPos = 1.89f;
    float pathSpeed = 0.02f;
    float letterSpacing = 0.005f;
    float clock = 0.0f;
    float sink = 0.0f;
};
cCorridorScene& corridorScene();

void buildCorridorScene();
//! Sweeps the scene's profile along its path into mesh: pathSteps + 1 rings of profileSamples
//! vertices, the last ring joined to the first when closed.
void buildSweep(int32_t profileSamples, int32_t pathSteps, const qvr::cVec3f& startDirection,
                qvr::cGeometryNode& mesh, const qvr::cVec3f& firstProfileNormal, bool closed);
//! One group node under the root with a link to the glyph of each character of text that the
//! charset has, spaced along path.
void buildLetters(qvr::cSpatialNode*& outGroup, const std::string& text,
                  const qvr::cTcbController& path, float spacing);
//! Appends a ribbon of count + 1 vertex pairs along path to out (made on the first call).
void buildWaterCreak(qvr::cGeometryNode*& out, const qvr::cTcbController& path, int32_t count,
                     float halfWidth);
//! 4000 small turned quads along rail.
void buildSplash(const qvr::cTcbController& rail, qvr::cGeometryNode*& out);
//! Runs in [101491, 132712) ms.
void updateCorridorScene();
void hideCorridorScene();

} // namespace demo
