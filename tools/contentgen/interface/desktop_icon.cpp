#include "interface/desktop_icon.h"

#include <cmath>
#include <cstdint>

namespace gen {

namespace {

// A small deterministic hash for the skyline's windows.
float hash01(uint32_t n) {
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27d4eb2du;
    n ^= n >> 15;
    return float(n & 0xffffu) / 65535.0f;
}

}  // namespace

Raster desktopIcon(int size) {
    // Drawn at 256 and scaled, so every size is the same picture.
    constexpr int side = 256;
    constexpr float S = float(side);
    Raster art(side, side, palette::clear);
    const float horizon = 150.0f;

    // The tile: a night sky fading into a warm haze at the horizon.
    Raster tile(side, side, withAlpha(palette::night, 0.0f));
    tile.linearGradient(0, 0, 0, horizon, rgb(0x070a18), rgb(0x2a1838));
    tile.linearGradient(0, horizon, 0, S, rgb(0x0b0d14), rgb(0x050608));
    tile.radialGradient(128, horizon, 120, withAlpha(palette::orange, 0.35f), withAlpha(palette::orange, 0.0f),
                        Blend::Add);

    // Skyline: blocks of varied height with a few lit windows.
    float x = 0.0f;
    for (uint32_t i = 0; x < S; ++i) {
        const float w = 18.0f + 22.0f * hash01(i * 7u + 1u);
        const float h = 30.0f + 70.0f * hash01(i * 13u + 5u) * (0.4f + 0.6f * std::fabs(x + w / 2 - 128.0f) / 128.0f);
        const float top = horizon - h;
        tile.fillRect(x, top, x + w - 2.0f, horizon, rgb(0x0d0f1a));
        for (float wy = top + 6.0f; wy < horizon - 6.0f; wy += 9.0f) {
            for (float wx = x + 4.0f; wx < x + w - 6.0f; wx += 7.0f) {
                const uint32_t seed = uint32_t(wx * 31.0f + wy * 17.0f + float(i) * 101.0f);
                if (hash01(seed) < 0.7f) continue;
                tile.fillRect(wx, wy, wx + 3.0f, wy + 4.0f, withAlpha(palette::amber, 0.85f));
            }
        }
        x += w;
    }

    // The street: a dark wedge to the vanishing point with neon kerbs and a dashed centre line.
    const Vec2 vanish{128.0f, horizon};
    tile.fillPolygon({{vanish.x - 6, vanish.y}, {vanish.x + 6, vanish.y}, {S + 40, S}, {-40, S}}, rgb(0x121420));
    Raster kerbs(side, side, palette::clear);
    kerbs.drawLine(vanish.x - 5, vanish.y, -30, S, 6.0f, palette::white);
    kerbs.drawLine(vanish.x + 5, vanish.y, S + 30, S, 6.0f, palette::white);
    for (int k = 0; k < 6; ++k) {
        const float t0 = std::pow(float(k) / 6.0f, 1.6f), t1 = std::pow((float(k) + 0.5f) / 6.0f, 1.6f);
        kerbs.drawLine(vanish.x, vanish.y + t0 * (S - vanish.y), vanish.x, vanish.y + t1 * (S - vanish.y),
                       1.0f + 7.0f * t1, withAlpha(palette::white, 0.8f));
    }
    Raster glow = kerbs.blurred(6.0f);
    glow.tint(palette::orange);
    tile.composite(glow, 0, 0, Blend::Add, 1.6f);
    kerbs.tint(palette::amber);
    tile.composite(kerbs, 0, 0, Blend::Over);

    // Two tail lamps of a car ahead, glowing red.
    Raster lamps(side, side, palette::clear);
    lamps.fillRoundRect(104, 196, 124, 204, 3, rgb(0xff3020));
    lamps.fillRoundRect(132, 196, 152, 204, 3, rgb(0xff3020));
    lamps.fillRect(100, 204, 156, 222, rgb(0x05060a));
    Raster lampGlow = lamps.blurred(8.0f);
    tile.composite(lampGlow, 0, 0, Blend::Add, 1.2f);
    tile.composite(lamps, 0, 0, Blend::Over);

    // Cut to a rounded tile with an orange rim.
    Raster mask(side, side, palette::clear);
    mask.fillRoundRect(8, 8, S - 8, S - 8, 44, palette::white);
    tile.map([&](Color c, int px, int py) {
        c.a = mask.at(px, py).a;
        return c;
    });
    art.composite(tile, 0, 0);
    art.strokeRoundRect(9, 9, S - 9, S - 9, 43, 3.0f, withAlpha(palette::orange, 0.9f));
    art.clamp01();
    return size == side ? art : art.resized(size, size);
}

}  // namespace gen
