// Image file writers for generated content: TGA (uncompressed type 2, no ID
// field, 24 or 32 bits, bottom row first), BMP (24-bit Windows DIB, bottom-up)
// and PNG (for contact sheets and previews). Channel values are clamped to 0..1
// and rounded to 8 bits. Files are written atomically (temporary file, rename).
#pragma once

#include "raster.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace gen {

uint8_t toByte(float v);

std::vector<uint8_t> encodeTga(const Raster& image, bool withAlpha);
std::vector<uint8_t> encodeBmp(const Raster& image);

// Writes bytes to path (creating parent directories); false on failure. Inside a
// generator run a second write of the same path throws (see recordOutputFile).
bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);

bool writeTga(const Raster& image, const std::filesystem::path& path, bool withAlpha);
bool writeBmp(const Raster& image, const std::filesystem::path& path);
bool writePng(const Raster& image, const std::filesystem::path& path, bool withAlpha = true);

// Writes base/relPath and shows the image on the contact sheet under relPath (or
// preview instead, for images whose raw look says little, such as masks).
// Throws std::runtime_error when the file cannot be written.
void saveTga(const std::filesystem::path& base, const std::string& relPath, const Raster& image, bool withAlpha,
             const Raster* preview = nullptr);
void saveBmp(const std::filesystem::path& base, const std::string& relPath, const Raster& image);

}  // namespace gen
