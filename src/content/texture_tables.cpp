#include "content/texture_tables.h"

#include "content/bmp_loader.h"
#include "content/texture_upload.h"

#include <GL/gl.h>

#include <cstdio>
#include <vector>

std::array<TextureImage, TgaTableSize> TgaTable;
std::array<uint32_t, BmpTableSize> BmpTable{};
std::array<uint32_t, 4> LoadingTextures{};

namespace {

std::string tablePath(int index, const char* extension) {
    char name[64];
    std::snprintf(name, sizeof name, "base/textures/tex%02d.%s", index, extension);
    return name;
}

int loadTgaRange(int first, int last) {
    int loaded = 0;
    for (int i = first; i <= last; ++i)
        if (loadTgaImage(TgaTable[size_t(i)], tgaTablePath(i), 0)) ++loaded;
    return loaded;
}

void deleteAll(uint32_t* names, size_t count) {
    for (size_t i = 0; i < count; ++i) deleteTexture(names[i]);
}

// Decodes every file (stopping at the first that fails) and only then creates
// one texture per file; on failure every name stays 0.
bool loadBmpSet(const int* indices, size_t count, uint32_t* names, bool (*unfiltered)(int)) {
    deleteAll(names, count);
    std::vector<platform::BmpImage> images(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string path = bmpTablePath(indices[i]);
        if (!bmpFileExists(path) || !decodeBmp(path, images[i])) return false;
    }
    std::vector<GLuint> generated(count);
    glGenTextures(GLsizei(count), generated.data());
    for (size_t i = 0; i < count; ++i) {
        TextureParams params;
        if (unfiltered(indices[i])) {
            params.minFilter = params.magFilter = GL_NEAREST;
            params.mipmaps = false;
        } else {
            params.minFilter = GL_LINEAR_MIPMAP_NEAREST;
            params.magFilter = GL_LINEAR;
        }
        const platform::BmpImage& image = images[i];
        uploadTexture(generated[i], image.rgb.data(), image.width, image.height, 3, params);
        names[i] = generated[i];
    }
    return true;
}

// Neon glow, the garage floor and the car shadow are sampled texel for texel.
bool unfilteredBmpEntry(int index) { return index >= 3 && index <= 5; }
bool neverUnfiltered(int) { return false; }

}  // namespace

std::string tgaTablePath(int index) { return tablePath(index, "tga"); }
std::string bmpTablePath(int index) { return tablePath(index, "bmp"); }

int loadTgaTableBase() { return loadTgaRange(0, FirstVinylTga - 1); }
int loadTgaTableVinyls() { return loadTgaRange(FirstVinylTga, TgaTableSize - 1); }

void releaseTgaTableVinyls() {
    for (int i = FirstVinylTga; i < TgaTableSize; ++i) freeTextureImage(TgaTable[size_t(i)], true);
}

bool loadBmpTable() {
    int indices[BmpTableSize];
    for (int i = 0; i < BmpTableSize; ++i) indices[i] = i;
    return loadBmpSet(indices, BmpTableSize, BmpTable.data(), unfilteredBmpEntry);
}

bool loadLoadingTextures() {
    static const int indices[4] = {42, 41, 37, 40};
    return loadBmpSet(indices, 4, LoadingTextures.data(), neverUnfiltered);
}

void releaseTextureTables() {
    for (TextureImage& image : TgaTable) freeTextureImage(image, true);
    deleteAll(BmpTable.data(), BmpTable.size());
    deleteAll(LoadingTextures.data(), LoadingTextures.size());
}
