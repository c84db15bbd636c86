// One step of the post-processing chain: a material drawn on a screen-aligned quad into a
// render target. A plain value.
#pragma once

#include "scene/cRenderTarget.h"
#include "states/cMaterial.h"

namespace qvr {

struct cPostProcessStep {
    cMaterial material;
    cRenderTarget target;
    //! Quad size in the 800 x 600 units of the 2D overlay space.
    float width = 800.0f;
    float height = 600.0f;
};

} // namespace qvr
