// The engine's one exit for errors it cannot handle: crash log, standard error, message box, exit.
// It does not unwind, clean up or return; callers name the failing operation in the message
// ("Crash in: <class> <operation> : <reason>").
#pragma once

#include <string>

namespace qvr {

//! Writes "Crash: " + message to "CrashLog.txt" in the working directory (replacing it) and, with a
//! line end, to standard error; shows it in a "Guru Meditation!" box when a display can be opened
//! (and waits for it to be closed); then ends the process with EXIT_FAILURE. An unwritable log
//! does not stop the rest.
[[noreturn]] void reportFatalError(const std::string& message);

#ifdef QVR_FUZZ_BUILD
//! In the fuzz build only, reportFatalError throws this instead of ending the process.
struct cFatalErrorReported {
    std::string message;
};
#endif

} // namespace qvr
