// Bitmap text in the 800 x 600 text space (x right, y up from the bottom
// left), whatever the window size. Both fonts are display lists over the
// 16 x 16 glyph grid of TGA 1, glyph n being character code n.
#pragma once

// Builds the small then the large font (256 display lists each). Needs a GL
// context and TGA 1 loaded; called by the renderer set-up.
void buildFonts();
// Deletes both sets of lists; harmless when they were never built.
void deleteFonts();

// printf-style text with the small font: 19-unit glyphs, 10-unit advance,
// drawn 3 units below y. The formatted text is cut at 255 characters; a null
// format prints nothing. Afterwards depth testing is on, blending off, the
// blend function one / one and the colour opaque white.
void printText(float x, float y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The same with the large font (25-unit glyphs, 13-unit advance, drawn at y);
// it leaves its text colour set.
void printLargeText(float x, float y, const char* format, ...) __attribute__((format(printf, 3, 4)));

// Alpha of all printed text (the front end fades it with its screens).
extern float textAlpha;
// 0 white, 1 orange (1, 0.5, 0), 2 green (large font only); any other value
// keeps the current colour.
extern int textStyle;

namespace textStyles {
constexpr int white = 0;
constexpr int orange = 1;
constexpr int green = 2;
}  // namespace textStyles
