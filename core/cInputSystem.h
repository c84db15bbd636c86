// Twelve digital buttons sampled once per frame, with down / was-down / just-pressed queries.
// It does not read the platform's keyboard itself: a key source (cKeySource) does.
#pragma once

#include "core/cFrameListenerRegistry.h"

#include <cstdint>

namespace qvr {

//! The keys the input system samples.
enum eInputKey : int32_t {
    kKeyLeft,
    kKeyRight,
    kKeyUp,
    kKeyDown,
    kKeySpace,
    kKeyZ,
    kKeyEscape,
    kKeyX,
    kKey2,
    kKey3,
    kKeyF1,
    kKeyF3,
};

//! Where key states come from.
class cKeySource {
public:
    virtual ~cKeySource() = default;
    //! True when key is down now or was pressed since the previous query of that key (a query
    //! clears the "pressed since" part).
    virtual bool queryKey(eInputKey key) = 0;
};

class cInputSystem : public cFrameListener {
public:
    static constexpr int32_t kSlots = 12;

    //! Takes one sample of all buttons; Escape down ends the process with exit status 1.
    virtual void poll() = 0;

    //! Down at this frame's sample; slots outside 0..11 are never down.
    bool isDown(int32_t slot) const { return valid(slot) && mCurrent[slot] != 0; }
    //! Down at the sample before.
    bool wasDown(int32_t slot) const { return valid(slot) && mPrevious[slot] != 0; }
    bool justPressed(int32_t slot) const { return isDown(slot) && !wasDown(slot); }

protected:
    static bool valid(int32_t slot) { return slot >= 0 && slot < kSlots; }

    uint8_t mCurrent[kSlots] = {};
    uint8_t mPrevious[kSlots] = {};
};

} // namespace qvr
