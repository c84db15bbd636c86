// A camera's off-screen pass: which subtrees it draws, with which material index, into which
// target. A plain value, copied into the camera when added.
#pragma once

#include "scene/cRenderTarget.h"
#include "states/cMaterial.h"

#include <utility>
#include <vector>

namespace qvr {

class cSpatialNode;

struct cRenderPass {
    //! Subtrees drawn, each with the pass flag that becomes the material index of its nodes.
    std::vector<std::pair<cSpatialNode*, int32_t>> include;
    //! Subtrees never drawn by this pass.
    std::vector<cSpatialNode*> exclude;
    //! Override material handed to drawing (used by link nodes).
    cMaterial material;
    //! true: drawn only while its camera is the active one.
    bool mainCameraOnly = true;
    //! Only passes with a texture target (kind 1) are drawn.
    cRenderTarget target;
};

} // namespace qvr
