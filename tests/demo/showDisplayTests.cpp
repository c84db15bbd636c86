// The real program plays the whole show from its run directory: the fullscreen question answered
// on the test X server, the sound captured by SDL's disk audio driver, GL errors checked every
// frame. Beside it runs a second show without "tideglass.mp3" on SDL's offscreen driver, which must
// be silent and end the same way.
#include "tests/support/childProcess.h"
#include "tests/support/testSupport.h"
#include "tests/support/xSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <vector>


using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

// The demo program as a child process in a run directory, with extra environment variables.
class cShowRun {
public:
    cShowRun(const std::string& runDir, const std::map<std::string, std::string>& environment,
             bool withDisplay, const std::string& outputPrefix)
        : mOut(outputPrefix + ".out"), mErr(outputPrefix + ".err"),
          mChild({QVR_DEMO_BIN, runDir, environment, withDisplay, mOut, mErr})
    {
    }

    int wait(std::chrono::seconds timeout) { return mChild.wait(timeout); }
    std::string output() const { return qvr::test::readFile(mOut); }
    std::string errors() const { return qvr::test::readFile(mErr); }
    double seconds() const { return mChild.seconds(); }

private:
    std::string mOut;
    std::string mErr;
    qvr::test::cChildProcess mChild;
};

// The number after a label in the program's output; -1 when the label is missing.
long valueAfter(const std::string& text, const std::string& label)
{
    const size_t at = text.find(label);
    return at == std::string::npos ? -1 : std::atol(text.c_str() + at + label.size());
}

struct cAudio {
    size_t frames = 0;
    int peak = 0;
    //! First stereo frame with a sample away from zero; -1 when all are silent.
    long firstSound = -1;
};

// Signed 16-bit stereo at 44100 Hz, as the mixer opens the device.
cAudio readAudio(const std::string& path)
{
    cAudio audio;
    std::ifstream in(path, std::ios::binary);
    std::vector<int16_t> block(4096);
    while (in.read(reinterpret_cast<char*>(block.data()), block.size() * 2) || in.gcount() > 0) {
        const size_t samples = static_cast<size_t>(in.gcount()) / 2;
        for (size_t i = 0; i < samples; ++i) {
            const int value = std::abs(static_cast<int>(block[i]));
            if (value > 0 && audio.firstSound < 0) {
                audio.firstSound = static_cast<long>(audio.frames + i / 2);
            }
            audio.peak = std::max(audio.peak, value);
        }
        audio.frames += samples / 2;
    }
    return audio;
}

// A copy of the run directory made of links to its entries, without the music file.
void linkRunDirWithoutMusic(const std::string& target)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(QVR_RUN_DIR)) {
        if (entry.path().filename() != "tideglass.mp3") {
            fs::create_symlink(entry.path(), fs::path(target) / entry.path().filename());
        }
    }
}

void expectCleanOutput(const std::string& out, const std::string& err)
{
    for (const char* failure : {"frag prog fail", "vert prog fail", "GL error", "Crash"}) {
        EXPECT_EQ(out.find(failure), std::string::npos) << failure << "\n" << out.substr(0, 2000);
        EXPECT_EQ(err.find(failure), std::string::npos) << failure << "\n" << err.substr(0, 2000);
    }
}

} // namespace

TEST(Show, TheWholeShowPlaysWithItsMusicAndEndsBySelf)
{
    qvr::test::cScratchDir scratch;
    const std::string silentDir = scratch.file("silent");
    fs::create_directory(silentDir);
    linkRunDirWithoutMusic(silentDir);

    cShowRun silent(silentDir,
                    {{"SDL_VIDEODRIVER", "offscreen"}, {"SDL_AUDIODRIVER", "disk"},
                     {"SDL_DISKAUDIOFILE", scratch.file("silent.raw")}, {"QVR_DEBUG_FRAMES", "1"}},
                    false, scratch.file("silent"));
    cShowRun show(QVR_RUN_DIR,
                  {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", scratch.file("show.raw")},
                   {"QVR_DEBUG_FRAMES", "1"}},
                  true, scratch.file("show"));
    ASSERT_TRUE(qvr::test::answerFullscreenQuestion("Escape")) << show.errors();

    ASSERT_EQ(show.wait(280s), 0) << show.errors() << show.output().substr(0, 3000);
    const std::string out = show.output();
    std::printf("%s", out.substr(out.find("segment from")).c_str());
    std::printf("wall time of the run: %.1f s\n", show.seconds());
    const long firstFrame = valueAfter(out, "first frame at ");
    const long end = valueAfter(out, "show ends at ");
    const long music = valueAfter(out, "music requested at ");
    ASSERT_GE(firstFrame, 0) << out;
    ASSERT_GE(end, 0) << out;
    EXPECT_GE(end - firstFrame, 184000);
    EXPECT_LE(end - firstFrame, 200000);
    expectCleanOutput(out, show.errors());

    // The device opens just before the music is requested; the sound must begin within half a
    // second of the first frame.
    const cAudio audio = readAudio(scratch.file("show.raw"));
    ASSERT_GE(audio.firstSound, 0) << "the captured sound is silent";
    EXPECT_GT(audio.peak, 3000);
    const double soundStartMs = static_cast<double>(music) + audio.firstSound * 1000.0 / 44100.0;
    EXPECT_LT(std::fabs(soundStartMs - static_cast<double>(firstFrame)), 500.0);
    EXPECT_GT(audio.frames, 180u * 44100u);

    ASSERT_EQ(silent.wait(60s), 0) << silent.errors();
    const std::string silentErr = silent.errors();
    EXPECT_NE(silentErr.find("music: cannot play tideglass.mp3"), std::string::npos) << silentErr;
    size_t musicLines = 0;
    for (size_t at = silentErr.find("music:"); at != std::string::npos; at = silentErr.find("music:", at + 1)) {
        ++musicLines;
    }
    EXPECT_EQ(musicLines, 1u);
    EXPECT_GE(valueAfter(silent.output(), "show ends at ") - valueAfter(silent.output(), "first frame at "), 184000);
    expectCleanOutput(silent.output(), silentErr);
    const cAudio quiet = readAudio(scratch.file("silent.raw"));
    EXPECT_EQ(quiet.peak, 0);
}
