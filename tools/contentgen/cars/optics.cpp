#include "cars/optics.h"

#include <algorithm>

namespace cars {

namespace {

using Outline = std::vector<std::pair<float, float>>;  // (a outward, b up), counter-clockwise

Outline ellipse(float cx, float cy, float rx, float ry, int n = 10) {
    Outline o;
    for (int i = 0; i < n; ++i) {
        float t = 2 * kPi * static_cast<float>(i) / static_cast<float>(n);
        o.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return o;
}

Outline roundRect(float cx, float cy, float w, float h, float r) {
    Outline o;
    float hw = w * 0.5f - r, hh = h * 0.5f - r;
    const float corners[4][2] = {{hw, -hh}, {hw, hh}, {-hw, hh}, {-hw, -hh}};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k <= 2; ++k) {
            float t = (static_cast<float>(c) - 1 + static_cast<float>(k) / 2) * kPi / 2;
            o.push_back({cx + corners[c][0] + r * std::cos(t), cy + corners[c][1] + r * std::sin(t)});
        }
    return o;
}

struct LampSet {
    std::vector<Outline> head, tail, reverse;
};

LampSet lampSet(int body, int variant) {
    LampSet s;
    if (variant == 0) {
        switch (body) {
            case 0:
                s.head = {{{-0.24f, -0.08f}, {0.2f, -0.07f}, {0.25f, -0.02f}, {0.24f, 0.09f}, {-0.2f, 0.07f}, {-0.25f, 0.02f}}};
                s.tail = {roundRect(0.02f, 0.0f, 0.16f, 0.3f, 0.04f)};
                break;
            case 1:
                s.head = {{{-0.3f, -0.02f}, {-0.05f, -0.07f}, {0.28f, -0.05f}, {0.33f, 0.04f}, {0.05f, 0.06f}, {-0.28f, 0.03f}}};
                s.tail = {{{-0.36f, -0.03f}, {0.3f, -0.04f}, {0.32f, 0.04f}, {-0.36f, 0.03f}}};
                break;
            case 2:
                s.head = {ellipse(-0.12f, 0.0f, 0.085f, 0.085f), ellipse(0.1f, 0.0f, 0.085f, 0.085f)};
                s.tail = {roundRect(0.0f, 0.0f, 0.46f, 0.13f, 0.02f)};
                break;
            case 3:
                s.head = {{{-0.3f, -0.02f}, {0.3f, -0.035f}, {0.31f, 0.02f}, {-0.3f, 0.035f}}};
                s.tail = {ellipse(-0.1f, 0.0f, 0.075f, 0.075f), ellipse(0.1f, 0.0f, 0.075f, 0.075f)};
                break;
            case 4:
                s.head = {{{-0.28f, -0.07f}, {0.26f, -0.07f}, {0.28f, 0.07f}, {-0.16f, 0.07f}, {-0.28f, 0.02f}}};
                s.tail = {roundRect(0.0f, 0.0f, 0.44f, 0.15f, 0.04f)};
                break;
            default:
                s.head = {ellipse(0.0f, 0.0f, 0.17f, 0.1f, 14)};
                s.tail = {ellipse(0.02f, 0.0f, 0.09f, 0.09f)};
                break;
        }
    } else if (variant == 1) {  // slim LED strips with a projector below
        s.head = {{{-0.32f, 0.0f}, {0.32f, 0.02f}, {0.32f, 0.055f}, {-0.32f, 0.045f}}, ellipse(0.1f, -0.06f, 0.05f, 0.05f, 10)};
        s.tail = {{{-0.34f, -0.025f}, {0.32f, -0.025f}, {0.32f, 0.025f}, {-0.34f, 0.025f}}};
    } else if (variant == 2) {  // twin round lamps
        s.head = {ellipse(-0.12f, 0.0f, 0.07f, 0.07f), ellipse(0.09f, 0.0f, 0.07f, 0.07f)};
        s.tail = {ellipse(-0.09f, 0.0f, 0.065f, 0.065f), ellipse(0.1f, 0.0f, 0.065f, 0.065f)};
    } else {  // angular, aggressive
        s.head = {{{-0.3f, -0.03f}, {0.26f, -0.07f}, {0.31f, 0.03f}, {-0.08f, 0.06f}, {-0.3f, 0.01f}}};
        s.tail = {{{-0.2f, -0.08f}, {0.25f, -0.08f}, {0.25f, 0.08f}, {-0.2f, 0.08f}, {-0.2f, 0.04f}, {0.17f, 0.04f},
                   {0.17f, -0.04f}, {-0.2f, -0.04f}}};
    }
    // the reverse lamp inboard of the tail lamp
    float inner = 1.0f;
    for (const Outline& o : s.tail)
        for (auto [a, b] : o) inner = std::min(inner, a);
    s.reverse = {roundRect(inner - 0.09f, 0.0f, 0.1f, 0.05f, 0.015f)};
    return s;
}

struct Projector {
    V3 centre, dir, axisA, axisB;
    std::vector<Tri> tris;  // the shell's triangles near the lamp

    V3 project(float a, float b, float lift) const {
        V3 origin = centre - dir * 1.5f + axisA * a + axisB * b;
        float t = raycast(tris, origin, dir, 3.0f);
        if (t < 0) t = 1.5f;
        return origin + dir * (t - lift);
    }
};

Projector makeProjector(const BodyShape& shape, const std::vector<Tri>* tris, bool head, float side) {
    const BodyDesign& s = shape.design();
    Projector p;
    float x, y;
    if (head) {
        x = s.xf - s.noseRound * 0.3f;
        y = 0.5f * (s.bumperTopF + s.belt(s.xf)) + 0.03f;
        p.dir = normalized(V3{-1.0f, -0.15f, -0.45f * side});
    } else {
        x = s.xr + s.tailRound * 0.3f;
        y = 0.5f * (s.bumperTopR + s.belt(s.xr)) + 0.03f;
        p.dir = normalized(V3{1.0f, -0.15f, -0.45f * side});
    }
    p.centre = {x, y, side * shape.halfWidthAt(x) * 0.66f};
    for (const Tri& t : *tris) {
        V3 c = (t.p[0] + t.p[1] + t.p[2]) * (1.0f / 3.0f);
        if (length(c - p.centre) < 1.1f) p.tris.push_back(t);
    }
    p.axisA = normalized(cross(V3{0, 1, 0}, p.dir)) * side;
    if (!head) p.axisA = -p.axisA;
    // keep +a pointing out of the car
    if (p.axisA.z * side < 0) p.axisA = -p.axisA;
    p.axisB = normalized(cross(p.dir, p.axisA));
    if (p.axisB.y < 0) p.axisB = -p.axisB;
    return p;
}

// 2D triangles of an outline (ear clipping), each split in four so they follow the curved shell.
std::vector<std::array<std::pair<float, float>, 3>> triangulate(const Outline& o) {
    Mesh tmp;
    std::vector<V3> pts;
    for (auto [a, b] : o) pts.push_back({a, b, 0});
    tmp.polygonEar(pts, fixedUv(0, 0));
    std::vector<std::array<std::pair<float, float>, 3>> out;
    for (const Tri& t : tmp.triangles()) {
        std::pair<float, float> p[3] = {{t.p[0].x, t.p[0].y}, {t.p[1].x, t.p[1].y}, {t.p[2].x, t.p[2].y}};
        auto mid = [](std::pair<float, float> u, std::pair<float, float> v) {
            return std::pair<float, float>{0.5f * (u.first + v.first), 0.5f * (u.second + v.second)};
        };
        auto len = [](std::pair<float, float> u, std::pair<float, float> v) {
            return std::hypot(u.first - v.first, u.second - v.second);
        };
        if (std::max({len(p[0], p[1]), len(p[1], p[2]), len(p[2], p[0])}) < 0.2f) {
            out.push_back({p[0], p[1], p[2]});
            continue;
        }
        auto m01 = mid(p[0], p[1]), m12 = mid(p[1], p[2]), m20 = mid(p[2], p[0]);
        out.push_back({p[0], m01, m20});
        out.push_back({m01, p[1], m12});
        out.push_back({m20, m12, p[2]});
        out.push_back({m01, m12, m20});
    }
    return out;
}

Outline grown(const Outline& o, float by) {
    float cx = 0, cy = 0;
    for (auto [a, b] : o) cx += a, cy += b;
    cx /= static_cast<float>(o.size());
    cy /= static_cast<float>(o.size());
    Outline g;
    for (auto [a, b] : o) {
        float dx = a - cx, dy = b - cy, l = std::max(1e-4f, std::hypot(dx, dy));
        g.push_back({a + dx / l * by, b + dy / l * by});
    }
    return g;
}

// The outline drawn towards its centre to `share` of its size.
Outline shrunk(const Outline& o, float share) {
    float cx = 0, cy = 0;
    for (auto [a, b] : o) cx += a, cy += b;
    cx /= static_cast<float>(o.size());
    cy /= static_cast<float>(o.size());
    Outline g;
    for (auto [a, b] : o) g.push_back({cx + (a - cx) * share, cy + (b - cy) * share});
    return g;
}

// Texture regions (256 x 256 picture): head lens, brake lens, reverse lens,
// bezel, and the tail light (the dimmer red ring lit with the headlamps).
enum class Region { Head, Tail, Reverse, Bezel, TailLight };
UV regionUv(Region r, float a, float b) {
    float cx = 64, cy = 64, reach = 58;
    switch (r) {
        case Region::Head: cx = 64, cy = 64; break;
        case Region::Tail: cx = 192, cy = 64; break;
        case Region::Reverse: cx = 64, cy = 160; break;
        case Region::Bezel: cx = 192, cy = 160; break;
        case Region::TailLight: cx = 192, cy = 224, reach = 28; break;
    }
    float k = r == Region::Head || r == Region::Tail ? 160.0f : 120.0f;
    return {(cx + clampf(a * k, -58, 58)) / 256.0f, (cy - clampf(b * k, -reach, reach)) / 256.0f};
}

void addLens(Mesh& m, const Projector& p, const Outline& o, Region region, float lift) {
    for (const auto& t : triangulate(o)) {
        V3 q[3];
        UV u[3];
        for (int c = 0; c < 3; ++c) {
            q[c] = p.project(t[c].first, t[c].second, lift);
            u[c] = regionUv(region, t[c].first, t[c].second);
        }
        if (dot(cross(q[1] - q[0], q[2] - q[0]), -p.dir) >= 0) m.tri(q[0], q[1], q[2], u[0], u[1], u[2]);
        else m.tri(q[0], q[2], q[1], u[0], u[2], u[1]);
    }
}

void addBezel(Mesh& m, const Projector& p, const Outline& o, float width) {
    Outline g = grown(o, width);
    for (size_t i = 0; i < o.size(); ++i) {
        size_t j = (i + 1) % o.size();
        V3 a = p.project(o[i].first, o[i].second, 0.01f), b = p.project(o[j].first, o[j].second, 0.01f);
        V3 c = p.project(g[j].first, g[j].second, 0.006f), d = p.project(g[i].first, g[i].second, 0.006f);
        m.quadFacing(a, b, c, d, regionUv(Region::Bezel, o[i].first, o[i].second),
                     regionUv(Region::Bezel, o[j].first, o[j].second), regionUv(Region::Bezel, g[j].first, g[j].second),
                     regionUv(Region::Bezel, g[i].first, g[i].second), -p.dir);
    }
}

}  // namespace

std::string opticsTexturePath(int body) { return "base/cars/" + std::to_string(body) + "/optics.tga"; }

OpticsMeshes buildOptics(const BodyShape& shape, const Mesh& body, int variant) {
    OpticsMeshes out;
    int mat = out.lamps.addMaterial(texturedMaterial("optics", opticsTexturePath(shape.body()), 0.8f));
    int gHead = out.lamps.addGroup("headlights", mat);
    int gBrake = out.lamps.addGroup("brake", mat);
    int gReverse = out.lamps.addGroup("reverse", mat);
    int gBezel = out.lamps.addGroup("bezels", mat);
    out.glass.addGroup("lens glass", -1);
    LampSet set = lampSet(shape.body(), variant);
    const std::vector<Tri>* tris = &body.triangles();
    for (float side : {1.0f, -1.0f}) {
        Projector head = makeProjector(shape, tris, true, side);
        Projector tail = makeProjector(shape, tris, false, side);
        struct Piece {
            const Projector* p;
            const Outline* o;
            Region r;
            int group;
        };
        std::vector<Piece> pieces;
        for (const Outline& o : set.head) pieces.push_back({&head, &o, Region::Head, gHead});
        // Tail lamps: the whole lens is the tail light, lit with the headlamps;
        // its inner part, a little proud of it, is the brake light.
        for (const Outline& o : set.tail) pieces.push_back({&tail, &o, Region::TailLight, gHead});
        for (const Outline& o : set.reverse) pieces.push_back({&tail, &o, Region::Reverse, gReverse});
        for (const Piece& pc : pieces) {
            out.lamps.use(pc.group);
            addLens(out.lamps, *pc.p, *pc.o, pc.r, 0.014f);
            if (pc.r == Region::TailLight) {
                out.lamps.use(gBrake);
                addLens(out.lamps, *pc.p, shrunk(*pc.o, 0.6f), Region::Tail, 0.02f);
            }
            out.lamps.use(gBezel);
            addBezel(out.lamps, *pc.p, *pc.o, 0.025f);
            // the cover lens, a little proud of the bezel
            Outline cover = grown(*pc.o, 0.02f);
            for (const auto& t : triangulate(cover)) {
                V3 q[3];
                for (int c = 0; c < 3; ++c) q[c] = pc.p->project(t[c].first, t[c].second, 0.03f);
                auto uv = [&](V3 v, V3) { return UV{(v.x + 3.2f) / 6.4f, 0.5f - v.y * 0.5f}; };
                if (dot(cross(q[1] - q[0], q[2] - q[0]), -pc.p->dir) >= 0) out.glass.tri(q[0], q[1], q[2], uv);
                else out.glass.tri(q[0], q[2], q[1], uv);
            }
        }
    }
    return out;
}

gen::Raster opticsTexture(int body) {
    using gen::Color;
    static const uint32_t headTint[kBodyModels] = {0xfff4e0, 0xe8f2ff, 0xfff0c8, 0xdde8ff, 0xf8f8f8, 0xfff2d8};
    gen::Raster img(256, 256, Color{0.05f, 0.05f, 0.06f, 1});
    Color head = gen::rgb(headTint[body]);
    // Head lens: chrome reflector with bright projector cells; alpha 0 (glows).
    img.shade(0, 0, 128, 128, [&](float x, float y) {
        float dx = x - 64, dy = y - 64;
        float cells = 0.75f + 0.25f * std::cos(dx * 0.22f) * std::cos(dy * 0.3f);
        Color c = gen::scaled(head, cells);
        float r1 = std::hypot(dx - 16, dy), r2 = std::hypot(dx + 20, dy);
        if (r1 < 12 || r2 < 10) c = gen::scaled(head, 1.1f);
        if (std::fabs(dy + 12) < 2.5f) c = gen::rgb(0xffffff);  // daytime strip
        c.a = 0.0f;
        return c;
    }, gen::Blend::Replace);
    // Tail lens: deep red with an LED grid; alpha 0.
    img.shade(128, 0, 256, 128, [&](float x, float y) {
        float gx = std::fmod(x, 8.0f) - 4, gy = std::fmod(y, 8.0f) - 4;
        bool led = gx * gx + gy * gy < 5;
        Color c = led ? gen::rgb(0xff3030) : gen::rgb(0x9a0c10);
        if (body % 2 == 1 && std::fabs(y - 64) < 3) c = gen::rgb(0xff5050);
        c.a = 0.0f;
        return c;
    }, gen::Blend::Replace);
    // Reverse lens: clear white; bezel: dark chrome that never glows.
    img.fillRect(0, 128, 128, 192, Color{0.92f, 0.94f, 0.96f, 0.0f}, gen::Blend::Replace);
    img.shade(128, 128, 256, 192, [](float, float y) {
        float k = 0.12f + 0.08f * std::sin(y * 0.2f);
        return Color{k, k, k * 1.1f, 1.0f};
    }, gen::Blend::Replace);
    // Amber indicator cell (spare, alpha 0).
    img.fillRect(0, 192, 128, 256, Color{1.0f, 0.55f, 0.08f, 0.0f}, gen::Blend::Replace);
    // Tail light: the brake lens's red, glowing at half strength (alpha 0.5).
    img.shade(128, 192, 256, 256, [&](float x, float y) {
        float gx = std::fmod(x, 8.0f) - 4, gy = std::fmod(y, 8.0f) - 4;
        Color c = gx * gx + gy * gy < 5 ? gen::rgb(0xe02020) : gen::rgb(0x8a0a0e);
        c.a = 0.5f;
        return c;
    }, gen::Blend::Replace);
    return img;
}

}  // namespace cars
