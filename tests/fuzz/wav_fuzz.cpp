// Sound effects as the game loads them: the WAV checks, then the loader and an
// OpenAL buffer (OpenAL Soft's null back end). A loaded effect holds whole
// sample frames; a refused one is silent and names its reason.
#include "audio/sound_device.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!openSoundDevice()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SoundEffect effect;
    const std::string reason = effect.loadImage(data, size, true);
    if (reason.empty() ? effect.size <= 0 || effect.frequency <= 0 : effect.size != 0) __builtin_trap();
    effect.play();
    effect.release();
    return 0;
}
