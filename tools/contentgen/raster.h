// An RGBA float raster with the drawing operations the generated art needs.
// Coordinates are pixels with y growing DOWN from the top row (row 0 is the top
// of the picture); the image writers turn that into each file's row order.
// Pixel (x, y) covers [x, x+1) x [y, y+1); its centre is (x + 0.5, y + 0.5).
// Colours are straight (not premultiplied) alpha, nominally 0..1; values above 1
// are kept (useful for additive light) and clamped only when written to a file.
// Every operation is deterministic and single-threaded.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace gen {

struct Color {
    float r = 0, g = 0, b = 0, a = 0;
};

// 0xRRGGBB with an alpha of a.
Color rgb(uint32_t hex, float a = 1.0f);
Color lerp(const Color& c0, const Color& c1, float t);
Color withAlpha(Color c, float a);
Color scaled(Color c, float k);  // rgb times k, alpha kept

// The game's palette: dark night blues and the neon orange accent.
namespace palette {
inline const Color orange{1.0f, 0.52f, 0.08f, 1.0f};
inline const Color amber{1.0f, 0.72f, 0.25f, 1.0f};
inline const Color white{1, 1, 1, 1};
inline const Color black{0, 0, 0, 1};
inline const Color night{0.035f, 0.045f, 0.075f, 1.0f};
inline const Color steel{0.16f, 0.18f, 0.22f, 1.0f};
inline const Color clear{1, 1, 1, 0};  // white, fully transparent: the base of white-with-alpha art
}  // namespace palette

struct Vec2 {
    float x = 0, y = 0;
};

enum class Blend {
    Over,      // source over destination (straight alpha)
    Add,       // rgb += src.rgb * src.a * coverage; alpha = max
    Max,       // per channel maximum, weighted by coverage
    Multiply,  // rgb *= mix(1, src.rgb, src.a * coverage); alpha kept
    Replace,   // all four channels move to the source by coverage
    SetAlpha,  // alpha moves to src.a by coverage; rgb kept
    Erase,     // alpha *= 1 - src.a * coverage
};

class Raster {
public:
    Raster() = default;
    Raster(int width, int height, Color fill = Color{});

    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return w_ <= 0 || h_ <= 0; }

    Color& at(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Color& at(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    // Out-of-range coordinates clamp to the edge, or wrap when wrap is set.
    Color get(int x, int y, bool wrap = false) const;
    // Bilinear sample at a pixel-space position (pixel centres at +0.5).
    Color sample(float x, float y, bool wrap = false) const;

    // Blends one colour into a pixel with the given coverage (0..1); ignores outside pixels.
    void blendPixel(int x, int y, Color c, float coverage, Blend blend = Blend::Over);

    void fill(Color c);
    // Coverage painter: the callback gives coverage 0..1 at a pixel centre, for the pixels in
    // the box [x0, x1) x [y0, y1) (clipped to the raster).
    void paint(int x0, int y0, int x1, int y1, const std::function<float(float x, float y)>& coverage,
               Color c, Blend blend = Blend::Over);
    // Shader painter: the callback gives the colour (its alpha is the coverage) at a pixel centre.
    void shade(int x0, int y0, int x1, int y1, const std::function<Color(float x, float y)>& shader,
               Blend blend = Blend::Over);
    void shade(const std::function<Color(float x, float y)>& shader, Blend blend = Blend::Over);

    // Anti-aliased shapes. edge is the width of the soft edge in pixels (1 = crisp);
    // larger values give soft, glowing shapes.
    void fillRect(float x0, float y0, float x1, float y1, Color c, Blend blend = Blend::Over, float edge = 1.0f);
    void fillRoundRect(float x0, float y0, float x1, float y1, float radius, Color c,
                       Blend blend = Blend::Over, float edge = 1.0f);
    void strokeRoundRect(float x0, float y0, float x1, float y1, float radius, float lineWidth, Color c,
                         Blend blend = Blend::Over, float edge = 1.0f);
    void fillCircle(float cx, float cy, float r, Color c, Blend blend = Blend::Over, float edge = 1.0f);
    void strokeCircle(float cx, float cy, float r, float lineWidth, Color c, Blend blend = Blend::Over,
                      float edge = 1.0f);
    void fillEllipse(float cx, float cy, float rx, float ry, Color c, Blend blend = Blend::Over, float edge = 1.0f);
    // Ring segment from angle a0 to a1 (radians, 0 = +x, growing clockwise on screen since y is down).
    void strokeArc(float cx, float cy, float r, float lineWidth, float a0, float a1, Color c,
                   Blend blend = Blend::Over, float edge = 1.0f, bool roundCaps = false);
    // Polygon with the non-zero winding rule; any orientation.
    void fillPolygon(const std::vector<Vec2>& points, Color c, Blend blend = Blend::Over, float edge = 1.0f);
    void drawLine(float x0, float y0, float x1, float y1, float lineWidth, Color c, Blend blend = Blend::Over,
                  float edge = 1.0f);
    void strokePolyline(const std::vector<Vec2>& points, float lineWidth, bool closed, Color c,
                        Blend blend = Blend::Over, float edge = 1.0f);

    // Gradients over the whole raster (or the given box), blended in.
    void linearGradient(float x0, float y0, float x1, float y1, Color c0, Color c1, Blend blend = Blend::Over);
    void radialGradient(float cx, float cy, float radius, Color inner, Color outer, Blend blend = Blend::Over);

    // Draws src with its top-left corner at (dx, dy), opacity scaling its alpha.
    void composite(const Raster& src, int dx, int dy, Blend blend = Blend::Over, float opacity = 1.0f);
    // Draws src stretched into the box (dx, dy, dw, dh) with bilinear filtering.
    void drawScaled(const Raster& src, float dx, float dy, float dw, float dh, Blend blend = Blend::Over,
                    float opacity = 1.0f);

    // Gaussian-like blur (three box passes) of premultiplied colour; wrap for tiling images.
    void blur(float radius, bool wrap = false);
    Raster blurred(float radius, bool wrap = false) const;
    // For a layer on a transparent background: puts a soft halo of its own light around it
    // (a blurred, tinted copy) below the layer. Composite the result onto the backdrop.
    void glow(float radius, float strength, Color tint = palette::white);

    // Per-pixel map: f(colour, x, y) returns the new colour.
    void map(const std::function<Color(Color c, int x, int y)>& f);
    void multiplyAlpha(float k);
    void invertAlpha();
    void setAlpha(float a);
    void tint(Color c);           // rgb *= c.rgb
    void clamp01();

    // Box-filtered resize (down or up); region copy.
    Raster resized(int width, int height) const;
    Raster region(int x, int y, int width, int height) const;

    const std::vector<Color>& pixels() const { return px_; }
    std::vector<Color>& pixels() { return px_; }

private:
    int w_ = 0, h_ = 0;
    std::vector<Color> px_;
};

// Signed distances (negative inside), useful for custom paint() callbacks.
float sdRoundRect(float x, float y, float x0, float y0, float x1, float y1, float radius);
float sdSegment(float x, float y, float ax, float ay, float bx, float by);
float sdPolygon(float x, float y, const std::vector<Vec2>& points);
// Coverage of a pixel from a signed distance and the edge width.
float coverageFromDistance(float d, float edge = 1.0f);

}  // namespace gen
