#include "art_util.h"

#include <algorithm>
#include <cmath>

namespace gen::ui {

Raster emptyLayer(const Raster& like) { return Raster(like.width(), like.height(), palette::clear); }
Raster emptyLayer(int w, int h) { return Raster(w, h, palette::clear); }

void neonFromLayer(Raster& dst, const Raster& layer, Color colour, float glowRadius, float glowStrength) {
    Raster glow = layer.blurred(glowRadius);
    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            float g = std::min(1.0f, glow.at(x, y).a * glowStrength);
            dst.blendPixel(x, y, colour, g, Blend::Over);
            float core = layer.at(x, y).a;
            // The tube: colour at its edge, nearly white along its middle.
            Color hot = lerp(colour, palette::white, 0.55f);
            dst.blendPixel(x, y, hot, core, Blend::Over);
        }
}

std::vector<Vec2> starPoints(float cx, float cy, float outer, float inner, int points, float rotation) {
    std::vector<Vec2> p;
    for (int i = 0; i < points * 2; ++i) {
        float r = (i % 2 == 0) ? outer : inner;
        float a = rotation + kPi * static_cast<float>(i) / static_cast<float>(points);
        p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return p;
}

std::vector<Vec2> transformed(const std::vector<Vec2>& pts, float ox, float oy, float scale, float scaleY) {
    if (scaleY == 0.0f) scaleY = scale;
    std::vector<Vec2> out;
    out.reserve(pts.size());
    for (const Vec2& p : pts) out.push_back({ox + p.x * scale, oy + p.y * scaleY});
    return out;
}

Raster outlineOf(const Raster& layer, float width) {
    // Grow the shape by blurring its alpha and thresholding softly.
    Raster grown = layer.blurred(width);
    Raster out = emptyLayer(layer);
    for (size_t i = 0; i < out.pixels().size(); ++i) {
        float a = std::clamp(grown.pixels()[i].a * 3.0f, 0.0f, 1.0f);
        out.pixels()[i] = Color{0, 0, 0, a};
    }
    return out;
}

}  // namespace gen::ui
