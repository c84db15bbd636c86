// Frame-event dispatch.
#include "core/cFrameListenerRegistry.h"

namespace qvr {

void cFrameListenerRegistry::addCallback(int32_t event, cCallback function, int32_t userValue)
{
    mCallbacks.push_back({function, event, userValue});
}

void cFrameListenerRegistry::addListener(cFrameListener* listener)
{
    mListeners.push_back(listener);
}

void cFrameListenerRegistry::dispatch(int32_t event)
{
    // Indices, not iterators: handlers may register more entries while we walk.
    for (size_t i = 0; i < mListeners.size(); ++i) {
        cFrameListener* listener = mListeners[i];
        if (!listener) {
            continue;
        }
        switch (event) {
        case kEventFrame: listener->onFrame(); break;
        case kEventLateFrame: listener->onLateFrame(); break;
        case kEventStart: listener->onStart(); break;
        case kEventUnused3: listener->onEvent3(); break;
        case kEventUnused4: listener->onEvent4(0, 0); break;
        default: break;
        }
    }
    for (size_t i = 0; i < mCallbacks.size(); ++i) {
        const cCallbackRecord record = mCallbacks[i];
        if (record.event == event && record.function) {
            record.function();
        }
    }
}

cFrameListenerRegistry& getFrameListenerRegistry()
{
    static cFrameListenerRegistry* registry = new cFrameListenerRegistry();
    return *registry;
}

} // namespace qvr
