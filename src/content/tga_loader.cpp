#include "content/tga_loader.h"

#include "app/file_io.h"
#include "content/texture_upload.h"

#include <GL/gl.h>

#include <cstdio>
#include <new>
#include <utility>

namespace {

constexpr size_t headerSize = 18;
// Far larger than any texture of ours (the biggest is 1024 x 1024); keeps a
// real but absurd file from taking gigabytes.
constexpr size_t maxPixels = size_t(1) << 26;

}  // namespace

bool decodeTga(const uint8_t* data, size_t size, TgaPixels& image) {
    image = TgaPixels{};
    // Identification length 0, no colour map, type 2, empty colour map fields and origin.
    static const uint8_t expected[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    if (!data || size < headerSize) return false;
    for (int i = 0; i < 12; ++i)
        if (data[i] != expected[i]) return false;
    const uint8_t* info = data + 12;
    const int width = info[0] + 256 * info[1];
    const int height = info[2] + 256 * info[3];
    const int bytesPerPixel = info[4] == 24 ? 3 : 4;
    if (width == 0 || height == 0) return false;

    // The pixel data must be in the file before anything is allocated for it.
    const size_t pixels = size_t(width) * size_t(height);
    const size_t bytes = pixels * size_t(bytesPerPixel);
    if (pixels > maxPixels || bytes > size - headerSize) return false;
    image.pixels.assign(data + headerSize, data + headerSize + bytes);
    for (size_t i = 0; i < bytes; i += size_t(bytesPerPixel)) std::swap(image.pixels[i], image.pixels[i + 2]);
    image.width = width;
    image.height = height;
    image.components = bytesPerPixel;
    return true;
}

namespace {

// readTga without its message: how the read went, and why it failed.
bool readTgaFile(const std::string& fileName, TgaPixels& image, ReadStatus& status, std::string& reason) {
    image = TgaPixels{};
    // The header first: it says how much of the file the image needs, and no
    // more than that is read.
    std::vector<uint8_t> bytes;
    status = readFileBounded(fileName, headerSize, bytes, &reason);
    if (status != ReadStatus::Ok || bytes.size() < headerSize) return false;
    const size_t pixels = size_t(bytes[12] + 256 * bytes[13]) * size_t(bytes[14] + 256 * bytes[15]);
    if (pixels > maxPixels) return false;
    const size_t needed = headerSize + pixels * (bytes[16] == 24 ? 3 : 4);
    try {
        status = readFileBounded(fileName, needed, bytes, &reason);
        return status == ReadStatus::Ok && decodeTga(bytes.data(), bytes.size(), image);
    } catch (const std::bad_alloc&) {
        image = TgaPixels{};
        return false;
    }
}

}  // namespace

bool readTga(const std::string& fileName, TgaPixels& image) {
    ReadStatus status = ReadStatus::Unreadable;
    std::string reason;
    if (readTgaFile(fileName, image, status, reason)) return true;
    // Every image the game asks for is part of base/: one line says which is left out.
    if (status == ReadStatus::Missing)
        std::fprintf(stderr, "Nightrun: image %s is missing; it is left out\n", fileName.c_str());
    else if (status == ReadStatus::Ok)
        std::fprintf(stderr, "Nightrun: image %s is damaged; it is left out\n", fileName.c_str());
    else
        std::fprintf(stderr, "Nightrun: image %s cannot be read (%s); it is left out\n", fileName.c_str(), reason.c_str());
    return false;
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
