#include "audio/instruments.h"

#include <algorithm>

namespace gen::audio {

namespace {

// exp(-1 / (seconds * rate)): multiply by it every sample for an exponential decay.
float decayStep(float seconds) { return std::exp(-1.0f / (std::max(seconds, 1e-4f) * sampleRate)); }

// Six square waves at clangorous ratios: the metal of hats and cymbals.
struct Metal {
    double phase[6] = {0.0, 0.13, 0.37, 0.51, 0.71, 0.89};
    float hz[6];
    explicit Metal(float scale) {
        static const float base[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
        for (int i = 0; i < 6; ++i) hz[i] = base[i] * scale;
    }
    float next() {
        float sum = 0.0f;
        for (int i = 0; i < 6; ++i) {
            phase[i] += hz[i] / sampleRate;
            if (phase[i] >= 1.0) phase[i] -= 1.0;
            sum += phase[i] < 0.5 ? 1.0f : -1.0f;
        }
        return sum / 6.0f;
    }
};

}  // namespace

void kick(StereoSamples& bus, size_t at, float velocity, const KickTone& tone, uint64_t seed) {
    Noise noise(seed);
    Biquad click = Biquad::highpass(3000.0f, 0.7f);
    const size_t n = samplesFor(std::min(0.8f, tone.decay * 5.0f));
    const size_t fade = samplesFor(0.02);
    const float pitchStep = decayStep(tone.pitchDecay), ampStep = decayStep(tone.decay);
    float pitchEnv = 1.0f, amp = 1.0f;
    double phase = 0.0;
    const float norm = 1.0f / softClip(tone.drive);
    const size_t clickLength = samplesFor(0.004);
    for (size_t i = 0; i < n; ++i) {
        const float hz = tone.endHz + (tone.startHz - tone.endHz) * pitchEnv;
        phase += hz / sampleRate;
        float y = softClip(tone.drive * std::sin(twoPi * static_cast<float>(phase - std::floor(phase)))) * norm * amp;
        if (i < clickLength) y += tone.click * click.process(noise.white()) * (1.0f - static_cast<float>(i) / clickLength);
        if (i + fade > n) y *= static_cast<float>(n - i) / fade;
        y *= velocity;
        addAt(bus, at + i, y, y);
        pitchEnv *= pitchStep;
        amp *= ampStep;
    }
}

void snare(StereoSamples& bus, size_t at, float velocity, float tuneHz, float decay, uint64_t seed) {
    Noise noise(seed);
    Biquad body = Biquad::bandpass(1800.0f, 0.7f), sizzle = Biquad::highpass(5000.0f, 0.7f);
    Biquad bodyR = Biquad::bandpass(1900.0f, 0.7f), sizzleR = Biquad::highpass(5200.0f, 0.7f);
    const size_t n = samplesFor(decay * 4.0f);
    const float toneStep = decayStep(0.07f), noiseStep = decayStep(decay);
    float toneEnv = 1.0f, noiseEnv = 1.0f;
    Oscillator low, high;
    for (size_t i = 0; i < n; ++i) {
        const float tone = 0.55f * low.sine(tuneHz) + 0.3f * high.sine(tuneHz * 1.78f);
        const float wl = noise.white(), wr = noise.white();
        const float l = tone * toneEnv + noiseEnv * (0.9f * body.process(wl) + 0.5f * sizzle.process(wl));
        const float r = tone * toneEnv + noiseEnv * (0.9f * bodyR.process(wr) + 0.5f * sizzleR.process(wr));
        const float fade = i + 200 > n ? static_cast<float>(n - i) / 200.0f : 1.0f;
        addAt(bus, at + i, velocity * l * fade, velocity * r * fade);
        toneEnv *= toneStep;
        noiseEnv *= noiseStep;
    }
}

void clap(StereoSamples& bus, size_t at, float velocity, uint64_t seed) {
    Noise noise(seed);
    Biquad bandL = Biquad::bandpass(1200.0f, 1.4f), bandR = Biquad::bandpass(1300.0f, 1.4f);
    const size_t n = samplesFor(0.4);
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        // Three quick slaps, then the room's tail.
        float env = 0.0f;
        for (int k = 0; k < 3; ++k) {
            const float u = t - 0.011f * k;
            if (u >= 0.0f) env = std::max(env, std::exp(-u / 0.005f));
        }
        const float u = t - 0.022f;
        if (u >= 0.0f) env = std::max(env, 0.8f * std::exp(-u / 0.11f));
        const float fade = i + 200 > n ? static_cast<float>(n - i) / 200.0f : 1.0f;
        addAt(bus, at + i, velocity * env * fade * 4.0f * bandL.process(noise.white()),
              velocity * env * fade * 4.0f * bandR.process(noise.white()));
    }
}

void hat(StereoSamples& bus, size_t at, float velocity, bool open, float pan, uint64_t seed) {
    Noise noise(seed);
    Metal metal(1.7f);
    Biquad band = Biquad::bandpass(10000.0f, 1.0f), high = Biquad::highpass(7000.0f, 0.7f);
    const float decay = open ? 0.26f : 0.035f;
    const size_t n = samplesFor(decay * 5.0f);
    const float step = decayStep(decay);
    float env = 1.0f, gl, gr;
    panGains(pan, gl, gr);
    for (size_t i = 0; i < n; ++i) {
        const float x = 0.7f * metal.next() + 0.35f * noise.white();
        const float y = velocity * env * 5.0f * high.process(band.process(x));
        addAt(bus, at + i, y * gl, y * gr);
        env *= step;
    }
}

void shaker(StereoSamples& bus, size_t at, float velocity, float pan, uint64_t seed) {
    Noise noise(seed);
    Biquad high = Biquad::highpass(6000.0f, 0.7f);
    const size_t n = samplesFor(0.07);
    float gl, gr;
    panGains(pan, gl, gr);
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float env = std::min(1.0f, t / 0.008f) * std::exp(-t / 0.02f);
        const float y = velocity * env * 2.0f * high.process(noise.white());
        addAt(bus, at + i, y * gl, y * gr);
    }
}

void tom(StereoSamples& bus, size_t at, float velocity, float hz, float pan, uint64_t seed) {
    Noise noise(seed);
    Biquad thud = Biquad::lowpass(900.0f, 0.7f);
    const size_t n = samplesFor(0.45);
    float gl, gr;
    panGains(pan, gl, gr);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        phase += hz * (1.0f + 0.5f * std::exp(-t / 0.03f)) / sampleRate;
        const float env = std::exp(-t / 0.12f);
        float y = env * std::sin(twoPi * static_cast<float>(phase - std::floor(phase)));
        y += 0.3f * std::exp(-t / 0.02f) * thud.process(noise.white());
        if (i + 200 > n) y *= static_cast<float>(n - i) / 200.0f;
        addAt(bus, at + i, velocity * y * gl, velocity * y * gr);
    }
}

void cymbal(StereoSamples& bus, size_t at, float velocity, uint64_t seed) {
    Noise noise(seed);
    Metal left(2.3f), right(2.41f);
    Biquad highL = Biquad::highpass(5000.0f, 0.7f), highR = Biquad::highpass(5200.0f, 0.7f);
    const size_t n = samplesFor(2.6);
    const float step = decayStep(0.75f);
    float env = 1.0f;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        const float attack = std::min(1.0f, t / 0.002f);
        const float fade = i + 2000 > n ? static_cast<float>(n - i) / 2000.0f : 1.0f;
        const float g = velocity * env * attack * fade;
        addAt(bus, at + i, g * highL.process(0.5f * left.next() + 0.6f * noise.white()),
              g * highR.process(0.5f * right.next() + 0.6f * noise.white()));
        env *= step;
    }
}

void riser(StereoSamples& bus, size_t at, size_t length, float velocity, uint64_t seed) {
    Noise noise(seed);
    Svf left, right;
    for (size_t i = 0; i < length; ++i) {
        const float u = static_cast<float>(i) / static_cast<float>(length);
        if ((i & 31) == 0) {
            const float hz = 350.0f * std::pow(9000.0f / 350.0f, u);
            left.set(hz, 2.5f);
            right.set(hz * 1.07f, 2.5f);
        }
        const float g = velocity * u * u * (i + 400 > length ? static_cast<float>(length - i) / 400.0f : 1.0f);
        addAt(bus, at + i, g * left.bandpass(noise.white()), g * right.bandpass(noise.white()));
    }
}

void boom(StereoSamples& bus, size_t at, float velocity) {
    const size_t n = samplesFor(1.4);
    double phase = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const float t = static_cast<float>(i) / sampleRate;
        phase += (34.0f + 40.0f * std::exp(-t / 0.15f)) / sampleRate;
        float y = velocity * std::exp(-t / 0.45f) * std::sin(twoPi * static_cast<float>(phase - std::floor(phase)));
        if (i + 2000 > n) y *= static_cast<float>(n - i) / 2000.0f;
        addAt(bus, at + i, y, y);
    }
}

void bassNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, const BassTone& tone) {
    const size_t release = samplesFor(tone.release);
    const size_t n = length + release;
    Oscillator osc, square, sub;
    Svf filter;
    const float envStep = decayStep(tone.envDecay);
    float env = 1.0f;
    const float norm = 1.0f / softClip(tone.drive);
    for (size_t i = 0; i < n; ++i) {
        if ((i & 15) == 0) filter.set(tone.cutoff + tone.envelope * env, tone.resonance);
        float x = (1.0f - tone.square) * osc.saw(hz);
        if (tone.square > 0.0f) x += tone.square * square.pulse(hz, 0.5f);
        x = filter.lowpass(x) + tone.sub * sub.sine(hz * 0.5f);
        float amp = std::min(1.0f, static_cast<float>(i) / 90.0f);
        if (i >= length) amp *= 1.0f - static_cast<float>(i - length) / static_cast<float>(release);
        const float y = velocity * amp * softClip(tone.drive * x) * norm;
        addAt(bus, at + i, y, y);
        env *= envStep;
    }
}

void padNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, const PadTone& tone,
             size_t loopSamples, int sweepCycles, uint64_t seed) {
    Rng rng(seed);
    const size_t release = samplesFor(tone.release);
    const size_t n = length + release;
    const float gate = static_cast<float>(length) / sampleRate;
    static const float spread[3] = {-1.0f, 0.0f, 1.0f};
    Oscillator left[3], right[3];
    float ratioL[3], ratioR[3];
    for (int v = 0; v < 3; ++v) {
        left[v].setPhase(rng.uniform());
        right[v].setPhase(rng.uniform());
        ratioL[v] = std::pow(2.0f, (spread[v] * tone.detuneCents + 2.0f) / 1200.0f);
        ratioR[v] = std::pow(2.0f, (spread[v] * tone.detuneCents - 2.0f) / 1200.0f);
    }
    Svf filterL, filterR;
    for (size_t i = 0; i < n; ++i) {
        if ((i & 31) == 0) {
            const float loopPhase = static_cast<float>((at + i) % loopSamples) / static_cast<float>(loopSamples);
            const float cutoff = tone.cutoff * (1.0f + tone.sweep * std::sin(twoPi * sweepCycles * loopPhase));
            filterL.set(cutoff, tone.resonance);
            filterR.set(cutoff * 1.05f, tone.resonance);
        }
        float l = 0.0f, r = 0.0f;
        for (int v = 0; v < 3; ++v) {
            l += left[v].saw(hz * ratioL[v]);
            r += right[v].saw(hz * ratioR[v]);
        }
        const float t = static_cast<float>(i) / sampleRate;
        const float env = velocity * adsr(t, tone.attack, 0.6f, 0.85f, tone.release, gate) / 3.0f;
        addAt(bus, at + i, env * filterL.lowpass(l), env * filterR.lowpass(r));
    }
}

void pluckNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, float pan, const PluckTone& tone) {
    const size_t release = samplesFor(tone.release);
    const size_t n = std::min(length + release, samplesFor(tone.decay * 6.0f) + release);
    Oscillator saw, narrow;
    Svf filter;
    const float envStep = decayStep(tone.envDecay), ampStep = decayStep(tone.decay);
    float env = 1.0f, amp = velocity;
    float gl, gr;
    panGains(pan, gl, gr);
    for (size_t i = 0; i < n; ++i) {
        if ((i & 15) == 0) filter.set(tone.cutoff + tone.envelope * env, tone.resonance);
        const float x = (1.0f - tone.pulse) * saw.saw(hz) + tone.pulse * narrow.pulse(hz * 1.003f, 0.25f);
        float g = amp * std::min(1.0f, static_cast<float>(i) / 60.0f);
        if (i >= length) g *= 1.0f - static_cast<float>(i - length) / static_cast<float>(release);
        if (i + release >= n && n < length + release) g *= static_cast<float>(n - i) / static_cast<float>(release);
        const float y = g * filter.lowpass(x);
        addAt(bus, at + i, y * gl, y * gr);
        env *= envStep;
        amp *= ampStep;
    }
}

void leadLine(StereoSamples& bus, const Notes& notes, const Tempo& tempo, const LeadTone& tone, float pan) {
    float gl, gr;
    panGains(pan, gl, gr);
    const float glideStep = 1.0f - decayStep(tone.glide / 3.0f);
    const size_t release = samplesFor(tone.release);
    const float up = std::pow(2.0f, tone.detuneCents / 1200.0f), down = 1.0f / up;
    for (size_t first = 0; first < notes.size();) {
        // One voice: a note and the glided notes that follow it.
        size_t last = first;
        while (last + 1 < notes.size() && notes[last + 1].glide) ++last;
        const size_t start = tempo.sampleAt(notes[first].beat);
        const size_t end = tempo.sampleAt(notes[last].beat + notes[last].length);
        const size_t n = end - start + release;
        Oscillator a, b, c;
        Svf filter;
        float pitch = notes[first].pitch;
        size_t current = first;
        size_t noteStart = start;
        for (size_t i = 0; i < n; ++i) {
            const size_t now = start + i;
            while (current < last && now >= tempo.sampleAt(notes[current + 1].beat)) {
                ++current;
                noteStart = tempo.sampleAt(notes[current].beat);
            }
            pitch += (notes[current].pitch - pitch) * glideStep;
            const float sinceNote = static_cast<float>(now - noteStart) / sampleRate;
            const float vibratoDepth = tone.vibrato * std::clamp((sinceNote - 0.18f) / 0.3f, 0.0f, 1.0f);
            const float hz = midiToHz(pitch) * (1.0f + vibratoDepth * std::sin(twoPi * 5.3f * sinceNote));
            if ((i & 15) == 0) filter.set(tone.cutoff * (1.0f + 1.2f * std::exp(-sinceNote / 0.12f)), tone.resonance);
            const float x = 0.5f * (a.saw(hz * up) + b.saw(hz * down)) + tone.square * c.pulse(hz * 0.5f, 0.5f);
            float g = notes[current].velocity * std::min(1.0f, static_cast<float>(i) / (tone.attack * sampleRate));
            if (now >= end) g *= 1.0f - static_cast<float>(now - end) / static_cast<float>(release);
            const float y = g * filter.lowpass(x);
            addAt(bus, now, y * gl, y * gr);
        }
        first = last + 1;
    }
}

}  // namespace gen::audio
