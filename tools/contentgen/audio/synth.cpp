#include "audio/synth.h"

#include <algorithm>

namespace gen::audio {

namespace {

// The polyBLEP residual that rounds off a step at phase 0 (t in 0..1, dt the phase step).
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap01(double x) { return x - std::floor(x); }

}  // namespace

double Oscillator::step(float hz) {
    const double dt = std::min(0.5, std::fabs(static_cast<double>(hz)) / sampleRate);
    phase_ += dt;
    if (phase_ >= 1.0) phase_ -= std::floor(phase_);
    return dt;
}

float Oscillator::sine(float hz) {
    const float v = std::sin(twoPi * static_cast<float>(phase_));
    step(hz);
    return v;
}

float Oscillator::saw(float hz) {
    const double dt = std::min(0.5, std::fabs(static_cast<double>(hz)) / sampleRate);
    const double v = 2.0 * phase_ - 1.0 - polyBlep(phase_, dt);
    step(hz);
    return static_cast<float>(v);
}

float Oscillator::pulse(float hz, float width) {
    const double dt = std::min(0.5, std::fabs(static_cast<double>(hz)) / sampleRate);
    const double w = std::clamp(static_cast<double>(width), 0.02, 0.98);
    double v = phase_ < w ? 1.0 : -1.0;
    v += polyBlep(phase_, dt);
    v -= polyBlep(wrap01(phase_ + 1.0 - w), dt);
    step(hz);
    return static_cast<float>(v);
}

float Oscillator::triangle(float hz) {
    const float v = 4.0f * std::fabs(static_cast<float>(phase_) - 0.5f) - 1.0f;
    step(hz);
    return v;
}

float PinkFilter::process(float w) {
    b_[0] = 0.99886f * b_[0] + w * 0.0555179f;
    b_[1] = 0.99332f * b_[1] + w * 0.0750759f;
    b_[2] = 0.96900f * b_[2] + w * 0.1538520f;
    b_[3] = 0.86650f * b_[3] + w * 0.3104856f;
    b_[4] = 0.55000f * b_[4] + w * 0.5329522f;
    b_[5] = -0.7616f * b_[5] - w * 0.0168980f;
    const float out = b_[0] + b_[1] + b_[2] + b_[3] + b_[4] + b_[5] + b_[6] + w * 0.5362f;
    b_[6] = w * 0.115926f;
    return out * 0.2f;
}

Samples whiteLoop(size_t n, uint64_t seed) {
    Noise noise(seed);
    Samples s(n);
    for (float& x : s) x = noise.white();
    return s;
}

Samples pinkLoop(size_t n, uint64_t seed) {
    Samples s = whiteLoop(n, seed);
    PinkFilter pink;
    processLoop(s, [&](float x) { return pink.process(x); });
    return s;
}

Samples brownLoop(size_t n, uint64_t seed) {
    Samples s = whiteLoop(n, seed);
    BrownFilter brown;
    processLoop(s, [&](float x) { return brown.process(x); });
    return s;
}

float adsr(float t, float attack, float decay, float sustain, float release, float gate) {
    auto held = [&](float u) {
        if (u < attack) return u / attack;
        u -= attack;
        return sustain + (1.0f - sustain) * std::exp(-3.0f * u / std::max(decay, 1e-4f));
    };
    if (t < 0.0f) return 0.0f;
    if (t < gate) return held(t);
    const float r = t - gate;
    if (r >= release) return 0.0f;
    const float k = 1.0f - r / release;
    return held(gate) * k * k;
}

float attackDecay(float t, float attack, float decay) {
    if (t < 0.0f) return 0.0f;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

namespace {

struct Raw {
    double b0, b1, b2, a0, a1, a2;
};

Biquad normalised(const Raw& r) {
    Biquad q;
    q.b0 = r.b0 / r.a0;
    q.b1 = r.b1 / r.a0;
    q.b2 = r.b2 / r.a0;
    q.a1 = r.a1 / r.a0;
    q.a2 = r.a2 / r.a0;
    return q;
}

double omega(float hz) { return 2.0 * 3.141592653589793 * std::clamp(static_cast<double>(hz), 1.0, 0.49 * sampleRate) / sampleRate; }

}  // namespace

Biquad Biquad::lowpass(float hz, float q) {
    const double w = omega(hz), c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return normalised({(1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha});
}

Biquad Biquad::highpass(float hz, float q) {
    const double w = omega(hz), c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return normalised({(1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha});
}

Biquad Biquad::bandpass(float hz, float q) {
    const double w = omega(hz), c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    return normalised({alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha});
}

Biquad Biquad::peak(float hz, float q, float db) {
    const double w = omega(hz), c = std::cos(w), alpha = std::sin(w) / (2.0 * q);
    const double a = std::pow(10.0, db / 40.0);
    return normalised({1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a});
}

Biquad Biquad::lowShelf(float hz, float db) {
    const double w = omega(hz), c = std::cos(w);
    const double a = std::pow(10.0, db / 40.0), alpha = std::sin(w) / 2.0 * std::sqrt(2.0), s = 2.0 * std::sqrt(a) * alpha;
    return normalised({a * ((a + 1) - (a - 1) * c + s), 2 * a * ((a - 1) - (a + 1) * c), a * ((a + 1) - (a - 1) * c - s),
                       (a + 1) + (a - 1) * c + s, -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - s});
}

Biquad Biquad::highShelf(float hz, float db) {
    const double w = omega(hz), c = std::cos(w);
    const double a = std::pow(10.0, db / 40.0), alpha = std::sin(w) / 2.0 * std::sqrt(2.0), s = 2.0 * std::sqrt(a) * alpha;
    return normalised({a * ((a + 1) + (a - 1) * c + s), -2 * a * ((a - 1) + (a + 1) * c), a * ((a + 1) + (a - 1) * c - s),
                       (a + 1) - (a - 1) * c + s, 2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - s});
}

void Svf::set(float hz, float q) {
    hz = std::clamp(hz, 5.0f, 0.45f * sampleRate);
    g_ = std::tan(pi * hz / sampleRate);
    k_ = 1.0f / std::max(q, 0.05f);
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

Svf::Out Svf::process(float x) {
    const float v3 = x - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

float DelayLine::read(float delaySamples) const {
    const size_t n = buffer_.size();
    delaySamples = std::clamp(delaySamples, 1.0f, static_cast<float>(n - 2));
    const float whole = std::floor(delaySamples);
    const float frac = delaySamples - whole;
    const size_t d = static_cast<size_t>(whole);
    const size_t i0 = (pos_ + n - d) % n;
    const size_t i1 = (i0 + n - 1) % n;
    return buffer_[i0] * (1.0f - frac) + buffer_[i1] * frac;
}

Reverb::Reverb(float size, float damping) {
    static const int combLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static const int allPassLengths[4] = {556, 441, 341, 225};
    constexpr int spread = 23;
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 8; ++i) combs_[side][i].line.assign(combLengths[i] + side * spread, 0.0f);
        for (int i = 0; i < 4; ++i) allPasses_[side][i].line.assign(allPassLengths[i] + side * spread, 0.0f);
    }
    feedback_ = std::clamp(size, 0.0f, 1.0f) * 0.28f + 0.7f;
    damp_ = std::clamp(damping, 0.0f, 1.0f) * 0.4f;
}

void Reverb::process(float inLeft, float inRight, float& outLeft, float& outRight) {
    const float input = (inLeft + inRight) * 0.015f;
    float out[2];
    for (int side = 0; side < 2; ++side) {
        float sum = 0.0f;
        for (Comb& c : combs_[side]) {
            const float y = c.line[c.pos];
            c.store = y * (1.0f - damp_) + c.store * damp_;
            c.line[c.pos] = input + c.store * feedback_;
            if (++c.pos == c.line.size()) c.pos = 0;
            sum += y;
        }
        for (AllPass& a : allPasses_[side]) {
            const float delayed = a.line[a.pos];
            a.line[a.pos] = sum + delayed * 0.5f;
            if (++a.pos == a.line.size()) a.pos = 0;
            sum = delayed - sum;
        }
        out[side] = sum * 3.0f;
    }
    outLeft = out[0];
    outRight = out[1];
}

float peakOf(const Samples& s) {
    float p = 0.0f;
    for (float x : s) p = std::max(p, std::fabs(x));
    return p;
}

void scale(Samples& s, float gain) {
    for (float& x : s) x *= gain;
}

void scale(StereoSamples& s, float gain) {
    scale(s.left, gain);
    scale(s.right, gain);
}

void addWrapped(Samples& dst, const Samples& src, size_t at, float gain) {
    const size_t n = dst.size();
    if (n == 0) return;
    size_t j = at % n;
    for (float x : src) {
        dst[j] += x * gain;
        if (++j == n) j = 0;
    }
}

void addClipped(Samples& dst, const Samples& src, size_t at, float gain) {
    for (size_t i = 0; i < src.size() && at + i < dst.size(); ++i) dst[at + i] += src[i] * gain;
}

namespace {

// The limiter's gain for a sound whose louder channel is `level`.
Samples limiterGain(const Samples& level, float ceiling, bool loop) {
    const long n = static_cast<long>(level.size());
    const long w = static_cast<long>(samplesFor(0.002));
    auto index = [&](long j) -> long {
        if (loop) return ((j % n) + n) % n;
        return std::clamp(j, 0L, n - 1);
    };
    Samples needed(level.size(), 1.0f);
    for (long i = 0; i < n; ++i) {
        if (level[static_cast<size_t>(i)] <= ceiling) continue;
        const float g = ceiling / level[static_cast<size_t>(i)];
        for (long j = i - w; j <= i + w; ++j) {
            float& v = needed[static_cast<size_t>(index(j))];
            v = std::min(v, g);
        }
    }
    // The average over half the window never exceeds what any sample in it needs.
    Samples gain(level.size());
    const long half = w / 2;
    double sum = 0.0;
    for (long j = -half; j <= half; ++j) sum += needed[static_cast<size_t>(index(j))];
    for (long i = 0; i < n; ++i) {
        gain[static_cast<size_t>(i)] = static_cast<float>(sum / static_cast<double>(2 * half + 1));
        sum -= needed[static_cast<size_t>(index(i - half))];
        sum += needed[static_cast<size_t>(index(i + half + 1))];
    }
    const float recover = 1.0f - std::exp(-1.0f / (0.08f * sampleRate));
    float g = 1.0f;
    auto release = [&](float x) {
        g = std::min(x, g + (1.0f - g) * recover);
        return g;
    };
    if (loop) processLoop(gain, release);
    else
        for (float& x : gain) x = release(x);
    return gain;
}

}  // namespace

void limitPeaks(Samples& s, float ceiling, bool loop) {
    Samples level(s.size());
    for (size_t i = 0; i < s.size(); ++i) level[i] = std::fabs(s[i]);
    const Samples gain = limiterGain(level, ceiling, loop);
    for (size_t i = 0; i < s.size(); ++i) s[i] *= gain[i];
}

void limitPeaks(StereoSamples& s, float ceiling, bool loop) {
    Samples level(s.size());
    for (size_t i = 0; i < s.size(); ++i) level[i] = std::max(std::fabs(s.left[i]), std::fabs(s.right[i]));
    const Samples gain = limiterGain(level, ceiling, loop);
    for (size_t i = 0; i < s.size(); ++i) {
        s.left[i] *= gain[i];
        s.right[i] *= gain[i];
    }
}

void fadeEnds(Samples& s, float fadeInSeconds, float fadeOutSeconds) {
    const size_t in = std::min(s.size(), samplesFor(fadeInSeconds));
    const size_t out = std::min(s.size(), samplesFor(fadeOutSeconds));
    for (size_t i = 0; i < in; ++i) s[i] *= static_cast<float>(i) / static_cast<float>(in);
    for (size_t i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
}

}  // namespace gen::audio
