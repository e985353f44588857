#include "app/settings.h"

#include <cstdio>
#include <vector>

const int resolutionWidths[resolutionCount] = {640, 800, 1024, 1280, 1600};
const int resolutionHeights[resolutionCount] = {480, 600, 768, 1024, 1200};

GameSettings gameSettings;
bool resolutionApplied = false;
std::string settingsPath = "base/menu.inf";

namespace {
// A settings file that exists but could not be read: the player may still want it.
std::string unreadableSettings;
}  // namespace

void applyResolutionIndex(GameSettings& s) {
    if (s.resolutionIndex < 0 || s.resolutionIndex >= resolutionCount) return;
    s.width = s.chosenWidth = resolutionWidths[s.resolutionIndex];
    s.height = s.chosenHeight = resolutionHeights[s.resolutionIndex];
}

int resolutionIndexForWidth(int width) {
    for (int i = 0; i < resolutionCount; ++i)
        if (resolutionWidths[i] == width) return i;
    return -1;
}


void decodeSettings(const uint8_t* bytes, size_t size, GameSettings& s) {
    int32_t values[settingsFieldCount];
    for (int i = 0; i < settingsFieldCount; ++i) {
        size_t at = static_cast<size_t>(i) * 4;
        values[i] = at + 4 <= size ? static_cast<int32_t>(getLe32(&bytes[at])) : -1;
    }
    s.resolutionIndex = values[0];
    applyResolutionIndex(s);
    s.colourDepth = values[1];
    s.reflections = values[2];
    s.sound = values[3] != 0 ? 1 : 0;
    s.music = values[4] != 0 ? 1 : 0;
    s.reserved6 = values[5];
    s.cityTraffic = values[6];
    s.motionBlur = values[7];
    s.particles = values[8];
    for (int k = 0; k < 5; ++k) s.keys[k] = values[9 + k];
    for (int k = 0; k < 5; ++k) s.reserved15[k] = values[14 + k];
}

ReadStatus loadSettings(GameSettings& s, const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string reason;
    const ReadStatus status = readFileBounded(path, settingsFileSize, bytes, &reason);
    if (path == unreadableSettings) unreadableSettings.clear();
    if (status == ReadStatus::Unreadable) {
        unreadableSettings = path;
        std::fprintf(stderr, "Nightrun: %s cannot be read (%s); the default options are used and the file is left as it is\n",
                     path.c_str(), reason.c_str());
    }
    if (status != ReadStatus::Ok) return status;
    decodeSettings(bytes.data(), bytes.size(), s);
    return ReadStatus::Ok;
}

void encodeSettings(const GameSettings& s, bool applied, uint8_t bytes[settingsFileSize]) {
    int32_t index = s.resolutionIndex;
    if (applied) {
        int fromWidth = resolutionIndexForWidth(s.chosenWidth);
        if (fromWidth >= 0) index = fromWidth;
    }
    int32_t values[settingsFieldCount] = {
        index, s.colourDepth, s.reflections, s.sound ? 1 : 0, s.music ? 1 : 0, s.reserved6,
        s.cityTraffic, s.motionBlur, s.particles,
        s.keys[0], s.keys[1], s.keys[2], s.keys[3], s.keys[4],
        s.reserved15[0], s.reserved15[1], s.reserved15[2], s.reserved15[3], s.reserved15[4]};
    for (int i = 0; i < settingsFieldCount; ++i) putLe32(&bytes[i * 4], static_cast<uint32_t>(values[i]));
}

bool saveSettings(const GameSettings& s, bool applied, const std::string& path) {
    if (path == unreadableSettings) {
        std::fprintf(stderr, "Nightrun: the options are not saved: %s could not be read at start and is left as it is\n",
                     path.c_str());
        return false;
    }
    uint8_t bytes[settingsFileSize];
    encodeSettings(s, applied, bytes);
    return saveGameFile(path, bytes, sizeof bytes, "the options");
}
