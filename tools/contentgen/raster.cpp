#include "raster.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr float kPi = 3.14159265358979f;

float clampf(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }

int wrapIndex(int i, int n) {
    int m = i % n;
    return m < 0 ? m + n : m;
}

// Calls visit(x, y) for the pixels of the box [x0, x1) x [y0, y1) that lie
// inside a w x h raster, row by row.
template <typename Visit>
void forEachInBox(int x0, int y0, int x1, int y1, int w, int h, Visit visit) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, w);
    y1 = std::min(y1, h);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) visit(x, y);
}

Color blendColor(const Color& d, const Color& s, float coverage, Blend blend) {
    float sa = s.a * coverage;
    Color o = d;
    switch (blend) {
        case Blend::Over: {
            float oa = sa + d.a * (1.0f - sa);
            if (oa > 0.0f) {
                float kd = d.a * (1.0f - sa);
                o.r = (s.r * sa + d.r * kd) / oa;
                o.g = (s.g * sa + d.g * kd) / oa;
                o.b = (s.b * sa + d.b * kd) / oa;
            }
            o.a = oa;
            break;
        }
        case Blend::Add:
            o.r = d.r + s.r * sa;
            o.g = d.g + s.g * sa;
            o.b = d.b + s.b * sa;
            o.a = std::max(d.a, sa);
            break;
        case Blend::Max:
            o.r = std::max(d.r, d.r + (s.r - d.r) * coverage);
            o.g = std::max(d.g, d.g + (s.g - d.g) * coverage);
            o.b = std::max(d.b, d.b + (s.b - d.b) * coverage);
            o.a = std::max(d.a, d.a + (s.a - d.a) * coverage);
            break;
        case Blend::Multiply:
            o.r = d.r * (1.0f + (s.r - 1.0f) * sa);
            o.g = d.g * (1.0f + (s.g - 1.0f) * sa);
            o.b = d.b * (1.0f + (s.b - 1.0f) * sa);
            break;
        case Blend::Replace:
            o.r = d.r + (s.r - d.r) * coverage;
            o.g = d.g + (s.g - d.g) * coverage;
            o.b = d.b + (s.b - d.b) * coverage;
            o.a = d.a + (s.a - d.a) * coverage;
            break;
        case Blend::SetAlpha:
            o.a = d.a + (s.a - d.a) * coverage;
            break;
        case Blend::Erase:
            o.a = d.a * (1.0f - sa);
            break;
    }
    return o;
}

struct Box {
    int x0, y0, x1, y1;
};

Box boundsOf(float x0, float y0, float x1, float y1, float pad) {
    return Box{static_cast<int>(std::floor(std::min(x0, x1) - pad)), static_cast<int>(std::floor(std::min(y0, y1) - pad)),
               static_cast<int>(std::ceil(std::max(x0, x1) + pad)) + 1,
               static_cast<int>(std::ceil(std::max(y0, y1) + pad)) + 1};
}

// One horizontal or vertical box-blur pass over premultiplied colour.
void boxPass(std::vector<Color>& px, int w, int h, int radius, bool horizontal, bool wrap) {
    if (radius <= 0) return;
    int n = horizontal ? w : h;
    int lines = horizontal ? h : w;
    std::vector<Color> line(n), out(n);
    float inv = 1.0f / static_cast<float>(2 * radius + 1);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < n; ++i) line[i] = horizontal ? px[static_cast<size_t>(l) * w + i] : px[static_cast<size_t>(i) * w + l];
        auto fetch = [&](int i) -> const Color& {
            if (wrap) return line[wrapIndex(i, n)];
            return line[std::clamp(i, 0, n - 1)];
        };
        // Running sums in double keep the result independent of accumulated rounding drift.
        double r = 0, g = 0, b = 0, a = 0;
        for (int i = -radius; i <= radius; ++i) {
            const Color& c = fetch(i);
            r += c.r; g += c.g; b += c.b; a += c.a;
        }
        for (int i = 0; i < n; ++i) {
            out[i] = Color{static_cast<float>(r) * inv, static_cast<float>(g) * inv, static_cast<float>(b) * inv,
                           static_cast<float>(a) * inv};
            const Color& add = fetch(i + radius + 1);
            const Color& sub = fetch(i - radius);
            r += add.r - sub.r; g += add.g - sub.g; b += add.b - sub.b; a += add.a - sub.a;
        }
        for (int i = 0; i < n; ++i) {
            if (horizontal) px[static_cast<size_t>(l) * w + i] = out[i];
            else px[static_cast<size_t>(i) * w + l] = out[i];
        }
    }
}

// A pixel of another image blended in at the given opacity: its own alpha is
// its coverage, except under Replace, where all four channels move by opacity.
Color blendImagePixel(const Color& d, Color s, float opacity, Blend blend) {
    if (blend == Blend::Replace) return blendColor(d, s, opacity, blend);
    float cov = s.a * opacity;
    s.a = 1.0f;
    return blendColor(d, s, cov, blend);
}

}  // namespace

Color rgb(uint32_t hex, float a) {
    return Color{static_cast<float>((hex >> 16) & 255) / 255.0f, static_cast<float>((hex >> 8) & 255) / 255.0f,
                 static_cast<float>(hex & 255) / 255.0f, a};
}

Color lerp(const Color& c0, const Color& c1, float t) {
    return Color{c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t, c0.a + (c1.a - c0.a) * t};
}

Color withAlpha(Color c, float a) {
    c.a = a;
    return c;
}

Color scaled(Color c, float k) { return Color{c.r * k, c.g * k, c.b * k, c.a}; }

float coverageFromDistance(float d, float edge) {
    if (edge <= 0.0f) edge = 1e-3f;
    return clampf(0.5f - d / edge, 0.0f, 1.0f);
}

float sdRoundRect(float x, float y, float x0, float y0, float x1, float y1, float radius) {
    float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
    float hx = std::fabs(x1 - x0) * 0.5f, hy = std::fabs(y1 - y0) * 0.5f;
    radius = std::min(radius, std::min(hx, hy));
    float qx = std::fabs(x - cx) - (hx - radius);
    float qy = std::fabs(y - cy) - (hy - radius);
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float x, float y, float ax, float ay, float bx, float by) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0.0f ? clampf((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
    float ex = px - dx * t, ey = py - dy * t;
    return std::sqrt(ex * ex + ey * ey);
}

float sdPolygon(float x, float y, const std::vector<Vec2>& pts) {
    size_t n = pts.size();
    if (n < 3) return 1e9f;
    float best = 1e30f;
    int winding = 0;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const Vec2& a = pts[j];
        const Vec2& b = pts[i];
        best = std::min(best, sdSegment(x, y, a.x, a.y, b.x, b.y));
        if (a.y <= y) {
            if (b.y > y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) > 0) ++winding;
        } else {
            if (b.y <= y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) < 0) --winding;
        }
    }
    return winding != 0 ? -best : best;
}

Raster::Raster(int width, int height, Color fill)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), px_(static_cast<size_t>(w_) * h_, fill) {}

Color Raster::get(int x, int y, bool wrap) const {
    if (empty()) return Color{};
    if (wrap) {
        x = wrapIndex(x, w_);
        y = wrapIndex(y, h_);
    } else {
        x = std::clamp(x, 0, w_ - 1);
        y = std::clamp(y, 0, h_ - 1);
    }
    return at(x, y);
}

Color Raster::sample(float x, float y, bool wrap) const {
    float fx = x - 0.5f, fy = y - 0.5f;
    int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
    float tx = fx - static_cast<float>(ix), ty = fy - static_cast<float>(iy);
    Color c00 = get(ix, iy, wrap), c10 = get(ix + 1, iy, wrap);
    Color c01 = get(ix, iy + 1, wrap), c11 = get(ix + 1, iy + 1, wrap);
    // Interpolate premultiplied so transparent texels do not bleed their colour.
    auto pm = [](Color c) { return Color{c.r * c.a, c.g * c.a, c.b * c.a, c.a}; };
    Color top = lerp(pm(c00), pm(c10), tx), bottom = lerp(pm(c01), pm(c11), tx);
    Color m = lerp(top, bottom, ty);
    if (m.a > 1e-6f) return Color{m.r / m.a, m.g / m.a, m.b / m.a, m.a};
    Color straight = lerp(lerp(c00, c10, tx), lerp(c01, c11, tx), ty);
    return Color{straight.r, straight.g, straight.b, 0.0f};
}

void Raster::blendPixel(int x, int y, Color c, float coverage, Blend blend) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || coverage <= 0.0f) return;
    Color& d = at(x, y);
    d = blendColor(d, c, std::min(coverage, 1.0f), blend);
}

void Raster::fill(Color c) { std::fill(px_.begin(), px_.end(), c); }

void Raster::paint(int x0, int y0, int x1, int y1, const std::function<float(float, float)>& coverage, Color c,
                   Blend blend) {
    forEachInBox(x0, y0, x1, y1, w_, h_, [&](int x, int y) {
        float cov = coverage(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
        if (cov > 0.0f) at(x, y) = blendColor(at(x, y), c, std::min(cov, 1.0f), blend);
    });
}

void Raster::shade(int x0, int y0, int x1, int y1, const std::function<Color(float, float)>& shader, Blend blend) {
    forEachInBox(x0, y0, x1, y1, w_, h_, [&](int x, int y) {
        Color s = shader(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
        if (blend == Blend::Replace) {
            at(x, y) = s;
        } else {
            float cov = s.a;
            s.a = 1.0f;
            if (cov > 0.0f) at(x, y) = blendColor(at(x, y), s, std::min(cov, 1.0f), blend);
        }
    });
}

void Raster::shade(const std::function<Color(float, float)>& shader, Blend blend) { shade(0, 0, w_, h_, shader, blend); }

void Raster::fillRect(float x0, float y0, float x1, float y1, Color c, Blend blend, float edge) {
    fillRoundRect(x0, y0, x1, y1, 0.0f, c, blend, edge);
}

void Raster::fillRoundRect(float x0, float y0, float x1, float y1, float radius, Color c, Blend blend, float edge) {
    Box b = boundsOf(x0, y0, x1, y1, edge);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) { return coverageFromDistance(sdRoundRect(x, y, x0, y0, x1, y1, radius), edge); }, c,
          blend);
}

void Raster::strokeRoundRect(float x0, float y0, float x1, float y1, float radius, float lineWidth, Color c,
                             Blend blend, float edge) {
    Box b = boundsOf(x0, y0, x1, y1, edge + lineWidth);
    float half = lineWidth * 0.5f;
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) {
              return coverageFromDistance(std::fabs(sdRoundRect(x, y, x0, y0, x1, y1, radius)) - half, edge);
          },
          c, blend);
}

void Raster::fillCircle(float cx, float cy, float r, Color c, Blend blend, float edge) {
    Box b = boundsOf(cx - r, cy - r, cx + r, cy + r, edge);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) { return coverageFromDistance(std::hypot(x - cx, y - cy) - r, edge); }, c, blend);
}

void Raster::strokeCircle(float cx, float cy, float r, float lineWidth, Color c, Blend blend, float edge) {
    float half = lineWidth * 0.5f;
    Box b = boundsOf(cx - r, cy - r, cx + r, cy + r, edge + half);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) { return coverageFromDistance(std::fabs(std::hypot(x - cx, y - cy) - r) - half, edge); },
          c, blend);
}

void Raster::fillEllipse(float cx, float cy, float rx, float ry, Color c, Blend blend, float edge) {
    Box b = boundsOf(cx - rx, cy - ry, cx + rx, cy + ry, edge);
    float m = std::min(rx, ry);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) {
              float nx = (x - cx) / rx, ny = (y - cy) / ry;
              // First-order distance: (|p/r| - 1) scaled back by the smaller radius.
              return coverageFromDistance((std::sqrt(nx * nx + ny * ny) - 1.0f) * m, edge);
          },
          c, blend);
}

void Raster::strokeArc(float cx, float cy, float r, float lineWidth, float a0, float a1, Color c, Blend blend,
                       float edge, bool roundCaps) {
    if (a1 < a0) std::swap(a0, a1);
    float half = lineWidth * 0.5f;
    float mid = (a0 + a1) * 0.5f, span = (a1 - a0) * 0.5f;
    Vec2 p0{cx + r * std::cos(a0), cy + r * std::sin(a0)}, p1{cx + r * std::cos(a1), cy + r * std::sin(a1)};
    Box b = boundsOf(cx - r, cy - r, cx + r, cy + r, edge + half);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) {
              float dx = x - cx, dy = y - cy;
              float ang = std::atan2(dy, dx);
              float rel = std::remainder(ang - mid, 2.0f * kPi);
              float d;
              if (std::fabs(rel) <= span) {
                  d = std::fabs(std::hypot(dx, dy) - r) - half;
              } else if (roundCaps) {
                  d = std::min(std::hypot(x - p0.x, y - p0.y), std::hypot(x - p1.x, y - p1.y)) - half;
              } else {
                  // Flat caps: distance past the end along the arc, combined with the ring distance.
                  float over = (std::fabs(rel) - span) * std::hypot(dx, dy);
                  d = std::max(std::fabs(std::hypot(dx, dy) - r) - half, over);
              }
              return coverageFromDistance(d, edge);
          },
          c, blend);
}

void Raster::fillPolygon(const std::vector<Vec2>& points, Color c, Blend blend, float edge) {
    if (points.size() < 3) return;
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Vec2& p : points) {
        minX = std::min(minX, p.x); maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y); maxY = std::max(maxY, p.y);
    }
    Box b = boundsOf(minX, minY, maxX, maxY, edge);
    paint(b.x0, b.y0, b.x1, b.y1, [&](float x, float y) { return coverageFromDistance(sdPolygon(x, y, points), edge); },
          c, blend);
}

void Raster::drawLine(float x0, float y0, float x1, float y1, float lineWidth, Color c, Blend blend, float edge) {
    float half = lineWidth * 0.5f;
    Box b = boundsOf(x0, y0, x1, y1, edge + half);
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) { return coverageFromDistance(sdSegment(x, y, x0, y0, x1, y1) - half, edge); }, c,
          blend);
}

void Raster::strokePolyline(const std::vector<Vec2>& points, float lineWidth, bool closed, Color c, Blend blend,
                            float edge) {
    if (points.size() < 2) return;
    float minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const Vec2& p : points) {
        minX = std::min(minX, p.x); maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y); maxY = std::max(maxY, p.y);
    }
    float half = lineWidth * 0.5f;
    Box b = boundsOf(minX, minY, maxX, maxY, edge + half);
    size_t n = points.size();
    size_t segs = closed ? n : n - 1;
    paint(b.x0, b.y0, b.x1, b.y1,
          [&](float x, float y) {
              float d = 1e30f;
              for (size_t i = 0; i < segs; ++i) {
                  const Vec2& a = points[i];
                  const Vec2& q = points[(i + 1) % n];
                  d = std::min(d, sdSegment(x, y, a.x, a.y, q.x, q.y));
              }
              return coverageFromDistance(d - half, edge);
          },
          c, blend);
}

void Raster::linearGradient(float x0, float y0, float x1, float y1, Color c0, Color c1, Blend blend) {
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    shade(
        [&](float x, float y) {
            float t = len2 > 0.0f ? clampf(((x - x0) * dx + (y - y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
            return lerp(c0, c1, t);
        },
        blend);
}

void Raster::radialGradient(float cx, float cy, float radius, Color inner, Color outer, Blend blend) {
    shade(
        [&](float x, float y) {
            float t = radius > 0.0f ? clampf(std::hypot(x - cx, y - cy) / radius, 0.0f, 1.0f) : 1.0f;
            return lerp(inner, outer, t);
        },
        blend);
}

void Raster::composite(const Raster& src, int dx, int dy, Blend blend, float opacity) {
    for (int y = 0; y < src.h_; ++y) {
        int ty = y + dy;
        if (ty < 0 || ty >= h_) continue;
        for (int x = 0; x < src.w_; ++x) {
            int tx = x + dx;
            if (tx < 0 || tx >= w_) continue;
            at(tx, ty) = blendImagePixel(at(tx, ty), src.at(x, y), opacity, blend);
        }
    }
}

void Raster::drawScaled(const Raster& src, float dx, float dy, float dw, float dh, Blend blend, float opacity) {
    if (src.empty() || dw <= 0 || dh <= 0) return;
    // Shrinking more than 2x would alias: pre-filter with a box resize.
    const Raster* from = &src;
    Raster shrunk;
    if (dw < src.w_ * 0.5f || dh < src.h_ * 0.5f) {
        shrunk = src.resized(std::max(1, static_cast<int>(std::lround(dw))), std::max(1, static_cast<int>(std::lround(dh))));
        from = &shrunk;
    }
    float sx = static_cast<float>(from->w_) / dw, sy = static_cast<float>(from->h_) / dh;
    Box b = boundsOf(dx, dy, dx + dw, dy + dh, 0.0f);
    for (int y = std::max(b.y0, 0); y < std::min(b.y1, h_); ++y) {
        float py = static_cast<float>(y) + 0.5f;
        if (py < dy || py >= dy + dh) continue;
        for (int x = std::max(b.x0, 0); x < std::min(b.x1, w_); ++x) {
            float pxc = static_cast<float>(x) + 0.5f;
            if (pxc < dx || pxc >= dx + dw) continue;
            at(x, y) = blendImagePixel(at(x, y), from->sample((pxc - dx) * sx, (py - dy) * sy), opacity, blend);
        }
    }
}

void Raster::blur(float radius, bool wrap) {
    if (radius <= 0.0f || empty()) return;
    // Three box passes approximate a Gaussian whose sigma is about radius / 2.
    int r = std::max(1, static_cast<int>(std::lround(radius * 0.58f)));
    for (Color& c : px_) {
        c.r *= c.a; c.g *= c.a; c.b *= c.a;
    }
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(px_, w_, h_, r, true, wrap);
        boxPass(px_, w_, h_, r, false, wrap);
    }
    for (Color& c : px_) {
        if (c.a > 1e-6f) {
            c.r /= c.a; c.g /= c.a; c.b /= c.a;
        } else {
            c.a = 0.0f;
        }
    }
}

Raster Raster::blurred(float radius, bool wrap) const {
    Raster copy = *this;
    copy.blur(radius, wrap);
    return copy;
}

void Raster::glow(float radius, float strength, Color tint) {
    Raster halo = blurred(radius);
    for (size_t i = 0; i < px_.size(); ++i) {
        Color& d = px_[i];
        const Color& h = halo.px_[i];
        float ha = clampf(h.a * strength, 0.0f, 1.0f);
        Color hc{h.r * tint.r, h.g * tint.g, h.b * tint.b, 1.0f};
        // The halo goes under the image: the image stays on top where it is opaque.
        Color under = blendColor(Color{hc.r, hc.g, hc.b, 0.0f}, hc, ha, Blend::Over);
        d = blendColor(under, Color{d.r, d.g, d.b, 1.0f}, d.a, Blend::Over);
    }
}

void Raster::map(const std::function<Color(Color, int, int)>& f) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) at(x, y) = f(at(x, y), x, y);
}

void Raster::multiplyAlpha(float k) {
    for (Color& c : px_) c.a *= k;
}

void Raster::invertAlpha() {
    for (Color& c : px_) c.a = 1.0f - clampf(c.a, 0.0f, 1.0f);
}

void Raster::setAlpha(float a) {
    for (Color& c : px_) c.a = a;
}

void Raster::tint(Color t) {
    for (Color& c : px_) {
        c.r *= t.r; c.g *= t.g; c.b *= t.b;
    }
}

void Raster::clamp01() {
    for (Color& c : px_) {
        c.r = clampf(c.r, 0, 1); c.g = clampf(c.g, 0, 1); c.b = clampf(c.b, 0, 1); c.a = clampf(c.a, 0, 1);
    }
}

Raster Raster::resized(int width, int height) const {
    Raster out(width, height);
    if (empty() || out.empty()) return out;
    float sx = static_cast<float>(w_) / width, sy = static_cast<float>(h_) / height;
    for (int y = 0; y < height; ++y) {
        float fy0 = y * sy, fy1 = (y + 1) * sy;
        for (int x = 0; x < width; ++x) {
            float fx0 = x * sx, fx1 = (x + 1) * sx;
            if (sx <= 1.0f && sy <= 1.0f) {  // enlarging: bilinear
                out.at(x, y) = sample((x + 0.5f) * sx, (y + 0.5f) * sy);
                continue;
            }
            double r = 0, g = 0, b = 0, a = 0, wsum = 0;
            for (int iy = static_cast<int>(fy0); iy < static_cast<int>(std::ceil(fy1)) && iy < h_; ++iy) {
                float wy = std::min(fy1, iy + 1.0f) - std::max(fy0, static_cast<float>(iy));
                for (int ix = static_cast<int>(fx0); ix < static_cast<int>(std::ceil(fx1)) && ix < w_; ++ix) {
                    float wx = std::min(fx1, ix + 1.0f) - std::max(fx0, static_cast<float>(ix));
                    double wgt = static_cast<double>(wx) * wy;
                    const Color& c = at(ix, iy);
                    r += c.r * c.a * wgt; g += c.g * c.a * wgt; b += c.b * c.a * wgt; a += c.a * wgt;
                    wsum += wgt;
                }
            }
            Color o{};
            if (wsum > 0) {
                o.a = static_cast<float>(a / wsum);
                if (a > 1e-9) {
                    o.r = static_cast<float>(r / a); o.g = static_cast<float>(g / a); o.b = static_cast<float>(b / a);
                } else {
                    o.r = o.g = o.b = 1.0f;
                }
            }
            out.at(x, y) = o;
        }
    }
    return out;
}

Raster Raster::region(int x, int y, int width, int height) const {
    Raster out(width, height);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            if (x + i >= 0 && x + i < w_ && y + j >= 0 && y + j < h_) out.at(i, j) = at(x + i, y + j);
    return out;
}

}  // namespace gen
