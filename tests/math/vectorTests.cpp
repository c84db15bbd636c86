// Vector arithmetic, clamping and text round trips.
#include "math/cVec3f.h"
#include "math/cVec4f.h"
#include "math/mathUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using qvr::cVec3f;
using qvr::cVec4f;

namespace {

void expectVec(const cVec3f& v, float x, float y, float z)
{
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

} // namespace

TEST(Vec3f, ArithmeticKeepsOperandsWhereItReturnsCopies)
{
    cVec3f a(1, 2, 3);
    const cVec3f b(4, -5, 6);
    expectVec(a.plus(b), 5, -3, 9);
    expectVec(a, 1, 2, 3);
    expectVec(a.scaled(2), 2, 4, 6);
    expectVec(a, 1, 2, 3);

    a.add(b);
    expectVec(a, 5, -3, 9);
    a.subtract(b);
    expectVec(a, 1, 2, 3);
    a.scale(-2);
    expectVec(a, -2, -4, -6);
    a.divide(4);
    expectVec(a, -0.5f, -1, -1.5f);

    EXPECT_FLOAT_EQ(cVec3f(1, 2, 3).dot(b), 4 - 10 + 18);
    EXPECT_FLOAT_EQ(cVec3f(2, 3, 6).length(), 7);
    EXPECT_FLOAT_EQ(cVec3f(2, 3, 6).lengthSquared(), 49);
}

TEST(Vec3f, CrossFollowsTheRightHandRuleAndAnticommutes)
{
    expectVec(cVec3f(1, 0, 0).cross(cVec3f(0, 1, 0)), 0, 0, 1);
    expectVec(cVec3f(0, 1, 0).cross(cVec3f(1, 0, 0)), 0, 0, -1);
    expectVec(cVec3f(1, 2, 3).cross(cVec3f(4, 5, 6)), -3, 6, -3);
}

TEST(Vec3f, NormalizeScalesToUnitLengthAndZeroBecomesNaN)
{
    cVec3f v(3, 0, 4);
    v.normalize();
    expectVec(v, 0.6f, 0, 0.8f);
    expectVec(cVec3f(0, 0, -5).normalized(), 0, 0, -1);

    cVec3f zero;
    zero.normalize();
    EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z));
}

TEST(Vec3f, ReflectMirrorsAboutTheDirection)
{
    expectVec(cVec3f(1, 1, 0).reflect(cVec3f(0, 1, 0)), -1, 1, 0);
    expectVec(cVec3f(0, 1, 0).reflect(cVec3f(0, 1, 0)), 0, 1, 0);
}

TEST(Vec3f, TextFormReadsBackWhatItWrites)
{
    std::ostringstream out;
    out << cVec3f(1.5f, -2, 0.25f);
    EXPECT_EQ(out.str(), "1.5 -2 0.25");

    std::istringstream in("1.5 -2 0.25\n  7 8\t9");
    cVec3f a, b;
    in >> a >> b;
    expectVec(a, 1.5f, -2, 0.25f);
    expectVec(b, 7, 8, 9);
}

TEST(Vec4f, DotAndDivided)
{
    const cVec4f a(1, 2, 3, 4);
    EXPECT_FLOAT_EQ(a.dot(cVec4f(5, 6, 7, 8)), 70);
    const cVec4f h = a.divided(4);
    EXPECT_FLOAT_EQ(h.x, 0.25f);
    EXPECT_FLOAT_EQ(h.w, 1);
}

TEST(Clamp, TestsMaxFirst)
{
    EXPECT_EQ(qvr::clamp(5, 0, 1), 1);
    EXPECT_EQ(qvr::clamp(-1, 0, 1), 0);
    EXPECT_EQ(qvr::clamp(0.5f, 0, 1), 0.5f);
    // With min > max a value above max gets max, any other value below min gets min.
    EXPECT_EQ(qvr::clamp(5, 3, 1), 1);
    EXPECT_EQ(qvr::clamp(2, 3, 1), 1);
    EXPECT_EQ(qvr::clamp(0, 3, 1), 3);
}
