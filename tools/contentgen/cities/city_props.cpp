// The parts of one circuit: barriers across every street that leaves the
// route (solid in the collision layer, striped with a blinking sign in the
// drawn one), the street lamps along the route with their light triangles.
#include "cities/city_geometry.h"

#include <algorithm>
#include <cmath>

namespace gen::cities {

namespace {

constexpr int kMaxLamps = 200;
constexpr float kLampHeight = 7.5f;   // light above the road
constexpr float kLampSpacing = 22.0f;

struct PropCtx {
    const City& c;
    SlotMeshes& out;
    int barrier, sign, post, head, wall;
    int lampCount = 0;
};

// An upright box in world space, centred on (x, z), axis a (unit, horizontal) and its normal.
void worldBox(MeshLayer& layer, float x, float z, float ax, float az, float halfA, float halfB, float y0, float y1,
              int mat, bool bottom) {
    float bx = -az, bz = ax;
    V3 c[4] = {{x - ax * halfA - bx * halfB, 0, z - az * halfA - bz * halfB},
               {x + ax * halfA - bx * halfB, 0, z + az * halfA - bz * halfB},
               {x + ax * halfA + bx * halfB, 0, z + az * halfA + bz * halfB},
               {x - ax * halfA + bx * halfB, 0, z - az * halfA + bz * halfB}};
    V3 centre{x, 0, z};
    for (int k = 0; k < 4; ++k) {
        V3 p = c[k], q = c[(k + 1) % 4];
        V3 a0{p.x, y0, p.z}, b0{q.x, y0, q.z}, a1{p.x, y1, p.z}, b1{q.x, y1, q.z};
        float st[8] = {0, 1, 1, 1, 1, 0, 0, 0};
        V3 mid = (p + q) * 0.5f;
        V3 n = cross(b0 - a0, a1 - a0);
        if (dot(n, mid - centre) < 0)
            layer.quad(a0, b0, b1, a1, st, mat);
        else
            layer.quad(b0, a0, a1, b1, st, mat);
    }
    float st[8] = {0, 0, 0, 1, 1, 1, 1, 0};
    V3 t[4] = {{c[0].x, y1, c[0].z}, {c[1].x, y1, c[1].z}, {c[2].x, y1, c[2].z}, {c[3].x, y1, c[3].z}};
    V3 n = cross(t[1] - t[0], t[2] - t[0]);
    if (n.y > 0) layer.quad(t[0], t[1], t[2], t[3], st, mat);
    else layer.quad(t[0], t[3], t[2], t[1], st, mat);
    if (bottom) {
        V3 u[4] = {{c[0].x, y0, c[0].z}, {c[1].x, y0, c[1].z}, {c[2].x, y0, c[2].z}, {c[3].x, y0, c[3].z}};
        V3 m = cross(u[1] - u[0], u[2] - u[0]);
        if (m.y < 0) layer.quad(u[0], u[1], u[2], u[3], st, mat);
        else layer.quad(u[0], u[3], u[2], u[1], st, mat);
    }
}

// A street lamp standing on the pavement at grid (u, v); its arm reaches towards (du, dv).
void lamp(PropCtx& x, float u, float v, float du, float dv) {
    if (x.lampCount >= kMaxLamps) return;
    ++x.lampCount;
    const City& c = x.c;
    P2 base = c.toWorld(u, v);
    P2 reach = c.toWorld(u + du * 1.8f, v + dv * 1.8f);
    float ax = reach.x - base.x, az = reach.z - base.z;
    float al = std::hypot(ax, az);
    ax /= al;
    az /= al;
    float ground = c.height(u, v);
    float road = c.height(u + du * 1.8f, v + dv * 1.8f);
    float headY = road + kLampHeight + 0.15f;
    // Pole, an arm reaching over the road, and the glowing underside of the head.
    worldBox(x.out.visual, base.x, base.z, ax, az, 0.18f, 0.18f, ground - 0.2f, headY + 0.3f, x.post, false);
    float armLen = al + 0.55f;
    worldBox(x.out.visual, base.x + ax * armLen * 0.5f, base.z + az * armLen * 0.5f, ax, az, armLen * 0.5f, 0.25f, headY,
             headY + 0.3f, x.post, false);
    V3 h0{reach.x - ax * 0.5f + az * 0.22f, headY - 0.01f, reach.z - az * 0.5f - ax * 0.22f};
    V3 h1{reach.x + ax * 0.5f + az * 0.22f, headY - 0.01f, reach.z + az * 0.5f - ax * 0.22f};
    V3 h2{reach.x + ax * 0.5f - az * 0.22f, headY - 0.01f, reach.z + az * 0.5f + ax * 0.22f};
    V3 h3{reach.x - ax * 0.5f - az * 0.22f, headY - 0.01f, reach.z - az * 0.5f + ax * 0.22f};
    float hs[8] = {0, 0, 1, 0, 1, 1, 0, 1};
    if (cross(h1 - h0, h2 - h0).y < 0) x.out.visual.quad(h0, h1, h2, h3, hs, x.head);
    else x.out.visual.quad(h0, h3, h2, h1, hs, x.head);
    worldBox(x.out.collision, base.x, base.z, ax, az, 0.2f, 0.2f, ground - 0.2f, ground + 4.0f, x.wall, false);
    // The light source: one small triangle whose centre is the lamp's light.
    V3 l{reach.x, road + kLampHeight, reach.z};
    x.out.light.tri({l.x - 0.2f, l.y, l.z - 0.12f}, {l.x + 0.2f, l.y, l.z - 0.12f}, {l.x, l.y, l.z + 0.24f}, 0, 0, 0, 0, 0, 0, 0);
}

void barrier(PropCtx& x, const Segment2& s) {
    const City& c = x.c;
    float len = std::hypot(s.u1 - s.u0, s.v1 - s.v0);
    float du = (s.u1 - s.u0) / len, dv = (s.v1 - s.v0) / len;
    float nu = dv, nv = -du;  // towards the route
    // Jersey barrier: sloped faces on both sides and a flat top, following the ground.
    auto offset = [&](float k) { return Segment2{s.u0 + nu * k, s.v0 + nv * k, s.u1 + nu * k, s.v1 + nv * k}; };
    int n = std::max(1, int(std::ceil(len / kSubdivision)));
    for (int k = 0; k < n; ++k) {
        float t0 = float(k) / float(n), t1 = float(k + 1) / float(n);
        auto at = [&](float t, float off, float lift) {
            float u = s.u0 + (s.u1 - s.u0) * t + nu * off, v = s.v0 + (s.v1 - s.v0) * t + nv * off;
            return c.at(u, v, lift);
        };
        float sa = len * t0 / 3.0f, sb = len * t1 / 3.0f;
        // Front (route side), top, back.
        float st[8] = {sb, 1, sa, 1, sa, 0.25f, sb, 0.25f};
        x.out.visual.quad(at(t1, 0.45f, -0.3f), at(t0, 0.45f, -0.3f), at(t0, 0.15f, 1.15f), at(t1, 0.15f, 1.15f), st, x.barrier);
        float top[8] = {sb, 0.25f, sa, 0.25f, sa, 0.15f, sb, 0.15f};
        x.out.visual.quad(at(t1, 0.15f, 1.15f), at(t0, 0.15f, 1.15f), at(t0, -0.15f, 1.15f), at(t1, -0.15f, 1.15f), top, x.barrier);
        float back[8] = {sa, 1, sb, 1, sb, 0.25f, sa, 0.25f};
        x.out.visual.quad(at(t0, -0.45f, -0.3f), at(t1, -0.45f, -0.3f), at(t1, -0.15f, 1.15f), at(t0, -0.15f, 1.15f), back, x.barrier);
    }
    // End caps are hidden in the building lines; the warning sign stands in the middle.
    float mu = 0.5f * (s.u0 + s.u1), mv = 0.5f * (s.v0 + s.v1);
    float half = std::min(3.2f, len * 0.3f);
    float y0 = c.height(mu, mv) + 1.25f, y1 = y0 + half * 0.45f;
    V3 p0 = c.at(mu + du * half + nu * 0.2f, mv + dv * half + nv * 0.2f, 0);
    V3 p1 = c.at(mu - du * half + nu * 0.2f, mv - dv * half + nv * 0.2f, 0);
    float st[8] = {0, 1, 1, 1, 1, 0.5f, 0, 0.5f};
    x.out.visual.quad({p0.x, y0, p0.z}, {p1.x, y0, p1.z}, {p1.x, y1, p1.z}, {p0.x, y1, p0.z}, st, x.sign);
    for (float side : {-1.0f, 1.0f}) {
        P2 w = c.toWorld(mu + du * half * 0.8f * side, mv + dv * half * 0.8f * side);
        worldBox(x.out.visual, w.x, w.z, du, dv, 0.06f, 0.06f, y0 - 1.3f, y0 + 0.05f, x.post, false);
    }
    // Solid and higher than it looks, so no car climbs over it.
    addTerrainWall(x.out.collision, c, offset(0.0f), -0.5f, 3.5f, x.wall, 0);
}

}  // namespace

void addCircuitProps(const City& c, const Circuit& ci, SlotMeshes& out) {
    PropCtx x{c, out, 0, 0, 0, 0, 0};
    x.barrier = out.visual.material(visualMaterial(Mat::Barrier));
    x.sign = out.visual.material(visualMaterial(Mat::BarrierSign));
    x.post = out.visual.material(visualMaterial(Mat::LampPost));
    x.head = out.visual.material(visualMaterial(Mat::LampHead));
    x.wall = out.collision.material(collisionMaterial(Surface::Wall));
    out.light.material({"light", "", 1.0f});
    for (const Segment2& s : ci.barriers) barrier(x, s);

    // One lamp behind each barrier lights the closed street beyond it.
    for (const Segment2& s : ci.barriers) {
        float len = std::hypot(s.u1 - s.u0, s.v1 - s.v0);
        float du = (s.u1 - s.u0) / len, dv = (s.v1 - s.v0) / len;
        float nu = dv, nv = -du;  // towards the route; the closed street lies the other way
        float u = s.u0 - nu * 14 + du * (kPavementWidth - 0.9f), v = s.v0 - nv * 14 + dv * (kPavementWidth - 0.9f);
        lamp(x, u, v, du, dv);
    }

    // Lamps along the route, alternating sides, clear of the crossings.
    int side = 1;
    for (const RouteEdge& e : ci.edges) {
        float u0 = c.U[size_t(e.from.i)], v0 = c.V[size_t(e.from.j)];
        float u1 = c.U[size_t(e.to.i)], v1 = c.V[size_t(e.to.j)];
        float len = std::hypot(u1 - u0, v1 - v0);
        float du = (u1 - u0) / len, dv = (v1 - v0) / len;
        bool alongU = e.from.j == e.to.j;
        float cross0 = alongU ? c.wU[size_t(e.from.i)] : c.wV[size_t(e.from.j)];
        float cross1 = alongU ? c.wU[size_t(e.to.i)] : c.wV[size_t(e.to.j)];
        float a0 = cross0 + 6, a1 = len - cross1 - 6;
        if (a1 <= a0) continue;
        int count = std::max(1, int(std::floor((a1 - a0) / kLampSpacing)) + 1);
        float step = count > 1 ? (a1 - a0) / float(count - 1) : 0;
        for (int k = 0; k < count; ++k) {
            float a = count > 1 ? a0 + step * float(k) : 0.5f * (a0 + a1);
            float nu = -dv * float(side), nv = du * float(side);
            float off = e.halfWidth + 0.9f;
            lamp(x, u0 + du * a + nu * off, v0 + dv * a + nv * off, -nu, -nv);
            side = -side;
        }
    }
}

}  // namespace gen::cities
