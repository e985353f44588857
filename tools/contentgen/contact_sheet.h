// The contact sheet: a PNG overview of generated images for people to look at.
// Any job may add images from any thread; the sheet orders them by name, so its
// content does not depend on which job finished first. Adding is a no-op until
// the sheet is enabled (contentgen --contact-sheet FILE).
#pragma once

#include "raster.h"

#include <filesystem>
#include <string>

namespace gen::contactSheet {

void enable(bool on);
bool enabled();
// Longest side of the thumbnails taken from now on (default 192).
void setThumbnailSize(int pixels);
// Keeps a thumbnail of image under name; showAlpha draws it over a checkerboard.
void add(const std::string& name, const Raster& image, bool showAlpha = true);
// Number of images collected so far.
int count();
// Writes every collected image whose name contains one of the comma-separated fragments of
// filter (all when empty); false on failure or when nothing matched.
bool write(const std::filesystem::path& pngPath, const std::string& filter = "");
void clear();

}  // namespace gen::contactSheet
