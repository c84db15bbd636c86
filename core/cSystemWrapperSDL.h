// The system layer on SDL2: SDL's millisecond clock, the fullscreen question, the window and its
// message loop. It does not pace or draw frames itself (cSystemWrapper::runFrame does).
#pragma once

#include "core/cSystemWrapper.h"

namespace qvr {

class cSystemWrapperSDL : public cSystemWrapper {
public:
    //! Asks "Do you want to fullscreen?" (the fullscreen argument is replaced by the answer; No
    //! without a display), opens the window, installs runFrame, fires event 2 and runs the message
    //! loop. False, with nothing run, when the window or its context could not be made.
    bool openWindowAndRun(const char* title, int32_t width, int32_t height, bool fullscreen) override;
    void present() override {}
    void setDefaultClearColor() override;
    uint32_t getTimeMs() override;
};

} // namespace qvr
