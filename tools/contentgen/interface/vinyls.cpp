// Vinyl designs for the livery. Band vinyls decorate the car's sides, top vinyls
// its hood, roof and trunk; both are 1024 x 256 pictures whose long axis runs
// along the car. The livery is painted with blending (1 - src alpha, src alpha),
// so the files carry an INVERTED alpha: 0 where the design shows, 1 where the
// paint stays.
#include "art_util.h"
#include "font.h"
#include "interface_art.h"
#include "noise.h"

#include <cmath>
#include <functional>
#include <string>

namespace gen::ui {

namespace {

constexpr int kW = 1024, kH = 256;

const Color kBlack = rgb(0x0c0c0e);
const Color kWhite = rgb(0xf4f4f0);
const Color kOrange = rgb(0xff7a10);
const Color kRed = rgb(0xd81818);
const Color kYellow = rgb(0xffd21a);
const Color kBlue = rgb(0x1a5cff);
const Color kCyan = rgb(0x20d8ff);
const Color kGreen = rgb(0x30e040);
const Color kPurple = rgb(0x9a30ff);
const Color kSilver = rgb(0xb8bcc4);

using Design = std::function<void(Raster&)>;

// Design layer (colour with coverage) to file image (inverted alpha).
Raster finish(const Raster& design) {
    Raster out(kW, kH);
    for (size_t i = 0; i < out.pixels().size(); ++i) {
        const Color& d = design.pixels()[i];
        out.pixels()[i] = Color{d.r, d.g, d.b, 1.0f - std::clamp(d.a, 0.0f, 1.0f)};
    }
    return out;
}

void text(Raster& r, const std::string& s, float x, float baseline, float size, Color c, float align = 0.5f,
          float slant = 0.18f, const char* face = "DejaVuSans-Bold.ttf", float xScale = 1.0f) {
    Font font(dejavuFont(face));
    TextStyle st;
    st.size = size;
    st.slant = slant;
    st.xScale = xScale;
    font.draw(r, s, x, baseline, st, c, align);
}

// Flame tongues licking from the left end towards +x, between y0 and y1.
void flames(Raster& r, float x0, float len, float y0, float y1, uint32_t seed, Color outer, Color inner) {
    Rng rng(seed);
    float mid = (y0 + y1) * 0.5f, half = (y1 - y0) * 0.5f;
    auto tongueSet = [&](float scale, Color c) {
        std::vector<Vec2> pts;
        pts.push_back({x0, mid - half * scale});
        int tongues = 6;
        for (int i = 0; i < tongues; ++i) {
            float t = (i + 0.5f) / tongues;
            float yy = mid - half * scale + (2 * half * scale) * t;
            float reach = len * scale * (0.55f + 0.45f * std::sin(t * kPi)) * rng.range(0.8f, 1.1f);
            float yb = mid - half * scale + (2 * half * scale) * (i + 1.0f) / tongues;
            pts.push_back({x0 + reach * 0.6f, yy - half * 0.12f * scale});
            pts.push_back({x0 + reach, yy - half * 0.05f * scale});
            pts.push_back({x0 + reach * 0.5f, yb});
        }
        pts.push_back({x0, mid + half * scale});
        r.fillPolygon(pts, c);
    };
    tongueSet(1.0f, outer);
    tongueSet(0.62f, inner);
}

std::vector<Design> bandDesigns() {
    std::vector<Design> d;
    // 1 Twin racing stripes along the side.
    d.push_back([](Raster& r) {
        r.fillRect(0, 96, kW, 128, kWhite);
        r.fillRect(0, 140, kW, 156, kWhite);
    });
    // 2 Flames from the front.
    d.push_back([](Raster& r) { flames(r, 0, 760, 40, 216, 2002, kRed, kYellow); });
    // 3 Tribal blades.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 5; ++i) {
            float x = 80 + i * 170.0f;
            r.fillPolygon({{x, 128}, {x + 150, 60}, {x + 70, 120}, {x + 190, 128}, {x + 70, 136}, {x + 150, 196}}, kBlack);
        }
    });
    // 4 Roundel with a star.
    d.push_back([](Raster& r) {
        r.fillCircle(512, 128, 108, kWhite);
        r.strokeCircle(512, 128, 100, 8, kBlack);
        r.fillPolygon(starPoints(512, 134, 84, 34, 5), kBlack);
    });
    // 5 Chequered band.
    d.push_back([](Raster& r) {
        for (int col = 0; col < 32; ++col)
            for (int row = 0; row < 3; ++row)
                r.fillRect(col * 32.0f, 80 + row * 32.0f, col * 32.0f + 32, 112 + row * 32.0f, ((col + row) % 2) ? kBlack : kWhite);
    });
    // 6 Speed slashes fading out.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 9; ++i) {
            float x = 40 + i * 110.0f, w = 70 - i * 6.0f;
            r.fillPolygon({{x, 200}, {x + w, 200}, {x + w + 60, 56}, {x + 60, 56}}, withAlpha(kOrange, 1.0f - i * 0.09f));
        }
    });
    // 7 Lightning bolt.
    d.push_back([](Raster& r) {
        r.fillPolygon({{20, 110}, {420, 90}, {380, 126}, {700, 100}, {640, 146}, {1000, 120}, {600, 176}, {650, 140}, {340, 166},
                       {380, 134}, {20, 146}},
                      kYellow);
    });
    // 8 Spear: a stripe tapering towards the tail with an orange edge.
    d.push_back([](Raster& r) {
        r.fillPolygon({{0, 84}, {980, 124}, {1000, 132}, {0, 172}}, kOrange);
        r.fillPolygon({{0, 96}, {900, 126}, {918, 130}, {0, 160}}, kWhite);
    });
    // 9 Saw-tooth stripe.
    d.push_back([](Raster& r) {
        std::vector<Vec2> p{{0, 150}};
        for (int i = 0; i <= 16; ++i) p.push_back({i * 64.0f, (i % 2) ? 96.0f : 150.0f});
        p.push_back({kW, 176});
        p.push_back({0, 176});
        r.fillPolygon(p, kCyan);
    });
    // 10 Halftone dots fading towards the rear.
    d.push_back([](Raster& r) {
        for (int col = 0; col < 40; ++col)
            for (int row = 0; row < 9; ++row) {
                float x = 14 + col * 26.0f + (row % 2) * 13.0f, y = 20 + row * 27.0f;
                float rad = 11.0f * (1.0f - col / 40.0f);
                if (rad > 1) r.fillCircle(x, y, rad, kBlack);
            }
    });
    // 11 Trail of stars.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 7; ++i) {
            float x = 80 + i * 140.0f, s = 70 - i * 7.0f;
            r.fillPolygon(starPoints(x, 128 + std::sin(i * 0.9f) * 40, s, s * 0.42f, 5), i % 2 ? kWhite : kYellow);
        }
    });
    // 12 Dark sill band with an orange pinstripe.
    d.push_back([](Raster& r) {
        r.shade([](float x, float y) {
            if (y < 150) return Color{};
            float weave = (static_cast<int>(x / 8 + y / 8) % 2) ? 0.09f : 0.14f;
            return Color{weave, weave, weave + 0.01f, 1};
        });
        r.fillRect(0, 140, kW, 146, kOrange);
    });
    // 13 Waves.
    d.push_back([](Raster& r) {
        for (int k = 0; k < 3; ++k) {
            std::vector<Vec2> p;
            for (int i = 0; i <= 64; ++i) p.push_back({i * 16.0f, 120 + k * 28 + std::sin(i * 0.35f + k) * 26});
            r.strokePolyline(p, 14 - k * 3.0f, false, k == 1 ? kCyan : kBlue);
        }
    });
    // 14 Claw marks.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 3; ++i) {
            float x = 380 + i * 90.0f;
            r.fillPolygon({{x, 30}, {x + 30, 34}, {x + 110, 226}, {x + 96, 230}}, kBlack);
        }
    });
    // 15 Arrow chevrons.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 6; ++i) {
            float x = 120 + i * 140.0f;
            r.fillPolygon({{x, 70}, {x + 50, 70}, {x + 110, 128}, {x + 50, 186}, {x, 186}, {x + 60, 128}}, i % 2 ? kOrange : kWhite);
        }
    });
    // 16 Red stripes with a diamond badge.
    d.push_back([](Raster& r) {
        r.fillRect(0, 60, kW, 76, kRed);
        r.fillRect(0, 180, kW, 196, kRed);
        r.fillPolygon({{512, 36}, {616, 128}, {512, 220}, {408, 128}}, kWhite);
        r.fillPolygon({{512, 70}, {578, 128}, {512, 186}, {446, 128}}, kRed);
    });
    // 17 Pixel blocks breaking up.
    d.push_back([](Raster& r) {
        Rng rng(1717);
        for (int col = 0; col < 64; ++col)
            for (int row = 0; row < 8; ++row) {
                float keep = 1.0f - col / 64.0f;
                if (rng.uniform() < keep * 0.95f) r.fillRect(col * 16.0f + 1, 64 + row * 16.0f + 1, col * 16.0f + 15, 64 + row * 16.0f + 15, kGreen);
            }
    });
    // 18 Tribal flames, black with red edges.
    d.push_back([](Raster& r) {
        flames(r, 0, 900, 30, 226, 1818, kRed, kBlack);
    });
    // 19 Pinstripe curls.
    d.push_back([](Raster& r) {
        std::vector<Vec2> p;
        for (int i = 0; i <= 200; ++i) {
            float t = i / 200.0f;
            p.push_back({40 + t * 940, 128 + std::sin(t * kPi * 4) * 60 * (1 - t * 0.5f)});
        }
        r.strokePolyline(p, 10, false, kWhite);
        for (int k = 0; k < 4; ++k) r.strokeCircle(160 + k * 235.0f, 128 + (k % 2 ? 40.0f : -40.0f), 26, 9, kOrange);
    });
    // 20 Honeycomb band.
    d.push_back([](Raster& r) {
        for (int col = 0; col < 30; ++col)
            for (int row = 0; row < 4; ++row) {
                float x = col * 36.0f + (row % 2) * 18.0f, y = 76 + row * 32.0f;
                std::vector<Vec2> hex;
                for (int k = 0; k < 6; ++k) hex.push_back({x + std::cos(k * kPi / 3 + kPi / 6) * 17, y + std::sin(k * kPi / 3 + kPi / 6) * 17});
                r.strokePolyline(hex, 4, true, kPurple);
            }
    });
    return d;
}

std::vector<Design> topDesigns() {
    std::vector<Design> d;
    // 1 Twin centre stripes.
    d.push_back([](Raster& r) {
        r.fillRect(0, 84, kW, 118, kWhite);
        r.fillRect(0, 138, kW, 172, kWhite);
    });
    // 2 Wide black stripe with pinstripes.
    d.push_back([](Raster& r) {
        r.fillRect(0, 88, kW, 168, kBlack);
        r.fillRect(0, 78, kW, 82, kOrange);
        r.fillRect(0, 174, kW, 178, kOrange);
    });
    // 3 Chequered band down the middle.
    d.push_back([](Raster& r) {
        for (int col = 0; col < 32; ++col)
            for (int row = 1; row < 7; ++row)
                if ((col + row) % 2) r.fillRect(col * 32.0f, row * 32.0f, col * 32.0f + 32, row * 32.0f + 32, kBlack);
                else r.fillRect(col * 32.0f, row * 32.0f, col * 32.0f + 32, row * 32.0f + 32, kWhite);
    });
    // 4 Hood flames.
    d.push_back([](Raster& r) { flames(r, 0, 620, 10, 246, 4004, kOrange, kYellow); });
    // 5 Tribal centre piece.
    d.push_back([](Raster& r) {
        r.fillPolygon({{80, 128}, {380, 40}, {300, 110}, {512, 70}, {724, 110}, {644, 40}, {944, 128}, {644, 216}, {724, 146},
                       {512, 186}, {300, 146}, {380, 216}},
                      kBlack);
    });
    // 6 Number roundel.
    d.push_back([](Raster& r) {
        r.fillCircle(512, 128, 112, kWhite);
        r.strokeCircle(512, 128, 104, 8, kRed);
        text(r, "7", 512, 184, 160, kBlack, 0.5f, 0.1f);
    });
    // 7 Big star.
    d.push_back([](Raster& r) { r.fillPolygon(starPoints(512, 132, 120, 48, 5), kYellow); });
    // 8 Target.
    d.push_back([](Raster& r) {
        r.fillCircle(512, 128, 120, kBlue);
        r.fillCircle(512, 128, 82, kWhite);
        r.fillCircle(512, 128, 44, kRed);
    });
    // 9 Tricolour stripes.
    d.push_back([](Raster& r) {
        r.fillRect(0, 72, kW, 108, kRed);
        r.fillRect(0, 110, kW, 146, kWhite);
        r.fillRect(0, 148, kW, 184, kBlue);
    });
    // 10 Lightning bolts.
    d.push_back([](Raster& r) {
        for (int k = 0; k < 2; ++k) {
            float y = 60 + k * 136.0f;
            r.fillPolygon({{0, y - 14}, {400, y - 30}, {370, y - 4}, {760, y - 26}, {1024, y}, {700, y + 10}, {730, y - 6}, {330, y + 18},
                           {360, y - 2}, {0, y + 14}},
                          kCyan);
        }
    });
    // 11 Chevrons along the car.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 7; ++i) {
            float x = 60 + i * 130.0f;
            r.fillPolygon({{x, 40}, {x + 40, 40}, {x + 120, 128}, {x + 40, 216}, {x, 216}, {x + 80, 128}}, kOrange);
        }
    });
    // 12 Halftone fade from the middle.
    d.push_back([](Raster& r) {
        for (int col = 0; col < 40; ++col)
            for (int row = 0; row < 10; ++row) {
                float x = 12 + col * 26.0f, y = 12 + row * 26.0f + (col % 2) * 13.0f;
                float rad = 11.0f * (1.0f - std::fabs(y - 128) / 140.0f);
                r.fillCircle(x, y, rad, kBlack);
            }
    });
    // 13 Claw marks.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 4; ++i) {
            float y = 50 + i * 50.0f;
            r.fillPolygon({{180, y}, {860, y - 10}, {880, y + 4}, {200, y + 22}}, kRed);
        }
    });
    // 14 Carbon weave band.
    d.push_back([](Raster& r) {
        r.shade([](float x, float y) {
            if (y < 60 || y > 196) return Color{};
            int cx = static_cast<int>(x / 12), cy = static_cast<int>(y / 12);
            float v = ((cx + cy) % 2) ? 0.08f : 0.15f;
            float f = std::fmod((cx % 2 ? x : y), 12.0f) / 12.0f;
            v += 0.05f * std::sin(f * kPi);
            return Color{v, v, v + 0.01f, 1};
        });
        r.fillRect(0, 56, kW, 60, kSilver);
        r.fillRect(0, 196, kW, 200, kSilver);
    });
    // 15 Triangles.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 16; ++i) {
            float x = i * 64.0f;
            Color c = i % 3 == 0 ? kOrange : (i % 3 == 1 ? kWhite : kBlack);
            if (i % 2) r.fillPolygon({{x, 40}, {x + 64, 40}, {x + 32, 216}}, c);
            else r.fillPolygon({{x, 216}, {x + 64, 216}, {x + 32, 40}}, c);
        }
    });
    // 16 Camouflage.
    d.push_back([](Raster& r) {
        r.shade([](float x, float y) {
            float n = fbm(x / 90.0f, y / 90.0f, 3, 1616);
            float m = fbm(x / 60.0f + 7, y / 60.0f, 3, 1617);
            if (n > 0.56f) return withAlpha(rgb(0x2a3320), 1);
            if (m > 0.55f) return withAlpha(rgb(0x4a5a36), 1);
            if (n < 0.4f) return withAlpha(rgb(0x15170f), 1);
            return Color{};
        });
    });
    // 17 Sunburst from the front.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 9; ++i) {
            float a0 = -0.8f + i * 0.18f, a1 = a0 + 0.09f;
            r.fillPolygon({{0, 128}, {1400 * std::cos(a0), 128 + 1400 * std::sin(a0)}, {1400 * std::cos(a1), 128 + 1400 * std::sin(a1)}},
                          kOrange);
        }
    });
    // 18 Lettering.
    d.push_back([](Raster& r) { text(r, "NIGHTRUN", 512, 150, 84, kBlack, 0.5f, 0.22f); });
    // 19 Wings emblem.
    d.push_back([](Raster& r) {
        for (int side = -1; side <= 1; side += 2) {
            for (int k = 0; k < 4; ++k) {
                float y = 84 + k * 24.0f, len = 300 - k * 50.0f;
                float x0 = 512 + side * 50.0f;
                r.fillPolygon({{x0, y}, {x0 + side * len, y - 20 + k * 6.0f}, {x0 + side * (len - 40), y + 16}, {x0, y + 18}}, kSilver);
            }
        }
        r.fillCircle(512, 128, 46, kSilver);
        r.fillCircle(512, 128, 30, kRed);
    });
    // 20 Argyle diamonds.
    d.push_back([](Raster& r) {
        for (int i = 0; i < 9; ++i) {
            float x = 56 + i * 114.0f;
            r.fillPolygon({{x, 20}, {x + 57, 128}, {x, 236}, {x - 57, 128}}, i % 2 ? kPurple : kBlack);
        }
        for (int i = 0; i < 18; ++i) r.drawLine(i * 114.0f - 57, 20, i * 114.0f + 57, 236, 3, kWhite);
    });
    return d;
}

}  // namespace

Raster bandVinyl(int index) {
    // The car's side takes the lower three quarters of the band (the upper rows fall on
    // the edge of the top surfaces), so each design is squeezed into rows 64..256.
    static const std::vector<Design> designs = bandDesigns();
    Raster design(kW, kH, Color{1, 1, 1, 0});
    designs.at(static_cast<size_t>(index))(design);
    Raster placed(kW, kH, Color{1, 1, 1, 0});
    placed.composite(design.resized(kW, kH * 3 / 4), 0, kH / 4, Blend::Replace);
    return finish(placed);
}

Raster vinylPreview(const Raster& vinyl) {
    // The livery blend: design * (1 - alpha) + paint * alpha.
    const Color paint = rgb(0x3a4a6a);
    Raster out(vinyl.width(), vinyl.height());
    for (size_t i = 0; i < out.pixels().size(); ++i) {
        const Color& v = vinyl.pixels()[i];
        Color c = lerp(v, paint, v.a);
        c.a = 1;
        out.pixels()[i] = c;
    }
    return out;
}

Raster topVinyl(int index) {
    // Along the car the top band has about twice the pixels per unit that it has across,
    // so round emblems are drawn square and then stretched to double width.
    static const std::vector<Design> designs = topDesigns();
    static const int emblems[] = {5, 6, 7, 17, 18};  // roundel, star, target, lettering, wings
    Raster design(kW, kH, Color{1, 1, 1, 0});
    designs.at(static_cast<size_t>(index))(design);
    for (int e : emblems)
        if (e == index) {
            Raster middle = design.region(kW / 4, 0, kW / 2, kH);
            design = middle.resized(kW, kH);
        }
    return finish(design);
}

}  // namespace gen::ui
