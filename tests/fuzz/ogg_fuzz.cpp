// Music as the game streams it: an Ogg Vorbis image opened, its two buffers
// decoded and queued (OpenAL Soft's null back end), then rewound and released.
#include "audio/music_stream.h"
#include "audio/sound_device.h"

#include <cstdlib>

// libvorbisfile 1.3.7 itself keeps 8 bytes of some damaged streams whose
// opening it refuses (its serial number list); our side frees everything.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("ALSOFT_DRIVERS", "null", 1);
    if (!openSoundDevice()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SoundStream stream;
    if (stream.openImage(std::vector<uint8_t>(data, data + size), true, true)) {
        stream.play();
        stream.update();
        stream.rewind();
    } else if (stream.isOpen() || stream.source != 0) {
        __builtin_trap();  // a refused stream holds nothing
    }
    stream.release();
    return 0;
}
