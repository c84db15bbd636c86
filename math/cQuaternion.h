// Rotation quaternion, scalar part first.
#pragma once

#include "math/cMatrix4f.h"
#include "math/cVec3f.h"

namespace qvr {

class cQuaternion {
public:
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    //! The identity rotation.
    cQuaternion() = default;
    cQuaternion(float aw, float ax, float ay, float az) : w(aw), x(ax), y(ay), z(az) {}

    void set(float aw, float ax, float ay, float az) { w = aw; x = ax; y = ay; z = az; }
    //! Rotation by angle (radians) about axis; the axis is normalized first.
    void setAxisAngle(float angle, const cVec3f& axis);

    //! Hamilton product this x q.
    cQuaternion multiply(const cQuaternion& q) const;
    //! this = this x q.
    void rotate(const cQuaternion& q) { *this = multiply(q); }
    //! this = this x rotation(angle, axis).
    void rotateAxisAngle(float angle, const cVec3f& axis);

    void conjugate() { x = -x; y = -y; z = -z; }
    cQuaternion conjugated() const { return cQuaternion(w, -x, -y, -z); }
    float length() const;

    //! Conjugates, then divides by length() once: the inverse only for a unit quaternion.
    void invert();
    cQuaternion inverted() const { cQuaternion r = *this; r.invert(); return r; }

    //! (this x (1, v) x conjugated()).xyz: v rotated, for a unit quaternion.
    cVec3f rotateVector(const cVec3f& v) const;
    //! Rotation matrix of a unit quaternion.
    cMatrix4f toMatrix() const;
};

} // namespace qvr
