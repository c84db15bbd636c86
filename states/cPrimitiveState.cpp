// Primitive block: point size, line width (constant or controller), kind, buffers, culling.
#include "states/cPrimitiveState.h"

#include "core/textUtil.h"
#include "states/animatableText.h"

namespace qvr {

bool cPrimitiveState::read(std::istream& in, bool binary)
{
    if (!cRenderStateBase::read(in, binary)) {
        return false;
    }
    if (!readsFields(binary)) {
        return in.good();
    }
    readAnimatableFloat(in, mPointSize);
    readAnimatableFloat(in, mLineWidth);
    readLabeled(in, mPrimType);
    readLabeled(in, mPrimBufferType);
    readLabeled(in, mPrimCullMode);
    skipLineEnd(in);
    return in.good();
}

bool cPrimitiveState::write(std::ostream& out, bool binary) const
{
    if (!cRenderStateBase::write(out, binary) || binary) {
        return out.good();
    }
    writeAnimatableFloat(out, "point_static", "pointSize", mPointSize);
    writeAnimatableFloat(out, "line_static", "lineWidth", mLineWidth);
    out << "primType:" << mPrimType << "\n"
        << "primBufferType:" << mPrimBufferType << "\n"
        << "primCullMode:" << mPrimCullMode << "\n";
    return out.good();
}

} // namespace qvr
