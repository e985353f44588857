// The five music loops: night-drive electronic music, each in its own key,
// tempo and groove, with an arrangement that builds, breaks down and comes back
// before the loop returns to its start.
//
//   menu.ogg  "Neon Skyline"   96 BPM, A minor, 40 bars: slow synthwave
//   1.ogg     "Midnight Run"  118 BPM, F# minor, 48 bars: driving synthwave
//   2.ogg     "Chrome Tunnel" 126 BPM, D minor, 48 bars: dark rolling techno
//   3.ogg     "Harbour Lights" 104 BPM, E minor, 40 bars: half-time breakbeat
//   4.ogg     "Overdrive"     136 BPM, C minor, 56 bars: fast and bright
#include "audio/music_mix.h"
#include "audio/sound_families.h"

namespace gen::audio {

namespace {

Harmony harmony(std::initializer_list<const char*> voicings, const char* roots, int barsPerChord = 1) {
    Harmony h;
    for (const char* v : voicings) h.chords.push_back(chord(v));
    h.roots = chord(roots);
    h.barsPerChord = barsPerChord;
    return h;
}

StereoSamples neonSkyline() {
    Score s;
    s.tempo = {96.0, 40};
    s.seed = 10;
    const Harmony h = harmony({"A3 C4 E4 G4 B4", "F3 A3 C4 E4", "G3 C4 D4 E4", "G3 B3 D4 E4"}, "A2 F2 C3 G2");
    s.kickTone = {140.0f, 46.0f, 0.04f, 0.26f, 0.2f, 1.4f};
    s.snareDecay = 0.22f;
    s.bassTone = {220.0f, 900.0f, 0.15f, 1.1f, 0.7f, 0.0f, 1.3f, 0.04f};
    s.padTone = {1500.0f, 0.9f, 0.8f, 1.6f, 14.0f, 0.4f};
    s.arpTone = {700.0f, 2800.0f, 0.1f, 0.3f, 1.3f, 0.25f, 0.05f};
    s.stabTone = {900.0f, 3000.0f, 0.12f, 0.35f, 1.0f, 0.2f, 0.08f};
    s.leadTone = {2400.0f, 1.1f, 10.0f, 0.3f, 0.06f, 0.007f, 0.02f, 0.25f};
    s.mix.reverbSize = 0.88f;
    s.mix.delayBeats = 0.75f;

    // Intro: chords and a soft arpeggio; hats creep in.
    s.chords(h, 0, 40);
    s.arpeggio(h, "0123432101234321", 0, 24, 12.0f, 0.7f);
    s.drums(s.closedHat, "x.x.x.x.x.x.x.x.", 4, 8, 0.5f);
    s.drums(s.shaker, "..x...x...x...x.", 4, 24);
    s.buildInto(6, 8);
    // Groove: kick, snare, pulsing bass.
    s.drums(s.kick, "X.......x.......", 8, 24);
    s.drums(s.snare, "....X.......X...", 8, 24);
    s.drums(s.closedHat, "x.x.x.x.x.x.x.x.", 8, 24);
    s.bassline(h, "R.R.R.R.R.R.O.R.", 8, 24);
    // The melody over the groove.
    const char* phraseA =
        "E5:6 D5:2 C5:4 B4:4  C5:6 A4:2 -:4 A4:2 C5:2  G5:6 E5:2 D5:4 C5:4  D5:8 -:4 B4:2 D5:2 "
        "E5:6 D5:2 C5:4 E5:4  A5:8 G5:4 E5:4  G5:6 E5:2 D5:4 E5:4  D5:12 -:4";
    const char* phraseB =
        "A5:4 G5:4 E5:4 D5:4  C5:8 A4:8  E5:4 D5:4 C5:4 G4:4  B4:12 -:4 "
        "A5:4 G5:4 E5:4 G5:4  A5:6 B5:2 >C6:8  B5:4 G5:4 E5:4 D5:4  E5:16";
    s.melodyAt(phraseA, 16);
    s.drums(s.openHat, "..x...x...x...x.", 16, 24, 0.6f);
    s.drums(s.toms, "............xxxx", 23, 24, 0.8f);
    // Break: no drums, the arpeggio climbs, the melody's first half echoes low.
    s.arpeggio(h, "0246024602460246", 24, 32, 12.0f, 0.8f);
    s.melodyAt(phraseA, 24, -12.0f, 0.6f);
    s.buildInto(30, 32);
    // Return with the second phrase, stabs and everything.
    s.drums(s.kick, "X.......x.....x.", 32, 40);
    s.drums(s.snare, "....X.......X...", 32, 40);
    s.drums(s.closedHat, "x.xox.xox.xox.xo", 32, 40);
    s.drums(s.openHat, "..x...x...x...x.", 32, 40, 0.6f);
    s.bassline(h, "R.R.R.R.R.R.O.R.", 32, 40);
    s.arpeggio(h, "0123432101234321", 32, 40, 24.0f, 0.6f);
    s.stabs(h, "x.....x.........", 32, 40, 0.0f);
    s.melodyAt(phraseB, 32);
    // The fill's four toms fall a minor third each.
    for (Note& n : s.toms) n.pitch = 45.0f + static_cast<float>(static_cast<int>(n.beat * 4.0) % 4) * -3.0f;
    return renderScore(s, musicLoudness);
}

StereoSamples midnightRun() {
    Score s;
    s.tempo = {118.0, 48};
    s.seed = 20;
    const Harmony h = harmony({"F#3 A3 C#4 E4", "F#3 A3 D4", "E3 A3 C#4", "E3 G#3 B3"}, "F#2 D2 A2 E2");
    s.kickTone = {165.0f, 50.0f, 0.03f, 0.2f, 0.35f, 1.8f};
    s.bassTone = {180.0f, 1400.0f, 0.09f, 1.6f, 0.55f, 0.0f, 1.8f, 0.02f};
    s.padTone = {2000.0f, 0.8f, 0.4f, 1.0f, 11.0f, 0.3f};
    s.arpTone = {600.0f, 4500.0f, 0.07f, 0.2f, 1.4f, 0.35f, 0.04f};
    s.stabTone = {1200.0f, 4000.0f, 0.08f, 0.22f, 1.1f, 0.3f, 0.05f};
    s.leadTone = {3000.0f, 1.0f, 9.0f, 0.35f, 0.04f, 0.006f, 0.01f, 0.15f};

    // Intro: four to the floor and a galloping bass behind a closed filter.
    s.drums(s.kick, "X...x...x...x...", 0, 32);
    s.drums(s.closedHat, "xoxoxoxoxoxoxoxo", 0, 48, 0.7f);
    s.bassline(h, "R.rrR.rrR.rrR.rr", 0, 48);
    s.buildInto(6, 8);
    // The chords and the backbeat.
    s.chords(h, 8, 48);
    s.drums(s.clap, "....X.......X...", 8, 32);
    s.drums(s.openHat, "..x...x...x...x.", 8, 32);
    // Two melodies over arpeggios.
    const char* phraseA =
        "C#5:3 C#5:3 B4:2 C#5:4 E5:4  F#5:6 E5:2 D5:4 C#5:4  E5:3 E5:3 C#5:2 A4:4 B4:4  B4:8 G#4:4 B4:4 "
        "C#5:3 C#5:3 B4:2 C#5:4 F#5:4  A5:6 G#5:2 F#5:4 E5:4  E5:4 C#5:4 E5:4 A5:4  G#5:12 -:4";
    const char* phraseB =
        "F#5:2 -:2 F#5:2 E5:2 C#5:4 A4:4  D5:8 -:4 D5:2 E5:2  E5:2 -:2 E5:2 C#5:2 A4:4 E5:4  G#4:8 B4:8 "
        "F#5:2 -:2 F#5:2 G#5:2 A5:4 C#6:4  B5:8 A5:4 F#5:4  E5:4 A5:4 G#5:4 E5:4  F#5:16";
    s.arpeggio(h, "0120120120120120", 16, 48, 12.0f, 0.8f);
    s.melodyAt(phraseA, 16);
    s.melodyAt(phraseB, 24);
    s.drums(s.snare, "........x.x.xxxx", 23, 24, 0.6f);
    s.drums(s.snare, "....x...x.x.xxxx", 31, 32, 0.7f);
    // Break: kick and claps out, stabs answer the melody.
    s.stabs(h, "x..x..x.........", 32, 40);
    s.melodyAt(phraseA, 32, 0.0f, 0.7f);
    s.buildInto(38, 40);
    s.drums(s.snare, "x.x.x.x.xxxxXXXX", 39, 40, 0.7f);
    // The last run: everything, the second melody an octave up.
    s.drums(s.kick, "X...x...x...x...", 40, 48);
    s.drums(s.clap, "....X.......X...", 40, 48);
    s.drums(s.openHat, "..x...x...x...x.", 40, 48);
    s.stabs(h, "x..x..x.........", 40, 48);
    s.melodyAt(phraseB, 40, 12.0f, 0.8f);
    return renderScore(s, musicLoudness);
}

StereoSamples chromeTunnel() {
    Score s;
    s.tempo = {126.0, 48};
    s.seed = 30;
    const Harmony h = harmony({"D3 F3 A3", "D3 F3 Bb3", "D3 G3 Bb3", "C#3 E3 A3"}, "D2 Bb1 G1 A1", 2);
    s.kickTone = {150.0f, 44.0f, 0.03f, 0.24f, 0.3f, 2.0f};
    s.snareHz = 170.0f;
    s.bassTone = {140.0f, 1100.0f, 0.06f, 2.2f, 0.45f, 0.4f, 2.2f, 0.02f};
    s.padTone = {900.0f, 1.2f, 1.0f, 1.6f, 16.0f, 0.5f};
    s.arpTone = {400.0f, 3000.0f, 0.05f, 0.15f, 2.5f, 0.5f, 0.03f};
    s.stabTone = {700.0f, 3500.0f, 0.06f, 0.2f, 1.8f, 0.5f, 0.05f};
    // The lead is a resonant square with slides: acid.
    s.leadTone = {1400.0f, 3.5f, 4.0f, 0.8f, 0.06f, 0.003f, 0.005f, 0.1f};
    s.mix.lead = 0.2f;
    s.mix.bass = 0.5f;
    s.mix.delayBeats = 0.5f;
    s.mix.reverbSize = 0.75f;

    // Rolling bass between the kicks from the first bar.
    s.drums(s.kick, "X...x...x...x...", 0, 24);
    s.drums(s.openHat, "..x...x...x...x.", 0, 48, 0.8f);
    s.bassline(h, ".RRR.RRR.RRR.RrO", 0, 24);
    s.drums(s.toms, "x.....x.....x...", 4, 8, 0.5f);
    // Clap and busy hats; the acid line enters.
    s.drums(s.clap, "....X.......X...", 8, 24);
    s.drums(s.closedHat, "xxoxxxoxxxoxxxox", 8, 48, 0.6f);
    const char* acid =
        "D5:2 -:1 D5:1 F5:2 A5:2 -:2 >G5:2 F5:2 E5:2  F5:2 -:1 F5:1 D5:2 Bb4:2 -:2 >C5:2 D5:4 "
        "G5:2 -:1 G5:1 Bb5:2 A5:2 -:2 >G5:2 F5:2 D5:2  E5:2 -:1 E5:1 C#5:2 E5:2 A5:4 G5:2 E5:2";
    const char* acidEnd =
        "D5:2 -:1 D5:1 F5:2 A5:2 -:2 >G5:2 F5:2 E5:2  F5:2 -:1 F5:1 D5:2 Bb4:2 -:2 >C5:2 D5:4 "
        "G5:2 -:1 G5:1 Bb5:2 A5:2 -:2 >G5:2 F5:2 D5:2  C#5:8 E5:8";
    const char* longLine =
        "A5:8 >F5:8  D6:8 >Bb5:8  G5:8 >Bb5:4 A5:4  C#6:12 -:4  A5:8 >F5:8  D6:8 >Bb5:8  G5:8 >Bb5:4 A5:4  D6:16";
    s.melodyAt(acid, 8, -12.0f);
    s.melodyAt(acidEnd, 12, -12.0f);
    // Dark chords arrive.
    s.chords(h, 16, 48);
    s.melodyAt(acid, 16, -12.0f);
    s.melodyAt(acidEnd, 20, -12.0f);
    s.drums(s.toms, "........x.x.xxxx", 23, 24, 0.7f);
    // Break: the long line floats over the chords, a riser brings the drums back.
    s.melodyAt(longLine, 24, 0.0f, 0.8f);
    s.arpeggio(h, "0.1.2.0.1.2.0.12", 24, 32, 12.0f, 0.7f);
    s.buildInto(30, 32);
    // Everything, the acid line and the long line in turn.
    s.drums(s.kick, "X...x...x...x...", 32, 48);
    s.drums(s.clap, "....X.......X...", 32, 48);
    s.bassline(h, ".RRR.RRR.RRR.RrO", 32, 48);
    s.stabs(h, "...x.....x....x.", 32, 48, 12.0f);
    s.melodyAt(acid, 32, -12.0f);
    s.melodyAt(acidEnd, 36, -12.0f);
    s.melodyAt(longLine, 40, 0.0f, 0.8f);
    return renderScore(s, musicLoudness);
}

StereoSamples harbourLights() {
    Score s;
    s.tempo = {104.0, 40};
    s.seed = 40;
    const Harmony h = harmony({"E3 G3 B3 D4", "G3 B3 C4 E4", "G3 B3 D4 F#4", "F#3 A3 D4 E4"}, "E2 C2 G2 D2");
    s.kickTone = {130.0f, 45.0f, 0.05f, 0.3f, 0.25f, 1.5f};
    s.snareHz = 200.0f;
    s.snareDecay = 0.2f;
    s.bassTone = {300.0f, 600.0f, 0.25f, 0.9f, 0.8f, 0.2f, 1.2f, 0.06f};
    s.padTone = {1300.0f, 0.9f, 1.2f, 2.0f, 13.0f, 0.35f};
    s.arpTone = {900.0f, 3500.0f, 0.12f, 0.4f, 1.0f, 0.15f, 0.06f};
    s.stabTone = {1000.0f, 2500.0f, 0.15f, 0.4f, 0.9f, 0.2f, 0.1f};
    s.leadTone = {2200.0f, 1.2f, 12.0f, 0.25f, 0.08f, 0.009f, 0.03f, 0.3f};
    s.mix.reverbSize = 0.9f;
    s.mix.reverbReturn = 0.4f;
    s.mix.arp = 0.55f;
    s.mix.delayBeats = 0.75f;

    // Intro: chords and a rippling arpeggio, the harbour at night.
    s.chords(h, 0, 40);
    s.arpeggio(h, "0123012301230123", 0, 40, 12.0f, 0.85f);
    s.drums(s.shaker, "x.x.x.x.x.x.x.x.", 4, 40, 0.7f);
    s.buildInto(6, 8);
    // A half-time break and a slow bass.
    const char* kicks = "X.........x.....";
    const char* kicksAlt = "X.........x..x..";
    const char* snares = "........X.....o.";
    for (int bar = 8; bar < 40; ++bar) {
        if (bar >= 24 && bar < 32) continue;  // the break
        s.drums(s.kick, bar % 4 == 3 ? kicksAlt : kicks, bar, bar + 1);
        s.drums(s.snare, snares, bar, bar + 1);
        s.drums(s.closedHat, "x.x.x.xox.x.x.xo", bar, bar + 1, 0.7f);
    }
    s.bassline(h, "R-------R---O-F-", 8, 24);
    s.bassline(h, "R-------R---O-F-", 32, 40);
    const char* phraseA =
        "B4:4 E5:4 G5:4 F#5:2 E5:2  E5:8 -:4 G4:4  D5:4 G5:4 B5:4 A5:2 G5:2  F#5:12 -:4 "
        "B4:4 E5:4 G5:4 B5:4  C6:8 B5:4 G5:4  A5:4 G5:4 D5:4 G5:4  F#5:8 A5:8";
    const char* phraseB =
        "G5:6 F#5:2 E5:8  E5:6 D5:2 C5:8  D5:6 B4:2 G4:4 B4:4  A4:16 "
        "G5:6 A5:2 B5:8  C6:6 B5:2 G5:8  B5:4 A5:4 G5:4 D5:4  E5:16";
    s.melodyAt(phraseA, 16);
    // Break: the second melody over the arpeggio alone.
    s.melodyAt(phraseB, 24, 0.0f, 0.75f);
    s.buildInto(30, 32);
    s.melodyAt(phraseB, 32);
    s.stabs(h, "x.......x.......", 32, 40, 12.0f);
    s.drums(s.openHat, "......x.......x.", 32, 40, 0.6f);
    return renderScore(s, musicLoudness);
}

StereoSamples overdrive() {
    Score s;
    s.tempo = {136.0, 56};
    s.seed = 50;
    const Harmony h = harmony({"C4 Eb4 G4", "C4 Eb4 Ab4", "Bb3 Eb4 G4", "Bb3 D4 F4"}, "C2 Ab1 Eb2 Bb1");
    s.kickTone = {170.0f, 52.0f, 0.025f, 0.18f, 0.35f, 1.9f};
    s.bassTone = {250.0f, 1800.0f, 0.07f, 1.5f, 0.5f, 0.0f, 2.0f, 0.02f};
    s.padTone = {2400.0f, 0.8f, 0.3f, 0.9f, 15.0f, 0.25f};
    s.arpTone = {800.0f, 5000.0f, 0.06f, 0.18f, 1.3f, 0.3f, 0.03f};
    s.stabTone = {1500.0f, 5000.0f, 0.07f, 0.2f, 1.0f, 0.35f, 0.05f};
    s.leadTone = {3500.0f, 1.0f, 11.0f, 0.3f, 0.03f, 0.006f, 0.008f, 0.12f};
    s.mix.delayBeats = 0.75f;
    s.mix.bass = 0.5f;

    // Intro: kick, hats and the offbeat bass.
    s.drums(s.kick, "X...x...x...x...", 0, 32);
    s.drums(s.closedHat, "x.x.x.x.x.x.x.x.", 0, 56, 0.7f);
    s.bassline(h, "..R...R...R...O.", 0, 32);
    s.buildInto(6, 8);
    // Claps, open hats, stabs and the arpeggio.
    s.drums(s.clap, "....X.......X...", 8, 32);
    s.drums(s.openHat, "..x...x...x...x.", 8, 32);
    s.stabs(h, "x..x..x...x..x..", 8, 16);
    s.arpeggio(h, "0123012301230123", 8, 56, 12.0f, 0.75f);
    // The melodies with the chords behind them.
    const char* phraseA =
        "G5:2 G5:2 Eb5:2 G5:2 C6:4 Bb5:2 G5:2  Ab5:2 Ab5:2 Eb5:2 Ab5:2 C6:4 Bb5:2 Ab5:2 "
        "G5:2 G5:2 Eb5:2 G5:2 Bb5:4 G5:2 Eb5:2  F5:4 D5:4 F5:4 Bb5:4 "
        "G5:2 G5:2 Eb5:2 G5:2 C6:4 Bb5:2 G5:2  Ab5:2 Ab5:2 Eb5:2 Ab5:2 C6:4 Bb5:2 Ab5:2 "
        "Bb5:2 Bb5:2 G5:2 Bb5:2 Eb6:4 D6:2 Bb5:2  D6:8 C6:4 Bb5:4";
    const char* phraseB =
        "C6:8 G5:8  Ab5:8 C6:8  Bb5:8 G5:8  F5:8 D5:8  C6:4 D6:4 Eb6:8  C6:4 Ab5:4 Eb5:8  G5:4 Bb5:4 Eb6:8  D6:16";
    s.chords(h, 16, 56);
    s.melodyAt(phraseA, 16, -12.0f);
    s.melodyAt(phraseB, 24, -12.0f);
    s.drums(s.snare, "....x...x.x.xxxx", 31, 32, 0.7f);
    // Break: no kick, the slow melody over the chords.
    s.melodyAt(phraseB, 32, -12.0f, 0.8f);
    s.buildInto(38, 40);
    s.drums(s.snare, "x...x...x.x.xxxx", 38, 39, 0.5f);
    s.drums(s.snare, "x.x.x.x.xxxxXXXX", 39, 40, 0.7f);
    // Everything to the end.
    s.drums(s.kick, "X...x...x...x...", 40, 56);
    s.drums(s.clap, "....X.......X...", 40, 56);
    s.drums(s.openHat, "..x...x...x...x.", 40, 56);
    s.bassline(h, "..R...R...R...O.", 40, 56);
    s.stabs(h, "x..x..x...x..x..", 40, 56);
    s.melodyAt(phraseA, 40, -12.0f);
    s.melodyAt(phraseB, 48);
    return renderScore(s, musicLoudness);
}

}  // namespace

std::vector<MusicRecipe> musicTracks() {
    return {
        {"music/menu.ogg", neonSkyline},
        {"music/1.ogg", midnightRun},
        {"music/2.ogg", chromeTunnel},
        {"music/3.ogg", harbourLights},
        {"music/4.ogg", overdrive},
    };
}

}  // namespace gen::audio
