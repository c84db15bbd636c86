// Synthesizer building blocks for the soundtrack: oscillators, envelopes, filters, effects and a
// loudness meter. Each piece processes one sample at a time at a fixed sample rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvr::sound {

constexpr float kSampleRate = 44100.0f;
constexpr float kPi = 3.14159265358979f;

//! Waveforms of cOscillator.
enum class eWave { sine, saw, square, triangle };

//! A band-limited oscillator (polyBLEP for the edges of saw and square).
class cOscillator {
public:
    cOscillator(eWave wave, float frequency, float phase = 0.0f) : mWave(wave), mFrequency(frequency), mPhase(phase) {}
    void setFrequency(float frequency) { mFrequency = frequency; }
    //! The next sample, -1..1.
    float next();

private:
    eWave mWave;
    float mFrequency;
    float mPhase;  // 0..1
};

//! White noise from a fixed-seed generator: the same sequence on every run.
class cNoise {
public:
    explicit cNoise(uint32_t seed) : mState(seed) {}
    float next()
    {
        mState = mState * 1664525u + 1013904223u;
        return static_cast<float>(mState >> 8) / 8388608.0f - 1.0f;
    }

private:
    uint32_t mState;
};

//! Attack-decay-sustain-release envelope over a note of known length (times in seconds).
class cEnvelope {
public:
    cEnvelope(float attack, float decay, float sustain, float release)
        : mAttack(attack), mDecay(decay), mSustain(sustain), mRelease(release) {}
    //! The level at time t after the note began, for a note held for `held` seconds.
    float at(float t, float held) const;
    float release() const { return mRelease; }

private:
    float mAttack, mDecay, mSustain, mRelease;
};

//! Second-order filter (RBJ cookbook), direct form I.
class cBiquad {
public:
    static cBiquad lowpass(float frequency, float q);
    static cBiquad highpass(float frequency, float q);
    static cBiquad bandpass(float frequency, float q);
    //! High shelf of gain dB (for the loudness meter's K-weighting).
    static cBiquad highShelf(float frequency, float q, float gainDb);
    //! Changes a lowpass filter's cutoff without resetting its state.
    void setLowpass(float frequency, float q);
    float process(float x);
    //! Magnitude response at a frequency, in dB.
    float responseDb(float frequency) const;

private:
    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

//! A stereo buffer of float samples.
struct cStereo {
    std::vector<float> left;
    std::vector<float> right;
    explicit cStereo(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    //! Adds other scaled by gain.
    void mix(const cStereo& other, float gain);
};

//! Ping-pong delay of a fixed time with feedback and a darkening filter in the loop.
void pingPongDelay(cStereo& buffer, float seconds, float feedback, float wet);

//! A small Schroeder-style reverb (parallel combs into series all-passes), stereo spread.
cStereo reverb(const cStereo& input, float roomSize, float damping);

//! Loudness of stereo audio (ITU-R BS.1770, K-weighted): integrated with gating, in LUFS.
float integratedLoudness(const cStereo& audio);
//! Mean-square loudness (K-weighted, ungated) of frames [begin, end), in LUFS.
float windowLoudness(const cStereo& audio, size_t begin, size_t end);

//! Scales to the target integrated loudness, then limits peaks to ceiling (linear) with a
//! look-ahead gain envelope.
void master(cStereo& audio, float targetLufs, float ceiling);

} // namespace qvr::sound
