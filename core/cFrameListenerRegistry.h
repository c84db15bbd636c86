// Frame events: the registry through which the frame loop, the window layer and the scene graph
// drive everything else. It does not run a loop or own a clock; whoever fires an event calls
// dispatch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvr {

//! Frame event numbers.
enum eFrameEvent : int32_t {
    kEventFrame = 0,      //!< every frame, first
    kEventLateFrame = 1,  //!< every frame, right after kEventFrame
    kEventStart = 2,      //!< once, when the window and GL context exist
    kEventUnused3 = 3,
    kEventUnused4 = 4,
    kEventNodeUpdate = 5, //!< once per node visited by the scene graph's per-frame update
};

//! An object that wants frame events. Every handler does nothing unless overridden.
class cFrameListener {
public:
    virtual ~cFrameListener() = default;
    virtual void onFrame() {}
    virtual void onLateFrame() {}
    virtual void onStart() {}
    virtual void onEvent3() {}
    virtual void onEvent4(int32_t, int32_t) {}
};

class cFrameListenerRegistry {
public:
    using cCallback = void (*)();

    //! Registers function for one event; userValue is kept but never read.
    void addCallback(int32_t event, cCallback function, int32_t userValue = 0);
    //! Registers a listener for events 0-4 (not owned; it must outlive the registry's use).
    void addListener(cFrameListener* listener);

    //! Calls the listeners (in registration order), then the callbacks of that event. Entries
    //! added while dispatching are reached in the same dispatch.
    void dispatch(int32_t event);

private:
    struct cCallbackRecord {
        cCallback function = nullptr;
        int32_t event = 0;
        int32_t userValue = 0;
    };

    std::vector<cCallbackRecord> mCallbacks;
    std::vector<cFrameListener*> mListeners;
};

//! The process-wide registry, created on first use.
cFrameListenerRegistry& getFrameListenerRegistry();

} // namespace qvr
