// What every fuzz target shares: the input as a stream, and the designed fatal answer told apart
// from a crash.
#pragma once

#include "core/fatalError.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace qvr::fuzz {

inline std::string text(const uint8_t* data, size_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

//! Runs read; a fatal error the engine reports on purpose is a result, not a finding.
template <typename Read>
void guarded(Read read)
{
    try {
        read();
    } catch (const cFatalErrorReported&) {
    }
}

} // namespace qvr::fuzz
