// Cues: the checkpoint chime, the traffic cars' horns and the menu's click and
// hover.
#include "audio/audio_measure.h"
#include "audio/sound_families.h"

namespace gen::audio {

namespace {

// A struck bell tone: a few partials, the higher ones dying sooner.
void addBell(Samples& s, float at, float hz, float gain) {
    static const float ratios[] = {1.0f, 2.0f, 3.01f, 4.18f, 5.43f};
    static const float levels[] = {1.0f, 0.45f, 0.22f, 0.12f, 0.07f};
    static const float decays[] = {0.85f, 0.45f, 0.28f, 0.18f, 0.11f};
    const size_t start = samplesFor(at);
    for (int p = 0; p < 5; ++p) {
        const float f = hz * ratios[p];
        for (size_t i = start; i < s.size(); ++i) {
            const float t = static_cast<float>(i - start) / sampleRate;
            const float env = std::min(1.0f, t / 0.002f) * std::exp(-t / decays[p]);
            if (t > 0.01f && env < 1e-4f) break;
            // A slightly detuned twin beats against each partial: the shimmer of metal.
            s[i] += gain * levels[p] * env * (std::sin(twoPi * f * t) + 0.35f * std::sin(twoPi * (f + 2.5f) * t));
        }
    }
}

// Two rising bell notes.
Samples checkpointChime() {
    Samples out(samplesFor(1.5), 0.0f);
    addBell(out, 0.0f, 987.8f, 0.8f);   // B5
    addBell(out, 0.085f, 1318.5f, 1.0f);  // E6
    Biquad warmth = Biquad::lowShelf(400.0f, 3.0f);
    for (float& x : out) x = warmth.process(x);
    fadeEnds(out, 0.0005f, 0.3f);
    levelTo(out, -18.0f);
    return out;
}

struct Blast {
    float start, length;
};

// A car horn: buzzing reeds (narrow pulses) through the horn's resonances.
Samples horn(std::initializer_list<float> tones, std::initializer_list<Blast> blasts, float seconds, uint64_t seed,
             float loudness) {
    const size_t n = samplesFor(seconds);
    Samples raw(n, 0.0f);
    std::vector<Oscillator> reeds(tones.size());
    Rng rng(seed);
    for (Oscillator& reed : reeds) reed.setPhase(rng.uniform());
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        float gate = 0.0f;
        for (const Blast& b : blasts) {
            const float u = t - b.start;
            if (u < 0.0f || u > b.length + 0.05f) continue;
            const float attack = std::min(1.0f, u / 0.012f);
            const float release = u > b.length ? 1.0f - (u - b.length) / 0.05f : 1.0f;
            gate = std::max(gate, attack * release);
        }
        if (gate <= 0.0f) continue;
        float y = 0.0f;
        size_t k = 0;
        for (float hz : tones) {
            const float wobble = 1.0f + 0.003f * std::sin(twoPi * 5.5f * t + static_cast<float>(k));
            y += reeds[k].pulse(hz * wobble, 0.22f);
            ++k;
        }
        raw[i] = gate * y;
    }
    Biquad formants[3] = {Biquad::bandpass(480.0f, 1.5f), Biquad::bandpass(1150.0f, 2.5f), Biquad::bandpass(2500.0f, 3.0f)};
    Biquad dc = Biquad::highpass(150.0f, 0.7f), after = Biquad::highpass(80.0f, 0.7f);
    Samples out(n, 0.0f);
    for (size_t i = 0; i < n; ++i) {
        const float x = raw[i];
        const float y = formants[0].process(x) + 0.8f * formants[1].process(x) + 0.45f * formants[2].process(x);
        // The saturated reeds are lopsided: take the offset back out.
        out[i] = after.process(softClip(1.8f * dc.process(y + 0.15f * x)));
    }
    fadeEnds(out, 0.0005f, 0.02f);
    levelTo(out, loudness);
    return out;
}

// The menu's click: a short falling blip over a tick.
Samples menuClick() {
    Noise noise(0x3e1);
    const size_t n = samplesFor(0.09);
    Samples out(n, 0.0f);
    Oscillator blip, body;
    Biquad tick = Biquad::highpass(4000.0f, 0.7f);
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float hz = 1100.0f + 800.0f * std::exp(-t / 0.012f);
        out[i] = 0.6f * blip.triangle(hz) * attackDecay(t, 0.001f, 0.022f);
        out[i] += 0.35f * body.sine(180.0f) * attackDecay(t, 0.001f, 0.018f);
        if (t < 0.003f) out[i] += 0.5f * tick.process(noise.white()) * (1.0f - t / 0.003f);
    }
    fadeEnds(out, 0.0003f, 0.01f);
    levelTo(out, -18.0f);
    return out;
}

// Hovering over a button: a soft, short, high blip.
Samples menuHover() {
    const size_t n = samplesFor(0.06);
    Samples out(n, 0.0f);
    Oscillator blip;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        out[i] = blip.triangle(2600.0f + 300.0f * std::exp(-t / 0.008f)) * attackDecay(t, 0.002f, 0.013f);
    }
    fadeEnds(out, 0.0003f, 0.01f);
    levelTo(out, -25.0f);
    return out;
}

}  // namespace

std::vector<SoundRecipe> cueSounds() {
    return {
        {"sound/point.wav", checkpointChime},
        // A saloon's two-tone honk, a small car's double beep, a van's long blare.
        {"sound/signal0.wav", [] { return horn({415.0f, 522.0f}, {{0.0f, 0.5f}}, 0.6f, 0x51a0, -16.0f); }},
        {"sound/signal1.wav", [] { return horn({480.0f}, {{0.0f, 0.13f}, {0.22f, 0.15f}}, 0.45f, 0x51a1, -16.0f); }},
        {"sound/signal2.wav", [] { return horn({290.0f, 366.0f}, {{0.0f, 1.0f}}, 1.1f, 0x51a2, -16.0f); }},
        {"sound/menu1.wav", menuClick},
        {"sound/menu2.wav", menuHover},
    };
}

}  // namespace gen::audio
