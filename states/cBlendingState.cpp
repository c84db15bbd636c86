// Blending block: the blending mode.
#include "states/cBlendingState.h"

#include "core/textUtil.h"

namespace qvr {

bool cBlendingState::read(std::istream& in, bool binary)
{
    if (!cRenderStateBase::read(in, binary)) {
        return false;
    }
    if (readsFields(binary)) {
        readLabeled(in, mMode);
        skipLineEnd(in);
    }
    return in.good();
}

bool cBlendingState::write(std::ostream& out, bool binary) const
{
    if (!cRenderStateBase::write(out, binary) || binary) {
        return out.good();
    }
    out << "blending mode:" << mMode << "\n";
    return out.good();
}

} // namespace qvr
