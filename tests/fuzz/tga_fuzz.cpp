// TGA images as the texture table and the model materials read them.
#include "content/tga_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TgaPixels image;
    if (!decodeTga(data, size, image)) return 0;
    if (image.pixels.size() != size_t(image.width) * size_t(image.height) * size_t(image.components)) __builtin_trap();
    return 0;
}
