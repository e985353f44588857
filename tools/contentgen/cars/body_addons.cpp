// Spoilers (drawn with BMP 17) on each body's trunk lid, or its roof's trailing
// edge for the hatchback, and hood and roof scoops (BMP 16) draped over the
// body's own surface. Design 0 of each is the empty "none" model.
#include "cars/body_shape.h"

#include <algorithm>

namespace cars {

namespace {

// BMP 17 (256 x 256): carbon weave in rows 0..128, satin black 128..192, brushed aluminium 192..256.
UvFn wingUv() {
    return [](V3 p, V3 n) {
        if (std::fabs(n.z) > 0.7f)  // endplates
            return UV{clampf(0.5f + p.x * 0.8f, 0.02f, 0.98f), clampf(0.77f + 0.2f * (1 - p.y), 0.76f, 0.98f)};
        return UV{clampf(0.5f + p.z * 0.42f, 0.02f, 0.98f), clampf(0.25f - p.x * 0.4f, 0.02f, 0.48f)};
    };
}
UvFn satinUv() {
    return [](V3 p, V3) { return UV{clampf(0.5f + p.z * 0.4f, 0.02f, 0.98f), clampf(0.625f - p.y * 0.2f, 0.52f, 0.73f)}; };
}

// BMP 16 (256 x 256): satin shell rows 0..128, black mesh 128..192, the duct art of flush scoops 192..256.
UvFn scoopShellUv() {
    return [](V3 p, V3) { return UV{clampf(0.5f + p.z * 0.9f, 0.02f, 0.98f), clampf(0.25f - p.x * 0.25f, 0.02f, 0.48f)}; };
}
UvFn scoopMeshUv() {
    return [](V3 p, V3) { return UV{clampf(0.5f + p.z * 1.1f, 0.02f, 0.98f), clampf(0.625f - p.y * 1.5f, 0.52f, 0.73f)}; };
}

// A downforce wing section: chord c, thickness t, trailing edge at local x = 0, leading edge at +c.
std::vector<std::pair<float, float>> airfoil(float c, float t) {
    return {{0.0f, 0.0f},          {0.25f * c, -0.35f * t}, {0.6f * c, -0.55f * t}, {0.9f * c, -0.4f * t},
            {c, -0.05f * t},       {0.92f * c, 0.35f * t},  {0.6f * c, 0.45f * t},  {0.25f * c, 0.3f * t},
            {0.0f, 0.06f * t}};
}

void wing(Mesh& m, float xTe, float y, float span, float chord, float thick, float pitch) {
    Xform place = Xform::rotateZ(-pitch);  // leading edge down
    place.offset = {xTe, y, 0};
    m.extrude(airfoil(chord, thick), -span, span, wingUv(), wingUv(), place);
}

void endplate(Mesh& m, float x0, float x1, float y0, float y1, float z, float th, float rake = 0.0f) {
    std::vector<std::pair<float, float>> outline = {{x0, y0}, {x1, y0 + rake}, {x1, y1}, {x0 + 0.05f, y1}};
    m.extrude(outline, z - th, z + th, wingUv(), wingUv());
}

void post(Mesh& m, float x, float z, float y0, float y1, float w, float d) {
    m.box({x - d, y0, z - w}, {x + d, y1, z + w}, satinUv());
}

// Lays a part built with y relative to the body surface onto that surface.
void drape(Mesh& m, const BodyShape& shape, size_t from, float sink) {
    for (size_t i = from; i < m.size(); ++i)
        for (V3& p : m.triangles()[i].p) p.y += shape.surfaceY(p.x, p.z) - sink;
}

// A raised scoop: side profile (x, y) extruded across z, the front face in mesh.
void boxScoop(Mesh& m, float x, float z, float len, float h, float halfW, bool meshFront) {
    std::vector<std::pair<float, float>> profile = {
        {x - len * 0.5f, -0.04f}, {x + len * 0.5f, -0.04f}, {x + len * 0.5f, h}, {x + len * 0.3f, h * 1.02f},
        {x - len * 0.1f, h * 0.7f}};
    // extrude builds along z; the profile lies in (x, y)
    Mesh part;
    part.addGroup("scoop", -1);
    UvFn side = [=](V3 p, V3 n) {
        if (meshFront && n.x > 0.8f) return scoopMeshUv()(p - V3{0, 0, z}, n);
        return scoopShellUv()(p - V3{x, 0, z}, n);
    };
    part.extrude(profile, z - halfW, z + halfW, side, scoopShellUv());
    m.append(part);
}

void flushDuct(Mesh& m, float x, float len, float wFront, float wBack) {
    // A thin plate over the surface carrying the duct art (rows 192..256 of BMP 16).
    const int nx = 3;
    for (int i = 0; i < nx; ++i) {
        float t0 = static_cast<float>(i) / nx, t1 = static_cast<float>(i + 1) / nx;
        float xa = x - len * 0.5f + len * t0, xb = x - len * 0.5f + len * t1;
        float wa = lerpf(wBack, wFront, t0), wb = lerpf(wBack, wFront, t1);
        auto uv = [&](float t, float side) { return UV{0.5f + side * 0.45f, 0.76f + 0.22f * (1 - t)}; };
        m.quad({xa, 0.012f, -wa}, {xa, 0.012f, wa}, {xb, 0.012f, wb}, {xb, 0.012f, -wb}, uv(t0, -1), uv(t0, 1),
               uv(t1, 1), uv(t1, -1));
        // the plate's thin rim
        m.quadFacing({xa, -0.01f, wa}, {xb, -0.01f, wb}, {xb, 0.012f, wb}, {xa, 0.012f, wa}, V3{0, 0, 1}, scoopShellUv());
        m.quadFacing({xa, -0.01f, -wa}, {xb, -0.01f, -wb}, {xb, 0.012f, -wb}, {xa, 0.012f, -wa}, V3{0, 0, -1}, scoopShellUv());
    }
}

}  // namespace

Mesh buildSpoiler(const BodyShape& shape, int design) {
    if (design <= 0) return Mesh{};
    Mesh m;
    m.addGroup("spoiler", -1);
    const BodyDesign& s = shape.design();
    float scale = s.roofSpoiler ? 0.4f : 1.0f;
    float x = s.roofSpoiler ? s.roofRear + 0.02f : s.spoilerX;
    float wd = shape.halfWidthAt(x) - 0.15f;
    float base = shape.surfaceY(x, 0.0f);
    switch (design) {
        case 1: {  // ducktail lip across the trailing edge
            const int nz = 8;
            std::vector<std::vector<V3>> rings;
            for (int i = 0; i <= nz; ++i) {
                float z = -wd + 2 * wd * static_cast<float>(i) / nz;
                float yb = shape.surfaceY(x - 0.35f, z), yt = shape.surfaceY(x, z);
                rings.push_back({{x - 0.35f, yb - 0.01f, z}, {x + 0.03f, yt + 0.09f, z}, {x + 0.02f, yt - 0.03f, z}});
            }
            for (int i = 0; i < nz; ++i)
                for (int k = 0; k < 3; ++k) {
                    V3 a = rings[i][k], b = rings[i + 1][k], c = rings[i + 1][(k + 1) % 3], d = rings[i][(k + 1) % 3];
                    V3 mid = (a + c) * 0.5f, cen = (rings[i][0] + rings[i][1] + rings[i][2]) * (1.0f / 3);
                    m.quadFacing(a, b, c, d, mid - cen, satinUv());
                }
            m.polygonFacing(rings.front(), V3{0, 0, -1}, satinUv());
            m.polygonFacing(rings.back(), V3{0, 0, 1}, satinUv());
            break;
        }
        case 2: {  // low wing on two posts
            float h = 0.2f * scale + 0.06f;
            wing(m, x - 0.38f, base + h, wd * 0.9f, 0.34f, 0.05f, 0.1f);
            for (float z : {-0.5f, 0.5f}) post(m, x - 0.22f, z, shape.surfaceY(x - 0.22f, z) - 0.02f, base + h, 0.02f, 0.07f);
            break;
        }
        case 3: {  // high GT wing with endplates on swan necks
            float h = 0.45f * scale + 0.08f;
            float span = std::min(1.08f, wd + 0.15f);
            wing(m, x - 0.42f, base + h, span, 0.42f, 0.06f, 0.14f);
            for (float z : {-span, span}) endplate(m, x - 0.5f, x + 0.08f, base + h - 0.12f, base + h + 0.16f, z, 0.012f);
            for (float z : {-0.42f, 0.42f}) {
                float y0 = shape.surfaceY(x - 0.1f, z) - 0.02f;
                post(m, x - 0.1f, z, y0, base + h + 0.1f, 0.018f, 0.06f);
                m.box({x - 0.32f, base + h + 0.07f, z - 0.018f}, {x - 0.04f, base + h + 0.12f, z + 0.018f}, satinUv());
            }
            break;
        }
        case 4: {  // two-element wing
            float h = 0.32f * scale + 0.07f;
            float span = std::min(1.0f, wd + 0.1f);
            wing(m, x - 0.3f, base + h, span, 0.36f, 0.05f, 0.08f);
            wing(m, x - 0.46f, base + h + 0.1f, span, 0.2f, 0.035f, 0.45f);
            for (float z : {-span, span}) endplate(m, x - 0.52f, x + 0.1f, base + h - 0.1f, base + h + 0.2f, z, 0.012f, 0.04f);
            for (float z : {-0.55f, 0.55f}) post(m, x - 0.18f, z, shape.surfaceY(x - 0.18f, z) - 0.02f, base + h, 0.02f, 0.08f);
            break;
        }
        default: {  // big wing with raked endplates, a gurney and a centre pylon
            float h = 0.55f * scale + 0.08f;
            float span = std::min(1.14f, wd + 0.2f);
            wing(m, x - 0.5f, base + h, span, 0.5f, 0.07f, 0.16f);
            m.box({x - 0.52f, base + h + 0.04f, -span}, {x - 0.5f, base + h + 0.11f, span}, satinUv());
            for (float z : {-span, span}) endplate(m, x - 0.62f, x + 0.12f, base + h - 0.2f, base + h + 0.22f, z, 0.014f, 0.1f);
            for (float z : {-0.32f, 0.32f}) post(m, x - 0.2f, z, shape.surfaceY(x - 0.2f, z) - 0.02f, base + h, 0.03f, 0.11f);
            break;
        }
    }
    return m;
}

Mesh buildHoodScoop(const BodyShape& shape, int design) {
    if (design <= 0) return Mesh{};
    Mesh m;
    m.addGroup("scoop", -1);
    float x = shape.design().hoodScoopX;
    size_t from = m.size();
    switch (design) {
        case 1: flushDuct(m, x, 0.8f, 0.09f, 0.24f); break;
        case 2: boxScoop(m, x, 0, 0.8f, 0.12f, 0.3f, true); break;
        case 3: {  // shaker pod through the hood with a forward snout
            m.cylinder({x, -0.05f, 0}, {x, 0.11f, 0}, 0.27f, 0.25f, 12, false, true, scoopShellUv());
            boxScoop(m, x + 0.05f, 0, 0.42f, 0.2f, 0.17f, true);
            break;
        }
        case 4:
            boxScoop(m, x, -0.32f, 0.55f, 0.08f, 0.12f, true);
            boxScoop(m, x, 0.32f, 0.55f, 0.08f, 0.12f, true);
            break;
        default:
            boxScoop(m, x - 0.05f, 0, 1.05f, 0.17f, 0.42f, true);
            m.box({x + 0.1f, 0.0f, -0.015f}, {x + 0.48f, 0.17f, 0.015f}, scoopShellUv());
            break;
    }
    drape(m, shape, from, 0.0f);
    return m;
}

Mesh buildRoofScoop(const BodyShape& shape, int design) {
    if (design <= 0) return Mesh{};
    Mesh m;
    m.addGroup("scoop", -1);
    float x = shape.design().roofScoopX;
    size_t from = m.size();
    switch (design) {
        case 1: flushDuct(m, x, 0.6f, 0.07f, 0.18f); break;
        case 2: boxScoop(m, x, 0, 0.75f, 0.2f, 0.17f, true); break;
        case 3: {  // shark fin along the centre line
            std::vector<std::pair<float, float>> fin = {{x - 0.55f, -0.03f}, {x + 0.35f, -0.03f}, {x - 0.35f, 0.2f},
                                                        {x - 0.6f, 0.22f}};
            m.extrude(fin, -0.022f, 0.022f, scoopShellUv(), scoopShellUv());
            break;
        }
        case 4:
            boxScoop(m, x, -0.26f, 0.5f, 0.1f, 0.1f, true);
            boxScoop(m, x, 0.26f, 0.5f, 0.1f, 0.1f, true);
            break;
        default:
            boxScoop(m, x, 0, 0.95f, 0.27f, 0.24f, true);
            break;
    }
    drape(m, shape, from, 0.0f);
    return m;
}

}  // namespace cars
