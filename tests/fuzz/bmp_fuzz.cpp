// BMP images: the header checks made before the bytes reach SDL's decoder, the
// decoder itself and the conversion to bottom-up RGB.
#include "platform/bmp_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::BmpImage image;
    if (platform::decodeBmpBytes(data, size, image) != platform::BmpError::None) {
        if (!image.rgb.empty()) __builtin_trap();
        return 0;
    }
    if (image.rgb.size() != size_t(image.width) * size_t(image.height) * 3) __builtin_trap();
    return 0;
}
