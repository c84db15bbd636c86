// Depth-buffer block: writes, test, test function.
#include "states/cZBufferState.h"

#include "core/textUtil.h"

namespace qvr {

bool cZBufferState::read(std::istream& in, bool binary)
{
    if (!cRenderStateBase::read(in, binary)) {
        return false;
    }
    if (readsFields(binary)) {
        readLabeled(in, mWrite);
        readLabeled(in, mTest);
        readLabeled(in, mTestFunc);
        skipLineEnd(in);
    }
    return in.good();
}

bool cZBufferState::write(std::ostream& out, bool binary) const
{
    if (!cRenderStateBase::write(out, binary) || binary) {
        return out.good();
    }
    out << "zBufferWrite:" << (mWrite ? 1 : 0) << "\n"
        << "zBufferTest:" << (mTest ? 1 : 0) << "\n"
        << "testFunc:" << mTestFunc << "\n";
    return out.good();
}

} // namespace qvr
