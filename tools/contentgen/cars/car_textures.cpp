#include "cars/car_textures.h"

#include "cars/livery_layout.h"
#include "noise.h"

#include <algorithm>

namespace cars {

namespace {

using gen::Color;
using gen::Raster;
namespace lv = livery;

const Color kLine{0.03f, 0.03f, 0.035f, 0.9f};
const Color kBlack{0.02f, 0.02f, 0.025f, 1.0f};
const Color kChrome{0.85f, 0.87f, 0.9f, 1.0f};

// Picture positions of the livery layout (rows from the top).
struct Layout {
    static float col(float x) { return lv::columnOf(x); }
    static float topRow(float arc) { return lv::kTopCentreRow - arc * lv::kTopPxPerUnit; }
    static float sideRow(float y) { return lv::sideRow(y); }
    static float noseCol(float z) { return 256.0f - z * lv::kFacePxPerUnit; }
    static float tailCol(float z) { return 768.0f + z * lv::kFacePxPerUnit; }
    static float faceRow(float y) { return lv::kFaceRow1 - (y - lv::kFaceLoY) * lv::kFacePxPerUnit; }
};

// Vertical gradient inside a box only.
void gradientBox(Raster& r, float x0, float y0, float x1, float y1, Color c0, Color c1) {
    r.shade(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1),
            [=](float, float y) { return gen::lerp(c0, c1, clampf((y - y0) / std::max(1.0f, y1 - y0), 0, 1)); },
            gen::Blend::Replace);
}

void mesh(Raster& r, float x0, float y0, float x1, float y1, float cell = 6.0f) {
    r.shade(static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(std::ceil(x1)), static_cast<int>(std::ceil(y1)),
            [=](float x, float y) {
                float row = std::floor(y / cell);
                float xx = x + (static_cast<int>(row) % 2) * cell * 0.5f;
                float u = std::fmod(xx, cell) / cell, v = std::fmod(y, cell) / cell;
                bool hole = u > 0.22f && u < 0.82f && v > 0.22f && v < 0.82f;
                return hole ? Color{0.0f, 0.0f, 0.0f, 1.0f} : Color{0.12f, 0.12f, 0.13f, 1.0f};
            });
}

void slats(Raster& r, float x0, float y0, float x1, float y1, float pitch = 7.0f) {
    r.fillRect(x0, y0, x1, y1, kBlack);
    for (float y = y0 + pitch * 0.5f; y < y1 - 1; y += pitch) r.fillRect(x0 + 2, y, x1 - 2, y + pitch * 0.4f, Color{0.2f, 0.21f, 0.23f, 1});
}

void swatches(Raster& r) {
    auto cell = [&](lv::Swatch s, float& x0, float& y0) { lv::swatchOrigin(s, x0, y0); };
    float x, y;
    const float c = lv::kSwatchCell;
    cell(lv::Swatch::Trim, x, y);
    gradientBox(r, x, y, x + c, y + c, Color{0.09f, 0.09f, 0.1f, 1}, Color{0.02f, 0.02f, 0.025f, 1});
    cell(lv::Swatch::Plastic, x, y);
    r.fillRect(x, y, x + c, y + c, Color{0.1f, 0.1f, 0.105f, 1});
    cell(lv::Swatch::Mesh, x, y);
    mesh(r, x, y, x + c, y + c, 7);
    cell(lv::Swatch::Carbon, x, y);
    r.shade(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + c), static_cast<int>(y + c), [](float px, float py) {
        int a = static_cast<int>(px / 4), b = static_cast<int>(py / 4);
        bool warp = ((a + b) / 2) % 2 == 0;
        float k = warp ? 0.16f : 0.08f;
        return Color{k, k, k * 1.1f, 1};
    });
    cell(lv::Swatch::Chrome, x, y);
    gradientBox(r, x, y, x + c, y + c, Color{0.95f, 0.96f, 0.98f, 1}, Color{0.45f, 0.47f, 0.5f, 1});
    cell(lv::Swatch::Dark, x, y);
    r.fillRect(x, y, x + c, y + c, Color{0.015f, 0.015f, 0.018f, 1});
    cell(lv::Swatch::Interior, x, y);
    r.shade(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + c), static_cast<int>(y + c), [](float px, float py) {
        float k = 0.07f + 0.02f * std::sin(px * 0.9f) * std::sin(py * 0.9f);
        return Color{k, k, k, 1};
    });
    cell(lv::Swatch::Slats, x, y);
    slats(r, x, y, x + c, y + c, 8);
    cell(lv::Swatch::Red, x, y);
    r.fillRect(x, y, x + c, y + c, Color{0.75f, 0.05f, 0.04f, 1});
    // Paint swatch stays transparent. Everything below the swatches is unused: dark.
    r.fillRect(0, 840, 1024, 1024, kBlack);
}

void topBand(Raster& r, const BodyShape& shape) {
    const BodyDesign& s = shape.design();
    using L = Layout;
    auto hLine = [&](float x0, float x1, float arc, float w = 2.5f) {
        r.drawLine(L::col(x0), L::topRow(arc), L::col(x1), L::topRow(arc), w, kLine);
    };
    auto vLine = [&](float x, float a0, float a1, float w = 2.5f) {
        r.drawLine(L::col(x), L::topRow(a0), L::col(x), L::topRow(a1), w, kLine);
    };
    // Hood: its rear shut line with the cowl vent behind it, and the two side lines.
    float hoodRear = s.cabinFront - 0.06f;
    float hoodFront = s.xf - 0.12f;
    vLine(hoodRear, -0.9f, 0.9f);
    for (float a : {-0.86f, 0.86f}) hLine(hoodRear, hoodFront, a);
    r.fillRect(L::col(s.cabinFront + 0.02f), L::topRow(0.75f), L::col(hoodRear + 0.01f), L::topRow(-0.75f), kBlack);
    for (float a = -0.7f; a < 0.7f; a += 0.1f)
        r.fillRect(L::col(s.cabinFront + 0.0f), L::topRow(a + 0.03f), L::col(hoodRear + 0.03f), L::topRow(a), Color{0.18f, 0.18f, 0.2f, 1});
    // Trunk or engine lid.
    float lidFront = s.openTop ? s.cabinRear - 0.35f : s.cabinRear - 0.04f;
    if (!s.roofSpoiler) {
        vLine(lidFront, -0.85f, 0.85f);
        for (float a : {-0.82f, 0.82f}) hLine(s.xr + 0.08f, lidFront, a);
    }
    switch (shape.body()) {
        case 2:  // hood pins
            for (float a : {-0.55f, 0.55f}) r.fillCircle(L::col(s.xf - 0.3f), L::topRow(a), 5, kChrome);
            break;
        case 3:  // hood vents over the front trunk
            for (float a : {-0.38f, 0.38f}) {
                float x0 = s.xf - 1.15f, x1 = s.xf - 0.6f;
                r.fillRoundRect(L::col(x1), L::topRow(a + 0.12f), L::col(x0), L::topRow(a - 0.12f), 6, kBlack);
                slats(r, L::col(x1) + 3, L::topRow(a + 0.12f) + 3, L::col(x0) - 3, L::topRow(a - 0.12f) - 3, 6);
            }
            // engine cover louvres behind the cabin
            for (float x = s.cabinRear - 0.15f; x > s.xr + 0.35f; x -= 0.12f)
                r.fillRect(L::col(x + 0.04f), L::topRow(0.45f), L::col(x), L::topRow(-0.45f), kBlack);
            break;
        case 5:  // roll-bar fairings and the cockpit rim
            for (float a : {-0.45f, 0.45f})
                r.fillRoundRect(L::col(s.cabinRear - 0.05f), L::topRow(a + 0.16f), L::col(s.cabinRear - 0.65f),
                                L::topRow(a - 0.16f), 10, Color{0.03f, 0.03f, 0.035f, 0.35f});
            break;
        default: break;
    }
    // The roof of the open car has no panel; the others get a faint darker roof edge.
    (void)s;
}

void sideBand(Raster& r, const BodyShape& shape) {
    const BodyDesign& s = shape.design();
    using L = Layout;
    float fa = frontAxleX(shape.body()), ra = rearAxleX(shape.body()), ar = s.archRadius;
    auto vLine = [&](float x, float y0, float y1) {
        r.drawLine(L::col(x), L::sideRow(y0), L::col(x), L::sideRow(y1), 2.5f, kLine);
    };
    float sillY = s.rockerY + 0.03f;
    float doorFront = std::min(s.cabinFront - 0.05f, fa - ar - 0.12f);
    float doorRear = s.doors == 4 ? s.bPillarX + 0.05f : s.bPillarX - 0.06f;
    vLine(doorFront, sillY, s.belt(doorFront) - 0.02f);
    vLine(doorRear, sillY, s.belt(doorRear) - 0.02f);
    r.drawLine(L::col(doorFront), L::sideRow(sillY), L::col(doorRear), L::sideRow(sillY), 2.0f, kLine);
    auto handle = [&](float xEdge) {
        float x = xEdge + 0.2f, y = s.belt(xEdge) - 0.1f;
        r.fillRoundRect(L::col(x), L::sideRow(y + 0.02f), L::col(x - 0.18f), L::sideRow(y - 0.02f), 3, Color{0.08f, 0.08f, 0.09f, 1});
    };
    handle(doorRear);
    if (s.doors == 4) {
        float rearDoorEnd = std::max(shape.sideWindowRear() - 0.05f, ra + ar + 0.15f);
        vLine(s.bPillarX - 0.05f, sillY, s.belt(s.bPillarX) - 0.02f);
        vLine(rearDoorEnd, sillY + 0.05f, s.belt(rearDoorEnd) - 0.02f);
        r.drawLine(L::col(s.bPillarX - 0.05f), L::sideRow(sillY), L::col(rearDoorEnd), L::sideRow(sillY + 0.05f), 2.0f, kLine);
        handle(rearDoorEnd);
        // rubbing strip along both doors
        r.fillRect(L::col(doorFront - 0.02f), L::sideRow(-0.13f), L::col(rearDoorEnd + 0.02f), L::sideRow(-0.17f),
                   Color{0.06f, 0.06f, 0.07f, 1});
    }
    // Fuel flap on the rear quarter.
    r.strokeCircle(L::col(ra + ar + 0.28f), L::sideRow(s.belt(ra + ar + 0.28f) - 0.12f), 7, 2, kLine);
    switch (shape.body()) {
        case 0:  // side repeater
            r.fillEllipse(L::col(fa - ar - 0.12f), L::sideRow(s.belt(fa) - 0.1f), 9, 4, Color{1.0f, 0.55f, 0.1f, 1});
            break;
        case 1:  // slanted gills behind the front wheel
            for (int i = 0; i < 3; ++i) {
                float x = fa - ar - 0.18f - 0.11f * static_cast<float>(i);
                r.drawLine(L::col(x + 0.05f), L::sideRow(-0.02f), L::col(x - 0.05f), L::sideRow(-0.24f), 5, kBlack);
            }
            break;
        case 2: {  // side scoop ahead of the rear wheel and a body stripe line
            float x0 = ra + ar + 0.08f, x1 = ra + ar + 0.62f;
            std::vector<gen::Vec2> p = {{L::col(x1), L::sideRow(-0.02f)}, {L::col(x0), L::sideRow(0.02f)},
                                        {L::col(x0), L::sideRow(-0.26f)}, {L::col(x1), L::sideRow(-0.2f)}};
            r.fillPolygon(p, kBlack);
            r.strokePolyline(p, 3, true, kChrome);
            break;
        }
        case 3: {  // big intake ahead of the rear wheel
            float x0 = ra + ar + 0.06f, x1 = ra + ar + 0.85f;
            std::vector<gen::Vec2> p = {{L::col(x1), L::sideRow(-0.3f)}, {L::col(x1 - 0.3f), L::sideRow(0.06f)},
                                        {L::col(x0), L::sideRow(0.08f)}, {L::col(x0), L::sideRow(-0.34f)}};
            r.fillPolygon(p, kBlack);
            mesh(r, L::col(x1 - 0.2f), L::sideRow(0.0f), L::col(x0) - 6, L::sideRow(-0.28f), 6);
            break;
        }
        case 5:  // three fender gills
            for (int i = 0; i < 3; ++i) {
                float y = -0.04f - 0.07f * static_cast<float>(i);
                r.fillRoundRect(L::col(fa - ar - 0.1f), L::sideRow(y), L::col(fa - ar - 0.42f), L::sideRow(y - 0.035f), 3, kBlack);
            }
            break;
        default: break;
    }
    // Darker sills, a touch of shade under the shoulder.
    r.shade(0, static_cast<int>(L::sideRow(s.rockerY + 0.06f)), 1024, static_cast<int>(lv::kSideRow1), [&](float, float y) {
        float t = clampf((y - L::sideRow(s.rockerY + 0.06f)) / (lv::kSideRow1 - L::sideRow(s.rockerY + 0.06f)), 0, 1);
        return Color{0.01f, 0.01f, 0.012f, 0.15f + 0.6f * t};
    });
}

void faces(Raster& r, const BodyShape& shape) {
    const BodyDesign& s = shape.design();
    using L = Layout;
    float gy0 = s.bumperTopF + 0.03f, gy1 = s.belt(s.xf) + s.crown(s.xf) - 0.05f;
    if (gy1 < gy0 + 0.06f) gy1 = gy0 + 0.06f;
    auto nRect = [&](float z0, float z1, float y0, float y1) {
        return std::array<float, 4>{L::noseCol(z1), L::faceRow(y1), L::noseCol(z0), L::faceRow(y0)};
    };
    switch (shape.body()) {
        case 0: {
            auto a = nRect(-0.42f, 0.42f, gy0, gy0 + 0.1f);
            r.fillRoundRect(a[0], a[1], a[2], a[3], 6, kBlack);
            slats(r, a[0] + 3, a[1] + 3, a[2] - 3, a[3] - 3, 6);
            r.fillCircle(L::noseCol(0), L::faceRow(gy0 + 0.15f), 8, kChrome);
            break;
        }
        case 1:
            for (float zc : {-0.13f, 0.13f}) {
                auto a = nRect(zc - 0.1f, zc + 0.1f, gy0, gy1);
                r.fillRoundRect(a[0], a[1], a[2], a[3], 10, kChrome);
                mesh(r, a[0] + 4, a[1] + 4, a[2] - 4, a[3] - 4, 5);
            }
            break;
        case 2: {
            auto a = nRect(-0.74f, 0.74f, gy0, gy1);
            r.fillRoundRect(a[0], a[1], a[2], a[3], 4, kChrome);
            mesh(r, a[0] + 5, a[1] + 5, a[2] - 5, a[3] - 5, 8);
            r.fillRect(L::noseCol(0.05f), a[1] + 5, L::noseCol(-0.05f), a[3] - 5, Color{0.1f, 0.1f, 0.11f, 1});
            break;
        }
        case 3: {
            auto a = nRect(-0.3f, 0.3f, gy0, gy0 + 0.06f);
            r.fillRoundRect(a[0], a[1], a[2], a[3], 5, kBlack);
            break;
        }
        case 4: {
            auto a = nRect(-0.38f, 0.38f, gy0, gy1);
            r.fillRoundRect(a[0], a[1], a[2], a[3], 8, kChrome);
            r.fillRoundRect(a[0] + 5, a[1] + 5, a[2] - 5, a[3] - 5, 5, kBlack);
            for (float z = -0.32f; z <= 0.33f; z += 0.08f) r.fillRect(L::noseCol(z) - 2, a[1] + 5, L::noseCol(z) + 2, a[3] - 5, kChrome);
            break;
        }
        default: {
            float cy = 0.5f * (gy0 + gy1);
            r.fillEllipse(L::noseCol(0), L::faceRow(cy), 0.32f * lv::kFacePxPerUnit, 0.5f * (gy1 - gy0) * lv::kFacePxPerUnit + 2, kChrome);
            r.fillEllipse(L::noseCol(0), L::faceRow(cy), 0.32f * lv::kFacePxPerUnit - 4, 0.5f * (gy1 - gy0) * lv::kFacePxPerUnit - 2, kBlack);
            mesh(r, L::noseCol(0.26f), L::faceRow(gy1) + 4, L::noseCol(-0.26f), L::faceRow(gy0) - 4, 6);
            break;
        }
    }
    // Tail: number plate between the lamps, details per body, reflectors in the bumper.
    float ty = 0.5f * (s.bumperTopR + s.belt(s.xr) + s.crown(s.xr)) - 0.04f;
    switch (shape.body()) {
        case 1:
            r.fillRect(L::tailCol(-0.55f), L::faceRow(ty + 0.13f), L::tailCol(0.55f), L::faceRow(ty + 0.1f), Color{0.5f, 0.02f, 0.03f, 1});
            break;
        case 2:
            r.fillRect(L::tailCol(-0.8f), L::faceRow(ty + 0.09f), L::tailCol(0.8f), L::faceRow(ty - 0.08f), kBlack);
            break;
        case 3:
            r.fillRect(L::tailCol(-0.7f), L::faceRow(ty + 0.12f), L::tailCol(0.7f), L::faceRow(ty + 0.02f), kBlack);
            mesh(r, L::tailCol(-0.68f), L::faceRow(ty + 0.115f), L::tailCol(0.68f), L::faceRow(ty + 0.025f), 6);
            break;
        case 4:
            r.fillRect(L::tailCol(-0.4f), L::faceRow(ty + 0.1f), L::tailCol(0.4f), L::faceRow(ty + 0.08f), kChrome);
            break;
        default: break;
    }
    float px0 = L::tailCol(-0.25f), px1 = L::tailCol(0.25f), py0 = L::faceRow(ty + 0.06f), py1 = L::faceRow(ty - 0.06f);
    r.fillRoundRect(px0, py0, px1, py1, 3, Color{0.05f, 0.05f, 0.05f, 1});
    r.fillRoundRect(px0 + 2, py0 + 2, px1 - 2, py1 - 2, 2, Color{0.92f, 0.92f, 0.88f, 1});
    for (int i = 0; i < 6; ++i) {
        float cx = px0 + 10 + static_cast<float>(i) * (px1 - px0 - 20) / 5.0f;
        r.fillRect(cx - 4, py0 + 5, cx + 4, py1 - 5, Color{0.08f, 0.08f, 0.1f, 1});
    }
    for (float z : {-0.78f, 0.78f})
        r.fillRoundRect(L::tailCol(z - 0.08f), L::faceRow(s.bumperTopR - 0.06f), L::tailCol(z + 0.08f),
                        L::faceRow(s.bumperTopR - 0.1f), 2, Color{0.6f, 0.02f, 0.02f, 1});
}

}  // namespace

Raster bodyTemplate(const BodyShape& shape) {
    Raster r(1024, 1024, Color{0, 0, 0, 0});
    topBand(r, shape);
    sideBand(r, shape);
    faces(r, shape);
    swatches(r);
    return r;
}

Raster reflectionMask(const Raster& t) {
    Raster m(1024, 1024, Color{1, 1, 1, 0.85f});
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1024; ++x) {
            const Color& c = t.at(x, y);
            float lum = 0.3f * c.r + 0.55f * c.g + 0.15f * c.b;
            float detail = 0.08f + 0.9f * lum;  // dark trim reflects little, chrome much
            float a = 0.85f * (1 - c.a) + detail * c.a;
            m.at(x, y) = Color{1, 1, 1, clampf(a, 0, 1)};
        }
    // The top surfaces catch the most sky.
    m.fillRect(0, 0, 1024, 256, Color{1, 1, 1, 0.06f}, gen::Blend::Add);
    return m;
}

Raster composeLivery(Color paint, const Raster& topVinyl, const Raster& sideVinyl, const Raster& tmpl, const Raster& mask) {
    Raster r(1024, 1024, Color{paint.r, paint.g, paint.b, 1});
    auto vinyl = [&](const Raster& v, float row0, float row1) {
        if (v.empty()) return;
        for (int y = static_cast<int>(row0); y < static_cast<int>(row1); ++y)
            for (int x = 0; x < 1024; ++x) {
                Color s = v.sample((static_cast<float>(x) + 0.5f) * static_cast<float>(v.width()) / 1024.0f,
                                   (static_cast<float>(y) - row0 + 0.5f) * static_cast<float>(v.height()) / (row1 - row0));
                Color& d = r.at(x, y);
                float k = clampf(s.a, 0, 1);  // inverted alpha: 0 shows the vinyl
                d = Color{s.r * (1 - k) + d.r * k, s.g * (1 - k) + d.g * k, s.b * (1 - k) + d.b * k, 1};
            }
    };
    vinyl(topVinyl, 0, 256);
    vinyl(sideVinyl, 196, 452);
    r.composite(tmpl, 0, 0, gen::Blend::Over);
    for (size_t i = 0; i < r.pixels().size(); ++i) r.pixels()[i].a = mask.pixels()[i].a;
    return r;
}

Raster glassTexture() {
    Raster r(256, 256);
    r.shade([](float x, float y) {
        float t = y / 256.0f;
        float streak = 0.03f * std::sin(x * 0.05f + y * 0.02f);
        return Color{0.06f + 0.05f * t + streak, 0.08f + 0.06f * t + streak, 0.11f + 0.08f * t + streak, 0.95f};
    }, gen::Blend::Replace);
    return r;
}

Raster scoopTexture() {
    Raster r(256, 256, Color{0.1f, 0.1f, 0.11f, 1});
    r.shade(0, 0, 256, 128, [](float x, float y) {
        float k = 0.11f + 0.02f * std::sin(x * 0.7f) * std::sin(y * 0.6f) + 0.05f * (1 - y / 128.0f);
        return Color{k, k, k * 1.08f, 1};
    }, gen::Blend::Replace);
    mesh(r, 0, 128, 256, 192, 7);
    r.fillRect(0, 192, 256, 256, Color{0.12f, 0.12f, 0.13f, 1}, gen::Blend::Replace);
    std::vector<gen::Vec2> duct = {{108, 196}, {148, 196}, {228, 252}, {28, 252}};
    r.fillPolygon(duct, Color{0.02f, 0.02f, 0.025f, 1});
    r.strokePolyline(duct, 3, true, Color{0.3f, 0.3f, 0.32f, 1});
    return r;
}

Raster spoilerTexture() {
    Raster r(256, 256, Color{0, 0, 0, 1});
    r.shade(0, 0, 256, 128, [](float x, float y) {
        int a = static_cast<int>(x / 5), b = static_cast<int>(y / 5);
        bool warp = ((a + b) / 2) % 2 == 0;
        float k = (warp ? 0.15f : 0.07f) + 0.04f * (1 - y / 128.0f);
        return Color{k, k, k * 1.12f, 1};
    }, gen::Blend::Replace);
    gradientBox(r, 0, 128, 256, 192, Color{0.1f, 0.1f, 0.11f, 1}, Color{0.04f, 0.04f, 0.045f, 1});
    r.shade(0, 192, 256, 256, [](float x, float y) {
        float k = 0.55f + 0.08f * std::sin(y * 1.7f + x * 0.05f);
        return Color{k, k * 1.01f, k * 1.04f, 1};
    }, gen::Blend::Replace);
    return r;
}

Raster driverTexture() {
    Raster r(256, 256, Color{0.1f, 0.1f, 0.1f, 1});
    // Helmet shell (s 0.02..0.48, t 0.04..0.46): white with an orange stripe over the crown.
    r.fillRect(0, 0, 128, 128, Color{0.92f, 0.92f, 0.9f, 1});
    r.fillRect(52, 0, 76, 128, Color{1.0f, 0.45f, 0.05f, 1});
    r.fillRect(0, 96, 128, 128, Color{0.15f, 0.15f, 0.17f, 1});
    // Visor: smoked glass with a highlight.
    gradientBox(r, 128, 0, 256, 128, Color{0.05f, 0.06f, 0.1f, 1}, Color{0.18f, 0.2f, 0.28f, 1});
    r.drawLine(150, 30, 230, 18, 6, Color{0.7f, 0.75f, 0.85f, 0.6f});
    // Suit: red with black side panels and white piping.
    r.fillRect(0, 128, 256, 256, Color{0.7f, 0.06f, 0.05f, 1});
    r.fillRect(0, 128, 40, 256, Color{0.05f, 0.05f, 0.06f, 1});
    r.fillRect(216, 128, 256, 256, Color{0.05f, 0.05f, 0.06f, 1});
    r.fillRect(40, 128, 44, 256, Color{0.95f, 0.95f, 0.95f, 1});
    r.fillRect(212, 128, 216, 256, Color{0.95f, 0.95f, 0.95f, 1});
    return r;
}

}  // namespace cars
