// Measurements of sound: loudness (ITU-R BS.1770 integrated, in LUFS), peaks,
// the sample steps that show a click at a loop's seam, spectra, the dominant
// frequency of a stretch and spectrogram pictures. The generator levels its
// sounds with them; the tests and the lab measure files and captures with them.
#pragma once

#include "audio/synth.h"
#include "raster.h"

#include <complex>
#include <vector>

namespace gen::audio {

// Integrated loudness with the K-weighting and the -70 LUFS / -10 LU gates, at
// 44.1 kHz. A mono sound counts as one channel; a sound shorter than one
// 400 ms block is measured as one block. -300 for silence.
double integratedLoudness(const Samples& mono);
double integratedLoudness(const StereoSamples& stereo);

float peakDb(const Samples& s);
// The largest step between neighbouring samples inside the sound.
float largestStep(const Samples& s);
// The step a loop makes from its last sample back to its first.
float seamStep(const Samples& s);

// In-place radix-2 FFT; the size must be a power of two.
void fft(std::vector<std::complex<float>>& data);
// Magnitudes of a Hann-windowed stretch of `size` samples (a power of two)
// starting at `offset`; bin k is k * 44100 / size Hz.
std::vector<float> magnitudeSpectrum(const Samples& s, size_t offset, size_t size);
// The frequency of the strongest spectral peak between minHz and maxHz in that
// stretch, refined between bins; 0 for silence.
float dominantFrequency(const Samples& s, size_t offset, size_t size, float minHz, float maxHz);
// The fundamental of a harmonic sound in that stretch (the frequency whose
// first five harmonics together stand out most), refined between bins; 0 for
// silence. Unlike the dominant frequency it does not jump to a harmonic that
// happens to be louder.
float fundamentalFrequency(const Samples& s, size_t offset, size_t size, float minHz, float maxHz);

// A spectrogram: time to the right, frequency upwards on a log scale from
// 20 Hz to 20 kHz (faint lines at 100 Hz, 1 kHz and 10 kHz), level in colour
// from -96 dB (black) to 0 dB (white).
Raster spectrogramImage(const Samples& s, int width, int height);

// Scales a sound to a loudness, unless that would lift its peak above
// ceilingDb: then the peak sets the gain. Returns the gain applied.
float levelTo(Samples& s, float lufs, float ceilingDb = -1.0f);
// Scales a sound to a loudness and limits its peaks to ceilingDb, correcting
// the gain for what the limiter takes until the loudness is met.
void levelUnderLimiter(Samples& s, float lufs, float ceilingDb, bool loop);
void levelUnderLimiter(StereoSamples& s, float lufs, float ceilingDb);

}  // namespace gen::audio
