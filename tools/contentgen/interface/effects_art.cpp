// Effect images (smoke and dust, exhaust fire, lamp halo, clouds, neon glow, the
// shadows under cars) and the particle effect descriptions.
#include "art_util.h"
#include "interface_art.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gen::ui {

namespace {

float smooth01(float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// Car footprint under the shadow and neon quads, as fractions of the quad's half
// extents: the body is 6.4 x 2.4 units on quads of 8.7 x 4.3 (shadow) and 8.5 x 3.4 (neon).
float footprintDistance(float x, float y, int w, int h, float halfX, float halfY, float corner) {
    float u = (x / w - 0.5f) * 2.0f, v = (y / h - 0.5f) * 2.0f;
    return sdRoundRect(u * w * 0.5f, v * h * 0.5f, -halfX * w * 0.5f, -halfY * h * 0.5f, halfX * w * 0.5f,
                       halfY * h * 0.5f, corner);
}

// How far a point of a w x h quad lies out from its centre: 0 there, 1 on the
// nearest border (the larger of the two axes, each as a fraction of its half extent).
float quadEdgeReach(float x, float y, int w, int h) {
    return std::max(std::fabs(x / w - 0.5f) * 2.0f, std::fabs(y / h - 0.5f) * 2.0f);
}

}  // namespace

Raster smokePuff() {
    // Exhaust haze and tyre smoke: a soft, ragged, mid-grey puff. It is not lit, so
    // it stays darker than the lamps' pools and light enough to read against the
    // night; its alpha stays low, as the particle's life (up to 1) multiplies it
    // and many puffs overlap.
    const int n = 128;
    Raster img(n, n, withAlpha(rgb(0x8a8a92), 0.0f));
    img.shade([&](float x, float y) {
        float dx = (x - 64) / 60.0f, dy = (y - 64) / 60.0f;
        float r = std::sqrt(dx * dx + dy * dy);
        float noise = fbm(x / 22.0f, y / 22.0f, 4, 401);
        float a = std::pow(std::clamp(1.0f - r, 0.0f, 1.0f), 1.4f) * (0.35f + 0.65f * noise) * 0.55f;
        Color c = lerp(rgb(0x9c9ca4), rgb(0x6c6c76), noise);
        c.a = std::clamp(a, 0.0f, 1.0f) * smooth01((1.0f - r) * 6.0f);
        return c;
    }, Blend::Replace);
    return img;
}

Raster firePuff() {
    // Drawn additively on squares at least 0.4 units across, larger than a pipe's
    // flame: the flame fills the middle half of the picture, a yellow core in
    // orange fading to a dim red fringe, bright enough to glow where a few overlap.
    const int n = 128;
    Raster img(n, n, withAlpha(rgb(0xff5a10), 0.0f));
    img.shade([&](float x, float y) {
        float dx = (x - 64) / 62.0f, dy = (y - 64) / 62.0f;
        float r = std::sqrt(dx * dx + dy * dy) * 1.9f;
        float noise = fbm(x / 12.0f, y / 12.0f, 3, 502);
        float heat = std::clamp(1.0f - r * (1.0f + 0.45f * noise), 0.0f, 1.0f);
        Color c = lerp(rgb(0xa01800), rgb(0xff6a10), smooth01(heat * 2.2f));
        c = lerp(c, rgb(0xffd27a), smooth01((heat - 0.6f) * 3.0f));
        c.a = std::pow(heat, 0.9f) * 0.75f * smooth01((1.0f - r) * 4.0f);
        return c;
    }, Blend::Replace);
    return img;
}

Raster lampHalo() {
    // Added to the scene around each street lamp: warm light falling to black well
    // before the edge, so the square never shows.
    const int n = 128;
    Raster img(n, n, palette::black);
    img.shade([&](float x, float y) {
        float dx = (x - 64) / 64.0f, dy = (y - 64) / 64.0f;
        float r = std::sqrt(dx * dx + dy * dy);
        float core = std::exp(-r * r * 40.0f);
        float glow = std::exp(-r * r * 5.0f) * 0.6f + std::exp(-r * 4.0f) * 0.3f;
        float streak = std::exp(-dy * dy * 900.0f) * std::exp(-dx * dx * 6.0f) * 0.25f;
        float v = (core + glow + streak) * (1.0f - smooth01((r - 0.72f) * 3.6f));
        Color c = lerp(rgb(0xffb060), rgb(0xfff6e8), std::clamp(core * 1.2f, 0.0f, 1.0f));
        c = scaled(c, std::clamp(v, 0.0f, 1.0f));
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster nightClouds() {
    // Tiles in both directions; added at a tenth of its brightness over the dark
    // sky, twice (two layers drifting apart), so the clouds are near white to be
    // seen at all: moonlit tops over a blue-grey body, about half the sky covered.
    const int n = 512;
    Raster img(n, n, palette::black);
    img.shade([&](float x, float y) {
        float base = fbm(x / 128.0f, y / 128.0f, 5, 3601, 4);
        float detail = fbm(x / 32.0f, y / 32.0f, 3, 3602, 16);
        float d = std::clamp((base - 0.44f) * 3.0f + (detail - 0.5f) * 0.6f, 0.0f, 1.0f);
        d = smooth01(d);
        Color c = lerp(rgb(0x000000), rgb(0xc8d0e8), d);
        c = lerp(c, rgb(0xffffff), std::clamp((d - 0.6f) * 1.8f, 0.0f, 1.0f) * detail);
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster neonGlow() {
    // Added under the car in the neon colour: brightest around the body's outline, fading
    // to black at the quad's edges. Sampled without filtering, so the gradient is smooth.
    const int w = 256, h = 128;
    Raster img(w, h, palette::black);
    img.shade([&](float x, float y) {
        float d = footprintDistance(x, y, w, h, 0.74f, 0.66f, 18.0f);  // pixels outside the body
        float inside = d < 0 ? 0.85f : 0.0f;
        float ring = std::exp(-std::max(d, 0.0f) / 11.0f);
        float edgeFade = 1.0f - smooth01((quadEdgeReach(x, y, w, h) - 0.82f) * 5.5f);
        float v = std::max(inside, ring) * edgeFade;
        return Color{v, v, v, 1};
    }, Blend::Replace);
    return img;
}

Raster carShadow() {
    // Multiplied with the road: white leaves it, the dark footprint darkens it.
    const int w = 256, h = 128;
    Raster img(w, h, palette::white);
    img.shade([&](float x, float y) {
        float d = footprintDistance(x, y, w, h, 0.72f, 0.54f, 16.0f);
        float shade = 1.0f - smooth01(0.5f - d / 18.0f) * 0.72f;
        float edgeFade = smooth01((quadEdgeReach(x, y, w, h) - 0.9f) * 10.0f);
        float v = lerp(Color{shade, 0, 0, 0}, Color{1, 0, 0, 0}, edgeFade).r;
        return Color{v, v, v, 1};
    }, Blend::Replace);
    return img;
}

Raster garageShadow() {
    // The garage floor under the shown car: broader and softer than the road shadow.
    const int w = 256, h = 128;
    Raster img(w, h, palette::white);
    img.shade([&](float x, float y) {
        float d = footprintDistance(x, y, w, h, 0.66f, 0.5f, 24.0f);
        float shade = 1.0f - smooth01(0.35f - d / 34.0f) * 0.8f;
        float edgeFade = smooth01((quadEdgeReach(x, y, w, h) - 0.85f) * 7.0f);
        float v = shade + (1.0f - shade) * edgeFade;
        return Color{v, v, v, 1};
    }, Blend::Replace);
    return img;
}

std::vector<uint8_t> encodeEffect(const EffectParams& p) {
    std::vector<uint8_t> out;
    out.reserve(96);
    auto putInt = [&](int32_t v) {
        uint32_t u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((u >> (8 * i)) & 255));
    };
    auto putFloat = [&](float f) {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        putInt(static_cast<int32_t>(u));
    };
    putInt(p.count);
    putInt(p.blendMode);  // the game reads the last value instead; keep both the same
    putFloat(p.maxSize);
    for (float v : p.accel) putFloat(v);
    for (float v : p.stepScale) putFloat(v);
    putFloat(p.fadeScale);
    for (int32_t v : p.spreadRange) putInt(v);
    for (float v : p.spreadOffset) putFloat(v);
    putInt(p.fadeRange);
    putFloat(p.fadeDivisor);
    putFloat(p.fadeBase);
    putFloat(p.sizeGrowth);
    putFloat(p.startSize);
    putFloat(p.speedDecay);
    putFloat(p.startLife);
    putInt(p.blendMode);
    return out;
}

// The particles are advanced about once per 10-20 ms. A new particle starts with
// the base velocity the race hands in (about 120 units backwards for the exhaust,
// 100 against the motion for dust) plus (random mod range) - offset per axis,
// and moves velocity x step scale x a speed factor that decays from 1.

EffectParams firePipeEffect() {
    // Short and bright: about 7 to 12 advances of life, a tight jet out of the
    // pipe. The flames do not grow: an old flame far down the jet is dim, and
    // kept small it does not show as a separate blob over a bright neon glow.
    EffectParams p;
    p.count = 20;
    p.maxSize = 0.2f;
    p.stepScale[0] = p.stepScale[1] = p.stepScale[2] = 0.0009f;
    p.fadeScale = 1.0f;
    p.spreadRange[0] = p.spreadRange[1] = p.spreadRange[2] = 21;
    p.spreadOffset[0] = p.spreadOffset[1] = p.spreadOffset[2] = 10.0f;
    p.fadeRange = 60;
    p.fadeDivisor = 1000.0f;
    p.fadeBase = 0.08f;
    p.sizeGrowth = 0.0f;
    p.startSize = 0.2f;
    p.speedDecay = 0.075f;
    p.startLife = 1.0f;
    p.blendMode = 1;
    return p;
}

EffectParams smokePipeEffect() {
    // A thin haze: about two thirds of a second of life, a dozen small puffs growing
    // as they drift up and back. It trails the player's car all race long, close
    // to the camera, so it is kept small: every puff is blended over many pixels.
    EffectParams p;
    p.count = 12;
    p.maxSize = 0.5f;
    p.accel[1] = 1.6f;
    p.stepScale[0] = 0.00035f;
    p.stepScale[1] = 0.0006f;
    p.stepScale[2] = 0.00035f;
    p.fadeScale = 1.0f;
    p.spreadRange[0] = 31;
    p.spreadRange[1] = 16;
    p.spreadRange[2] = 31;
    p.spreadOffset[0] = 15.0f;
    p.spreadOffset[1] = 0.0f;
    p.spreadOffset[2] = 15.0f;
    p.fadeRange = 100;
    p.fadeDivisor = 10000.0f;
    p.fadeBase = 0.025f;
    p.sizeGrowth = 0.01f;
    p.startSize = 0.2f;
    p.speedDecay = 0.018f;
    p.startLife = 1.0f;
    p.blendMode = 0;
    return p;
}

EffectParams dustEffect() {
    // Low and wide: flat clouds thrown sideways, hardly rising. Drawn at all four
    // wheels from the same particles, so a few go a long way.
    EffectParams p;
    p.count = 20;
    p.maxSize = 1.4f;
    p.accel[1] = 0.25f;
    p.stepScale[0] = 0.0005f;
    p.stepScale[1] = 0.0002f;
    p.stepScale[2] = 0.0005f;
    p.fadeScale = 1.0f;
    p.spreadRange[0] = 81;
    p.spreadRange[1] = 11;
    p.spreadRange[2] = 81;
    p.spreadOffset[0] = 40.0f;
    p.spreadOffset[1] = 0.0f;
    p.spreadOffset[2] = 40.0f;
    p.fadeRange = 100;
    p.fadeDivisor = 10000.0f;
    p.fadeBase = 0.016f;
    p.sizeGrowth = 0.028f;
    p.startSize = 0.4f;
    p.speedDecay = 0.022f;
    p.startLife = 0.6f;
    p.blendMode = 0;
    return p;
}

EffectParams checkpointLightEffect() {
    // A slow column of light rising from a checkpoint.
    EffectParams p;
    p.count = 30;
    p.maxSize = 1.4f;
    p.accel[1] = 0.5f;
    p.stepScale[0] = p.stepScale[2] = 0.002f;
    p.stepScale[1] = 0.004f;
    p.fadeScale = 1.0f;
    p.spreadRange[0] = p.spreadRange[2] = 11;
    p.spreadRange[1] = 21;
    p.spreadOffset[0] = p.spreadOffset[2] = 5.0f;
    p.spreadOffset[1] = 0.0f;
    p.fadeRange = 50;
    p.fadeDivisor = 10000.0f;
    p.fadeBase = 0.01f;
    p.sizeGrowth = 0.01f;
    p.startSize = 0.6f;
    p.speedDecay = 0.005f;
    p.startLife = 1.0f;
    p.blendMode = 1;
    return p;
}

}  // namespace gen::ui
