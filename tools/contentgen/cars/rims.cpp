#include "cars/rims.h"

#include "cars/car_frame.h"
#include "noise.h"

#include <algorithm>

namespace cars {

namespace {

constexpr float kTex = 512.0f;
constexpr int kSegments = 16;
const std::string kWheelTexture = "base/textures/tex12.tga";

// Cell of a rim design in TGA 12 (128 px squares, four to a row).
UV rimCell(int design, float x, float y) {
    float cx = 64.0f + static_cast<float>(design % 4) * 128.0f, cy = 64.0f + static_cast<float>(design / 4) * 128.0f;
    float k = 60.0f / 0.34f;
    return {(cx + clampf(x * k, -62, 62)) / kTex, (cy - clampf(y * k, -62, 62)) / kTex};
}

UV shadeCell(int cell, float x, float y) {  // row 256..384: 0 barrel, 1 brake disc, 2 caliper, 3 city hubcap
    float cx = 64.0f + static_cast<float>(cell) * 128.0f, cy = 320.0f;
    float k = 60.0f / 0.34f;
    return {(cx + clampf(x * k, -62, 62)) / kTex, (cy - clampf(y * k, -62, 62)) / kTex};
}

UvFn rimUv(int design) {
    return [design](V3 p, V3) { return rimCell(design, p.x, p.y); };
}
UvFn shadeUv(int cell) {
    return [cell](V3 p, V3) { return shadeCell(cell, p.x, p.y); };
}

V3 polar(float r, float a, float z) { return {r * std::cos(a), r * std::sin(a), z}; }

// One tapered spoke from the hub to the rim at angle a (radians), top face at zf.
void spoke(Mesh& m, float a, float aRim, float r0, float r1, float w0, float w1, float zf, float depth,
           const UvFn& uv, float dish = 0.03f) {
    V3 d0{std::cos(a), std::sin(a), 0}, d1{std::cos(aRim), std::sin(aRim), 0};
    V3 s0{-d0.y, d0.x, 0}, s1{-d1.y, d1.x, 0};
    V3 c0 = d0 * r0 + V3{0, 0, zf + dish}, c1 = d1 * r1 + V3{0, 0, zf};
    V3 a0 = c0 - s0 * w0, b0 = c0 + s0 * w0, a1 = c1 - s1 * w1, b1 = c1 + s1 * w1;
    V3 down{0, 0, -depth};
    m.quad(a0, a1, b1, b0, uv);              // top, facing +z
    m.quad(a0 + down, a1 + down, a1, a0, uv);  // side
    m.quad(b0, b1, b1 + down, b0 + down, uv);  // other side
}

struct RimStyle {
    float faceZ;     // depth of the spoke face
    float lipInner;  // inner radius of the polished lip
};

void addRimBase(Mesh& m, int design, const RimStyle& st) {
    UvFn lip = [design](V3 p, V3) {
        float a = std::atan2(p.y, p.x);
        return rimCell(design, 0.33f * std::cos(a), 0.33f * std::sin(a));
    };
    // Lip on the outer face and the barrel behind the spokes.
    lathe(m, {{0.335f, 0.204f}, {0.33f, 0.219f}, {st.lipInner, 0.219f}, {st.lipInner - 0.01f, st.faceZ + 0.01f}}, kSegments,
          lip, {});
    lathe(m, {{st.lipInner - 0.01f, st.faceZ + 0.01f}, {0.3f, -0.19f}}, kSegments, shadeUv(0), {});
    // Brake disc and caliper behind the spokes.
    size_t start = m.size();
    for (int k = 0; k < 12; ++k) {
        float a0 = 2 * kPi * static_cast<float>(k) / 12, a1 = 2 * kPi * static_cast<float>(k + 1) / 12;
        m.tri({0, 0, -0.06f}, polar(0.255f, a0, -0.06f), polar(0.255f, a1, -0.06f), shadeUv(1));
    }
    (void)start;
    Xform cal = Xform::rotateZ(0.35f);
    m.box({0.17f, -0.08f, -0.1f}, {0.285f, 0.08f, -0.02f}, shadeUv(2), cal);
}

void addHub(Mesh& m, int design, float z, float r, int sides, float height) {
    m.cylinder({0, 0, z - 0.05f}, {0, 0, z + height}, r, r * 0.85f, sides, false, true, rimUv(design));
}

}  // namespace

void lathe(Mesh& m, const std::vector<std::pair<float, float>>& profile, int segments, const UvFn& uv,
           const std::function<V3(V3)>& hint, float phase) {
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        auto [r0, z0] = profile[i];
        auto [r1, z1] = profile[i + 1];
        // Normal in the (r, z) plane for a profile that runs outside-in over the face.
        float nr = z1 - z0, nz = -(r1 - r0);
        for (int k = 0; k < segments; ++k) {
            float a0 = phase + 2 * kPi * static_cast<float>(k) / static_cast<float>(segments);
            float a1 = phase + 2 * kPi * static_cast<float>(k + 1) / static_cast<float>(segments);
            V3 p00 = polar(r0, a0, z0), p01 = polar(r0, a1, z0), p10 = polar(r1, a0, z1), p11 = polar(r1, a1, z1);
            float am = 0.5f * (a0 + a1);
            V3 want = hint ? hint(polar(0.5f * (r0 + r1), am, 0.5f * (z0 + z1)))
                           : V3{nr * std::cos(am), nr * std::sin(am), nz};
            V3 got = cross(p10 - p00, p11 - p00);
            if (length(got) < 1e-12f) got = cross(p11 - p00, p01 - p00);
            if (dot(got, want) >= 0) m.quad(p00, p10, p11, p01, uv);
            else m.quad(p00, p01, p11, p10, uv);
        }
    }
}

namespace {

void addTyreMesh(Mesh& m, int segments = kSegments) {
    std::vector<std::pair<float, float>> profile = {{0.30f, -0.205f}, {0.40f, -0.228f}, {0.447f, -0.214f},
                                                    {0.46f, -0.17f},  {0.46f, 0.17f},   {0.447f, 0.214f},
                                                    {0.40f, 0.228f},  {0.315f, 0.206f}};
    static const float rows[] = {386, 408, 430, 444, 508, 430, 408, 386};
    for (size_t i = 0; i + 1 < profile.size(); ++i) {
        auto [r0, z0] = profile[i];
        auto [r1, z1] = profile[i + 1];
        float nr = z1 - z0, nz = -(r1 - r0);
        for (int k = 0; k < segments; ++k) {
            float f0 = static_cast<float>(k) / static_cast<float>(segments), f1 = static_cast<float>(k + 1) / static_cast<float>(segments);
            float a0 = 2 * kPi * f0, a1 = 2 * kPi * f1;
            V3 p00 = polar(r0, a0, z0), p01 = polar(r0, a1, z0), p10 = polar(r1, a0, z1), p11 = polar(r1, a1, z1);
            UV u00{f0 * 3, rows[i] / kTex}, u01{f1 * 3, rows[i] / kTex}, u10{f0 * 3, rows[i + 1] / kTex},
                u11{f1 * 3, rows[i + 1] / kTex};
            float am = 0.5f * (a0 + a1);
            V3 want{nr * std::cos(am), nr * std::sin(am), nz};
            if (dot(cross(p10 - p00, p11 - p00), want) >= 0) m.quad(p00, p10, p11, p01, u00, u10, u11, u01);
            else m.quad(p00, p01, p11, p10, u00, u01, u11, u10);
        }
    }
}

}  // namespace

Mesh buildRaceWheel(int design) {
    Mesh m;
    m.addMaterial(texturedMaterial("wheel", kWheelTexture, 0.6f));
    m.addGroup("wheel", 0);
    addTyreMesh(m);
    UvFn uv = rimUv(design);
    switch (design) {
        case 0: {  // five-spoke star
            RimStyle st{0.17f, 0.3f};
            addRimBase(m, design, st);
            for (int i = 0; i < 5; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 5 + kPi / 2;
                spoke(m, a, a, 0.07f, 0.3f, 0.05f, 0.04f, st.faceZ, 0.05f, uv);
            }
            addHub(m, design, st.faceZ + 0.02f, 0.085f, 10, 0.025f);
            break;
        }
        case 1: {  // cross-laced mesh
            RimStyle st{0.13f, 0.29f};
            addRimBase(m, design, st);
            for (int i = 0; i < 10; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 10;
                spoke(m, a, a + 0.42f, 0.08f, 0.285f, 0.014f, 0.012f, st.faceZ, 0.03f, uv, 0.03f);
                spoke(m, a, a - 0.42f, 0.08f, 0.285f, 0.014f, 0.012f, st.faceZ - 0.012f, 0.03f, uv, 0.03f);
            }
            addHub(m, design, st.faceZ + 0.03f, 0.09f, 12, 0.02f);
            break;
        }
        case 2: {  // deep dish, six short spokes
            RimStyle st{0.04f, 0.22f};
            addRimBase(m, design, st);
            for (int i = 0; i < 6; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 6;
                spoke(m, a, a, 0.07f, 0.215f, 0.03f, 0.045f, st.faceZ, 0.04f, uv, 0.01f);
            }
            addHub(m, design, st.faceZ + 0.01f, 0.08f, 8, 0.04f);
            break;
        }
        case 3: {  // turbine: curved blades
            RimStyle st{0.15f, 0.3f};
            addRimBase(m, design, st);
            for (int i = 0; i < 12; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 12;
                float r[3] = {0.08f, 0.19f, 0.295f};
                float twist[3] = {0.0f, 0.22f, 0.55f};
                for (int s = 0; s < 2; ++s)
                    spoke(m, a + twist[s], a + twist[s + 1], r[s], r[s + 1], 0.018f + 0.008f * s, 0.026f + 0.008f * s,
                          st.faceZ + (s == 0 ? 0.015f : 0.0f), 0.04f, uv, s == 0 ? 0.02f : 0.015f);
            }
            addHub(m, design, st.faceZ + 0.035f, 0.085f, 12, 0.02f);
            break;
        }
        case 4: {  // seven split (twin) spokes
            RimStyle st{0.16f, 0.3f};
            addRimBase(m, design, st);
            for (int i = 0; i < 7; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 7;
                spoke(m, a, a - 0.12f, 0.08f, 0.3f, 0.028f, 0.018f, st.faceZ, 0.05f, uv);
                spoke(m, a, a + 0.12f, 0.08f, 0.3f, 0.028f, 0.018f, st.faceZ, 0.05f, uv);
            }
            addHub(m, design, st.faceZ + 0.025f, 0.09f, 7, 0.025f);
            break;
        }
        case 5: {  // three wide blades
            RimStyle st{0.175f, 0.3f};
            addRimBase(m, design, st);
            for (int i = 0; i < 3; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 3 + kPi / 2;
                spoke(m, a, a + 0.15f, 0.07f, 0.3f, 0.07f, 0.11f, st.faceZ, 0.05f, uv, 0.025f);
            }
            addHub(m, design, st.faceZ + 0.025f, 0.1f, 9, 0.02f);
            break;
        }
        case 6: {  // aero disc with vents painted into its cell
            RimStyle st{0.18f, 0.3f};
            addRimBase(m, design, st);
            lathe(m, {{0.295f, st.faceZ + 0.01f}, {0.2f, st.faceZ + 0.025f}, {0.1f, st.faceZ + 0.035f}}, 16, uv, {});
            addHub(m, design, st.faceZ + 0.035f, 0.1f, 12, 0.015f);
            break;
        }
        default: {  // ten slim spokes and a centre-lock nut
            RimStyle st{0.15f, 0.31f};
            addRimBase(m, design, st);
            for (int i = 0; i < 10; ++i) {
                float a = 2 * kPi * static_cast<float>(i) / 10;
                spoke(m, a, a, 0.1f, 0.305f, 0.022f, 0.016f, st.faceZ, 0.04f, uv, 0.035f);
            }
            addHub(m, design, st.faceZ + 0.035f, 0.11f, 12, 0.02f);
            m.cylinder({0, 0, st.faceZ + 0.05f}, {0, 0, st.faceZ + 0.1f}, 0.06f, 0.05f, 6, false, true,
                       shadeUv(2));
            break;
        }
    }
    return m;
}

Mesh buildCityWheel() {
    Mesh m;
    m.addMaterial(texturedMaterial("wheel", kWheelTexture, 0.3f));
    m.addGroup("wheel", 0);
    addTyreMesh(m, 12);
    // A pressed steel wheel under a shallow hubcap.
    lathe(m, {{0.32f, 0.205f}, {0.22f, 0.175f}, {0.08f, 0.185f}, {0.0f, 0.19f}}, 12, shadeUv(3), {});
    return m;
}

gen::Raster wheelTexture() {
    using gen::Color;
    gen::Raster img(512, 512, gen::rgb(0x1a1b1e));
    struct Metal {
        uint32_t face, lip, accent;
    };
    static const Metal metals[kRimDesigns] = {
        {0xc4c8ce, 0xe8ebef, 0x9aa0a8}, {0xc8a048, 0xe4e6ea, 0x8c6a28}, {0x1c1d21, 0xe6e9ee, 0x3a3c42},
        {0x5c6168, 0x9aa0a8, 0x3a3e44}, {0x8e6c3c, 0xb0905c, 0x5a4224}, {0xeeeeee, 0xffffff, 0xb8b8b8},
        {0x26282c, 0xa8acb2, 0x111214}, {0x3b3e43, 0xd02020, 0x1e2024},
    };
    for (int d = 0; d < kRimDesigns; ++d) {
        float cx = 64.0f + static_cast<float>(d % 4) * 128.0f, cy = 64.0f + static_cast<float>(d / 4) * 128.0f;
        const Metal& mt = metals[d];
        float k = 60.0f / 0.34f;
        img.shade(static_cast<int>(cx - 64), static_cast<int>(cy - 64), static_cast<int>(cx + 64),
                  static_cast<int>(cy + 64), [&](float x, float y) {
                      float dx = x - cx, dy = y - cy;
                      float r = std::sqrt(dx * dx + dy * dy) / k;  // in wheel units
                      float a = std::atan2(dy, dx);
                      Color base = gen::rgb(mt.face);
                      // brushed sheen that turns with the angle
                      float sheen = 0.85f + 0.25f * std::cos(2 * a + 0.6f);
                      Color c = gen::scaled(base, sheen);
                      if (r > 0.3f) c = gen::scaled(gen::rgb(mt.lip), 0.9f + 0.15f * std::cos(2 * a));
                      if (d == 2 && r > 0.21f) c = gen::scaled(gen::rgb(mt.lip), 0.9f + 0.2f * std::cos(2 * a));
                      if (d == 7 && r > 0.3f && r < 0.318f) c = gen::rgb(0xd02020);
                      if (d == 6) {
                          for (int v = 0; v < 8; ++v) {
                              float va = 2 * kPi * static_cast<float>(v) / 8;
                              float vx = dx / k - 0.2f * std::cos(va), vy = dy / k - 0.2f * std::sin(va);
                              if (vx * vx + vy * vy < 0.045f * 0.045f) c = gen::rgb(0x08090a);
                          }
                          if (r > 0.26f && r < 0.275f) c = gen::rgb(mt.lip);
                      }
                      if (r < 0.1f) c = gen::scaled(gen::rgb(mt.accent), 0.9f + 0.3f * (0.1f - r) * 10);
                      if (r < 0.04f) c = gen::rgb(0x101012);
                      if (r < 0.025f) c = gen::rgb(0xd8d8d8);
                      // five lug nuts around the hub
                      for (int l = 0; l < 5; ++l) {
                          float la = 2 * kPi * static_cast<float>(l) / 5;
                          float lx = dx / k - 0.065f * std::cos(la), ly = dy / k - 0.065f * std::sin(la);
                          if (lx * lx + ly * ly < 0.012f * 0.012f) c = gen::rgb(0xb0b4ba);
                      }
                      return c;
                  },
                  gen::Blend::Replace);
    }
    // Barrel, brake disc, caliper and the city hubcap in rows 256..384.
    img.fillRect(0, 256, 128, 384, gen::rgb(0x2a2c30), gen::Blend::Replace);
    img.shade(128, 256, 256, 384, [](float x, float y) {
        float dx = x - 192, dy = y - 320, r = std::sqrt(dx * dx + dy * dy);
        Color c = gen::rgb(0x6a6e74);
        if (r < 24) c = gen::rgb(0x303236);
        float grooves = std::fmod(std::atan2(dy, dx) * 6 / kPi + 12.0f, 1.0f);
        if (r > 28 && grooves < 0.08f) c = gen::rgb(0x45484d);
        return c;
    }, gen::Blend::Replace);
    img.fillRect(256, 256, 384, 384, gen::rgb(0xc41a14), gen::Blend::Replace);
    img.shade(384, 256, 512, 384, [](float x, float y) {
        float dx = x - 448, dy = y - 320, r = std::sqrt(dx * dx + dy * dy) / (60.0f / 0.34f);
        Color c = gen::scaled(gen::rgb(0xb8bcc2), 0.9f + 0.1f * std::cos(std::atan2(dy, dx) * 2));
        if (r > 0.2f && r < 0.29f) c = gen::rgb(0x8a8e94);
        for (int h = 0; h < 6; ++h) {
            float ha = 2 * kPi * static_cast<float>(h) / 6;
            float hx = dx / (60.0f / 0.34f) - 0.15f * std::cos(ha), hy = dy / (60.0f / 0.34f) - 0.15f * std::sin(ha);
            if (hx * hx + hy * hy < 0.03f * 0.03f) c = gen::rgb(0x202224);
        }
        if (r < 0.06f) c = gen::rgb(0x505458);
        return c;
    }, gen::Blend::Replace);
    // Alpha is how strongly a texel reflects (RefInt x alpha in the Light
    // program): polished rim faces and lips most, the barrel, disc and caliper
    // a little, rubber hardly at all.
    for (int y = 0; y < 384; ++y) {
        for (int x = 0; x < 512; ++x) {
            Color& c = img.at(x, y);
            const float shine = y < 256 ? 0.25f + 0.45f * std::clamp((c.r + c.g + c.b) / 3.0f, 0.0f, 1.0f)
                                        : (x >= 384 ? 0.45f : 0.2f);
            c.a = shine;
        }
    }
    // Tyre: sidewall rows 384..432, tread 440..512 (blocks across, repeating).
    img.shade(0, 384, 512, 512, [](float x, float y) {
        Color c = gen::rgb(0x17181a);
        if (y < 432) {
            if (y > 400 && y < 404) c = gen::rgb(0x222326);
            float lettering = std::fmod(x, 170.0f);
            if (y > 412 && y < 422 && lettering > 20 && lettering < 80 && std::fmod(x, 9.0f) < 5.0f) c = gen::rgb(0x2e2f33);
        } else if (y >= 440) {
            float u = std::fmod(x, 16.0f), v = std::fabs(y - 476.0f);
            bool groove = (v > 6 && v < 10) || (v > 24 && v < 27) || (u < 2.5f && v > 10);
            c = groove ? gen::rgb(0x0b0b0c) : gen::rgb(0x1d1e21);
        }
        c.a = 0.04f;
        return c;
    }, gen::Blend::Replace);
    return img;
}

}  // namespace cars
