// nightrun-lab bench-sim: how long one simulation frame takes on a track: the
// four cars (the player's on the autopilot, three computer drivers), the race
// flow, the traffic and the physics step of four sub-steps, headless at 60
// frames a second; wall clock and the thread's CPU time.
#include "lab_commands.h"

#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "race/ai_path.h"
#include "race/autopilot.h"
#include "race/race_flow.h"
#include "race/traffic.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

// 60 frames a second in hundredths.
constexpr float frameTicks = 100.0f / 60.0f;

// CPU time of this thread in milliseconds: on a shared machine it leaves out the
// time other processes take the core away mid-frame, which the wall clock counts.
double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1.0e6;
}

double percentile(std::vector<double> sorted, double p) {
    if (sorted.empty()) return 0.0;
    const size_t k = std::min(sorted.size() - 1, size_t(p * double(sorted.size() - 1) + 0.5));
    return sorted[k];
}

int benchSim(const std::vector<std::string>& args) {
    int track = -1;
    long frames = 3000;
    int traffic = 0;
    int car = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--track" && hasValue) track = std::atoi(args[++i].c_str());
        else if (args[i] == "--frames" && hasValue) frames = std::atol(args[++i].c_str());
        else if (args[i] == "--traffic" && hasValue) traffic = std::atoi(args[++i].c_str());
        else if (args[i] == "--car" && hasValue) car = std::atoi(args[++i].c_str());
        else {
            std::fprintf(stderr, "nightrun-lab bench-sim: unknown option '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (track < firstTrack || track > lastTrack || frames <= 0 || traffic < 0 || traffic > 2 || car < 0 ||
        car >= carPresetCount) {
        std::fprintf(stderr, "nightrun-lab bench-sim: --track 1..30, --frames K > 0, --traffic 0..2, --car 0..17\n");
        return 2;
    }

    readCareer(careerState, "/nonexistent/career.inf");  // a fresh career in memory; the file is left alone
    fillCarPresets(careerState);
    loadPresetConfig(car);
    trafficLevel = traffic;
    TrackLoadOptions load;
    load.headless = true;
    if (!startRace(track, load)) {
        std::fprintf(stderr, "nightrun-lab bench-sim: track %d cannot be raced\n", track);
        return 1;
    }
    resetAutopilot();

    // The start sequence holds every car still: run it untimed.
    for (long k = 0; k < 5000 && countdownActive; ++k) {
        autopilotFrame(frameTicks);
        headlessRaceFrame(frameTicks);
    }

    using Clock = std::chrono::steady_clock;
    std::vector<double> times, cpuTimes;
    times.reserve(size_t(frames));
    cpuTimes.reserve(size_t(frames));
    for (long k = 0; k < frames; ++k) {
        autopilotFrame(frameTicks);
        const Clock::time_point start = Clock::now();
        const double cpuStart = threadCpuMs();
        headlessRaceFrame(frameTicks);
        cpuTimes.push_back(threadCpuMs() - cpuStart);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const bool finished = raceFinished;
    leaveRace();

    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("track=%d frames=%ld traffic=%d median_ms=%.4f p99_ms=%.4f max_ms=%.4f finished=%d\n", track, frames,
                traffic, percentile(times, 0.5), percentile(times, 0.99), times.back(), finished ? 1 : 0);
    std::printf("  cpu: median_ms=%.4f p99_ms=%.4f max_ms=%.4f\n", percentile(cpuTimes, 0.5),
                percentile(cpuTimes, 0.99), cpuTimes.back());
    return 0;
}

LabCommand benchSimCommand("bench-sim", "--track N --frames K [--traffic T] [--car C]", benchSim);

}  // namespace
