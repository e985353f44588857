// Body kits: front and rear bumpers wrapped around the shell's ends, side skirts
// between the wheel arches, and (from kit 1 on) splitters, canards, diffusers.
// Kit 0 is the stock set, kit 3 the most aggressive. The exhaust tips sit at the
// exhaust points of the particle table for the body model and kit.
#include "cars/body_shape.h"
#include "cars/livery_layout.h"

#include <algorithm>

namespace cars {

namespace {

using livery::Swatch;

struct KitStyle {
    float ext;        // how far the front bumper reaches past the shell
    float side;       // how far bumpers and skirts stand out from the sides
    float drop;       // how far below the floor they reach
    float bulge;      // bumper face bulge
    float skirtOut;   // extra width of the skirt's lower lip
    float pipe;       // exhaust tip radius
};

constexpr KitStyle kStyles[4] = {
    {0.08f, 0.015f, 0.0f, 0.015f, 0.0f, 0.05f},
    {0.11f, 0.025f, 0.03f, 0.025f, 0.015f, 0.06f},
    {0.14f, 0.035f, 0.05f, 0.03f, 0.03f, 0.07f},
    {0.17f, 0.04f, 0.075f, 0.035f, 0.035f, 0.08f},
};

struct PlanPoint {
    float u, z;    // u: distance along the car towards this bumper's end
    float nu, nz;  // outward normal in the plan
};

struct Bumper {
    std::vector<PlanPoint> plan;  // right side, from the wheel arch round to the centre line
    float uFace;                  // the bumper face
    float yBot, yTop;
    float dir;                    // +1 front, -1 rear
    float flatHalf;               // half-width of the flat part of the face
};

Bumper planBumper(const BodyShape& shape, bool front, int kit) {
    const BodyDesign& s = shape.design();
    const KitStyle& st = kStyles[kit];
    Bumper b;
    b.dir = front ? 1.0f : -1.0f;
    float uEnd = front ? s.xf : -s.xr;
    float r = front ? s.noseRound : s.tailRound;
    float ax = front ? frontAxleX(shape.body()) : rearAxleX(shape.body());
    float uAxle = b.dir * ax;
    if (front) {
        b.uFace = uEnd + st.ext;
    } else {
        float ex = kExhaust[shape.body()][kit].x;
        b.uFace = std::max(-ex - 0.03f, uEnd + 0.02f);
    }
    b.yBot = s.floorY - st.drop;
    b.yTop = front ? s.bumperTopF : s.bumperTopR;
    float uc = uEnd - r;
    float w0 = shape.halfWidthAt(b.dir * uc);
    b.flatHalf = w0 - r;
    float uArch = uAxle + s.archRadius + 0.015f;
    for (int i = 0; i < 2; ++i) {
        float u = uArch + (uc - uArch) * static_cast<float>(i) / 2.0f;
        b.plan.push_back({u, shape.halfWidthAt(b.dir * u) + st.side, 0, 1});
    }
    float rx = r + (b.uFace - uEnd), rz = r + st.side;
    for (int k = 0; k <= 4; ++k) {
        float th = static_cast<float>(k) / 4.0f * kPi / 2;
        V3 n = normalized(V3{std::sin(th) / rx, 0, std::cos(th) / rz});
        b.plan.push_back({uc + rx * std::sin(th), (w0 - r) + rz * std::cos(th), n.x, n.z});
    }
    b.plan.push_back({b.uFace, 0, 1, 0});
    return b;
}

// Rows of the bumper face from the bottom up: height fraction and outward offset.
struct Row {
    float v, offset;
};

void addBumper(Mesh& m, const BodyShape& shape, const Bumper& b, int kit) {
    const BodyDesign& s = shape.design();
    const KitStyle& st = kStyles[kit];
    const Row rows[] = {{0.0f, -0.05f}, {0.12f, 0.0f}, {0.5f, st.bulge}, {0.88f, 0.008f}, {1.0f, -0.015f}};
    const int nr = 5;
    float ax = b.dir > 0 ? frontAxleX(shape.body()) : rearAxleX(shape.body());
    float uAxle = b.dir * ax;
    float yc = kWheelY + 0.02f;
    bool front = b.dir > 0;
    auto world = [&](const PlanPoint& p, float y, float off, float u) {
        return V3{b.dir * (u + p.nu * off), y, p.z + p.nz * off};
    };
    for (float side : {1.0f, -1.0f}) {
        std::vector<std::vector<V3>> grid(nr);
        for (int r = 0; r < nr; ++r) {
            float y = b.yBot + rows[r].v * (b.yTop - b.yBot);
            float dy = y - yc;
            float archU = uAxle + (dy > 0 ? std::sqrt(std::max(0.0f, s.archRadius * s.archRadius - dy * dy))
                                           : s.archRadius) + 0.015f;
            for (size_t c = 0; c < b.plan.size(); ++c) {
                const PlanPoint& p = b.plan[c];
                float u = p.u;
                if (c == 0) u = archU;
                V3 w = world(p, y, rows[r].offset, u);
                w.z *= side;
                grid[r].push_back(w);
            }
        }
        auto uvAt = [&](V3 p, bool face) {
            if (face) return front ? livery::nose(p.z, p.y) : livery::tail(p.z, p.y);
            return livery::side(p.x, p.y);
        };
        for (int r = 0; r + 1 < nr; ++r)
            for (size_t c = 0; c + 1 < b.plan.size(); ++c) {
                const PlanPoint& pa = b.plan[c];
                const PlanPoint& pb = b.plan[c + 1];
                V3 n = normalized(V3{b.dir * (pa.nu + pb.nu), 0, side * (pa.nz + pb.nz)});
                if (r == 0) n = normalized(n + V3{0, -1.2f, 0});
                bool face = std::fabs(n.x) > 0.6f;
                V3 p0 = grid[r][c], p1 = grid[r][c + 1], p2 = grid[r + 1][c + 1], p3 = grid[r + 1][c];
                m.quadFacing(p0, p1, p2, p3, uvAt(p0, face), uvAt(p1, face), uvAt(p2, face), uvAt(p3, face), n);
            }
        // Top ledge back to the shell, underside in dark.
        for (size_t c = 0; c + 1 < b.plan.size(); ++c) {
            const PlanPoint& pa = b.plan[c];
            const PlanPoint& pb = b.plan[c + 1];
            V3 t0 = grid[nr - 1][c], t1 = grid[nr - 1][c + 1];
            V3 in0 = t0 - V3{b.dir * pa.nu, 0, side * pa.nz} * 0.12f, in1 = t1 - V3{b.dir * pb.nu, 0, side * pb.nz} * 0.12f;
            m.quadFacing(t0, t1, in1, in0, V3{0, 1, 0}, livery::swatchUv(Swatch::Paint));
            V3 b0 = grid[0][c], b1 = grid[0][c + 1];
            V3 bi0 = b0 - V3{b.dir * pa.nu, 0, side * pa.nz} * 0.35f, bi1 = b1 - V3{b.dir * pb.nu, 0, side * pb.nz} * 0.35f;
            m.quadFacing(b0, b1, bi1, bi0, V3{0, -1, 0}, livery::swatchUv(Swatch::Dark));
        }
        // The end beside the wheel arch.
        {
            std::vector<V3> edge;
            for (int r = 0; r < nr; ++r) edge.push_back(grid[r][0]);
            V3 inner = grid[nr - 1][0] - V3{0, 0, side * 0.12f};
            V3 innerLow = grid[0][0] - V3{0, 0, side * 0.3f};
            edge.push_back(inner);
            edge.push_back(innerLow);
            m.polygonFacing(edge, V3{-b.dir, 0, 0}, livery::swatchUv(Swatch::Dark));
        }
    }
}

// Offset of the bumper face at height y (the face rows interpolated).
float faceOffsetAt(const Bumper& b, float y, int kit) {
    const KitStyle& st = kStyles[kit];
    const Row rows[] = {{0.0f, -0.05f}, {0.12f, 0.0f}, {0.5f, st.bulge}, {0.88f, 0.008f}, {1.0f, -0.015f}};
    float v = (y - b.yBot) / (b.yTop - b.yBot);
    for (int r = 0; r + 1 < 5; ++r)
        if (v >= rows[r].v && v <= rows[r + 1].v)
            return lerpf(rows[r].offset, rows[r + 1].offset, (v - rows[r].v) / (rows[r + 1].v - rows[r].v));
    return 0;
}

// A flat decal (intake, vent) standing just proud of the bumper face.
void faceDecal(Mesh& m, const Bumper& b, int kit, float z0, float z1, float y0, float y1, Swatch sw) {
    z0 = std::max(z0, -b.flatHalf);
    z1 = std::min(z1, b.flatHalf);
    if (z1 - z0 < 0.02f) return;
    const int steps = 3;
    for (int i = 0; i < steps; ++i) {
        float ya = y0 + (y1 - y0) * static_cast<float>(i) / steps, yb = y0 + (y1 - y0) * static_cast<float>(i + 1) / steps;
        float ua = b.uFace + faceOffsetAt(b, ya, kit) + 0.006f, ub = b.uFace + faceOffsetAt(b, yb, kit) + 0.006f;
        V3 p0{b.dir * ua, ya, z0}, p1{b.dir * ua, ya, z1}, p2{b.dir * ub, yb, z1}, p3{b.dir * ub, yb, z0};
        UvFn uv = [&](V3 p, V3) { return livery::swatch(sw, p.z, -p.y, 110.0f); };
        m.quadFacing(p0, p1, p2, p3, V3{b.dir, 0, 0}, uv);
    }
}

void addSplitter(Mesh& m, const Bumper& b, int kit, float reach) {
    UvFn uv = livery::swatchUv(Swatch::Carbon, 50.0f);
    float y = b.yBot - 0.005f;
    for (float side : {1.0f, -1.0f})
        for (size_t c = 2; c + 1 < b.plan.size(); ++c) {
            const PlanPoint& pa = b.plan[c];
            const PlanPoint& pb = b.plan[c + 1];
            auto pt = [&](const PlanPoint& p, float off, float yy) {
                return V3{b.dir * (p.u + p.nu * off), yy, side * (p.z + p.nz * off)};
            };
            V3 na = V3{b.dir * pa.nu, 0, side * pa.nz};
            float ia = -0.3f, oa = reach * (0.4f + 0.6f * std::fabs(pa.nu)), ob = reach * (0.4f + 0.6f * std::fabs(pb.nu));
            V3 i0 = pt(pa, ia, y), i1 = pt(pb, ia, y), o0 = pt(pa, oa - 0.05f, y), o1 = pt(pb, ob - 0.05f, y);
            V3 o0l = o0 - V3{0, 0.025f, 0}, o1l = o1 - V3{0, 0.025f, 0}, i0l = i0 - V3{0, 0.025f, 0}, i1l = i1 - V3{0, 0.025f, 0};
            m.quadFacing(i0, i1, o1, o0, V3{0, 1, 0}, uv);
            m.quadFacing(o0, o1, o1l, o0l, na, uv);
            m.quadFacing(i0l, i1l, o1l, o0l, V3{0, -1, 0}, uv);
            (void)kit;
        }
}

void addCanards(Mesh& m, const Bumper& b, int count) {
    UvFn uv = livery::swatchUv(Swatch::Carbon, 50.0f);
    // Small fins on the bumper corners, sweeping up towards the back.
    const PlanPoint& p = b.plan[4];
    for (float side : {1.0f, -1.0f})
        for (int i = 0; i < count; ++i) {
            float y = b.yBot + (b.yTop - b.yBot) * (0.45f + 0.3f * static_cast<float>(i));
            V3 root{b.dir * (p.u + p.nu * 0.02f), y, side * (p.z + p.nz * 0.02f)};
            V3 out = V3{b.dir * p.nu * 0.05f, 0, side * (p.nz * 0.14f + 0.02f)};
            V3 back{-b.dir * 0.22f, 0.06f, 0};
            V3 a = root, c = root + back, d = root + out + back * 0.35f + V3{0, 0.012f, 0};
            V3 thick{0, 0.012f, 0};
            m.tri(a, c, d, uv);
            m.tri(a + thick, d + thick, c + thick, uv);
            m.tri(a, d, c, uv);
            m.tri(a + thick, c + thick, d + thick, uv);
        }
}

void addDiffuser(Mesh& m, const BodyShape& shape, const Bumper& b, int kit) {
    UvFn uv = livery::swatchUv(Swatch::Carbon, 50.0f);
    V3 ex = kExhaust[shape.body()][kit];
    int fins = 1 + 2 * kit;
    float span = std::min(0.9f, b.flatHalf + 0.2f);
    for (int i = 0; i < fins; ++i) {
        float z = fins == 1 ? 0.0f : -span + 2 * span * static_cast<float>(i) / static_cast<float>(fins - 1);
        if (std::fabs(std::fabs(z) - ex.z) < kStyles[kit].pipe + 0.05f) continue;
        float x0 = -b.uFace + 0.01f, x1 = x0 + 0.55f;
        float h = 0.09f + 0.03f * static_cast<float>(kit);
        float y0 = b.yBot - 0.005f;
        m.box({x0, y0, z - 0.012f}, {x1, y0 + h, z + 0.012f}, uv);
    }
    // a dark panel across the lower tail between the fins
    faceDecal(m, b, kit, -span, span, b.yBot + 0.01f, b.yBot + 0.07f + 0.02f * static_cast<float>(kit), Swatch::Carbon);
}

void addExhausts(Mesh& m, const BodyShape& shape, const Bumper& b, int kit) {
    V3 ex = kExhaust[shape.body()][kit];
    float r = kStyles[kit].pipe;
    UvFn chrome = livery::swatchUv(Swatch::Chrome, 60.0f);
    UvFn dark = livery::swatchUv(Swatch::Dark, 60.0f);
    for (float side : {-1.0f, 1.0f}) {
        V3 tip{ex.x - 0.01f, ex.y, side * ex.z};
        V3 root = tip + V3{0.2f, 0, 0};
        int sides = kit == 3 ? 6 : 8;
        m.cylinder(root, tip, r * 0.9f, r, sides, false, false, chrome);
        // the rolled lip facing back and the dark bore inside
        V3 u{0, 1, 0}, v{0, 0, 1};
        for (int k = 0; k < sides; ++k) {
            float a0 = 2 * kPi * static_cast<float>(k) / static_cast<float>(sides);
            float a1 = 2 * kPi * static_cast<float>(k + 1) / static_cast<float>(sides);
            V3 d0 = u * std::cos(a0) + v * std::sin(a0), d1 = u * std::cos(a1) + v * std::sin(a1);
            m.quadFacing(tip + d0 * r, tip + d1 * r, tip + d1 * (r * 0.78f), tip + d0 * (r * 0.78f), V3{-1, 0, 0}, chrome);
            V3 bore = tip + V3{0.05f, 0, 0};
            m.quadFacing(tip + d0 * (r * 0.78f), tip + d1 * (r * 0.78f), bore + d1 * (r * 0.78f), bore + d0 * (r * 0.78f),
                         -(d0 + d1), dark);
            V3 t0 = bore, t1 = bore + d0 * (r * 0.78f), t2 = bore + d1 * (r * 0.78f);
            if (dot(cross(t1 - t0, t2 - t0), V3{-1, 0, 0}) >= 0) m.tri(t0, t1, t2, dark);
            else m.tri(t0, t2, t1, dark);
        }
        (void)b;
    }
}

void addSkirts(Mesh& m, const BodyShape& shape, int kit) {
    const BodyDesign& s = shape.design();
    const KitStyle& st = kStyles[kit];
    float x0 = rearAxleX(shape.body()) + s.archRadius + 0.02f;
    float x1 = frontAxleX(shape.body()) - s.archRadius - 0.02f;
    float yBot = s.floorY - st.drop;
    const int n = 4;
    for (float side : {1.0f, -1.0f}) {
        std::vector<std::vector<V3>> rings;
        for (int i = 0; i <= n; ++i) {
            float x = x0 + (x1 - x0) * static_cast<float>(i) / n;
            float w = shape.section(x).z[kRocker];
            std::vector<std::pair<float, float>> pts = {{w - 0.05f, s.floorY + 0.12f},
                                                        {w + st.side, s.floorY + 0.05f},
                                                        {w + st.side + st.skirtOut, yBot + 0.035f},
                                                        {w + st.side + st.skirtOut - 0.015f, yBot},
                                                        {w - 0.25f, yBot}};
            std::vector<V3> ring;
            for (auto [z, y] : pts) ring.push_back({x, y, side * z});
            rings.push_back(ring);
        }
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < 4; ++k) {
                V3 a = rings[i][k], b = rings[i + 1][k], c = rings[i + 1][k + 1], d = rings[i][k + 1];
                float dz = std::fabs(d.z) - std::fabs(a.z), dy = d.y - a.y;
                V3 facing{0, dz, side * -dy};
                UvFn uv = k == 3 ? livery::swatchUv(Swatch::Dark)
                                 : UvFn([](V3 p, V3) { return livery::side(p.x, p.y); });
                m.quadFacing(a, b, c, d, facing, uv);
            }
        UvFn darkUv = livery::swatchUv(Swatch::Dark);
        m.polygonFacing(rings.front(), V3{-1, 0, 0}, darkUv);
        m.polygonFacing(rings.back(), V3{1, 0, 0}, darkUv);
        if (kit == 3) {
            // a small blade at the skirt's rear end
            V3 root = rings[1][2];
            UvFn uv = livery::swatchUv(Swatch::Carbon, 50.0f);
            V3 a = root, b = root + V3{-0.3f, 0.0f, 0}, c = root + V3{-0.22f, 0, side * 0.1f};
            V3 t{0, 0.015f, 0};
            m.tri(a, b, c, uv);
            m.tri(a, c, b, uv);
            m.tri(a + t, b + t, c + t, uv);
            m.tri(a + t, c + t, b + t, uv);
        }
    }
}

}  // namespace

Mesh buildBodyKit(const BodyShape& shape, int kit) {
    kit = std::clamp(kit, 0, 3);
    Mesh m;
    m.addGroup("kit", -1);
    Bumper front = planBumper(shape, true, kit);
    Bumper rear = planBumper(shape, false, kit);
    addBumper(m, shape, front, kit);
    addBumper(m, shape, rear, kit);
    // Intakes in the front bumper.
    float mid = front.yBot + 0.08f;
    switch (kit) {
        case 0:
            faceDecal(m, front, kit, -0.38f, 0.38f, mid, mid + 0.1f, Swatch::Slats);
            break;
        case 1:
            faceDecal(m, front, kit, -0.46f, 0.46f, mid - 0.02f, mid + 0.13f, Swatch::Mesh);
            faceDecal(m, front, kit, 0.58f, 0.78f, mid, mid + 0.09f, Swatch::Mesh);
            faceDecal(m, front, kit, -0.78f, -0.58f, mid, mid + 0.09f, Swatch::Mesh);
            break;
        default:
            faceDecal(m, front, kit, -0.55f, 0.55f, mid - 0.03f, mid + 0.17f, Swatch::Mesh);
            faceDecal(m, front, kit, 0.62f, 0.9f, mid - 0.03f, mid + 0.15f, Swatch::Mesh);
            faceDecal(m, front, kit, -0.9f, -0.62f, mid - 0.03f, mid + 0.15f, Swatch::Mesh);
            break;
    }
    if (kit >= 1) addSplitter(m, front, kit, 0.04f + 0.03f * static_cast<float>(kit));
    if (kit >= 2) addCanards(m, front, kit - 1);
    if (kit >= 1) addDiffuser(m, shape, rear, kit);
    else faceDecal(m, rear, kit, -0.5f, 0.5f, rear.yBot + 0.03f, rear.yBot + 0.08f, Swatch::Plastic);
    addExhausts(m, shape, rear, kit);
    addSkirts(m, shape, kit);
    return m;
}

}  // namespace cars
