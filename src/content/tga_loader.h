// Uncompressed true-colour TGA files (image type 2, no identification field,
// no colour map, 24 or 32 bits, bottom row first) and their upload as textures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One decoded TGA: RGB or RGBA bytes, bottom row first, no row padding.
struct TgaPixels {
    int width = 0;
    int height = 0;
    int components = 0;  // 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels;
};

// One entry of the TGA texture table; the pixels stay after the upload.
struct TextureImage {
    uint32_t texture = 0;  // GL texture name, 0 = none
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    int components = 0;
};

// Converts a TGA image in memory, BGR(A) to RGB(A). False for a header other
// than the one above, a size of 0, more than 2^26 pixels, or pixel data that the
// bytes do not hold (checked before anything is allocated). A depth other than
// 24 bits is read as 32.
bool decodeTga(const uint8_t* data, size_t size, TgaPixels& image);
// The same from a file; false also for a missing file or anything but a regular
// file, and then one line on the standard error stream names the file.
bool readTga(const std::string& fileName, TgaPixels& image);

// For model materials: trilinear filtering, repeat wrap, all mipmap levels; the
// pixels are not kept. Returns the GL texture name, 0 on failure.
uint32_t loadTgaTexture(const std::string& fileName);

// For the texture table. Filter mode 0: trilinear; 1: linear; 2: nearest; all
// mipmap levels in every mode; wrap left at the defaults. Replaces whatever the
// record held. False (and an empty record) on failure.
bool loadTgaImage(TextureImage& image, const std::string& fileName, int filterMode);

// Releases the pixels and, when asked, the GL texture.
void freeTextureImage(TextureImage& image, bool deleteGlTexture);
