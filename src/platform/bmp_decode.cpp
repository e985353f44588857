#include "platform/bmp_decode.h"

#include <SDL.h>

#include <cstring>
#include <memory>
#include <new>

namespace platform {

namespace {

// No texture of ours comes near these; they keep a damaged header from making
// SDL allocate gigabytes before it notices the data is missing.
constexpr int64_t maxSide = 16384;
constexpr int64_t maxPixels = int64_t(1) << 26;
constexpr int64_t maxRunPixelsPerByte = 128;

uint32_t le16(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8; }
uint32_t le32(const uint8_t* p) { return le16(p) | le16(p + 2) << 16; }

// Rejects headers whose dimensions are absurd or whose uncompressed pixel
// rows cannot fit in the data at all. Everything else is left to SDL.
bool plausibleHeader(const uint8_t* data, size_t size) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
    uint32_t headerSize = le32(data + 14);
    int64_t width, height;
    uint32_t bits, compression = 0;
    if (headerSize == 12) {
        width = le16(data + 18);
        height = le16(data + 20);
        bits = le16(data + 24);
    } else {
        if (size < 34) return false;
        width = int32_t(le32(data + 18));
        height = int32_t(le32(data + 22));
        bits = le16(data + 28);
        compression = le32(data + 30);
    }
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return false;
    if (width * height > maxPixels) return false;
    if (bits == 0 || bits > 32) return false;
    bool runLength = compression == 1 || compression == 2;
    if (!runLength) {
        int64_t stride = (width * bits + 31) / 32 * 4;
        if (stride * (height - 1) > int64_t(size)) return false;
    } else if (width * height > int64_t(size) * maxRunPixelsPerByte) {
        // A run covers at most 255 pixels per two bytes: a few bytes must not
        // make the decoder fill a picture of millions of pixels.
        return false;
    }
    return true;
}

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

bool sdlOutOfMemory() { return std::strcmp(SDL_GetError(), "Out of memory") == 0; }

}  // namespace

BmpError decodeBmpBytes(const uint8_t* data, size_t size, BmpImage& image) {
    image = BmpImage{};
    if (!data || !plausibleHeader(data, size)) return BmpError::UnknownFormat;
    if (size > size_t(INT32_MAX)) return BmpError::UnknownFormat;

    SDL_ClearError();
    SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
    if (!rw) return BmpError::OutOfMemory;
    SurfacePtr decoded(SDL_LoadBMP_RW(rw, 1));
    if (!decoded) return sdlOutOfMemory() ? BmpError::OutOfMemory : BmpError::UnknownFormat;

    SDL_ClearError();
    SurfacePtr rgb(SDL_ConvertSurfaceFormat(decoded.get(), SDL_PIXELFORMAT_RGB24, 0));
    if (!rgb) return sdlOutOfMemory() ? BmpError::OutOfMemory : BmpError::ConversionFailed;
    decoded.reset();

    const int w = rgb->w, h = rgb->h;
    if (w <= 0 || h <= 0) return BmpError::ConversionFailed;
    const size_t rowBytes = size_t(w) * 3;
    try {
        image.rgb.resize(rowBytes * size_t(h));
    } catch (const std::bad_alloc&) {
        image = BmpImage{};
        return BmpError::OutOfMemory;
    }
    if (SDL_MUSTLOCK(rgb.get())) SDL_LockSurface(rgb.get());
    // SDL surfaces are top row first; flip to bottom row first.
    const auto* pixels = static_cast<const uint8_t*>(rgb->pixels);
    for (int row = 0; row < h; ++row)
        std::memcpy(image.rgb.data() + size_t(row) * rowBytes,
                    pixels + size_t(h - 1 - row) * size_t(rgb->pitch), rowBytes);
    if (SDL_MUSTLOCK(rgb.get())) SDL_UnlockSurface(rgb.get());
    image.width = w;
    image.height = h;
    return BmpError::None;
}

}  // namespace platform
