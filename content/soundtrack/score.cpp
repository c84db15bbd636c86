// The score of "tideglass" as data, and the arrangement rendered section by section. Every
// section starts its own bar grid at its start time, so each change lands exactly on its cut.
#include "content/soundtrack/score.h"

#include "content/soundtrack/instruments.h"

#include <cmath>
#include <cstring>

namespace qvr::sound {

namespace {

// Instruments of the arrangement.
enum eInstrument { kKick, kSnare, kHat, kOpenHat, kBass, kPad, kArp, kLead, kBell, kCrash, kCount };

//! One section: its span, the gain of every instrument (0: silent), and the drum patterns.
struct cSection {
    float start;
    float end;
    float gain[kCount];
    const char* kickSteps;   // 16 steps a bar, 'x' plays
    const char* snareSteps;
    const char* hatSteps;    // 'x' closed, 'o' open
    const char* bassSteps;   // 'x' plays the chord root
    int chordShift;          // rotates the progression
};

//     kick snare hat  open bass  pad  arp  lead bell crash
const cSection kSections[] = {
    {0.0f, 7.8f, {0, 0, 0, 0, 0, .55f, .25f, 0, 0, 0}, "", "", "", "", 0},                              // intro under the title
    {7.8f, 15.62f, {1, 0, 0, 0, .8f, .5f, .3f, 0, 0, .6f}, "x...x...x...x...", "", "", "..x...x...x...x.", 0},
    {15.62f, 39.0f, {1, .8f, .5f, 0, .9f, .45f, .35f, .4f, 0, .7f}, "x...x...x...x...", "....x.......x...",
     "..x...x...x...x.", "..x...x...x.x.x.", 0},                                                      // building
    {39.0f, 54.65f, {0, 0, .25f, 0, 0, .5f, 0, .3f, .6f, 0}, "", "", "x.x.x.x.x.x.x.x.", "", 2},       // airy
    {54.65f, 70.26f, {.85f, .7f, .5f, 0, .8f, 0, .3f, 0, 0, .8f}, "x...x...x...x...", "....x.......x...",
     "xxxxxxxxxxxxxxxx", "x.x.x.x.x.x.x.x.", 0},                                                      // driving
    {70.26f, 86.155f, {1.2f, 1.0f, .6f, .5f, 1.05f, .5f, .4f, .5f, 0, .9f}, "x...x...x...x...",
     "....x.......x.x.", "xxxxxxxxxxxxxxxx", "x.xxx.xxx.xxx.xx", 0},                                  // the lift
    {86.155f, 101.491f, {0, 0, 0, 0, 0, .3f, 0, 0, .55f, 0}, "", "", "", "", 1},                      // glassy breakdown
    {101.491f, 132.712f, {1, .6f, .5f, .3f, .9f, 0, .35f, 0, 0, .6f}, "x...x...x...x...", "....x.......x...",
     "..x...x...x...x.", "..x...x...x...x.", 0},                                                      // steady groove
    {132.712f, 163.924f, {1.45f, 1.2f, .7f, .6f, 1.25f, .6f, .5f, .65f, 0, 1}, "x...x...x...x...",
     "....x.......x...", "xxxxxxxxxxxxxxxx", "x.xxx.xxx.xxx.xx", 0},                                  // the peak
    {163.924f, 184.0f, {0, 0, 0, 0, .6f, .5f, 0, 0, .4f, .5f}, "", "", "", "x.......x.......", 3},   // finale
};

// A minor: Am F C G, as (root, triad) MIDI notes; the finale resolves onto A major.
struct cChord {
    int root;
    int triad[3];
};
const cChord kProgression[] = {{45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}}};
const cChord kResolution = {45, {57, 61, 64}};

// The lead line: scale steps of A minor per eighth note over four bars, -1 rests.
const int kLeadLine[32] = {12, -1, 14, 15, -1, 14, 12, -1, 9, -1, 12, 14, -1, 12, 10, -1,
                           7, -1, 10, 12, -1, 14, 15, -1, 14, -1, 12, 10, -1, 7, 9, -1};
const int kMinorScale[7] = {0, 2, 3, 5, 7, 8, 10};

int scaleNote(int step)
{
    return 57 + 12 * (step / 7) + kMinorScale[step % 7];
}

bool plays(const char* steps, int step, char mark = 'x')
{
    return std::strlen(steps) == 16 && steps[step % 16] == mark;
}

// The notes of one section onto the instrument buses.
void renderSection(const cSection& section, std::vector<cStereo>& buses, bool last)
{
    const float sixteenth = kBeat / 4;
    const int steps = static_cast<int>(std::ceil((section.end - section.start) / sixteenth - 1e-4f));
    for (int k = 0; k < steps; ++k) {
        const float t = section.start + k * sixteenth;
        const float left = section.end - t;  // notes never outlast their section
        const int bar = k / 16, step = k % 16;
        const bool resolving = last && bar >= 4;
        const cChord& chord = resolving ? kResolution : kProgression[(bar + section.chordShift) % 4];
        const auto note = [&](int instrument, float held, float midi, float pan, float accent = 1.0f) {
            cNote n;
            n.start = t;
            n.held = std::min(held, left);
            n.midi = midi;
            n.pan = pan;
            n.velocity = section.gain[instrument] * accent;
            return n;
        };
        if (section.gain[kKick] > 0 && plays(section.kickSteps, step)) {
            kick(buses[kKick], note(kKick, 0.3f, 0, 0));
        }
        if (section.gain[kSnare] > 0 && plays(section.snareSteps, step)) {
            snare(buses[kSnare], note(kSnare, 0.2f, 0, 0.1f));
        }
        if (section.gain[kHat] > 0 && plays(section.hatSteps, step)) {
            hat(buses[kHat], note(kHat, 0.05f, 0, 0.35f, step % 4 == 2 ? 1.0f : 0.6f));
        }
        if (section.gain[kOpenHat] > 0 && step % 4 == 2) {
            hat(buses[kHat], note(kOpenHat, 0.3f, 0, -0.3f));
        }
        if (section.gain[kBass] > 0 && plays(section.bassSteps, step)) {
            bass(buses[kBass], note(kBass, sixteenth * 1.6f, static_cast<float>(chord.root), 0));
        }
        if (section.gain[kPad] > 0 && step == 0) {
            for (int i = 0; i < 3; ++i) {
                pad(buses[kPad], note(kPad, kBeat * 4, static_cast<float>(chord.triad[i]), (i - 1) * 0.6f));
            }
        }
        if (section.gain[kArp] > 0) {
            const int tone = chord.triad[(k * 5 / 2) % 3] + 12 * ((k / 3) % 2 + 1);
            pluck(buses[kArp], note(kArp, sixteenth, static_cast<float>(tone), std::sin(k * 0.7f) * 0.6f));
        }
        if (section.gain[kLead] > 0 && step % 2 == 0) {
            const int degree = kLeadLine[(bar % 4) * 8 + step / 2];
            if (degree >= 0) {
                lead(buses[kLead], note(kLead, kBeat * 0.45f, static_cast<float>(scaleNote(degree)), -0.15f));
            }
        }
        if (section.gain[kBell] > 0 && step % 4 == 0) {
            const int tone = chord.triad[(k / 4) % 3] + 24;
            bell(buses[kBell], note(kBell, 1.4f, static_cast<float>(tone), ((k / 4) % 3 - 1) * 0.7f));
        }
        if (section.gain[kCrash] > 0 && k == 0) {
            crash(buses[kCrash], note(kCrash, 1.5f, 0, 0.2f));
        }
    }
}

} // namespace

const std::vector<float>& sectionStarts()
{
    static const std::vector<float> starts = [] {
        std::vector<float> s;
        for (const cSection& section : kSections) {
            s.push_back(section.start);
        }
        return s;
    }();
    return starts;
}

cStereo renderPiece()
{
    const size_t frames = static_cast<size_t>(kRenderSeconds * kSampleRate);
    std::vector<cStereo> buses(kCount, cStereo(frames));
    const size_t sections = sizeof(kSections) / sizeof(kSections[0]);
    for (size_t s = 0; s < sections; ++s) {
        renderSection(kSections[s], buses, s + 1 == sections);
    }
    // Mix: levels per bus, then the shared space (reverb) and the echoes of the melodic parts.
    const float levels[kCount] = {0.9f, 0.5f, 0.14f, 0.14f, 0.55f, 0.22f, 0.16f, 0.18f, 0.22f, 0.16f};
    pingPongDelay(buses[kArp], kBeat * 0.75f, 0.35f, 0.4f);
    pingPongDelay(buses[kLead], kBeat * 0.75f, 0.3f, 0.35f);
    pingPongDelay(buses[kBell], kBeat * 1.5f, 0.4f, 0.45f);
    cStereo mix(frames), send(frames);
    const float sends[kCount] = {0.05f, 0.25f, 0.1f, 0.1f, 0.0f, 0.6f, 0.35f, 0.4f, 0.8f, 0.2f};
    for (int i = 0; i < kCount; ++i) {
        mix.mix(buses[static_cast<size_t>(i)], levels[i]);
        send.mix(buses[static_cast<size_t>(i)], levels[i] * sends[i]);
    }
    mix.mix(reverb(send, 0.84f, 0.3f), 1.0f);
    // The finale fades out over its last eight seconds; the tail is silence.
    const size_t fadeFrom = static_cast<size_t>((kPieceSeconds - 8.0f) * kSampleRate);
    const size_t fadeTo = static_cast<size_t>(kPieceSeconds * kSampleRate);
    for (size_t i = fadeFrom; i < frames; ++i) {
        const float g = i >= fadeTo ? 0.0f : 1.0f - static_cast<float>(i - fadeFrom) / static_cast<float>(fadeTo - fadeFrom);
        mix.left[i] *= g * g;
        mix.right[i] *= g * g;
    }
    master(mix, -14.0f, std::pow(10.0f, -1.5f / 20.0f));
    return mix;
}

} // namespace qvr::sound
