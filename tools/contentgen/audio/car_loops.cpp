// The car's other loops: tyre squeal, wind and the nitro burn. Every
// modulation completes a whole number of cycles in its loop and every tone a
// whole number of periods, and the filters run round the loop twice, so the
// loops have no seam.
#include "audio/audio_measure.h"
#include "audio/sound_families.h"

namespace gen::audio {

namespace {

// A value that swings between -1 and 1 `cycles` times per loop of length n.
float swing(size_t i, size_t n, float cycles, float phase = 0.0f) {
    return std::sin(twoPi * cycles * static_cast<float>(i) / static_cast<float>(n) + phase);
}

// Tyres sliding: two squealing tones that warble and stutter (stick and slip),
// over the hiss of rubber scrubbing the road.
Samples tyreSqueal() {
    const size_t n = samplesFor(2.0);
    const Samples white = whiteLoop(n, 0x5c1d), grit = whiteLoop(n, 0x5c1e);
    Samples out(n, 0.0f);
    Oscillator first, second;
    Svf scrub, edge;
    scrub.set(2600.0f, 0.9f);
    edge.set(1150.0f, 6.0f);
    Biquad body = Biquad::bandpass(1300.0f, 0.8f);
    Biquad dc = Biquad::highpass(200.0f, 0.7f);
    twiceRound(n, [&](size_t i, bool keep) {
        // 1050 Hz and 1430 Hz: whole periods in two seconds.
        const float f1 = 1050.0f * (1.0f + 0.035f * swing(i, n, 11) + 0.012f * swing(i, n, 26, 1.0f));
        const float f2 = 1430.0f * (1.0f + 0.028f * swing(i, n, 9, 2.0f) + 0.015f * swing(i, n, 31));
        const float stutter = 0.55f + 0.45f * std::fabs(swing(i, n, 94));
        const float swell = 0.75f + 0.25f * swing(i, n, 3, 0.5f);
        float y = 0.5f * first.pulse(f1, 0.3f) * stutter * swell;
        y += 0.25f * second.saw(f2) * (0.6f + 0.4f * swing(i, n, 5, 1.3f));
        y += 0.6f * edge.bandpass(white[i]) * stutter;
        y += 0.22f * scrub.bandpass(grit[i]);
        y = dc.process(0.6f * body.process(y) + 0.4f * y);
        if (keep) out[i] = softClip(1.5f * y);
    });
    levelTo(out, -19.0f);
    return out;
}

// Air rushing past: dark noise in gusts, with a faint whistle round the mirrors.
Samples wind() {
    const size_t n = samplesFor(3.0);
    const Samples pink = pinkLoop(n, 0x3171d), brown = brownLoop(n, 0x3171e), white = whiteLoop(n, 0x3171f);
    Samples out(n, 0.0f);
    Svf rush, whistle;
    Biquad dc = Biquad::highpass(60.0f, 0.7f);
    twiceRound(n, [&](size_t i, bool keep) {
        const float gust = 0.7f + 0.2f * swing(i, n, 1) + 0.1f * swing(i, n, 3, 0.7f);
        if ((i & 15) == 0) {
            rush.set(500.0f + 350.0f * gust, 0.8f);
            whistle.set(720.0f * (1.0f + 0.12f * swing(i, n, 2, 1.9f)), 9.0f);
        }
        const float source = 0.6f * pink[i] + 0.4f * brown[i];
        const float y = dc.process(gust * (rush.lowpass(source) + 0.25f * whistle.bandpass(white[i]) * gust));
        if (keep) out[i] = y;
    });
    levelTo(out, -23.0f);
    return out;
}

// Nitro: a pressurised hiss over a low roar, fluttering a little.
Samples nitroBurn() {
    const size_t n = samplesFor(2.0);
    const Samples white = whiteLoop(n, 0x2172), brown = brownLoop(n, 0x2173);
    Samples out(n, 0.0f);
    Biquad hiss = Biquad::bandpass(3800.0f, 0.9f);
    Biquad sizzle = Biquad::bandpass(6500.0f, 1.5f);
    Biquad roar = Biquad::lowpass(380.0f, 0.9f);
    Biquad air = Biquad::lowpass(9000.0f, 0.7f);
    Biquad dc = Biquad::highpass(40.0f, 0.7f);
    twiceRound(n, [&](size_t i, bool keep) {
        const float flutter = 1.0f + 0.15f * swing(i, n, 36) + 0.08f * swing(i, n, 11, 0.4f);
        const float w = white[i];
        const float y = flutter * (0.5f * hiss.process(w) + 0.25f * sizzle.process(w) + 1.2f * roar.process(brown[i]));
        const float z = dc.process(air.process(y));
        if (keep) out[i] = z;
    });
    levelTo(out, -23.0f);
    return out;
}

}  // namespace

std::vector<SoundRecipe> carLoops() {
    return {
        {"sound/st.wav", tyreSqueal},
        {"sound/wind.wav", wind},
        {"sound/nitro.wav", nitroBurn},
    };
}

}  // namespace gen::audio
