// Race HUD and overlay images: rev dial and needle, mini-map mask, nitro bar,
// checkpoint marker and ring, the route arrow and the countdown pictures.
#include "art_util.h"
#include "font.h"
#include "interface_art.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace gen::ui {

namespace {

// The dial is drawn as a 176-unit square; the needle's angle is 0 at 1000 rpm and
// grows 0.042 degrees per rpm, clockwise from the lower left.
constexpr float kDialUnits = 176.0f;
constexpr float kDegPerRpm = 0.042f;
constexpr float kMaxRpm = 1000.0f + 270.0f / kDegPerRpm;  // about 7429

// Screen angle (radians, 0 = +x, clockwise with y down) of the needle at rpm.
float dialAngle(float rpm) {
    float a = std::clamp((rpm - 1000.0f) * kDegPerRpm, 0.0f, 270.0f);
    return (135.0f + a) * kPi / 180.0f;
}

// A white marker over its own blurred glow, faded out from radius fadeFrom to
// fadeFrom + fadeWidth around the picture's centre.
Raster glowingMarker(const Raster& layer, float glowRadius, float fadeFrom, float fadeWidth) {
    const float cx = layer.width() * 0.5f, cy = layer.height() * 0.5f;
    Raster img = emptyLayer(layer);
    img.composite(layer.blurred(glowRadius), 0, 0);
    img.composite(layer, 0, 0);
    img.map([=](Color c, int x, int y) {
        float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
        c.a *= 1.0f - std::clamp((d - fadeFrom) / fadeWidth, 0.0f, 1.0f);
        return c;
    });
    return img;
}

}  // namespace

Raster revDial() {
    const int n = 256;
    const float k = n / kDialUnits, c = n * 0.5f;
    Raster img(n, n, withAlpha(rgb(0x05070b), 0.0f));
    // Face: a ring of dark glass. The middle stays open: the nitro bar is drawn there
    // before the dial and must show through.
    const float hole = 38.5f * k;
    img.shade([&](float x, float y) {
        float d = std::hypot(x - c, y - c);
        float outer = std::clamp(85 * k - d + 0.5f, 0.0f, 1.0f);
        float inner = std::clamp(d - hole + 0.5f, 0.0f, 1.0f);
        float glow = std::clamp(1.0f - d / (84 * k), 0.0f, 1.0f) * 0.5f;
        Color col = lerp(rgb(0x05070b), rgb(0x1b2233), glow);
        col.a = 0.8f * outer * inner;
        return col;
    });
    // Bezel.
    img.strokeCircle(c, c, 84 * k, 2.5f * k, withAlpha(rgb(0x8a93a6), 0.95f));
    img.strokeCircle(c, c, 81.5f * k, 1.0f * k, withAlpha(palette::orange, 0.7f));
    // Red zone from 6500 rpm to the end of the scale.
    img.strokeArc(c, c, 74 * k, 9 * k, dialAngle(6500), dialAngle(kMaxRpm), withAlpha(rgb(0xe01818), 0.85f));
    // Scale arc and ticks.
    img.strokeArc(c, c, 79.5f * k, 1.2f * k, dialAngle(1000), dialAngle(kMaxRpm), withAlpha(palette::white, 0.8f));
    for (int rpm = 1000; rpm <= 7400; rpm += 250) {
        bool major = rpm % 1000 == 0, half = rpm % 500 == 0;
        float a = dialAngle(static_cast<float>(rpm));
        float r0 = major ? 66 : (half ? 71 : 74), r1 = 79.5f;
        Color col = rpm >= 6500 ? rgb(0xffd0c0) : palette::white;
        img.drawLine(c + std::cos(a) * r0 * k, c + std::sin(a) * r0 * k, c + std::cos(a) * r1 * k, c + std::sin(a) * r1 * k,
                     (major ? 3.2f : 1.6f) * k * 0.7f, col);
    }
    // Numbers 1..7 (thousands).
    Font font(dejavuFont("DejaVuSansCondensed-Bold.ttf"));
    TextStyle style;
    style.size = 15 * k;
    for (int t = 1; t <= 7; ++t) {
        float a = dialAngle(t * 1000.0f);
        float r = 56 * k;
        float x = c + std::cos(a) * r, y = c + std::sin(a) * r;
        Color col = t >= 7 ? rgb(0xff4a3a) : palette::white;
        font.draw(img, std::to_string(t), x, y + style.size * 0.36f, style, col, 0.5f);
    }
    TextStyle small;
    small.size = 7.5f * k;
    small.tracking = 0.8f * k;
    font.draw(img, "x1000 rpm", c, c - 41 * k, small, withAlpha(rgb(0xb0b8c8), 0.9f), 0.5f);
    // Hub ring around the opening where the nitro bar sits.
    img.strokeCircle(c, c, hole, 1.5f * k, withAlpha(rgb(0x6a7388), 0.9f));
    return img;
}

Raster revNeedle() {
    // Drawn as a 14 x 28 quad whose top points outwards.
    const int w = 32, h = 64;
    Raster layer = emptyLayer(w, h);
    std::vector<Vec2> shape{{16, 2}, {21, 40}, {20, 62}, {12, 62}, {11, 40}};
    layer.fillPolygon(shape, palette::white);
    Raster img(w, h, withAlpha(rgb(0xff3b10), 0.0f));
    Raster glow = layer.blurred(4);
    glow.tint(rgb(0xff3b10));
    img.composite(glow, 0, 0, Blend::Over, 0.8f);
    img.shade([&](float x, float y) {
        Color col = lerp(rgb(0xffe6c0), rgb(0xff4a10), std::clamp(std::fabs(x - 16.0f) / 5.0f, 0.0f, 1.0f));
        col.a = layer.sample(x, y).a;
        return col;
    });
    return img;
}

Raster miniMapMask() {
    // Laid over the whole screen before the map frame is captured, then shown inside
    // the mini-map quad (-10, 20)..(246, 212): texture space is that quad. Alpha 0
    // over the map window (rounded corners, the left edge inside the visible screen),
    // 1 around it, with a short fade at the border.
    const int n = 512;
    Raster img(n, n, Color{0, 0, 0, 1});
    const float x0 = n * 0.075f, x1 = n * 0.955f, y0 = n * 0.07f, y1 = n * 0.93f, r = n * 0.09f;
    const float fade = 6.0f;
    img.shade([&](float x, float y) {
        float d = sdRoundRect(x, y, x0, y0, x1, y1, r);
        float a = std::clamp((d + fade) / fade, 0.0f, 1.0f);
        return Color{0, 0, 0, a};
    }, Blend::Replace);
    return img;
}

Raster nitroBar() {
    // Cut, not squeezed, by the nitro level: the left end is empty, the right end full.
    const int w = 128, h = 64;
    Raster img(w, h, palette::black);
    img.shade([&](float x, float y) {
        float u = x / w, t = y / h;
        Color c = lerp(rgb(0x0a3cff), rgb(0x22e4ff), std::clamp(u * 1.2f, 0.0f, 1.0f));
        c = lerp(c, rgb(0xe8fcff), std::clamp((u - 0.8f) * 4.0f, 0.0f, 1.0f));
        float shade = 1.0f - std::pow(std::fabs(t - 0.38f) * 1.6f, 2.0f);
        c = scaled(c, std::clamp(shade, 0.25f, 1.0f));
        if (t < 0.2f) c = lerp(c, palette::white, (0.2f - t) * 2.0f);
        if (std::fmod(x, 16.0f) < 1.5f) c = scaled(c, 0.45f);
        if (y < 3 || y >= h - 3) c = rgb(0x0b0d14);
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster checkpointMarker() {
    // White, tinted green or orange by the game: a glowing disc with a bright rim.
    const int n = 128;
    Raster layer = emptyLayer(n, n);
    layer.fillCircle(64, 64, 30, withAlpha(palette::white, 0.75f));
    layer.strokeCircle(64, 64, 30, 6, palette::white);
    layer.fillCircle(64, 64, 12, palette::white);
    return glowingMarker(layer, 16, 56, 8);
}

Raster checkpointRing() {
    const int n = 128;
    Raster layer = emptyLayer(n, n);
    layer.strokeCircle(64, 64, 52, 6, palette::white);
    for (int i = 0; i < 4; ++i) {  // four notches pointing in
        float a = kPi * 0.25f + i * kPi * 0.5f;
        float cx = 64 + std::cos(a) * 44, cy = 64 + std::sin(a) * 44;
        float tx = 64 + std::cos(a) * 36, ty = 64 + std::sin(a) * 36;
        float px = -std::sin(a) * 6, py = std::cos(a) * 6;
        layer.fillPolygon({{cx + px, cy + py}, {cx - px, cy - py}, {tx, ty}}, palette::white);
    }
    return glowingMarker(layer, 10, 58, 6);
}

Raster routeArrow() {
    // Laid along the road as a 2 x 8 quad; the top of the picture points along the route.
    const int w = 64, h = 256;
    Raster layer = emptyLayer(w, h);
    for (int i = 0; i < 3; ++i) {
        float top = 20.0f + i * 78.0f;
        float alpha = 1.0f - i * 0.28f;
        std::vector<Vec2> chevron{{32, top}, {60, top + 34}, {60, top + 58}, {32, top + 24}, {4, top + 58}, {4, top + 34}};
        layer.fillPolygon(chevron, withAlpha(palette::white, alpha));
    }
    Raster img = emptyLayer(w, h);
    img.composite(layer.blurred(6), 0, 0, Blend::Over, 0.7f);
    img.composite(layer, 0, 0);
    return img;
}

namespace {

Raster glowingText(int w, int h, const std::string& text, float size, Color colour, Color hot) {
    Font font(dejavuFont("DejaVuSans-Bold.ttf"));
    TextStyle style;
    style.size = size;
    style.slant = 0.12f;
    Raster layer = emptyLayer(w, h);
    float asc = size * 0.73f;  // cap height of the face
    font.draw(layer, text, w * 0.5f, h * 0.5f + asc * 0.5f, style, palette::white, 0.5f);
    Raster img(w, h, palette::black);
    Raster wide = layer.blurred(size * 0.35f);
    Raster near = layer.blurred(size * 0.08f);
    img.shade([&](float x, float y) {
        float g = wide.sample(x, y).a * 0.9f, n2 = near.sample(x, y).a, core = layer.sample(x, y).a;
        Color c = scaled(colour, std::min(1.0f, g + n2 * 0.8f));
        c = lerp(c, hot, core);
        // Drawn additively: the glow must be gone before the quad's edge.
        float edge = std::min(std::min(x, w - x), std::min(y, h - y));
        c = scaled(c, std::clamp(edge / 14.0f, 0.0f, 1.0f));
        c.a = 1;
        return c;
    }, Blend::Replace);
    img.clamp01();
    return img;
}

}  // namespace

Raster countdownDigit(int digit) {
    return glowingText(128, 128, std::to_string(digit), 96, palette::orange, rgb(0xfff0d8));
}

Raster startWord() { return glowingText(256, 128, "GO!", 92, rgb(0x30ff50), rgb(0xeaffea)); }

}  // namespace gen::ui
