// Particle effects (.eff) as the renderer loads them, then run for a few
// frames, emitting and not; a refused image leaves the emitter empty.
#include "render/particles.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ParticleEmitter emitter;
    if (!parseParticleEffect(data, size, emitter)) {
        if (!emitter.particles.empty() || emitter.particleCount != 0) __builtin_trap();
        return 0;
    }
    if (emitter.particles.size() != size_t(emitter.particleCount)) __builtin_trap();
    for (int frame = 0; frame < 8; ++frame) {
        emitter.emitting = frame < 5;
        updateParticles(emitter, 2.5f, Vec3{1.0f, 0.0f, -2.0f});
    }
    particleBlend(emitter);
    return 0;
}
