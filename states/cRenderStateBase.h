// Base of the render states: the versioned text block each state reads and writes.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>

namespace qvr {

class cRenderStateBase {
public:
    virtual ~cRenderStateBase() = default;

    //! Writes the block: "fileformat version:1", then the state's lines. binary writes nothing.
    //! Returns false without writing when the stream is already failed.
    virtual bool write(std::ostream& out, bool binary) const;
    //! Reads the block's version line (the integer after its first ':'). A state reads its
    //! fields only when that version is 1, so a block of another version consumes just that line.
    //! Returns whether the stream is still good; values read before a failure stay.
    virtual bool read(std::istream& in, bool binary);

    int32_t getVersion() const { return mVersion; }

protected:
    //! True when read() should go on to the fields: text form and version 1.
    bool readsFields(bool binary) const { return !binary && mVersion == 1; }

    int32_t mVersion = 1;
};

} // namespace qvr
