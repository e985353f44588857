#include "cars/garage.h"

#include "font.h"
#include "noise.h"

#include <algorithm>

namespace cars {

namespace {

using gen::Color;
using gen::Raster;

constexpr float kFloorY = -0.92f;
constexpr float kWallSplit = 3.6f;  // lower wall (bays) below, upper wall above
constexpr int kSides = 8;
const float kHalfAngle = kPi / kSides;
const float kCircum = kGarageApothem / std::cos(kPi / kSides);

const char* const kTex = "base/garage/textures/";
std::string tex(const char* name) { return std::string(kTex) + name; }

V3 corner(int i, float r = kCircum) {  // corner between side i and i + 1
    float a = static_cast<float>(i) * 2 * kHalfAngle + kHalfAngle;
    return {r * std::cos(a), 0, r * std::sin(a)};
}
V3 sideNormal(int i) {  // into the room
    float a = static_cast<float>(i) * 2 * kHalfAngle;
    return {-std::cos(a), 0, -std::sin(a)};
}
// Distance from the centre to the wall along angle phi.
float wallDistance(float phi) {
    float sector = 2 * kHalfAngle;
    float rel = std::fmod(phi + kHalfAngle + 8 * kPi, sector) - kHalfAngle;
    return kGarageApothem / std::cos(rel);
}

// Windows in the upper wall on these sides.
bool hasWindows(int side) { return side == 1 || side == 4 || side == 6; }

// Lamp fixture positions (x, z) and the way they run (angle).
struct Fixture {
    float x, z, angle;
};
std::vector<Fixture> fixtures() {
    std::vector<Fixture> f;
    for (int k = 0; k < 8; ++k) {
        float a = (22.5f + 45.0f * static_cast<float>(k)) * kPi / 180.0f;
        f.push_back({7.0f * std::cos(a), 7.0f * std::sin(a), a + kPi / 2});
    }
    for (int k = 0; k < 8; ++k) {
        float a = 45.0f * static_cast<float>(k) * kPi / 180.0f;
        f.push_back({13.5f * std::cos(a), 13.5f * std::sin(a), a + kPi / 2});
    }
    for (float x : {-2.6f, 2.6f})
        for (float z : {-1.7f, 1.7f}) f.push_back({x, z, 0.0f});
    return f;
}

}  // namespace

GarageMeshes buildGarage() {
    GarageMeshes g;
    Mesh& m = g.room;
    int mFloor = m.addMaterial(texturedMaterial("floor", tex("floor.tga"), 0.3f));
    int mWalls = m.addMaterial(texturedMaterial("walls", tex("walls.tga")));
    int mUpper = m.addMaterial(texturedMaterial("upper walls", tex("upper.tga")));
    int mCeiling = m.addMaterial(texturedMaterial("ceiling", tex("ceiling.tga")));
    int mProps = m.addMaterial(texturedMaterial("props", tex("props.tga"), 0.3f));
    int mTurntable = m.addMaterial(texturedMaterial("turntable", tex("turntable.tga"), 0.5f));
    int mLamp = m.addMaterial(texturedMaterial("lamps", tex("lamp.tga")));

    // Floor: a ring from the turntable's edge out to the walls, tiled every 4 units.
    m.addGroup("floor", mFloor);
    const int ring = 24;
    UvFn floorUv = [](V3 p, V3) { return UV{p.x / 4.0f, p.z / 4.0f}; };
    const float tr = 5.0f;
    for (int k = 0; k < ring; ++k) {
        float a0 = 2 * kPi * static_cast<float>(k) / ring, a1 = 2 * kPi * static_cast<float>(k + 1) / ring;
        V3 i0{tr * std::cos(a0), kFloorY, tr * std::sin(a0)}, i1{tr * std::cos(a1), kFloorY, tr * std::sin(a1)};
        V3 o0{wallDistance(a0) * std::cos(a0), kFloorY, wallDistance(a0) * std::sin(a0)};
        V3 o1{wallDistance(a1) * std::cos(a1), kFloorY, wallDistance(a1) * std::sin(a1)};
        m.quadFacing(i0, i1, o1, o0, V3{0, 1, 0}, floorUv);
    }
    // Turntable under the car, with a lit ring.
    m.addGroup("turntable", mTurntable);
    UvFn ttUv = [](V3 p, V3) { return UV{0.5f + p.x / 10.4f, 0.5f + p.z / 10.4f}; };
    float ty = kFloorY + 0.012f;
    for (int k = 0; k < ring; ++k) {
        float a0 = 2 * kPi * static_cast<float>(k) / ring, a1 = 2 * kPi * static_cast<float>(k + 1) / ring;
        V3 c{0, ty, 0}, p0{tr * std::cos(a0), ty, tr * std::sin(a0)}, p1{tr * std::cos(a1), ty, tr * std::sin(a1)};
        V3 d0 = p0, d1 = p1;
        d0.y = d1.y = kFloorY;
        if (dot(cross(p0 - c, p1 - c), V3{0, 1, 0}) >= 0) m.tri(c, p0, p1, ttUv);
        else m.tri(c, p1, p0, ttUv);
        m.quadFacing(d0, d1, p1, p0, normalized(p0 + p1), ttUv);
    }

    // Walls: bays below (four designs, each used twice), concrete with a neon line above.
    m.addGroup("walls", mWalls);
    for (int i = 0; i < kSides; ++i) {
        V3 c0 = corner(i - 1), c1 = corner(i);
        int design = i % 4;
        float t0 = static_cast<float>(design) * 0.25f, t1 = t0 + 0.25f;
        V3 a{c0.x, kFloorY, c0.z}, b{c1.x, kFloorY, c1.z}, c{c1.x, kWallSplit, c1.z}, d{c0.x, kWallSplit, c0.z};
        m.quadFacing(a, b, c, d, UV{0, t1}, UV{1, t1}, UV{1, t0}, UV{0, t0}, sideNormal(i));
    }
    m.addGroup("upper walls", mUpper);
    for (int i = 0; i < kSides; ++i) {
        V3 c0 = corner(i - 1), c1 = corner(i);
        float t0 = hasWindows(i) ? 0.5f : 0.0f, t1 = t0 + 0.5f;
        V3 a{c0.x, kWallSplit, c0.z}, b{c1.x, kWallSplit, c1.z}, c{c1.x, kGarageCeiling, c1.z}, d{c0.x, kGarageCeiling, c0.z};
        m.quadFacing(a, b, c, d, UV{0, t1}, UV{1, t1}, UV{1, t0}, UV{0, t0}, sideNormal(i));
        if (hasWindows(i)) {
            // glass over the window frames painted in the wall (u 0.1..0.9, rows 40..200 of 256)
            float h = kGarageCeiling - kWallSplit;
            float y0 = kGarageCeiling - h * 200.0f / 256.0f, y1 = kGarageCeiling - h * 40.0f / 256.0f;
            V3 n = sideNormal(i);
            V3 g0 = lerp(c0, c1, 0.1f) + n * 0.06f, g1 = lerp(c0, c1, 0.9f) + n * 0.06f;
            UvFn guv = [](V3 p, V3) { return UV{p.x * 0.05f + p.z * 0.05f, 1 - p.y * 0.1f}; };
            g.glass.quadFacing({g0.x, y0, g0.z}, {g1.x, y0, g1.z}, {g1.x, y1, g1.z}, {g0.x, y1, g0.z}, n, guv);
        }
    }
    if (g.glass.size() == 0) g.glass.addGroup("glass");

    // Ceiling with coffers, tiled every 3 units.
    m.addGroup("ceiling", mCeiling);
    {
        std::vector<V3> poly;
        for (int i = 0; i < kSides; ++i) {
            V3 c = corner(i);
            poly.push_back({c.x, kGarageCeiling, c.z});
        }
        m.polygonFacing(poly, V3{0, -1, 0}, [](V3 p, V3) { return UV{p.x / 3.0f, p.z / 3.0f}; });
    }

    // Pillars in the corners, tyre stacks, tool chests and a workbench.
    m.addGroup("props", mProps);
    UvFn metal = [](V3 p, V3 n) {
        float u = std::fabs(n.x) > 0.7f ? p.z : p.x;
        return UV{0.02f + 0.46f * (0.5f + 0.5f * std::sin(u)), 0.52f + 0.46f * clampf((8 - p.y) / 9.0f, 0, 1)};
    };
    for (int i = 0; i < kSides; ++i) {
        V3 c = corner(i, kCircum - 0.35f);
        Xform place = Xform::rotateY(-(static_cast<float>(i) * 2 + 1) * kHalfAngle);
        place.offset = {c.x, 0, c.z};
        m.box({-0.45f, kFloorY, -0.45f}, {0.45f, kGarageCeiling, 0.45f}, metal, place);
    }
    UvFn rubber = [](V3 p, V3 n) {
        if (std::fabs(n.y) > 0.7f) return UV{0.25f + p.x * 0.1f, 0.25f + p.z * 0.1f};
        return UV{0.02f + 0.46f * (0.5f + 0.5f * std::atan2(p.z, p.x) / kPi), 0.02f + 0.46f * std::fmod(p.y + 5.0f, 0.42f) / 0.42f};
    };
    for (float deg : {67.5f, 157.5f, 247.5f, 337.5f}) {
        float a = deg * kPi / 180.0f;
        for (int s = 0; s < 2; ++s) {
            float aa = a + (s == 0 ? -0.05f : 0.05f);
            V3 base{15.8f * std::cos(aa), kFloorY, 15.8f * std::sin(aa)};
            int count = 3 + s;
            for (int k = 0; k < count; ++k) {
                V3 lo = base + V3{0, 0.42f * static_cast<float>(k), 0}, hi = lo + V3{0, 0.4f, 0};
                // local copy so the tyre UVs read the local frame
                Mesh tyre;
                tyre.addGroup("t");
                tyre.cylinder(lo - base, hi - base, 0.56f, 0.56f, 10, false, k == count - 1, rubber);
                m.append(tyre, Xform::translate(base));
            }
        }
    }
    UvFn chest = [](V3 p, V3 n) {
        float u = std::fabs(n.x) > 0.7f ? p.z : p.x;
        return UV{0.52f + 0.46f * clampf(0.5f + u * 0.6f, 0, 1), 0.02f + 0.46f * clampf(1 - (p.y + 0.92f) / 1.2f, 0, 1)};
    };
    for (float deg : {112.5f, 292.5f}) {
        float a = deg * kPi / 180.0f;
        Xform place = Xform::rotateY(-a + kPi / 2);
        place.offset = {16.9f * std::cos(a), 0, 16.9f * std::sin(a)};
        m.box({-0.75f, kFloorY, -0.35f}, {0.75f, kFloorY + 1.15f, 0.35f}, chest, place);
        Xform bench = Xform::rotateY(-a + kPi / 2);
        bench.offset = {16.9f * std::cos(a + 0.16f), 0, 16.9f * std::sin(a + 0.16f)};
        m.box({-1.6f, kFloorY + 0.85f, -0.45f}, {1.6f, kFloorY + 0.97f, 0.45f}, metal, bench);
        for (float x : {-1.45f, 1.45f})
            m.box({x - 0.06f, kFloorY, -0.38f}, {x + 0.06f, kFloorY + 0.85f, 0.38f}, metal, bench);
    }

    // Lamp fixtures: dark housings with a glowing panel underneath.
    std::vector<Fixture> fx = fixtures();
    m.addGroup("lamp housings", mProps);
    for (const Fixture& f : fx) {
        Xform place = Xform::rotateY(-f.angle);
        place.offset = {f.x, 0, f.z};
        m.box({-0.85f, 7.45f, -0.28f}, {0.85f, 7.62f, 0.28f}, metal, place);
        m.box({-0.03f, 7.62f, -0.03f}, {0.03f, kGarageCeiling, 0.03f}, metal, place);
    }
    m.addGroup("lamp panels", mLamp);
    for (const Fixture& f : fx) {
        Xform place = Xform::rotateY(-f.angle);
        place.offset = {f.x, 0, f.z};
        V3 a = place.apply({-0.8f, 7.44f, -0.23f}), b = place.apply({0.8f, 7.44f, -0.23f});
        V3 c = place.apply({0.8f, 7.44f, 0.23f}), d = place.apply({-0.8f, 7.44f, 0.23f});
        m.quadFacing(a, b, c, d, UV{0, 0}, UV{1, 0}, UV{1, 1}, UV{0, 1}, V3{0, -1, 0});
    }

    // One light triangle under each lamp.
    g.lights.addGroup("lights");
    for (const Fixture& f : fx) {
        V3 c{f.x, 7.35f, f.z};
        g.lights.tri(c + V3{-0.06f, 0, -0.04f}, c + V3{0.06f, 0, -0.04f}, c + V3{0, 0, 0.07f}, fixedUv(0, 0));
    }

    // Potted plants: pots with leaf cards (cut out by the texture's alpha), two faces each.
    Mesh& t = g.trees;
    int mPlant = t.addMaterial(texturedMaterial("plant", tex("plant.tga")));
    t.addGroup("plants", mPlant);
    gen::Rng rng(777);
    for (float deg : {22.5f, 45.0f, 135.0f, 202.5f, 225.0f, 315.0f}) {
        float a = deg * kPi / 180.0f;
        V3 base{15.9f * std::cos(a), kFloorY, 15.9f * std::sin(a)};
        UvFn pot = [base](V3 p, V3) {
            float ang = std::atan2(p.z - base.z, p.x - base.x);
            return UV{0.52f + 0.46f * (0.5f + 0.5f * ang / kPi), 0.1f + 0.8f * clampf(1 - (p.y - kFloorY) / 0.9f, 0, 1)};
        };
        t.cylinder(base, base + V3{0, 0.85f, 0}, 0.38f, 0.48f, 8, false, true, pot);
        for (int k = 0; k < 7; ++k) {
            float yaw = static_cast<float>(k) * kPi / 7 + rng.range(-0.2f, 0.2f);
            float tilt = rng.range(0.1f, 0.45f);
            float w = rng.range(0.6f, 0.8f), h = rng.range(1.4f, 1.9f);
            V3 dir{std::cos(yaw), 0, std::sin(yaw)};
            V3 up = normalized(V3{0, 1, 0} + dir * tilt * (k % 2 ? 1.0f : -1.0f));
            V3 root = base + V3{0, 0.8f, 0};
            V3 p0 = root - dir * w, p1 = root + dir * w, p2 = p1 + up * h, p3 = p0 + up * h;
            UV u0{0.02f, 0.98f}, u1{0.48f, 0.98f}, u2{0.48f, 0.02f}, u3{0.02f, 0.02f};
            V3 n = normalized(cross(p1 - p0, p3 - p0));
            t.quadFacing(p0, p1, p2, p3, u0, u1, u2, u3, n);
            t.quadFacing(p0, p1, p2, p3, u0, u1, u2, u3, -n);
        }
    }
    return g;
}

std::vector<GarageTexture> garageTextures() {
    std::vector<GarageTexture> out;
    gen::Font bold(gen::dejavuFont("DejaVuSans-Bold.ttf"));
    auto text = [&](Raster& r, const std::string& s, float x, float y, float size, Color c, float align = 0.5f) {
        gen::TextStyle st;
        st.size = size;
        bold.draw(r, s, x, y, st, c, align);
    };
    // Floor: dark polished tiles with light grout, one texture every 4 units (2 x 2 tiles).
    {
        Raster r(512, 512);
        r.shade([](float x, float y) {
            float u = std::fmod(x, 256.0f), v = std::fmod(y, 256.0f);
            bool grout = u < 3 || v < 3;
            float n = 0.02f * std::sin(x * 0.13f + y * 0.07f) + 0.015f * std::sin(x * 0.031f - y * 0.043f);
            float k = grout ? 0.23f : 0.12f + n + 0.02f * (static_cast<int>(x / 256) ^ static_cast<int>(y / 256));
            return Color{k, k, k * 1.05f, 1};
        }, gen::Blend::Replace);
        out.push_back({"garage/textures/floor.tga", r, false});
    }
    // Lower walls: four bays (tool wall, posters, shelves, roller door), 1024 x 256 each.
    {
        Raster r(1024, 1024, Color{0.16f, 0.16f, 0.17f, 1});
        for (int b = 0; b < 4; ++b) {
            float y0 = static_cast<float>(b) * 256.0f;
            // concrete blocks
            r.shade(0, static_cast<int>(y0), 1024, static_cast<int>(y0 + 256), [&](float x, float y) {
                float row = std::floor((y - y0) / 32.0f);
                float off = std::fmod(row, 2.0f) * 40.0f;
                bool joint = std::fmod(y - y0, 32.0f) < 1.5f || std::fmod(x + off, 80.0f) < 1.5f;
                float k = joint ? 0.1f : 0.19f + 0.015f * std::sin(x * 0.37f + y * 0.11f);
                return Color{k, k, k * 1.04f, 1};
            }, gen::Blend::Replace);
            // a glowing strip along the floor line (alpha 0: lit)
            r.fillRect(0, y0 + 246, 1024, y0 + 250, Color{0.2f, 0.8f, 1.0f, 0.0f}, gen::Blend::Replace);
            r.fillRect(0, y0 + 250, 1024, y0 + 256, Color{0.05f, 0.05f, 0.05f, 1}, gen::Blend::Replace);
            switch (b) {
                case 0: {  // pegboard with tools and a red cabinet
                    r.fillRect(260, y0 + 40, 880, y0 + 170, Color{0.28f, 0.27f, 0.25f, 1});
                    for (float px = 270; px < 875; px += 14)
                        for (float py = y0 + 50; py < y0 + 165; py += 14) r.fillCircle(px, py, 1.6f, Color{0.1f, 0.1f, 0.1f, 1});
                    for (int k = 0; k < 14; ++k) {
                        float x = 290 + static_cast<float>(k) * 42;
                        float len = 50 + static_cast<float>(k % 4) * 18;
                        r.fillRoundRect(x, y0 + 60, x + 8, y0 + 60 + len, 3, Color{0.7f, 0.72f, 0.76f, 1});
                        r.strokeCircle(x + 4, y0 + 60, 8, 4, Color{0.7f, 0.72f, 0.76f, 1});
                    }
                    r.fillRect(40, y0 + 110, 220, y0 + 246, Color{0.62f, 0.08f, 0.06f, 1});
                    for (float py = y0 + 130; py < y0 + 240; py += 22) r.fillRect(50, py, 210, py + 3, Color{0.2f, 0.02f, 0.02f, 1});
                    r.fillRect(900, y0 + 60, 990, y0 + 100, Color{0.1f, 0.9f, 0.3f, 0.0f}, gen::Blend::Replace);
                    text(r, "EXIT", 945, y0 + 90, 26, Color{0.02f, 0.1f, 0.04f, 1});
                    break;
                }
                case 1: {  // three backlit posters of the clubs
                    const char* clubs[3] = {"NIGHT WIND", "MIDNIGHT RACERS", "CRAZY DRIVE"};
                    const uint32_t tint[3] = {0x1a60ff, 0x9a30ff, 0xff7a10};
                    for (int k = 0; k < 3; ++k) {
                        float x0 = 70 + static_cast<float>(k) * 310, x1 = x0 + 260;
                        r.fillRect(x0 - 6, y0 + 24, x1 + 6, y0 + 206, Color{0.05f, 0.05f, 0.05f, 1});
                        Color bg = gen::scaled(gen::rgb(tint[k]), 0.45f);
                        bg.a = 0.5f;  // half lit
                        r.fillRect(x0, y0 + 30, x1, y0 + 200, bg, gen::Blend::Replace);
                        // a low car silhouette with speed lines
                        float cy = y0 + 140;
                        std::vector<gen::Vec2> car = {{x0 + 30, cy + 20}, {x0 + 40, cy}, {x0 + 100, cy - 10}, {x0 + 140, cy - 34},
                                                      {x0 + 190, cy - 34}, {x0 + 228, cy - 8}, {x0 + 236, cy + 20}};
                        r.fillPolygon(car, Color{0.02f, 0.02f, 0.03f, 1});
                        r.fillCircle(x0 + 75, cy + 20, 14, Color{0.02f, 0.02f, 0.03f, 1});
                        r.fillCircle(x0 + 200, cy + 20, 14, Color{0.02f, 0.02f, 0.03f, 1});
                        for (int l = 0; l < 4; ++l)
                            r.fillRect(x0 + 6, cy - 20 + static_cast<float>(l) * 10, x0 + 26, cy - 18 + static_cast<float>(l) * 10,
                                       Color{1, 1, 1, 0.8f});
                        text(r, clubs[k], (x0 + x1) * 0.5f, y0 + 70, k == 1 ? 22 : 26, Color{1, 1, 1, 1});
                    }
                    break;
                }
                case 2: {  // shelves with boxes, cans and spare tyres
                    for (float sy : {80.0f, 150.0f, 220.0f}) {
                        r.fillRect(30, y0 + sy, 994, y0 + sy + 6, Color{0.45f, 0.47f, 0.5f, 1});
                        gen::Rng rng(static_cast<uint64_t>(sy));
                        for (float x = 40; x < 980;) {
                            float w = rng.range(30, 70), h = rng.range(25, 55);
                            Color c = gen::lerp(gen::rgb(0x8a6a40), gen::rgb(0x2a6acc), rng.range(0, 1) > 0.7f ? 1.0f : 0.0f);
                            if (rng.range(0, 1) > 0.8f) c = gen::rgb(0xd03020);
                            if (rng.range(0, 1) > 0.75f)
                                r.fillCircle(x + w * 0.5f, y0 + sy - h * 0.5f, h * 0.5f, Color{0.06f, 0.06f, 0.06f, 1});
                            else
                                r.fillRect(x, y0 + sy - h, x + w, y0 + sy, c);
                            x += w + rng.range(4, 18);
                        }
                    }
                    for (float x : {30.0f, 512.0f, 990.0f}) r.fillRect(x, y0 + 30, x + 6, y0 + 246, Color{0.45f, 0.47f, 0.5f, 1});
                    break;
                }
                default: {  // roller door with hazard stripes
                    r.fillRect(180, y0 + 20, 844, y0 + 246, Color{0.36f, 0.37f, 0.39f, 1});
                    for (float py = y0 + 26; py < y0 + 230; py += 9) r.fillRect(184, py, 840, py + 2, Color{0.22f, 0.23f, 0.25f, 1});
                    for (float x = 180; x < 844; x += 28)
                        r.fillPolygon({{x, y0 + 246}, {x + 14, y0 + 246}, {x + 28, y0 + 230}, {x + 14, y0 + 230}},
                                      Color{0.95f, 0.75f, 0.05f, 1});
                    r.fillRect(400, y0 + 60, 624, y0 + 100, Color{1.0f, 0.5f, 0.08f, 0.0f}, gen::Blend::Replace);
                    text(r, "GARAGE 7", 512, y0 + 90, 28, Color{0.1f, 0.03f, 0.0f, 1});
                    break;
                }
            }
        }
        out.push_back({"garage/textures/walls.tga", r, true});
    }
    // Upper walls: concrete with an orange neon line; the second half with windows on the night city.
    {
        Raster r(1024, 512);
        r.shade([](float x, float y) {
            float k = 0.13f + 0.012f * std::sin(x * 0.05f) + 0.01f * std::sin(y * 0.21f + x * 0.013f);
            bool seam = std::fmod(x, 256.0f) < 2;
            if (seam) k = 0.08f;
            return Color{k, k, k * 1.05f, 1};
        }, gen::Blend::Replace);
        for (int half = 0; half < 2; ++half) {
            float y0 = static_cast<float>(half) * 256.0f;
            r.fillRect(0, y0 + 222, 1024, y0 + 228, Color{1.0f, 0.5f, 0.08f, 0.0f}, gen::Blend::Replace);
        }
        // windows (rows 296..456 of the picture, u 0.1..0.9)
        r.fillRect(100, 296, 924, 456, Color{0.02f, 0.025f, 0.05f, 1}, gen::Blend::Replace);
        gen::Rng rng(99);
        for (float x = 104; x < 920;) {
            float w = rng.range(20, 60), h = rng.range(30, 130);
            r.fillRect(x, 456 - h, x + w, 456, Color{0.04f, 0.045f, 0.07f, 1});
            for (float wy = 456 - h + 6; wy < 452; wy += 10)
                for (float wx = x + 4; wx < x + w - 4; wx += 8)
                    if (rng.range(0, 1) > 0.55f) r.fillRect(wx, wy, wx + 4, wy + 5, Color{1.0f, 0.8f, 0.45f, 0.3f}, gen::Blend::Replace);
            x += w + rng.range(2, 10);
        }
        for (float x = 100; x <= 925; x += 103) r.fillRect(x - 3, 296, x + 3, 456, Color{0.05f, 0.05f, 0.06f, 1}, gen::Blend::Replace);
        r.fillRect(97, 293, 927, 299, Color{0.05f, 0.05f, 0.06f, 1}, gen::Blend::Replace);
        r.fillRect(97, 453, 927, 459, Color{0.05f, 0.05f, 0.06f, 1}, gen::Blend::Replace);
        out.push_back({"garage/textures/upper.tga", r, true});
    }
    // Ceiling coffers.
    {
        Raster r(256, 256);
        r.shade([](float x, float y) {
            float u = std::fmod(x, 128.0f), v = std::fmod(y, 128.0f);
            bool beam = u < 10 || v < 10;
            float k = beam ? 0.16f : 0.07f;
            return Color{k, k, k * 1.05f, 1};
        }, gen::Blend::Replace);
        out.push_back({"garage/textures/ceiling.tga", r, false});
    }
    // Props: tyre rubber, red tool chest, brushed metal.
    {
        Raster r(256, 256, Color{0.08f, 0.08f, 0.09f, 1});
        r.shade(0, 0, 128, 128, [](float x, float y) {
            bool tread = std::fmod(x, 10.0f) < 3 && (y < 20 || y > 108);
            float k = tread ? 0.03f : 0.07f;
            return Color{k, k, k, 1};
        }, gen::Blend::Replace);
        r.fillRect(128, 0, 256, 128, Color{0.66f, 0.07f, 0.05f, 1}, gen::Blend::Replace);
        for (float y = 14; y < 128; y += 22) r.fillRect(136, y, 248, y + 3, Color{0.25f, 0.02f, 0.02f, 1});
        for (float y = 20; y < 128; y += 22) r.fillRect(176, y, 208, y + 4, Color{0.8f, 0.8f, 0.82f, 1});
        r.shade(0, 128, 256, 256, [](float x, float y) {
            float k = 0.3f + 0.06f * std::sin(y * 0.9f + x * 0.02f);
            return Color{k, k * 1.02f, k * 1.06f, 1};
        }, gen::Blend::Replace);
        out.push_back({"garage/textures/props.tga", r, false});
    }
    // Turntable: brushed disc with a glowing ring near its edge.
    {
        Raster r(512, 512);
        r.shade([](float x, float y) {
            float dx = x - 256, dy = y - 256, d = std::sqrt(dx * dx + dy * dy);
            float k = 0.2f + 0.05f * std::cos(std::atan2(dy, dx) * 2);
            Color c{k, k, k * 1.08f, 1};
            if (std::fabs(d - 232) < 5) c = Color{1.0f, 0.5f, 0.1f, 0.0f};
            if (std::fabs(d - 120) < 1.5f) c = Color{0.1f, 0.1f, 0.1f, 1};
            return c;
        }, gen::Blend::Replace);
        out.push_back({"garage/textures/turntable.tga", r, true});
    }
    // Lamp panel: warm white, glowing.
    {
        Raster r(64, 64, Color{1.0f, 0.95f, 0.85f, 0.0f});
        r.strokeRoundRect(1, 1, 63, 63, 3, 3, Color{0.3f, 0.3f, 0.3f, 1});
        out.push_back({"garage/textures/lamp.tga", r, true});
    }
    // Plant: a leaf spray cut out by alpha (left half), the pot (right half).
    {
        Raster r(256, 256, Color{0.1f, 0.2f, 0.08f, 0.0f});
        gen::Rng rng(4242);
        for (int k = 0; k < 11; ++k) {
            float ang = -kPi / 2 + rng.range(-0.9f, 0.9f);
            float len = rng.range(150, 230);
            float bx = 64, by = 250;
            for (int s = 0; s < 9; ++s) {
                float t = static_cast<float>(s) / 9.0f;
                float lx = bx + std::cos(ang) * len * t * 0.5f, ly = by + std::sin(ang) * len * t;
                float size = 14 * (1 - t * 0.7f);
                Color leaf = gen::lerp(gen::rgb(0x1f5a1c), gen::rgb(0x4a9a30), rng.range(0, 1));
                r.fillEllipse(std::clamp(lx, 8.0f, 120.0f), std::max(ly, 8.0f), size, size * 0.55f, leaf, gen::Blend::Replace);
            }
        }
        r.shade(128, 0, 256, 256, [](float, float y) {
            float k = 0.22f + 0.04f * std::sin(y * 0.3f);
            return Color{k * 1.6f, k * 0.8f, k * 0.5f, 1};
        }, gen::Blend::Replace);
        r.fillRect(128, 0, 256, 30, Color{0.06f, 0.04f, 0.03f, 1}, gen::Blend::Replace);
        out.push_back({"garage/textures/plant.tga", r, true});
    }
    return out;
}

}  // namespace cars
