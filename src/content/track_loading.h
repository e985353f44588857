// Track loading: the five layers of a track slot (base/maps/1/ .. base/maps/30/),
// the four race cars' looks and liveries, the lights and the race music;
// unloading when the race ends; and the garage set, loaded once. The race flow
// sets the race up on a loaded track (startRace).
#pragma once

#include "content/sbm_model.h"

#include <memory>
#include <string>

constexpr int firstTrack = 1;
constexpr int lastTrack = 30;

// The layers of the loaded track; all null between races.
struct TrackLayers {
    std::unique_ptr<SbmModel> collision;  // map.sbm: never drawn, the physics mesh
    std::unique_ptr<SbmModel> visual;     // mapvisual.sbm, textures from base/maps/textures/
    std::unique_ptr<SbmModel> glass;      // glass.sbm
    std::unique_ptr<SbmModel> lights;     // light.sbm, flattened into the light table
    std::unique_ptr<SbmModel> trees;      // trees.sbm, textures from base/maps/textures/
};

// The garage scene's layers, loaded at the start-up hand-over and kept.
struct GarageLayers {
    std::unique_ptr<SbmModel> garage;     // base/garage/garage.sbm
    std::unique_ptr<SbmModel> glass;      // base/garage/glass_garage.sbm
    std::unique_ptr<SbmModel> trees;      // base/garage/trees.sbm
    std::unique_ptr<SbmModel> lights;     // base/garage/light.sbm
};

extern TrackLayers trackLayers;
extern GarageLayers garageLayers;
// The track slot whose layers are loaded, 0 when none is.
extern int loadedTrack;
// The race music picked at the last track load, 0..3 (base/music/1.ogg .. 4.ogg).
extern int raceMusicChoice;

struct TrackLoadOptions {
    // Opponents: a career race draws them from the current club's six cars, a
    // quick race from all eighteen.
    bool careerRace = false;
    // Only what the simulation needs: the cars' looks and the collision layer.
    // No GL, no music, no liveries.
    bool headless = false;
};

// "base/maps/<N>/" (no leading zero).
std::string trackDirectory(int track);
// "base/music/<choice + 1>.ogg" for a choice 0..3.
std::string raceMusicFile(int choice);

// Picks the three opponents' car models for a player driving `playerModel`:
// a career race in club c draws from c*6 .. c*6+5, a quick race from 0..17;
// every opponent differs from the player and from each other. `club` is kept
// to 0..2. Uses std::rand.
void pickOpponentModels(int playerModel, bool careerRace, int club, int models[3]);

// Fills the four race-car slots: slot 0 from the working car, slots 1..3 from
// the stock cars of the picked opponent models. With `paint` each slot's livery
// is painted right after it is filled.
void fillRaceCarSlots(bool careerRace, bool paint);

// Loads track `track` (1..30; any other number loads no layer files and leaves
// the layers empty). Replaces the layers of a track still loaded. True when the
// layers are loaded (a missing layer file leaves its layer empty).
bool loadTrack(int track, const TrackLoadOptions& options = {});
// Frees the five layers, closes the race music, puts the
// garage's lights back and reloads the vinyl images.
void unloadTrack();

// The garage set, at the start-up hand-over: its four layers, the garage lights
// and the player's stored car painted into slot 0.
void loadGarageSet();
void releaseGarageSet();
