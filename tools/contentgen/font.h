// Text through FreeType for generated art: glyphs come out as white coverage
// rasters that callers tint and composite. Each Font owns its own FreeType
// library instance, so different jobs may use fonts on different threads; one
// Font object must not be shared between threads.
#pragma once

#include "raster.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace gen {

struct TextStyle {
    float size = 16.0f;     // pixel size of the em square
    float xScale = 1.0f;    // horizontal squeeze or stretch of the outlines
    float slant = 0.0f;     // shear: x += slant * height above the baseline
    float embolden = 0.0f;  // extra stroke weight in pixels
    float tracking = 0.0f;  // extra space between characters, pixels
};

class Font {
public:
    // Throws std::runtime_error when the font cannot be opened.
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    struct Glyph {
        Raster image;        // white, alpha = coverage
        int left = 0;        // offset from the pen position to the image's left column
        int top = 0;         // rows of the image above the baseline
        float advance = 0;   // pen advance in pixels
    };

    bool hasGlyph(uint32_t codepoint) const;
    Glyph glyph(uint32_t codepoint, const TextStyle& style) const;
    float ascender(const TextStyle& style) const;
    float descender(const TextStyle& style) const;  // negative: below the baseline
    // Width of UTF-8 text from the first pen position to the last advance.
    float measure(const std::string& utf8, const TextStyle& style) const;
    // Draws UTF-8 text with its baseline at y; align 0 puts the text's start at x,
    // 0.5 centres it on x, 1 ends it at x.
    void draw(Raster& dst, const std::string& utf8, float x, float baselineY, const TextStyle& style, Color color,
              float align = 0.0f, Blend blend = Blend::Over) const;
    // Text in a tight white-on-transparent raster with pad pixels around it.
    Raster render(const std::string& utf8, const TextStyle& style, int pad = 0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Path of a DejaVu font file in the system font directory, e.g. "DejaVuSans-Bold.ttf".
// Only the faces listed in systemFontFaces() may be asked for; any other throws.
std::string dejavuFont(const std::string& file);

// Every system font face the generator opens, with the Debian package that
// provides it (the setup script installs these packages).
struct SystemFontFace {
    const char* file;
    const char* package;
};
const std::vector<SystemFontFace>& systemFontFaces();
// Unicode code point of a Windows-1252 character; 0 for the five undefined codes.
uint32_t cp1252ToUnicode(uint8_t code);
// Decodes UTF-8 (invalid bytes become U+FFFD).
std::u32string decodeUtf8(const std::string& utf8);

}  // namespace gen
