#include "cars/body_shape.h"

#include "cars/livery_layout.h"

#include <algorithm>

namespace cars {

namespace {

float deckCentre(const BodyDesign& s, float x) { return s.belt(x) + s.crown(x); }

}  // namespace

BodyShape::BodyShape(int body) : body_(body), design_(bodyDesign(body)) { prepare(); }

BodyShape::BodyShape(const BodyDesign& design) : body_(-1), design_(design) { prepare(); }

void BodyShape::prepare() {
    BodyDesign& s = design_;
    frontAxle_ = std::isnan(s.frontAxle) ? frontAxleX(body_) : s.frontAxle;
    rearAxle_ = std::isnan(s.rearAxle) ? rearAxleX(body_) : s.rearAxle;
    // The roof curve starts and ends just under the deck so the greenhouse grows out of it.
    std::vector<std::pair<float, float>> keys = s.roofKeys;
    keys.push_back({s.cabinFront, deckCentre(s, s.cabinFront) - 0.005f});
    if (s.openTop) keys.push_back({s.roofFront - 0.03f, deckCentre(s, s.roofFront - 0.03f) - 0.01f});
    else keys.push_back({s.cabinRear, deckCentre(s, s.cabinRear) - 0.005f});
    s.roof = Profile(keys);

    // Stations: an even spread, plus every edge the shapes and windows need.
    std::vector<float> xs;
    int n = static_cast<int>(std::ceil((s.xf - s.xr) / s.stationStep));
    for (int i = 0; i <= n; ++i) xs.push_back(s.xr + (s.xf - s.xr) * static_cast<float>(i) / static_cast<float>(n));
    for (float th : s.windowStations ? std::vector<float>{0.3f, 0.6f, 0.85f} : std::vector<float>{0.5f}) {
        xs.push_back(s.xf - s.noseRound * (1 - std::cos(th * kPi / 2)));
        xs.push_back(s.xr + s.tailRound * (1 - std::cos(th * kPi / 2)));
    }
    for (float ax : {frontAxle_, rearAxle_}) {
        for (int k = 0; k <= s.archSteps; ++k)
            xs.push_back(ax + s.archRadius * std::cos(kPi * static_cast<float>(k) / static_cast<float>(s.archSteps)));
        xs.push_back(ax + s.archRadius + 0.025f);
        xs.push_back(ax - s.archRadius - 0.025f);
    }
    float roofEnd = s.openTop ? s.roofFront - 0.03f : s.cabinRear;
    xs.insert(xs.end(), {s.cabinFront, s.roofFront, s.roofRear, roofEnd});
    for (float t : {0.33f, 0.66f}) {
        if (!s.windowStations) break;
        xs.push_back(lerpf(s.cabinFront, s.roofFront, t));
        if (!s.openTop) xs.push_back(lerpf(s.roofRear, s.cabinRear, t));
    }
    if (!s.openTop && s.windowStations) {
        xs.push_back(sideWindowFront());
        xs.push_back(sideWindowRear());
        xs.push_back(s.bPillarX - 0.05f);
        xs.push_back(s.bPillarX + 0.05f);
    }
    std::sort(xs.begin(), xs.end());
    for (float x : xs) {
        if (x < s.xr - 1e-4f || x > s.xf + 1e-4f) continue;
        if (!stations_.empty() && x - stations_.back() < 0.035f) {
            // keep the exact edges (ends, arches) over the even spread
            if (x == s.xf) stations_.back() = x;
            continue;
        }
        stations_.push_back(x);
    }
    if (stations_.back() != s.xf) stations_.back() = s.xf;
    if (stations_.front() != s.xr) stations_.front() = s.xr;
}

float BodyShape::sideWindowFront() const {
    return design_.roofFront + 0.35f * (design_.cabinFront - design_.roofFront);
}
float BodyShape::sideWindowRear() const {
    return design_.roofRear - 0.25f * (design_.roofRear - design_.cabinRear);
}

float BodyShape::greenhouse(float x) const {
    const BodyDesign& s = design_;
    float roofEnd = s.openTop ? s.roofFront - 0.03f : s.cabinRear;
    if (x > s.cabinFront || x < roofEnd) return 0.0f;
    return std::max(0.0f, s.roof(x) - deckCentre(s, x));
}

float BodyShape::halfWidthAt(float x) const {
    const BodyDesign& s = design_;
    float w = s.halfWidth * (s.widthScale.empty() ? 1.0f : s.widthScale(x));
    auto bump = [](float t) { return t < 1 ? (1 - t * t) * (1 - t * t) : 0.0f; };
    w += s.archFlare * bump(std::fabs(x - frontAxle_) / (s.archRadius + 0.35f));
    w += s.archFlare * bump(std::fabs(x - rearAxle_) / (s.archRadius + 0.35f));
    w += s.rearHaunch * bump(std::fabs(x - rearAxle_) / (s.archRadius + 0.9f));
    if (x > s.xf - s.noseRound) {
        float d = std::min(s.noseRound, x - (s.xf - s.noseRound));
        w -= s.noseRound - std::sqrt(std::max(0.0f, s.noseRound * s.noseRound - d * d));
    }
    if (x < s.xr + s.tailRound) {
        float d = std::min(s.tailRound, (s.xr + s.tailRound) - x);
        w -= s.tailRound - std::sqrt(std::max(0.0f, s.tailRound * s.tailRound - d * d));
    }
    return w;
}

float BodyShape::archAt(float x) const {
    float best = -9.0f;
    float r = design_.archRadius;
    for (float ax : {frontAxle_, rearAxle_}) {
        float dx = std::fabs(x - ax);
        if (dx <= r + 1e-4f) best = std::max(best, design_.wheelY + 0.02f + std::sqrt(std::max(0.0f, r * r - dx * dx)));
    }
    return best;
}

float BodyShape::deckAt(float x, float z) const {
    float w = halfWidthAt(x) - 0.09f;
    float r = std::min(1.0f, std::fabs(z) / std::max(0.2f, w));
    return design_.belt(x) + design_.crown(x) * (1 - r * r);
}

float BodyShape::surfaceY(float x, float z) const {
    Section s = section(x);
    float az = std::fabs(z);
    for (int k = kTopCentre; k > kBelt; --k) {
        float z0 = s.z[k], z1 = s.z[k - 1];
        if (az >= z0 && az <= z1) {
            float t = (z1 - z0) > 1e-5f ? (az - z0) / (z1 - z0) : 0.0f;
            return lerpf(s.y[k], s.y[k - 1], t);
        }
    }
    return s.y[kBelt];
}

Section BodyShape::section(float x) const {
    const BodyDesign& s = design_;
    Section sec;
    sec.x = x;
    float w = halfWidthAt(x);
    float belt = s.belt(x), crown = s.crown(x);
    float arch = archAt(x);
    float fl = s.floorY;
    float wd = w - 0.09f;
    auto deck = [&](float z) {
        float r = z / wd;
        return belt + crown * (1 - r * r);
    };
    auto lift = [&](float y) { return std::max(y, arch); };
    float g = greenhouse(x);
    float f = smoothstep(0.0f, 0.14f, g);
    float topC = belt + crown + g;
    float wellIn = std::min(0.74f, w - 0.25f);
    float zg = w - 0.3f;
    float zr = std::min(lerpf(w * 0.6f, w * s.tumble, f), zg - 0.04f);
    float zi = zr - lerpf(0.03f, 0.09f, f);
    auto set = [&](int k, float z, float y) {
        sec.z[k] = z;
        sec.y[k] = y;
    };
    set(kFloorCentre, 0, fl);
    set(kWellInLow, wellIn, fl);
    set(kWellInHigh, wellIn, std::max(fl, arch));
    set(kSillOut, w - 0.07f, std::max(fl, arch));
    set(kRocker, w - 0.015f, lift(s.rockerY));
    set(kWaist, w + s.waistBulge - 0.03f, lift(s.waistY));
    set(kShoulderLow, w - 0.03f, lift(belt - 0.13f));
    set(kBelt, w - 0.09f, std::max(belt, arch + 0.03f));
    set(kDeckOut, w - 0.2f, std::max(deck(w - 0.2f), arch + 0.035f));
    set(kGreenBase, zg, std::max(deck(zg), arch + 0.04f));
    set(kRoofEdge, zr, std::max(deck(zr), lerpf(deck(zr), topC - s.roofCrown, f)));
    set(kRoofInner, zi, std::max(deck(zi), lerpf(deck(zi), topC - s.roofCrown * 0.7f, f)));
    set(kRoofMid, zi * 0.5f, std::max(deck(zi * 0.5f), lerpf(deck(zi * 0.5f), topC - s.roofCrown * 0.2f, f)));
    set(kTopCentre, 0, topC);
    sec.width = w + s.waistBulge - 0.03f;
    sec.archY = arch;
    sec.green = g;
    sec.deckY = belt + crown;
    sec.topY = topC;
    return sec;
}

// ---- meshes ----

namespace {

enum class Surface { Dark, Side, Top, Glass, Open };

// Arc length from the top centre along the half cross-section, per point.
std::array<float, kSectionPoints> arcsFromTop(const Section& s) {
    std::array<float, kSectionPoints> a{};
    a[kTopCentre] = 0;
    for (int k = kTopCentre - 1; k >= 0; --k)
        a[k] = a[k + 1] + std::hypot(s.z[k] - s.z[k + 1], s.y[k] - s.y[k + 1]);
    return a;
}

V3 at(const Section& s, int k, float side) { return {s.x, s.y[k], side * s.z[k]}; }

void addInterior(Mesh& m, const BodyShape& shape, const std::vector<Section>& secs) {
    const BodyDesign& s = shape.design();
    using livery::Swatch;
    UvFn uv = livery::swatchUv(Swatch::Interior, 40.0f);
    float x0 = s.openTop ? s.cabinRear + 0.05f : std::max(s.cabinRear + 0.05f, s.xr + 0.3f);
    float x1 = s.cabinFront + 0.05f;
    float zt = 10.0f;
    for (const Section& sec : secs)
        if (sec.x >= x0 && sec.x <= x1) zt = std::min(zt, sec.z[kGreenBase] - 0.04f);
    float beltLow = 10.0f;
    for (const Section& sec : secs)
        if (sec.x >= x0 && sec.x <= x1) beltLow = std::min(beltLow, sec.y[kGreenBase]);
    float yf = s.floorY + 0.12f, yt = beltLow - 0.02f;
    // Tub faces inwards: floor up, walls towards the centre.
    m.quad({x0, yf, -zt}, {x0, yf, zt}, {x1, yf, zt}, {x1, yf, -zt}, uv);
    m.quad({x0, yf, zt}, {x0, yt, zt}, {x1, yt, zt}, {x1, yf, zt}, uv);
    m.quad({x1, yf, -zt}, {x1, yt, -zt}, {x0, yt, -zt}, {x0, yf, -zt}, uv);
    m.quad({x1, yf, zt}, {x1, yt, zt}, {x1, yt, -zt}, {x1, yf, -zt}, uv);
    m.quad({x0, yf, -zt}, {x0, yt, -zt}, {x0, yt, zt}, {x0, yf, zt}, uv);
    // Dashboard and seats.
    float dashY = beltLow;
    m.box({x1 - 0.42f, dashY - 0.28f, -zt}, {x1, dashY + 0.02f, zt}, uv);
    float seatX = s.cabinFront - 1.45f;
    for (float zs : {-0.42f, 0.42f}) {
        m.box({seatX - 0.22f, yf, zs - 0.2f}, {seatX + 0.28f, yf + 0.16f, zs + 0.2f}, uv);
        Xform back = Xform::rotateZ(-0.22f);
        back.offset = {seatX - 0.26f, yf + 0.1f, zs};
        m.box({-0.07f, 0.0f, -0.2f}, {0.07f, 0.72f, 0.2f}, uv, back);
    }
    // Steering wheel before the driver (on the left, -z).
    {
        V3 c{x1 - 0.55f, dashY - 0.05f, -0.42f};
        V3 axis = normalized(V3{-1.0f, -0.35f, 0});
        m.cylinder(c, c + axis * 0.05f, 0.15f, 0.15f, 10, true, false, livery::swatchUv(Swatch::Trim, 40.0f));
    }
    // Headliner under the roof (faces down).
    if (!s.openTop) {
        for (size_t i = 0; i + 1 < secs.size(); ++i) {
            const Section& a = secs[i];
            const Section& b = secs[i + 1];
            if (a.green < 0.2f || b.green < 0.2f || a.x < s.roofRear - 1e-3f || b.x > s.roofFront + 1e-3f) continue;
            for (float side : {1.0f, -1.0f})
                for (int k = kRoofEdge; k < kTopCentre; ++k) {
                    V3 p0 = at(a, k, side), p1 = at(b, k, side), p2 = at(b, k + 1, side), p3 = at(a, k + 1, side);
                    for (V3* p : {&p0, &p1, &p2, &p3}) p->y -= 0.03f;
                    if (side > 0) m.quad(p0, p3, p2, p1, uv);
                    else m.quad(p0, p1, p2, p3, uv);
                }
        }
    }
}

void addMirrors(Mesh& m, const BodyShape& shape) {
    const BodyDesign& s = shape.design();
    float x = s.cabinFront - 0.2f;
    if (s.openTop) x = s.cabinFront - 0.15f;
    Section sec = shape.section(x);
    float zb = sec.z[kGreenBase] + 0.02f, yb = sec.y[kGreenBase] + 0.02f;
    UvFn paint = livery::swatchUv(livery::Swatch::Paint, 30.0f);
    UvFn glass = livery::swatchUv(livery::Swatch::Chrome, 30.0f);
    for (float side : {1.0f, -1.0f}) {
        size_t start = m.size();
        // stalk, head and mirror glass facing back
        float ze = std::min(zb + 0.34f, 1.28f);
        m.box({x - 0.06f, yb, zb - 0.02f}, {x + 0.04f, yb + 0.05f, ze - 0.14f}, paint);
        m.box({x - 0.08f, yb + 0.03f, ze - 0.2f}, {x + 0.06f, yb + 0.15f, ze}, paint);
        m.quad({x - 0.085f, yb + 0.045f, ze - 0.18f}, {x - 0.085f, yb + 0.045f, ze - 0.02f},
               {x - 0.085f, yb + 0.135f, ze - 0.02f}, {x - 0.085f, yb + 0.135f, ze - 0.18f}, glass);
        if (side < 0) {
            Xform mirror;
            mirror.scale = {1, 1, -1};
            m.transform(mirror, start);
        }
    }
}

void addPilot(Mesh& m, const BodyShape& shape) {
    const BodyDesign& s = shape.design();
    // BMP 26: helmet shell in the top-left quarter, visor top-right, suit in the lower half.
    int mat = m.addMaterial(texturedMaterial("pilot", ""));
    m.addGroup("pilot", mat);
    float seatX = s.cabinFront - 1.45f;
    float zd = -0.42f;
    float roofY = s.openTop ? 0.75f : shape.topAt(seatX + 0.05f);
    float headTop = s.openTop ? s.belt(seatX) + 0.36f : std::min(roofY - 0.09f, 0.66f);
    float hr = 0.165f;
    V3 head{seatX + 0.02f, headTop - hr, zd};
    // helmet: a low sphere; the forward band is the visor
    const int lon = 10, lat = 6;
    auto sph = [&](int i, int j) {
        float th = 2 * kPi * static_cast<float>(i) / lon, ph = kPi * static_cast<float>(j) / lat;
        return head + V3{std::sin(ph) * std::cos(th), std::cos(ph), std::sin(ph) * std::sin(th)} * hr;
    };
    UvFn helmetUv = [head](V3 p, V3 n) {
        V3 d = normalized(p - head);
        if (n.x > 0.55f && d.y < 0.35f && d.y > -0.45f)
            return UV{0.5f + 0.46f * (0.5f + 0.5f * d.z) , 0.04f + 0.42f * (0.5f - 0.5f * d.y)};
        float th = std::atan2(d.z, d.x);
        return UV{0.02f + 0.46f * (0.5f + th / (2 * kPi)), 0.04f + 0.42f * (0.5f - 0.5f * d.y)};
    };
    for (int j = 0; j < lat; ++j)
        for (int i = 0; i < lon; ++i) {
            V3 a = sph(i, j), b = sph(i + 1, j), c = sph(i + 1, j + 1), d = sph(i, j + 1);
            if (j == 0) m.tri(a, c, d, helmetUv);
            else if (j == lat - 1) m.tri(a, b, c, helmetUv);
            else m.quad(a, b, c, d, helmetUv);
        }
    UvFn suit = [](V3 p, V3) { return UV{0.05f + 0.9f * clampf(0.5f + p.z, 0, 1), 0.55f + 0.4f * clampf(0.6f - p.y, 0, 1)}; };
    // torso: a tapered block from the hips to the shoulders, leaning back
    float hipY = s.floorY + 0.3f, shY = head.y - hr - 0.12f;
    std::vector<std::vector<V3>> rings;
    for (int r = 0; r < 2; ++r) {
        float y = r == 0 ? hipY : shY;
        float cx = r == 0 ? seatX + 0.05f : seatX - 0.08f;
        float hw = r == 0 ? 0.18f : 0.24f, hd = r == 0 ? 0.12f : 0.1f;
        rings.push_back({{cx + hd, y, zd - hw}, {cx + hd, y, zd + hw}, {cx - hd, y, zd + hw}, {cx - hd, y, zd - hw}});
    }
    m.loft(rings, true, suit, true);
    m.polygon({rings[1][0], rings[1][1], rings[1][2], rings[1][3]}, suit);
    // neck and arms reaching for the wheel
    m.cylinder({head.x - 0.02f, shY, zd}, {head.x, head.y - hr * 0.6f, zd}, 0.07f, 0.07f, 5, false, false, suit);
    V3 wheel{s.cabinFront + 0.05f - 0.55f, shape.section(seatX).y[kGreenBase] - 0.05f, zd};
    for (float side : {-1.0f, 1.0f}) {
        V3 sh{seatX - 0.05f, shY - 0.02f, zd + side * 0.22f};
        V3 hand = wheel + V3{0, 0.02f, side * 0.13f};
        V3 elbow = lerp(sh, hand, 0.5f) + V3{0, -0.12f, side * 0.05f};
        m.cylinder(sh, elbow, 0.065f, 0.06f, 5, false, false, suit);
        m.cylinder(elbow, hand, 0.06f, 0.05f, 5, false, true, suit);
    }
}

}  // namespace

void buildShell(const BodyShape& shape, const ShellUv& uvs, Mesh& shell, Mesh* glassMesh) {
    const BodyDesign& s = shape.design();
    std::vector<Section> secs;
    for (float x : shape.stations()) secs.push_back(shape.section(x));
    float winFront = shape.sideWindowFront(), winRear = shape.sideWindowRear();

    auto classify = [&](const Section& a, const Section& b, int k) {
        float xm = 0.5f * (a.x + b.x);
        if (k <= kWellInHigh) return Surface::Dark;
        if (k < kBelt) return Surface::Side;
        if (s.openTop && k >= kGreenBase && xm < s.roofFront - 0.02f && xm > s.cabinRear) return Surface::Open;
        if (!glassMesh) return k == kGreenBase ? Surface::Side : Surface::Top;
        if (k == kGreenBase && !s.openTop && std::min(a.green, b.green) > 0.06f && xm > winRear && xm < winFront &&
            std::fabs(xm - s.bPillarX) > 0.05f)
            return Surface::Glass;
        if ((k == kRoofInner || k == kRoofMid) && std::max(a.green, b.green) > 0.0f &&
            (shape.inWindscreen(xm) || (!s.openTop && shape.inRearWindow(xm))))
            return Surface::Glass;
        return Surface::Top;
    };
    auto uvOf = [&](Surface kind, const Section& sec, const std::array<float, kSectionPoints>& arcs, int k,
                    float side) {
        switch (kind) {
            case Surface::Side: return uvs.side(sec.x, sec.y[k]);
            case Surface::Top: return uvs.top(sec.x, side * arcs[k]);
            case Surface::Glass: return UV{(sec.x + 3.2f) / 6.4f, 1.0f - (sec.y[k] + 1.0f) * 0.5f};
            default: return uvs.dark(sec.x, sec.z[k]);
        }
    };
    for (float side : {1.0f, -1.0f}) {
        for (size_t i = 0; i + 1 < secs.size(); ++i) {
            const Section& a = secs[i];
            const Section& b = secs[i + 1];
            auto arcA = arcsFromTop(a), arcB = arcsFromTop(b);
            for (int k = 0; k + 1 < kSectionPoints; ++k) {
                Surface kind = classify(a, b, k);
                if (kind == Surface::Open || (k == kFloorCentre && !s.underside)) continue;
                Mesh& m = kind == Surface::Glass ? *glassMesh : shell;
                V3 p0 = at(a, k, side), p1 = at(b, k, side), p2 = at(b, k + 1, side), p3 = at(a, k + 1, side);
                UV u0 = uvOf(kind, a, arcA, k, side), u1 = uvOf(kind, b, arcB, k, side);
                UV u2 = uvOf(kind, b, arcB, k + 1, side), u3 = uvOf(kind, a, arcA, k + 1, side);
                if (side > 0) m.quad(p0, p1, p2, p3, u0, u1, u2, u3);
                else m.quad(p0, p3, p2, p1, u0, u3, u2, u1);
            }
        }
    }
    // End caps: the nose seen from ahead and the tail from behind.
    auto ring = [&](const Section& sec) {
        std::vector<V3> pts;
        for (int k = 0; k < kSectionPoints; ++k) pts.push_back(at(sec, k, -1.0f));
        for (int k = kSectionPoints - 2; k >= 1; --k) pts.push_back(at(sec, k, 1.0f));
        std::vector<V3> clean;
        for (V3 p : pts)
            if (clean.empty() || length(p - clean.back()) > 1e-4f) clean.push_back(p);
        while (clean.size() > 1 && length(clean.front() - clean.back()) < 1e-4f) clean.pop_back();
        return clean;
    };
    std::vector<V3> nose = ring(secs.back());
    shell.polygonEar(nose, [&](V3 p, V3) { return uvs.nose(p.z, p.y); });
    std::vector<V3> tail = ring(secs.front());
    std::reverse(tail.begin(), tail.end());
    shell.polygonEar(tail, [&](V3 p, V3) { return uvs.tail(p.z, p.y); });
}

BodyMeshes buildBody(const BodyShape& shape) {
    BodyMeshes out;
    out.body.addGroup("body", -1);
    out.glass.addGroup("glass", -1);
    ShellUv uv;
    uv.side = [](float x, float y) { return livery::side(x, y); };
    uv.top = [](float x, float arc) { return livery::top(x, arc); };
    uv.nose = [](float z, float y) { return livery::nose(z, y); };
    uv.tail = [](float z, float y) { return livery::tail(z, y); };
    uv.dark = [](float x, float z) { return livery::swatch(livery::Swatch::Dark, x, z); };
    buildShell(shape, uv, out.body, &out.glass);
    std::vector<Section> secs;
    for (float x : shape.stations()) secs.push_back(shape.section(x));
    addInterior(out.body, shape, secs);
    addMirrors(out.body, shape);
    addPilot(out.pilot, shape);
    return out;
}

}  // namespace cars
