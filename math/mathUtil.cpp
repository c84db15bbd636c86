// Screen-to-world unprojection.
#include "math/mathUtil.h"

namespace qvr {

cVec3f unproject(float x, float y, cMatrix4f a, cMatrix4f b)
{
    a.invert();
    b.invert();
    cVec4f p = a.transform(cVec4f(x, y, 0.0f, 1.0f));
    p = p.divided(p.w);
    p = b.transform(p);
    return cVec3f(p.x, p.y, p.z);
}

} // namespace qvr
