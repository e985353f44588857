#include "contact_sheet.h"

#include "font.h"
#include "image_writers.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

namespace gen::contactSheet {

namespace {

std::atomic<int> gThumb{192};

struct Entry {
    Raster thumb;
    bool showAlpha = true;
    int width = 0, height = 0;
};

std::atomic<bool> gEnabled{false};
std::mutex gMutex;
std::map<std::string, Entry> gEntries;  // ordered by name

}  // namespace

void enable(bool on) { gEnabled = on; }
void setThumbnailSize(int pixels) { gThumb = std::clamp(pixels, 32, 2048); }
bool enabled() { return gEnabled; }

void add(const std::string& name, const Raster& image, bool showAlpha) {
    if (!gEnabled || image.empty()) return;
    const int kThumb = gThumb;
    int w = image.width(), h = image.height();
    float k = std::min(1.0f, static_cast<float>(kThumb) / static_cast<float>(std::max(w, h)));
    int tw = std::max(1, static_cast<int>(w * k)), th = std::max(1, static_cast<int>(h * k));
    Entry e{tw == w && th == h ? image : image.resized(tw, th), showAlpha, w, h};
    std::lock_guard<std::mutex> lock(gMutex);
    gEntries[name] = std::move(e);
}

int count() {
    std::lock_guard<std::mutex> lock(gMutex);
    return static_cast<int>(gEntries.size());
}

bool write(const std::filesystem::path& pngPath, const std::string& filter) {
    std::lock_guard<std::mutex> lock(gMutex);
    std::vector<const std::pair<const std::string, Entry>*> chosen;
    // The filter is a comma-separated list of name fragments.
    std::vector<std::string> parts;
    for (size_t start = 0; start <= filter.size();) {
        size_t comma = filter.find(',', start);
        if (comma == std::string::npos) comma = filter.size();
        if (comma > start) parts.push_back(filter.substr(start, comma - start));
        start = comma + 1;
    }
    for (const auto& kv : gEntries) {
        bool match = parts.empty();
        for (const std::string& p : parts) match = match || kv.first.find(p) != std::string::npos;
        if (match) chosen.push_back(&kv);
    }
    if (chosen.empty()) return false;
    const int kThumb = gThumb, kCellW = kThumb + 16, kCellH = kThumb + 46;
    const int kColumns = std::max(1, 1600 / kCellW);
    int columns = std::min<int>(kColumns, static_cast<int>(chosen.size()));
    int rows = (static_cast<int>(chosen.size()) + columns - 1) / columns;
    Raster sheet(columns * kCellW, rows * kCellH, rgb(0x303238));
    Font font(dejavuFont("DejaVuSans.ttf"));
    TextStyle label;
    label.size = 11;
    for (size_t i = 0; i < chosen.size(); ++i) {
        const std::string& name = chosen[i]->first;
        const Entry& e = chosen[i]->second;
        int cx = static_cast<int>(i % columns) * kCellW, cy = static_cast<int>(i / columns) * kCellH;
        int ox = cx + (kCellW - e.thumb.width()) / 2, oy = cy + 4 + (kThumb - e.thumb.height()) / 2;
        for (int y = 0; y < e.thumb.height(); ++y)
            for (int x = 0; x < e.thumb.width(); ++x) {
                Color c = e.thumb.at(x, y);
                Color bg = ((x / 8 + y / 8) & 1) ? rgb(0x9a9a9a) : rgb(0x6a6a6a);
                Color out = e.showAlpha ? lerp(bg, Color{c.r, c.g, c.b, 1}, std::clamp(c.a, 0.0f, 1.0f))
                                        : Color{c.r, c.g, c.b, 1};
                sheet.at(ox + x, oy + y) = out;
            }
        // Name and size on two lines, cut to the cell's width.
        std::string size = std::to_string(e.width) + "x" + std::to_string(e.height);
        std::string shown = name;
        while (shown.size() > 4 && font.measure(shown, label) > kCellW - 6) shown.erase(0, 1);
        font.draw(sheet, shown, static_cast<float>(cx + kCellW / 2), static_cast<float>(cy + kThumb + 20), label,
                  rgb(0xe0e0e0), 0.5f);
        font.draw(sheet, size, static_cast<float>(cx + kCellW / 2), static_cast<float>(cy + kThumb + 34), label,
                  rgb(0xa0a4b0), 0.5f);
    }
    return writePng(sheet, pngPath, false);
}

void clear() {
    std::lock_guard<std::mutex> lock(gMutex);
    gEntries.clear();
}

}  // namespace gen::contactSheet
