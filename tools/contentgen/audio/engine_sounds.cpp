// Engines: each engine is a train of firing pulses (one per cylinder firing,
// each cylinder a little different, every combustion a little random) with a
// burst of exhaust rasp on every firing, shaped by the resonances of the
// exhaust and intake, then driven into soft saturation. The game pitches the
// loops from 0.15 to 2.5 (0.35 at idle, 1.0 at 4250 rpm), so `firingHz` is
// the firing frequency at 4250 rpm.
//
// The loops hold a whole number of engine cycles and every firing near the end
// wraps round to the start, so a loop has no seam. en_pass is the player's
// engine (en1) on the overrun; accel0..2 are the countdown blips of the
// computer cars' engines (en2..en4), rising from idle to 7000 rpm and back in
// one second, as the game revs them.
#include "audio/audio_measure.h"
#include "audio/sound_families.h"

#include <algorithm>
#include <functional>

namespace gen::audio {

namespace {

struct Resonance {
    float hz, q, gain;
};

struct EngineDesign {
    uint64_t seed;
    int cylinders;
    float firingHz;            // firing frequency at pitch 1
    int cycles;                // engine cycles in the loop
    float firingOffset[8];     // uneven firing: each cylinder's offset, share of a firing interval
    float cylinderVariation;   // how much the cylinders' strengths differ
    float combustionJitter;    // random strength change from firing to firing
    float timingJitter;        // random timing change, share of an interval
    float pulseWidth;          // decay of the pressure pulse, share of a firing interval
    float lowpassHz, lowGain;  // the pulse train's own low end
    Resonance body[4];         // exhaust and intake resonances
    float rasp, raspHz, raspQ; // noise burst on each firing and its band
    float drive;               // saturation
    float loudness;            // LUFS of the finished loop
};

// Inline four, sport exhaust: the player's car.
const EngineDesign inlineFour{0xe11, 4, 142.0f, 57, {0, 0.03f, -0.02f, 0.01f, 0, 0, 0, 0}, 0.25f, 0.15f, 0.02f, 0.06f,
                              600.0f, 0.2f, {{120, 1.5f, 0.5f}, {360, 3.0f, 1.0f}, {820, 3.5f, 0.8f}, {1850, 3.0f, 0.5f}},
                              0.7f, 2200.0f, 0.9f, 2.0f, -17.0f};
// V6, deeper and smoother.
const EngineDesign vSix{0xe12, 6, 165.0f, 40, {0, 0.05f, -0.03f, 0.02f, -0.05f, 0.03f, 0, 0}, 0.2f, 0.12f, 0.015f, 0.07f,
                        500.0f, 0.3f, {{90, 1.2f, 0.6f}, {270, 2.5f, 1.0f}, {640, 3.0f, 0.7f}, {1400, 2.5f, 0.4f}},
                        0.5f, 1500.0f, 0.8f, 1.8f, -17.0f};
// Cross-plane V8: uneven firing and strong differences between the banks give its burble.
const EngineDesign vEight{0xe13, 8, 200.0f, 40, {0, 0.18f, -0.10f, 0.12f, 0, -0.15f, 0.10f, -0.12f}, 0.35f, 0.16f, 0.025f,
                          0.08f, 450.0f, 0.35f, {{75, 1.0f, 0.8f}, {210, 2.0f, 1.0f}, {470, 3.0f, 0.7f}, {1100, 2.5f, 0.4f}},
                          0.55f, 1200.0f, 0.8f, 2.4f, -17.0f};
// High-revving four with a straight-through exhaust: bright and raspy.
const EngineDesign rasper{0xe14, 4, 185.0f, 74, {0, 0.03f, -0.01f, 0.02f, 0, 0, 0, 0}, 0.2f, 0.16f, 0.02f, 0.05f,
                          800.0f, 0.15f, {{160, 1.5f, 0.4f}, {560, 3.5f, 1.0f}, {1500, 4.0f, 0.8f}, {3300, 3.0f, 0.6f}},
                          0.9f, 3000.0f, 1.2f, 3.0f, -17.0f};

struct Firing {
    double at;       // sample position
    float strength;  // pressure pulse
    float rasp;      // exhaust noise burst
};

// The pulses and rasp bursts of a list of firings. With wrap, what runs past
// the end comes in again at the start.
void excite(const EngineDesign& d, const std::vector<Firing>& firings, double interval, bool wrap, Samples& pulses,
            Samples& rasp, uint64_t seed) {
    Noise noise(seed);
    const long n = static_cast<long>(pulses.size());
    auto add = [&](Samples& buffer, long i, float v) {
        if (wrap) buffer[static_cast<size_t>(((i % n) + n) % n)] += v;
        else if (i >= 0 && i < n) buffer[static_cast<size_t>(i)] += v;
    };
    for (const Firing& f : firings) {
        // The exhaust valve opens: pressure jumps and then bleeds away.
        const double rise = 0.04 * interval, fall = d.pulseWidth * interval;
        const long first = static_cast<long>(std::ceil(f.at));
        for (long i = first; i < first + static_cast<long>(rise + 5.0 * fall) + 1; ++i) {
            const double u = static_cast<double>(i) - f.at;
            const double shape = u < rise ? u / rise : std::exp(-(u - rise) / fall);
            add(pulses, i, f.strength * static_cast<float>(shape));
        }
        const double decay = 0.18 * interval;
        for (long i = first; i < first + static_cast<long>(5.0 * decay); ++i)
            add(rasp, i, f.rasp * noise.white() * static_cast<float>(std::exp(-(static_cast<double>(i) - f.at) / decay)));
    }
}

// The resonances, the saturation and the final tone of an engine. A loop is
// processed round twice, so it has no seam.
Samples engineBody(const EngineDesign& d, const Samples& pulses, const Samples& rasp, bool loop) {
    const size_t n = pulses.size();
    Samples out(n, 0.0f);
    {
        Biquad low = Biquad::lowpass(d.lowpassHz, 0.7f);
        Biquad bands[4];
        for (int r = 0; r < 4; ++r) bands[r] = Biquad::bandpass(d.body[r].hz, d.body[r].q);
        Biquad raspBand = Biquad::bandpass(d.raspHz, d.raspQ);
        for (int pass = loop ? 0 : 1; pass < 2; ++pass) {
            for (size_t i = 0; i < n; ++i) {
                float y = d.lowGain * low.process(pulses[i]);
                for (int r = 0; r < 4; ++r) y += d.body[r].gain * bands[r].process(pulses[i]);
                y += d.rasp * raspBand.process(rasp[i]);
                if (pass == 1) out[i] = y;
            }
        }
    }
    const float peak = std::max(peakOf(out), 1e-6f);
    for (float& x : out) x = softClip(d.drive * x / peak);
    Biquad dc = Biquad::highpass(22.0f, 0.7f);
    Biquad top = Biquad::lowpass(9000.0f, 0.7f);
    auto finish = [&](float x) { return top.process(dc.process(x)); };
    if (loop) processLoop(out, finish);
    else
        for (float& x : out) x = finish(x);
    return out;
}

double intervalOf(const EngineDesign& d, int& cycleSamples) {
    cycleSamples = static_cast<int>(std::lround(d.cylinders * static_cast<double>(sampleRate) / d.firingHz));
    return static_cast<double>(cycleSamples) / d.cylinders;
}

// One loop of an engine at pitch 1. throttle scales the pulses; pops adds
// that many overrun crackles at random firings.
Samples engineLoop(const EngineDesign& d, float throttle, int pops, float lowpassHz, float loudness, uint64_t seed) {
    int cycleSamples = 0;
    const double interval = intervalOf(d, cycleSamples);
    const size_t n = static_cast<size_t>(cycleSamples) * d.cycles;
    Rng rng(seed);
    float cylinderStrength[8];
    for (int c = 0; c < d.cylinders; ++c) cylinderStrength[c] = 1.0f + d.cylinderVariation * rng.range(-1.0f, 1.0f);
    std::vector<Firing> firings;
    const int count = d.cycles * d.cylinders;
    for (int k = 0; k < count; ++k) {
        const int c = k % d.cylinders;
        Firing f;
        f.at = (k + d.firingOffset[c] + d.timingJitter * rng.range(-1.0f, 1.0f)) * interval;
        const float combustion = 1.0f + d.combustionJitter * rng.range(-1.0f, 1.0f) * (throttle < 0.5f ? 3.0f : 1.0f);
        f.strength = throttle * cylinderStrength[c] * combustion;
        f.rasp = f.strength;
        firings.push_back(f);
    }
    for (int p = 0; p < pops; ++p) {
        Firing& f = firings[static_cast<size_t>(rng.below(count))];
        f.rasp = 3.0f + rng.range(0.0f, 2.0f);
        f.strength *= 0.5f;
    }
    Samples pulses(n, 0.0f), rasp(n, 0.0f);
    excite(d, firings, interval, true, pulses, rasp, seed ^ 0x5eed);
    EngineDesign shaped = d;
    shaped.lowpassHz = lowpassHz;
    Samples out = engineBody(shaped, pulses, rasp, true);
    levelUnderLimiter(out, loudness, -1.0f, true);
    return out;
}

// A countdown blip: pitch 0.35 + 1.2 sin(pi t) over one second (1000 to 7000
// rpm and back), on throttle while rising, crackling on the overrun after.
Samples revBlip(const EngineDesign& d, uint64_t seed) {
    const double seconds = 1.45;
    const size_t n = samplesFor(seconds);
    Rng rng(seed);
    auto pitchAt = [](double t) { return t < 1.0 ? 0.35 + 1.2 * std::sin(3.141592653589793 * t) : 0.35; };
    std::vector<Firing> firings;
    int cycleSamples = 0;
    const double baseInterval = intervalOf(d, cycleSamples);
    int k = 0;
    for (double at = 0.0; at < static_cast<double>(n); ++k) {
        const double t = at / sampleRate;
        const double interval = baseInterval / pitchAt(t);
        const int c = k % d.cylinders;
        const float throttle = t < 0.5 ? 1.0f : (t < 1.0 ? 0.35f : 0.25f);
        Firing f;
        f.at = at + (d.firingOffset[c] + d.timingJitter * rng.range(-1.0f, 1.0f)) * interval;
        f.strength = throttle * (1.0f + d.combustionJitter * rng.range(-1.0f, 1.0f));
        f.rasp = f.strength;
        if (t > 0.55 && t < 1.2 && rng.chance(0.12f)) f.rasp = 2.5f + rng.range(0.0f, 2.0f);  // overrun crackle
        firings.push_back(f);
        at += interval;
    }
    Samples pulses(n, 0.0f), rasp(n, 0.0f);
    excite(d, firings, baseInterval, false, pulses, rasp, seed ^ 0x5eed);
    Samples out = engineBody(d, pulses, rasp, false);
    fadeEnds(out, 0.01f, 0.35f);
    levelTo(out, -23.0f);
    return out;
}

}  // namespace

std::vector<SoundRecipe> engineSounds() {
    return {
        {"sound/en1.wav", [] { return engineLoop(inlineFour, 1.0f, 0, inlineFour.lowpassHz, inlineFour.loudness, 1); }},
        {"sound/en2.wav", [] { return engineLoop(vSix, 1.0f, 0, vSix.lowpassHz, vSix.loudness, 2); }},
        {"sound/en3.wav", [] { return engineLoop(vEight, 1.0f, 0, vEight.lowpassHz, vEight.loudness, 3); }},
        {"sound/en4.wav", [] { return engineLoop(rasper, 1.0f, 0, rasper.lowpassHz, rasper.loudness, 4); }},
        // The player's engine off the throttle: softer, darker, burbling.
        {"sound/en_pass.wav", [] { return engineLoop(inlineFour, 0.4f, 7, 450.0f, -21.0f, 5); }},
        {"sound/accel0.wav", [] { return revBlip(vSix, 6); }},
        {"sound/accel1.wav", [] { return revBlip(vEight, 7); }},
        {"sound/accel2.wav", [] { return revBlip(rasper, 8); }},
    };
}

}  // namespace gen::audio
