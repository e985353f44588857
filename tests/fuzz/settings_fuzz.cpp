// base/menu.inf as the game reads it, then saved and read back: the options
// must survive the round trip unchanged, whatever the file held.
#include "app/input.h"
#include "app/settings.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    GameSettings settings;
    decodeSettings(data, size, settings);
    for (int32_t key : settings.keys) isKeyHeld(key);
    uint8_t saved[settingsFileSize];
    encodeSettings(settings, false, saved);
    GameSettings again;
    decodeSettings(saved, sizeof saved, again);
    uint8_t resaved[settingsFileSize];
    encodeSettings(again, false, resaved);
    if (std::memcmp(saved, resaved, sizeof saved) != 0) __builtin_trap();
    return 0;
}
