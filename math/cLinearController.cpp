// Linear key interpolation.
#include "math/cLinearController.h"

#include "math/mathUtil.h"

#include <iterator>

namespace qvr {

cVec3f cLinearController::evaluate(float time) const
{
    if (mKeys.empty()) {
        return cVec3f();
    }
    const float u = clamp(time, 0.0f, 1.0f);
    auto next = mKeys.begin();
    while (next != mKeys.end() && !(next->time > u)) {
        ++next;
    }
    if (next == mKeys.end()) {
        return mKeys.back().value;
    }
    if (next == mKeys.begin()) {
        return next->value;
    }
    const cControllerKey& prev = *std::prev(next);
    const float s = (u - prev.time) / (next->time - prev.time);
    const cVec3f v = prev.value.scaled(1.0f - s).plus(next->value.scaled(s));
    switch (mDimension) {
    case 1: return cVec3f(v.x, 0.0f, 0.0f);
    case 2: return cVec3f(v.x, v.y, 0.0f);
    default: return v;
    }
}

std::unique_ptr<cBaseController> cLinearController::clone() const
{
    return std::make_unique<cLinearController>(*this);
}

bool cLinearController::read(std::istream& in, bool binary, int32_t skip)
{
    if (!cBaseController::read(in, binary, skip) || binary || skip != 0) {
        return in.good();
    }
    clearKeys();
    return readKeys(in, false);
}

bool cLinearController::write(std::ostream& out, bool binary) const
{
    if (!cBaseController::write(out, binary) || binary) {
        return out.good();
    }
    writeKeys(out, false);
    return out.good();
}

} // namespace qvr
