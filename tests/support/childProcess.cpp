// Child processes for tests: fork, environment, output files, wait with a timeout, kill.
#include "tests/support/childProcess.h"

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvr::test {

cChildProcess::cChildProcess(const cOptions& options)
{
    mStart = std::chrono::steady_clock::now();
    mPid = fork();
    if (mPid != 0) {
        return;
    }
    if (!options.withDisplay) {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
    }
    for (const auto& [name, value] : options.environment) {
        setenv(name.c_str(), value.c_str(), 1);
    }
    if ((!options.workingDir.empty() && chdir(options.workingDir.c_str()) != 0) ||
        !freopen(options.outFile.c_str(), "w", stdout) || !freopen(options.errFile.c_str(), "w", stderr)) {
        _exit(99);
    }
    std::vector<char*> argv{const_cast<char*>(options.program.c_str())};
    for (const std::string& argument : options.arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(options.program.c_str(), argv.data());
    _exit(98);
}

cChildProcess::~cChildProcess()
{
    if (mPid > 0 && mStatus < 0) {
        kill(mPid, SIGKILL);  // after SDL_Init, SIGTERM only queues SDL_QUIT
        waitpid(mPid, nullptr, 0);
    }
}

void cChildProcess::sendSignal(int signal)
{
    if (mPid > 0 && mStatus < 0) {
        kill(mPid, signal);
    }
}

int cChildProcess::wait(std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (mStatus < 0 && std::chrono::steady_clock::now() < end) {
        int status = 0;
        if (waitpid(mPid, &status, WNOHANG) == mPid) {
            mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            mSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - mStart).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return mStatus;
}

} // namespace qvr::test
