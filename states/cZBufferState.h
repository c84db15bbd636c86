// Render state of the depth buffer: writes, test and test function.
#pragma once

#include "states/cRenderStateBase.h"

namespace qvr {

//! Depth functions; any other value leaves the function as it is.
enum eDepthFunc : int32_t {
    kDepthLess = 0,
    kDepthLessEqual = 1,
};

class cZBufferState : public cRenderStateBase {
public:
    bool write(std::ostream& out, bool binary) const override;
    bool read(std::istream& in, bool binary) override;

    bool getWrite() const { return mWrite; }
    void setWrite(bool write) { mWrite = write; }
    bool getTest() const { return mTest; }
    void setTest(bool test) { mTest = test; }
    int32_t getTestFunc() const { return mTestFunc; }
    void setTestFunc(int32_t func) { mTestFunc = func; }

private:
    bool mWrite = true;
    bool mTest = true;
    int32_t mTestFunc = kDepthLess;
};

} // namespace qvr
