#include "app/bitmap_text.h"

#include "content/texture_tables.h"
#include "platform/platform.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>

float textAlpha = 1.0f;
int textStyle = textStyles::white;

namespace {

constexpr int glyphCount = 256;
constexpr int fontTextureIndex = 1;

struct FontMetrics {
    float cell;     // glyph quad size in text units
    float advance;  // pen movement per character
    float yOffset;  // drawn this far above the given y
    bool hasGreen;  // whether style 2 applies
};

constexpr FontMetrics smallFont{19.0f, 10.0f, -3.0f, false};
constexpr FontMetrics largeFont{25.0f, 13.0f, 0.0f, true};

GLuint smallFontBase = 0;
GLuint largeFontBase = 0;

GLuint buildFont(const FontMetrics& font) {
    const GLuint base = glGenLists(glyphCount);
    if (base == 0) return 0;
    constexpr float cellUv = 1.0f / 16.0f;
    for (int n = 0; n < glyphCount; ++n) {
        const float u = float(n % 16) / 16.0f;
        const float vTop = 1.0f - float(n / 16) / 16.0f;
        const float vBottom = vTop - cellUv;
        glNewList(base + GLuint(n), GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(u, vBottom);
        glVertex2f(0.0f, 0.0f);
        glTexCoord2f(u + cellUv, vBottom);
        glVertex2f(font.cell, 0.0f);
        glTexCoord2f(u + cellUv, vTop);
        glVertex2f(font.cell, font.cell);
        glTexCoord2f(u, vTop);
        glVertex2f(0.0f, font.cell);
        glEnd();
        glTranslatef(font.advance, 0.0f, 0.0f);
        glEndList();
    }
    return base;
}

void deleteFont(GLuint& base) {
    if (base != 0 && platform::hasGlContext()) glDeleteLists(base, glyphCount);
    base = 0;
}

void setStyleColour(const FontMetrics& font) {
    switch (textStyle) {
    case textStyles::white:
        glColor4f(1.0f, 1.0f, 1.0f, textAlpha);
        break;
    case textStyles::orange:
        glColor4f(1.0f, 0.5f, 0.0f, textAlpha);
        break;
    case textStyles::green:
        if (font.hasGreen) glColor4f(0.0f, 1.0f, 0.0f, textAlpha);
        break;
    default:
        break;
    }
}

void printWith(const FontMetrics& font, GLuint base, float x, float y, const char* format, va_list args) {
    char text[256];
    const int length = std::vsnprintf(text, sizeof text, format, args);
    if (length < 0) return;
    const int count = length < int(sizeof text) ? length : int(sizeof text) - 1;

    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(x, y + font.yOffset, 0.0f);

    glListBase(base);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    setStyleColour(font);
    glBindTexture(GL_TEXTURE_2D, TgaTable[fontTextureIndex].texture);
    // Unsigned bytes, so codes 128..255 select their own glyphs.
    if (base != 0 && count > 0) glCallLists(count, GL_UNSIGNED_BYTE, text);

    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glBlendFunc(GL_ONE, GL_ONE);
}

}  // namespace

// Each window brings a new context, so earlier bases are simply replaced.
void buildFonts() {
    smallFontBase = buildFont(smallFont);
    largeFontBase = buildFont(largeFont);
}

void deleteFonts() {
    deleteFont(smallFontBase);
    deleteFont(largeFontBase);
}

void printText(float x, float y, const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    printWith(smallFont, smallFontBase, x, y, format, args);
    va_end(args);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void printLargeText(float x, float y, const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    printWith(largeFont, largeFontBase, x, y, format, args);
    va_end(args);
}
