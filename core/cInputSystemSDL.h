// The input system on SDL's keyboard: held keys plus key-down events latched since the last query.
#pragma once

#include "core/cInputSystem.h"

namespace qvr {

class cInputSystemSDL : public cInputSystem {
public:
    //! Samples source (not owned); SDL's keyboard when null.
    explicit cInputSystemSDL(cKeySource* source = nullptr);

    void onFrame() override { poll(); }
    void poll() override;

private:
    cKeySource* mSource;
};

//! SDL's keyboard as a key source (held keys and the latched key-down events).
cKeySource& getKeyboardKeySource();

//! The process-wide input system, created on first use.
cInputSystem& getInputSystem();

//! Notes a key-down event (an SDL scancode) for the next query of that key; the window's event
//! loop calls it.
void latchKeyDown(int32_t scancode);

} // namespace qvr
