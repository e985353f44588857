#include "image_writers.h"

#include "contact_sheet.h"
#include "job_runner.h"

#include <png.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <system_error>

namespace gen {

namespace {

void put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v & 255));
    b.push_back(static_cast<uint8_t>((v >> 8) & 255));
}

void put32(std::vector<uint8_t>& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// Records path as an output of the run, creates its parent directories, lets
// write fill path + ".tmp" and renames that over path; the temporary file is
// removed again when anything fails.
bool writeAtomically(const std::filesystem::path& path, const std::function<bool(std::FILE*)>& write) {
    recordOutputFile(path);
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    std::filesystem::path tmp = path;
    tmp += ".tmp";
    std::FILE* f = std::fopen(tmp.string().c_str(), "wb");
    if (!f) return false;
    bool ok = write(f);
    ok = (std::fclose(f) == 0) && ok;
    if (ok) {
        std::filesystem::rename(tmp, path, ec);
        ok = !ec;
    }
    if (!ok) std::filesystem::remove(tmp, ec);
    return ok;
}

}  // namespace

uint8_t toByte(float v) {
    if (!(v > 0.0f)) return 0;  // also catches NaN
    if (v >= 1.0f) return 255;
    return static_cast<uint8_t>(std::lround(v * 255.0f));
}

std::vector<uint8_t> encodeTga(const Raster& image, bool withAlpha) {
    int w = image.width(), h = image.height();
    std::vector<uint8_t> b;
    b.reserve(18 + static_cast<size_t>(w) * h * (withAlpha ? 4 : 3));
    b.push_back(0);  // no identification field
    b.push_back(0);  // no colour map
    b.push_back(2);  // uncompressed true colour
    for (int i = 0; i < 5; ++i) b.push_back(0);  // colour map fields
    put16(b, 0);  // x origin
    put16(b, 0);  // y origin
    put16(b, static_cast<uint32_t>(w));
    put16(b, static_cast<uint32_t>(h));
    b.push_back(withAlpha ? 32 : 24);
    b.push_back(withAlpha ? 8 : 0);  // alpha bits; origin bottom-left
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            const Color& c = image.at(x, y);
            b.push_back(toByte(c.b));
            b.push_back(toByte(c.g));
            b.push_back(toByte(c.r));
            if (withAlpha) b.push_back(toByte(c.a));
        }
    return b;
}

std::vector<uint8_t> encodeBmp(const Raster& image) {
    int w = image.width(), h = image.height();
    uint32_t rowBytes = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    uint32_t dataSize = rowBytes * static_cast<uint32_t>(h);
    std::vector<uint8_t> b;
    b.reserve(54 + dataSize);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + dataSize);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);  // BITMAPINFOHEADER
    put32(b, static_cast<uint32_t>(w));
    put32(b, static_cast<uint32_t>(h));  // positive: bottom row first
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, dataSize);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Color& c = image.at(x, y);
            b.push_back(toByte(c.b));
            b.push_back(toByte(c.g));
            b.push_back(toByte(c.r));
        }
        for (uint32_t p = static_cast<uint32_t>(w) * 3; p < rowBytes; ++p) b.push_back(0);
    }
    return b;
}

bool writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    return writeAtomically(path, [&](std::FILE* f) {
        return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    });
}

bool writeTga(const Raster& image, const std::filesystem::path& path, bool withAlpha) {
    return writeBytes(path, encodeTga(image, withAlpha));
}

bool writeBmp(const Raster& image, const std::filesystem::path& path) { return writeBytes(path, encodeBmp(image)); }

namespace {

// libpng reports errors by longjmp; keep that inside one small function whose
// locals are all set before setjmp.
bool encodePngTo(std::FILE* f, const Raster& image, bool withAlpha) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const int channels = withAlpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(image.width()) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Color& c = image.at(x, y);
            uint8_t* p = &row[static_cast<size_t>(x) * channels];
            p[0] = toByte(c.r);
            p[1] = toByte(c.g);
            p[2] = toByte(c.b);
            if (withAlpha) p[3] = toByte(c.a);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool writePng(const Raster& image, const std::filesystem::path& path, bool withAlpha) {
    return writeAtomically(path, [&](std::FILE* f) { return encodePngTo(f, image, withAlpha); });
}

void saveTga(const std::filesystem::path& base, const std::string& relPath, const Raster& image, bool withAlpha,
             const Raster* preview) {
    if (!writeTga(image, base / relPath, withAlpha)) throw std::runtime_error("cannot write " + (base / relPath).string());
    if (preview) contactSheet::add(relPath, *preview, false);
    else contactSheet::add(relPath, image, withAlpha);
}

void saveBmp(const std::filesystem::path& base, const std::string& relPath, const Raster& image) {
    if (!writeBmp(image, base / relPath)) throw std::runtime_error("cannot write " + (base / relPath).string());
    contactSheet::add(relPath, image, false);
}

}  // namespace gen
