// Parsing and checking the capture tool's options.
#include "capture/captureOptions.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace capture {

namespace fs = std::filesystem;

namespace {

constexpr int32_t kShowMs = 184000;

bool toInt(const std::string& text, int32_t& value)
{
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < INT32_MIN || parsed > INT32_MAX) {
        return false;
    }
    value = static_cast<int32_t>(parsed);
    return true;
}

struct cIntOption {
    const char* name;
    int32_t cCaptureOptions::*field;
    int32_t minimum;
    int32_t maximum;
};

const cIntOption kIntOptions[] = {
    {"--fps", &cCaptureOptions::fps, 1, 240},
    {"--from", &cCaptureOptions::fromMs, 0, kShowMs},
    {"--to", &cCaptureOptions::toMs, 0, kShowMs},
    {"--at", &cCaptureOptions::atMs, 0, kShowMs - 1},
    {"--scale", &cCaptureOptions::scale, 1, 4},
    {"--every", &cCaptureOptions::sheetEverySeconds, 1, 184},
};

struct cModeOption {
    const char* name;
    eMode mode;
    bool takesPath;
};

const cModeOption kModes[] = {
    {"--frames", eMode::kFrames, true}, {"--video", eMode::kVideo, true},  {"--sheet", eMode::kSheet, true},
    {"--benchmark", eMode::kBenchmark, false}, {"--at", eMode::kSingle, false},
};

bool setMode(cCaptureOptions& options, eMode mode, const std::string& name, std::string& error)
{
    if (options.mode != eMode::kNone && options.mode != mode) {
        error = "choose one of --frames, --video, --at, --sheet and --benchmark (" + name + " is a second)";
        return false;
    }
    options.mode = mode;
    return true;
}

bool readOption(const std::vector<std::string>& args, size_t& i, cCaptureOptions& options, std::string& error)
{
    const std::string& name = args[i];
    const bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : "";
    for (const cModeOption& mode : kModes) {
        if (name == mode.name) {
            if (!setMode(options, mode.mode, name, error)) {
                return false;
            }
            if (!mode.takesPath) {
                if (mode.mode == eMode::kSingle) {
                    break;  // its time is read below
                }
                return true;
            }
            if (!hasValue) {
                error = name + " needs a path";
                return false;
            }
            options.output = value;
            ++i;
            return true;
        }
    }
    for (const cIntOption& option : kIntOptions) {
        if (name == option.name) {
            int32_t number = 0;
            if (!hasValue || !toInt(value, number)) {
                error = name + " needs a whole number";
                return false;
            }
            if (number < option.minimum || number > option.maximum) {
                error = name + " " + value + " is outside " + std::to_string(option.minimum) + ".." +
                        std::to_string(option.maximum);
                return false;
            }
            options.*option.field = number;
            ++i;
            return true;
        }
    }
    if (name == "-o" || name == "--run-dir" || name == "--json") {
        if (!hasValue) {
            error = name + " needs a path";
            return false;
        }
        (name == "-o" ? options.output : name == "--run-dir" ? options.runDir : options.jsonFile) = value;
        ++i;
        return true;
    }
    if (name == "--hud") {
        options.hud = true;
        return true;
    }
    if (name == "--help" || name == "-h") {
        options.help = true;
        return true;
    }
    error = "unknown option " + name + " (--help lists them)";
    return false;
}

bool writableDirectory(const fs::path& dir)
{
    return fs::is_directory(dir) && access(dir.c_str(), W_OK) == 0;
}

} // namespace

bool parseCaptureOptions(const std::vector<std::string>& args, cCaptureOptions& options, std::string& error)
{
    for (size_t i = 0; i < args.size(); ++i) {
        if (!readOption(args, i, options, error)) {
            return false;
        }
    }
    if (options.help) {
        return true;
    }
    if (options.mode == eMode::kNone) {
        error = "nothing to do: give --frames DIR, --video FILE.mp4, --at MS -o FILE.png, --sheet FILE.png or --benchmark";
        return false;
    }
    if (options.mode == eMode::kSingle && options.output.empty()) {
        error = "--at needs -o FILE.png";
        return false;
    }
    if (options.fromMs >= options.toMs) {
        error = "--from " + std::to_string(options.fromMs) + " is not before --to " + std::to_string(options.toMs);
        return false;
    }
    if (!options.jsonFile.empty() && options.mode != eMode::kBenchmark) {
        error = "--json goes with --benchmark";
        return false;
    }
    return true;
}

bool checkCaptureEnvironment(cCaptureOptions& options, std::string& error)
{
    const fs::path run = fs::absolute(options.runDir);
    if (!fs::exists(run / "Assets/Data/resources.dat")) {
        error = options.runDir + " is not a run directory (no Assets/Data/resources.dat)";
        return false;
    }
    options.runDir = run.string();
    for (std::string* path : {&options.output, &options.jsonFile}) {
        if (path->empty()) {
            continue;
        }
        const fs::path absolute = fs::absolute(*path);
        std::error_code ignored;
        if (options.mode == eMode::kFrames && path == &options.output) {
            fs::create_directories(absolute, ignored);
            if (!writableDirectory(absolute)) {
                error = "cannot write frames into " + *path;
                return false;
            }
        } else if (fs::is_directory(absolute) || !writableDirectory(absolute.parent_path())) {
            error = "cannot write " + *path;
            return false;
        }
        *path = absolute.string();
    }
    if (options.mode == eMode::kVideo &&
        std::system("command -v ffmpeg >/dev/null 2>&1") != 0) {
        error = "--video needs ffmpeg, which is not installed (Debian package ffmpeg)";
        return false;
    }
    return true;
}

const char* captureUsage()
{
    return "usage: quorvane-capture [--run-dir DIR] [--fps N] [--from MS] [--to MS] [--scale N] [--hud] MODE\n"
           "modes:\n"
           "  --frames DIR         every frame as DIR/frame_NNNNN.png\n"
           "  --video FILE.mp4     H.264 video with the music (needs ffmpeg)\n"
           "  --at MS -o FILE.png  the one frame at demo time MS\n"
           "  --sheet FILE.png     thumbnails every --every S seconds (default 10), labelled\n"
           "  --benchmark          render as fast as possible; per-segment figures (--json FILE)\n"
           "  --hud                over any mode: demo time, scene, frame cost and progress\n"
           "defaults: --run-dir . --fps 30 --from 0 --to 184000 --scale 1\n";
}

} // namespace capture
