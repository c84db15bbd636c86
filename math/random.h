// The engine-wide random generator: every random draw of engine and demo goes through it, so a
// run places everything the same way on every machine.
#pragma once

#include <cstdint>

namespace qvr {

//! Largest value randomInt() returns.
constexpr int32_t kRandomMax = 32767;

//! Next value in 0..kRandomMax: a 15-bit linear congruential generator whose state starts at 1.
int32_t randomInt();

//! Restarts the sequence from the given state (1 is the state at process start).
void seedRandom(uint32_t seed);

} // namespace qvr
