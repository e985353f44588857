// Preview renders for people to look at (contentgen --previews DIR): full-size
// PNGs of generated content that a contact-sheet thumbnail would shrink too far.
// Saving is a no-op until a directory is set; any job may save from any thread.
#pragma once

#include "raster.h"

#include <filesystem>
#include <string>

namespace gen::previews {

void setDirectory(const std::filesystem::path& dir);
bool enabled();
// Writes DIR/name.png (name may contain subdirectories); false on failure or when disabled.
bool save(const std::string& name, const Raster& image);

}  // namespace gen::previews
