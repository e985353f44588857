// The music's instruments: a synthesised drum kit and the synth voices (bass,
// pad, pluck, lead). Each call adds one note into a loop bus from sample `at`;
// whatever rings past the loop's end wraps round to its start.
#pragma once

#include "audio/sequencer.h"
#include "audio/synth.h"

namespace gen::audio {

inline void addAt(StereoSamples& bus, size_t i, float left, float right) {
    const size_t n = bus.size();
    if (i >= n) i %= n;
    bus.left[i] += left;
    bus.right[i] += right;
}

struct KickTone {
    float startHz = 160.0f, endHz = 48.0f;
    float pitchDecay = 0.035f;  // seconds
    float decay = 0.22f;
    float click = 0.3f;
    float drive = 1.6f;
};
void kick(StereoSamples& bus, size_t at, float velocity, const KickTone& tone, uint64_t seed);
void snare(StereoSamples& bus, size_t at, float velocity, float tuneHz, float decay, uint64_t seed);
void clap(StereoSamples& bus, size_t at, float velocity, uint64_t seed);
void hat(StereoSamples& bus, size_t at, float velocity, bool open, float pan, uint64_t seed);
void shaker(StereoSamples& bus, size_t at, float velocity, float pan, uint64_t seed);
void tom(StereoSamples& bus, size_t at, float velocity, float hz, float pan, uint64_t seed);
void cymbal(StereoSamples& bus, size_t at, float velocity, uint64_t seed);
// A noise sweep rising over `length` samples into the next section.
void riser(StereoSamples& bus, size_t at, size_t length, float velocity, uint64_t seed);
// A deep falling boom that marks the start of a section.
void boom(StereoSamples& bus, size_t at, float velocity);

struct BassTone {
    float cutoff = 260.0f;     // Hz, the filter at rest
    float envelope = 1600.0f;  // Hz added at the note's start
    float envDecay = 0.12f;
    float resonance = 1.3f;
    float sub = 0.6f;          // sine an octave below
    float square = 0.0f;       // 0 saw .. 1 square
    float drive = 1.6f;
    float release = 0.03f;
};
void bassNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, const BassTone& tone);

struct PadTone {
    float cutoff = 1800.0f;
    float resonance = 0.8f;
    float attack = 0.5f, release = 1.2f;
    float detuneCents = 12.0f;
    float sweep = 0.35f;  // share of the cutoff the slow sweep moves
};
// Three detuned saws per side through a slowly sweeping low-pass; the sweep
// completes `sweepCycles` cycles per loop of `loopSamples`.
void padNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, const PadTone& tone,
             size_t loopSamples, int sweepCycles, uint64_t seed);

struct PluckTone {
    float cutoff = 600.0f, envelope = 4500.0f, envDecay = 0.09f;
    float decay = 0.25f;
    float resonance = 1.2f;
    float pulse = 0.3f;  // share of a narrow pulse beside the saw
    float release = 0.05f;
};
void pluckNote(StereoSamples& bus, size_t at, size_t length, float hz, float velocity, float pan, const PluckTone& tone);

struct LeadTone {
    float cutoff = 2800.0f, resonance = 1.0f;
    float detuneCents = 9.0f;
    float square = 0.35f;     // a square an octave below under the saws
    float glide = 0.045f;     // seconds to slide between glided notes
    float vibrato = 0.006f;   // depth, share of the pitch
    float attack = 0.01f, release = 0.15f;
};
// A monophonic line: glided notes slide from the note before without starting again.
void leadLine(StereoSamples& bus, const Notes& notes, const Tempo& tempo, const LeadTone& tone, float pan);

}  // namespace gen::audio
