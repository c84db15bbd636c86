// Reading and writing primitives shared by the engine's line-oriented text formats: a label up to
// ':' that is skipped unread, then a value taken with the stream's extractors.
#pragma once

#include <istream>
#include <limits>
#include <ostream>
#include <string>

namespace qvr {

//! Reads one line and drops one trailing '\r', so files with CRLF line ends read like LF ones.
//! Returns false when no line could be read.
bool readLine(std::istream& in, std::string& line);

//! Drops one trailing '\r' from a string taken from a line.
void stripCarriageReturn(std::string& text);

//! Discards everything up to and including the next ':' (line ends included). Without a ':'
//! left the stream reaches its end and the next extraction fails.
inline void skipLabel(std::istream& in)
{
    in.ignore(std::numeric_limits<std::streamsize>::max(), ':');
}

//! Consumes the end of the current line: trailing blanks, then "\r\n" or "\n". Consumes nothing
//! else, so a value on the next line is never eaten.
void skipLineEnd(std::istream& in);

//! skipLabel, then one value. The target changes only when the extraction succeeds, so a failed
//! read leaves what was there. Returns whether the stream is still good.
template <typename T>
bool readLabeled(std::istream& in, T& target)
{
    skipLabel(in);
    T value{};
    if (in >> value) {
        target = value;
    }
    return in.good();
}

//! skipLabel, then the rest of the line taken whole (blanks included, one trailing '\r' dropped).
//! The target changes only when a line could be read.
bool readLabeledName(std::istream& in, std::string& target);

//! Writes floats with enough digits to read back the same value, restoring the stream's
//! precision when it goes.
class cFloatPrecision {
public:
    explicit cFloatPrecision(std::ostream& out)
        : mOut(out), mPrevious(out.precision(std::numeric_limits<float>::max_digits10))
    {
    }
    ~cFloatPrecision() { mOut.precision(mPrevious); }
    cFloatPrecision(const cFloatPrecision&) = delete;
    cFloatPrecision& operator=(const cFloatPrecision&) = delete;

private:
    std::ostream& mOut;
    std::streamsize mPrevious;
};

} // namespace qvr
