// The bitmap font: 256 glyphs in a 16 x 16 grid of 64-pixel cells. The game
// draws a cell as a 19-unit square (25 for the large font) and advances 10 (13)
// units, so each glyph is a narrow monospaced character centred in its cell, its
// baseline about 4/19 of the cell above the cell's bottom edge.
#include "font.h"
#include "interface_art.h"

#include <cmath>

namespace gen::ui {

namespace {
constexpr int kCell = 64;
constexpr float kUnit = kCell / 19.0f;  // pixels per text unit of the small font
}  // namespace

bool fontCodeHasGlyph(int code) {
    if (code <= 32 || code == 127 || code == 0xA0 || code > 255) return false;
    return cp1252ToUnicode(static_cast<uint8_t>(code)) != 0;
}

Raster fontSheet() {
    Raster sheet(16 * kCell, 16 * kCell, palette::clear);
    Font font(dejavuFont("DejaVuSansMono-Bold.ttf"));
    TextStyle style;
    style.size = 15.0f * kUnit;  // a 9-unit wide monospaced glyph: one unit of air at a 10-unit advance
    const float baseline = kCell - 4.0f * kUnit;
    for (int code = 0; code < 256; ++code) {
        if (!fontCodeHasGlyph(code)) continue;
        uint32_t cp = cp1252ToUnicode(static_cast<uint8_t>(code));
        if (cp == 0xAD) cp = '-';  // the soft hyphen would render empty
        if (!font.hasGlyph(cp)) cp = '?';
        Font::Glyph g = font.glyph(cp, style);
        if (g.image.empty()) continue;
        int cx = (code % 16) * kCell, cy = (code / 16) * kCell;
        // Centre the advance box in the cell, so every glyph sits where its neighbours expect it.
        float pen = cx + (kCell - g.advance) * 0.5f;
        int gx = static_cast<int>(std::lround(pen)) + g.left;
        int gy = cy + static_cast<int>(std::lround(baseline)) - g.top;
        for (int y = 0; y < g.image.height(); ++y)
            for (int x = 0; x < g.image.width(); ++x) {
                int px = gx + x, py = gy + y;
                // Keep every glyph inside its own cell so mipmaps do not mix neighbours.
                if (px < cx + 1 || px >= cx + kCell - 1 || py < cy + 1 || py >= cy + kCell - 1) continue;
                sheet.blendPixel(px, py, palette::white, g.image.at(x, y).a, Blend::Max);
            }
    }
    return sheet;
}

}  // namespace gen::ui
