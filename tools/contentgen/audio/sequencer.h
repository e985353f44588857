// The music sequencer: tempo and bars, notes, and the little notations the
// tracks are written in.
//
//   Step patterns, one character per sixteenth: 'X' accent, 'x' hit,
//   'o' ghost, '.' rest.                      "x...x...x...x..."
//   Melodies, tokens of note:sixteenths, '-' a rest, '>' before a note
//   glides into it from the note before.      "E5:6 D5:2 -:4 >C5:4"
//   Chords, note names separated by spaces.   "A3 C4 E4 G4"
#pragma once

#include "audio/synth.h"

#include <string>
#include <vector>

namespace gen::audio {

struct Tempo {
    double bpm = 120.0;
    int bars = 0;  // length of the loop
    double samplesPerBeat() const { return 60.0 * sampleRate / bpm; }
    double beats() const { return 4.0 * bars; }
    size_t loopSamples() const { return static_cast<size_t>(std::llround(beats() * samplesPerBeat())); }
    size_t sampleAt(double beat) const { return static_cast<size_t>(std::llround(beat * samplesPerBeat())); }
    double seconds(double beats) const { return beats * 60.0 / bpm; }
};

struct Note {
    double beat = 0.0;    // start, in beats from the loop's start
    double length = 0.25; // in beats
    float pitch = 0.0f;   // MIDI note number (60 = middle C)
    float velocity = 1.0f;
    bool glide = false;   // slides from the previous note instead of starting afresh
};

using Notes = std::vector<Note>;

// MIDI number of a note name such as "C4", "F#3" or "Bb5"; throws on nonsense.
float noteNumber(const std::string& name);
std::vector<float> chord(const std::string& names);

// A step pattern starting at startBeat; every hit gets the given pitch.
Notes steps(const std::string& pattern, double startBeat, float pitch = 0.0f, double stepBeats = 0.25);
// A melody starting at startBeat.
Notes melody(const std::string& tokens, double startBeat, double stepBeats = 0.25);

void append(Notes& to, const Notes& more);
// The notes shifted by a number of beats and semitones.
Notes shifted(const Notes& notes, double beats, float semitones = 0.0f);

}  // namespace gen::audio
