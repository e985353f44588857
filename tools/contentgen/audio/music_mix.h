// A music loop written out as a score (notes per instrument, the instruments'
// tones, the mix) and rendered: every part into its bus, the kick ducking the
// bass and the chords, a ping-pong delay and a reverb, then the master levelled
// to the music's loudness under a peak limiter. Everything runs round the
// loop, so the finished loop has no seam.
#pragma once

#include "audio/instruments.h"
#include "audio/sequencer.h"

#include <vector>

namespace gen::audio {

// Chords by bar: chord k lasts barsPerChord bars, the progression repeats.
struct Harmony {
    std::vector<std::vector<float>> chords;  // pad voicings
    std::vector<float> roots;                // bass notes
    int barsPerChord = 1;
    const std::vector<float>& chordAt(int bar) const { return chords[(bar / barsPerChord) % chords.size()]; }
    float rootAt(int bar) const { return roots[(bar / barsPerChord) % roots.size()]; }
};

struct Mix {
    float kick = 0.85f, snare = 0.7f, clap = 0.6f, hats = 0.3f, shaker = 0.18f, toms = 0.45f, crash = 0.22f;
    float riser = 0.15f, boom = 0.3f;
    float bass = 0.36f, pad = 0.24f, arp = 0.5f, stab = 0.3f, lead = 0.45f;
    float duckBass = 0.6f, duckPad = 0.5f, duckArp = 0.3f;  // how deep the kick ducks them
    float reverbSize = 0.8f, reverbDamping = 0.5f, reverbReturn = 0.33f;
    float delayBeats = 0.75f, delayFeedback = 0.38f, delayReturn = 0.45f;
};

struct Score {
    Tempo tempo;
    uint64_t seed = 1;
    Notes kick, snare, clap, closedHat, openHat, shaker, toms, crash, risers, booms;
    Notes bass, pad, arp, stab, lead;
    KickTone kickTone;
    float snareHz = 185.0f, snareDecay = 0.16f;
    BassTone bassTone;
    PadTone padTone;
    int padSweepCycles = 4;
    PluckTone arpTone, stabTone;
    LeadTone leadTone;
    Mix mix;

    // Writing helpers, bars counted from 0, `to` exclusive.
    void drums(Notes& part, const std::string& pattern, int from, int to, float velocity = 1.0f);
    // Bass steps: 'R' root, 'O' octave up, 'F' fifth, lower case softer, '-' holds
    // the note before, '.' rest.
    void bassline(const Harmony& h, const std::string& pattern, int from, int to);
    void chords(const Harmony& h, int from, int to, float velocity = 1.0f);
    // Arpeggio steps: a digit d plays chord tone d (counting on into the next octave), '.' rests.
    void arpeggio(const Harmony& h, const std::string& pattern, int from, int to, float transpose = 12.0f,
                  float velocity = 1.0f);
    // Chord stabs on the pattern's hits.
    void stabs(const Harmony& h, const std::string& pattern, int from, int to, float transpose = 12.0f);
    void melodyAt(const std::string& tokens, int bar, float transpose = 0.0f, float velocity = 1.0f);
    // A noise riser over the bars [from, to) and a crash and boom at `to`.
    void buildInto(int from, int to);
};

StereoSamples renderScore(const Score& score, float loudness);

}  // namespace gen::audio
