// The generator's synthesis toolkit: band-limited oscillators, noise,
// envelopes, filters, delay and reverb, and the buffer helpers the sound
// families share. Everything works on float samples at 44.1 kHz and is
// deterministic: noise is seeded, nothing reads a clock.
//
// Loops are made seamless by construction: events that run past the end of a
// loop wrap round to its start (addWrapped), and stateful processing (filters,
// delays, reverb) runs over the loop twice, keeping the second pass
// (processLoop), so the state at the loop's start is the state its end leaves.
#pragma once

#include "noise.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen::audio {

constexpr int sampleRate = 44100;
constexpr float pi = 3.14159265358979f;
constexpr float twoPi = 2.0f * pi;

using Samples = std::vector<float>;

struct StereoSamples {
    Samples left, right;
    StereoSamples() = default;
    explicit StereoSamples(size_t n) : left(n, 0.0f), right(n, 0.0f) {}
    size_t size() const { return left.size(); }
};

inline size_t samplesFor(double seconds) { return static_cast<size_t>(std::llround(seconds * sampleRate)); }
inline float dbToGain(float db) { return std::pow(10.0f, db / 20.0f); }
inline float gainToDb(float gain) { return gain > 0.0f ? 20.0f * std::log10(gain) : -300.0f; }
inline float midiToHz(float note) { return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f); }
// Equal-power pan: -1 left, 0 centre, 1 right.
inline void panGains(float pan, float& left, float& right) {
    const float a = (pan + 1.0f) * 0.25f * pi;
    left = std::cos(a);
    right = std::sin(a);
}

// Oscillators with a phase in [0, 1). The saw and pulse are band-limited with
// polyBLEP corrections, so they stay clean when the music plays them high.
class Oscillator {
public:
    explicit Oscillator(double phase = 0.0) : phase_(phase) {}
    float sine(float hz);
    float saw(float hz);
    float pulse(float hz, float width = 0.5f);
    float triangle(float hz);
    double phase() const { return phase_; }
    void setPhase(double phase) { phase_ = phase - std::floor(phase); }

private:
    double phase_;
    double step(float hz);
};

// Filters that colour white noise: pink falls 3 dB per octave, brown 6 dB
// (leaky, so it never drifts away). Both keep about the range of their input.
class PinkFilter {
public:
    float process(float white);

private:
    float b_[7] = {};
};
class BrownFilter {
public:
    float process(float white) {
        z_ = (z_ + 0.02f * white) / 1.02f;
        return z_ * 3.5f;
    }

private:
    float z_ = 0.0f;
};

// Seeded noise sources, all roughly within -1..1.
class Noise {
public:
    explicit Noise(uint64_t seed) : rng_(seed) {}
    float white() { return rng_.uniform() * 2.0f - 1.0f; }
    float pink() { return pink_.process(white()); }
    float brown() { return brown_.process(white()); }
    Rng& rng() { return rng_; }

private:
    Rng rng_;
    PinkFilter pink_;
    BrownFilter brown_;
};

// Noise for a loop of n samples: the colouring filters run round twice, so
// the noise has no seam.
Samples whiteLoop(size_t n, uint64_t seed);
Samples pinkLoop(size_t n, uint64_t seed);
Samples brownLoop(size_t n, uint64_t seed);

// Envelopes, as functions of the time t in seconds since the note began.
// Attack-decay-sustain-release; the release starts when the gate closes.
float adsr(float t, float attack, float decay, float sustain, float release, float gate);
// A linear attack and an exponential decay with the given time constant.
float attackDecay(float t, float attack, float decay);

// Second-order filter (the usual audio-cookbook designs), direct form I in double.
class Biquad {
public:
    static Biquad lowpass(float hz, float q = 0.7071f);
    static Biquad highpass(float hz, float q = 0.7071f);
    static Biquad bandpass(float hz, float q);  // 0 dB at the centre
    static Biquad peak(float hz, float q, float db);
    static Biquad lowShelf(float hz, float db);
    static Biquad highShelf(float hz, float db);
    float process(float x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return static_cast<float>(y);
    }
    void reset() { x1 = x2 = y1 = y2 = 0.0; }
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

private:
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
};

// State-variable filter (trapezoidal), cheap to sweep every sample.
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    void set(float hz, float q);
    Out process(float x);
    float lowpass(float x) { return process(x).low; }
    float bandpass(float x) { return process(x).band; }
    float highpass(float x) { return process(x).high; }
    void reset() { ic1_ = ic2_ = 0.0f; }

private:
    float g_ = 0.0f, k_ = 1.4142f, a1_ = 1.0f, a2_ = 0.0f, a3_ = 0.0f;
    float ic1_ = 0.0f, ic2_ = 0.0f;
};

// First-order low-pass smoother.
class OnePole {
public:
    explicit OnePole(float hz = 1000.0f) { set(hz); }
    void set(float hz) { a_ = 1.0f - std::exp(-twoPi * hz / sampleRate); }
    float process(float x) { return z_ += a_ * (x - z_); }
    void reset(float value = 0.0f) { z_ = value; }

private:
    float a_ = 0.0f, z_ = 0.0f;
};

// A delay line read at a fractional delay (linear interpolation).
class DelayLine {
public:
    explicit DelayLine(size_t maxSamples) : buffer_(maxSamples + 2, 0.0f) {}
    void write(float x) {
        buffer_[pos_] = x;
        pos_ = pos_ + 1 == buffer_.size() ? 0 : pos_ + 1;
    }
    float read(float delaySamples) const;

private:
    std::vector<float> buffer_;
    size_t pos_ = 0;
};

// A stereo plate-like reverb: eight damped combs and four all-passes per side,
// the right side's lines a little longer for width.
class Reverb {
public:
    // size 0..1 (decay), damping 0..1 (darkness of the tail).
    Reverb(float size, float damping);
    void process(float inLeft, float inRight, float& outLeft, float& outRight);

private:
    struct Comb {
        std::vector<float> line;
        size_t pos = 0;
        float store = 0.0f;
    };
    struct AllPass {
        std::vector<float> line;
        size_t pos = 0;
    };
    Comb combs_[2][8];
    AllPass allPasses_[2][4];
    float feedback_, damp_;
};

// Smooth saturation: about linear near 0, approaching +-1.
inline float softClip(float x) {
    if (x > 3.0f) return 1.0f;
    if (x < -3.0f) return -1.0f;
    const float x2 = x * x;
    return x * (27.0f + x2) / (27.0f + 9.0f * x2);
}

// Buffer helpers.
float peakOf(const Samples& s);
void scale(Samples& s, float gain);
void scale(StereoSamples& s, float gain);
// Adds src (times gain) into dst from index `at`; what runs past the end of dst
// wraps round to its start (a loop's tail flows into its beginning).
void addWrapped(Samples& dst, const Samples& src, size_t at, float gain = 1.0f);
// The same without wrapping: what falls past the end is dropped.
void addClipped(Samples& dst, const Samples& src, size_t at, float gain = 1.0f);
// A peak limiter: a gain that keeps every sample (both channels together)
// within the ceiling, spread over two milliseconds around each peak so it never
// steps, and recovering over about 80 ms. A loop is limited round its seam.
void limitPeaks(Samples& s, float ceiling, bool loop);
void limitPeaks(StereoSamples& s, float ceiling, bool loop);
// Short fades at the ends of a one-shot sound so it starts and ends at rest.
void fadeEnds(Samples& s, float fadeInSeconds, float fadeOutSeconds);

// Calls step(i, keep) for every index of a loop of n samples, twice round:
// the first round (keep false) only settles the state of whatever the step
// filters; the second (keep true) is the one to keep.
template <class Step>
void twiceRound(size_t n, Step&& step) {
    for (size_t i = 0; i < n; ++i) step(i, false);
    for (size_t i = 0; i < n; ++i) step(i, true);
}

// Runs a per-sample process over a loop twice and keeps the second pass.
template <class Process>
void processLoop(Samples& s, Process&& process) {
    for (float x : s) (void)process(x);
    for (float& x : s) x = process(x);
}
template <class Process>
void processLoop(StereoSamples& s, Process&& process) {
    for (size_t i = 0; i < s.size(); ++i) {
        float l = s.left[i], r = s.right[i];
        process(l, r);
    }
    for (size_t i = 0; i < s.size(); ++i) process(s.left[i], s.right[i]);
}

}  // namespace gen::audio
