// Rotation quaternion operations.
#include "math/cQuaternion.h"

#include <cmath>

namespace qvr {

void cQuaternion::setAxisAngle(float angle, const cVec3f& axis)
{
    const cVec3f n = axis.normalized();
    const float s = std::sin(angle * 0.5f);
    set(std::cos(angle * 0.5f), s * n.x, s * n.y, s * n.z);
}

cQuaternion cQuaternion::multiply(const cQuaternion& q) const
{
    return cQuaternion(w * q.w - x * q.x - y * q.y - z * q.z,
                       w * q.x + x * q.w + y * q.z - z * q.y,
                       w * q.y - x * q.z + y * q.w + z * q.x,
                       w * q.z + x * q.y - y * q.x + z * q.w);
}

void cQuaternion::rotateAxisAngle(float angle, const cVec3f& axis)
{
    cQuaternion r;
    r.setAxisAngle(angle, axis);
    rotate(r);
}

float cQuaternion::length() const
{
    return std::sqrt(w * w + x * x + y * y + z * z);
}

void cQuaternion::invert()
{
    conjugate();
    const float len = length();
    w /= len;
    x /= len;
    y /= len;
    z /= len;
}

cVec3f cQuaternion::rotateVector(const cVec3f& v) const
{
    const cQuaternion p = multiply(cQuaternion(1.0f, v.x, v.y, v.z)).multiply(conjugated());
    return cVec3f(p.x, p.y, p.z);
}

cMatrix4f cQuaternion::toMatrix() const
{
    cMatrix4f m;
    m.setIdentity();
    m.at(0, 0) = 1.0f - 2.0f * (y * y + z * z);
    m.at(0, 1) = 2.0f * (x * y - w * z);
    m.at(0, 2) = 2.0f * (x * z + w * y);
    m.at(1, 0) = 2.0f * (x * y + w * z);
    m.at(1, 1) = 1.0f - 2.0f * (x * x + z * z);
    m.at(1, 2) = 2.0f * (y * z - w * x);
    m.at(2, 0) = 2.0f * (x * z - w * y);
    m.at(2, 1) = 2.0f * (y * z + w * x);
    m.at(2, 2) = 1.0f - 2.0f * (x * x + y * y);
    return m;
}

} // namespace qvr
