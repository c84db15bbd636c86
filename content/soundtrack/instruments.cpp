// The soundtrack's instruments.
#include "content/soundtrack/instruments.h"

#include <cmath>

namespace qvr::sound {

namespace {

// Writes `seconds` of mono signal from voice(t) into the bus at the note's start and pan.
template <typename Voice>
void render(cStereo& bus, const cNote& note, float seconds, Voice voice)
{
    const long first = std::lround(note.start * kSampleRate);
    const long count = std::lround(seconds * kSampleRate);
    const float left = std::cos((note.pan + 1.0f) * kPi / 4), right = std::sin((note.pan + 1.0f) * kPi / 4);
    for (long i = 0; i < count; ++i) {
        const long at = first + i;
        if (at < 0 || static_cast<size_t>(at) >= bus.frames()) {
            continue;
        }
        const float v = voice(static_cast<float>(i) / kSampleRate) * note.velocity;
        bus.left[static_cast<size_t>(at)] += v * left;
        bus.right[static_cast<size_t>(at)] += v * right;
    }
}

uint32_t seedOf(const cNote& note)
{
    return static_cast<uint32_t>(note.start * 1000.0f) * 2654435761u + static_cast<uint32_t>(note.midi);
}

} // namespace

float noteFrequency(float midi)
{
    return 440.0f * std::pow(2.0f, (midi - 69.0f) / 12.0f);
}

void kick(cStereo& bus, const cNote& note)
{
    float phase = 0.0f;
    cNoise click(seedOf(note));
    render(bus, note, 0.4f, [&](float t) {
        const float frequency = 46.0f + 120.0f * std::exp(-t * 30.0f);
        phase += frequency / kSampleRate;
        const float body = std::sin(2 * kPi * phase) * std::exp(-t * 6.5f);
        const float snap = click.next() * std::exp(-t * 400.0f) * 0.4f;
        return std::tanh(1.6f * (body + snap));
    });
}

void snare(cStereo& bus, const cNote& note)
{
    cNoise noise(seedOf(note));
    cBiquad band = cBiquad::bandpass(1900.0f, 0.7f);
    cOscillator tone(eWave::sine, 185.0f);
    render(bus, note, 0.3f, [&](float t) {
        return band.process(noise.next()) * 1.6f * std::exp(-t * 16.0f) + tone.next() * 0.5f * std::exp(-t * 28.0f);
    });
}

void hat(cStereo& bus, const cNote& note)
{
    cNoise noise(seedOf(note));
    cBiquad high = cBiquad::highpass(7500.0f, 0.7f);
    const float decay = note.held > 0.1f ? 9.0f : 55.0f;
    render(bus, note, note.held > 0.1f ? 0.45f : 0.12f,
           [&](float t) { return high.process(noise.next()) * std::exp(-t * decay); });
}

void crash(cStereo& bus, const cNote& note)
{
    cNoise noise(seedOf(note));
    cBiquad high = cBiquad::highpass(4000.0f, 0.6f);
    render(bus, note, 1.6f, [&](float t) { return high.process(noise.next()) * 0.7f * std::exp(-t * 2.6f); });
}

void bass(cStereo& bus, const cNote& note)
{
    const float f = noteFrequency(note.midi);
    cOscillator saw(eWave::saw, f), sub(eWave::sine, f * 0.5f);
    cBiquad filter = cBiquad::lowpass(300.0f, 1.1f);
    const cEnvelope amp(0.004f, 0.12f, 0.75f, 0.05f);
    render(bus, note, note.held + amp.release(), [&](float t) {
        filter.setLowpass(220.0f + 1400.0f * std::exp(-t * 14.0f), 1.1f);
        return (filter.process(saw.next()) * 0.8f + sub.next() * 0.5f) * amp.at(t, note.held);
    });
}

void pad(cStereo& bus, const cNote& note)
{
    const float f = noteFrequency(note.midi);
    cOscillator a(eWave::saw, f * 0.997f), b(eWave::saw, f, 0.33f), c(eWave::saw, f * 1.003f, 0.66f);
    cBiquad filter = cBiquad::lowpass(1300.0f, 0.7f);
    const cEnvelope amp(0.35f, 0.6f, 0.8f, 0.12f);
    render(bus, note, note.held + amp.release(), [&](float t) {
        return filter.process((a.next() + b.next() + c.next()) / 3.0f) * amp.at(t, note.held);
    });
}

void pluck(cStereo& bus, const cNote& note)
{
    cOscillator square(eWave::square, noteFrequency(note.midi));
    cBiquad filter = cBiquad::lowpass(2600.0f, 0.9f);
    render(bus, note, 0.3f, [&](float t) {
        filter.setLowpass(600.0f + 3200.0f * std::exp(-t * 16.0f), 0.9f);
        return filter.process(square.next()) * std::exp(-t * 11.0f) * std::min(1.0f, t * 500.0f);
    });
}

void lead(cStereo& bus, const cNote& note)
{
    const float f = noteFrequency(note.midi);
    cOscillator saw(eWave::saw, f), vibrato(eWave::sine, 5.2f);
    cBiquad filter = cBiquad::lowpass(2800.0f, 1.4f);
    const cEnvelope amp(0.015f, 0.2f, 0.7f, 0.1f);
    render(bus, note, note.held + amp.release(), [&](float t) {
        saw.setFrequency(f * (1.0f + 0.004f * vibrato.next() * std::min(1.0f, t * 2.0f)));
        return filter.process(saw.next()) * amp.at(t, note.held);
    });
}

void bell(cStereo& bus, const cNote& note)
{
    const float f = noteFrequency(note.midi);
    float carrier = 0.0f, modulator = 0.0f;
    render(bus, note, std::min(note.held, 1.4f), [&](float t) {
        modulator += 3.5f * f / kSampleRate;
        const float index = 2.2f * std::exp(-t * 3.0f);
        carrier += f / kSampleRate;
        const float fade = note.held - t < 0.05f ? std::max(0.0f, (note.held - t) / 0.05f) : 1.0f;
        return std::sin(2 * kPi * carrier + index * std::sin(2 * kPi * modulator)) * std::exp(-t * 2.4f) * fade;
    });
}

} // namespace qvr::sound
