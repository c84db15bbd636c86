// Evaluation of animatable values.
#include "math/cAnimatable.h"

#include <cmath>

namespace qvr {

int32_t toControllerIndex(float value)
{
    if (!std::isfinite(value) || value <= -2147483648.0f || value >= 2147483648.0f) {
        return -1;
    }
    return static_cast<int32_t>(value);
}

const cBaseController* cAnimatableObject::controller() const
{
    if (!mControllers || mControllerIndex < 0 ||
        static_cast<size_t>(mControllerIndex) >= mControllers->size()) {
        return nullptr;
    }
    return (*mControllers)[static_cast<size_t>(mControllerIndex)];
}

float cAnimatableFloat::evaluate(float time) const
{
    const cAnimatableFloat* end = this;
    while (end->mLink) {
        end = end->mLink;
    }
    const cBaseController* c = end->controller();
    if (!c) {
        return end->mConstant;
    }
    const cVec3f v = c->evaluate(time);
    switch (end->mComponent) {
    case 1: return v.x;
    case 2: return v.y;
    case 3: return v.z;
    default: return end->mConstant;
    }
}

void cAnimatableFloat::setValue(float v)
{
    if (mAnimated) {
        mControllerIndex = toControllerIndex(v);
    }
    mConstant = v;
}

cVec3f cAnimatableVec3f::evaluate(float time) const
{
    if (mLink) {
        return mLink->evaluate(time);
    }
    const cBaseController* c = controller();
    return c ? c->evaluate(time) : mConstant;
}

void cAnimatableVec3f::setValue(float x, float y, float z)
{
    if (mAnimated) {
        mControllerIndex = toControllerIndex(x);
    }
    mConstant.set(x, y, z);
}

} // namespace qvr
