// Kochanek-Bartels spline evaluation.
#include "math/cTcbController.h"

namespace qvr {

namespace {

// Outgoing tangent at p1 towards p2; p0 may be null (p1 is the first key).
cVec3f outgoingTangent(const cControllerKey* p0, const cControllerKey& p1,
                       const cControllerKey& p2)
{
    const float t = p1.tension, c = p1.continuity, b = p1.bias;
    cVec3f toNext = p2.value;
    toNext.subtract(p1.value);
    const cVec3f next = toNext.scaled((1 - t) * (1 + c) * (1 - b));
    if (!p0) {
        return next;
    }
    cVec3f fromPrev = p1.value;
    fromPrev.subtract(p0->value);
    return fromPrev.scaled((1 - t) * (1 - c) * (1 + b))
        .plus(next)
        .scaled((p2.time - p1.time) / (p2.time - p0->time));
}

// Incoming tangent at p2 from p1; p3 may be null (p2 is the last key).
cVec3f incomingTangent(const cControllerKey& p1, const cControllerKey& p2,
                       const cControllerKey* p3)
{
    const float t = p2.tension, c = p2.continuity, b = p2.bias;
    cVec3f fromPrev = p2.value;
    fromPrev.subtract(p1.value);
    const cVec3f prev = fromPrev.scaled((1 - t) * (1 + c) * (1 + b));
    if (!p3) {
        return prev;
    }
    cVec3f toNext = p3->value;
    toNext.subtract(p2.value);
    return prev.plus(toNext.scaled((1 - t) * (1 - c) * (1 - b)))
        .scaled((p2.time - p1.time) / (p3->time - p1.time));
}

} // namespace

cVec3f cTcbController::evaluate(float time) const
{
    if (mKeys.empty()) {
        return cVec3f();
    }
    if (time < mKeys.front().time) {
        return mKeys.front().value;
    }
    // p1: the last key at or before time; its neighbours around it.
    auto p1 = mKeys.end();
    for (auto it = mKeys.begin(); it != mKeys.end(); ++it) {
        if (it->time <= time) {
            p1 = it;
        }
    }
    if (p1 == mKeys.end()) {
        return mKeys.front().value;  // time is NaN
    }
    auto p2 = std::next(p1);
    if (p2 == mKeys.end()) {
        return mKeys.back().value;
    }
    const cControllerKey* p0 = (p1 == mKeys.begin()) ? nullptr : &*std::prev(p1);
    auto after = std::next(p2);
    const cControllerKey* p3 = (after == mKeys.end()) ? nullptr : &*after;

    const cVec3f t1 = outgoingTangent(p0, *p1, *p2);
    const cVec3f t2 = incomingTangent(*p1, *p2, p3);
    const float s = (time - p1->time) / (p2->time - p1->time);
    const float s2 = s * s, s3 = s2 * s;
    const float h1 = 2 * s3 - 3 * s2 + 1, h2 = 3 * s2 - 2 * s3, h3 = s3 - 2 * s2 + s,
                h4 = s3 - s2;
    const cVec3f v = p1->value.scaled(h1)
                         .plus(p2->value.scaled(h2))
                         .plus(t1.scaled(h3))
                         .plus(t2.scaled(h4));
    switch (mDimension) {
    case 1: return cVec3f(v.x, 0.0f, 0.0f);
    case 2: return cVec3f(v.x, v.y, 0.0f);
    default: return v;
    }
}

std::unique_ptr<cBaseController> cTcbController::clone() const
{
    return std::make_unique<cTcbController>(*this);
}

bool cTcbController::read(std::istream& in, bool binary, int32_t skip)
{
    if (!cBaseController::read(in, binary, skip) || binary || skip != 0) {
        return in.good();
    }
    return readKeys(in, true);
}

bool cTcbController::write(std::ostream& out, bool binary) const
{
    if (!cBaseController::write(out, binary) || binary) {
        return out.good();
    }
    writeKeys(out, true);
    return out.good();
}

} // namespace qvr
