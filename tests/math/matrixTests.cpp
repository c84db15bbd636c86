// Matrix layout, products, projection, the non-pivoting inversion and unprojection.
#include "math/cMatrix4f.h"
#include "math/mathUtil.h"

#include <gtest/gtest.h>

#include <cmath>

using qvr::cMatrix4f;
using qvr::cVec3f;
using qvr::cVec4f;

namespace {

cMatrix4f fromRows(const float rows[4][4])
{
    cMatrix4f m;
    m.setIdentity();
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m.at(r, c) = rows[r][c];
        }
    }
    return m;
}

void expectValues(const cMatrix4f& m, const cMatrix4f& expected, float eps)
{
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(m.value[i], expected.value[i], eps) << "value[" << i << "]";
    }
}

} // namespace

TEST(Matrix4f, StorageIsColumnMajor)
{
    cMatrix4f m;
    m.setIdentity();
    m.setColumn(1, 10, 11, 12, 13);
    m.setColumn(3, 30, 31, 32, 33);
    m.setColumn(4, 99, 99, 99, 99);
    m.setColumn(-1, 99, 99, 99, 99);
    EXPECT_EQ(m.value[4], 10);
    EXPECT_EQ(m.value[7], 13);
    EXPECT_EQ(m.at(2, 1), 12);
    const cVec4f row1 = m.getRow(1);
    EXPECT_EQ(row1.x, m.value[1]);
    EXPECT_EQ(row1.y, m.value[5]);
    EXPECT_EQ(row1.z, m.value[9]);
    EXPECT_EQ(row1.w, m.value[13]);
    EXPECT_EQ(row1.w, 31);
    for (int i = 0; i < 16; ++i) {
        if (i / 4 != 1 && i / 4 != 3) {
            EXPECT_EQ(m.value[i], (i % 5 == 0) ? 1.0f : 0.0f) << "value[" << i << "]";
        }
    }
}

TEST(Matrix4f, TranslationTransformsPointsButNotDirections)
{
    cMatrix4f t;
    t.setIdentity();
    t.setTranslation(cVec3f(1, 2, 3));
    EXPECT_EQ(t.value[12], 1);
    EXPECT_EQ(t.value[13], 2);
    EXPECT_EQ(t.value[14], 3);
    const cVec4f p = t.transform(cVec4f(10, 20, 30, 1));
    EXPECT_EQ(p.x, 11);
    EXPECT_EQ(p.y, 22);
    EXPECT_EQ(p.z, 33);
    EXPECT_EQ(p.w, 1);
    const cVec4f d = t.transform(cVec4f(10, 20, 30, 0));
    EXPECT_EQ(d.x, 10);
    EXPECT_EQ(d.w, 0);
}

TEST(Matrix4f, MultiplyComposesRightToLeft)
{
    const float aRows[4][4] = {{1, 2, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    const float bRows[4][4] = {{1, 0, 0, 5}, {3, 1, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    const cMatrix4f a = fromRows(aRows);
    const cMatrix4f b = fromRows(bRows);
    const float abRows[4][4] = {{7, 2, 0, 5}, {3, 1, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    expectValues(a.multiply(b), fromRows(abRows), 0);

    // (a * b) * v equals a * (b * v).
    const cVec4f v(1, -2, 3, 1);
    const cVec4f left = a.multiply(b).transform(v);
    const cVec4f right = a.transform(b.transform(v));
    EXPECT_FLOAT_EQ(left.x, right.x);
    EXPECT_FLOAT_EQ(left.y, right.y);
    EXPECT_FLOAT_EQ(left.z, right.z);

    // The product is ready for inversion.
    cMatrix4f product = a.multiply(b);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(product.identity[i], (i % 5 == 0) ? 1.0f : 0.0f);
    }
}

TEST(Matrix4f, PerspectiveHasTheOpenGLLayout)
{
    cMatrix4f p;
    p.setPerspective(90, 2, 1, 3);
    const float f = 1.0f / std::tan(3.14159265358979f / 4);
    EXPECT_FLOAT_EQ(p.at(0, 0), f / 2);
    EXPECT_FLOAT_EQ(p.at(1, 1), f);
    EXPECT_FLOAT_EQ(p.at(2, 2), -2);
    EXPECT_FLOAT_EQ(p.value[11], -1);   // row 3, column 2
    EXPECT_FLOAT_EQ(p.value[14], -3);   // row 2, column 3: 2 * 1 * 3 / (1 - 3)
    EXPECT_EQ(p.value[15], 0);
    EXPECT_EQ(p.value[1], 0);
}

TEST(Matrix4f, InvertUndoesTranslationAndKeepsTheIdentityBlock)
{
    cMatrix4f t;
    t.setIdentity();
    t.setTranslation(cVec3f(1, 2, 3));
    t.invert();
    cMatrix4f expected;
    expected.setIdentity();
    expected.setTranslation(cVec3f(-1, -2, -3));
    expectValues(t, expected, 1e-6f);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(t.identity[i], (i % 5 == 0) ? 1.0f : 0.0f);
    }
    t.invert();
    expected.setTranslation(cVec3f(1, 2, 3));
    expectValues(t, expected, 1e-6f);
}

TEST(Matrix4f, InvertOfAGeneralMatrixGivesTheInverse)
{
    const float rows[4][4] = {{4, 1, 0, 2}, {1, 5, 2, 0}, {0, 2, 6, 1}, {1, 0, 1, 3}};
    const cMatrix4f m = fromRows(rows);
    cMatrix4f inverse = m;
    inverse.invert();
    cMatrix4f identity;
    identity.setIdentity();
    expectValues(m.multiply(inverse), identity, 1e-5f);
}

TEST(Matrix4f, InvertDoesNotExchangeRows)
{
    // Invertible, but value(0,0) is 0: without row exchange the result is not finite.
    const float swapRows[4][4] = {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    cMatrix4f m = fromRows(swapRows);
    m.invert();
    bool anyNonFinite = false;
    for (float v : m.value) {
        anyNonFinite = anyNonFinite || !std::isfinite(v);
    }
    EXPECT_TRUE(anyNonFinite);

    // A singular matrix does the same, without an error.
    cMatrix4f zero;
    zero.setIdentity();
    zero.at(2, 2) = 0;
    zero.invert();
    EXPECT_FALSE(std::isfinite(zero.at(2, 2)));
}

TEST(Unproject, DividesByWOnceAndLeavesItsArgumentsAlone)
{
    cMatrix4f projection;
    projection.setIdentity();
    projection.setPerspective(90, 1, 1, 100);
    cMatrix4f view;
    view.setIdentity();
    view.setTranslation(cVec3f(0, 0, -10));  // camera at z = 10 looking down -z

    const cMatrix4f projectionBefore = projection;
    // The centre of the screen at depth 0 lies on the camera's axis, on the near/far midpoint
    // in normalized depth.
    const cVec3f centre = qvr::unproject(0, 0, projection, view);
    EXPECT_NEAR(centre.x, 0, 1e-4f);
    EXPECT_NEAR(centre.y, 0, 1e-4f);
    const float depth = 2.0f * 1 * 100 / (100 + 1);  // eye distance of NDC depth 0
    EXPECT_NEAR(centre.z, 10 - depth, 1e-3f);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(projection.value[i], projectionBefore.value[i]);
    }

    // The second matrix's w is not divided out: a b whose inverse scales w shows it.
    cMatrix4f a;
    a.setIdentity();
    cMatrix4f b;
    b.setIdentity();
    b.at(3, 3) = 0.5f;  // inverse has (3,3) = 2
    b.at(0, 0) = 0.5f;
    const cVec3f p = qvr::unproject(3, 4, a, b);
    EXPECT_FLOAT_EQ(p.x, 6);
    EXPECT_FLOAT_EQ(p.y, 4);
    EXPECT_FLOAT_EQ(p.z, 0);
}
