#include "audio/music_mix.h"

#include "audio/audio_measure.h"

#include <algorithm>

namespace gen::audio {

void Score::drums(Notes& part, const std::string& pattern, int from, int to, float velocity) {
    for (int bar = from; bar < to; ++bar)
        for (Note n : steps(pattern, 4.0 * bar)) {
            n.velocity *= velocity;
            part.push_back(n);
        }
}

void Score::bassline(const Harmony& h, const std::string& pattern, int from, int to) {
    for (int bar = from; bar < to; ++bar) {
        const float root = h.rootAt(bar);
        for (size_t i = 0; i < pattern.size(); ++i) {
            const char c = pattern[i];
            if (c == '-' && !bass.empty()) {
                bass.back().length += 0.25;
                continue;
            }
            float pitch = root;
            switch (std::toupper(static_cast<unsigned char>(c))) {
            case 'R': break;
            case 'O': pitch += 12.0f; break;
            case 'F': pitch += 7.0f; break;
            default: continue;
            }
            const float velocity = std::isupper(static_cast<unsigned char>(c)) ? 1.0f : 0.7f;
            bass.push_back({4.0 * bar + 0.25 * static_cast<double>(i), 0.25, pitch, velocity, false});
        }
    }
}

void Score::chords(const Harmony& h, int from, int to, float velocity) {
    for (int bar = from; bar < to;) {
        int end = bar + 1;
        while (end < to && end % h.barsPerChord != 0) ++end;
        for (float p : h.chordAt(bar)) pad.push_back({4.0 * bar, 4.0 * (end - bar), p, velocity, false});
        bar = end;
    }
}

void Score::arpeggio(const Harmony& h, const std::string& pattern, int from, int to, float transpose, float velocity) {
    for (int bar = from; bar < to; ++bar) {
        std::vector<float> tones = h.chordAt(bar);
        std::sort(tones.begin(), tones.end());
        const size_t steps = 16;
        for (size_t i = 0; i < steps; ++i) {
            const char c = pattern[i % pattern.size()];
            if (c < '0' || c > '9') continue;
            const int d = c - '0';
            const float pitch = tones[static_cast<size_t>(d) % tones.size()] + 12.0f * (d / static_cast<int>(tones.size())) + transpose;
            const float accent = i % 4 == 0 ? 1.0f : 0.75f;
            arp.push_back({4.0 * bar + 0.25 * static_cast<double>(i), 0.25, pitch, velocity * accent, false});
        }
    }
}

void Score::stabs(const Harmony& h, const std::string& pattern, int from, int to, float transpose) {
    for (int bar = from; bar < to; ++bar)
        for (const Note& hit : steps(pattern, 4.0 * bar))
            for (float p : h.chordAt(bar)) stab.push_back({hit.beat, 0.4, p + transpose, hit.velocity, false});
}

void Score::melodyAt(const std::string& tokens, int bar, float transpose, float velocity) {
    for (Note n : melody(tokens, 4.0 * bar)) {
        n.pitch += transpose;
        n.velocity *= velocity;
        lead.push_back(n);
    }
}

void Score::buildInto(int from, int to) {
    risers.push_back({4.0 * from, 4.0 * (to - from), 0.0f, 1.0f, false});
    crash.push_back({4.0 * to, 1.0, 0.0f, 1.0f, false});
    booms.push_back({4.0 * to, 1.0, 0.0f, 1.0f, false});
}

namespace {

// 1 everywhere, dipping after every kick: what the kick leaves of the bass and chords.
Samples duckEnvelope(const Notes& kicks, const Tempo& tempo, size_t n) {
    Samples g(n, 1.0f);
    const size_t length = samplesFor(0.32), attack = samplesFor(0.004);
    for (const Note& k : kicks) {
        const size_t at = tempo.sampleAt(k.beat);
        for (size_t i = 0; i < length; ++i) {
            const float t = static_cast<float>(i) / sampleRate;
            const float dip = (i < attack ? static_cast<float>(i) / attack : std::exp(-(t - 0.004f) / 0.085f)) * k.velocity;
            float& v = g[(at + i) % n];
            v = std::min(v, 1.0f - dip);
        }
    }
    return g;
}

struct Sends {
    StereoSamples mix, reverb, delay;
    explicit Sends(size_t n) : mix(n), reverb(n), delay(n) {}
    void take(const StereoSamples& bus, float level, float reverbSend, float delaySend, const Samples* duck, float depth) {
        for (size_t i = 0; i < bus.size(); ++i) {
            float g = level;
            if (duck) g *= 1.0f - depth * (1.0f - (*duck)[i]);
            const float l = bus.left[i] * g, r = bus.right[i] * g;
            mix.left[i] += l;
            mix.right[i] += r;
            reverb.left[i] += l * reverbSend;
            reverb.right[i] += r * reverbSend;
            delay.left[i] += l * delaySend;
            delay.right[i] += r * delaySend;
        }
    }
};

// A ping-pong echo: each repeat crosses to the other side, darker each time.
void pingPong(StereoSamples& send, const Tempo& tempo, const Mix& m) {
    const float delay = static_cast<float>(m.delayBeats * tempo.samplesPerBeat());
    DelayLine left(static_cast<size_t>(delay) + 4), right(static_cast<size_t>(delay) + 4);
    Biquad darkL = Biquad::lowpass(3500.0f, 0.7f), darkR = Biquad::lowpass(3500.0f, 0.7f);
    Biquad thinL = Biquad::highpass(250.0f, 0.7f), thinR = Biquad::highpass(250.0f, 0.7f);
    processLoop(send, [&](float& l, float& r) {
        const float outL = left.read(delay), outR = right.read(delay);
        left.write(thinL.process(darkL.process(l + m.delayFeedback * outR)));
        right.write(thinR.process(darkR.process(m.delayFeedback * outL)));
        l = outL;
        r = outR;
    });
}

}  // namespace

StereoSamples renderScore(const Score& score, float loudness) {
    const Tempo& tp = score.tempo;
    const Mix& m = score.mix;
    const size_t n = tp.loopSamples();
    const size_t loop = n;
    uint64_t seed = score.seed * 1000003;
    Sends out(n);
    const Samples duck = duckEnvelope(score.kick, tp, n);

    {
        StereoSamples bus(n);
        for (const Note& k : score.kick) kick(bus, tp.sampleAt(k.beat), k.velocity, score.kickTone, ++seed);
        out.take(bus, m.kick, 0.0f, 0.0f, nullptr, 0.0f);
    }
    {
        StereoSamples bus(n);
        for (const Note& s : score.snare) snare(bus, tp.sampleAt(s.beat), s.velocity * m.snare, score.snareHz, score.snareDecay, ++seed);
        for (const Note& c : score.clap) clap(bus, tp.sampleAt(c.beat), c.velocity * m.clap, ++seed);
        for (const Note& t : score.toms)
            tom(bus, tp.sampleAt(t.beat), t.velocity * m.toms, midiToHz(t.pitch > 0.0f ? t.pitch : 45.0f),
                (t.pitch > 0.0f ? t.pitch - 45.0f : 0.0f) / 20.0f, ++seed);
        out.take(bus, 1.0f, 0.22f, 0.0f, nullptr, 0.0f);
    }
    {
        StereoSamples bus(n);
        int k = 0;
        for (const Note& h : score.closedHat) hat(bus, tp.sampleAt(h.beat), h.velocity * m.hats, false, 0.25f, ++seed);
        for (const Note& h : score.openHat) hat(bus, tp.sampleAt(h.beat), h.velocity * m.hats * 0.8f, true, 0.2f, ++seed);
        for (const Note& s : score.shaker) shaker(bus, tp.sampleAt(s.beat), s.velocity * m.shaker, (k++ % 2) ? -0.5f : -0.2f, ++seed);
        for (const Note& c : score.crash) cymbal(bus, tp.sampleAt(c.beat), c.velocity * m.crash, ++seed);
        out.take(bus, 1.0f, 0.12f, 0.0f, nullptr, 0.0f);
    }
    {
        StereoSamples bus(n);
        for (const Note& r : score.risers) riser(bus, tp.sampleAt(r.beat), tp.sampleAt(r.length), r.velocity * m.riser, ++seed);
        for (const Note& b : score.booms) boom(bus, tp.sampleAt(b.beat), b.velocity * m.boom);
        out.take(bus, 1.0f, 0.3f, 0.0f, nullptr, 0.0f);
    }
    {
        StereoSamples bus(n);
        for (const Note& b : score.bass)
            bassNote(bus, tp.sampleAt(b.beat), tp.sampleAt(b.length), midiToHz(b.pitch), b.velocity, score.bassTone);
        out.take(bus, m.bass, 0.0f, 0.0f, &duck, m.duckBass);
    }
    {
        StereoSamples bus(n);
        for (const Note& p : score.pad)
            padNote(bus, tp.sampleAt(p.beat), tp.sampleAt(p.length), midiToHz(p.pitch), p.velocity, score.padTone, loop,
                    score.padSweepCycles, ++seed);
        for (const Note& s : score.stab)
            pluckNote(bus, tp.sampleAt(s.beat), tp.sampleAt(s.length), midiToHz(s.pitch), s.velocity * m.stab / m.pad, 0.0f,
                      score.stabTone);
        out.take(bus, m.pad, 0.35f, 0.0f, &duck, m.duckPad);
    }
    {
        StereoSamples bus(n);
        int k = 0;
        for (const Note& a : score.arp)
            pluckNote(bus, tp.sampleAt(a.beat), tp.sampleAt(a.length), midiToHz(a.pitch), a.velocity, (k++ % 2) ? 0.45f : -0.45f,
                      score.arpTone);
        out.take(bus, m.arp, 0.3f, 0.18f, &duck, m.duckArp);
    }
    {
        StereoSamples bus(n);
        leadLine(bus, score.lead, tp, score.leadTone, 0.05f);
        out.take(bus, m.lead, 0.25f, 0.32f, nullptr, 0.0f);
    }

    pingPong(out.delay, tp, m);
    for (size_t i = 0; i < n; ++i) {
        out.mix.left[i] += m.delayReturn * out.delay.left[i];
        out.mix.right[i] += m.delayReturn * out.delay.right[i];
        out.reverb.left[i] += 0.3f * out.delay.left[i];
        out.reverb.right[i] += 0.3f * out.delay.right[i];
    }
    out.delay = StereoSamples();
    Reverb reverb(m.reverbSize, m.reverbDamping);
    processLoop(out.reverb, [&](float& l, float& r) { reverb.process(l, r, l, r); });
    StereoSamples mix = std::move(out.mix);
    for (size_t i = 0; i < n; ++i) {
        mix.left[i] += m.reverbReturn * out.reverb.left[i];
        mix.right[i] += m.reverbReturn * out.reverb.right[i];
    }
    out.reverb = StereoSamples();

    Biquad lowCutL = Biquad::highpass(28.0f, 0.7f), lowCutR = Biquad::highpass(28.0f, 0.7f);
    processLoop(mix, [&](float& l, float& r) {
        l = lowCutL.process(l);
        r = lowCutR.process(r);
    });

    levelUnderLimiter(mix, loudness, -1.0f);
    return mix;
}

}  // namespace gen::audio
