// Where each surface of a race car lands in its 1024 x 1024 livery. Pixel
// coordinates here are image rows from the top (the raster's), so file texture
// coordinates are simply (px / 1024, py / 1024):
//   rows   0..256  the top band (hood, roof, trunk; the top vinyl), seen from above, nose to the left
//                  (as the vinyls are drawn) and so the car's right side towards the top;
//   rows 256..452  the sides, nose to the left (the side vinyl, whose upper rows also reach the top
//                  band and so are left to the top surfaces);
//   rows 460..716  the nose face (left half) and the tail face (right half);
//   rows 730..1010 swatches of fixed materials (trim, grille mesh, chrome, ...).
// The body template and reflection mask of each body model are drawn for this layout.
#pragma once

#include "cars/mesh.h"

namespace cars::livery {

constexpr float kSize = 1024.0f;

constexpr float kTopRow0 = 0.0f, kTopRow1 = 256.0f;
constexpr float kTopCentreRow = 128.0f;
constexpr float kTopPxPerUnit = 76.0f;  // along the body's cross-section, from the centre line

constexpr float kSideRow0 = 256.0f, kSideRow1 = 452.0f;
constexpr float kSideLoY = -0.74f, kSideHiY = 0.46f;  // world heights mapped onto the side rows

constexpr float kFaceRow0 = 460.0f, kFaceRow1 = 716.0f;
constexpr float kFaceLoY = -0.78f;
constexpr float kFacePxPerUnit = 196.0f;

// Length along the car: nose (+3.2) at the left edge.
inline float columnOf(float x) { return clampf((3.2f - x) / 6.4f * kSize, 1.0f, kSize - 1.0f); }

inline UV px(float x, float y) { return {x / kSize, y / kSize}; }

// A top surface point at signed arc length from the centre line (positive on the car's right).
inline UV top(float x, float signedArc) {
    float row = clampf(kTopCentreRow - signedArc * kTopPxPerUnit, kTopRow0 + 1, kTopRow1 - 1);
    return px(columnOf(x), row);
}

// A side point by its world height (both sides share the band, nose to the right).
inline float sideRow(float y) {
    float f = clampf((y - kSideLoY) / (kSideHiY - kSideLoY), 0.0f, 1.0f);
    return kSideRow1 - 1 - f * (kSideRow1 - kSideRow0 - 2);
}
inline UV side(float x, float y) { return px(columnOf(x), sideRow(y)); }

// The nose face as seen from ahead (the car's right on the left of the picture),
// the tail face as seen from behind.
inline UV nose(float z, float y) {
    float row = clampf(kFaceRow1 - (y - kFaceLoY) * kFacePxPerUnit, kFaceRow0 + 1, kFaceRow1 - 1);
    return px(clampf(256.0f - z * kFacePxPerUnit, 2, 510), row);
}
inline UV tail(float z, float y) {
    float row = clampf(kFaceRow1 - (y - kFaceLoY) * kFacePxPerUnit, kFaceRow0 + 1, kFaceRow1 - 1);
    return px(clampf(768.0f + z * kFacePxPerUnit, 514, 1022), row);
}

// Fixed-material swatches, 100 x 100 pixel cells.
enum class Swatch {
    Paint,       // plain paint (template transparent)
    Trim,        // gloss black trim
    Plastic,     // matte black plastic
    Mesh,        // black grille mesh
    Carbon,      // carbon weave
    Chrome,      // polished metal
    Dark,        // wheel wells, underbody, pipe insides
    Interior,    // cabin trim
    Slats,       // horizontal grille slats
    Red,         // accent red (tow hooks, calipers)
    Count
};

constexpr int kSwatchCell = 100;
inline void swatchOrigin(Swatch s, float& x, float& y) {
    int i = static_cast<int>(s);
    x = 12.0f + static_cast<float>(i % 10) * kSwatchCell;
    y = 734.0f + static_cast<float>(i / 10) * kSwatchCell;
}

// Planar coordinates (in units) mapped into the swatch cell at pxPerUnit, clamped inside it.
inline UV swatch(Swatch s, float a, float b, float pxPerUnit = 60.0f) {
    float x0, y0;
    swatchOrigin(s, x0, y0);
    float cx = x0 + kSwatchCell * 0.5f, cy = y0 + kSwatchCell * 0.5f;
    float m = kSwatchCell * 0.5f - 6.0f;
    return px(cx + clampf(a * pxPerUnit, -m, m), cy + clampf(b * pxPerUnit, -m, m));
}

// A UV function painting everything with one swatch, projected along the face's dominant axis.
inline UvFn swatchUv(Swatch s, float pxPerUnit = 60.0f) {
    return [=](V3 p, V3 n) {
        float ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
        float a, b;
        if (ax >= ay && ax >= az) a = p.z, b = -p.y;
        else if (ay >= az) a = p.x, b = p.z;
        else a = p.x, b = -p.y;
        return swatch(s, a, b, pxPerUnit);
    };
}

}  // namespace cars::livery
