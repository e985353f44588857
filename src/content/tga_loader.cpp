#include "content/tga_loader.h"

#include "content/texture_upload.h"

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <new>
#include <utility>

namespace {

struct FileClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool readTga(const std::string& fileName, TgaPixels& image) {
    image = TgaPixels{};
    std::unique_ptr<std::FILE, FileClose> file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return false;

    // Identification length 0, no colour map, type 2, empty colour map fields and origin.
    static const uint8_t expected[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    uint8_t header[12];
    if (std::fread(header, 1, 12, file.get()) != 12) return false;
    for (int i = 0; i < 12; ++i)
        if (header[i] != expected[i]) return false;

    uint8_t info[6];
    if (std::fread(info, 1, 6, file.get()) != 6) return false;
    const int width = info[0] + 256 * info[1];
    const int height = info[2] + 256 * info[3];
    const int bytesPerPixel = info[4] == 24 ? 3 : 4;
    if (width == 0 || height == 0) return false;

    const size_t size = size_t(width) * size_t(height) * size_t(bytesPerPixel);
    try {
        image.pixels.resize(size);
    } catch (const std::bad_alloc&) {
        image = TgaPixels{};
        return false;
    }
    if (std::fread(image.pixels.data(), 1, size, file.get()) != size) {
        image = TgaPixels{};
        return false;
    }
    for (size_t i = 0; i < size; i += size_t(bytesPerPixel)) std::swap(image.pixels[i], image.pixels[i + 2]);
    image.width = width;
    image.height = height;
    image.components = bytesPerPixel;
    return true;
}

uint32_t loadTgaTexture(const std::string& fileName) {
    TgaPixels tga;
    if (!readTga(fileName, tga)) return 0;
    TextureParams params;
    params.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    params.magFilter = GL_LINEAR;
    params.wrap = GL_REPEAT;
    return createTexture(tga.pixels.data(), tga.width, tga.height, tga.components, params);
}

bool loadTgaImage(TextureImage& image, const std::string& fileName, int filterMode) {
    freeTextureImage(image, true);
    TgaPixels tga;
    if (!readTga(fileName, tga)) return false;
    TextureParams params;
    switch (filterMode) {
    case 1: params.minFilter = params.magFilter = GL_LINEAR; break;
    case 2: params.minFilter = params.magFilter = GL_NEAREST; break;
    default:
        params.minFilter = GL_LINEAR_MIPMAP_LINEAR;
        params.magFilter = GL_LINEAR;
        break;
    }
    uint32_t texture = createTexture(tga.pixels.data(), tga.width, tga.height, tga.components, params);
    if (texture == 0) return false;
    image.texture = texture;
    image.width = tga.width;
    image.height = tga.height;
    image.components = tga.components;
    image.pixels = std::move(tga.pixels);
    return true;
}

void freeTextureImage(TextureImage& image, bool deleteGlTexture) {
    if (deleteGlTexture) deleteTexture(image.texture);
    image = TextureImage{};
}
