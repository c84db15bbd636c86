// Three-component float vector: positions, directions, scales.
#pragma once

#include <cmath>
#include <istream>
#include <ostream>

namespace qvr {

class cVec3f {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    cVec3f() = default;
    cVec3f(float ax, float ay, float az) : x(ax), y(ay), z(az) {}

    void set(float ax, float ay, float az) { x = ax; y = ay; z = az; }

    void add(const cVec3f& a) { x += a.x; y += a.y; z += a.z; }
    cVec3f plus(const cVec3f& a) const { return cVec3f(x + a.x, y + a.y, z + a.z); }
    void subtract(const cVec3f& a) { x -= a.x; y -= a.y; z -= a.z; }
    void scale(float s) { x *= s; y *= s; z *= s; }
    cVec3f scaled(float s) const { return cVec3f(s * x, s * y, s * z); }
    void divide(float s) { x /= s; y /= s; z /= s; }

    float dot(const cVec3f& a) const { return x * a.x + y * a.y + z * a.z; }
    cVec3f cross(const cVec3f& a) const
    {
        return cVec3f(y * a.z - z * a.y, z * a.x - x * a.z, x * a.y - y * a.x);
    }

    float lengthSquared() const { return x * x + y * y + z * z; }
    float length() const { return std::sqrt(lengthSquared()); }

    //! Scales to unit length; a zero vector becomes NaN (no check).
    void normalize() { scale(1.0f / length()); }
    cVec3f normalized() const { cVec3f r = *this; r.normalize(); return r; }

    //! This vector mirrored about the direction n (n of unit length): 2 (this . n) n - this.
    cVec3f reflect(const cVec3f& n) const
    {
        cVec3f r = n.scaled(2.0f * dot(n));
        r.subtract(*this);
        return r;
    }
};

//! Writes "x y z" with the stream's float formatting.
inline std::ostream& operator<<(std::ostream& out, const cVec3f& v)
{
    return out << v.x << " " << v.y << " " << v.z;
}

//! Reads three whitespace-separated floats.
inline std::istream& operator>>(std::istream& in, cVec3f& v)
{
    return in >> v.x >> v.y >> v.z;
}

} // namespace qvr
