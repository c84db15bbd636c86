// Shell commands and the fullscreen question on the test X server.
#include "tests/support/xSession.h"

#include <cstdio>
#include <sstream>
#include <thread>
#include <vector>

namespace qvr::test {

using namespace std::chrono_literals;

std::string shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof(buffer), pipe)) {
            out += buffer;
        }
        pclose(pipe);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) {
        out.pop_back();
    }
    return out;
}

namespace {

std::vector<std::string> questionBoxes()
{
    std::istringstream ids(shell("timeout 5 xwininfo -root -tree 2>/dev/null | "
                                 "awk '/\"Quorvane\"/ && !/800x600/ {print $1}'"));
    std::vector<std::string> boxes;
    std::string id;
    while (ids >> id) {
        boxes.push_back(id);
    }
    return boxes;
}

bool isViewable(const std::string& id)
{
    return shell("timeout 5 xwininfo -id " + id + " 2>/dev/null | grep -c 'IsViewable'") == "1";
}

} // namespace

bool answerFullscreenQuestion(const char* key, std::chrono::seconds timeout)
{
    bool seen = false;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        const std::vector<std::string> boxes = questionBoxes();
        if (boxes.empty()) {
            if (seen) {
                return true;
            }
            std::this_thread::sleep_for(150ms);
            continue;
        }
        seen = true;
        for (const std::string& box : boxes) {
            if (!isViewable(box)) {
                continue;
            }
            // Focus then a real key press; the focus step fails once the box is gone, so no key
            // can reach the main window that follows it.
            shell("timeout 5 xdotool windowfocus --sync " + box + " 2>/dev/null && timeout 5 xdotool key " +
                  key + " 2>/dev/null");
        }
        std::this_thread::sleep_for(400ms);
    }
    return false;
}

} // namespace qvr::test
