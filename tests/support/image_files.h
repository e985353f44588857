// Small image files for loader tests, encoded by the content generator's own
// TGA and BMP writers, and a plain byte writer. Tests of malformed or unusual
// layouts build their bytes by hand instead.
#pragma once

#include "image_writers.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace test_support {

// Writes bytes to path, creating its parent directories; false on failure.
inline bool writeFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// An 8-bit colour as a generator colour; the encoders give back the same bytes.
inline gen::Color byteColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    return gen::Color{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

// Solid-colour 24-bit TGA and BMP files, and a 32-bit TGA.
inline std::vector<uint8_t> solidTga(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    return gen::encodeTga(gen::Raster(width, height, byteColour(r, g, b)), false);
}
inline std::vector<uint8_t> solidBmp(int width, int height, uint8_t r, uint8_t g, uint8_t b) {
    return gen::encodeBmp(gen::Raster(width, height, byteColour(r, g, b)));
}
inline std::vector<uint8_t> solidTga32(int width, int height, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return gen::encodeTga(gen::Raster(width, height, byteColour(r, g, b, a)), true);
}

// A 32-bit TGA whose pixel (x, y), y counted from the bottom row as the file
// stores it, is pick(x, y) as {r, g, b, a}.
template <typename Pick>
std::vector<uint8_t> tga32(int width, int height, Pick pick) {
    gen::Raster image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::array<uint8_t, 4> rgba = pick(x, y);
            image.at(x, height - 1 - y) = byteColour(rgba[0], rgba[1], rgba[2], rgba[3]);
        }
    }
    return gen::encodeTga(image, true);
}

}  // namespace test_support
