// The capture tool's heads-up display: an overlay page with the demo time, the scene, the cost of
// the last drawn frame and a bar for the progress through the show, drawn by the renderer's
// overlay with the run directory's fonts.
#pragma once

#include "scene/cOverlay.h"

#include <cstdint>
#include <string>

namespace qvr {
class cRenderer;
class cScenegraph;
}

namespace capture {

//! The scene playing at demoMs.
const char* sceneNameAt(int32_t demoMs);
//! m:ss.s
std::string clockText(int32_t demoMs);

class cHud {
public:
    //! Registers the HUD's values, adds its page to the scene graph's overlay, makes it current and
    //! lets the renderer load the fonts.
    void build(qvr::cScenegraph& scenegraph, qvr::cRenderer& renderer);
    //! The values for the frame about to be drawn; frameMs is the cost of the previous drawn frame
    //! (negative: none yet).
    void update(int32_t demoMs, double frameMs);

private:
    qvr::cOverlayValue mClock{2, 0.0f, 0, {}};
    qvr::cOverlayValue mScene{2, 0.0f, 0, {}};
    qvr::cOverlayValue mCost{2, 0.0f, 0, {}};
};

//! The font the HUD writes with: the collection's third entry.
constexpr int32_t kHudFont = 2;

} // namespace capture
