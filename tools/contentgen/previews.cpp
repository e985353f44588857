#include "previews.h"

#include "image_writers.h"

#include <mutex>

namespace gen::previews {

namespace {
std::mutex gMutex;
std::filesystem::path gDir;
}  // namespace

void setDirectory(const std::filesystem::path& dir) {
    std::lock_guard<std::mutex> lock(gMutex);
    gDir = dir;
}

bool enabled() {
    std::lock_guard<std::mutex> lock(gMutex);
    return !gDir.empty();
}

bool save(const std::string& name, const Raster& image) {
    std::filesystem::path dir;
    {
        std::lock_guard<std::mutex> lock(gMutex);
        dir = gDir;
    }
    if (dir.empty() || image.empty()) return false;
    return writePng(image, dir / (name + ".png"), false);
}

}  // namespace gen::previews
