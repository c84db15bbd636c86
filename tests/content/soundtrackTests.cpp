// The soundtrack: the synthesizer's pieces on their own, and the encoded piece decoded with the
// library the demo plays it with.
#include "content/soundtrack/instruments.h"
#include "content/soundtrack/score.h"
#include "tests/support/testSupport.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace qvr::sound;
using qvr::test::cScratchDir;
using qvr::test::readFile;

namespace {

const std::string kMp3 = std::string(QVR_RUN_DIR) + "/tideglass.mp3";

// Upward zero crossings in one second of an oscillator: its frequency.
int crossingsPerSecond(cOscillator oscillator)
{
    int crossings = 0;
    float previous = oscillator.next();
    for (int i = 1; i < 44100; ++i) {
        const float v = oscillator.next();
        crossings += previous < 0.0f && v >= 0.0f;
        previous = v;
    }
    return crossings;
}

cStereo sine(float frequency, float amplitude, float seconds)
{
    cStereo out(static_cast<size_t>(seconds * kSampleRate));
    cOscillator osc(eWave::sine, frequency);
    for (size_t i = 0; i < out.frames(); ++i) {
        out.left[i] = out.right[i] = osc.next() * amplitude;
    }
    return out;
}

// The decoded piece as float stereo at 44.1 kHz.
class DecodedPiece : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 4096), 0) << Mix_GetError();
        Mix_Chunk* chunk = Mix_LoadWAV(kMp3.c_str());
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const auto* samples = reinterpret_cast<const int16_t*>(chunk->abuf);
        const size_t frames = chunk->alen / 4;
        sAudio = new cStereo(frames);
        for (size_t i = 0; i < frames; ++i) {
            sAudio->left[i] = samples[2 * i] / 32768.0f;
            sAudio->right[i] = samples[2 * i + 1] / 32768.0f;
            sPeak = std::max({sPeak, std::abs(static_cast<int>(samples[2 * i])), std::abs(static_cast<int>(samples[2 * i + 1]))});
        }
        Mix_FreeChunk(chunk);
        Mix_CloseAudio();
        SDL_Quit();
    }
    static void TearDownTestSuite() { delete sAudio; }

    static cStereo* sAudio;
    static int sPeak;
};

cStereo* DecodedPiece::sAudio = nullptr;
int DecodedPiece::sPeak = 0;

} // namespace

TEST(Synth, OscillatorsRunAtTheirFrequency)
{
    EXPECT_NEAR(crossingsPerSecond(cOscillator(eWave::sine, 440.0f)), 440, 1);
    EXPECT_NEAR(crossingsPerSecond(cOscillator(eWave::saw, 110.0f, 0.25f)), 110, 1);
    EXPECT_NEAR(crossingsPerSecond(cOscillator(eWave::square, 55.0f, 0.25f)), 55, 1);
    EXPECT_NEAR(noteFrequency(69), 440.0f, 1e-3f);
    EXPECT_NEAR(noteFrequency(57), 220.0f, 1e-3f);
}

TEST(Synth, EnvelopeFollowsItsStages)
{
    const cEnvelope env(0.1f, 0.2f, 0.5f, 0.4f);
    EXPECT_FLOAT_EQ(env.at(-0.01f, 1.0f), 0.0f);
    EXPECT_NEAR(env.at(0.05f, 1.0f), 0.5f, 1e-5f);
    EXPECT_NEAR(env.at(0.1f, 1.0f), 1.0f, 1e-5f);
    EXPECT_NEAR(env.at(0.2f, 1.0f), 0.75f, 1e-5f);
    EXPECT_NEAR(env.at(0.5f, 1.0f), 0.5f, 1e-5f);
    EXPECT_LT(env.at(1.2f, 1.0f), 0.5f);
    EXPECT_NEAR(env.at(1.4f, 1.0f), 0.0f, 1e-6f);
    EXPECT_EQ(env.at(1.5f, 1.0f), 0.0f);
    // Released during the attack: falls from where it was.
    EXPECT_LT(env.at(0.06f, 0.05f), 0.5f);
}

TEST(Synth, LowpassPassesLowsAndCutsHighs)
{
    cBiquad filter = cBiquad::lowpass(1000.0f, 0.7071f);
    EXPECT_NEAR(filter.responseDb(100.0f), 0.0f, 0.1f);
    EXPECT_NEAR(filter.responseDb(1000.0f), -3.01f, 0.1f);
    EXPECT_LT(filter.responseDb(10000.0f), -35.0f);
    // The processed signal agrees with the response.
    cOscillator osc(eWave::sine, 4000.0f);
    float peak = 0.0f;
    for (int i = 0; i < 44100; ++i) {
        const float y = filter.process(osc.next());
        if (i > 4410) {
            peak = std::max(peak, std::fabs(y));
        }
    }
    EXPECT_NEAR(20 * std::log10(peak), filter.responseDb(4000.0f), 0.3f);
}

TEST(Synth, LoudnessMeterReadsASineAsBroadcastersDo)
{
    // A 997 Hz sine at -20 dBFS in both channels reads -20 LUFS.
    const cStereo tone = sine(997.0f, 0.1f, 5.0f);
    EXPECT_NEAR(integratedLoudness(tone), -20.0f, 0.3f);
    EXPECT_NEAR(windowLoudness(tone, 44100, 88200), -20.0f, 0.3f);
    cStereo loud = sine(997.0f, 0.5f, 3.0f);
    master(loud, -14.0f, 0.5f);
    float peak = 0.0f;
    for (float v : loud.left) {
        peak = std::max(peak, std::fabs(v));
    }
    EXPECT_LE(peak, 0.5f);
}

TEST_F(DecodedPiece, IsAStereo44kPieceOf184Seconds)
{
    const std::string bytes = readFile(kMp3);
    ASSERT_GT(bytes.size(), 4u);
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    ASSERT_EQ(b[0], 0xFF);
    EXPECT_EQ(b[1] & 0xFE, 0xFA);         // MPEG-1 layer III
    EXPECT_EQ((b[2] >> 2) & 3, 0);        // 44100 Hz
    EXPECT_NE(b[3] >> 6, 3);              // not mono
    const double seconds = static_cast<double>(sAudio->frames()) / 44100.0;
    EXPECT_GE(seconds, 184.0);
    EXPECT_LE(seconds, 186.0);
    EXPECT_LT(sPeak, 32767);
    EXPECT_LE(sPeak, 32768 * 0.8913);     // at or below -1 dBFS after decoding
    EXPECT_NEAR(integratedLoudness(*sAudio), -14.0f, 1.0f);
}

TEST_F(DecodedPiece, LoudnessChangesAtEveryCut)
{
    const auto frame = [](float t) { return static_cast<size_t>(t * 44100.0f); };
    for (float cut : sectionStarts()) {
        if (cut <= 0.0f) {
            continue;
        }
        SCOPED_TRACE(cut);
        const float before = windowLoudness(*sAudio, frame(cut - 0.9f), frame(cut - 0.1f));
        const float after = windowLoudness(*sAudio, frame(cut + 0.1f), frame(cut + 0.9f));
        EXPECT_GE(std::fabs(after - before), 2.0f) << "before " << before << " after " << after;
    }
    // And it ends: the last second is silent.
    EXPECT_LT(windowLoudness(*sAudio, frame(184.1f), frame(185.0f)), -60.0f);
}

TEST(Soundtrack, EncodesTheSameBytesOnEveryRun)
{
    cScratchDir dir;
    const std::string again = dir.file("again.mp3");
    ASSERT_EQ(std::system((std::string(QVR_SOUNDTRACK_BIN) + " " + again + " > /dev/null").c_str()), 0);
    EXPECT_TRUE(readFile(again) == readFile(kMp3));
}
