// The icon atlas: one row of 32 square cells, white pictograms on transparent
// (the menus tint them). Each icon is designed on a 64-unit grid and drawn at
// twice that size.
#include "art_util.h"
#include "font.h"
#include "interface_art.h"

#include <cmath>
#include <functional>

namespace gen::ui {

namespace {

constexpr int kCellPx = 128;
constexpr float kS = kCellPx / 64.0f;  // design unit -> pixels

const Color W = palette::white;
const Color Cut{1, 1, 1, 1};  // used with Blend::Erase to punch holes

// Drawing in design units on one cell.
struct Pen {
    Raster& r;
    void circle(float x, float y, float rad, Color c = W, Blend b = Blend::Over) { r.fillCircle(x * kS, y * kS, rad * kS, c, b); }
    void ring(float x, float y, float rad, float w, Color c = W, Blend b = Blend::Over) {
        r.strokeCircle(x * kS, y * kS, rad * kS, w * kS, c, b);
    }
    void rect(float x0, float y0, float x1, float y1, float rad = 0, Color c = W, Blend b = Blend::Over) {
        r.fillRoundRect(x0 * kS, y0 * kS, x1 * kS, y1 * kS, rad * kS, c, b);
    }
    void frame(float x0, float y0, float x1, float y1, float rad, float w, Color c = W, Blend b = Blend::Over) {
        r.strokeRoundRect(x0 * kS, y0 * kS, x1 * kS, y1 * kS, rad * kS, w * kS, c, b);
    }
    void poly(const std::vector<Vec2>& p, Color c = W, Blend b = Blend::Over) { r.fillPolygon(transformed(p, 0, 0, kS), c, b); }
    void line(float x0, float y0, float x1, float y1, float w, Color c = W, Blend b = Blend::Over) {
        r.drawLine(x0 * kS, y0 * kS, x1 * kS, y1 * kS, w * kS, c, b);
    }
    void path(const std::vector<Vec2>& p, float w, bool closed = false, Color c = W, Blend b = Blend::Over) {
        r.strokePolyline(transformed(p, 0, 0, kS), w * kS, closed, c, b);
    }
    void arc(float x, float y, float rad, float w, float a0, float a1, Color c = W, Blend b = Blend::Over, bool round = true) {
        r.strokeArc(x * kS, y * kS, rad * kS, w * kS, a0, a1, c, b, 1.0f, round);
    }
};

// A sporty car seen from the side, nose to the right, wheels included.
std::vector<Vec2> carSideBody(float ox, float oy, float s) {
    std::vector<Vec2> p{{4, 40}, {5, 33}, {12, 30}, {22, 29}, {30, 21}, {42, 21}, {50, 28}, {59, 31}, {61, 36}, {60, 40}};
    return transformed(p, ox, oy, s);
}

void carSide(Pen& pen, float ox, float oy, float s, bool wheels = true) {
    pen.poly(carSideBody(ox, oy, s));
    // Window cut out.
    pen.poly(transformed({{24, 29}, {31, 23.5f}, {41, 23.5f}, {47, 29}}, ox, oy, s), Cut, Blend::Erase);
    if (wheels) {
        for (float wx : {16.0f, 49.0f}) {
            pen.circle(ox + wx * s, oy + 40 * s, 7.5f * s, Cut, Blend::Erase);
            pen.circle(ox + wx * s, oy + 40 * s, 6 * s);
            pen.circle(ox + wx * s, oy + 40 * s, 2.5f * s, Cut, Blend::Erase);
        }
    }
}

void carFront(Pen& pen, float ox, float oy, float s) {
    // Roof, windscreen cut, body with lamps cut, wheels below.
    pen.poly(transformed({{18, 14}, {46, 14}, {52, 27}, {12, 27}}, ox, oy, s));
    pen.poly(transformed({{21, 17}, {43, 17}, {47, 25}, {17, 25}}, ox, oy, s), Cut, Blend::Erase);
    pen.rect(ox + 6 * s, oy + 27 * s, ox + 58 * s, oy + 44 * s, 5 * s);
    pen.circle(ox + 15 * s, oy + 34 * s, 4 * s, Cut, Blend::Erase);
    pen.circle(ox + 49 * s, oy + 34 * s, 4 * s, Cut, Blend::Erase);
    pen.rect(ox + 24 * s, oy + 36 * s, ox + 40 * s, oy + 40 * s, 1.5f * s, Cut, Blend::Erase);
    pen.rect(ox + 9 * s, oy + 44 * s, ox + 18 * s, oy + 52 * s, 2 * s);
    pen.rect(ox + 46 * s, oy + 44 * s, ox + 55 * s, oy + 52 * s, 2 * s);
}

void shield(Pen& pen) {
    std::vector<Vec2> p{{32, 5}, {55, 12}, {54, 33}, {46, 48}, {32, 59}, {18, 48}, {10, 33}, {9, 12}};
    pen.poly(p);
    std::vector<Vec2> inner{{32, 10}, {50, 15.5f}, {49.5f, 32}, {42.5f, 45}, {32, 53.5f}, {21.5f, 45}, {14.5f, 32}, {14, 15.5f}};
    pen.poly(inner, Cut, Blend::Erase);
}

using IconFn = std::function<void(Pen&)>;

std::vector<IconFn> iconList() {
    std::vector<IconFn> icons;
    // 0 Career: racing helmet.
    icons.push_back([](Pen& p) {
        p.poly({{8, 40}, {9, 28}, {15, 17}, {26, 10}, {38, 9}, {50, 14}, {57, 24}, {58, 36}, {56, 48}, {44, 52}, {20, 52}, {10, 48}});
        p.poly({{30, 26}, {56, 25}, {57, 37}, {34, 38}}, Cut, Blend::Erase);
        p.line(14, 45, 30, 45, 3, Cut, Blend::Erase);
        p.arc(32, 40, 24, 2.5f, -2.9f, -1.9f, Cut, Blend::Erase);
    });
    // 1 Quick race: chequered flag on a pole.
    icons.push_back([](Pen& p) {
        p.line(12, 8, 12, 58, 4);
        p.poly({{14, 9}, {54, 9}, {54, 36}, {14, 36}});
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 5; ++col)
                if ((row + col) % 2) p.rect(14 + col * 8, 9 + row * 9, 22 + col * 8, 18 + row * 9, 0, Cut, Blend::Erase);
        p.frame(14, 9, 54, 36, 0, 2);
    });
    // 2 Information: i in a circle.
    icons.push_back([](Pen& p) {
        p.ring(32, 32, 24, 5);
        p.circle(32, 19, 4);
        p.rect(28, 27, 36, 46, 2);
    });
    // 3 Options: gear.
    icons.push_back([](Pen& p) {
        std::vector<Vec2> g;
        for (int i = 0; i < 48; ++i) {
            float a = i * 2 * kPi / 48;
            int tooth = (i / 3) % 2;
            float r = tooth ? 26 : 20;
            g.push_back({32 + std::cos(a) * r, 32 + std::sin(a) * r});
        }
        p.poly(g);
        p.circle(32, 32, 9, Cut, Blend::Erase);
    });
    // 4 Quit: power symbol.
    icons.push_back([](Pen& p) {
        p.arc(32, 35, 21, 6, -kPi * 0.5f + 0.75f, kPi * 1.5f - 0.75f);
        p.line(32, 8, 32, 32, 6.5f);
    });
    // 5 New career: star with a plus.
    icons.push_back([](Pen& p) {
        p.poly(starPoints(28, 34, 24, 10, 5));
        p.circle(48, 16, 11, Cut, Blend::Erase);
        p.rect(46, 6, 50, 26, 1);
        p.rect(38, 14, 58, 18, 1);
    });
    // 6 Continue: play arrow in a ring.
    icons.push_back([](Pen& p) {
        p.ring(32, 32, 24, 5);
        p.poly({{25, 19}, {45, 32}, {25, 45}});
    });
    // 7 Back: hooked arrow pointing left.
    icons.push_back([](Pen& p) {
        p.arc(34, 34, 16, 6, -kPi * 0.5f, kPi * 0.5f);
        p.line(20, 50, 34, 50, 6);
        p.line(18, 18, 34, 18, 6);
        p.poly({{6, 18}, {22, 6}, {22, 30}});
    });
    // 8 Tech tuning: wrench.
    icons.push_back([](Pen& p) {
        p.line(18, 46, 40, 24, 9);
        p.circle(46, 18, 13);
        p.poly({{46, 18}, {62, 8}, {56, 2}, {40, 12}}, Cut, Blend::Erase);
        p.circle(15, 49, 7);
        p.circle(15, 49, 3, Cut, Blend::Erase);
    });
    // 9 Body tuning: car side with a wrench mark.
    icons.push_back([](Pen& p) {
        carSide(p, 0, 6, 1);
        p.circle(50, 12, 9, Cut, Blend::Erase);
        p.line(44, 18, 54, 8, 4);
        p.circle(56, 6, 4);
        p.circle(56, 6, 1.8f, Cut, Blend::Erase);
    });
    // 10 Visual tuning: an eye.
    icons.push_back([](Pen& p) {
        std::vector<Vec2> eye;
        for (int i = 0; i <= 32; ++i) {
            float t = i / 32.0f;
            eye.push_back({6 + 52 * t, 32 - 18 * std::sin(t * kPi)});
        }
        for (int i = 32; i >= 0; --i) {
            float t = i / 32.0f;
            eye.push_back({6 + 52 * t, 32 + 18 * std::sin(t * kPi)});
        }
        p.poly(eye);
        p.circle(32, 32, 12, Cut, Blend::Erase);
        p.circle(32, 32, 8);
        p.circle(35, 29, 2.5f, Cut, Blend::Erase);
    });
    // 11 Change car: car front with swap arrows.
    icons.push_back([](Pen& p) {
        carFront(p, 8, 14, 0.75f);
        p.arc(32, 34, 28, 3.5f, -kPi * 0.85f, -kPi * 0.58f);
        p.poly({{10, 4}, {18, 16}, {6, 17}});
        p.arc(32, 34, 28, 3.5f, -kPi * 0.42f, -kPi * 0.15f);
        p.poly({{54, 4}, {46, 16}, {58, 17}});
    });
    // 12 Rims: wheel with spokes.
    icons.push_back([](Pen& p) {
        p.circle(32, 32, 27);
        p.circle(32, 32, 20, Cut, Blend::Erase);
        p.ring(32, 32, 18, 2);
        for (int i = 0; i < 5; ++i) {
            float a = i * 2 * kPi / 5 - kPi / 2;
            p.line(32, 32, 32 + std::cos(a) * 18, 32 + std::sin(a) * 18, 4.5f);
        }
        p.circle(32, 32, 6);
        p.circle(32, 32, 2.5f, Cut, Blend::Erase);
    });
    // 13 Body kit: car side with a skirt between the wheels, a front lip and a rear diffuser.
    icons.push_back([](Pen& p) {
        carSide(p, 0, 2, 1);
        p.rect(25, 44, 41, 49, 1.5f);
        p.poly({{56, 40}, {63, 41}, {63, 44}, {57, 46}});
        p.poly({{1, 39}, {8, 40}, {7, 46}, {2, 44}});
    });
    // 14 Spoiler: rear wing on two stands.
    icons.push_back([](Pen& p) {
        p.poly({{4, 18}, {60, 14}, {60, 24}, {4, 26}});
        p.rect(2, 12, 8, 32, 1.5f);
        p.rect(56, 8, 62, 28, 1.5f);
        p.poly({{16, 25}, {22, 25}, {24, 46}, {14, 46}});
        p.poly({{42, 24}, {48, 24}, {50, 46}, {40, 46}});
        p.rect(4, 46, 60, 54, 3);
    });
    // 15 Roof scoop: car profile with an intake on the roof.
    icons.push_back([](Pen& p) {
        carSide(p, 0, 10, 1);
        p.poly({{28, 31}, {30, 22}, {42, 22}, {42, 31}});
        p.rect(31, 24, 38, 28, 0.5f, Cut, Blend::Erase);
    });
    // 16 Hood scoop: bonnet with a raised intake.
    icons.push_back([](Pen& p) {
        p.poly({{4, 46}, {6, 36}, {20, 31}, {60, 32}, {62, 42}, {60, 46}});
        p.poly({{26, 32}, {29, 20}, {50, 20}, {52, 32}});
        p.rect(31, 23, 47, 29, 1, Cut, Blend::Erase);
        p.circle(44, 46, 9, Cut, Blend::Erase);
        p.circle(44, 46, 7);
        p.circle(44, 46, 2.5f, Cut, Blend::Erase);
    });
    // 17 Optics: headlamp with rays.
    icons.push_back([](Pen& p) {
        p.poly({{6, 20}, {24, 14}, {30, 20}, {30, 44}, {24, 50}, {6, 44}});
        p.circle(20, 32, 7, Cut, Blend::Erase);
        p.circle(20, 32, 4);
        for (int i = -2; i <= 2; ++i) p.line(36, 32 + i * 9, 58, 32 + i * 13, 4);
    });
    // 18 Painting: spray can with a mist.
    icons.push_back([](Pen& p) {
        p.rect(14, 22, 36, 58, 4);
        p.rect(19, 14, 31, 22, 1);
        p.rect(22, 8, 30, 14, 1);
        p.rect(18, 32, 32, 46, 2, Cut, Blend::Erase);
        for (int i = 0; i < 8; ++i) p.circle(40 + (i % 3) * 7 + (i / 3) * 2, 6 + (i / 3) * 6 + (i % 3), 1.8f);
    });
    // 19 Vinyls on top: car seen from above with stripes.
    icons.push_back([](Pen& p) {
        p.rect(16, 4, 48, 60, 12);
        p.rect(21, 18, 43, 26, 3, Cut, Blend::Erase);
        p.rect(21, 42, 43, 48, 3, Cut, Blend::Erase);
        p.rect(26, 4, 30, 60, 0, Cut, Blend::Erase);
        p.rect(34, 4, 38, 60, 0, Cut, Blend::Erase);
    });
    // 20 Vinyls on side: car side with a flame stripe cut in.
    icons.push_back([](Pen& p) {
        carSide(p, 0, 6, 1);
        p.poly({{6, 40}, {18, 36}, {14, 40}, {30, 35}, {26, 39.5f}, {44, 36}, {36, 41}, {60, 41}, {60, 43}, {6, 43}}, Cut, Blend::Erase);
    });
    // 21 Neon: car with glow lines beneath.
    icons.push_back([](Pen& p) {
        carSide(p, 0, -2, 1);
        for (int i = 0; i < 3; ++i) {
            float y = 48 + i * 5.5f;
            float inset = 6 + i * 6;
            p.line(inset, y, 64 - inset, y, 2.6f, withAlpha(W, 1.0f - i * 0.25f));
        }
    });
    // 22 Competitions: trophy.
    icons.push_back([](Pen& p) {
        p.poly({{16, 8}, {48, 8}, {46, 26}, {38, 36}, {26, 36}, {18, 26}});
        p.arc(16, 18, 8, 3.5f, kPi * 0.5f, kPi * 1.5f);
        p.arc(48, 18, 8, 3.5f, -kPi * 0.5f, kPi * 0.5f);
        p.rect(29, 35, 35, 46, 0);
        p.rect(20, 46, 44, 54, 2);
    });
    // 23 NIGHT WIND club: shield, crescent moon and wind lines.
    icons.push_back([](Pen& p) {
        shield(p);
        p.circle(28, 26, 10);
        p.circle(33, 22, 9, Cut, Blend::Erase);
        p.path({{18, 38}, {30, 38}, {36, 35}}, 3);
        p.path({{22, 44}, {40, 44}, {46, 40}}, 3);
    });
    // 24 MIDNIGHT RACERS club: shield with a clock at twelve.
    icons.push_back([](Pen& p) {
        shield(p);
        p.ring(32, 28, 13, 3);
        p.line(32, 28, 32, 18, 3);
        p.line(32, 28, 33.5f, 20, 2);
        for (int i = 0; i < 4; ++i) {
            float a = i * kPi * 0.5f;
            p.circle(32 + std::cos(a) * 10, 28 + std::sin(a) * 10, 1.3f);
        }
        p.rect(20, 42, 44, 45, 1);
    });
    // 25 CRAZY DRIVE club: shield with a lightning bolt.
    icons.push_back([](Pen& p) {
        shield(p);
        p.poly({{36, 12}, {22, 33}, {31, 33}, {26, 50}, {42, 26}, {33, 26}, {39, 12}});
    });
    // 26 Audio: speaker with sound waves.
    icons.push_back([](Pen& p) {
        p.poly({{6, 24}, {16, 24}, {30, 12}, {30, 52}, {16, 40}, {6, 40}});
        p.arc(30, 32, 10, 3.5f, -0.8f, 0.8f);
        p.arc(30, 32, 18, 3.5f, -0.85f, 0.85f);
        p.arc(30, 32, 26, 3.5f, -0.9f, 0.9f);
    });
    // 27 Graphics: monitor.
    icons.push_back([](Pen& p) {
        p.frame(6, 10, 58, 44, 4, 5);
        p.poly({{14, 38}, {26, 24}, {34, 32}, {42, 20}, {52, 38}});
        p.circle(18, 20, 4);
        p.rect(28, 44, 36, 52, 0);
        p.rect(18, 52, 46, 57, 2);
    });
    // 28 Controls: steering wheel.
    icons.push_back([](Pen& p) {
        p.ring(32, 32, 23, 7);
        p.circle(32, 32, 7);
        p.line(12, 28, 25, 31, 6);
        p.line(52, 28, 39, 31, 6);
        p.line(32, 38, 32, 54, 6);
    });
    return icons;
}

}  // namespace

Raster iconAtlas() {
    Raster atlas(32 * kCellPx, kCellPx, palette::clear);
    std::vector<IconFn> icons = iconList();
    for (size_t i = 0; i < icons.size() && i < 31; ++i) {
        Raster cell(kCellPx, kCellPx, palette::clear);
        Pen pen{cell};
        icons[i](pen);
        atlas.composite(cell, static_cast<int>(i) * kCellPx, 0, Blend::Replace);
    }
    return atlas;
}

}  // namespace gen::ui
