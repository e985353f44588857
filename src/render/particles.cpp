#include "render/particles.h"

#include "render/lights.h"

#include <GL/gl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

ParticleEmitter fireEmitters[4];
ParticleEmitter smokeEmitters[4];
ParticleEmitter dustEmitters[4];
ParticleEmitter checkpointLightEmitter;

namespace {

int32_t readInt(const uint8_t* p) {
    const uint32_t u = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
    int32_t v;
    std::memcpy(&v, &u, 4);
    return v;
}

float readFloat(const uint8_t* p) {
    const int32_t bits = readInt(p);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

bool refuse(ParticleEmitter& emitter, std::string* reason, const char* why) {
    emitter = ParticleEmitter{};
    if (reason) *reason = why;
    return false;
}

// A random whole number 0..range-1 (range is at least 1 in a loaded emitter).
float randomBelow(int32_t range) { return float(std::rand() % std::max(range, 1)); }

float startingFade(const ParticleEmitter& e) { return randomBelow(e.fadeRange) / e.fadeDivisor + e.fadeBase; }

void advance(ParticleEmitter& e, Particle& p, Vec3 base) {
    p.velocity += e.acceleration;
    if (p.speedFactor > 0.0f) p.speedFactor -= e.speedDecay;
    p.position.x += p.velocity.x * e.stepScale.x * p.speedFactor;
    p.position.y += p.velocity.y * e.stepScale.y * p.speedFactor;
    p.position.z += p.velocity.z * e.stepScale.z * p.speedFactor;
    p.life -= p.fade * e.fadeScale;
    if (p.size < e.maxSize) p.size += e.sizeGrowth;
    if (p.life < 0.0f && e.emitting) {
        p.life = e.startLife;
        p.fade = startingFade(e);
        p.position = Vec3{};
        p.velocity = {randomBelow(e.spreadRange[0]) - e.spreadOffset.x + base.x,
                      randomBelow(e.spreadRange[1]) - e.spreadOffset.y + base.y,
                      randomBelow(e.spreadRange[2]) - e.spreadOffset.z + base.z};
        p.size = e.startSize;
        p.speedFactor = 1.0f;
    }
}

}  // namespace

bool parseParticleEffect(const uint8_t* data, size_t size, ParticleEmitter& emitter, std::string* reason) {
    if (!data || size < effectFileBytes) return refuse(emitter, reason, "shorter than 96 bytes");
    ParticleEmitter e;
    const uint8_t* p = data;
    auto i32 = [&p] { const int32_t v = readInt(p); p += 4; return v; };
    auto f32 = [&p] { const float v = readFloat(p); p += 4; return v; };
    e.particleCount = i32();
    e.blendMode = i32();
    e.maxSize = f32();
    e.acceleration = {f32(), f32(), f32()};
    e.stepScale = {f32(), f32(), f32()};
    e.fadeScale = f32();
    for (int32_t& r : e.spreadRange) r = i32();
    e.spreadOffset = {f32(), f32(), f32()};
    e.fadeRange = i32();
    e.fadeDivisor = f32();
    e.fadeBase = f32();
    e.sizeGrowth = f32();
    e.startSize = f32();
    e.speedDecay = f32();
    e.startLife = f32();
    e.blendMode = i32();  // the last value decides; the second is only a copy

    if (e.particleCount < 0 || e.particleCount > maxParticleCount)
        return refuse(emitter, reason, "particle count outside 0..1024");
    if (e.spreadRange[0] < 1 || e.spreadRange[1] < 1 || e.spreadRange[2] < 1 || e.fadeRange < 1)
        return refuse(emitter, reason, "a spread or fade range below 1");
    if (e.fadeDivisor == 0.0f) return refuse(emitter, reason, "a fade divisor of 0");
    const float values[] = {e.maxSize,       e.acceleration.x, e.acceleration.y, e.acceleration.z, e.stepScale.x,
                            e.stepScale.y,   e.stepScale.z,    e.fadeScale,      e.spreadOffset.x, e.spreadOffset.y,
                            e.spreadOffset.z, e.fadeDivisor,   e.fadeBase,       e.sizeGrowth,     e.startSize,
                            e.speedDecay,    e.startLife};
    for (float v : values)
        if (!std::isfinite(v)) return refuse(emitter, reason, "a value that is not a finite number");

    emitter = std::move(e);
    createParticles(emitter);
    return true;
}

void loadParticleEffect(ParticleEmitter& emitter, const std::string& path) {
    emitter = ParticleEmitter{};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        // A missing effect is simply not shown.
        if (errno != ENOENT && errno != ENOTDIR)
            std::fprintf(stderr, "nightrun: %s: %s; the effect is not shown\n", path.c_str(), std::strerror(errno));
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "nightrun: %s is not a regular file; the effect is not shown\n", path.c_str());
        return;
    }
    uint8_t bytes[effectFileBytes];
    size_t got = 0;
    if (FILE* file = std::fopen(path.c_str(), "rb")) {
        got = std::fread(bytes, 1, sizeof bytes, file);
        std::fclose(file);
    } else {
        std::fprintf(stderr, "nightrun: %s: %s; the effect is not shown\n", path.c_str(), std::strerror(errno));
        return;
    }
    std::string reason;
    if (!parseParticleEffect(bytes, got, emitter, &reason))
        std::fprintf(stderr, "nightrun: %s is damaged (%s); the effect is not shown\n", path.c_str(), reason.c_str());
}

void createParticles(ParticleEmitter& e) {
    e.particles.assign(size_t(std::clamp(e.particleCount, 0, maxParticleCount)), Particle{});
    for (Particle& p : e.particles) {
        p.alive = true;
        p.life = 0.0f;
        p.fade = startingFade(e);
        p.size = e.startSize;
        p.speedFactor = e.startLife;
    }
    e.colour[0] = e.colour[1] = e.colour[2] = 1.0f;
}

int particleAdvances(float frameScale) {
    // NaN and negative scales advance once, like a frame of 0.
    const float n = frameScale * 0.4f;
    return (n >= 5.0f ? 5 : n >= 1.0f ? int(n) : 0) + 1;
}

void updateParticles(ParticleEmitter& emitter, float frameScale, Vec3 baseVelocity) {
    const int advances = particleAdvances(frameScale);
    for (Particle& p : emitter.particles) {
        if (!p.alive) continue;
        for (int k = 0; k < advances; ++k) advance(emitter, p, baseVelocity);
    }
}

BlendFactors particleBlend(const ParticleEmitter& emitter) {
    if (emitter.blendMode == 1) return {GL_SRC_ALPHA, GL_ONE};
    return {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA};
}

void drawParticles(const ParticleEmitter& emitter, Vec3 origin, Vec3 eye, uint32_t texture) {
    // A particle whose life (its alpha) is nearly spent adds less than a step of
    // colour whatever the blending, and one at 0 or below nothing: skip them.
    constexpr float faintest = 0.01f;
    bool any = false;
    for (const Particle& p : emitter.particles) any = any || (p.alive && p.life > faintest);
    if (!any) return;

    const BlendFactors blend = particleBlend(emitter);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(blend.source, blend.destination);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    const float st[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (const Particle& p : emitter.particles) {
        if (!p.alive || p.life <= faintest) continue;
        glColor4f(emitter.colour[0], emitter.colour[1], emitter.colour[2], p.life);
        Vec3 corners[4];
        cameraFacingCorners(origin + p.position, p.size, eye, corners);
        for (int k = 0; k < 4; ++k) {
            glTexCoord2f(st[k][0], st[k][1]);
            glVertex3f(corners[k].x, corners[k].y, corners[k].z);
        }
    }
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void loadParticleEffects() {
    // Each file is read once (a damaged one is named once); the other cars'
    // emitters are copies with particles of their own, drawn in the same order.
    loadParticleEffect(fireEmitters[0], "base/effects/firepipe.eff");
    loadParticleEffect(smokeEmitters[0], "base/effects/smokepipe.eff");
    loadParticleEffect(dustEmitters[0], "base/effects/dust.eff");
    for (int i = 1; i < 4; ++i)
        for (ParticleEmitter* emitters : {fireEmitters, smokeEmitters, dustEmitters}) {
            emitters[i] = emitters[0];
            createParticles(emitters[i]);
        }
    loadParticleEffect(checkpointLightEmitter, "base/effects/checkpointlight.eff");
}
