#include "cars/city_cars.h"

#include "cars/body_shape.h"
#include "cars/car_frame.h"
#include "font.h"

#include <algorithm>

namespace cars {

namespace {

using gen::Color;

// Texture layout (512 x 512): side elevation rows 0..176 (nose left), top view 176..352,
// nose face 352..480 left half and tail face right half, lamp cells 480..512.
constexpr float kT = 512.0f;
float colOf(float x) { return clampf((3.1f - x) / 6.2f * kT, 1, kT - 1); }
float sideRowOf(float y) { return clampf((1.6f - y) / 2.55f * 176.0f, 1, 175); }
float topRowOf(float arc) { return clampf(264.0f - arc * 52.0f, 177, 351); }
float faceRowOf(float y) { return clampf(352.0f + (1.6f - y) / 2.55f * 128.0f, 353, 479); }
float noseColOf(float z) { return clampf(128.0f - z * 100.0f, 1, 255); }
float tailColOf(float z) { return clampf(384.0f + z * 100.0f, 257, 511); }
UV px(float x, float y) { return {x / kT, y / kT}; }

enum class LampCell { Head, Tail, Amber, Sign };
UV lampUv(LampCell c, float u, float v) {  // u, v in 0..1 over the cell
    float x0 = 0, w = 64;
    switch (c) {
        case LampCell::Head: x0 = 0; break;
        case LampCell::Tail: x0 = 64; break;
        case LampCell::Amber: x0 = 128; break;
        case LampCell::Sign: x0 = 192, w = 256; break;
    }
    return px(x0 + 2 + clampf(u, 0, 1) * (w - 4), 482 + clampf(v, 0, 1) * 28);
}

struct CityLook {
    uint32_t paint;
    bool sign = false;      // taxi roof sign
    bool tonneau = false;   // pickup bed cover
    bool cargo = false;     // van: windows on the cab only
    float windowRear = -9;  // side windows end here (x)
};

BodyDesign citySpec(int model, CityLook& look) {
    BodyDesign s;
    s.wheelY = kCityWheelY;
    s.frontAxle = trafficFrontX(model);
    s.rearAxle = trafficRearX(model);
    s.archRadius = 0.56f;
    s.stationStep = 0.62f;
    s.archSteps = 3;
    s.windowStations = false;
    s.underside = false;
    s.floorY = -0.62f;
    s.halfWidth = 1.12f;
    s.doors = 4;
    s.crown = Profile({{-3.0f, 0.04f}, {3.0f, 0.04f}});
    s.bumperTopF = -0.25f, s.bumperTopR = -0.2f;
    switch (model) {
        case 0:  // taxi: a saloon with a roof sign
        case 4:  // saloon
            s.name = model == 0 ? "taxi" : "saloon";
            s.xf = 2.92f, s.xr = -2.92f;
            s.noseRound = 0.35f, s.tailRound = 0.3f;
            s.belt = Profile({{2.92f, 0.05f}, {2.0f, 0.18f}, {0.8f, 0.22f}, {-1.0f, 0.27f}, {-2.92f, 0.28f}});
            s.cabinFront = 0.85f, s.roofFront = 0.0f, s.roofRear = -1.35f, s.cabinRear = -1.95f;
            s.roofKeys = {{0.0f, 0.86f}, {-1.35f, 0.85f}};
            s.bPillarX = -0.68f;
            look.paint = model == 0 ? 0xf2c21a : 0x1f5a3a;
            look.sign = model == 0;
            if (model == 4) s.roofKeys = {{-0.05f, 0.84f}, {-1.5f, 0.82f}}, s.roofRear = -1.5f, s.cabinRear = -2.05f;
            break;
        case 1:  // van
            s.name = "van";
            s.xf = 2.98f, s.xr = -2.95f;
            s.halfWidth = 1.16f;
            s.noseRound = 0.3f, s.tailRound = 0.12f;
            s.belt = Profile({{2.98f, 0.1f}, {2.3f, 0.28f}, {1.6f, 0.32f}, {-2.95f, 0.36f}});
            s.cabinFront = 1.75f, s.roofFront = 0.95f, s.roofRear = -2.75f, s.cabinRear = -2.93f;
            s.roofKeys = {{0.95f, 1.42f}, {-2.75f, 1.42f}};
            s.tumble = 0.93f, s.roofCrown = 0.04f;
            s.bPillarX = 0.55f;
            look.paint = 0xe8e8e4;
            look.cargo = true;
            look.windowRear = 0.3f;
            break;
        case 2:  // small hatch
            s.name = "small hatch";
            s.xf = 2.9f, s.xr = -2.35f;
            s.halfWidth = 1.07f;
            s.noseRound = 0.45f, s.tailRound = 0.3f;
            s.belt = Profile({{2.9f, 0.05f}, {2.0f, 0.2f}, {0.8f, 0.26f}, {-2.35f, 0.33f}});
            s.cabinFront = 0.95f, s.roofFront = 0.1f, s.roofRear = -1.6f, s.cabinRear = -2.3f;
            s.roofKeys = {{0.1f, 0.92f}, {-1.6f, 0.88f}};
            s.doors = 2, s.bPillarX = -0.7f;
            look.paint = 0xc8282a;
            break;
        default:  // pickup with a covered bed
            s.name = "pickup";
            s.xf = 2.98f, s.xr = -2.95f;
            s.halfWidth = 1.15f;
            s.floorY = -0.56f;
            s.noseRound = 0.2f, s.tailRound = 0.1f;
            s.archRadius = 0.58f;
            s.belt = Profile({{2.98f, 0.16f}, {2.0f, 0.3f}, {-2.95f, 0.36f}});
            s.crown = Profile({{-3.0f, 0.02f}, {3.0f, 0.05f}});
            s.cabinFront = 0.85f, s.roofFront = 0.15f, s.roofRear = -0.55f, s.cabinRear = -0.64f;
            s.roofKeys = {{0.15f, 1.05f}, {-0.55f, 1.05f}};
            s.tumble = 0.88f;
            s.doors = 2, s.bPillarX = -0.9f;
            look.paint = 0x2a5298;
            look.tonneau = true;
            break;
    }
    return s;
}

gen::Raster paintTexture(const BodyShape& shape, const CityLook& look) {
    const BodyDesign& s = shape.design();
    gen::Raster img(512, 512, gen::rgb(look.paint));
    Color glass{0.07f, 0.09f, 0.12f, 1}, dark{0.04f, 0.04f, 0.045f, 1}, plastic{0.16f, 0.16f, 0.17f, 1};
    Color line{0.0f, 0.0f, 0.0f, 0.6f};
    // Side elevation: windows by columns, sills, bumpers, door cuts.
    float winFront = shape.sideWindowFront(), winRear = std::max(shape.sideWindowRear(), look.windowRear);
    for (int c = 0; c < 512; ++c) {
        float x = 3.1f - (static_cast<float>(c) + 0.5f) / kT * 6.2f;
        Section sec = shape.section(std::clamp(x, s.xr, s.xf));
        if (sec.green > 0.1f && x < winFront && x > winRear && std::fabs(x - s.bPillarX) > 0.06f)
            img.fillRect(static_cast<float>(c), sideRowOf(sec.y[kRoofEdge] - 0.03f), static_cast<float>(c + 1),
                         sideRowOf(sec.y[kGreenBase] + 0.03f), glass, gen::Blend::Replace);
        // windscreen and rear glass in the top view
        bool screen = shape.inWindscreen(x) || shape.inRearWindow(x);
        if (screen && sec.green > 0.03f) {
            float arc = 0;
            for (int k = kTopCentre; k > kRoofInner; --k) arc += std::hypot(sec.z[k] - sec.z[k - 1], sec.y[k] - sec.y[k - 1]);
            img.fillRect(static_cast<float>(c), topRowOf(arc), static_cast<float>(c + 1), topRowOf(-arc), glass, gen::Blend::Replace);
        }
    }
    img.fillRect(0, sideRowOf(s.rockerY + 0.04f), 512, 176, dark, gen::Blend::Replace);
    img.fillRect(0, sideRowOf(-0.1f), 512, sideRowOf(-0.14f), Color{0, 0, 0, 0.35f});
    for (float x : {s.cabinFront - 0.1f, s.bPillarX, s.doors == 4 ? s.cabinRear + 0.15f : s.bPillarX})
        img.drawLine(colOf(x), sideRowOf(s.rockerY + 0.05f), colOf(x), sideRowOf(s.belt(x)), 2, line);
    for (float xe : {s.xf - 0.55f, s.xr + 0.55f}) {
        float x0 = std::min(xe, xe > 0 ? s.xf : s.xr), x1 = std::max(xe, xe > 0 ? s.xf : s.xr);
        img.fillRect(colOf(x1), sideRowOf(-0.28f), colOf(x0), sideRowOf(-0.48f), plastic, gen::Blend::Replace);
    }
    if (look.sign) {  // chequered band of the taxi
        for (int i = 0; i < 64; ++i)
            for (int j = 0; j < 2; ++j)
                if ((i + j) % 2 == 0)
                    img.fillRect(static_cast<float>(i) * 8, sideRowOf(0.1f) + j * 6.0f, static_cast<float>(i) * 8 + 8,
                                 sideRowOf(0.1f) + j * 6.0f + 6, dark);
    }
    if (look.cargo) {  // company stripe on the van's cargo box
        img.fillRect(colOf(0.2f), sideRowOf(0.55f), colOf(-2.9f), sideRowOf(0.45f), gen::rgb(0x1a7ad0), gen::Blend::Replace);
        img.fillRect(colOf(0.2f), sideRowOf(0.42f), colOf(-2.9f), sideRowOf(0.39f), gen::rgb(0xf08020), gen::Blend::Replace);
    }
    // Top view: the pickup's bed cover.
    if (look.tonneau) {
        img.fillRect(colOf(s.cabinRear - 0.08f), topRowOf(0.95f), colOf(s.xr + 0.08f), topRowOf(-0.95f), plastic, gen::Blend::Replace);
        for (float a = -0.8f; a < 0.85f; a += 0.2f)
            img.fillRect(colOf(s.cabinRear - 0.08f), topRowOf(a + 0.01f), colOf(s.xr + 0.08f), topRowOf(a - 0.01f), dark);
    }
    // Faces: grille and bumper at the nose, bumper and plate at the tail.
    float gy0 = s.bumperTopF + 0.05f, gy1 = s.belt(s.xf) - 0.02f;
    img.fillRect(0, faceRowOf(s.bumperTopF), 256, faceRowOf(s.floorY), plastic, gen::Blend::Replace);
    img.fillRect(256, faceRowOf(s.bumperTopR), 512, faceRowOf(s.floorY), plastic, gen::Blend::Replace);
    img.fillRoundRect(noseColOf(0.42f), faceRowOf(gy1), noseColOf(-0.42f), faceRowOf(gy0), 4, dark, gen::Blend::Replace);
    for (float y = gy0 + 0.03f; y < gy1; y += 0.05f)
        img.fillRect(noseColOf(0.4f), faceRowOf(y), noseColOf(-0.4f), faceRowOf(y) + 1.5f, plastic);
    float ty = s.bumperTopR + 0.12f;
    img.fillRect(tailColOf(-0.24f), faceRowOf(ty + 0.06f), tailColOf(0.24f), faceRowOf(ty - 0.06f), gen::rgb(0xe8e8e0), gen::Blend::Replace);
    // Lamp cells: lenses glow (alpha 0).
    img.fillRect(0, 480, 64, 512, Color{1.0f, 0.97f, 0.88f, 0.0f}, gen::Blend::Replace);
    img.fillRect(64, 480, 128, 512, Color{0.85f, 0.06f, 0.05f, 0.0f}, gen::Blend::Replace);
    img.fillRect(128, 480, 192, 512, Color{1.0f, 0.55f, 0.06f, 0.0f}, gen::Blend::Replace);
    img.fillRect(192, 480, 448, 512, Color{1.0f, 0.85f, 0.2f, 0.0f}, gen::Blend::Replace);
    {
        gen::Font font(gen::dejavuFont("DejaVuSans-Bold.ttf"));
        gen::TextStyle st;
        st.size = 24;
        font.draw(img, "TAXI", 320, 504, st, Color{0.05f, 0.05f, 0.05f, 1.0f}, 0.5f);
        // the text must not glow: give its pixels alpha 1 again
        for (int y = 480; y < 512; ++y)
            for (int x = 192; x < 448; ++x) {
                Color& c = img.at(x, y);
                if (c.r < 0.5f) c.a = 1.0f;
            }
    }
    img.fillRect(448, 480, 512, 512, Color{0.1f, 0.1f, 0.1f, 1}, gen::Blend::Replace);
    return img;
}

// A flat lamp just proud of a surface: corners counter-clockwise seen from outside.
void lamp(Mesh& m, V3 a, V3 b, V3 c, V3 d, LampCell cell, V3 facing) {
    m.quadFacing(a, b, c, d, lampUv(cell, 0, 1), lampUv(cell, 1, 1), lampUv(cell, 1, 0), lampUv(cell, 0, 0), facing);
}

}  // namespace

std::string cityCarTexturePath(int model) { return "base/city/car" + std::to_string(model) + ".tga"; }

gen::Raster cityCarTexture(int model) {
    CityLook look;
    BodyShape shape(citySpec(model, look));
    return paintTexture(shape, look);
}

Mesh buildCityCar(int model) {
    CityLook look;
    BodyShape shape(citySpec(model, look));
    const BodyDesign& s = shape.design();
    Mesh m;
    int mat = m.addMaterial(texturedMaterial("city car", cityCarTexturePath(model), 0.4f));
    int gHead = m.addGroup("headlights", mat);
    int gLeft = m.addGroup("left indicators", mat);
    int gRight = m.addGroup("right indicators", mat);
    int gBody = m.addGroup("body", mat);
    m.use(gBody);
    ShellUv uv;
    uv.side = [](float x, float y) { return px(colOf(x), sideRowOf(y)); };
    uv.top = [](float x, float arc) { return px(colOf(x), topRowOf(arc)); };
    uv.nose = [](float z, float y) { return px(noseColOf(z), faceRowOf(y)); };
    uv.tail = [](float z, float y) { return px(tailColOf(z), faceRowOf(y)); };
    uv.dark = [](float x, float) { return px(colOf(x), 174); };
    buildShell(shape, uv, m, nullptr);
    // Lamps on the nose and tail faces.
    float noseW = shape.halfWidthAt(s.xf), tailW = shape.halfWidthAt(s.xr);
    float hy = s.belt(s.xf) - 0.06f, ty = s.belt(s.xr) - 0.1f;
    for (float side : {1.0f, -1.0f}) {
        float x = s.xf + 0.008f;
        float z0 = side * (noseW - 0.34f), z1 = side * (noseW - 0.04f);
        m.use(gHead);
        lamp(m, {x, hy - 0.1f, z0}, {x, hy - 0.1f, z1}, {x, hy, z1}, {x, hy, z0}, LampCell::Head, {1, 0, 0});
        m.use(side < 0 ? gLeft : gRight);
        lamp(m, {x, hy - 0.17f, z1 - side * 0.12f}, {x, hy - 0.17f, z1}, {x, hy - 0.11f, z1}, {x, hy - 0.11f, z1 - side * 0.12f},
             LampCell::Amber, {1, 0, 0});
        float xt = s.xr - 0.008f;
        float t0 = side * (tailW - 0.3f), t1 = side * (tailW - 0.04f);
        m.use(gHead);
        lamp(m, {xt, ty - 0.12f, t0}, {xt, ty - 0.12f, t1}, {xt, ty, t1}, {xt, ty, t0}, LampCell::Tail, {-1, 0, 0});
        m.use(side < 0 ? gLeft : gRight);
        lamp(m, {xt, ty - 0.19f, t0}, {xt, ty - 0.19f, t1}, {xt, ty - 0.13f, t1}, {xt, ty - 0.13f, t0}, LampCell::Amber,
             {-1, 0, 0});
        // side repeaters on the front wings
        float xr = shape.frontAxle() - s.archRadius - 0.15f;
        float zr = side * (shape.section(xr).z[kWaist] + 0.006f);
        float yr = s.belt(xr) - 0.12f;
        lamp(m, {xr - 0.06f, yr - 0.025f, zr}, {xr + 0.06f, yr - 0.025f, zr}, {xr + 0.06f, yr + 0.025f, zr},
             {xr - 0.06f, yr + 0.025f, zr}, LampCell::Amber, {0, 0, side});
    }
    if (look.sign) {
        m.use(gHead);
        float x0 = -0.75f, x1 = -0.3f, y0 = shape.topAt(-0.5f) - 0.01f, y1 = y0 + 0.17f;
        m.box({x0, y0, -0.42f}, {x1, y1, 0.42f}, [&](V3 p, V3 n) {
            if (std::fabs(n.z) > 0.7f || std::fabs(n.x) > 0.7f) {
                float u = std::fabs(n.z) > 0.7f ? (p.x - x0) / (x1 - x0) : (p.z + 0.42f) / 0.84f;
                if (n.z > 0.7f || n.x < -0.7f) u = 1 - u;
                return lampUv(LampCell::Sign, u, 1 - (p.y - y0) / (y1 - y0));
            }
            return lampUv(LampCell::Sign, 0.02f, 0.5f);
        });
    }
    return m;
}

}  // namespace cars
