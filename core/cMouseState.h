// The process-wide mouse state that picking reads. It does not poll anything: the window layer
// writes it from the window's mouse events; until then it stays at 0.
#pragma once

#include <cstdint>

namespace qvr {

struct cMouseState {
    int32_t x = 0;        //!< window pixels from the left
    int32_t y = 0;        //!< window pixels from the top
    bool button = false;  //!< left button held
};

//! The single mouse state, created on first use.
cMouseState& getMouseState();

} // namespace qvr
