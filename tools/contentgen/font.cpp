#include "font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <stdexcept>

namespace gen {

struct Font::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string path;

    void setSize(const TextStyle& style) const {
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(std::lround(style.size * 64.0f)), 72, 72);
        FT_Matrix m;
        m.xx = static_cast<FT_Fixed>(std::lround(style.xScale * 65536.0f));
        m.xy = static_cast<FT_Fixed>(std::lround(style.slant * 65536.0f));
        m.yx = 0;
        m.yy = 0x10000;
        FT_Set_Transform(face, &m, nullptr);
    }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    impl_->path = path;
    if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType initialisation failed");
    if (FT_New_Face(impl_->library, path.c_str(), 0, &impl_->face) != 0) {
        FT_Done_FreeType(impl_->library);
        impl_->library = nullptr;
        std::string package;
        for (const SystemFontFace& face : systemFontFaces())
            if (path == dejavuFont(face.file)) package = face.package;
        throw std::runtime_error("cannot open font " + path +
                                 (package.empty() ? "" : " (install the Debian package " + package + ")"));
    }
}

Font::~Font() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool Font::hasGlyph(uint32_t codepoint) const { return FT_Get_Char_Index(impl_->face, codepoint) != 0; }

Font::Glyph Font::glyph(uint32_t codepoint, const TextStyle& style) const {
    Glyph g;
    impl_->setSize(style);
    FT_Face face = impl_->face;
    FT_UInt index = FT_Get_Char_Index(face, codepoint);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return g;
    if (style.embolden > 0.0f && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Embolden(&face->glyph->outline, static_cast<FT_Pos>(std::lround(style.embolden * 64.0f)));
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.advance = static_cast<float>(face->glyph->advance.x) / 64.0f + style.embolden;
    g.image = Raster(static_cast<int>(bm.width), static_cast<int>(bm.rows), palette::clear);
    for (unsigned y = 0; y < bm.rows; ++y)
        for (unsigned x = 0; x < bm.width; ++x) {
            uint8_t v = bm.buffer[static_cast<ptrdiff_t>(y) * bm.pitch + x];
            g.image.at(static_cast<int>(x), static_cast<int>(y)).a = static_cast<float>(v) / 255.0f;
        }
    return g;
}

float Font::ascender(const TextStyle& style) const {
    impl_->setSize(style);
    return static_cast<float>(impl_->face->size->metrics.ascender) / 64.0f;
}

float Font::descender(const TextStyle& style) const {
    impl_->setSize(style);
    return static_cast<float>(impl_->face->size->metrics.descender) / 64.0f;
}

float Font::measure(const std::string& utf8, const TextStyle& style) const {
    std::u32string text = decodeUtf8(utf8);
    float w = 0;
    impl_->setSize(style);
    for (size_t i = 0; i < text.size(); ++i) {
        FT_UInt index = FT_Get_Char_Index(impl_->face, text[i]);
        if (FT_Load_Glyph(impl_->face, index, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) continue;
        w += static_cast<float>(impl_->face->glyph->advance.x) / 64.0f + style.embolden;
        if (i + 1 < text.size()) w += style.tracking;
    }
    return w;
}

void Font::draw(Raster& dst, const std::string& utf8, float x, float baselineY, const TextStyle& style, Color color,
                float align, Blend blend) const {
    float pen = x - measure(utf8, style) * align;
    for (char32_t ch : decodeUtf8(utf8)) {
        Glyph g = glyph(ch, style);
        if (!g.image.empty()) {
            int gx = static_cast<int>(std::lround(pen)) + g.left;
            int gy = static_cast<int>(std::lround(baselineY)) - g.top;
            for (int yy = 0; yy < g.image.height(); ++yy)
                for (int xx = 0; xx < g.image.width(); ++xx)
                    dst.blendPixel(gx + xx, gy + yy, color, g.image.at(xx, yy).a, blend);
        }
        pen += g.advance + style.tracking;
    }
}

Raster Font::render(const std::string& utf8, const TextStyle& style, int pad) const {
    // Measure the ink box first, then draw into a raster of exactly that size.
    std::u32string text = decodeUtf8(utf8);
    float pen = 0;
    int minX = 1 << 20, minY = 1 << 20, maxX = -(1 << 20), maxY = -(1 << 20);
    for (char32_t ch : text) {
        Glyph g = glyph(ch, style);
        if (!g.image.empty()) {
            int gx = static_cast<int>(std::lround(pen)) + g.left;
            minX = std::min(minX, gx);
            maxX = std::max(maxX, gx + g.image.width());
            minY = std::min(minY, -g.top);
            maxY = std::max(maxY, -g.top + g.image.height());
        }
        pen += g.advance + style.tracking;
    }
    if (minX > maxX) return Raster(1 + 2 * pad, 1 + 2 * pad, palette::clear);
    Raster out(maxX - minX + 2 * pad, maxY - minY + 2 * pad, palette::clear);
    draw(out, utf8, static_cast<float>(pad - minX), static_cast<float>(pad - minY), style, palette::white);
    return out;
}

const std::vector<SystemFontFace>& systemFontFaces() {
    static const std::vector<SystemFontFace> faces = {
        {"DejaVuSans.ttf", "fonts-dejavu-core"},
        {"DejaVuSans-Bold.ttf", "fonts-dejavu-core"},
        {"DejaVuSansMono-Bold.ttf", "fonts-dejavu-core"},
        {"DejaVuSansCondensed-Bold.ttf", "fonts-dejavu-extra"},
    };
    return faces;
}

std::string dejavuFont(const std::string& file) {
    bool listed = false;
    for (const SystemFontFace& face : systemFontFaces()) listed = listed || file == face.file;
    if (!listed) throw std::runtime_error("font face " + file + " is not in the generator's list of system fonts");
    return "/usr/share/fonts/truetype/dejavu/" + file;
}

uint32_t cp1252ToUnicode(uint8_t code) {
    static const uint16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (code >= 0x80 && code < 0xA0) return high[code - 0x80];
    return code;
}

std::u32string decodeUtf8(const std::string& s) {
    std::u32string out;
    size_t i = 0;
    while (i < s.size()) {
        uint8_t c = static_cast<uint8_t>(s[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        char32_t cp = extra == 0 ? c : (c & (0x3F >> extra));
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= s.size() || (static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

}  // namespace gen
