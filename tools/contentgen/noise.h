// Deterministic random numbers and noise for generated content. Every generator
// seeds its own Rng; nothing here has global state.
#pragma once

#include <cstdint>

namespace gen {

// SplitMix64: small, fast and identical on every platform.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t next64();
    uint32_t next() { return static_cast<uint32_t>(next64() >> 32); }
    float uniform();                       // [0, 1)
    float range(float lo, float hi);       // [lo, hi)
    int below(int n);                      // 0..n-1 (0 when n <= 0)
    bool chance(float p) { return uniform() < p; }

private:
    uint64_t state_;
};

// Hash of integer lattice coordinates to [0, 1).
float hash2(int x, int y, uint32_t seed);
// Smooth value noise in [0, 1] with lattice spacing 1. A period > 0 makes it tile
// every `period` lattice cells in x and y.
float valueNoise(float x, float y, uint32_t seed, int period = 0);
// Fractal sum of value noise, normalised to [0, 1]. With period > 0 every octave
// tiles (the period doubles with each octave when lacunarity is 2).
float fbm(float x, float y, int octaves, uint32_t seed, int period = 0, float lacunarity = 2.0f, float gain = 0.5f);

}  // namespace gen
