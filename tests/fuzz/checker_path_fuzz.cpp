// level.ai as the generator's track checker (nightrun-lab check-tracks) reads
// it, then checked against an empty city: the rules must judge any line without
// faulting.
#include "cities/track_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gen::cities::TrackFiles files;
    if (!gen::cities::decodeAiPath(data, size, files.path)) return 0;
    if (gen::cities::encodeAiPath(files.path) != std::vector<uint8_t>(data, data + size)) __builtin_trap();
    files.slot = 1;
    files.collisionLoaded = files.visualLoaded = files.glassLoaded = files.lightLoaded = files.treesLoaded = true;
    files.pathLoaded = true;
    files.collision.push_back({{-50, 0, -50}, {50, 0, -50}, {0, 0, 50}, gen::cities::kRoadClass});
    gen::cities::checkTrack(files);
    return 0;
}
