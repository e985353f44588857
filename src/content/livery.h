// Liveries: the painted body texture of each race-car slot, composed in the
// frame buffer from the paint colour, the two vinyl images, the body template
// and the reflection mask of the TGA table.
#pragma once

#include <cstdint>

// TGA table images of a body model 0..5 (any car model is reduced mod 6).
int liveryTemplateImage(int carModel);
int reflectionMaskImage(int carModel);
// TGA table images of a vinyl field value: 0 gives the plain image 40, k = 1..20
// gives 60 + k on top and 40 + k on the side; other values give -1 (no image).
int vinylTopImage(int vinyl);
int vinylSideImage(int vinyl);

// Paints a 1024 x 1024 RGBA texture: colour = paint under the top and side
// vinyls under the body template, alpha = the reflection mask's alpha. Built
// 256 x 256 at a time at the frame buffer's origin (which needs an alpha
// channel), so any window of at least 256 x 256 will do. Restores the
// projection and sets the viewport back to the window resolution.
void composeLivery(uint32_t texture, int carModel, float red, float green, float blue, int topVinyl,
                   int sideVinyl);

// Paints liveryTexture of a race-car slot 0..3 (other slots do nothing).
void paintLivery(int slot, int carModel, float red, float green, float blue, int topVinyl, int sideVinyl);
