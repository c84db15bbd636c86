// The second scene: an abstract sculpture tumbling above the water while the camera circles it.
// Its builder runs first, so it makes the objects all scenes share.
#pragma once

#include "scene/cCameraNode.h"
#include "scene/cGeometryNode.h"

namespace demo {

struct cSculptureScene {
    qvr::cSpatialNode* water = nullptr;
    qvr::cSpatialNode* sculpture = nullptr;
    qvr::cSpatialNode* pivot = nullptr;
    qvr::cGeometryNode* overlayQuad = nullptr;
    qvr::cGeometryNode* fadeQuad = nullptr;
    qvr::cCameraNode* camera = nullptr;
    float clock = 0.0f;
};
cSculptureScene& sculptureScene();

void buildSculptureScene();
//! Runs in [39000, 54650) ms.
void updateSculptureScene();
void hideSculptureScene();

} // namespace demo
