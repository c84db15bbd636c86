// Low-level reading of scene files (".QVS"), text and binary, shared by the node kinds.
#pragma once

#include <cstdint>
#include <cstring>
#include <istream>
#include <string>

namespace qvr {

//! Bytes from the read position to the end of the stream; 0 when it cannot be told.
uint64_t bytesLeft(std::istream& in);

//! Reads one little-endian 32-bit value (int32, uint32 or float) of the binary form.
template <typename T>
bool readBinary(std::istream& in, T& value)
{
    static_assert(sizeof(T) == 4, "binary scene values are 32 bits wide");
    static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "binary scene files are little-endian");
    char bytes[4];
    if (!in.read(bytes, 4)) {
        return false;
    }
    std::memcpy(&value, bytes, 4);
    return true;
}

//! Reads a zero-terminated string of the binary form; the end of the stream inside it fails.
bool readBinaryString(std::istream& in, std::string& text);

//! Discards the rest of the current line, its end included.
void discardLine(std::istream& in);

//! Sets *error (when error is set) and returns false.
bool failWith(std::string* error, const std::string& what);

} // namespace qvr
