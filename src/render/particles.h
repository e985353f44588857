// Particle effects: exhaust fire and smoke, wheel dust, the checkpoint light.
// Each emitter is described by an .eff file: 24 little-endian 32-bit values
// (96 bytes, no header), in this order: particle count (i32), a blend mode
// that the 24th value replaces (i32), maximum size, acceleration x y z, step
// scale x y z, fade scale (f32), spread range x y z (i32), spread offset x y z
// (f32), fade range (i32), fade divisor, fade base, size growth, start size,
// speed decay, start life (f32), blend mode (i32: 1 additive, anything else
// alpha blending). Particles are never removed: a particle whose life runs out
// while its emitter is not emitting keeps moving, invisible.
#pragma once

#include "physics/vector_math.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t effectFileBytes = 96;
// An emitter of more particles than this is a damaged file, not an effect.
constexpr int32_t maxParticleCount = 1024;

struct Particle {
    bool alive = false;
    float life = 0.0f;
    float fade = 0.0f;
    Vec3 position;      // relative to the origin the emitter is drawn at
    Vec3 velocity;
    float size = 0.0f;
    float speedFactor = 0.0f;
};

struct ParticleEmitter {
    int32_t particleCount = 0;
    int32_t blendMode = 0;  // 1 additive, anything else alpha blending
    float maxSize = 0.0f;
    Vec3 acceleration;
    Vec3 stepScale;
    float fadeScale = 0.0f;
    int32_t spreadRange[3] = {0, 0, 0};
    Vec3 spreadOffset;
    int32_t fadeRange = 0;
    float fadeDivisor = 0.0f;
    float fadeBase = 0.0f;
    float sizeGrowth = 0.0f;
    float startSize = 0.0f;
    float speedDecay = 0.0f;
    float startLife = 0.0f;

    float colour[3] = {1.0f, 1.0f, 1.0f};
    bool emitting = false;  // set by the owner between frames
    std::vector<Particle> particles;
};

// Reads an emitter from the bytes of an .eff file and creates its particles.
// A short image, a particle count outside 0..maxParticleCount, a spread or
// fade range below 1 (they are taken modulo), a zero fade divisor or a value
// that is not finite refuses the whole image: the emitter is left empty (no
// particles, every field 0) and the result is false, with the cause in `reason`.
bool parseParticleEffect(const uint8_t* data, size_t size, ParticleEmitter& emitter, std::string* reason = nullptr);

// Loads an emitter from a file. A missing file gives an empty emitter silently;
// anything that is not a regular file, or an image parseParticleEffect refuses,
// gives an empty emitter and one line on the standard error stream. Never reads
// more than one image's worth of bytes.
void loadParticleEffect(ParticleEmitter& emitter, const std::string& path);

// Every particle alive with life 0 at the origin, at rest, with the start size,
// a fade drawn from the fade range and the start life as its speed factor.
void createParticles(ParticleEmitter& emitter);

// Advances every alive particle (frame scale s: s x 0.4 truncated, at most 5,
// plus one advances). A particle whose life runs out is respawned at the
// origin, moving at the base velocity plus a random spread, while the emitter
// is emitting.
void updateParticles(ParticleEmitter& emitter, float frameScale, Vec3 baseVelocity);
// How many times one update advances each particle at frame scale s.
int particleAdvances(float frameScale);

// Draws the visible particles (life above 0.01) as squares facing `eye`, centred
// on origin + position, tinted by the colour with the life as alpha, with the
// emitter's blending; depth writes and face culling off while drawing.
void drawParticles(const ParticleEmitter& emitter, Vec3 origin, Vec3 eye, uint32_t texture);

// The blend function an emitter draws with: additive for blend mode 1.
struct BlendFactors {
    uint32_t source = 0;
    uint32_t destination = 0;
};
BlendFactors particleBlend(const ParticleEmitter& emitter);

// The thirteen emitters: each race car's exhaust fire and smoke and wheel
// dust, and the checkpoint light (loaded, not drawn).
extern ParticleEmitter fireEmitters[4];
extern ParticleEmitter smokeEmitters[4];
extern ParticleEmitter dustEmitters[4];
extern ParticleEmitter checkpointLightEmitter;

// Loads the thirteen emitters from base/effects/ (called by the renderer set-up).
void loadParticleEffects();
