// The longest scene, shown twice: a tree of tubes swept along random splines and repeated by four
// turned links, a ring of city blocks, a cloud of points, a field of rain quads and, in its second
// stretch, three pictures in turn.
#pragma once

#include "math/cTcbController.h"
#include "scene/cGeometryNode.h"
#include "scene/cLinkNode.h"

namespace demo {

//! Rings per tube are kTubeSegments + 1, each of kTubeSides vertices.
constexpr int32_t kTubeSegments = 70;
constexpr int32_t kTubeSides = 14;
constexpr int32_t kTubeDeepestLevel = 4;

struct cExtrusionScene {
    qvr::cGeometryNode* tubes = nullptr;
    qvr::cLinkNode* linkA = nullptr;
    qvr::cLinkNode* linkB = nullptr;
    qvr::cLinkNode* linkC = nullptr;
    qvr::cLinkNode* linkD = nullptr;
    qvr::cSpatialNode* water = nullptr;
    qvr::cGeometryNode* ring = nullptr;
    qvr::cGeometryNode* cloud = nullptr;
    qvr::cGeometryNode* rain = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    qvr::cGeometryNode* picture35 = nullptr;
    qvr::cGeometryNode* picture36 = nullptr;
    qvr::cGeometryNode* picture37 = nullptr;
    //! "Box01" of the ring's block file (building only).
    qvr::cGeometryNode* blockTemplate = nullptr;
    float clock = 0.0f;
    float growth0 = 0.0f;
    float growth1 = 0.0f;
    float growth2 = 0.0f;
    float growth3 = 0.0f;
    int32_t viewIndex = 0;
    bool logoOn = false;
    int32_t ringTimer = 0;
    int32_t ringInterval = 200;
    float ringToSeed = 1.0f;
    float ringFromSeed = 0.0f;
};
cExtrusionScene& extrusionScene();

void buildExtrusionScene();
//! 500 blocks of "oneblock.qvs" on a ring of radius 8000.
void buildExtrusionCity();
//! Grows one tube from startPoint and, below the deepest level, three children from its end.
void buildExtrusionMesh(int32_t level, float startV, const qvr::cVec3f& startPoint);
//! Sweeps a ring of kTubeSides vertices along spline into mesh, kTubeSegments + 1 rings.
void buildTube(const qvr::cTcbController& spline, qvr::cGeometryNode& mesh, int32_t level,
               float extra, float startV);
//! The angle of side j of a tube ring; the side at exactly half a turn is nudged off it.
float tubeSideAngle(int32_t side);
//! 1000 points in a 10 x 10 x 10 grid above the scene.
void buildBallCloud();
//! 4000 turned quads over the scene.
void buildRain();
//! Runs in [54650, 86155) and [132712, 163924) ms; the flags show rain, tubes, cloud.
void updateExtrusionScene(int32_t rainOn, int32_t tubesOn, int32_t cloudOn);
void hideExtrusionScene();

} // namespace demo
