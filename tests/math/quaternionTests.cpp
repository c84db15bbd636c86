// Quaternion rotations, products and the single-division inverse.
#include "math/cQuaternion.h"

#include <gtest/gtest.h>

#include <cmath>

using qvr::cMatrix4f;
using qvr::cQuaternion;
using qvr::cVec3f;

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kEps = 1e-6f;

void expectQuat(const cQuaternion& q, float w, float x, float y, float z, float eps = kEps)
{
    EXPECT_NEAR(q.w, w, eps);
    EXPECT_NEAR(q.x, x, eps);
    EXPECT_NEAR(q.y, y, eps);
    EXPECT_NEAR(q.z, z, eps);
}

} // namespace

TEST(Quaternion, AxisAngleNormalizesTheAxisAndRotatesVectors)
{
    cQuaternion q;
    q.setAxisAngle(kPi, cVec3f(0, 2, 0));
    expectQuat(q, std::cos(kPi / 2), 0, 1, 0);

    const cVec3f r = q.rotateVector(cVec3f(1, 0, 0));
    EXPECT_NEAR(r.x, -1, kEps);
    EXPECT_NEAR(r.y, 0, kEps);
    EXPECT_NEAR(r.z, 0, kEps);

    // A quarter turn about z takes x to y.
    q.setAxisAngle(kPi / 2, cVec3f(0, 0, 1));
    const cVec3f s = q.rotateVector(cVec3f(1, 0, 0));
    EXPECT_NEAR(s.x, 0, kEps);
    EXPECT_NEAR(s.y, 1, kEps);
}

TEST(Quaternion, ProductIsHamiltonsAndNotCommutative)
{
    cQuaternion a, b;
    a.setAxisAngle(kPi / 2, cVec3f(1, 0, 0));
    b.setAxisAngle(kPi / 2, cVec3f(0, 1, 0));
    const cQuaternion ab = a.multiply(b);
    const cQuaternion ba = b.multiply(a);
    expectQuat(ab, 0.5f, 0.5f, 0.5f, 0.5f);
    expectQuat(ba, 0.5f, 0.5f, 0.5f, -0.5f);

    // i * j = k for the basis quaternions.
    expectQuat(cQuaternion(0, 1, 0, 0).multiply(cQuaternion(0, 0, 1, 0)), 0, 0, 0, 1);

    cQuaternion c = a;
    c.rotate(b);
    expectQuat(c, ab.w, ab.x, ab.y, ab.z);
    cQuaternion d = a;
    d.rotateAxisAngle(kPi / 2, cVec3f(0, 3, 0));
    expectQuat(d, ab.w, ab.x, ab.y, ab.z);
}

TEST(Quaternion, InvertDividesByTheLengthOnce)
{
    const cQuaternion q(2, 0, 0, 0);
    EXPECT_FLOAT_EQ(q.length(), 2);
    // The conjugate halved, not the true inverse (which would be divided by 4).
    expectQuat(q.inverted(), 1, 0, 0, 0);

    cQuaternion p(1, 1, 1, 1);
    p.invert();
    expectQuat(p, 0.5f, -0.5f, -0.5f, -0.5f);

    cQuaternion c(1, 2, 3, 4);
    c.conjugate();
    expectQuat(c, 1, -2, -3, -4);
    expectQuat(c.conjugated(), 1, 2, 3, 4);
}

TEST(Quaternion, ToMatrixMatchesRotateVector)
{
    const cMatrix4f identity = cQuaternion(1, 0, 0, 0).toMatrix();
    for (int i = 0; i < 16; ++i) {
        EXPECT_FLOAT_EQ(identity.value[i], (i % 5 == 0) ? 1.0f : 0.0f) << "element " << i;
    }

    cQuaternion q;
    q.setAxisAngle(0.7f, cVec3f(1, 2, -0.5f));
    const cMatrix4f m = q.toMatrix();
    const cVec3f v(0.3f, -1.2f, 2.5f);
    const cVec3f expected = q.rotateVector(v);
    const qvr::cVec4f got = m.transform(qvr::cVec4f(v.x, v.y, v.z, 1));
    EXPECT_NEAR(got.x, expected.x, 1e-5f);
    EXPECT_NEAR(got.y, expected.y, 1e-5f);
    EXPECT_NEAR(got.z, expected.z, 1e-5f);
    EXPECT_FLOAT_EQ(got.w, 1);
    // Column-major: the row-0, column-1 element sits at value[4].
    EXPECT_FLOAT_EQ(m.value[4], 2 * (q.x * q.y - q.w * q.z));
}
