// Linear and TCB controllers: evaluation, key access and the text form.
#include "math/cLinearController.h"
#include "math/cTcbController.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

using qvr::cControllerKey;
using qvr::cLinearController;
using qvr::cTcbController;
using qvr::cVec3f;

namespace {

cControllerKey key(float time, float x, float y, float z, float tension = 0, float continuity = 0,
                   float bias = 0)
{
    cControllerKey k;
    k.time = time;
    k.value.set(x, y, z);
    k.tension = tension;
    k.continuity = continuity;
    k.bias = bias;
    return k;
}

void expectVec(const cVec3f& v, float x, float y, float z, float eps = 1e-5f)
{
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void expectSameKeys(const qvr::cBaseController& a, const qvr::cBaseController& b)
{
    ASSERT_EQ(a.getKeyCount(), b.getKeyCount());
    for (int32_t i = 0; i < a.getKeyCount(); ++i) {
        const cControllerKey& ka = *a.getKey(i);
        const cControllerKey& kb = *b.getKey(i);
        EXPECT_EQ(ka.time, kb.time) << "key " << i;
        EXPECT_EQ(ka.value.x, kb.value.x);
        EXPECT_EQ(ka.value.y, kb.value.y);
        EXPECT_EQ(ka.value.z, kb.value.z);
        EXPECT_EQ(ka.tension, kb.tension);
        EXPECT_EQ(ka.continuity, kb.continuity);
        EXPECT_EQ(ka.bias, kb.bias);
    }
}

} // namespace

TEST(LinearController, InterpolatesOverClampedTime)
{
    cLinearController c;
    expectVec(c.evaluate(0.5f), 0, 0, 0);
    c.addKey(key(0, 0, 0, 0));
    c.addKey(key(1, 10, 20, 30));
    expectVec(c.evaluate(0.25f), 2.5f, 5, 7.5f);
    expectVec(c.evaluate(-1), 0, 0, 0);
    expectVec(c.evaluate(2), 10, 20, 30);

    // Three keys: the segment is picked by time.
    cLinearController three;
    three.addKey(key(0.2f, 0, 0, 0));
    three.addKey(key(0.6f, 4, 0, 0));
    three.addKey(key(0.8f, 0, 8, 0));
    expectVec(three.evaluate(0.1f), 0, 0, 0);
    expectVec(three.evaluate(0.4f), 2, 0, 0);
    expectVec(three.evaluate(0.7f), 2, 4, 0);
}

TEST(LinearController, DimensionReducesAllButTheLastKey)
{
    cLinearController c;
    c.addKey(key(0, 0, 0, 0));
    c.addKey(key(1, 10, 20, 30));
    c.setDimension(1);
    expectVec(c.evaluate(0.25f), 2.5f, 0, 0);
    expectVec(c.evaluate(1), 10, 20, 30);
    expectVec(c.evaluate(5), 10, 20, 30);
    c.setDimension(2);
    expectVec(c.evaluate(0.25f), 2.5f, 5, 0);
    // A dimension beyond three drives all three, as in the TCB controller.
    c.setDimension(4);
    expectVec(c.evaluate(0.25f), 2.5f, 5, 7.5f);
}

TEST(Controllers, ReadingClampsTheDimensionAndOrdersTheKeys)
{
    for (int32_t type : {qvr::kControllerLinear, qvr::kControllerTcb}) {
        std::unique_ptr<qvr::cBaseController> c = type == qvr::kControllerLinear
                                                      ? std::unique_ptr<qvr::cBaseController>(new cLinearController)
                                                      : std::unique_ptr<qvr::cBaseController>(new cTcbController);
        const std::string keys = type == qvr::kControllerLinear
                                     ? "number of keys:3\nkey 0:10 20 30 1\nkey 1:0 0 0 0\nkey 2:5 10 15 0.5\n"
                                     : "number of keys:3\nkey 0:10 20 30 1 0 0 0\nkey 1:0 0 0 0 0 0 0\n"
                                       "key 2:5 10 15 0.5 0 0 0\n";
        std::istringstream in("do work on:9\n" + keys);
        c->read(in, false, 0);
        EXPECT_EQ(c->getDimension(), 3) << type;
        ASSERT_EQ(c->getKeyCount(), 3) << type;
        EXPECT_EQ(c->getKey(0)->time, 0.0f);
        EXPECT_EQ(c->getKey(1)->time, 0.5f);
        EXPECT_EQ(c->getKey(2)->time, 1.0f);
        expectVec(c->evaluate(0.5f), 5, 10, 15);
        expectVec(c->evaluate(1.0f), 10, 20, 30);
        std::istringstream zero("do work on:0\nnumber of keys:0\n");
        c->read(zero, false, 0);
        EXPECT_EQ(c->getDimension(), 1) << type;
    }
}

TEST(TcbController, ZeroParametersGiveTheMidpointAndTensionEases)
{
    cTcbController c;
    expectVec(c.evaluate(3), 0, 0, 0);
    c.addKey(key(0, 0, 0, 0));
    c.addKey(key(2, 10, -4, 6));
    expectVec(c.evaluate(1), 5, -2, 3);
    expectVec(c.evaluate(-1), 0, 0, 0);
    expectVec(c.evaluate(7), 10, -4, 6);

    // Tension 1 on both keys: no tangents, the Hermite ease h1 P1 + h2 P2.
    cTcbController eased;
    eased.addKey(key(0, 0, 0, 0, 1));
    eased.addKey(key(1, 8, 0, 0, 1));
    const float s = 0.25f, h2 = 3 * s * s - 2 * s * s * s;
    expectVec(eased.evaluate(s), 8 * h2, 0, 0);
}

TEST(TcbController, InnerSegmentsUseNeighbourTangentsWithSpacing)
{
    // Keys at uneven times; the middle segment has both neighbours.
    cTcbController c;
    c.addKey(key(0, 0, 0, 0));
    c.addKey(key(1, 2, 0, 0, 0.5f, 0.25f, -0.5f));
    c.addKey(key(3, 6, 0, 0, -0.5f, 0.5f, 0.25f));
    c.addKey(key(4, 5, 0, 0));

    const float t1 = 0.5f, c1 = 0.25f, b1 = -0.5f, t2 = -0.5f, c2 = 0.5f, b2 = 0.25f;
    const float tangent1 = ((1 - t1) * (1 - c1) * (1 + b1) * (2 - 0) +
                            (1 - t1) * (1 + c1) * (1 - b1) * (6 - 2)) * (3 - 1) / (3 - 0);
    const float tangent2 = ((1 - t2) * (1 + c2) * (1 + b2) * (6 - 2) +
                            (1 - t2) * (1 - c2) * (1 - b2) * (5 - 6)) * (3 - 1) / (4 - 1);
    const float s = 0.3f;  // time 1.6
    const float s2 = s * s, s3 = s2 * s;
    const float expected = (2 * s3 - 3 * s2 + 1) * 2 + (3 * s2 - 2 * s3) * 6 +
                           (s3 - 2 * s2 + s) * tangent1 + (s3 - s2) * tangent2;
    EXPECT_NEAR(c.evaluate(1.6f).x, expected, 1e-4f);

    // The first segment has no previous key: its outgoing tangent has no spacing factor.
    const float first1 = 2 - 0;  // zero parameters on the first key: P2 - P1
    const float first2 = ((1 - t1) * (1 + c1) * (1 + b1) * 2 +
                          (1 - t1) * (1 - c1) * (1 - b1) * 4) * (1 - 0) / (3 - 0);
    const float u = 0.5f, u2 = u * u, u3 = u2 * u;
    EXPECT_NEAR(c.evaluate(0.5f).x,
                (3 * u2 - 2 * u3) * 2 + (u3 - 2 * u2 + u) * first1 + (u3 - u2) * first2, 1e-4f);

    // Dimension 1 computes x only.
    c.setDimension(1);
    c.addKey(key(5, 1, 1, 1));
    expectVec(c.evaluate(4.5f), c.evaluate(4.5f).x, 0, 0);
}

TEST(Controller, GetKeyTakesTheIndexModulo65536)
{
    cLinearController c;
    c.addKey(key(0, 1, 0, 0));
    c.addKey(key(1, 2, 0, 0));
    EXPECT_EQ(c.getKey(65536)->value.x, 1);
    EXPECT_EQ(c.getKey(65537)->value.x, 2);
    EXPECT_EQ(c.getKey(1)->value.x, 2);
    EXPECT_EQ(c.getKey(2), nullptr);
    EXPECT_EQ(c.getKey(-1), nullptr);
}

TEST(Controller, TextFormWritesTcbParametersAsTensionBiasContinuity)
{
    cTcbController c;
    c.setDimension(2);
    c.addKey(key(0, 1, 2, 3, 0.5f, 0.25f, -0.75f));
    c.addKey(key(0.1f, -1.5f, 0, 1e-7f, 0, 0, 0));
    std::ostringstream out;
    ASSERT_TRUE(c.write(out, false));
    std::istringstream lines(out.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "1");
    std::getline(lines, line);
    EXPECT_EQ(line, "do work on:2");
    std::getline(lines, line);
    EXPECT_EQ(line, "number of keys:2");
    std::getline(lines, line);
    EXPECT_EQ(line, "key 0:1 2 3 0 0.5 -0.75 0.25");

    // Read back (after the type line, as the list reader does): the same keys, to the bit.
    std::istringstream in(out.str());
    std::getline(in, line);
    cTcbController back;
    EXPECT_TRUE(back.read(in, false, 0));
    EXPECT_EQ(back.getDimension(), 2);
    expectSameKeys(back, c);
}

TEST(Controller, LinearReadReplacesTcbReadAppends)
{
    cLinearController linear;
    linear.addKey(key(0.5f, 9, 9, 9));
    linear.setDimension(1);
    std::ostringstream linearText;
    linear.write(linearText, false);
    std::istringstream in1(linearText.str().substr(2));
    cLinearController intoLinear;
    intoLinear.addKey(key(0, 1, 1, 1));
    intoLinear.read(in1, false, 0);
    expectSameKeys(intoLinear, linear);
    EXPECT_EQ(intoLinear.getDimension(), 1);

    cTcbController tcb;
    tcb.addKey(key(0.5f, 9, 9, 9, 0.1f, 0.2f, 0.3f));
    std::ostringstream tcbText;
    tcb.write(tcbText, false);
    std::istringstream in2(tcbText.str().substr(2));
    cTcbController intoTcb;
    intoTcb.addKey(key(0, 1, 1, 1));
    intoTcb.read(in2, false, 0);
    ASSERT_EQ(intoTcb.getKeyCount(), 2);
    EXPECT_EQ(intoTcb.getKey(0)->value.x, 1);
    EXPECT_FLOAT_EQ(intoTcb.getKey(1)->continuity, 0.2f);

    // Binary, or a skip request, reads nothing.
    std::istringstream in3(tcbText.str().substr(2));
    EXPECT_TRUE(intoTcb.read(in3, true, 0));
    EXPECT_TRUE(intoTcb.read(in3, false, 1));
    EXPECT_EQ(intoTcb.getKeyCount(), 2);
    std::ostringstream none;
    EXPECT_TRUE(intoTcb.write(none, true));
    EXPECT_TRUE(none.str().empty());
}

TEST(Controller, BadCountsNeverReadMoreThanIsThere)
{
    std::istringstream huge("do work on:3\nnumber of keys: 2000000000\nkey 0:1 2 3 0\nkey 1:4 5 6 1\n");
    cLinearController c;
    EXPECT_FALSE(c.read(huge, false, 0));
    ASSERT_EQ(c.getKeyCount(), 2);
    EXPECT_EQ(c.getKey(1)->value.z, 6);

    std::istringstream negative("do work on:3\nnumber of keys:-5\nkey 0:1 2 3 0\n");
    cTcbController t;
    t.read(negative, false, 0);
    EXPECT_EQ(t.getKeyCount(), 0);

    // A key cut in the middle is not added; the complete ones before it stay.
    std::istringstream cut("do work on:3\nnumber of keys:3\nkey 0:1 2 3 0 0 0 0\nkey 1:4 5");
    cTcbController partial;
    EXPECT_FALSE(partial.read(cut, false, 0));
    EXPECT_EQ(partial.getKeyCount(), 1);
}

TEST(Controller, CloneCopiesClassDimensionAndKeys)
{
    cTcbController c;
    c.setDimension(1);
    c.addKey(key(0, 1, 2, 3, 0.5f));
    c.addKey(key(1, 4, 5, 6));
    const std::unique_ptr<qvr::cBaseController> copy = c.clone();
    EXPECT_EQ(copy->getType(), qvr::kControllerTcb);
    EXPECT_EQ(copy->getDimension(), 1);
    expectSameKeys(*copy, c);
    c.clearKeys();
    EXPECT_EQ(copy->getKeyCount(), 2);
}
