// Bitmap text in the 800 x 600 text space (y upward), two fonts from TGA 1.
#pragma once

void buildFonts();
void deleteFonts();
// printf-style text with the small font (10-unit advance on a 19-unit cell).
void printText(float x, float y, const char* format, ...);
// The same with the large font (13-unit advance on a 25-unit cell).
void printLargeText(float x, float y, const char* format, ...);

extern float textAlpha;
extern int textStyle;
