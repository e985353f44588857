#include "audio/audio_measure.h"

#include <algorithm>
#include <cmath>

namespace gen::audio {

namespace {

constexpr double piD = 3.141592653589793;

// The two K-weighting stages (a high shelf for the head, a high-pass for the
// low end), designed from their analogue prototypes for the file's rate.
struct KWeighting {
    Biquad shelf, highPass;
    KWeighting() {
        double f0 = 1681.974450955533, g = 3.999843853973347, q = 0.7071752369554196;
        double k = std::tan(piD * f0 / sampleRate);
        const double vh = std::pow(10.0, g / 20.0), vb = std::pow(vh, 0.4996667741545416);
        double a0 = 1.0 + k / q + k * k;
        shelf.b0 = (vh + vb * k / q + k * k) / a0;
        shelf.b1 = 2.0 * (k * k - vh) / a0;
        shelf.b2 = (vh - vb * k / q + k * k) / a0;
        shelf.a1 = 2.0 * (k * k - 1.0) / a0;
        shelf.a2 = (1.0 - k / q + k * k) / a0;
        f0 = 38.13547087602444;
        q = 0.5003270373238773;
        k = std::tan(piD * f0 / sampleRate);
        a0 = 1.0 + k / q + k * k;
        highPass.b0 = 1.0;
        highPass.b1 = -2.0;
        highPass.b2 = 1.0;
        highPass.a1 = 2.0 * (k * k - 1.0) / a0;
        highPass.a2 = (1.0 - k / q + k * k) / a0;
    }
    float process(float x) { return highPass.process(shelf.process(x)); }
};

double loudnessOf(const std::vector<const Samples*>& channels) {
    const size_t n = channels[0]->size();
    if (n == 0) return -300.0;
    // Squared K-weighted samples, summed over the channels.
    std::vector<double> power(n, 0.0);
    for (const Samples* c : channels) {
        KWeighting k;
        for (size_t i = 0; i < n; ++i) {
            const double y = k.process((*c)[i]);
            power[i] += y * y;
        }
    }
    std::vector<double> prefix(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + power[i];

    const size_t block = samplesFor(0.4), hop = samplesFor(0.1);
    std::vector<double> blocks;
    if (n < block) {
        blocks.push_back(prefix[n] / static_cast<double>(n));
    } else {
        for (size_t start = 0; start + block <= n; start += hop)
            blocks.push_back((prefix[start + block] - prefix[start]) / static_cast<double>(block));
    }
    auto lufs = [](double z) { return z > 0.0 ? -0.691 + 10.0 * std::log10(z) : -300.0; };
    double sum = 0.0;
    int count = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0) {
            sum += z;
            ++count;
        }
    if (count == 0) return -300.0;
    const double relativeGate = lufs(sum / count) - 10.0;
    sum = 0.0;
    count = 0;
    for (double z : blocks)
        if (lufs(z) > -70.0 && lufs(z) > relativeGate) {
            sum += z;
            ++count;
        }
    return count == 0 ? -300.0 : lufs(sum / count);
}

}  // namespace

double integratedLoudness(const Samples& mono) { return loudnessOf({&mono}); }

double integratedLoudness(const StereoSamples& stereo) { return loudnessOf({&stereo.left, &stereo.right}); }

float peakDb(const Samples& s) { return gainToDb(peakOf(s)); }

float largestStep(const Samples& s) {
    float step = 0.0f;
    for (size_t i = 1; i < s.size(); ++i) step = std::max(step, std::fabs(s[i] - s[i - 1]));
    return step;
}

float seamStep(const Samples& s) { return s.empty() ? 0.0f : std::fabs(s.front() - s.back()); }

void fft(std::vector<std::complex<float>>& data) {
    const size_t n = data.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(data[i], data[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * piD / static_cast<double>(len);
        const std::complex<float> unit(static_cast<float>(std::cos(angle)), static_cast<float>(std::sin(angle)));
        for (size_t i = 0; i < n; i += len) {
            std::complex<float> w(1.0f, 0.0f);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<float> a = data[i + k], b = data[i + k + len / 2] * w;
                data[i + k] = a + b;
                data[i + k + len / 2] = a - b;
                w *= unit;
            }
        }
    }
}

std::vector<float> magnitudeSpectrum(const Samples& s, size_t offset, size_t size) {
    std::vector<std::complex<float>> data(size);
    for (size_t i = 0; i < size; ++i) {
        const float window = 0.5f - 0.5f * std::cos(twoPi * static_cast<float>(i) / static_cast<float>(size));
        const size_t at = offset + i;
        data[i] = at < s.size() ? s[at] * window : 0.0f;
    }
    fft(data);
    std::vector<float> magnitude(size / 2);
    for (size_t k = 0; k < magnitude.size(); ++k) magnitude[k] = std::abs(data[k]) * 4.0f / static_cast<float>(size);
    return magnitude;
}

float dominantFrequency(const Samples& s, size_t offset, size_t size, float minHz, float maxHz) {
    const std::vector<float> m = magnitudeSpectrum(s, offset, size);
    const float binHz = static_cast<float>(sampleRate) / static_cast<float>(size);
    const size_t lo = std::max<size_t>(1, static_cast<size_t>(minHz / binHz));
    const size_t hi = std::min(m.size() - 2, static_cast<size_t>(maxHz / binHz) + 1);
    size_t best = 0;
    for (size_t k = lo; k <= hi; ++k)
        if (best == 0 || m[k] > m[best]) best = k;
    if (best == 0 || m[best] <= 0.0f) return 0.0f;
    // Parabola through the log magnitudes of the peak and its neighbours.
    const float a = std::log(m[best - 1] + 1e-12f), b = std::log(m[best] + 1e-12f), c = std::log(m[best + 1] + 1e-12f);
    const float denominator = a - 2.0f * b + c;
    const float shift = denominator != 0.0f ? std::clamp(0.5f * (a - c) / denominator, -0.5f, 0.5f) : 0.0f;
    return (static_cast<float>(best) + shift) * binHz;
}

namespace {

// The peak of m near bin k, refined between bins (parabola through log magnitudes).
float refinedPeak(const std::vector<float>& m, size_t k) {
    if (k < 1 || k + 1 >= m.size()) return static_cast<float>(k);
    const float a = std::log(m[k - 1] + 1e-12f), b = std::log(m[k] + 1e-12f), c = std::log(m[k + 1] + 1e-12f);
    const float denominator = a - 2.0f * b + c;
    const float shift = denominator != 0.0f ? std::clamp(0.5f * (a - c) / denominator, -0.5f, 0.5f) : 0.0f;
    return static_cast<float>(k) + shift;
}

}  // namespace

float fundamentalFrequency(const Samples& s, size_t offset, size_t size, float minHz, float maxHz) {
    const std::vector<float> m = magnitudeSpectrum(s, offset, size);
    const float binHz = static_cast<float>(sampleRate) / static_cast<float>(size);
    constexpr size_t harmonics = 5;
    const size_t lo = std::max<size_t>(1, static_cast<size_t>(minHz / binHz));
    const size_t hi = std::min((m.size() - 2) / harmonics, static_cast<size_t>(maxHz / binHz) + 1);
    size_t best = 0;
    double bestScore = 0.0;
    for (size_t k = lo; k <= hi; ++k) {
        double score = 0.0;
        for (size_t h = 1; h <= harmonics; ++h) {
            float strongest = 0.0f;
            for (size_t j = h * k - h / 2; j <= h * k + h / 2; ++j) strongest = std::max(strongest, m[j]);
            score += std::log(strongest + 1e-9f);
        }
        if (best == 0 || score > bestScore) {
            best = k;
            bestScore = score;
        }
    }
    if (best == 0 || m[best] <= 0.0f) return 0.0f;
    size_t peak = best;
    for (size_t j = best - 1; j <= best + 1; ++j)
        if (m[j] > m[peak]) peak = j;
    return refinedPeak(m, peak) * binHz;
}

Raster spectrogramImage(const Samples& s, int width, int height) {
    Raster image(width, height, palette::black);
    constexpr size_t fftSize = 2048;
    const float binHz = static_cast<float>(sampleRate) / fftSize;
    const float logLow = std::log(20.0f), logHigh = std::log(20000.0f);
    // Colour ramp from silence to full scale: black, deep blue, violet, orange, yellow, white.
    const Color ramp[] = {rgb(0x000000), rgb(0x10104a), rgb(0x6a1a8a), rgb(0xd8482a), rgb(0xffc23a), rgb(0xffffff)};
    constexpr int rampLast = 5;
    for (int x = 0; x < width; ++x) {
        const double centre = (x + 0.5) / width * static_cast<double>(s.size());
        const size_t offset = centre > fftSize / 2 ? static_cast<size_t>(centre) - fftSize / 2 : 0;
        const std::vector<float> m = magnitudeSpectrum(s, offset, fftSize);
        for (int y = 0; y < height; ++y) {
            // Each row covers a band of frequencies; take the strongest bin in it.
            const float f0 = std::exp(logLow + (logHigh - logLow) * (height - 1 - y + 0.0f) / height);
            const float f1 = std::exp(logLow + (logHigh - logLow) * (height - y + 0.0f) / height);
            size_t k0 = static_cast<size_t>(f0 / binHz), k1 = static_cast<size_t>(f1 / binHz);
            k1 = std::min(std::max(k1, k0), m.size() - 1);
            float level = 0.0f;
            for (size_t k = k0; k <= k1; ++k) level = std::max(level, m[k]);
            const float db = gainToDb(level);
            const float t = std::clamp((db + 96.0f) / 96.0f, 0.0f, 1.0f) * rampLast;
            const int i = std::min(static_cast<int>(t), rampLast - 1);
            image.at(x, y) = lerp(ramp[i], ramp[i + 1], t - static_cast<float>(i));
        }
    }
    for (float hz : {100.0f, 1000.0f, 10000.0f}) {
        const int y = height - 1 - static_cast<int>((std::log(hz) - logLow) / (logHigh - logLow) * height);
        for (int x = 0; x < width; x += 2) image.blendPixel(x, y, rgb(0x80c0ff), 0.5f);
    }
    return image;
}

float levelTo(Samples& s, float lufs, float ceilingDb) {
    const double now = integratedLoudness(s);
    const float peak = peakOf(s);
    if (now < -200.0 || peak <= 0.0f) return 1.0f;
    float gain = dbToGain(static_cast<float>(lufs - now));
    gain = std::min(gain, dbToGain(ceilingDb) / peak);
    scale(s, gain);
    return gain;
}

namespace {

template <class Sound, class Limit>
void levelLimited(Sound& s, float lufs, float ceilingDb, Limit&& limit) {
    const double start = integratedLoudness(s);
    if (start < -200.0) return;
    float gain = dbToGain(static_cast<float>(lufs - start));
    Sound levelled;
    for (int attempt = 0; attempt < 6; ++attempt) {
        levelled = s;
        scale(levelled, gain);
        limit(levelled, dbToGain(ceilingDb));
        const double now = integratedLoudness(levelled);
        if (std::fabs(now - lufs) < 0.05) break;
        gain *= dbToGain(static_cast<float>(lufs - now));
    }
    s = std::move(levelled);
}

}  // namespace

void levelUnderLimiter(Samples& s, float lufs, float ceilingDb, bool loop) {
    levelLimited(s, lufs, ceilingDb, [loop](Samples& x, float c) { limitPeaks(x, c, loop); });
}

void levelUnderLimiter(StereoSamples& s, float lufs, float ceilingDb) {
    levelLimited(s, lufs, ceilingDb, [](StereoSamples& x, float c) { limitPeaks(x, c, true); });
}

}  // namespace gen::audio
