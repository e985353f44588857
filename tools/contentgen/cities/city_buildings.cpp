// Blocks: buildings along the building lines (towers, offices, shops with lit
// fronts and neon signs, apartments, warehouses, houses), parks, plazas,
// container yards and the quay, with their trees. Every building line is also
// a solid wall in the collision layer, so a block cannot be driven into.
#include "cities/city_geometry.h"

#include "noise.h"

#include <algorithm>
#include <cmath>

namespace gen::cities {

namespace {

constexpr float kFloorTile = 12.8f;   // facade texture: four floors
constexpr float kBayTile = 12.0f;     // facade texture: four window bays
constexpr float kShopBand = 4.0f;     // height of a shop front
constexpr float kShopTile = 8.0f;     // width of one shop front in its texture

struct Ctx {
    const City& c;
    CityMeshes& out;
    int mat[int(Mat::Count)];
    int wallCollision;
    int glass;
};

P2 add(P2 a, P2 b, float k) { return {a.x + b.x * k, a.z + b.z * k}; }

// Quad whose facing is fixed by a direction rather than by corner order.
void quadFacing(MeshLayer& layer, V3 a, V3 b, V3 c, V3 d, float st[8], int mat, const V3& facing) {
    V3 n = cross(b - a, c - a);
    if (dot(n, facing) < 0) {
        std::swap(b, d);
        std::swap(st[2], st[6]);
        std::swap(st[3], st[7]);
    }
    layer.quad(a, b, c, d, st, mat);
}

V3 worldAt(const City& c, P2 g, float y) {
    P2 w = c.toWorld(g.x, g.z);
    return {w.x, y, w.z};
}

// One vertical face of a building from grid point a to b (street side (dv, -du)),
// bottom yb, top yt, texture scaled per unit along and up from the reference height.
void face(Ctx& x, P2 a, P2 b, float yb, float yt, int mat, float sOff, float sTile, float yRef, float tTile) {
    V3 a0 = worldAt(x.c, a, yb), b0 = worldAt(x.c, b, yb), a1 = worldAt(x.c, a, yt), b1 = worldAt(x.c, b, yt);
    float len = std::hypot(b.x - a.x, b.z - a.z);
    float tb = 1 - (yb - yRef) / tTile, tt = 1 - (yt - yRef) / tTile;
    float st[8] = {sOff, tb, sOff + len / sTile, tb, sOff + len / sTile, tt, sOff, tt};
    // The viewer on the street side sees b on the left: start the texture there.
    float st2[8] = {sOff + len / sTile, tb, sOff, tb, sOff, tt, sOff + len / sTile, tt};
    (void)st;
    V3 facing{b.z - a.z, 0, -(b.x - a.x)};
    quadFacing(x.out.visual, a0, b0, b1, a1, st2, mat, facing);
}

struct Box {
    P2 f0, f1, b1, b0;  // front-left, front-right, back-right, back-left (front on the street)
    float yb = 0, yRef = 0, top = 0;
};

Box makeBox(const City& c, P2 p, P2 d, P2 n, float a, float width, float setback, float depth) {
    Box bx;
    bx.f0 = add(add(p, d, a), n, setback);
    bx.f1 = add(bx.f0, d, width);
    bx.b1 = add(bx.f1, n, depth);
    bx.b0 = add(bx.f0, n, depth);
    P2 mid = add(bx.f0, d, width * 0.5f);
    bx.yRef = c.height(mid.x, mid.z) + kKerbHeight;
    float lo = 1e9f;
    for (P2 q : {bx.f0, bx.f1, bx.b1, bx.b0}) lo = std::min(lo, c.height(q.x, q.z));
    bx.yb = lo - 0.6f;
    return bx;
}

void roofQuad(Ctx& x, const Box& bx, float y, int mat, float tile) {
    V3 a = worldAt(x.c, bx.f0, y), b = worldAt(x.c, bx.b0, y), cc = worldAt(x.c, bx.b1, y), d = worldAt(x.c, bx.f1, y);
    float st[8] = {a.x / tile, a.z / tile, b.x / tile, b.z / tile, cc.x / tile, cc.z / tile, d.x / tile, d.z / tile};
    quadFacing(x.out.visual, a, b, cc, d, st, mat, {0, 1, 0});
}

// Walls and flat roof of a box; the front may carry a shop band.
void boxWalls(Ctx& x, const Box& bx, int facade, float sOff, bool shop, int roof) {
    float baseTex = shop ? bx.yRef + kShopBand : bx.yRef;
    if (shop) {
        face(x, bx.f0, bx.f1, bx.yb, bx.yRef + kShopBand, x.mat[int(Mat::ShopFront)], sOff * 2, kShopTile, bx.yRef, kShopBand);
        face(x, bx.f0, bx.f1, bx.yRef + kShopBand, bx.top, facade, sOff, kBayTile, baseTex, kFloorTile);
    } else {
        face(x, bx.f0, bx.f1, bx.yb, bx.top, facade, sOff, kBayTile, baseTex, kFloorTile);
    }
    face(x, bx.f1, bx.b1, bx.yb, bx.top, facade, sOff + 0.5f, kBayTile, baseTex, kFloorTile);
    face(x, bx.b1, bx.b0, bx.yb, bx.top, facade, sOff + 0.25f, kBayTile, baseTex, kFloorTile);
    face(x, bx.b0, bx.f0, bx.yb, bx.top, facade, sOff + 0.75f, kBayTile, baseTex, kFloorTile);
    if (roof >= 0) roofQuad(x, bx, bx.top, roof, 16.0f);
}

// Glass over the shop window and a neon sign above it.
void shopDressing(Ctx& x, const Box& bx, Rng& rng) {
    P2 d{bx.f1.x - bx.f0.x, bx.f1.z - bx.f0.z};
    float w = std::hypot(d.x, d.z);
    d = {d.x / w, d.z / w};
    P2 out{d.z, -d.x};  // street side
    {
        P2 a = add(add(bx.f0, d, 0.4f), out, 0.08f), b = add(add(bx.f1, d, -0.4f), out, 0.08f);
        V3 a0 = worldAt(x.c, a, bx.yRef + 0.35f), b0 = worldAt(x.c, b, bx.yRef + 0.35f);
        V3 a1 = worldAt(x.c, a, bx.yRef + 3.2f), b1 = worldAt(x.c, b, bx.yRef + 3.2f);
        float st[8] = {0, 1, 1, 1, 1, 0, 0, 0};
        quadFacing(x.out.glass, a0, b0, b1, a1, st, x.glass, {out.x, 0, out.z});
    }
    if (!rng.chance(0.8f)) return;
    float sw = std::min(w - 1.0f, rng.range(4.5f, 7.0f));
    float a0 = (w - sw) * 0.5f;
    P2 pa = add(add(bx.f0, d, a0), out, 0.2f), pb = add(add(bx.f0, d, a0 + sw), out, 0.2f);
    float y0 = bx.yRef + kShopBand + 0.3f, y1 = y0 + sw * 0.25f;
    int sign = rng.below(8);
    float s0 = float(sign % 2) * 0.5f, t0 = 0.5f + float(sign / 2) * 0.125f;
    bool blink = rng.chance(0.35f);
    V3 q0 = worldAt(x.c, pa, y0), q1 = worldAt(x.c, pb, y0), q2 = worldAt(x.c, pb, y1), q3 = worldAt(x.c, pa, y1);
    // Seen from the street, pb is on the left.
    float st[8] = {s0 + 0.5f, t0 + 0.125f, s0, t0 + 0.125f, s0, t0, s0 + 0.5f, t0};
    quadFacing(x.out.visual, q0, q1, q2, q3, st, x.mat[int(blink ? Mat::NeonBlink : Mat::NeonSteady)], {out.x, 0, out.z});
}

void pitchedRoof(Ctx& x, const Box& bx, float rise) {
    P2 r0{(bx.f0.x + bx.b0.x) * 0.5f, (bx.f0.z + bx.b0.z) * 0.5f}, r1{(bx.f1.x + bx.b1.x) * 0.5f, (bx.f1.z + bx.b1.z) * 0.5f};
    float y = bx.top, yr = bx.top + rise;
    int tiles = x.mat[int(Mat::RoofTiles)];
    int wall = x.mat[int(Mat::House)];
    auto slope = [&](P2 e0, P2 e1) {
        V3 a = worldAt(x.c, e0, y), b = worldAt(x.c, e1, y), cc = worldAt(x.c, r1, yr), d = worldAt(x.c, r0, yr);
        float len = std::hypot(e1.x - e0.x, e1.z - e0.z) / 6.0f;
        float st[8] = {0, 1, len, 1, len, 0, 0, 0};
        V3 mid = (a + b) * 0.5f, ridge = (cc + d) * 0.5f;
        V3 facing = normalized(mid - ridge);
        facing.y = 1.0f;
        quadFacing(x.out.visual, a, b, cc, d, st, tiles, facing);
    };
    slope(bx.f0, bx.f1);
    slope(bx.b1, bx.b0);
    auto gable = [&](P2 e0, P2 e1, P2 r, P2 outward) {
        V3 a = worldAt(x.c, e0, y), b = worldAt(x.c, e1, y), top = worldAt(x.c, r, yr);
        V3 n = cross(b - a, top - a);
        V3 facing = worldAt(x.c, add(r, outward, 1), y) - worldAt(x.c, r, y);
        if (dot(n, facing) < 0) std::swap(a, b);
        x.out.visual.tri(a, b, top, 0, 1, 1, 1, 0.5f, 1 - rise / kFloorTile, wall);
    };
    P2 d{bx.f1.x - bx.f0.x, bx.f1.z - bx.f0.z};
    gable(bx.f0, bx.b0, r0, {-d.x, -d.z});
    gable(bx.f1, bx.b1, r1, d);
}

// Hedge, wall or railing along a building line: visual only (the collision wall is separate).
void lowWall(Ctx& x, const Segment2& s, Mat m, float height) {
    addTerrainWall(x.out.visual, x.c, s, -0.3f, height, x.mat[int(m)], 0.2f, 1.0f, false);
}

struct KindStyle {
    float lotMin, lotMax, hMin, hMax, depthMax;
    Mat facadeA, facadeB;
    float shopChance;
};

KindStyle styleOf(BlockKind k) {
    switch (k) {
    case BlockKind::Towers: return {30, 48, 45, 130, 34, Mat::Tower, Mat::Tower2, 0.15f};
    case BlockKind::Offices: return {20, 32, 18, 45, 26, Mat::Office, Mat::Tower2, 0.2f};
    case BlockKind::Shops: return {11, 18, 8, 22, 18, Mat::Brick, Mat::Apartment, 0.85f};
    case BlockKind::Apartments: return {16, 28, 12, 28, 20, Mat::Apartment, Mat::Brick, 0.25f};
    case BlockKind::Warehouses: return {26, 48, 7, 13, 36, Mat::Warehouse, Mat::Warehouse, 0.0f};
    case BlockKind::Houses: return {19, 28, 5.5f, 7, 12, Mat::House, Mat::House, 0.0f};
    default: return {20, 30, 10, 20, 20, Mat::Office, Mat::Office, 0};
    }
}

// Buildings along one building line from along-distance a0 to a1, reaching depth into the block.
void frontage(Ctx& x, const Block& b, const Segment2& w, float a0, float a1, float depth, Rng& rng) {
    KindStyle ks = styleOf(b.kind);
    P2 p{w.u0, w.v0};
    float len = std::hypot(w.u1 - w.u0, w.v1 - w.v0);
    if (len < 1) return;
    P2 d{(w.u1 - w.u0) / len, (w.v1 - w.v0) / len};
    P2 n{-d.z, d.x};  // into the block
    int roof = x.mat[int(Mat::Roof)];
    float a = a0;
    while (a1 - a > 4) {
        float lot = rng.range(ks.lotMin, ks.lotMax);
        if (a1 - (a + lot) < ks.lotMin * 0.6f) lot = a1 - a;
        bool corner = a == a0 || a + lot >= a1 - 0.01f;
        if (b.kind == BlockKind::Houses) {
            float setback = rng.range(3.5f, 6.0f);
            float hw = std::min(lot - 4.0f, rng.range(9.0f, 13.0f));
            float hd = std::min(depth - setback - 1.0f, rng.range(8.0f, 11.0f));
            if (hw > 5 && hd > 5) {
                Box bx = makeBox(x.c, p, d, n, a + (lot - hw) * 0.5f, hw, setback, hd);
                bx.top = bx.yRef + rng.range(ks.hMin, ks.hMax);
                boxWalls(x, bx, x.mat[int(Mat::House)], float(rng.below(4)) * 0.25f, false, -1);
                pitchedRoof(x, bx, rng.range(2.5f, 3.8f));
                // Garden plants between the fence and the house.
                if (rng.chance(0.4f)) {
                    P2 g = add(add(p, d, a + rng.range(1.5f, lot - 1.5f)), n, setback * 0.5f);
                    addTree(x.out.trees, x.c, g.x, g.z, rng.range(1.4f, 2.2f), rng.range(2.0f, 3.0f), TreeKind::Bush, rng.range(0, 3.1f));
                }
                if (rng.chance(0.3f)) {
                    P2 t = add(add(p, d, a + rng.range(2.0f, lot - 2.0f)), n, setback + hd + rng.range(2.0f, 5.0f));
                    addTree(x.out.trees, x.c, t.x, t.z, rng.range(8, 12), rng.range(6, 8),
                            x.c.style == CityStyle::Hillside && rng.chance(0.5f) ? TreeKind::Conifer : TreeKind::Broadleaf,
                            rng.range(0, 3.1f));
                }
            }
        } else if (!corner && rng.chance(b.kind == BlockKind::Warehouses ? 0.18f : 0.06f)) {
            // A gap: a small car park or yard behind a low wall.
            Segment2 gap{p.x + d.x * a, p.z + d.z * a, p.x + d.x * (a + lot), p.z + d.z * (a + lot)};
            lowWall(x, gap, Mat::Concrete, 1.1f);
            if (rng.chance(0.5f)) {
                P2 t = add(add(p, d, a + lot * 0.5f), n, 4.0f);
                addTree(x.out.trees, x.c, t.x, t.z, rng.range(7, 10), rng.range(5, 7), TreeKind::Broadleaf, rng.range(0, 3.1f));
            }
        } else {
            float dep = corner ? depth : std::min(depth, rng.range(ks.depthMax * 0.5f, ks.depthMax));
            Box bx = makeBox(x.c, p, d, n, a, lot, 0, dep);
            float h = rng.range(ks.hMin, ks.hMax);
            if (b.kind == BlockKind::Towers && rng.chance(0.3f)) h *= 0.5f;
            bx.top = bx.yRef + h;
            Mat fm = rng.chance(0.7f) ? ks.facadeA : ks.facadeB;
            bool shop = rng.chance(ks.shopChance) && lot >= 9;
            boxWalls(x, bx, x.mat[int(fm)], float(rng.below(8)) * 0.125f, shop, roof);
            if (shop) shopDressing(x, bx, rng);
            if (h > 12 && h <= 35 && lot > 10 && dep > 10 && rng.chance(0.5f)) {
                // A plant room or water tank on the roof.
                Box unit = makeBox(x.c, p, d, n, a + lot * rng.range(0.2f, 0.5f), 3.5f, dep * rng.range(0.25f, 0.5f), 3.0f);
                unit.yb = bx.top - 0.1f;
                unit.yRef = bx.top;
                unit.top = bx.top + rng.range(1.8f, 3.0f);
                boxWalls(x, unit, x.mat[int(Mat::Concrete)], 0, false, roof);
            }
            if (h > 35 && lot > 16 && dep > 16) {
                // A set-back crown on tall buildings.
                Box crown = makeBox(x.c, p, d, n, a + 3, lot - 6, 3, dep - 6);
                crown.yb = bx.top - 0.2f;
                crown.yRef = bx.top;
                crown.top = bx.top + rng.range(4, 9);
                boxWalls(x, crown, x.mat[int(rng.chance(0.5f) ? Mat::Concrete : fm)], 0, false, roof);
            }
        }
        a += lot;
    }
}

void containers(Ctx& x, const Rect& r, Rng& rng) {
    int mat = x.mat[int(Mat::Container)];
    for (float v = r.v0 + 6; v + 8 < r.v1; v += 11.0f)
        for (float u = r.u0 + 6; u + 12 < r.u1; u += 15.0f) {
            if (rng.chance(0.5f)) continue;
            int stack = 1 + rng.below(3);
            for (int k = 0; k < stack; ++k) {
                P2 p{u, v};
                Box bx = makeBox(x.c, p, {1, 0}, {0, 1}, 0, 12, 0, 5);
                bx.yb = bx.yRef - 0.2f + float(k) * 5.2f;
                bx.top = bx.yb + 5.2f;
                float col = float(rng.below(4)) * 0.25f;
                for (int f = 0; f < 4; ++f) {
                    P2 e0 = f == 0 ? bx.f0 : f == 1 ? bx.f1 : f == 2 ? bx.b1 : bx.b0;
                    P2 e1 = f == 0 ? bx.f1 : f == 1 ? bx.b1 : f == 2 ? bx.b0 : bx.f0;
                    V3 a0 = worldAt(x.c, e0, bx.yb), b0 = worldAt(x.c, e1, bx.yb);
                    V3 a1 = worldAt(x.c, e0, bx.top), b1 = worldAt(x.c, e1, bx.top);
                    float st[8] = {col, 1, col + 0.25f, 1, col + 0.25f, 0, col, 0};
                    quadFacing(x.out.visual, b0, a0, a1, b1, st, mat, {e1.z - e0.z, 0, -(e1.x - e0.x)});
                }
                if (k + 1 == stack) roofQuad(x, bx, bx.top, mat, 12.0f);
            }
        }
}

// A gantry crane: two legs on each side and a long beam.
void crane(Ctx& x, P2 base, float height, Rng& rng) {
    int steel = x.mat[int(Mat::Steel)];
    auto pillar = [&](P2 c0, float w, float y0, float y1) {
        Box bx;
        bx.f0 = {c0.x - w, c0.z - w};
        bx.f1 = {c0.x + w, c0.z - w};
        bx.b1 = {c0.x + w, c0.z + w};
        bx.b0 = {c0.x - w, c0.z + w};
        bx.yb = y0;
        bx.yRef = y0;
        bx.top = y1;
        boxWalls(x, bx, steel, 0, false, steel);
    };
    float y0 = x.c.height(base.x, base.z);
    for (float du : {-8.0f, 8.0f})
        for (float dv : {-4.0f, 4.0f}) pillar({base.x + du, base.z + dv}, 0.7f, y0 - 0.5f, y0 + height);
    Box beam;
    float reach = rng.range(30, 45);
    beam.f0 = {base.x - 10, base.z - 5};
    beam.f1 = {base.x + 10, base.z - 5};
    beam.b1 = {base.x + 10, base.z + reach};
    beam.b0 = {base.x - 10, base.z + reach};
    beam.yb = y0 + height;
    beam.yRef = beam.yb;
    beam.top = beam.yb + 2.5f;
    boxWalls(x, beam, steel, 0, false, steel);
}

void buildBlock(Ctx& x, const Block& b) {
    Rng rng(b.seed);
    const City& c = x.c;
    // Collision: the closed building line.
    for (const Segment2& w : b.walls) addTerrainWall(x.out.collision, c, w, -0.5f, 4.0f, x.wallCollision, 0);

    // Ground inside the building line.
    Mat groundMat = b.kind == BlockKind::Park || b.kind == BlockKind::Houses ? Mat::Grass
                    : b.kind == BlockKind::Plaza                            ? Mat::Plaza
                                                                            : Mat::Ground;
    UvFn tiled = [](float u, float v, float& s, float& t) {
        s = u / 20.0f;
        t = v / 20.0f;
    };
    Rect ground = b.inner;
    if (b.kind == BlockKind::Quay) {
        // A strip of quay behind the railing, then the harbour water.
        Rect quay = ground;
        quay.v1 = std::min(ground.v1, ground.v0 + 14.0f);
        addPatch(x.out.visual, c, quay, kKerbHeight, 60.0f, x.mat[int(Mat::Ground)], tiled);
        // The harbour water lies flat below the quay edge.
        float wy = c.height(0.5f * (c.xmin + c.xmax), quay.v1) - 2.5f;
        P2 w0 = c.toWorld(c.xmin, quay.v1), w1 = c.toWorld(c.xmax, quay.v1);
        V3 a{w0.x - 900, wy, w0.z}, b2{w0.x - 900, wy, c.zmax + 900}, cc{w1.x + 900, wy, c.zmax + 900}, d{w1.x + 900, wy, w1.z};
        float st[8] = {0, 0, 0, 40, 80, 40, 80, 0};
        x.out.visual.quad(a, b2, cc, d, st, x.mat[int(Mat::Water)]);
        Segment2 edge{quay.u1, quay.v1, quay.u0, quay.v1};
        addTerrainWall(x.out.visual, c, edge, -3.0f, kKerbHeight, x.mat[int(Mat::Concrete)], 0.1f);
        for (const Segment2& w : b.walls) lowWall(x, w, Mat::Concrete, 1.0f);
        for (float u = quay.u0 + 80; u < quay.u1 - 40; u += rng.range(120, 220)) crane(x, {u, quay.v0 + 6}, rng.range(26, 34), rng);
        // Ships moored along the quay: a dark hull and a lit superstructure.
        for (float u = quay.u0 + 60; u < quay.u1 - 160; u += rng.range(260, 380)) {
            float len = rng.range(90, 130), beam = rng.range(16, 22);
            Box hull = makeBox(c, {u, quay.v1 + 4}, {1, 0}, {0, 1}, 0, len, 0, beam);
            hull.yb = wy - 2;
            hull.yRef = wy;
            hull.top = wy + 7;
            boxWalls(x, hull, x.mat[int(Mat::Steel)], 0, false, x.mat[int(Mat::Roof)]);
            Box bridge = makeBox(c, {u + len * 0.72f, quay.v1 + 4}, {1, 0}, {0, 1}, 0, len * 0.18f, 2, beam - 4);
            bridge.yb = hull.top - 0.1f;
            bridge.yRef = hull.top;
            bridge.top = hull.top + rng.range(9, 13);
            boxWalls(x, bridge, x.mat[int(Mat::Office)], 0, false, x.mat[int(Mat::Roof)]);
        }
        return;
    }
    addPatch(x.out.visual, c, ground, kKerbHeight - 0.02f, 60.0f, x.mat[int(groundMat)], tiled);

    switch (b.kind) {
    case BlockKind::Park:
    case BlockKind::Plaza: {
        bool park = b.kind == BlockKind::Park;
        for (const Segment2& w : b.walls) lowWall(x, w, park ? Mat::Hedge : Mat::Concrete, park ? 1.5f : 1.0f);
        Rect in{ground.u0 + 6, ground.v0 + 6, ground.u1 - 6, ground.v1 - 6};
        float step = park ? 13.0f : 18.0f;
        for (float v = in.v0; v <= in.v1; v += step)
            for (float u = in.u0; u <= in.u1; u += step) {
                if (park && rng.chance(0.3f)) continue;
                float ju = park ? rng.range(-4, 4) : 0, jv = park ? rng.range(-4, 4) : 0;
                addTree(x.out.trees, c, u + ju, v + jv, rng.range(8, 13), rng.range(6, 9),
                        park && rng.chance(0.3f) ? TreeKind::Conifer : TreeKind::Broadleaf, rng.range(0, 3.1f));
            }
        if (!park) {
            // A monument in the middle of the square.
            float mu = 0.5f * (ground.u0 + ground.u1), mv = 0.5f * (ground.v0 + ground.v1);
            Box bx = makeBox(c, {mu - 3, mv - 3}, {1, 0}, {0, 1}, 0, 6, 0, 6);
            bx.top = bx.yRef + 9;
            boxWalls(x, bx, x.mat[int(Mat::Concrete)], 0, false, x.mat[int(Mat::Concrete)]);
        }
        return;
    }
    case BlockKind::Yard: {
        for (const Segment2& w : b.walls) lowWall(x, w, Mat::Concrete, 2.2f);
        containers(x, {ground.u0 + 4, ground.v0 + 4, ground.u1 - 4, ground.v1 - 4}, rng);
        return;
    }
    default: break;
    }
    if (b.kind == BlockKind::Houses)
        for (const Segment2& w : b.walls) lowWall(x, w, Mat::Hedge, 1.3f);

    if (b.edge) {
        // Only the long building line carries buildings.
        const Segment2* main = &b.walls[0];
        for (const Segment2& w : b.walls)
            if (std::hypot(w.u1 - w.u0, w.v1 - w.v0) > std::hypot(main->u1 - main->u0, main->v1 - main->v0)) main = &w;
        for (const Segment2& w : b.walls)
            if (&w != main && b.kind != BlockKind::Houses) lowWall(x, w, Mat::Concrete, 2.0f);
        float depth = (b.frontSide == North || b.frontSide == South) ? b.inner.depth() : b.inner.width();
        float len = std::hypot(main->u1 - main->u0, main->v1 - main->v0);
        frontage(x, b, *main, 0, len, std::min(depth - 2, 34.0f), rng);
        return;
    }
    // Interior blocks: the north and south lines run the full width, east and west fill between.
    float dN = std::min(styleOf(b.kind).depthMax, b.inner.depth() * 0.5f);
    const Rect& I = b.inner;
    frontage(x, b, b.walls[0], 0, I.width(), dN, rng);
    frontage(x, b, b.walls[2], 0, I.width(), dN, rng);
    float dE = std::min(styleOf(b.kind).depthMax, I.width() * 0.5f);
    if (b.kind == BlockKind::Houses) {
        frontage(x, b, b.walls[1], dN, I.depth() - dN, dE, rng);
        frontage(x, b, b.walls[3], dN, I.depth() - dN, dE, rng);
    } else {
        frontage(x, b, b.walls[1], dN, I.depth() - dN, dE, rng);
        frontage(x, b, b.walls[3], dN, I.depth() - dN, dE, rng);
    }
}

// Street trees along the pavements of leafy blocks.
void streetTrees(Ctx& x, const Block& b) {
    bool leafy = b.kind == BlockKind::Houses || b.kind == BlockKind::Park || b.kind == BlockKind::Apartments ||
                 (x.c.style == CityStyle::Downtown && b.kind == BlockKind::Plaza);
    if (!leafy) return;
    Rng rng(b.seed ^ 0x7a3u);
    for (const Segment2& k : b.kerbs) {
        float len = std::hypot(k.u1 - k.u0, k.v1 - k.v0);
        P2 d{(k.u1 - k.u0) / len, (k.v1 - k.v0) / len};
        P2 n{-d.z, d.x};
        for (float a = 9; a < len - 9; a += rng.range(16, 24)) {
            P2 p = add(add({k.u0, k.v0}, d, a), n, 2.6f);
            TreeKind kind = x.c.style == CityStyle::Harbour && rng.chance(0.5f) ? TreeKind::Palm : TreeKind::Broadleaf;
            addTree(x.out.trees, x.c, p.x, p.z, rng.range(7, 10), rng.range(5, 7), kind, rng.range(0, 3.1f));
        }
    }
}

// Bus shelters at the back of the pavement along busy blocks: a roof on glass walls.
void busShelters(Ctx& x, const Block& b) {
    if (b.edge || !(b.kind == BlockKind::Shops || b.kind == BlockKind::Offices || b.kind == BlockKind::Apartments ||
                    b.kind == BlockKind::Towers))
        return;
    Rng rng(b.seed ^ 0xb05u);
    for (const Segment2& k : b.kerbs) {
        float len = std::hypot(k.u1 - k.u0, k.v1 - k.v0);
        if (len < 70 || !rng.chance(0.35f)) continue;
        P2 d{(k.u1 - k.u0) / len, (k.v1 - k.v0) / len};
        P2 n{-d.z, d.x};
        P2 p{k.u0, k.v0};
        float a = rng.range(22, len - 22);
        float y = x.c.height(p.x + d.x * a, p.z + d.z * a) + kKerbHeight;
        Box roofBox = makeBox(x.c, p, d, n, a - 2.3f, 4.6f, 2.7f, 2.0f);
        roofBox.yb = y + 2.5f;
        roofBox.yRef = roofBox.yb;
        roofBox.top = y + 2.65f;
        boxWalls(x, roofBox, x.mat[int(Mat::Steel)], 0, false, x.mat[int(Mat::Steel)]);
        auto panel = [&](P2 e0, P2 e1) {
            V3 a0 = worldAt(x.c, e0, y + 0.2f), b0 = worldAt(x.c, e1, y + 0.2f), a1 = worldAt(x.c, e0, y + 2.5f), b1 = worldAt(x.c, e1, y + 2.5f);
            float st[8] = {0, 1, 1, 1, 1, 0, 0, 0};
            x.out.glass.quad(a0, b0, b1, a1, st, x.glass);
            float back[8] = {1, 1, 0, 1, 0, 0, 1, 0};
            x.out.glass.quad(b0, a0, a1, b1, back, x.glass);
            addTerrainWall(x.out.collision, x.c, {e0.x, e0.z, e1.x, e1.z}, -0.3f, 2.6f, x.wallCollision, 0);
        };
        P2 back0 = add(add(p, d, a - 2.1f), n, 4.4f), back1 = add(add(p, d, a + 2.1f), n, 4.4f);
        P2 side0 = add(add(p, d, a - 2.1f), n, 2.9f), side1 = add(add(p, d, a + 2.1f), n, 2.9f);
        panel(back1, back0);
        panel(back0, side0);
        panel(side1, back1);
    }
}

}  // namespace

void thinTrees(MeshLayer& trees, size_t maxTriangles, uint32_t seed) {
    size_t total = trees.triangleCount();
    if (total <= maxTriangles) return;
    size_t treeCount = total / 8, keep = maxTriangles / 8;
    // Keep the trees whose rank in a fixed shuffle is below the quota.
    std::vector<std::pair<uint32_t, size_t>> order(treeCount);
    for (size_t i = 0; i < treeCount; ++i) order[i] = {uint32_t(hash2(int(i), 0, seed) * 4294967040.0f), i};
    std::sort(order.begin(), order.end());
    std::vector<char> kept(treeCount, 0);
    for (size_t k = 0; k < keep; ++k) kept[order[k].second] = 1;
    size_t index = 0;
    trees.filter([&](const MeshTri&) { return kept[std::min(treeCount - 1, index++ / 8)] != 0; });
}

void buildBlocks(const City& c, CityMeshes& out) {
    Ctx x{c, out, {}, 0, 0};
    for (int m = 0; m < int(Mat::Count); ++m) x.mat[m] = out.visual.material(visualMaterial(Mat(m)));
    x.wallCollision = out.collision.material(collisionMaterial(Surface::Wall));
    x.glass = out.glass.material({"glass", "", 1.0f});
    for (const Block& b : c.blocks) {
        buildBlock(x, b);
        streetTrees(x, b);
        busShelters(x, b);
    }
    thinTrees(out.trees, 7600, 0x7ee5u + uint32_t(c.map));
    // A dark ground far below everything, so gaps never show the sky.
    float low = 1e9f;
    for (float v = c.zmin; v <= c.zmax; v += 40)
        for (float u = c.xmin; u <= c.xmax; u += 40) low = std::min(low, c.height(u, v));
    float y = low - 3.0f;
    V3 a{c.xmin - 1500, y, c.zmin - 1500}, b{c.xmin - 1500, y, c.zmax + 1500}, cc{c.xmax + 1500, y, c.zmax + 1500},
        d{c.xmax + 1500, y, c.zmin - 1500};
    float st[8] = {0, 0, 0, 60, 60, 60, 60, 0};
    out.visual.quad(a, b, cc, d, st, x.mat[int(Mat::Ground)]);
}

}  // namespace gen::cities
