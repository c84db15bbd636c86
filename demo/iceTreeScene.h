// The fourth scene: an ice tree on the water with particles on its branches, pushed about by an
// invisible wandering sphere, seen by a circling camera and a mirrored camera of its own.
#pragma once

#include "scene/cCameraNode.h"
#include "scene/cGeometryNode.h"

namespace demo {

struct cIceTreeScene {
    qvr::cSpatialNode* water = nullptr;
    qvr::cSpatialNode* tree = nullptr;
    qvr::cSpatialNode* sphere = nullptr;
    qvr::cGeometryNode* particles = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    qvr::cCameraNode* iceCamera = nullptr;
    qvr::cCameraNode* camera = nullptr;
    float clock = 0.0f;
};
cIceTreeScene& iceTreeScene();

void buildIceTreeScene();
//! Points at every second vertex of the tree's "Branc" node, as a child of that node.
void buildTreeParticles();
//! Runs in [86155, 101491) ms.
void updateIceTreeScene();
void hideIceTreeScene();

} // namespace demo
