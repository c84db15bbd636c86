// Free math helpers: clamping and screen-to-world unprojection.
#pragma once

#include "math/cMatrix4f.h"
#include "math/cVec3f.h"

namespace qvr {

//! max if value > max, else min if value < min, else value (max is tested first).
inline float clamp(float value, float min, float max)
{
    if (value > max) {
        return max;
    }
    if (value < min) {
        return min;
    }
    return value;
}

//! inverse(b) * ((inverse(a) * (x, y, 0, 1)) / w), without a second division by w.
cVec3f unproject(float x, float y, cMatrix4f a, cMatrix4f b);

} // namespace qvr
