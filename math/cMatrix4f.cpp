// 4x4 matrix operations and the fixed-size Gauss-Jordan inversion.
#include "math/cMatrix4f.h"

#include <cmath>

namespace qvr {

void cMatrix4f::setIdentity()
{
    for (int i = 0; i < 16; ++i) {
        identity[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    }
    for (int i = 0; i < 16; ++i) {
        value[i] = identity[i];
    }
}

void cMatrix4f::setTranslation(const cVec3f& v)
{
    for (int i = 0; i < 16; ++i) {
        value[i] = identity[i];
    }
    value[12] = v.x;
    value[13] = v.y;
    value[14] = v.z;
}

void cMatrix4f::setColumn(int column, float a, float b, float d, float e)
{
    if (column < 0 || column > 3) {
        return;
    }
    value[column * 4 + 0] = a;
    value[column * 4 + 1] = b;
    value[column * 4 + 2] = d;
    value[column * 4 + 3] = e;
}

void cMatrix4f::setPerspective(float fovDegrees, float aspect, float zNear, float zFar)
{
    const float f = 1.0f / std::tan(fovDegrees / 180.0f * 3.14159265358979f * 0.5f);
    for (float& v : value) {
        v = 0.0f;
    }
    at(0, 0) = f / aspect;
    at(1, 1) = f;
    at(2, 2) = (zNear + zFar) / (zNear - zFar);
    at(3, 2) = -1.0f;
    at(2, 3) = 2.0f * zNear * zFar / (zNear - zFar);
}

cMatrix4f cMatrix4f::multiply(const cMatrix4f& b) const
{
    cMatrix4f r;
    r.setIdentity();
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += at(row, k) * b.at(k, col);
            }
            r.at(row, col) = sum;
        }
    }
    return r;
}

cVec4f cMatrix4f::getRow(int i) const
{
    return cVec4f(value[i], value[4 + i], value[8 + i], value[12 + i]);
}

cVec4f cMatrix4f::transform(const cVec4f& v) const
{
    return cVec4f(getRow(0).dot(v), getRow(1).dot(v), getRow(2).dot(v), getRow(3).dot(v));
}

void cMatrix4f::invert()
{
    for (int i = 0; i < 16; ++i) {
        work[i] = identity[i];
    }
    for (int c = 0; c < 4; ++c) {
        pivot[0] = at(c, c);
        for (int k = 0; k < 4; ++k) {
            value[k * 4 + c] /= pivot[0];
            work[k * 4 + c] /= pivot[0];
        }
        int slot = 1;
        for (int r = 0; r < 4; ++r) {
            if (r == c) {
                continue;
            }
            const float factor = pivot[slot++] = at(r, c);
            for (int k = 0; k < 4; ++k) {
                value[k * 4 + r] -= factor * value[k * 4 + c];
                work[k * 4 + r] -= factor * work[k * 4 + c];
            }
        }
    }
    for (int i = 0; i < 16; ++i) {
        value[i] = work[i];
    }
}

} // namespace qvr
