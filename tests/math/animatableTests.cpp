// Animatable values: constants, controller references, components and links.
#include "math/cAnimatable.h"
#include "math/cLinearController.h"

#include <gtest/gtest.h>

#include <limits>

using qvr::cAnimatableFloat;
using qvr::cAnimatableVec3f;
using qvr::cControllerList;
using qvr::cLinearController;

namespace {

class Animatable : public ::testing::Test {
protected:
    void SetUp() override
    {
        qvr::cControllerKey a, b;
        b.time = 1;
        a.value.set(0, 0, 0);
        b.value.set(10, 20, 30);
        mRamp.addKey(a);
        mRamp.addKey(b);
        mList = {&mRamp};
    }

    cLinearController mRamp;
    cControllerList mList;
};

} // namespace

TEST_F(Animatable, FloatPicksTheComponentOfAValidController)
{
    cAnimatableFloat f(7);
    EXPECT_EQ(f.evaluate(0.5f), 7);
    f.setControllerList(&mList);
    EXPECT_EQ(f.evaluate(0.5f), 7);  // index -1
    f.setControllerIndex(0);
    EXPECT_FLOAT_EQ(f.evaluate(0.5f), 5);
    f.setComponent(2);
    EXPECT_FLOAT_EQ(f.evaluate(0.5f), 10);
    f.setComponent(3);
    EXPECT_FLOAT_EQ(f.evaluate(0.5f), 15);
    f.setComponent(4);
    EXPECT_EQ(f.evaluate(0.5f), 7);
    f.setComponent(2);
    f.setControllerIndex(1);  // past the list's end
    EXPECT_EQ(f.evaluate(0.5f), 7);
}

TEST_F(Animatable, FloatFollowsItsLinkChainToTheEnd)
{
    cAnimatableFloat end(3);
    end.setControllerList(&mList);
    end.setControllerIndex(0);
    end.setComponent(3);
    cAnimatableFloat middle(2);
    middle.setLink(&end);
    cAnimatableFloat first(1);
    first.setLink(&middle);
    first.setComponent(1);  // the end's own component counts
    EXPECT_FLOAT_EQ(first.evaluate(1), 30);

    // Copies are shallow: a copy follows the same link.
    const cAnimatableFloat copy = first;
    EXPECT_FLOAT_EQ(copy.evaluate(0.5f), 15);
}

TEST_F(Animatable, SetValueSelectsTheControllerOnlyWhenAnimated)
{
    cAnimatableFloat f;
    f.setValue(3.7f);
    EXPECT_EQ(f.getControllerIndex(), -1);
    EXPECT_FLOAT_EQ(f.getConstant(), 3.7f);
    f.setAnimated(true);
    f.setValue(3.7f);
    EXPECT_EQ(f.getControllerIndex(), 3);
    EXPECT_FLOAT_EQ(f.getConstant(), 3.7f);
    // Values no int32 can hold select no controller.
    f.setValue(1e30f);
    EXPECT_EQ(f.getControllerIndex(), -1);
    f.setValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(f.getControllerIndex(), -1);

    cAnimatableVec3f v;
    v.setAnimated(true);
    v.setValue(0.9f, 5, 6);
    EXPECT_EQ(v.getControllerIndex(), 0);
    EXPECT_EQ(v.getConstant().z, 6);
}

TEST_F(Animatable, Vec3UsesLinkThenControllerThenConstant)
{
    cAnimatableVec3f v(qvr::cVec3f(1, 2, 3));
    EXPECT_EQ(v.evaluate(0.5f).y, 2);
    v.setControllerList(&mList);
    v.setControllerIndex(0);
    EXPECT_FLOAT_EQ(v.evaluate(0.5f).y, 10);
    v.setControllerIndex(5);
    EXPECT_EQ(v.evaluate(0.5f).y, 2);

    cAnimatableVec3f target(qvr::cVec3f(7, 8, 9));
    v.setLink(&target);
    v.setControllerIndex(0);
    EXPECT_EQ(v.evaluate(0.5f).z, 9);
}
