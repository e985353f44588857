#include "cities/city_layout.h"

#include "noise.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace gen::cities {

namespace {

// Start positions by race number (rows) and club (columns).
const V3 kStartTable[10][3] = {
    {{-18, 1.5f, -26}, {91, 1.4f, -332}, {11, 0.9f, 390}},
    {{0, 1.0f, -18}, {159, 1.6f, -265}, {214, 1.1f, 222}},
    {{0, 2.7f, -64}, {-72, 2.7f, -444}, {250, 1.45f, 491}},
    {{91, 1.4f, -332}, {11, 0.9f, 390}, {-18, 1.5f, -26}},
    {{159, 1.6f, -265}, {214, 1.1f, 222}, {0, 1.0f, -18}},
    {{-72, 2.7f, -444}, {250, 1.45f, 491}, {0, 2.7f, -64}},
    {{-18, 1.5f, -26}, {91, 1.4f, -332}, {11, 0.9f, 390}},
    {{159, 1.6f, -265}, {214, 1.1f, 222}, {0, 1.0f, -18}},
    {{-72, 2.7f, -444}, {0, 2.7f, -64}, {250, 1.45f, 491}},
    {{11, 0.9f, 390}, {91, 1.4f, -332}, {-18, 1.5f, -26}},
};

float smoothstep(float e0, float e1, float x) {
    float t = std::clamp((x - e0) / (e1 - e0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

struct CityParams {
    CityStyle style;
    const char* name;
    float xmin, xmax, zmin, zmax;
    float edgeDepth;       // from the world edge to the ring road's centre
    float spacingMin, spacingMax;
    float mergeChance;
    int warpCount;
    float warpStrength;    // displacement / radius
    int hillCount;
    float hillMin, hillMax;
    uint32_t seed;
};

CityParams paramsFor(int map) {
    switch (map) {
    case 2:
        return {CityStyle::Harbour, "harbour", -740, 725, -820, 645, 90, 110, 170, 0.5f, 2, 0.07f, 2, 3, 6, 0x4a7b0c21u};
    case 3:
        return {CityStyle::Hillside, "hillside", -690, 770, -730, 725, 80, 95, 150, 0.3f, 6, 0.11f, 4, 8, 14, 0x11dd5e03u};
    default:
        return {CityStyle::Downtown, "downtown", -650, 740, -780, 610, 80, 95, 140, 0.35f, 3, 0.075f, 2, 3, 6, 0x90c1e7a5u};
    }
}

// Lines between lo and hi (exclusive) filling the gap at roughly the given spacing.
void fillGap(std::vector<float>& out, float lo, float hi, float spMin, float spMax, Rng& rng) {
    float target = 0.5f * (spMin + spMax);
    int n = std::max(0, int(std::lround((hi - lo) / target)) - 1);
    float step = (hi - lo) / float(n + 1);
    for (int k = 1; k <= n; ++k) out.push_back(lo + step * float(k) + rng.range(-0.12f, 0.12f) * step);
}

std::vector<float> makeLines(float lo, float hi, const std::vector<float>& anchors, float spMin, float spMax,
                             Rng& rng) {
    std::vector<float> fixed = anchors;
    fixed.push_back(lo);
    fixed.push_back(hi);
    std::sort(fixed.begin(), fixed.end());
    std::vector<float> lines;
    for (size_t k = 0; k < fixed.size(); ++k) {
        lines.push_back(fixed[k]);
        if (k + 1 < fixed.size()) fillGap(lines, fixed[k], fixed[k + 1], spMin, spMax, rng);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

City buildCity(int map) {
    CityParams p = paramsFor(map);
    City c;
    c.map = map;
    c.style = p.style;
    c.name = p.name;
    c.xmin = p.xmin;
    c.xmax = p.xmax;
    c.zmin = p.zmin;
    c.zmax = p.zmax;
    Rng rng(p.seed);

    for (int slot = 1; slot <= 30; ++slot) {
        if (mapOfSlot(slot) != map) continue;
        V3 s = startPosition(slot);
        bool seen = false;
        for (const V3& o : c.starts) seen = seen || (o.x == s.x && o.z == s.z);
        if (!seen) c.starts.push_back(s);
    }

    // Street lines: the start roads are anchors; the ring road lies edgeDepth inside the world edge.
    std::vector<float> vAnchors;
    for (const V3& s : c.starts) vAnchors.push_back(s.z + kGridRoadOffset);
    c.U = makeLines(p.xmin + p.edgeDepth, p.xmax - p.edgeDepth, {}, p.spacingMin, p.spacingMax, rng);
    // The harbour's south edge is the waterfront: a quay road with the basin beyond it.
    float southDepth = p.style == CityStyle::Harbour ? 220.0f : p.edgeDepth;
    c.V = makeLines(p.zmin + p.edgeDepth, p.zmax - southDepth, vAnchors, p.spacingMin, p.spacingMax, rng);
    // Half-widths: avenues every third line and on the ring, streets elsewhere; start roads are avenues.
    auto widths = [&](const std::vector<float>& lines, bool isV) {
        std::vector<float> w(lines.size(), 12.0f);
        int phase = rng.below(3);
        for (size_t k = 0; k < lines.size(); ++k) {
            bool avenue = k == 0 || k + 1 == lines.size() || int(k) % 3 == phase;
            if (isV)
                for (float a : vAnchors) avenue = avenue || lines[k] == a;
            w[k] = avenue ? 15.0f : 12.0f;
        }
        return w;
    };
    c.wU = widths(c.U, false);
    c.wV = widths(c.V, true);

    int nu = c.nu(), nv = c.nv();
    c.cellBlock.assign(size_t(nu + 1) * size_t(nv + 1), -2);
    auto cell = [&](int col, int row) -> int& { return c.cellBlock[size_t(row) * size_t(nu + 1) + size_t(col)]; };
    for (int row = 0; row <= nv; ++row)
        for (int col = 0; col <= nu; ++col)
            if (row == 0 || col == 0 || row == nv || col == nu) cell(col, row) = -1;

    auto addBlock = [&](int c0, int c1, int r0, int r1) {
        Block b;
        b.c0 = c0;
        b.c1 = c1;
        b.r0 = r0;
        b.r1 = r1;
        int id = int(c.blocks.size());
        for (int row = r0; row <= r1; ++row)
            for (int col = c0; col <= c1; ++col) cell(col, row) = id;
        c.blocks.push_back(b);
    };
    auto columnOf = [&](float u) {
        int col = 0;
        while (col < nu && c.U[size_t(col)] < u) ++col;
        return col;
    };

    // Around each start the grid road runs without crossings: the cells on both
    // sides of it are merged across any street line near the grid.
    for (const V3& s : c.starts) {
        float vs = s.z + kGridRoadOffset;
        int rs = 0;
        while (rs < nv && c.V[size_t(rs)] != vs) ++rs;
        int ca = columnOf(s.x - 30), cb = columnOf(s.x + 40);
        for (int row : {rs, rs + 1}) {
            bool free = true;
            for (int col = ca; col <= cb; ++col) free = free && cell(col, row) == -2;
            if (free)
                addBlock(ca, cb, row, row);
            else
                for (int col = ca; col <= cb; ++col)
                    if (cell(col, row) == -2) addBlock(col, col, row, row);
        }
    }
    // Random merges give blocks of different sizes.
    for (int row = 1; row < nv; ++row) {
        for (int col = 1; col < nu; ++col) {
            if (cell(col, row) != -2) continue;
            int w = 1, h = 1;
            if (rng.chance(p.mergeChance)) {
                int shape = rng.below(4);
                w = shape == 0 || shape == 2 ? 2 : 1;
                h = shape == 1 || shape == 2 ? 2 : 1;
                if (shape == 3) w = 3;
            }
            auto fits = [&](int ww, int hh) {
                for (int r = row; r < row + hh; ++r)
                    for (int q = col; q < col + ww; ++q)
                        if (r >= nv || q >= nu || cell(q, r) != -2) return false;
                return true;
            };
            while (!fits(w, h)) {
                if (w > 1) --w;
                else --h;
            }
            addBlock(col, col + w - 1, row, row + h - 1);
        }
    }

    // Land, pavement and building lines of the interior blocks.
    const float P = kPavementWidth;
    for (Block& b : c.blocks) {
        b.land = {c.U[size_t(b.c0 - 1)] + c.wU[size_t(b.c0 - 1)], c.V[size_t(b.r0 - 1)] + c.wV[size_t(b.r0 - 1)],
                  c.U[size_t(b.c1)] - c.wU[size_t(b.c1)], c.V[size_t(b.r1)] - c.wV[size_t(b.r1)]};
        b.inner = {b.land.u0 + P, b.land.v0 + P, b.land.u1 - P, b.land.v1 - P};
        const Rect& L = b.land;
        const Rect& I = b.inner;
        b.kerbs = {{L.u0, L.v0, L.u1, L.v0}, {L.u1, L.v0, L.u1, L.v1}, {L.u1, L.v1, L.u0, L.v1}, {L.u0, L.v1, L.u0, L.v0}};
        b.walls = {{I.u0, I.v0, I.u1, I.v0}, {I.u1, I.v0, I.u1, I.v1}, {I.u1, I.v1, I.u0, I.v1}, {I.u0, I.v1, I.u0, I.v0}};
        b.pavements = {{L.u0, L.v0, L.u1, I.v0}, {L.u0, I.v1, L.u1, L.v1}, {L.u0, I.v0, I.u0, I.v1}, {I.u1, I.v0, L.u1, I.v1}};
    }

    // Edge strips between the ring road and the world edge.
    {
        float U0 = c.U.front() - c.wU.front(), U1 = c.U.back() + c.wU.back();
        float V0 = c.V.front() - c.wV.front(), V1 = c.V.back() + c.wV.back();
        auto strip = [&](int front, Rect land) {
            Block b;
            b.edge = true;
            b.frontSide = front;
            b.land = land;
            switch (front) {
            case South:  // north strip, facing the ring road to its south
                b.pavements = {{U0 - P, V0 - P, U1 + P, V0}};
                b.kerbs = {{U1, V0, U0, V0}};
                b.walls = {{U1 + P, V0, U1 + P, V0 - P}, {U1 + P, V0 - P, U0 - P, V0 - P}, {U0 - P, V0 - P, U0 - P, V0}};
                b.inner = {land.u0, land.v0, land.u1, V0 - P};
                break;
            case North:  // south strip
                b.pavements = {{U0 - P, V1, U1 + P, V1 + P}};
                b.kerbs = {{U0, V1, U1, V1}};
                b.walls = {{U0 - P, V1, U0 - P, V1 + P}, {U0 - P, V1 + P, U1 + P, V1 + P}, {U1 + P, V1 + P, U1 + P, V1}};
                b.inner = {land.u0, V1 + P, land.u1, land.v1};
                break;
            case East:  // west strip
                b.pavements = {{U0 - P, V0, U0, V1}};
                b.kerbs = {{U0, V0, U0, V1}};
                b.walls = {{U0 - P, V0, U0 - P, V1}};
                b.inner = {land.u0, V0, U0 - P, V1};
                break;
            default:  // east strip
                b.pavements = {{U1, V0, U1 + P, V1}};
                b.kerbs = {{U1, V1, U1, V0}};
                b.walls = {{U1 + P, V1, U1 + P, V0}};
                b.inner = {U1 + P, V0, land.u1, V1};
                break;
            }
            c.blocks.push_back(b);
        };
        strip(South, {c.xmin, c.zmin, c.xmax, V0});
        strip(North, {c.xmin, V1, c.xmax, c.zmax});
        strip(East, {c.xmin, V0, U0, V1});
        strip(West, {U1, V0, c.xmax, V1});
    }

    // Kinds: each style has its own mix, denser towards the centre.
    float cu = 0.5f * (c.xmin + c.xmax), cv = 0.5f * (c.zmin + c.zmax);
    float halfSpan = 0.5f * std::max(c.xmax - c.xmin, c.zmax - c.zmin);
    for (size_t id = 0; id < c.blocks.size(); ++id) {
        Block& b = c.blocks[id];
        b.seed = p.seed ^ uint32_t(id * 2654435761u);
        Rng br(b.seed);
        float mu = 0.5f * (b.land.u0 + b.land.u1), mv = 0.5f * (b.land.v0 + b.land.v1);
        float centrality = 1.0f - std::min(1.0f, std::hypot(mu - cu, mv - cv) / halfSpan);
        float x = br.uniform();
        if (b.edge) {
            if (p.style == CityStyle::Harbour && b.frontSide == North) b.kind = BlockKind::Quay;
            else if (p.style == CityStyle::Hillside) b.kind = BlockKind::Houses;
            else if (p.style == CityStyle::Harbour) b.kind = BlockKind::Warehouses;
            else b.kind = BlockKind::Apartments;
            continue;
        }
        switch (p.style) {
        case CityStyle::Downtown:
            if (x < 0.08f) b.kind = BlockKind::Park;
            else if (x < 0.13f) b.kind = BlockKind::Plaza;
            else if (x < 0.13f + 0.45f * centrality) b.kind = BlockKind::Towers;
            else if (x < 0.70f) b.kind = BlockKind::Shops;
            else if (x < 0.85f) b.kind = BlockKind::Offices;
            else b.kind = BlockKind::Apartments;
            break;
        case CityStyle::Harbour:
            if (x < 0.06f) b.kind = BlockKind::Park;
            else if (mv > 150 && x < 0.55f) b.kind = BlockKind::Yard;
            else if (x < 0.55f) b.kind = BlockKind::Warehouses;
            else if (x < 0.75f) b.kind = BlockKind::Shops;
            else if (x < 0.85f) b.kind = BlockKind::Offices;
            else b.kind = BlockKind::Apartments;
            break;
        case CityStyle::Hillside:
            if (x < 0.12f) b.kind = BlockKind::Park;
            else if (x < 0.25f) b.kind = BlockKind::Shops;
            else if (x < 0.32f) b.kind = BlockKind::Apartments;
            else b.kind = BlockKind::Houses;
            break;
        }
    }

    // Start grids sit on level ground: the road there is S.y - kGroundBelowStart.
    for (const V3& s : c.starts)
        c.flats.push_back({s.x + 5.0f, s.z + kGridRoadOffset, 70.0f, 190.0f, s.y - kGroundBelowStart});
    c.baseHeight = 0;
    for (const FlatZone& f : c.flats) c.baseHeight += f.height / float(c.flats.size());

    auto nearStart = [&](float u, float v, float r) {
        for (const V3& s : c.starts)
            if (std::hypot(u - s.x, v - s.z - kGridRoadOffset) < r) return true;
        return false;
    };
    // Warp bumps bend the streets; they stay clear of the starts and the world edge.
    for (int tries = 0; int(c.warps.size()) < p.warpCount && tries < 400; ++tries) {
        float r = rng.range(230, 330);
        float u = rng.range(c.xmin + r + 40, c.xmax - r - 40), v = rng.range(c.zmin + r + 40, c.zmax - r - 40);
        if (nearStart(u, v, r + 90)) continue;
        bool overlap = false;
        for (const WarpBump& w : c.warps) overlap = overlap || std::hypot(u - w.u, v - w.v) < r + w.radius;
        if (overlap) continue;
        float a = rng.range(0, 6.2831853f), m = p.warpStrength * r * rng.range(0.8f, 1.0f);
        c.warps.push_back({u, v, r, m * std::cos(a), m * std::sin(a)});
    }
    for (int tries = 0; int(c.hills.size()) < p.hillCount && tries < 400; ++tries) {
        float r = rng.range(220, 320);
        float u = rng.range(c.xmin, c.xmax), v = rng.range(c.zmin, c.zmax);
        if (nearStart(u, v, r * 1.1f)) continue;
        c.hills.push_back({u, v, r, rng.range(p.hillMin, p.hillMax) * (rng.chance(0.25f) ? -0.5f : 1.0f)});
    }
    return c;
}

}  // namespace

V3 startPosition(int slot) {
    if (slot < 1 || slot > 30) return {};
    return kStartTable[(slot - 1) % 10][(slot - 1) / 10];
}

int raceNumber(int slot) { return ((slot - 1) % 10) + 1; }
int clubOfSlot(int slot) { return (slot - 1) / 10; }

int mapOfSlot(int slot) {
    int r = raceNumber(slot);
    if (r == 2 || r == 5 || r == 8) return 2;
    if (r == 3 || r == 6 || r == 9) return 3;
    return 1;
}

int City::block(int c, int r) const {
    if (c < 0 || r < 0 || c > nu() || r > nv()) return -1;
    return cellBlock[size_t(r) * size_t(nu() + 1) + size_t(c)];
}

bool City::segU(int i, int r) const {
    if (i < 0 || i >= nu() || r < 0 || r > nv()) return false;
    return block(i, r) != block(i + 1, r);
}

bool City::segV(int c, int j) const {
    if (j < 0 || j >= nv() || c < 0 || c > nu()) return false;
    return block(c, j) != block(c, j + 1);
}

bool City::node(int i, int j) const {
    return segU(i, j) || segU(i, j + 1) || segV(i, j) || segV(i + 1, j);
}

float City::uOf(int i) const {
    if (i < 0) return xmin;
    if (i >= nu()) return xmax;
    return U[size_t(i)];
}

float City::vOf(int j) const {
    if (j < 0) return zmin;
    if (j >= nv()) return zmax;
    return V[size_t(j)];
}

P2 City::toWorld(float u, float v) const {
    P2 p{u, v};
    for (const WarpBump& w : warps) {
        float d2 = ((u - w.u) * (u - w.u) + (v - w.v) * (v - w.v)) / (w.radius * w.radius);
        if (d2 >= 1) continue;
        float k = (1 - d2) * (1 - d2);
        p.x += w.du * k;
        p.z += w.dv * k;
    }
    return p;
}

float City::height(float u, float v) const {
    float h = baseHeight;
    for (const Hill& hl : hills) {
        float d2 = ((u - hl.u) * (u - hl.u) + (v - hl.v) * (v - hl.v)) / (hl.radius * hl.radius);
        if (d2 < 9) h += hl.height * std::exp(-d2);
    }
    for (const FlatZone& f : flats) {
        float d = std::hypot(u - f.u, v - f.v);
        float t = smoothstep(f.inner, f.outer, d);
        h = f.height + (h - f.height) * t;
    }
    return h;
}

const City& city(int map) {
    static std::once_flag once;
    static City cities[3];
    std::call_once(once, [] {
        for (int m = 1; m <= 3; ++m) cities[m - 1] = buildCity(m);
    });
    return cities[std::clamp(map, 1, 3) - 1];
}

}  // namespace gen::cities
