// nightrun-lab race: a race on one track slot straight from the command line,
// driven by the autopilot or by scripted keys, with or without a window; the
// computer drivers race against it. With --career it is a career race from a
// career file, run through the results to the hand-over, and the file is
// written back. nightrun-lab race-all: every slot in turn with the autopilot.
// nightrun-lab soak: many headless races in one process, with the resident
// memory after the tenth and the last.
#include "lab_commands.h"
#include "scripted_events.h"

#include "app/frame_timer.h"
#include "app/game_state.h"
#include "app/input.h"
#include "app/main_loop.h"
#include "app/settings.h"
#include "app/startup_content.h"
#include "app/window.h"
#include "audio/audio_capture.h"
#include "audio/sound_device.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"
#include "frontend/menu_framework.h"
#include "platform/test_backend.h"
#include "race/ai_driver.h"
#include "race/ai_path.h"
#include "race/autopilot.h"
#include "race/car_dynamics.h"
#include "race/chase_camera.h"
#include "race/race_flow.h"
#include "race/results.h"
#include "race/traffic.h"
#include "render/post_processing.h"
#include "render/screenshot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct RaceOptions {
    int track = -1;
    int car = 0;
    bool headless = false;
    bool autopilot = false;
    std::string eventsPath;
    int traffic = 0;
    long frames = -1;
    int frameMs = 16;
    long traceEvery = 0;  // print every car's state every this many frames
    long drawFrom = 0;    // frames before this one are simulated without drawing
    int motionBlur = -1;  // -1: as the settings say
    int reflections = -1;
    int particles = -1;
    long seed = -1;  // the random numbers' seed once the game has started; -1: as the game seeds them
    std::vector<ShotRequest> shots;
    // A career race: club 0..2, race 1..10, the stake, the career file.
    bool career = false;
    int club = -1;
    int race = -1;
    float stake = 0.0f;
    std::string careerFile = careerPath;
    bool idleOpponents = false;  // the computer cars stay on the grid
    std::string audioCapture;  // WAV file of the race's sound
    int sound = -1;            // -1: as the settings say, else off (0) or on (1)
    int music = -1;
};

struct Outcome {
    bool finished = false;
    int place = 1;
    RaceClock time;
    RaceClock best;
    int laps[raceCarCount] = {};  // laps each car had completed
    int righted = 0;
};

RaceOptions options;
// The career read from the file before the race; the race runs on a copy.
CareerState careerBefore;
long currentFrame = 0;
int lapsReported = 0;
Outcome outcome;

// Read while the race runs: leaving the race resets its flags.
void noteOutcome() {
    if (outcome.finished) return;
    outcome.finished = raceFinished;
    outcome.place = playerPlace;
    outcome.time = raceClock;
    outcome.best = bestLap;
    // The player's record stops counting at the last lap; the others' count on.
    outcome.laps[0] = playerLapsCompleted;
    for (int i = 1; i < raceCarCount; ++i) outcome.laps[i] = std::max(raceCars[i].lapsDone - 1, 0);
    outcome.righted = carsRighted;
}

// Set when the slot could not be raced: no usable driving line or collision layer.
bool noDrivingLine = false;

// Reads the career file and checks the race as the Competitions screen would
// allow it: an open race of the club and a stake in steps of 50 up to 300, not
// above the cash.
bool checkCareerRace() {
    readCareer(careerBefore, options.careerFile);  // a missing file is a new career, as in the game
    if (options.club < 0 || options.club > 2) {
        std::fprintf(stderr, "nightrun-lab race: --career takes a club 0..2\n");
        return false;
    }
    const int open = careerBefore.clubProgress[options.club];
    if (options.race < 1 || options.race > open) {
        std::fprintf(stderr, "nightrun-lab race: race %d of club %d is not open (races 1..%d are)\n", options.race,
                     options.club, open);
        return false;
    }
    const float stake = options.stake;
    if (stake < 0.0f || stake > 300.0f || std::fmod(stake, 50.0f) != 0.0f || stake > careerBefore.cash) {
        std::fprintf(stderr, "nightrun-lab race: --stake takes 0..300 in steps of 50, at most the cash ($%d)\n",
                     int(careerBefore.cash));
        return false;
    }
    return true;
}

// The race chosen on the Competitions screen and started: the career's club,
// race and stake, the prize pending, the stored car as the working car.
void startCareerRace() {
    careerState = careerBefore;
    careerState.currentClub = options.club;
    careerState.currentRace = options.race;
    careerState.stake = options.stake;
    prizePending = true;
    careerRaceActive = true;
    fillCarPresets(careerState);
    applyStoredConfig();
}

// Leaving the race resets the race flags: the results run until the hand-over.
bool raceOver() { return options.career ? GameState != gameStates::racing : raceFinished; }

bool parseOptions(const std::vector<std::string>& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--track" && hasValue) options.track = std::atoi(args[++i].c_str());
        else if (a == "--car" && hasValue) options.car = std::atoi(args[++i].c_str());
        else if (a == "--headless") options.headless = true;
        else if (a == "--autopilot") options.autopilot = true;
        else if (a == "--events" && hasValue) options.eventsPath = args[++i];
        else if (a == "--traffic" && hasValue) options.traffic = std::atoi(args[++i].c_str());
        else if (a == "--frames" && hasValue) options.frames = std::atol(args[++i].c_str());
        else if (a == "--frame-ms" && hasValue) options.frameMs = std::atoi(args[++i].c_str());
        else if (a == "--trace" && hasValue) options.traceEvery = std::atol(args[++i].c_str());
        else if (a == "--career" && i + 2 < args.size()) {
            options.career = true;
            options.club = std::atoi(args[++i].c_str());
            options.race = std::atoi(args[++i].c_str());
        } else if (a == "--stake" && hasValue) options.stake = float(std::atof(args[++i].c_str()));
        else if (a == "--career-file" && hasValue) options.careerFile = args[++i];
        else if (a == "--idle-opponents") options.idleOpponents = true;
        else if (a == "--audio-capture" && hasValue) options.audioCapture = args[++i];
        else if ((a == "--sound" || a == "--music") && hasValue) {
            const std::string v = args[++i];
            if (v != "on" && v != "off") {
                std::fprintf(stderr, "nightrun-lab race: %s takes on or off\n", a.c_str());
                return false;
            }
            (a == "--sound" ? options.sound : options.music) = v == "on" ? 1 : 0;
        }
        else if (a == "--draw-from" && hasValue) options.drawFrom = std::atol(args[++i].c_str());
        else if (a == "--blur" && hasValue) options.motionBlur = std::atoi(args[++i].c_str());
        else if (a == "--reflections" && hasValue) options.reflections = std::atoi(args[++i].c_str());
        else if (a == "--particles" && hasValue) options.particles = std::atoi(args[++i].c_str());
        else if (a == "--seed" && hasValue) options.seed = std::atol(args[++i].c_str());
        else if (a == "--shot" && hasValue) {
            ShotRequest shot;
            if (!parseShotRequest(args[++i], shot)) {
                std::fprintf(stderr, "nightrun-lab race: bad --shot '%s' (want FRAME:FILE.png)\n", args[i].c_str());
                return false;
            }
            options.shots.push_back(shot);
        } else {
            std::fprintf(stderr, "nightrun-lab race: unknown option '%s'\n", a.c_str());
            return false;
        }
    }
    if (options.career) {
        if (options.track != -1 || options.car != 0) {
            std::fprintf(stderr, "nightrun-lab race: a career race takes its track and car from the career\n");
            return false;
        }
        if (!checkCareerRace()) return false;
        options.track = options.club * 10 + options.race;
    } else if (options.stake != 0.0f || options.careerFile != careerPath) {
        std::fprintf(stderr, "nightrun-lab race: --stake and --career-file need --career CLUB RACE\n");
        return false;
    }
    if (options.track < firstTrack || options.track > lastTrack) {
        std::fprintf(stderr, "nightrun-lab race: --track N (1..30) is required\n");
        return false;
    }
    if (options.car < 0 || options.car >= carPresetCount) {
        std::fprintf(stderr, "nightrun-lab race: --car takes a preset 0..17\n");
        return false;
    }
    if (options.autopilot && !options.eventsPath.empty()) {
        std::fprintf(stderr, "nightrun-lab race: --autopilot and --events exclude each other\n");
        return false;
    }
    if (options.headless && !options.shots.empty()) {
        std::fprintf(stderr, "nightrun-lab race: --shot needs a window (drop --headless)\n");
        return false;
    }
    if (options.traffic < 0 || options.traffic > 2 || options.frameMs <= 0) {
        std::fprintf(stderr, "nightrun-lab race: --traffic takes 0..2 and --frame-ms a positive number\n");
        return false;
    }
    // Without a frame count: twenty minutes of frames, far more than a race takes.
    if (options.frames < 0) options.frames = 20L * 60L * 1000L / options.frameMs;
    return true;
}

long lastShotFrame() {
    long last = -1;
    for (const ShotRequest& shot : options.shots) last = std::max(last, shot.frame);
    return last;
}

void takeShots() {
    for (const ShotRequest& shot : options.shots) {
        if (shot.frame != currentFrame) continue;
        if (!saveScreenshot(shot.path, gameSettings.width, gameSettings.height))
            std::fprintf(stderr, "nightrun-lab race: could not write %s\n", shot.path.c_str());
    }
}

// The sound switches of the command line over the settings.
void applySoundOptions() {
    if (options.sound >= 0) gameSettings.sound = static_cast<uint8_t>(options.sound);
    if (options.music >= 0) gameSettings.music = static_cast<uint8_t>(options.music);
}

// The sound of the frame just run, when it is being captured.
void captureFrameSound() {
    if (!options.audioCapture.empty()) renderAudioCapture(options.frameMs / 1000.0);
}

bool finishAudioCapture() {
    if (options.audioCapture.empty()) return true;
    if (writeCapturedAudio(options.audioCapture)) return true;
    std::fprintf(stderr, "nightrun-lab race: could not write %s\n", options.audioCapture.c_str());
    return false;
}

void reportLaps() {
    while (lapsReported < playerLapsCompleted) {
        ++lapsReported;
        std::printf("lap=%d time=%s frame=%ld\n", lapsReported, formatClock(lastLapTime).c_str(), currentFrame);
        std::fflush(stdout);
    }
}

// One line per car: where it is, how fast, its line and race progress.
void traceCars() {
    if (options.traceEvery <= 0 || currentFrame % options.traceEvery != 0) return;
    for (int i = 0; i < raceCarCount; ++i) {
        const RaceCar& car = raceCars[i];
        if (!car.body) continue;
        const Vec3 p = physics::getPosition(car.body);
        std::printf("frame=%ld car=%d pos=%.1f,%.1f,%.1f speed=%.2f rpm=%.0f gear=%d target=%d ahead=%d laps=%d points=%d%s\n",
                    currentFrame, i, p.x, p.y, p.z, carSpeed(car), car.engineRpm, car.shownGear, car.targetPoint,
                    car.lookAheadPoint, car.lapsDone, car.pointsPassed, car.reversing ? " reversing" : "");
    }
    for (int i = 0; i < trafficInPlay; ++i) {
        const TrafficCar& car = trafficCars[i];
        if (!car.body) continue;
        const Vec3 p = physics::getPosition(car.body);
        const RaceCar& player = raceCars[0];
        const Vec3 from = player.body ? physics::getPosition(player.body) : Vec3{};
        // Where it is seen from the player's car: degrees off its heading, positive to its left.
        const float bearing = player.body ? angleTo(player, p) * 57.29578f : 0.0f;
        std::printf("frame=%ld traffic=%d pos=%.1f,%.1f,%.1f speed=%.2f point=%d direction=%d from_player=%.1f "
                    "bearing=%.0f%s%s%s%s\n",
                    currentFrame, i, p.x, p.y, p.z, length(physics::getLinearVelocity(car.body)), car.pathIndex,
                    car.direction, length(p - from), bearing, car.needsPlacing ? " waiting" : "",
                    car.reversing ? " reversing" : "", car.leftBlinker > 0.0f ? " blinking-left" : "",
                    car.rightBlinker > 0.0f ? " blinking-right" : "");
    }
}

// Scripted key presses go straight into the held-key table when there is no window.
void applyKeyEvents(ScriptedEvents& events) {
    for (const platform::Event& e : takeDueSteps(events, currentFrame, GameState, shownScreen, 800, 600).events) {
        if (e.key <= 0 || e.key >= 256) continue;
        if (e.type == platform::EventType::KeyDown) KeyDown[e.key] = 1;
        if (e.type == platform::EventType::KeyUp) KeyDown[e.key] = 0;
    }
}

// The race without window or GL: collision layer, path and physics, and the
// car sounds when they are captured.
long runHeadless(ScriptedEvents& events) {
    applySoundOptions();
    if (!options.audioCapture.empty()) {
        requestAudioCapture(true);
        if (openSoundDevice()) loadSoundEffects();
        else std::fprintf(stderr, "nightrun-lab race: the capture device could not be opened\n");
    }
    TrackLoadOptions load;
    load.headless = true;
    if (options.seed >= 0) std::srand(unsigned(options.seed));
    if (options.career) {
        startCareerRace();
        load.careerRace = true;
        GameState = gameStates::racing;
    } else {
        readCareer(careerState, "/nonexistent/career.inf");  // a fresh career in memory; the file is left alone
        fillCarPresets(careerState);
        loadPresetConfig(options.car);
    }
    if (!startRace(options.track, load)) {
        noDrivingLine = true;
        return 0;
    }
    if (options.autopilot) resetAutopilot();

    const float ticks = options.frameMs > 100 ? 0.0f : 0.1f * float(options.frameMs);
    long frames = 0;
    for (currentFrame = 0; currentFrame < options.frames; ++currentFrame) {
        applyKeyEvents(events);
        if (options.autopilot) autopilotFrame(ticks);
        headlessRaceFrame(ticks);
        if (raceFinished && options.career) resultsFrame(ticks);
        captureFrameSound();
        ++frames;
        traceCars();
        reportLaps();
        if (raceWorld) noteOutcome();
        if (raceOver()) break;
    }
    return frames;
}

// The real frame driver on the test back end: a hidden window, the race scene,
// HUD, start overlay and results as the game draws them.
long runWindowed(ScriptedEvents& events, bool& started) {
    platform::TestBackend backend;
    platform::installTestBackend(&backend);
    beforePresent = takeShots;
    requestAudioCapture(!options.audioCapture.empty());
    started = startupSequence() == StartupResult::Ok;
    applySoundOptions();
    long frames = 0;
    if (started) {
        TrackLoadOptions load;
        if (options.career) {
            startCareerRace();
            load.careerRace = true;
        }
        loadStartupContent();
        loopFlags.startupLoading = false;
        if (options.motionBlur >= 0) gameSettings.motionBlur = options.motionBlur;
        if (options.reflections >= 0) gameSettings.reflections = options.reflections;
        if (options.particles >= 0) gameSettings.particles = options.particles;
        if (options.seed >= 0) std::srand(unsigned(options.seed));
        if (!options.career) loadPresetConfig(options.car);
        GameState = gameStates::racing;
        noDrivingLine = !startRace(options.track, load);
        if (options.autopilot) resetAutopilot();

        const float ticks = options.frameMs > 100 ? 0.0f : 0.1f * float(options.frameMs);
        const long lastShot = lastShotFrame();
        bool running = !noDrivingLine;
        for (currentFrame = 0; currentFrame < options.frames && running; ++currentFrame) {
            if (currentFrame >= options.drawFrom) {
                DueSteps due =
                    takeDueSteps(events, currentFrame, GameState, shownScreen, gameSettings.width, gameSettings.height);
                for (const platform::Event& e : due.events) backend.events.push_back(e);
                for (const std::string& path : due.shots) options.shots.push_back({currentFrame, path});
            }
            if (options.autopilot && GameState == gameStates::racing) autopilotFrame(ticks);
            backend.clockMs += uint32_t(options.frameMs);
            if (currentFrame < options.drawFrom) {
                // Undrawn: the race alone, as the frame driver would run it,
                // and the camera's arithmetic so the first drawn frame sees
                // what it would have seen.
                applyKeyEvents(events);
                const RaceCar& player = raceCars[0];
                loopFlags.speedBlur = nextBlurFactor(loopFlags.speedBlur, playerSpeed(), ticks);
                if (player.body)
                    computeChaseCamera(physics::getPosition(player.body), player.flatForward, loopFlags.speedBlur,
                                       ticks);
                headlessRaceFrame(ticks);
                traceCars();
                reportLaps();
                noteOutcome();
                if (raceFinished) break;
                continue;
            }
            bool framePass = false;
            while ((running = mainLoopPass(framePass)) && !framePass) {}
            if (framePass) ++frames;
            captureFrameSound();
            traceCars();
            reportLaps();
            if (GameState == gameStates::racing) noteOutcome();
            if (GameState != gameStates::racing) break;
            if (outcome.finished && currentFrame >= lastShot && !options.career) break;
        }
        if (loadedTrack != 0) leaveRace();
        finishAudioCapture();
        closeSoundDevice();
        destroyGameWindow();
    }
    // As the run command does: what the player would have been told.
    for (const platform::RecordedMessageBox& box : backend.messageBoxes)
        std::fprintf(stderr, "message box [%s]: %s\n", box.caption.c_str(), box.text.c_str());
    beforePresent = nullptr;
    platform::installTestBackend(nullptr);
    return frames;
}

std::string dollars(float cash) {
    char text[32];
    if (cash == std::floor(cash)) std::snprintf(text, sizeof text, "%.0f", double(cash));
    else std::snprintf(text, sizeof text, "%.2f", double(cash));
    return text;
}

void printOutcome(long frames) {
    const int* laps = outcome.laps;
    std::printf("track=%d finished=%d place=%d time=%s best=%s frames=%ld laps=%d,%d,%d,%d righted=%d",
                options.track, outcome.finished ? 1 : 0, outcome.place, formatClock(outcome.time).c_str(),
                formatClock(outcome.best).c_str(), frames, laps[0], laps[1], laps[2], laps[3], outcome.righted);
    if (options.career) {
        const int* progress = careerState.clubProgress;
        std::printf(" cash=%s->%s progress=%d,%d,%d", dollars(careerBefore.cash).c_str(),
                    dollars(careerState.cash).c_str(), progress[0], progress[1], progress[2]);
    }
    std::printf("\n");
    std::fflush(stdout);
}

// The game writes the career when it ends; the lab does so after the race.
bool writeCareerBack() {
    if (!options.career) return true;
    if (!outcome.finished)
        std::fprintf(stderr, "nightrun-lab race: the race did not finish in %ld frames; no prize\n", options.frames);
    if (writeCareer(careerState, options.careerFile)) return true;
    std::fprintf(stderr, "nightrun-lab race: could not write %s\n", options.careerFile.c_str());
    return false;
}

void reportNoDrivingLine() {
    // Track loading has said which file is missing or damaged.
    std::fprintf(stderr, "nightrun-lab race: track %d cannot be raced, so no race is set up\n", options.track);
}

void holdOnGrid(RaceCar& car, float) { holdCar(car); }

// One race with the options set; 0 when it ran, 1 when it could not start.
int raceOnce(ScriptedEvents& events) {
    static void (*const computerDrivers)(RaceCar&, float) = computerDriverUpdate;
    computerDriverUpdate = options.idleOpponents ? holdOnGrid : computerDrivers;
    lapsReported = 0;
    outcome = Outcome{};
    noDrivingLine = false;
    trafficLevel = options.traffic;

    long frames = 0;
    if (options.headless) {
        frames = runHeadless(events);
    } else {
        bool started = false;
        frames = runWindowed(events, started);
        if (!started) {
            std::fprintf(stderr, "nightrun-lab race: the game could not start (window or sound device)\n");
            return 1;
        }
    }
    if (options.headless && loadedTrack != 0) leaveRace();
    if (options.headless && audioCaptureActive()) {
        finishAudioCapture();
        closeSoundDevice();
    }
    requestAudioCapture(false);
    if (noDrivingLine) {
        reportNoDrivingLine();
        return 1;
    }
    const bool written = writeCareerBack();
    printOutcome(frames);
    return written ? 0 : 1;
}

int runRace(const std::vector<std::string>& args) {
    options = RaceOptions{};
    if (!parseOptions(args)) return 2;
    ScriptedEvents events;
    std::string error;
    if (!options.eventsPath.empty() && !loadScriptedEvents(options.eventsPath, events, error)) {
        std::fprintf(stderr, "nightrun-lab race: %s: %s\n", options.eventsPath.c_str(), error.c_str());
        return 2;
    }
    return raceOnce(events);
}

// Every slot (or the slots named) with the autopilot, then one summary line.
int runRaceAll(const std::vector<std::string>& args) {
    bool headless = false;
    int car = 0;
    int traffic = 0;
    long frames = -1;
    std::vector<int> slots;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        char* end = nullptr;
        const long slot = std::strtol(args[i].c_str(), &end, 10);
        if (args[i] == "--headless") headless = true;
        else if (args[i] == "--car" && hasValue) car = std::atoi(args[++i].c_str());
        else if (args[i] == "--traffic" && hasValue) traffic = std::atoi(args[++i].c_str());
        else if (args[i] == "--frames" && hasValue) frames = std::atol(args[++i].c_str());
        else if (end && *end == '\0' && slot >= firstTrack && slot <= lastTrack) slots.push_back(int(slot));
        else {
            std::fprintf(stderr, "nightrun-lab race-all: unknown option '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (car < 0 || car >= carPresetCount || traffic < 0 || traffic > 2) {
        std::fprintf(stderr, "nightrun-lab race-all: --car takes a preset 0..17 and --traffic 0..2\n");
        return 2;
    }
    if (slots.empty())
        for (int slot = firstTrack; slot <= lastTrack; ++slot) slots.push_back(slot);

    int finished = 0;
    int aiLapsMin = -1;
    int rightedMax = 0;
    bool failed = false;
    for (int slot : slots) {
        options = RaceOptions{};
        options.track = slot;
        options.car = car;
        options.traffic = traffic;
        options.headless = headless;
        options.autopilot = true;
        options.frames = frames >= 0 ? frames : 20L * 60L * 1000L / options.frameMs;
        ScriptedEvents none;
        if (raceOnce(none) != 0) {
            failed = true;
            aiLapsMin = 0;
            continue;
        }
        if (outcome.finished) ++finished;
        for (int i = 1; i < raceCarCount; ++i)
            aiLapsMin = aiLapsMin < 0 ? outcome.laps[i] : std::min(aiLapsMin, outcome.laps[i]);
        rightedMax = std::max(rightedMax, outcome.righted);
    }
    std::printf("slots=%d finished=%d ai_laps_min=%d righted_max=%d\n", int(slots.size()), finished,
                std::max(aiLapsMin, 0), rightedMax);
    return failed ? 1 : 0;
}

// Resident memory of this process in kilobytes (0 when it cannot be read).
long residentKb() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
    std::fclose(status);
    return kb;
}

// Many headless races in one process, each on another circuit with another car
// and traffic level, to show that nothing grows from race to race.
int runSoak(const std::vector<std::string>& args) {
    int races = 100;
    long frames = -1;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == "--races" && hasValue) races = std::atoi(args[++i].c_str());
        else if (args[i] == "--frames" && hasValue) frames = std::atol(args[++i].c_str());
        else {
            std::fprintf(stderr, "nightrun-lab soak: unknown option '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (races <= 0) {
        std::fprintf(stderr, "nightrun-lab soak: --races takes a positive number\n");
        return 2;
    }
    int finished = 0;
    long rssAfter10 = 0;
    for (int race = 1; race <= races; ++race) {
        options = RaceOptions{};
        // Steps coprime to 30, 18 and 3 visit every circuit, car and traffic level.
        options.track = 1 + (race - 1) * 7 % 30;
        options.car = (race - 1) * 5 % carPresetCount;
        options.traffic = (race - 1) % 3;
        options.headless = true;
        options.autopilot = true;
        options.frames = frames >= 0 ? frames : 20L * 60L * 1000L / options.frameMs;
        ScriptedEvents none;
        if (raceOnce(none) != 0) return 1;
        if (outcome.finished) ++finished;
        const long rss = residentKb();
        if (race == 10) rssAfter10 = rss;
        std::printf("race=%d car=%d traffic=%d rss_kb=%ld\n", race, options.car, options.traffic, rss);
        std::fflush(stdout);
    }
    std::printf("races=%d finished=%d rss_after_10_kb=%ld rss_after_%d_kb=%ld\n", races, finished, rssAfter10, races,
                residentKb());
    return 0;
}

LabCommand raceCommand("race",
                       "--track N [--car C] | --career CLUB RACE [--stake S] [--career-file F]; [--headless] "
                       "[--autopilot | --events FILE] [--idle-opponents] [--traffic T] [--frames N] [--frame-ms T] "
                       "[--trace K] [--draw-from N] [--blur 0|1] [--reflections 0|1] [--particles 0|1] [--seed S] "
                       "[--shot FRAME:FILE.png ...] "
                       "[--audio-capture FILE.wav] [--sound on|off] [--music on|off]",
                       runRace);
LabCommand raceAllCommand("race-all", "[--headless] [--car C] [--traffic T] [--frames N] [SLOT...]", runRaceAll);
LabCommand soakCommand("soak", "[--races N] [--frames N]", runSoak);

}  // namespace
