// level.ai as the race reads it: a line is taken whole with a sane lap, or not at all.
#include "race/ai_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!parseAiPath(data, size)) {
        if (aiPathLast != -1) __builtin_trap();
        return 0;
    }
    if (aiPathLast < 1 || aiPathLast >= aiPathCapacity || drivingLineFault(aiPath, aiPathLast + 1)) __builtin_trap();
    return 0;
}
