#include "content/bmp_loader.h"

#include "app/file_io.h"
#include "content/texture_upload.h"
#include "platform/platform.h"

#include <GL/gl.h>

#include <cstdio>
#include <new>

namespace {

// The largest picture the decoder accepts (2^26 pixels of 32 bits) with room for
// its headers and palette.
constexpr size_t maxFileBytes = (size_t(1) << 28) + (size_t(1) << 16);

}  // namespace

bool bmpFileExists(const std::string& fileName) { return fileExists(fileName); }

platform::BmpError readBmpFile(const std::string& fileName, platform::BmpImage& image) {
    image = platform::BmpImage{};
    std::vector<uint8_t> bytes;
    try {
        if (readFileBounded(fileName, maxFileBytes, bytes) != ReadStatus::Ok) return platform::BmpError::OpenFailed;
    } catch (const std::bad_alloc&) {
        return platform::BmpError::OutOfMemory;
    }
    return platform::decodeBmpBytes(bytes.data(), bytes.size(), image);
}

bool decodeBmp(const std::string& fileName, platform::BmpImage& image) {
    std::string message;
    switch (readBmpFile(fileName, image)) {
    case platform::BmpError::None: return true;
    case platform::BmpError::OpenFailed: message = "Failed to open DIB file " + fileName + ".\n"; break;
    case platform::BmpError::UnknownFormat: message = "Unknown DIB file format."; break;
    case platform::BmpError::ConversionFailed: message = "Image file conversion error."; break;
    case platform::BmpError::OutOfMemory: message = "Out of memory."; break;
    }
    // The box does not say which file; the error stream does.
    std::fprintf(stderr, "Nightrun: image %s cannot be used; it is left out\n", fileName.c_str());
    platform::messageBox(message, "Error", platform::MessageButtons::Ok, platform::MessageIcon::Stop);
    return false;
}

uint32_t loadBmpTexture(const std::string& fileName) {
    if (!bmpFileExists(fileName)) {
        std::fprintf(stderr, "Nightrun: image %s is missing; it is left out\n", fileName.c_str());
        return 0;
    }
    platform::BmpImage image;
    if (!decodeBmp(fileName, image)) return 0;
    TextureParams params;
    params.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    params.magFilter = GL_LINEAR;
    return createTexture(image.rgb.data(), image.width, image.height, 3, params);
}
