// 8-bit RGB images for picture comparisons: read and written as PNG, shrunk
// by averaging square blocks.
#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace test_support {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // rows top to bottom, three bytes a pixel
    const uint8_t* at(int x, int y) const { return &pixels[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

inline bool readPng(const std::string& path, RgbImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return false;
    png.format = PNG_FORMAT_RGB;
    image.width = int(png.width);
    image.height = int(png.height);
    image.pixels.assign(PNG_IMAGE_SIZE(png), 0);
    const bool ok = png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) != 0;
    png_image_free(&png);
    return ok;
}

inline bool writePng(const std::string& path, const RgbImage& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr) != 0;
}

// Each block of factor x factor pixels becomes their average.
inline RgbImage shrink(const RgbImage& image, int factor) {
    RgbImage out;
    out.width = image.width / factor;
    out.height = image.height / factor;
    out.pixels.resize(size_t(out.width) * size_t(out.height) * 3);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx) sum += image.at(x * factor + dx, y * factor + dy)[c];
                out.pixels[(size_t(y) * size_t(out.width) + size_t(x)) * 3 + size_t(c)] =
                    uint8_t(sum / (factor * factor));
            }
        }
    }
    return out;
}

}  // namespace test_support
