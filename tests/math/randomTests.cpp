// The engine-wide random sequence.
#include "math/random.h"

#include <gtest/gtest.h>

TEST(Random, SequenceFromStateOneIsPinned)
{
    qvr::seedRandom(1);
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int32_t value : expected) {
        EXPECT_EQ(qvr::randomInt(), value);
    }
}

TEST(Random, StaysInRangeAndRestartsOnSeed)
{
    qvr::seedRandom(12345);
    int32_t first[100];
    int32_t maxSeen = 0;
    for (int32_t& v : first) {
        v = qvr::randomInt();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, qvr::kRandomMax);
        maxSeen = std::max(maxSeen, v);
    }
    EXPECT_GT(maxSeen, qvr::kRandomMax / 2);
    qvr::seedRandom(12345);
    for (int32_t v : first) {
        EXPECT_EQ(qvr::randomInt(), v);
    }
    qvr::seedRandom(1);
}
