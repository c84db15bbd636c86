// Modal message boxes. Without a display nothing is shown and nothing waits.
#pragma once

namespace qvr {

//! Shows text with an OK button and waits for it to be closed. False when no box could be shown.
bool showMessage(const char* text, const char* caption);

//! Asks a Yes/No question (Return answers Yes, Escape answers No). No when no box can be shown.
bool askYesNo(const char* text, const char* caption);

} // namespace qvr
