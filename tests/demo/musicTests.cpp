// The music back end: it plays a real MP3 through SDL2_mixer, and every failure leaves one line on
// standard error and a silent, running show. Each case runs in a child process of its own, since
// the audio device is opened once per process.
#include "demo/music.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace demo;

namespace {

// Starts the music under an audio driver and exits with 0 when it plays, 3 when it does not.
void playWith(const char* driver, const char* path)
{
    setenv("SDL_AUDIODRIVER", driver, 1);
    startMusic(path);
    startMusic(path);  // a second start neither retries nor restarts
    std::fflush(stderr);
    std::exit(isMusicPlaying() ? 0 : 3);
}

} // namespace

TEST(MusicDeathTest, TheSoundtrackPlaysOnADevice)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(playWith("dummy", QVR_RUN_DIR "/tideglass.mp3"), ::testing::ExitedWithCode(0), "^$");
}

TEST(MusicDeathTest, FailuresLeaveOneLineAndSilence)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(playWith("dummy", "no-such-file.mp3"), ::testing::ExitedWithCode(3),
                "^music: cannot play no-such-file.mp3 \\([^\n]*\\); the show runs silently\n$");
    EXPECT_EXIT(playWith("dummy", QVR_RUN_DIR "/Assets/Data/resources.dat"), ::testing::ExitedWithCode(3),
                "^music: cannot play [^\n]*resources.dat [^\n]*silently\n$");
    EXPECT_EXIT(playWith("no-such-driver", QVR_RUN_DIR "/tideglass.mp3"), ::testing::ExitedWithCode(3),
                "^music: no audio [^\n]*silently\n$");
}
