// Menu images: button faces, arrows, bands, panels, cursor, logo, curtain,
// rating bars and the full-screen loading pictures. Night colours with the
// orange neon accent; translucent pieces carry their shape in alpha.
#include "art_util.h"
#include "font.h"
#include "interface_art.h"
#include "noise.h"

#include <algorithm>
#include <cmath>

namespace gen::ui {

namespace {

const Color kPlateTop = rgb(0x1d2433);
const Color kPlateBottom = rgb(0x07090f);

// A glossy dark plate with an orange neon rim, inset by margin to leave room for the glow.
Raster buttonPlate(int w, int h, float margin, float radius, float rim) {
    Raster img(w, h, withAlpha(palette::orange, 0.0f));
    float x0 = margin, y0 = margin, x1 = w - margin, y1 = h - margin;
    // Outer glow.
    Raster rimLayer = emptyLayer(img);
    rimLayer.strokeRoundRect(x0, y0, x1, y1, radius, rim, palette::white);
    Raster glow = rimLayer.blurred(margin * 0.9f);
    for (size_t i = 0; i < img.pixels().size(); ++i)
        img.pixels()[i] = withAlpha(palette::orange, std::min(1.0f, glow.pixels()[i].a * 1.4f));
    // Body with a vertical gradient.
    Raster body = emptyLayer(img);
    body.fillRoundRect(x0, y0, x1, y1, radius, palette::white);
    img.shade(
        [&](float x, float y) {
            float t = (y - y0) / (y1 - y0);
            Color c = lerp(kPlateTop, kPlateBottom, std::clamp(t, 0.0f, 1.0f));
            c.a = 0.9f * body.sample(x, y).a;
            return c;
        },
        Blend::Over);
    // Gloss on the upper half.
    Raster gloss = emptyLayer(img);
    gloss.fillRoundRect(x0 + rim * 1.5f, y0 + rim * 1.5f, x1 - rim * 1.5f, y0 + (y1 - y0) * 0.48f,
                        std::max(2.0f, radius - rim), palette::white);
    img.shade(
        [&](float x, float y) {
            float t = (y - y0) / ((y1 - y0) * 0.48f);
            return Color{1, 1, 1, gloss.sample(x, y).a * 0.13f * (1.0f - std::clamp(t, 0.0f, 1.0f))};
        },
        Blend::Over);
    // Rim: orange tube with a hot centre.
    Raster core = emptyLayer(img);
    core.strokeRoundRect(x0, y0, x1, y1, radius, rim * 0.4f, palette::white);
    img.composite([&] {
        Raster r = rimLayer;
        r.tint(palette::orange);
        return r;
    }(), 0, 0);
    Raster hot = core;
    hot.tint(rgb(0xffd08a));
    img.composite(hot, 0, 0, Blend::Over, 0.8f);
    return img;
}

// Renders in a larger virtual canvas and shrinks to the texture size: full-screen
// pictures are designed in 800 x 600 screen units and stretched by the game.
Raster shrinkTo(const Raster& big, int w, int h) { return big.resized(w, h); }

// Night city skyline with lit windows across the canvas, standing on baseY.
void skyline(Raster& img, float baseY, float scale, uint32_t seed, Color body, float windowLight) {
    Rng rng(seed);
    float x = -10;
    while (x < img.width() + 10) {
        float w = rng.range(40, 110) * scale;
        float h = rng.range(90, 330) * scale;
        img.fillRect(x, baseY - h, x + w, baseY + 2, body);
        // Windows in a grid; some lit warm, a few cold.
        float wx = 8 * scale, wy = 12 * scale;
        for (float yy = baseY - h + 10 * scale; yy < baseY - 14 * scale; yy += wy)
            for (float xx = x + 6 * scale; xx < x + w - 8 * scale; xx += wx) {
                float r = rng.uniform();
                if (r < 0.3f) {
                    Color c = rng.chance(0.8f) ? rgb(0xffc46a) : rgb(0x9fd4ff);
                    img.fillRect(xx, yy, xx + 4 * scale, yy + 6 * scale, withAlpha(c, windowLight * rng.range(0.4f, 1.0f)));
                }
            }
        x += w + rng.range(0, 16) * scale;
    }
}

// Streaks of car lights along a road vanishing towards (vx, vy); only the part of
// the picture below the horizon is touched.
void lightTrails(Raster& img, float vx, float vy, float bottomY, float scale) {
    int top = std::max(0, static_cast<int>(vy) - static_cast<int>(20 * scale));
    Raster trails(img.width(), img.height() - top, palette::clear);
    for (int i = 0; i < 6; ++i) {
        float spread = (static_cast<float>(i) - 2.5f) * 260.0f * scale;
        Color c = i < 3 ? rgb(0xff3a1a) : rgb(0xffe3b0);
        trails.drawLine(vx, vy - top, vx + spread, bottomY - top, 5.0f * scale, c);
    }
    Raster glow = trails.blurred(14 * scale);
    img.composite(glow, 0, top, Blend::Add, 1.2f);
    img.composite(trails, 0, top, Blend::Add, 0.9f);
}

Raster logoLetters(int w, int h, float& baselineOut) {
    Font font(dejavuFont("DejaVuSans-Bold.ttf"));
    TextStyle style;
    style.size = h * 0.78f;
    style.slant = 0.22f;
    style.tracking = h * 0.01f;
    float width = font.measure("Nightrun", style);
    float maxWidth = w * 0.9f;
    if (width > maxWidth) {
        style.xScale = maxWidth / width;
        width = maxWidth;
    }
    baselineOut = h * 0.76f;
    Raster layer = emptyLayer(w, h);
    font.draw(layer, "Nightrun", w * 0.5f, baselineOut, style, palette::white, 0.5f);
    return layer;
}

}  // namespace

Raster iconButtonFace() { return buttonPlate(256, 128, 12, 22, 4); }

Raster textButtonFace() { return buttonPlate(256, 64, 8, 16, 3); }

Raster highlightGlow() {
    // A soft orange glow for lighting up a chosen row or item; fades out at every edge.
    const int w = 256, h = 64;
    Raster img(w, h, withAlpha(palette::orange, 0.0f));
    img.shade([&](float x, float y) {
        float u = std::fabs(x / w - 0.5f) * 2.0f, v = std::fabs(y / h - 0.5f) * 2.0f;
        float a = (1.0f - u * u) * std::exp(-v * v * 4.0f) * 0.8f;
        Color c = lerp(palette::orange, rgb(0xffd9a0), std::exp(-v * v * 30.0f) * (1.0f - u));
        c.a = std::clamp(a, 0.0f, 1.0f);
        return c;
    }, Blend::Replace);
    return img;
}

Raster arrowImage() {
    // Points left; the game mirrors it for the increasing direction.
    const int n = 128;
    Raster layer = emptyLayer(n, n);
    std::vector<Vec2> arrow{{22, 64}, {78, 18}, {78, 44}, {106, 44}, {106, 84}, {78, 84}, {78, 110}};
    layer.fillPolygon(arrow, palette::white);
    Raster img(n, n, withAlpha(palette::orange, 0.0f));
    Raster glow = layer.blurred(10);
    glow.tint(palette::orange);
    img.composite(glow, 0, 0, Blend::Over, 0.9f);
    img.shade(
        [&](float x, float y) {
            float t = y / n;
            Color c = lerp(rgb(0xffb347), rgb(0xe8550a), t);
            c.a = layer.sample(x, y).a;
            return c;
        },
        Blend::Over);
    Raster edge = emptyLayer(n, n);
    edge.strokePolyline(arrow, 3.0f, true, palette::white);
    img.composite(edge, 0, 0, Blend::Over, 0.85f);
    return img;
}

Raster thinStrip() {
    // A neon line across the screen: bright core, soft falloff above and below.
    Raster img(1024, 32, withAlpha(palette::orange, 0.0f));
    img.shade([](float x, float y) {
        float d = std::fabs(y - 16.0f);
        float core = std::clamp(2.5f - d, 0.0f, 1.0f);
        float glow = std::exp(-d * d / 40.0f) * 0.7f;
        float ends = std::clamp(std::min(x, 1024.0f - x) / 120.0f, 0.0f, 1.0f);  // fade at the screen edges
        Color c = lerp(palette::orange, rgb(0xffe0b0), core);
        c.a = std::min(1.0f, core + glow) * (0.35f + 0.65f * ends);
        return c;
    }, Blend::Replace);
    return img;
}

Raster wideStrip() {
    // Translucent dark band with orange edge lines; stretched to 82 or 40 units high.
    Raster img(1024, 128, palette::clear);
    img.shade([](float x, float y) {
        float t = y / 128.0f;
        Color c = lerp(rgb(0x141a26), rgb(0x05070b), t);
        c.a = 0.78f;
        float dEdge = std::min(std::fabs(y - 6.0f), std::fabs(y - 122.0f));
        float line = std::clamp(2.0f - dEdge, 0.0f, 1.0f);
        float glow = std::exp(-dEdge * dEdge / 30.0f) * 0.5f;
        c = lerp(c, withAlpha(palette::orange, 0.95f), std::min(1.0f, line + glow));
        if (y < 4.0f || y > 124.0f) c.a *= std::clamp(std::min(y, 128.0f - y) / 4.0f, 0.0f, 1.0f);
        (void)x;
        return c;
    }, Blend::Replace);
    return img;
}

Raster bandOverlay() {
    // Tiles horizontally: slanted light streaks that scroll across the band.
    const int w = 512, h = 64;
    Raster img(w, h, withAlpha(palette::orange, 0.0f));
    img.shade([&](float x, float y) {
        float u = (x + y * 0.6f) / w;  // slanted
        float a = 0;
        // Periods that divide the width keep the image seamless.
        a += std::pow(0.5f + 0.5f * std::cos(u * 2 * kPi * 3.0f), 24.0f) * 0.45f;
        a += std::pow(0.5f + 0.5f * std::cos(u * 2 * kPi * 8.0f + 1.3f), 40.0f) * 0.25f;
        float n = fbm(x / 32.0f, y / 32.0f, 3, 77, 16);
        a *= 0.6f + 0.8f * n;
        float vertical = std::sin(y / h * kPi);
        Color c = lerp(palette::orange, rgb(0xffd9a0), a);
        c.a = std::clamp(a * vertical, 0.0f, 1.0f);
        return c;
    }, Blend::Replace);
    return img;
}

Raster stripeOverlay() {
    // Tiles horizontally: warning chevrons, orange on dark, slightly translucent.
    const int w = 512, h = 64;
    Raster img(w, h, palette::clear);
    img.shade([&](float x, float y) {
        float period = 64.0f;
        float u = std::fmod(x + y * 0.9f, period);
        float d = std::min(std::fabs(u - period * 0.25f), std::fabs(u - period * 0.25f - period));
        float stripe = std::clamp(period * 0.25f - d + 0.5f, 0.0f, 1.0f);
        Color c = lerp(rgb(0x0b0d12), palette::orange, stripe);
        float edge = std::min(y, h - y);
        float border = std::clamp(3.0f - edge, 0.0f, 1.0f);
        c = lerp(c, rgb(0xffc070), border);
        c.a = 0.55f + 0.25f * std::max(stripe, border);
        return c;
    }, Blend::Replace);
    return img;
}

Raster panelImage() {
    // Stretched to 512 x 500, 256 x 256 and 512 x 128: thin rim, soft corners, dark glass.
    const int n = 512;
    Raster img(n, n, withAlpha(rgb(0x0a0d14), 0.0f));
    Raster body = emptyLayer(n, n);
    body.fillRoundRect(4, 4, n - 4, n - 4, 18, palette::white);
    img.shade([&](float x, float y) {
        float t = y / n;
        Color c = lerp(rgb(0x161c29), rgb(0x06080d), t);
        // A faint grid like a display screen.
        float gx = std::fabs(std::fmod(x, 32.0f) - 16.0f), gy = std::fabs(std::fmod(y, 32.0f) - 16.0f);
        float grid = std::max(std::clamp(1.0f - (16.0f - gx), 0.0f, 1.0f), std::clamp(1.0f - (16.0f - gy), 0.0f, 1.0f));
        c = lerp(c, rgb(0x2a3346), grid * 0.35f);
        c.a = 0.82f * body.sample(x, y).a;
        return c;
    }, Blend::Over);
    img.strokeRoundRect(4, 4, n - 4, n - 4, 18, 3.0f, withAlpha(palette::orange, 0.9f));
    img.strokeRoundRect(10, 10, n - 10, n - 10, 13, 1.5f, withAlpha(rgb(0x5a6478), 0.5f));
    return img;
}

Raster cursorImage() {
    // Hot spot at the top-left corner: the tip of the pointer.
    const int n = 64;
    std::vector<Vec2> pointer{{3, 2}, {3, 48}, {15, 37}, {24, 57}, {33, 53}, {24, 34}, {40, 34}};
    Raster shadow = emptyLayer(n, n);
    shadow.fillPolygon(transformed(pointer, 3, 3, 1), Color{0, 0, 0, 0.7f});
    shadow.blur(4);
    Raster img(n, n, Color{0, 0, 0, 0});
    img.composite(shadow, 0, 0);
    img.fillPolygon(pointer, palette::white);
    // Orange inside a white edge.
    std::vector<Vec2> inner{{6.5f, 10}, {6.5f, 40}, {16, 31}, {25.5f, 51}, {29, 49.5f}, {19.5f, 30.5f}, {31, 30.5f}};
    img.fillPolygon(inner, palette::orange);
    return img;
}

Raster logoImage() {
    const int w = 512, h = 128;
    float baseline = 0;
    Raster letters = logoLetters(w, h, baseline);
    Raster img(w, h, withAlpha(rgb(0x000000), 0.0f));
    // Dark outline so the logo reads over the bright garage.
    img.composite(outlineOf(letters, 6), 0, 0, Blend::Over, 0.85f);
    img.shade([&](float x, float y) {
        float t = std::clamp((y - (baseline - h * 0.58f)) / (h * 0.62f), 0.0f, 1.0f);
        Color c = lerp(rgb(0xfff4e0), palette::orange, std::pow(t, 1.3f));
        c = lerp(c, rgb(0xc83c00), std::clamp((t - 0.75f) * 2.0f, 0.0f, 1.0f));
        c.a = letters.sample(x, y).a;
        return c;
    }, Blend::Over);
    // A speed line under the word.
    img.fillRoundRect(w * 0.1f, baseline + 8, w * 0.93f, baseline + 13, 2.5f, withAlpha(palette::orange, 0.95f));
    img.fillRoundRect(w * 0.05f, baseline + 18, w * 0.6f, baseline + 21, 1.5f, withAlpha(palette::orange, 0.6f));
    return img;
}

Raster logoFlickerImage() {
    // The neon layer: the letters lit hot with a tube along their outline and a wide
    // halo; laid over the logo with a flickering alpha, so the sign seems to buzz.
    const int w = 512, h = 128;
    float baseline = 0;
    Raster letters = logoLetters(w, h, baseline);
    letters.fillRoundRect(w * 0.1f, baseline + 8, w * 0.93f, baseline + 13, 2.5f, palette::white);
    Raster grown = letters.blurred(3);
    Raster edge = emptyLayer(w, h);
    for (size_t i = 0; i < edge.pixels().size(); ++i) {
        float g = grown.pixels()[i].a;
        // Ring where the blurred shape is partly covered: the outline of the letters.
        edge.pixels()[i].a = std::clamp(1.0f - std::fabs(g - 0.5f) * 3.0f, 0.0f, 1.0f);
    }
    Raster halo = letters.blurred(14);
    Raster img(w, h, withAlpha(palette::orange, 0.0f));
    img.shade([&](float x, float y) {
        float a = std::min(1.0f, halo.sample(x, y).a * 1.3f);
        return withAlpha(rgb(0xff6a00), a * 0.85f);
    });
    img.shade([&](float x, float y) { return withAlpha(rgb(0xffa040), letters.sample(x, y).a * 0.8f); });
    img.shade([&](float x, float y) { return withAlpha(rgb(0xfff2d8), edge.sample(x, y).a); });
    return img;
}

Raster curtainImage() {
    // Alpha 1 everywhere: it is also the empty vinyl layer, which must leave the paint alone.
    const int n = 512;
    Raster img(n, n, palette::night);
    img.shade([&](float x, float y) {
        float dx = x / n - 0.5f, dy = y / n - 0.55f;
        float v = 1.0f - std::min(1.0f, std::sqrt(dx * dx + dy * dy) * 1.5f);
        Color c = lerp(rgb(0x020306), rgb(0x141b2b), v);
        float streak = std::pow(0.5f + 0.5f * std::sin((x * 0.7f + y) / n * 2 * kPi * 6.0f), 30.0f);
        c = lerp(c, rgb(0x3a1a06), streak * 0.5f * v);
        float glowBottom = std::exp(-std::pow((y - n) / (n * 0.18f), 2.0f)) * 0.35f;
        c = lerp(c, palette::orange, glowBottom);
        c.a = 1.0f;
        return c;
    }, Blend::Replace);
    return img;
}

Raster ratingFilled() {
    Raster img(128, 16, palette::black);
    img.shade([](float x, float y) {
        float t = y / 16.0f;
        Color c = lerp(rgb(0xffc060), rgb(0xd04a00), t);
        if (t < 0.35f) c = lerp(c, palette::white, (0.35f - t) * 0.8f);
        float seg = std::fmod(x, 16.0f);
        if (seg < 1.0f) c = scaled(c, 0.55f);  // segment gaps
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster ratingEmpty() {
    Raster img(128, 16, palette::black);
    img.shade([](float x, float y) {
        float t = y / 16.0f;
        Color c = lerp(rgb(0x30343e), rgb(0x14161c), t);
        if (std::fmod(x, 16.0f) < 1.0f) c = scaled(c, 0.6f);
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster menuBackdrop() {
    const int n = 512;
    Raster img(n, n, palette::night);
    img.radialGradient(n * 0.5f, n * 0.75f, n * 0.9f, rgb(0x1a2236), rgb(0x020308), Blend::Replace);
    Raster streaks = emptyLayer(n, n);
    Rng rng(1201);
    for (int i = 0; i < 9; ++i) {
        float y = rng.range(n * 0.2f, n * 0.9f);
        float len = rng.range(n * 0.3f, n * 0.8f);
        float x = rng.range(-n * 0.2f, n * 0.8f);
        streaks.drawLine(x, y, x + len, y - len * 0.12f, rng.range(1.5f, 4.0f), withAlpha(palette::orange, rng.range(0.3f, 0.9f)));
    }
    Raster glow = streaks.blurred(8);
    img.composite(glow, 0, 0, Blend::Add, 0.8f);
    img.composite(streaks, 0, 0, Blend::Add, 0.7f);
    img.clamp01();
    return img;
}

Raster loadingImage() {
    // Designed at 1.5 times the 800 x 600 screen; stretched back by the game.
    const int W = 1200, H = 900;
    const float S = W / 800.0f;
    Raster big(W, H, palette::night);
    big.linearGradient(0, 0, 0, H * 0.62f, rgb(0x010208), rgb(0x1b1f38), Blend::Replace);
    // Stars and haze.
    Rng rng(4101);
    for (int i = 0; i < 220; ++i)
        big.fillCircle(rng.range(0, W), rng.range(0, H * 0.45f), rng.range(0.4f, 1.1f) * S,
                       withAlpha(palette::white, rng.range(0.2f, 0.8f)));
    big.radialGradient(W * 0.5f, H * 0.62f, W * 0.6f, withAlpha(rgb(0xff7a20), 0.35f), withAlpha(rgb(0xff7a20), 0.0f));
    skyline(big, H * 0.64f, S, 4102, rgb(0x07080e), 0.9f);
    // Road in perspective.
    big.fillPolygon({{0, H * 0.64f}, {(float)W, H * 0.64f}, {(float)W, (float)H}, {0, (float)H}}, rgb(0x05060a));
    big.fillPolygon({{W * 0.47f, H * 0.64f}, {W * 0.53f, H * 0.64f}, {W * 1.1f, (float)H}, {-W * 0.1f, (float)H}}, rgb(0x121521));
    for (int i = 0; i < 7; ++i) {
        float t0 = std::pow(static_cast<float>(i) / 7.0f, 2.0f), t1 = std::pow((static_cast<float>(i) + 0.45f) / 7.0f, 2.0f);
        float y0 = H * 0.64f + t0 * H * 0.36f, y1 = H * 0.64f + t1 * H * 0.36f;
        float w0 = (1 + t0 * 7) * S, w1 = (1 + t1 * 7) * S;
        big.fillPolygon({{W * 0.5f - w0, y0}, {W * 0.5f + w0, y0}, {W * 0.5f + w1, y1}, {W * 0.5f - w1, y1}},
                        withAlpha(rgb(0xd8c8a0), 0.8f));
    }
    lightTrails(big, W * 0.5f, H * 0.64f, H * 1.05f, S);
    // The logo, large.
    Raster logo = logoImage();
    Raster flicker = logoFlickerImage();
    big.drawScaled(logo, W * 0.5f - 280 * S, H * 0.16f, 560 * S, 140 * S);
    big.drawScaled(flicker, W * 0.5f - 280 * S, H * 0.16f, 560 * S, 140 * S, Blend::Add, 0.7f);
    big.clamp01();
    big.setAlpha(1);
    return shrinkTo(big, 1024, 1024);
}

Raster splashImage() {
    // The first picture at start-up: the logo glowing on black with a tag line.
    const int W = 1200, H = 900;
    const float S = W / 800.0f;
    Raster big(W, H, palette::black);
    big.radialGradient(W * 0.5f, H * 0.5f, W * 0.55f, rgb(0x1c130c), rgb(0x000000), Blend::Replace);
    Raster logo = logoImage();
    Raster flicker = logoFlickerImage();
    big.drawScaled(logo, W * 0.5f - 320 * S, H * 0.5f - 110 * S, 640 * S, 160 * S);
    big.drawScaled(flicker, W * 0.5f - 320 * S, H * 0.5f - 110 * S, 640 * S, 160 * S, Blend::Add, 1.0f);
    Font font(dejavuFont("DejaVuSansCondensed-Bold.ttf"));
    TextStyle style;
    style.size = 23 * S;
    style.tracking = 6 * S;
    font.draw(big, "NIGHT STREET RACING", W * 0.5f, H * 0.5f + 100 * S, style, withAlpha(rgb(0xb8c0d0), 0.9f), 0.5f);
    big.fillRect(W * 0.3f, H * 0.5f + 115 * S, W * 0.7f, H * 0.5f + 116.5f * S, withAlpha(palette::orange, 0.7f));
    big.clamp01();
    big.setAlpha(1);
    return shrinkTo(big, 1024, 1024);
}

Raster titleCard() {
    const int W = 800, H = 600;
    Raster big(W, H, palette::black);
    big.linearGradient(0, 0, 0, H, rgb(0x0b0f1c), rgb(0x000000), Blend::Replace);
    skyline(big, H * 0.8f, 1.0f, 3701, rgb(0x040509), 0.6f);
    big.fillRect(0, H * 0.8f, W, H, rgb(0x020203));
    Raster logo = logoImage();
    big.drawScaled(logo, W * 0.5f - 200, H * 0.3f, 400, 100);
    big.clamp01();
    big.setAlpha(1);
    return shrinkTo(big, 512, 512);
}

Raster blackCard() {
    Raster img(64, 64, palette::black);
    img.radialGradient(32, 32, 46, rgb(0x0c0e14), rgb(0x000000), Blend::Replace);
    return img;
}

}  // namespace gen::ui
