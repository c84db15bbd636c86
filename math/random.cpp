// The engine-wide 15-bit linear congruential generator.
#include "math/random.h"

namespace qvr {

namespace {

uint32_t& randomState()
{
    static uint32_t state = 1;
    return state;
}

} // namespace

int32_t randomInt()
{
    uint32_t& state = randomState();
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFFu);
}

void seedRandom(uint32_t seed)
{
    randomState() = seed;
}

} // namespace qvr
