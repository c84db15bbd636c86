// Four-component float vector: homogeneous points and matrix rows.
#pragma once

namespace qvr {

class cVec4f {
public:
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;

    cVec4f() = default;
    cVec4f(float ax, float ay, float az, float aw) : x(ax), y(ay), z(az), w(aw) {}

    float dot(const cVec4f& a) const { return x * a.x + y * a.y + z * a.z + w * a.w; }
    cVec4f divided(float s) const { return cVec4f(x / s, y / s, z / s, w / s); }
};

} // namespace qvr
