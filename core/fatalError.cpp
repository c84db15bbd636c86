// Fatal error report: crash log, standard error, message box, exit.
#include "core/fatalError.h"

#include "core/messageBox.h"

#include <cstdio>
#include <cstdlib>

namespace qvr {

void reportFatalError(const std::string& message)
{
#ifdef QVR_FUZZ_BUILD
    // Fuzz targets record the designed fatal answer to an input and go on with the next one.
    throw cFatalErrorReported{message};
#endif
    const std::string text = "Crash: " + message;

    if (FILE* log = std::fopen("CrashLog.txt", "wb")) {
        std::fwrite(text.data(), 1, text.size(), log);
        std::fclose(log);
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);

    // Fails at once when no display can be opened; otherwise blocks until the box is closed.
    showMessage(text.c_str(), "Guru Meditation!");

    std::exit(EXIT_FAILURE);
}

} // namespace qvr
