// nightrun-lab check-tracks [--base DIR] [--stats] [SLOT...]: loads every track
// slot (or the given ones) with the game's own model loader and checks the
// track rules; one line per slot, exit 0 only when every slot passes.
#include "lab_commands.h"

#include "cities/city_layout.h"
#include "cities/track_rules.h"
#include "content/sbm_model.h"
#include "race/ai_path.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace gen::cities;

int checkTracks(const std::vector<std::string>& args) {
    std::string base = "base";
    bool stats = false;
    std::vector<int> slots;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--base" && i + 1 < args.size()) {
            base = args[++i];
        } else if (args[i] == "--stats") {
            stats = true;
        } else {
            char* end = nullptr;
            long n = std::strtol(args[i].c_str(), &end, 10);
            if (!end || *end || n < 1 || n > 30) {
                std::fprintf(stderr, "nightrun-lab check-tracks: '%s' is not a slot 1..30\n", args[i].c_str());
                return 2;
            }
            slots.push_back(int(n));
        }
    }
    if (slots.empty())
        for (int s = 1; s <= 30; ++s) slots.push_back(s);
    int failed = 0;
    for (int slot : slots) {
        TrackFiles f = loadTrackFiles<SbmModel>(base, slot);
        TrackReport r = checkTrack(f);
        // The race reads the line with its own reader, which also refuses lines without a sane lap.
        if (r.ok && !loadAiPathFile(base + "/maps/" + std::to_string(slot) + "/points/level.ai")) {
            r.ok = false;
            r.failure = "the game's reader refuses points/level.ai";
        }
        clearAiPath();
        std::printf("%s\n", reportLine(slot, r).c_str());
        if (stats)
            std::printf("  triangles: visual=%d collision=%d glass=%d lights=%d trees=%d\n", f.visualTriangles,
                        f.collisionTriangles, f.glassTriangles, f.lightTriangles, f.treeTriangles);
        if (!r.ok) ++failed;
    }
    std::printf("%zu slots checked, %d failed\n", slots.size(), failed);
    return failed == 0 ? 0 : 1;
}

LabCommand checkTracksCommand("check-tracks", "[--base DIR] [--stats] [SLOT...]", checkTracks);

}  // namespace
