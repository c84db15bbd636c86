// Helpers for tests that drive real windows on the test X server: shell commands and the answer
// to the program's fullscreen question.
#pragma once

#include <chrono>
#include <string>

namespace qvr::test {

//! Output of a shell command, trailing line ends removed.
std::string shell(const std::string& command);

//! Answers the fullscreen question with key ("Return" = Yes, "Escape" = No). The box is a window
//! named "Quorvane" that is not 800x600 (the main window is). The key goes to the box only once
//! the box is mapped, and again until the box is gone; true when it went within timeout.
bool answerFullscreenQuestion(const char* key, std::chrono::seconds timeout = std::chrono::seconds(90));

} // namespace qvr::test
