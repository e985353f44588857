#include "cities/track_textures.h"

#include "font.h"
#include "image_writers.h"
#include "noise.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace gen::cities {

namespace {

const char* kDir = "maps/textures/";

// Tiling fractal noise in 0..1 at pixel (x, y) of a w-wide tile with `cells` lattice cells across.
float tileNoise(float x, float y, int w, int cells, uint32_t seed, int octaves = 4) {
    float k = float(cells) / float(w);
    return fbm(x * k, y * k, octaves, seed, cells);
}

Color mix(Color a, Color b, float t) { return lerp(a, b, std::clamp(t, 0.0f, 1.0f)); }

Raster asphalt(int w, int h, uint32_t seed, float shade) {
    Raster img(w, h);
    img.shade([&](float x, float y) {
        float n = tileNoise(x, y, w, 16, seed);
        float grain = hash2(int(x), int(y), seed + 7);
        float v = shade * (0.75f + 0.35f * n) + (grain > 0.93f ? 0.05f : 0.0f) - (grain < 0.05f ? 0.03f : 0.0f);
        return Color{v * 0.95f, v * 0.97f, v * 1.05f, 1};
    }, Blend::Replace);
    return img;
}

// Painted line with worn edges (vertical, from y0 to y1).
void paint(Raster& img, float x0, float x1, float y0, float y1, Color c, uint32_t seed) {
    img.shade(int(x0) - 1, int(y0), int(x1) + 2, int(y1), [&](float x, float y) {
        float cover = std::clamp(std::min(x - x0, x1 - x), 0.0f, 1.0f);
        float wear = tileNoise(x, y, img.width(), 32, seed, 3);
        return withAlpha(c, cover * std::clamp(1.4f - wear * 1.1f, 0.0f, 0.9f));
    });
}

Raster streetTexture() {
    Raster img = asphalt(256, 512, 11, 0.16f);
    float px = 256.0f / 24.0f;  // pixels per unit across
    Color white{0.85f, 0.85f, 0.8f, 1};
    paint(img, 1.0f * px, 1.3f * px, 0, 512, white, 12);
    paint(img, 256 - 1.3f * px, 256 - 1.0f * px, 0, 512, white, 13);
    paint(img, 128 - 0.16f * px, 128 + 0.16f * px, 0, 256, white, 14);  // dashed centre line
    return img;
}

Raster avenueTexture() {
    Raster img = asphalt(256, 512, 21, 0.15f);
    float px = 256.0f / 30.0f;
    Color white{0.85f, 0.85f, 0.8f, 1}, yellow{0.95f, 0.7f, 0.15f, 1};
    paint(img, 1.0f * px, 1.3f * px, 0, 512, white, 22);
    paint(img, 256 - 1.3f * px, 256 - 1.0f * px, 0, 512, white, 23);
    paint(img, 128 - 0.5f * px, 128 - 0.2f * px, 0, 512, yellow, 24);
    paint(img, 128 + 0.2f * px, 128 + 0.5f * px, 0, 512, yellow, 25);
    for (float lane : {7.5f, 22.5f}) paint(img, lane * px - 0.15f * px, lane * px + 0.15f * px, 64, 320, white, 26);
    return img;
}

Raster crosswalkTexture() {
    // Across the road (s): eight white bars; along it (t): one crossing, a stop line at the far end.
    Raster img = asphalt(256, 128, 33, 0.15f);
    Color white{0.85f, 0.85f, 0.8f, 1};
    for (int k = 0; k < 8; ++k) {
        float x0 = 10 + float(k) * 30;
        paint(img, x0, x0 + 16, 18, 106, white, 34 + uint32_t(k));
    }
    img.shade(0, 118, 256, 124, [](float, float) { return Color{0.85f, 0.85f, 0.8f, 0.8f}; });
    return img;
}

Raster junctionTexture() {
    Raster img = asphalt(256, 256, 31, 0.15f);
    img.shade([&](float x, float y) {
        float stain = tileNoise(x, y, 256, 4, 32, 3);
        return Color{0, 0, 0, std::clamp((stain - 0.55f) * 1.5f, 0.0f, 0.35f)};
    });
    return img;
}

Raster slabs(int w, uint32_t seed, Color base, int count, float joint) {
    Raster img(w, w);
    float cell = float(w) / float(count);
    img.shade([&](float x, float y) {
        int cx = int(x / cell), cy = int(y / cell);
        float fx = std::fmod(x, cell), fy = std::fmod(y, cell);
        float edge = std::min(std::min(fx, cell - fx), std::min(fy, cell - fy));
        float tone = 0.85f + 0.2f * hash2(cx % count, cy % count, seed);
        float n = tileNoise(x, y, w, 16, seed + 1);
        Color c = scaled(base, tone * (0.85f + 0.3f * n));
        if (edge < joint) c = scaled(c, 0.55f);
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster noiseTexture(int w, uint32_t seed, Color a, Color b, int cells) {
    Raster img(w, w);
    img.shade([&](float x, float y) {
        float n = tileNoise(x, y, w, cells, seed);
        float g = hash2(int(x), int(y), seed + 3) * 0.12f;
        Color c = mix(a, b, n + g - 0.06f);
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

// Windows on a facade of 4 x 4 bays (a 256 x 256 tile). lit(bx, by) decides each window.
struct WindowStyle {
    Color wall, wallDark;
    float winX0, winX1, winY0, winY1;  // window box inside a 64 x 64 bay
    float litChance;
    bool curtainWall;
    uint32_t seed;
};

Raster facade(const WindowStyle& ws) {
    Raster img(256, 256);
    img.shade([&](float x, float y) {
        float n = tileNoise(x, y, 256, 16, ws.seed);
        Color c = mix(ws.wallDark, ws.wall, n);
        c.a = 1;
        return c;
    }, Blend::Replace);
    Rng rng(ws.seed);
    const Color warm{1.0f, 0.72f, 0.38f, 1}, white{0.92f, 0.92f, 0.85f, 1}, tv{0.45f, 0.6f, 1.0f, 1}, pale{1.0f, 0.86f, 0.6f, 1};
    for (int by = 0; by < 4; ++by)
        for (int bx = 0; bx < 4; ++bx) {
            float x0 = float(bx) * 64 + ws.winX0, x1 = float(bx) * 64 + ws.winX1;
            float y0 = float(by) * 64 + ws.winY0, y1 = float(by) * 64 + ws.winY1;
            bool lit = rng.chance(ws.litChance);
            float pick = rng.uniform();
            Color light = ws.curtainWall ? (pick < 0.7f ? white : pale) : (pick < 0.6f ? warm : pick < 0.85f ? pale : tv);
            float level = rng.range(0.55f, 0.95f);
            float curtain = rng.uniform();
            img.shade(int(x0), int(y0), int(std::ceil(x1)), int(std::ceil(y1)), [&](float x, float y) {
                float fx = (x - x0) / (x1 - x0), fy = (y - y0) / (y1 - y0);
                if (fx < 0 || fx > 1 || fy < 0 || fy > 1) return Color{0, 0, 0, 0};
                Color c;
                if (lit) {
                    // Brighter towards the ceiling; curtains and a frame cross darken parts.
                    float v = level * (0.8f + 0.3f * (1 - fy));
                    if (!ws.curtainWall && curtain < 0.5f && (fx < 0.22f || fx > 0.78f)) v *= 0.55f;
                    c = scaled(light, v);
                    c.a = 1.0f - v * 0.9f;  // glows
                } else {
                    float refl = 0.05f + 0.05f * (1 - fy) + 0.03f * tileNoise(x, y, 256, 8, ws.seed + 9, 2);
                    c = Color{refl * 0.7f, refl * 0.8f, refl * 1.1f, 1};
                }
                bool mullion = ws.curtainWall ? std::fabs(fx - 0.5f) < 0.02f : (std::fabs(fx - 0.5f) < 0.03f || std::fabs(fy - 0.45f) < 0.03f);
                if (mullion) c = Color{0.08f, 0.08f, 0.09f, 1};
                return c;
            }, Blend::Replace);
            // Sill and frame.
            img.fillRect(x0 - 2, y1, x1 + 2, y1 + 3, scaled(ws.wall, 0.7f), Blend::Replace);
        }
    return img;
}

Raster shopFrontTexture() {
    // 8 units wide, 4 high: a lit window, a door, a stall riser and an awning stripe.
    Raster img(256, 128);
    img.fill(Color{0.12f, 0.11f, 0.11f, 1});
    Color warm{1.0f, 0.8f, 0.55f, 1};
    // Big window (left 2/3), door (right).
    img.shade(14, 30, 170, 112, [&](float x, float y) {
        float fy = (y - 30) / 82.0f;
        float shelf = (int(y) % 22 < 3) ? 0.5f : 1.0f;
        float goods = 0.6f + 0.4f * hash2(int(x / 9), int(y / 11), 77);
        float v = (0.55f + 0.35f * (1 - fy)) * shelf * goods;
        Color c = scaled(warm, v);
        c.a = 1 - v * 0.85f;
        return c;
    }, Blend::Replace);
    img.shade(190, 34, 240, 118, [&](float x, float y) {
        float v = 0.45f + 0.3f * (1 - (y - 34) / 84.0f);
        Color c = scaled(Color{0.9f, 0.9f, 0.8f, 1}, v);
        c.a = 1 - v * 0.8f;
        return c;
    }, Blend::Replace);
    img.fillRect(213, 34, 217, 118, Color{0.1f, 0.1f, 0.1f, 1}, Blend::Replace);
    // Frames.
    img.strokeRoundRect(14, 30, 170, 112, 1, 3, Color{0.2f, 0.2f, 0.22f, 1}, Blend::Replace);
    img.strokeRoundRect(190, 34, 240, 118, 1, 3, Color{0.2f, 0.2f, 0.22f, 1}, Blend::Replace);
    // Awning stripes across the top.
    for (int k = 0; k < 16; ++k)
        img.fillRect(float(k) * 16, 4, float(k) * 16 + 8, 22, Color{0.55f, 0.08f, 0.08f, 1}, Blend::Replace);
    img.fillRect(0, 22, 256, 26, Color{0.05f, 0.05f, 0.05f, 1}, Blend::Replace);
    return img;
}

// Neon atlas: frame A (bottom half) and frame B (top half), 2 x 4 signs each, 256 x 64 per sign.
Raster neonTexture() {
    Raster img(512, 512, Color{0.03f, 0.03f, 0.04f, 1});
    const char* words[8] = {"BAR", "HOTEL", "PIZZA", "OPEN 24H", "CAFE", "CLUB", "MOTEL", "DINER"};
    const Color colours[8] = {rgb(0xff3a7a), rgb(0x38c8ff), rgb(0xff8a1c), rgb(0x7dff5a),
                              rgb(0xffd23a), rgb(0xb45aff), rgb(0xff3a3a), rgb(0x3affd2)};
    Font font(dejavuFont("DejaVuSansCondensed-Bold.ttf"));
    TextStyle style;
    style.size = 38;
    for (int frame = 0; frame < 2; ++frame)
        for (int k = 0; k < 8; ++k) {
            int col = k % 2, row = k / 2;
            int ox = col * 256, oy = (frame == 0 ? 256 : 0) + row * 64;
            Raster sign(256, 64, Color{1, 1, 1, 0});
            Color c = colours[k];
            // Frame B: every second sign switches off, the others change colour.
            float level = 1.0f;
            if (frame == 1) {
                if (k % 2 == 0) level = 0.12f;
                else c = colours[(k + 3) % 8];
            }
            TextStyle s = style;
            float width = font.measure(words[k], s);
            if (width > 220) s.xScale = 220 / width;
            Raster text(256, 64, Color{1, 1, 1, 0});
            font.draw(text, words[k], 128, 46, s, Color{1, 1, 1, 1}, 0.5f);
            text.strokeRoundRect(6, 6, 250, 58, 10, 2.5f, Color{1, 1, 1, 1});
            Raster glow = text.blurred(5);
            sign.shade([&](float x, float y) {
                float core = text.get(int(x), int(y)).a, halo = glow.get(int(x), int(y)).a;
                float v = std::clamp(core + halo * 0.9f, 0.0f, 1.0f) * level;
                Color base{0.03f, 0.03f, 0.04f, 1};
                Color tube = lerp(c, Color{1, 1, 1, 1}, core * 0.45f);
                Color out = lerp(base, tube, v);
                out.a = 1 - v;
                return out;
            }, Blend::Replace);
            img.composite(sign, ox, oy, Blend::Replace);
        }
    return img;
}

Raster barrierTexture() {
    // 3 units along per repeat: red and white diagonal stripes over concrete.
    Raster img(128, 128);
    img.shade([&](float x, float y) {
        float stripe = std::fmod(x + y * 0.6f + 256.0f, 64.0f) < 32 ? 1.0f : 0.0f;
        float n = tileNoise(x, y, 128, 8, 41);
        Color c = stripe > 0 ? Color{0.75f, 0.1f, 0.08f, 1} : Color{0.82f, 0.82f, 0.78f, 1};
        c = scaled(c, 0.75f + 0.35f * n);
        if (y < 32) c = scaled(Color{0.6f, 0.6f, 0.58f, 1}, 0.7f + 0.3f * n);  // concrete cap
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

Raster barrierSignTexture() {
    // Top half frame B (lamps off), bottom half frame A (lamps on): amber chevrons on black.
    Raster img(256, 256, Color{0.02f, 0.02f, 0.02f, 1});
    for (int frame = 0; frame < 2; ++frame) {
        float oy = frame == 0 ? 128.0f : 0.0f;
        bool on = frame == 0;
        for (int k = 0; k < 5; ++k) {
            float cx = 30 + float(k) * 50;
            std::vector<Vec2> chevron{{cx - 14, oy + 34}, {cx + 6, oy + 64}, {cx - 14, oy + 94}, {cx - 2, oy + 94}, {cx + 18, oy + 64}, {cx - 2, oy + 34}};
            img.fillPolygon(chevron, Color{0.95f, 0.55f, 0.05f, on ? 0.25f : 1.0f}, Blend::Replace);
        }
        for (float lx : {16.0f, 240.0f}) {
            img.fillCircle(lx, oy + 16, 10, on ? Color{1, 0.75f, 0.2f, 0.0f} : Color{0.25f, 0.17f, 0.05f, 1}, Blend::Replace);
        }
        img.strokeRoundRect(3, oy + 3, 253, oy + 125, 6, 4, Color{0.8f, 0.8f, 0.8f, 1}, Blend::Replace);
    }
    return img;
}

Raster lampHeadTexture() {
    Raster img(64, 64);
    img.shade([&](float x, float y) {
        float d = std::hypot(x - 32, y - 32) / 32.0f;
        float v = std::clamp(1.1f - d * 0.4f, 0.0f, 1.0f);
        return Color{1.0f * v, 0.86f * v, 0.6f * v, 0.05f};
    }, Blend::Replace);
    return img;
}

Raster foliageTexture() {
    // Quadrants: broadleaf (top left), conifer (top right), palm (bottom left), bush (bottom right).
    Raster img(512, 512, Color{0.05f, 0.12f, 0.05f, 0});
    Rng rng(97);
    auto leaves = [&](float cx, float cy, float rx, float ry, int count, Color dark, Color light, float size) {
        for (int k = 0; k < count; ++k) {
            float a = rng.range(0, 6.2831853f), r = std::sqrt(rng.uniform());
            float x = cx + std::cos(a) * rx * r, y = cy + std::sin(a) * ry * r;
            float shade = 0.4f + 0.6f * (1 - (y - (cy - ry)) / (2 * ry)) * rng.range(0.6f, 1.0f);
            img.fillCircle(x, y, size * rng.range(0.6f, 1.2f), mix(dark, light, shade), Blend::Over, 1.2f);
        }
    };
    Color bark{0.22f, 0.16f, 0.11f, 1};
    Color dark{0.04f, 0.12f, 0.05f, 1}, light{0.2f, 0.42f, 0.16f, 1};
    // Broadleaf.
    img.fillRect(122, 150, 134, 256, bark);
    img.drawLine(128, 170, 100, 130, 5, bark);
    img.drawLine(128, 160, 156, 120, 5, bark);
    leaves(128, 100, 105, 85, 900, dark, light, 7);
    // Conifer: stacked triangles.
    img.fillRect(380, 210, 388, 256, bark);
    for (int k = 0; k < 6; ++k) {
        float y = 215 - float(k) * 34, w = 100 - float(k) * 15;
        for (int j = 0; j < 90; ++j) {
            float t = rng.uniform();
            float x = 384 + rng.range(-1, 1) * w * t;
            float yy = y - (1 - t) * 50 + rng.range(-3, 3);
            img.fillCircle(x, yy, 4.5f, mix(Color{0.02f, 0.09f, 0.05f, 1}, Color{0.1f, 0.3f, 0.16f, 1}, rng.uniform()), Blend::Over, 1.2f);
        }
    }
    // Palm: curved trunk and fronds.
    for (int k = 0; k < 40; ++k) {
        float t = float(k) / 40;
        img.fillCircle(128 + 14 * std::sin(t * 2.2f), 500 - t * 180, 6 - t * 2, mix(bark, Color{0.35f, 0.27f, 0.18f, 1}, t));
    }
    for (int f = 0; f < 9; ++f) {
        float a = -2.9f + float(f) * 0.72f;
        for (int k = 0; k < 30; ++k) {
            float t = float(k) / 30;
            float x = 141 + std::cos(a) * t * 105, y = 322 + std::sin(a) * t * 70 + t * t * 55;
            img.fillEllipse(x, y, 7 * (1 - t * 0.5f), 3, mix(dark, light, 0.6f + 0.4f * t), Blend::Over, 1.2f);
        }
    }
    // Bush.
    leaves(384, 400, 110, 95, 1100, dark, light, 8);
    return img;
}

Raster containerTexture() {
    Raster img(256, 128);
    const Color colours[4] = {rgb(0x8a2a1e), rgb(0x1e4a8a), rgb(0x2a6a3a), rgb(0x8a6a1e)};
    img.shade([&](float x, float y) {
        int band = std::min(3, int(x / 64));
        float rib = 0.8f + 0.2f * std::fabs(std::sin(x * 0.8f));
        float n = tileNoise(x, y, 256, 8, 51);
        Color c = scaled(colours[band], rib * (0.7f + 0.4f * n));
        c.a = 1;
        return c;
    }, Blend::Replace);
    return img;
}

void save(const std::filesystem::path& base, const std::string& name, const Raster& img, bool tga) {
    if (tga) saveTga(base, kDir + name, img, true);
    else saveBmp(base, kDir + name, img);
}

}  // namespace

Raster trackTexture(const std::string& file) {
    if (file == "street.bmp") return streetTexture();
    if (file == "avenue.bmp") return avenueTexture();
    if (file == "junction.bmp") return junctionTexture();
    if (file == "crosswalk.bmp") return crosswalkTexture();
    if (file == "pavement.bmp") return slabs(256, 61, Color{0.36f, 0.35f, 0.34f, 1}, 3, 2.0f);
    if (file == "plaza.bmp") return slabs(256, 62, Color{0.42f, 0.36f, 0.32f, 1}, 8, 1.5f);
    if (file == "kerb.bmp") return noiseTexture(128, 63, Color{0.32f, 0.32f, 0.31f, 1}, Color{0.55f, 0.55f, 0.52f, 1}, 8);
    if (file == "barrier.bmp") return barrierTexture();
    if (file == "barriersign.tga") return barrierSignTexture();
    if (file == "grass.bmp") return noiseTexture(256, 71, Color{0.03f, 0.08f, 0.03f, 1}, Color{0.12f, 0.24f, 0.08f, 1}, 16);
    if (file == "ground.bmp") return noiseTexture(256, 72, Color{0.1f, 0.1f, 0.1f, 1}, Color{0.24f, 0.23f, 0.21f, 1}, 16);
    if (file == "water.bmp") return noiseTexture(256, 73, Color{0.02f, 0.05f, 0.1f, 1}, Color{0.08f, 0.17f, 0.28f, 1}, 32);
    if (file == "roof.bmp") return slabs(256, 74, Color{0.2f, 0.2f, 0.21f, 1}, 4, 1.0f);
    if (file == "rooftiles.bmp") return slabs(256, 75, Color{0.32f, 0.12f, 0.09f, 1}, 8, 1.5f);
    if (file == "concrete.bmp") return noiseTexture(256, 76, Color{0.25f, 0.25f, 0.26f, 1}, Color{0.45f, 0.45f, 0.44f, 1}, 8);
    if (file == "hedge.bmp") return noiseTexture(256, 77, Color{0.06f, 0.16f, 0.06f, 1}, Color{0.22f, 0.42f, 0.16f, 1}, 32);
    if (file == "metal.bmp") return noiseTexture(64, 78, Color{0.12f, 0.13f, 0.15f, 1}, Color{0.3f, 0.31f, 0.34f, 1}, 4);
    if (file == "steel.bmp") return noiseTexture(64, 79, Color{0.45f, 0.35f, 0.05f, 1}, Color{0.7f, 0.55f, 0.1f, 1}, 4);
    if (file == "container.bmp") return containerTexture();
    if (file == "lamphead.tga") return lampHeadTexture();
    if (file == "foliage.tga") return foliageTexture();
    if (file == "tower.tga") return facade({rgb(0x1c2430), rgb(0x10151c), 3, 61, 4, 62, 0.45f, true, 81});
    if (file == "tower2.tga") return facade({rgb(0x24201c), rgb(0x14110e), 4, 60, 6, 58, 0.3f, true, 87});
    if (file == "office.tga") return facade({rgb(0x5a5c60), rgb(0x3a3c40), 6, 58, 14, 50, 0.4f, false, 82});
    if (file == "apartment.tga") return facade({rgb(0x6a5a4a), rgb(0x4a3e34), 16, 48, 14, 50, 0.45f, false, 83});
    if (file == "brick.tga") return facade({rgb(0x5a2e22), rgb(0x3a1c16), 14, 50, 12, 52, 0.5f, false, 84});
    if (file == "warehouse.tga") return facade({rgb(0x44484c), rgb(0x2c3034), 20, 44, 8, 20, 0.25f, false, 85});
    if (file == "house.tga") return facade({rgb(0x8a8272), rgb(0x5a544a), 12, 52, 16, 48, 0.5f, false, 86});
    if (file == "shopfront.tga") return shopFrontTexture();
    if (file == "neon.tga") return neonTexture();
    return {};
}

namespace {

const char* const kTextureFiles[] = {
    "street.bmp", "avenue.bmp", "junction.bmp", "crosswalk.bmp", "pavement.bmp", "plaza.bmp", "kerb.bmp", "barrier.bmp",
    "barriersign.tga", "grass.bmp", "ground.bmp", "water.bmp", "roof.bmp", "rooftiles.bmp", "concrete.bmp",
    "hedge.bmp", "metal.bmp", "steel.bmp", "container.bmp", "lamphead.tga", "foliage.tga", "tower.tga",
    "tower2.tga", "office.tga", "apartment.tga", "brick.tga", "warehouse.tga", "house.tga", "shopfront.tga", "neon.tga"};

}  // namespace

void addTrackTextureJobs(JobList& jobs) {
    // Three jobs share the list so the slow images spread over the workers.
    for (int part = 0; part < 3; ++part) {
        jobs.push_back({"maps/textures/" + std::to_string(part), [part](const std::filesystem::path& base) {
            int k = 0;
            for (const char* file : kTextureFiles) {
                if (k++ % 3 != part) continue;
                std::string name = file;
                save(base, name, trackTexture(name), name.find(".tga") != std::string::npos);
            }
        }});
    }
}

}  // namespace gen::cities
