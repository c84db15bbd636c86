// Synthesizer building blocks.
#include "content/soundtrack/synth.h"

#include <algorithm>
#include <cmath>

namespace qvr::sound {

namespace {

// Smooths a step of the naive waveform at phase t (phase increment dt).
float polyBlep(float t, float dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

} // namespace

float cOscillator::next()
{
    const float dt = mFrequency / kSampleRate;
    float value = 0.0f;
    switch (mWave) {
    case eWave::sine:
        value = std::sin(2.0f * kPi * mPhase);
        break;
    case eWave::saw:
        value = 2.0f * mPhase - 1.0f - polyBlep(mPhase, dt);
        break;
    case eWave::square: {
        value = mPhase < 0.5f ? 1.0f : -1.0f;
        value += polyBlep(mPhase, dt);
        float shifted = mPhase + 0.5f;
        shifted -= std::floor(shifted);
        value -= polyBlep(shifted, dt);
        break;
    }
    case eWave::triangle:
        value = 1.0f - 4.0f * std::fabs(mPhase - 0.5f);
        break;
    }
    mPhase += dt;
    mPhase -= std::floor(mPhase);
    return value;
}

float cEnvelope::at(float t, float held) const
{
    const auto holding = [&](float time) {
        if (time < mAttack) {
            return time / mAttack;
        }
        if (time < mAttack + mDecay) {
            return 1.0f - (1.0f - mSustain) * (time - mAttack) / mDecay;
        }
        return mSustain;
    };
    if (t < 0.0f) {
        return 0.0f;
    }
    if (t < held) {
        return holding(t);
    }
    const float fromLevel = holding(held);
    const float r = (t - held) / mRelease;
    return r >= 1.0f ? 0.0f : fromLevel * (1.0f - r) * (1.0f - r);
}

cBiquad cBiquad::lowpass(float frequency, float q)
{
    cBiquad f;
    f.setLowpass(frequency, q);
    return f;
}

void cBiquad::setLowpass(float frequency, float q)
{
    const float w = 2 * kPi * std::min(frequency, kSampleRate * 0.45f) / kSampleRate;
    const float alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
    b0 = (1 - c) / 2 / a0;
    b1 = (1 - c) / a0;
    b2 = b0;
    a1 = -2 * c / a0;
    a2 = (1 - alpha) / a0;
}

cBiquad cBiquad::highpass(float frequency, float q)
{
    cBiquad f;
    const float w = 2 * kPi * frequency / kSampleRate;
    const float alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
    f.b0 = (1 + c) / 2 / a0;
    f.b1 = -(1 + c) / a0;
    f.b2 = f.b0;
    f.a1 = -2 * c / a0;
    f.a2 = (1 - alpha) / a0;
    return f;
}

cBiquad cBiquad::bandpass(float frequency, float q)
{
    cBiquad f;
    const float w = 2 * kPi * frequency / kSampleRate;
    const float alpha = std::sin(w) / (2 * q), c = std::cos(w), a0 = 1 + alpha;
    f.b0 = alpha / a0;
    f.b1 = 0;
    f.b2 = -alpha / a0;
    f.a1 = -2 * c / a0;
    f.a2 = (1 - alpha) / a0;
    return f;
}

cBiquad cBiquad::highShelf(float frequency, float q, float gainDb)
{
    cBiquad f;
    const float a = std::pow(10.0f, gainDb / 40.0f);
    const float w = 2 * kPi * frequency / kSampleRate;
    const float alpha = std::sin(w) / (2 * q), c = std::cos(w), s = 2 * std::sqrt(a) * alpha;
    const float a0 = (a + 1) - (a - 1) * c + s;
    f.b0 = a * ((a + 1) + (a - 1) * c + s) / a0;
    f.b1 = -2 * a * ((a - 1) + (a + 1) * c) / a0;
    f.b2 = a * ((a + 1) + (a - 1) * c - s) / a0;
    f.a1 = 2 * ((a - 1) - (a + 1) * c) / a0;
    f.a2 = ((a + 1) - (a - 1) * c - s) / a0;
    return f;
}

float cBiquad::process(float x)
{
    const float y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

float cBiquad::responseDb(float frequency) const
{
    const double w = 2 * 3.14159265358979 * frequency / kSampleRate;
    const double cr = std::cos(w), ci = -std::sin(w), c2r = std::cos(2 * w), c2i = -std::sin(2 * w);
    const double nr = b0 + b1 * cr + b2 * c2r, ni = b1 * ci + b2 * c2i;
    const double dr = 1 + a1 * cr + a2 * c2r, di = a1 * ci + a2 * c2i;
    return static_cast<float>(10 * std::log10((nr * nr + ni * ni) / (dr * dr + di * di)));
}

void cStereo::mix(const cStereo& other, float gain)
{
    const size_t n = std::min(frames(), other.frames());
    for (size_t i = 0; i < n; ++i) {
        left[i] += other.left[i] * gain;
        right[i] += other.right[i] * gain;
    }
}

void pingPongDelay(cStereo& buffer, float seconds, float feedback, float wet)
{
    const size_t delay = static_cast<size_t>(seconds * kSampleRate);
    std::vector<float> lineL(delay, 0.0f), lineR(delay, 0.0f);
    cBiquad toneL = cBiquad::lowpass(3500, 0.7f), toneR = cBiquad::lowpass(3500, 0.7f);
    size_t at = 0;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float outL = lineL[at], outR = lineR[at];
        // Each side feeds the other: echoes alternate left and right.
        lineL[at] = toneL.process(buffer.left[i] + outR * feedback);
        lineR[at] = toneR.process(outL * feedback);
        buffer.left[i] += outL * wet;
        buffer.right[i] += outR * wet;
        at = (at + 1) % delay;
    }
}

namespace {

class cComb {
public:
    explicit cComb(size_t length) : mLine(length, 0.0f) {}
    float process(float x, float feedback, float damping)
    {
        const float y = mLine[mAt];
        mStore = y * (1 - damping) + mStore * damping;
        mLine[mAt] = x + mStore * feedback;
        mAt = (mAt + 1) % mLine.size();
        return y;
    }

private:
    std::vector<float> mLine;
    size_t mAt = 0;
    float mStore = 0.0f;
};

class cAllPass {
public:
    explicit cAllPass(size_t length) : mLine(length, 0.0f) {}
    float process(float x)
    {
        const float delayed = mLine[mAt];
        const float y = delayed - x;
        mLine[mAt] = x + delayed * 0.5f;
        mAt = (mAt + 1) % mLine.size();
        return y;
    }

private:
    std::vector<float> mLine;
    size_t mAt = 0;
};

// One reverb channel; spread offsets the delay lines of the right channel.
std::vector<float> reverbChannel(const std::vector<float>& in, float roomSize, float damping, size_t spread)
{
    const size_t combLengths[] = {1116, 1188, 1277, 1356, 1422, 1491};
    const size_t allPassLengths[] = {556, 441, 341};
    std::vector<cComb> combs;
    for (size_t l : combLengths) {
        combs.emplace_back(l + spread);
    }
    std::vector<cAllPass> allPasses;
    for (size_t l : allPassLengths) {
        allPasses.emplace_back(l + spread);
    }
    std::vector<float> out(in.size(), 0.0f);
    for (size_t i = 0; i < in.size(); ++i) {
        float sum = 0.0f;
        for (cComb& comb : combs) {
            sum += comb.process(in[i] * 0.05f, roomSize, damping);
        }
        for (cAllPass& allPass : allPasses) {
            sum = allPass.process(sum);
        }
        out[i] = sum;
    }
    return out;
}

// K-weighted mean square of each 100 ms step, both channels summed.
std::vector<double> weightedPower(const cStereo& audio)
{
    std::vector<double> power(audio.frames(), 0.0);
    for (const std::vector<float>* channel : {&audio.left, &audio.right}) {
        cBiquad shelf = cBiquad::highShelf(1681.97f, 0.7071f, 4.0f);
        cBiquad high = cBiquad::highpass(38.13f, 0.5003f);
        for (size_t i = 0; i < channel->size(); ++i) {
            const double y = high.process(shelf.process((*channel)[i]));
            power[i] += y * y;
        }
    }
    return power;
}

double toLufs(double meanSquare)
{
    return -0.691 + 10.0 * std::log10(std::max(meanSquare, 1e-12));
}

} // namespace

cStereo reverb(const cStereo& input, float roomSize, float damping)
{
    cStereo out;
    out.left = reverbChannel(input.left, roomSize, damping, 0);
    out.right = reverbChannel(input.right, roomSize, damping, 23);
    return out;
}

float windowLoudness(const cStereo& audio, size_t begin, size_t end)
{
    // The weighting filters settle within 0.2 s: start them that much early.
    end = std::min(end, audio.frames());
    const size_t warm = std::min(begin, static_cast<size_t>(0.2f * kSampleRate));
    cStereo slice(end > begin ? end - begin + warm : 0);
    for (size_t i = 0; i < slice.frames(); ++i) {
        slice.left[i] = audio.left[begin - warm + i];
        slice.right[i] = audio.right[begin - warm + i];
    }
    const std::vector<double> power = weightedPower(slice);
    double sum = 0.0;
    for (size_t i = warm; i < power.size(); ++i) {
        sum += power[i];
    }
    return static_cast<float>(toLufs(end > begin ? sum / static_cast<double>(end - begin) : 0.0));
}

float integratedLoudness(const cStereo& audio)
{
    const std::vector<double> power = weightedPower(audio);
    const size_t block = static_cast<size_t>(0.4f * kSampleRate), step = block / 4;
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= power.size(); start += step) {
        double sum = 0.0;
        for (size_t i = start; i < start + block; ++i) {
            sum += power[i];
        }
        blocks.push_back(sum / static_cast<double>(block));
    }
    const auto gatedMean = [&](double threshold) {
        double sum = 0.0;
        size_t count = 0;
        for (double b : blocks) {
            if (toLufs(b) > threshold) {
                sum += b;
                ++count;
            }
        }
        return count ? sum / static_cast<double>(count) : 0.0;
    };
    const double relative = toLufs(gatedMean(-70.0)) - 10.0;
    return static_cast<float>(toLufs(gatedMean(std::max(relative, -70.0))));
}

void master(cStereo& audio, float targetLufs, float ceiling)
{
    const float gain = std::pow(10.0f, (targetLufs - integratedLoudness(audio)) / 20.0f);
    const size_t n = audio.frames();
    std::vector<float> needed(n, 1.0f);
    for (size_t i = 0; i < n; ++i) {
        const float peak = std::max(std::fabs(audio.left[i]), std::fabs(audio.right[i])) * gain;
        needed[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // Look ahead 5 ms: the gain is down before a peak arrives, then recovers over ~80 ms.
    const size_t lookAhead = static_cast<size_t>(0.005f * kSampleRate);
    std::vector<float> envelope(n, 1.0f);
    float current = 1.0f;
    const float recover = 1.0f / (0.08f * kSampleRate);
    for (size_t i = n; i-- > 0;) {
        // Backwards: the minimum of the gain needed over the next look-ahead window.
        const float want = needed[i];
        current = std::min(want, current + 1.0f / static_cast<float>(lookAhead));
        envelope[i] = current;
    }
    current = 1.0f;
    for (size_t i = 0; i < n; ++i) {
        current = std::min(envelope[i], current + recover);
        const float g = gain * current;
        audio.left[i] = std::clamp(audio.left[i] * g, -ceiling, ceiling);
        audio.right[i] = std::clamp(audio.right[i] * g, -ceiling, ceiling);
    }
}

} // namespace qvr::sound
