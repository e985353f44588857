// Impacts: the three crash strengths and the gear change. A crash is a low
// body thump, a metal crunch (short bursts ringing a bank of inharmonic panel
// modes), and for the harder ones breaking glass, a scrape and falling debris.
#include "audio/audio_measure.h"
#include "audio/sound_families.h"

#include <algorithm>

namespace gen::audio {

namespace {

struct CrashDesign {
    uint64_t seed;
    float seconds;
    float thump, thumpHz;   // body thump
    int hits;               // crunch bursts
    float hitSpread;        // seconds over which they fall
    int modes;              // panel modes rung by the crunch
    float metal;
    int shards;             // pieces of glass
    float glass;
    float scrape;           // metal dragging on the road
    int debris;             // small pieces falling after
    float loudness;
};

const CrashDesign lightCrash{0xc0, 0.7f, 1.0f, 62.0f, 5, 0.05f, 14, 0.45f, 0, 0.0f, 0.0f, 6, -18.0f};
const CrashDesign mediumCrash{0xc1, 1.3f, 1.0f, 52.0f, 12, 0.12f, 24, 0.75f, 10, 0.35f, 0.0f, 14, -16.0f};
const CrashDesign heavyCrash{0xc2, 2.3f, 1.0f, 44.0f, 22, 0.25f, 36, 1.0f, 26, 0.6f, 0.5f, 30, -14.0f};

// A decaying sine with a falling pitch: the body hitting.
void addThump(Samples& s, float at, float gain, float hz, float decay) {
    double phase = 0.0;
    const size_t start = samplesFor(at);
    for (size_t i = start; i < s.size(); ++i) {
        const float t = static_cast<float>(i - start) / sampleRate;
        const float env = std::exp(-t / decay);
        if (env < 1e-4f) break;
        phase += hz * (1.0f + 1.6f * std::exp(-t / 0.025f)) / sampleRate;
        s[i] += gain * env * std::sin(twoPi * static_cast<float>(phase));
    }
}

// A short ringing burst of a few high partials: one piece of glass or metal.
void addTink(Samples& s, float at, float gain, Rng& rng, float lowHz, float highHz, float decay) {
    const size_t start = samplesFor(at);
    for (int p = 0; p < 3; ++p) {
        const float hz = lowHz * std::pow(highHz / lowHz, rng.uniform());
        const float d = decay * rng.range(0.5f, 1.2f);
        const float g = gain * rng.range(0.4f, 1.0f);
        const float phase = rng.uniform() * twoPi;
        for (size_t i = start; i < s.size(); ++i) {
            const float t = static_cast<float>(i - start) / sampleRate;
            const float env = std::exp(-t / d);
            if (env < 1e-3f) break;
            s[i] += g * env * std::sin(twoPi * hz * t + phase);
        }
    }
}

Samples crash(const CrashDesign& d) {
    Rng rng(d.seed);
    Noise noise(d.seed * 31 + 7);
    const size_t n = samplesFor(d.seconds);
    Samples out(n, 0.0f);

    // The thump, with a burst of dull noise.
    addThump(out, 0.0f, d.thump, d.thumpHz, 0.16f);
    {
        Biquad dull = Biquad::lowpass(320.0f, 0.8f);
        for (size_t i = 0; i < std::min(n, samplesFor(0.25)); ++i) {
            const float t = static_cast<float>(i) / sampleRate;
            out[i] += 0.8f * d.thump * dull.process(noise.white()) * std::exp(-t / 0.05f);
        }
    }

    // The crunch: bursts of noise ringing the panel modes, plus their crack.
    Samples excitation(n, 0.0f);
    for (int h = 0; h < d.hits; ++h) {
        const float u = rng.uniform();
        const float at = h == 0 ? 0.0f : d.hitSpread * u * u;
        const float strength = (h == 0 ? 1.0f : rng.range(0.25f, 0.9f)) * std::exp(-at / (d.hitSpread + 0.05f));
        const size_t start = samplesFor(at), length = samplesFor(rng.range(0.002f, 0.009f));
        for (size_t i = 0; i < length && start + i < n; ++i)
            excitation[start + i] += strength * noise.white() * (1.0f - static_cast<float>(i) / length);
    }
    {
        std::vector<Biquad> modes;
        std::vector<float> gains;
        for (int m = 0; m < d.modes; ++m) {
            const float hz = 180.0f * std::pow(4500.0f / 180.0f, rng.uniform());
            modes.push_back(Biquad::bandpass(hz, rng.range(12.0f, 55.0f)));
            gains.push_back(rng.range(0.3f, 1.0f) * (hz < 600.0f ? 1.4f : 1.0f));
        }
        Biquad crack = Biquad::highpass(2500.0f, 0.7f);
        for (size_t i = 0; i < n; ++i) {
            float y = 0.0f;
            for (size_t m = 0; m < modes.size(); ++m) y += gains[m] * modes[m].process(excitation[i]);
            out[i] += d.metal * (2.2f * y + 0.6f * crack.process(excitation[i]));
        }
    }

    // Glass: a first shatter, then pieces landing, ever fewer.
    for (int g = 0; g < d.shards; ++g) {
        const float u = rng.uniform();
        const float at = 0.01f + (g < d.shards / 3 ? 0.06f * u : 0.08f + 0.9f * d.seconds * 0.6f * u * u);
        addTink(out, at, d.glass * rng.range(0.05f, 0.16f) * std::exp(-at), rng, 2800.0f, 9500.0f, 0.05f);
    }

    // Scrape: metal dragged along the road, rough and fading.
    if (d.scrape > 0.0f) {
        Svf band;
        OnePole rough(25.0f);
        const size_t start = samplesFor(0.12), end = std::min(n, samplesFor(d.seconds * 0.75f));
        for (size_t i = start; i < end; ++i) {
            const float t = static_cast<float>(i - start) / sampleRate;
            if ((i & 15) == 0) band.set(1400.0f + 700.0f * std::sin(7.0f * t) - 500.0f * t, 3.0f);
            const float grit = 0.6f + 0.8f * std::fabs(rough.process(noise.white() * 4.0f));
            const float env = std::min(1.0f, t / 0.05f) * std::exp(-t / (d.seconds * 0.3f));
            out[i] += d.scrape * 0.5f * env * grit * band.bandpass(noise.white());
        }
    }

    // Debris: small pieces clattering down.
    for (int k = 0; k < d.debris; ++k) {
        const float at = 0.1f + rng.uniform() * (d.seconds - 0.3f);
        addTink(out, at, 0.05f * rng.range(0.3f, 1.0f) * std::exp(-at * 1.5f), rng, 700.0f, 2600.0f, 0.02f);
    }

    Biquad dc = Biquad::highpass(30.0f, 0.7f);
    for (float& x : out) x = softClip(1.4f * dc.process(x));
    fadeEnds(out, 0.0005f, 0.15f);
    levelUnderLimiter(out, d.loudness, -1.0f, false);
    return out;
}

// The gear lever clacking into its gate, then the driveline taking up.
Samples gearClunk() {
    Rng rng(0x6ea);
    Noise noise(0x6eb);
    const size_t n = samplesFor(0.32);
    Samples out(n, 0.0f);
    Biquad bright = Biquad::highpass(2500.0f, 0.7f);
    for (size_t i = 0; i < samplesFor(0.004); ++i) out[i] += 0.7f * bright.process(noise.white());
    addTink(out, 0.0f, 0.35f, rng, 1900.0f, 4200.0f, 0.018f);
    addThump(out, 0.035f, 0.9f, 82.0f, 0.05f);
    Biquad dull = Biquad::lowpass(500.0f, 0.8f);
    const size_t start = samplesFor(0.035);
    for (size_t i = start; i < std::min(n, start + samplesFor(0.06)); ++i) {
        const float t = static_cast<float>(i - start) / sampleRate;
        out[i] += 0.5f * dull.process(noise.white()) * std::exp(-t / 0.015f);
    }
    addTink(out, 0.037f, 0.12f, rng, 700.0f, 1300.0f, 0.07f);
    fadeEnds(out, 0.0005f, 0.05f);
    levelTo(out, -21.0f);
    return out;
}

}  // namespace

std::vector<SoundRecipe> impactSounds() {
    return {
        {"sound/cr0.wav", [] { return crash(lightCrash); }},
        {"sound/cr1.wav", [] { return crash(mediumCrash); }},
        {"sound/cr2.wav", [] { return crash(heavyCrash); }},
        {"sound/gear.wav", gearClunk},
    };
}

}  // namespace gen::audio
