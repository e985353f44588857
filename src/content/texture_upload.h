// Uploads 8-bit RGB or RGBA pixels (bottom row first, no row padding) as a 2D
// texture. Shared by the TGA and BMP loaders and the texture tables.
#pragma once

#include <cstdint>

struct TextureParams {
    int minFilter = 0;     // GL enum
    int magFilter = 0;     // GL enum
    int wrap = 0;          // GL enum for S and T; 0 leaves the defaults
    bool mipmaps = true;   // all levels down to 1 x 1, else level 0 only
};

// Uploads into `texture` (a name already generated); false when GL refuses
// the image (for example a size of 0).
bool uploadTexture(uint32_t texture, const uint8_t* pixels, int width, int height,
                   int components, const TextureParams& params);

// Generates a texture name and uploads into it; 0 on failure (the name is released).
uint32_t createTexture(const uint8_t* pixels, int width, int height, int components,
                       const TextureParams& params);

// Deletes a texture name unless it is 0, and sets it to 0.
void deleteTexture(uint32_t& texture);
