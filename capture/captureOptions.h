// The capture tool's command line: what to render (frames, video, one frame, a contact sheet, a
// benchmark), over which range, at which rate and size, and the checks made before any rendering.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

enum class eMode { kNone, kFrames, kVideo, kSingle, kSheet, kBenchmark };

struct cCaptureOptions {
    eMode mode = eMode::kNone;
    std::string runDir = ".";
    //! Frames directory, video file, single-frame file or sheet file (absolute once checked).
    std::string output;
    std::string jsonFile;
    int32_t fps = 30;
    int32_t fromMs = 0;
    int32_t toMs = 184000;
    int32_t atMs = -1;
    int32_t scale = 1;
    int32_t sheetEverySeconds = 10;
    //! Draws the heads-up display (time, scene, frame cost, progress) over the frames.
    bool hud = false;
    bool help = false;
};

//! Reads the arguments (without the program name). false with error set to a one-line message
//! on anything unknown, missing, malformed or out of range.
bool parseCaptureOptions(const std::vector<std::string>& args, cCaptureOptions& options, std::string& error);

//! The checks against the file system and the tools, made before rendering: the run directory,
//! the output's place, ffmpeg for video. Makes output paths absolute. false with error set.
bool checkCaptureEnvironment(cCaptureOptions& options, std::string& error);

//! The usage text.
const char* captureUsage();

} // namespace capture
