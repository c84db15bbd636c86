// A program started by a test as a child process, with its own working directory, environment
// and output files; killed if the test ends while it still runs.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

namespace qvr::test {

class cChildProcess {
public:
    struct cOptions {
        std::string program;
        //! Empty: the test's own working directory.
        std::string workingDir;
        std::map<std::string, std::string> environment;
        //! false: DISPLAY, WAYLAND_DISPLAY and SDL_VIDEODRIVER are removed first.
        bool withDisplay = true;
        //! Where standard output and standard error go.
        std::string outFile;
        std::string errFile;
        //! Arguments after the program name.
        std::vector<std::string> arguments = {};
    };

    explicit cChildProcess(const cOptions& options);
    ~cChildProcess();
    cChildProcess(const cChildProcess&) = delete;
    cChildProcess& operator=(const cChildProcess&) = delete;

    //! Exit status (128 + signal when killed by one), or -1 while it still runs after timeout.
    int wait(std::chrono::milliseconds timeout);
    //! Sends a signal to the process while it runs.
    void sendSignal(int signal);
    //! Seconds from the start to the exit, once wait has seen it.
    double seconds() const { return mSeconds; }

private:
    pid_t mPid = -1;
    int mStatus = -1;
    double mSeconds = 0.0;
    std::chrono::steady_clock::time_point mStart;
};

} // namespace qvr::test
