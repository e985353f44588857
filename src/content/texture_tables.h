// The numbered texture tables the rest of the game indexes:
//   TgaTable        base/textures/tex00.tga .. tex80.tga (41..80 are the vinyls)
//   BmpTable        base/textures/tex00.bmp .. tex50.bmp, all or nothing
//   LoadingTextures tex42, tex41, tex37 and tex40 .bmp, for the loading screen
// Paths are relative to the working directory. All need a current GL context.
#pragma once

#include "content/tga_loader.h"

#include <array>
#include <cstdint>
#include <string>

constexpr int TgaTableSize = 81;
constexpr int BmpTableSize = 51;
constexpr int FirstVinylTga = 41;

extern std::array<TextureImage, TgaTableSize> TgaTable;
extern std::array<uint32_t, BmpTableSize> BmpTable;
extern std::array<uint32_t, 4> LoadingTextures;

// "base/textures/texNN.tga" / ".bmp", the index written with two digits.
std::string tgaTablePath(int index);
std::string bmpTablePath(int index);

// TGA entries 0..40 (loaded with the renderer). Returns how many loaded; a
// missing file leaves its entry at texture 0.
int loadTgaTableBase();
// TGA entries 41..80, the vinyls. They are released while a race runs and
// loaded again afterwards.
int loadTgaTableVinyls();
void releaseTgaTableVinyls();

// All 51 BMP entries or none: false (and every entry 0) when one file is
// missing or cannot be decoded. Entries 3, 4 and 5 are nearest-filtered
// without mipmaps, the rest use mipmaps.
bool loadBmpTable();
// The four loading-screen images, all or none.
bool loadLoadingTextures();

// Deletes every table texture and frees the kept pixels.
void releaseTextureTables();
