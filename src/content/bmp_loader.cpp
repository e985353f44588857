#include "content/bmp_loader.h"

#include "content/texture_upload.h"
#include "platform/platform.h"

#include <GL/gl.h>

#include <cstdio>

bool bmpFileExists(const std::string& fileName) {
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

bool decodeBmp(const std::string& fileName, platform::BmpImage& image) {
    std::string message;
    switch (platform::decodeBmpFile(fileName, image)) {
    case platform::BmpError::None: return true;
    case platform::BmpError::OpenFailed: message = "Failed to open DIB file " + fileName + ".\n"; break;
    case platform::BmpError::UnknownFormat: message = "Unknown DIB file format."; break;
    case platform::BmpError::ConversionFailed: message = "Image file conversion error."; break;
    case platform::BmpError::OutOfMemory: message = "Out of memory."; break;
    }
    platform::messageBox(message, "Error", platform::MessageButtons::Ok, platform::MessageIcon::Stop);
    return false;
}

uint32_t loadBmpTexture(const std::string& fileName) {
    if (!bmpFileExists(fileName)) return 0;
    platform::BmpImage image;
    if (!decodeBmp(fileName, image)) return 0;
    TextureParams params;
    params.minFilter = GL_LINEAR_MIPMAP_LINEAR;
    params.magFilter = GL_LINEAR;
    return createTexture(image.rgb.data(), image.width, image.height, 3, params);
}
