// Line reading for the engine's text files.
#include "core/textUtil.h"

namespace qvr {

void stripCarriageReturn(std::string& text)
{
    if (!text.empty() && text.back() == '\r') {
        text.pop_back();
    }
}

bool readLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) {
        return false;
    }
    stripCarriageReturn(line);
    return true;
}

void skipLineEnd(std::istream& in)
{
    // Peeking at or after the end would mark the stream failed.
    if (!in.good()) {
        return;
    }
    int next = in.peek();
    while (next == ' ' || next == '\t') {
        in.get();
        next = in.peek();
    }
    if (next == '\r') {
        in.get();
        next = in.peek();
    }
    if (next == '\n') {
        in.get();
    }
}

bool readLabeledName(std::istream& in, std::string& target)
{
    skipLabel(in);
    std::string name;
    if (readLine(in, name)) {
        target = name;
    }
    return in.good();
}

} // namespace qvr
