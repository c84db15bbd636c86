// Frame-event dispatch order.
#include "core/cFrameListenerRegistry.h"

#include <gtest/gtest.h>

#include <string>

using qvr::cFrameListener;
using qvr::cFrameListenerRegistry;

namespace {

std::string gTrace;

struct cRecorder : cFrameListener {
    explicit cRecorder(char tag) : mTag(tag) {}
    void onFrame() override { gTrace += mTag; gTrace += '0'; }
    void onLateFrame() override { gTrace += mTag; gTrace += '1'; }
    void onStart() override { gTrace += mTag; gTrace += '2'; }
    void onEvent4(int32_t a, int32_t b) override { gTrace += mTag; gTrace += (a == 0 && b == 0) ? '4' : '?'; }
    char mTag;
};

cFrameListenerRegistry* gRegistry = nullptr;

void callbackA() { gTrace += "A"; }
void callbackB() { gTrace += "B"; }
// Registers another callback for the event being dispatched; it must run in the same dispatch.
void callbackAddsMore()
{
    gTrace += "+";
    gRegistry->addCallback(0, callbackB, 7);
}

} // namespace

TEST(FrameListenerRegistry, ListenersRunBeforeCallbacksInRegistrationOrder)
{
    cFrameListenerRegistry registry;
    cRecorder x('x'), y('y');
    registry.addCallback(0, callbackA);
    registry.addListener(&x);
    registry.addCallback(1, callbackB);
    registry.addListener(&y);
    registry.addCallback(0, nullptr);

    gTrace.clear();
    registry.dispatch(0);
    EXPECT_EQ(gTrace, "x0y0A");
    gTrace.clear();
    registry.dispatch(1);
    EXPECT_EQ(gTrace, "x1y1B");
    gTrace.clear();
    registry.dispatch(2);
    registry.dispatch(4);
    registry.dispatch(5);
    registry.dispatch(-1);
    EXPECT_EQ(gTrace, "x2y2x4y4");
}

TEST(FrameListenerRegistry, EntriesAddedDuringDispatchAreReached)
{
    cFrameListenerRegistry registry;
    gRegistry = &registry;
    registry.addCallback(0, callbackAddsMore);
    gTrace.clear();
    registry.dispatch(0);
    EXPECT_EQ(gTrace, "+B");
    gTrace.clear();
    registry.dispatch(0);
    EXPECT_EQ(gTrace, "+BB");
    EXPECT_EQ(&qvr::getFrameListenerRegistry(), &qvr::getFrameListenerRegistry());
}
