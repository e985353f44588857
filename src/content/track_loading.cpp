#include "content/track_loading.h"

#include "app/game_state.h"
#include "app/settings.h"
#include "audio/music_stream.h"
#include "content/car_loading.h"
#include "content/livery.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "render/lights.h"
#include "render/model_drawing.h"

#include <algorithm>
#include <cstdlib>

TrackLayers trackLayers;
GarageLayers garageLayers;
int loadedTrack = 0;
int raceMusicChoice = 0;

namespace {

constexpr const char* trackTextureDirectory = "base/maps/textures/";
constexpr int opponentsPerClub = 6;
// The drawn layers of a city are cut into cells this wide, so only what is in
// view is drawn.
constexpr float trackCellSize = 100.0f;

// Set while the vinyl images are out of the TGA table for a race.
bool vinylsReleased = false;
// The last track was loaded without GL and music: unloading touches neither.
bool loadedHeadless = false;

std::unique_ptr<SbmModel> layer(bool inRange, const std::string& path) {
    auto model = std::make_unique<SbmModel>();
    if (inRange) model->load(path);
    return model;
}

void lightsFrom(SbmModel& lights) {
    lights.flatten();
    buildLightTable(lights);
}

void paintSlot(int slot) {
    const CarAppearance& looks = raceCarSlots[slot];
    paintLivery(slot, looks.carModel, looks.paintColor[0], looks.paintColor[1], looks.paintColor[2],
                looks.topVinyl, looks.sideVinyl);
}

}  // namespace

std::string trackDirectory(int track) { return "base/maps/" + std::to_string(track) + "/"; }

std::string raceMusicFile(int choice) { return "base/music/" + std::to_string(choice + 1) + ".ogg"; }

void pickOpponentModels(int playerModel, bool careerRace, int club, int models[3]) {
    club = std::clamp(club, 0, 2);
    int taken[4] = {playerModel, -1, -1, -1};
    for (int slot = 1; slot <= 3; ++slot) {
        int m = 0;
        do {
            m = careerRace ? std::rand() % opponentsPerClub + opponentsPerClub * club : std::rand() % carModelCount;
        } while (std::find(taken, taken + slot, m) != taken + slot);
        taken[slot] = m;
        models[slot - 1] = m;
    }
}

void fillRaceCarSlots(bool careerRace, bool paint) {
    raceCarSlots[0] = appearanceOf(workingCar);
    if (paint) paintSlot(0);

    int models[3] = {};
    pickOpponentModels(workingCar.carModel, careerRace, careerState.currentClub, models);
    for (int slot = 1; slot < raceCarSlotCount; ++slot) {
        const int m = models[slot - 1];
        raceCarSlots[slot] = appearanceOf(careerState.CarPreset[m]);
        raceCarSlots[slot].carModel = m;
        if (paint) paintSlot(slot);
    }
}

bool loadTrack(int track, const TrackLoadOptions& options) {
    const bool headless = options.headless;
    const bool inRange = track >= firstTrack && track <= lastTrack;
    const std::string dir = trackDirectory(track);

    if (!headless) rewindMenuMusic();

    fillRaceCarSlots(options.careerRace, !headless);

    // The vinyl images only serve the liveries just painted.
    if (!headless && !vinylsReleased) {
        releaseTgaTableVinyls();
        vinylsReleased = true;
    }

    trackLayers = TrackLayers{};
    trackLayers.collision = layer(inRange, dir + "map.sbm");
    trackLayers.collision->classifySurfaces();

    if (!headless) {
        trackLayers.visual = layer(inRange, dir + "mapvisual.sbm");
        trackLayers.visual->loadMaterialTextures(trackTextureDirectory);
        compileModel(*trackLayers.visual, trackCellSize);
        trackLayers.glass = layer(inRange, dir + "glass.sbm");
        compileModel(*trackLayers.glass, trackCellSize);
        trackLayers.lights = layer(inRange, dir + "light.sbm");
        lightsFrom(*trackLayers.lights);
        trackLayers.trees = layer(inRange, dir + "trees.sbm");
        trackLayers.trees->loadMaterialTextures(trackTextureDirectory);
        compileModel(*trackLayers.trees, trackCellSize);
    }
    loadedTrack = track;
    loadedHeadless = headless;

    if (!headless) {
        raceMusicChoice = std::rand() % 4;
        openRaceMusic(raceMusicFile(raceMusicChoice));
        if (gameSettings.music) startRaceMusic();
        loopFlags.musicFade = -1.5f;
    }
    return true;
}

void unloadTrack() {
    trackLayers = TrackLayers{};
    loadedTrack = 0;

    if (!loadedHeadless) {
        if (gameSettings.music) {
            stopRaceMusic();
            rewindRaceMusic();
        }
        closeRaceMusic();
        if (GameState != gameStates::racing && gameSettings.music) loopFlags.menuMusicPending = true;
    }

    // The garage is lit by its own lamps again.
    if (garageLayers.lights) lightsFrom(*garageLayers.lights);
    else clearLightTable();

    if (vinylsReleased) {
        loadTgaTableVinyls();
        vinylsReleased = false;
    }
    loadedHeadless = false;
}

void loadGarageSet() {
    garageLayers.garage = layer(true, "base/garage/garage.sbm");
    garageLayers.garage->loadMaterialTextures("");
    compileModel(*garageLayers.garage);
    garageLayers.glass = layer(true, "base/garage/glass_garage.sbm");
    compileModel(*garageLayers.glass);
    garageLayers.trees = layer(true, "base/garage/trees.sbm");
    garageLayers.trees->loadMaterialTextures("");
    compileModel(*garageLayers.trees);
    garageLayers.lights = layer(true, "base/garage/light.sbm");
    lightsFrom(*garageLayers.lights);

    const CarConfig& stored = careerState.storedCar;
    paintLivery(0, careerState.ownedCar, stored.paintColor[0], stored.paintColor[1], stored.paintColor[2],
                stored.topVinyl, stored.sideVinyl);
}

void releaseGarageSet() { garageLayers = GarageLayers{}; }
