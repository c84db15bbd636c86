// Helpers for the engine's line-oriented text files, shared by every reader.
#pragma once

#include <istream>
#include <string>

namespace qvr {

//! Reads one line and drops one trailing '\r', so files with CRLF line ends read like LF ones.
//! Returns false when no line could be read.
bool readLine(std::istream& in, std::string& line);

//! Drops one trailing '\r' from a string taken from a line.
void stripCarriageReturn(std::string& text);

} // namespace qvr
