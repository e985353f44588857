// The career: one 1408-byte little-endian image, base/career.inf, with the
// player's stored car, the 18 stock cars, money and club progress; and the
// working car that the garage shows, the shops edit and the races drive.
#pragma once

#include "app/file_io.h"

#include <cstdint>
#include <string>

// One car: 18 little-endian 32-bit values (72 bytes).
struct CarConfig {
    float speedRating = 0.0f;
    float accelRating = 0.0f;
    float handlingRating = 0.0f;
    int32_t roofScoop = 0;    // 0..5, 0 none
    int32_t hoodScoop = 0;    // 0..5, 0 none
    int32_t spoiler = 0;      // 0..5, 0 none
    int32_t bodyKit = 0;      // 0..3
    int32_t optics = 0;       // 0..3
    int32_t rims = 0;         // 0..7
    int32_t sideVinyl = 0;    // 0..20, 0 none
    int32_t topVinyl = 0;     // 0..20, 0 none
    float paintColor[3] = {0.0f, 0.0f, 0.0f};
    int32_t neon = 0;         // 0..20, 0 none
    int32_t reservedPart = 0;
    int32_t techPacket = 0;   // 0..4
    int32_t carModel = 0;     // 0..17
};

constexpr int carPresetCount = 18;
constexpr int careerImageSize = 1408;
constexpr int carConfigSize = 72;

struct CareerState {
    CarConfig storedCar;                   // offsets 0..67 used; the model slot keeps what it holds
    CarConfig CarPreset[carPresetCount];   // the stock cars, refilled from the catalogue at start-up
    float cash = 0.0f;
    float stake = 0.0f;
    int32_t reserved1376 = 0;
    int32_t ownedCar = 0;
    int32_t reserved1384 = 0;
    int32_t currentRace = 1;               // 1..10 within currentClub
    int32_t clubProgress[3] = {1, 1, 1};   // highest open race per club
    int32_t currentClub = 0;               // 0..2
};

extern CareerState careerState;
extern CarConfig workingCar;

// The race the menus chose, read by the race set-up, the HUD and the results.
extern int32_t quickRaceTrack;  // 1..10
extern int32_t quickRaceCar;    // 0..17
// A career race's prize is still to be paid (or its stake taken); the results
// clear it once they have settled the race.
extern bool prizePending;
// The race being loaded or run is a career race (set by the race start, kept
// through a restart).
extern bool careerRaceActive;
// The track slot of the chosen career race: currentClub * 10 + currentRace.
int careerTrack();

// Where the career is kept: base/career.inf, or the per-user folder (app/game_paths).
extern std::string careerPath;

// The image as stored on disk, and back. decodeCareer reads what there is: a
// shorter buffer leaves the fields beyond it unchanged.
void encodeCareer(const CareerState& state, uint8_t out[careerImageSize]);
void decodeCareer(const uint8_t* bytes, size_t size, CareerState& state);
void encodeCarConfig(const CarConfig& car, uint8_t out[carConfigSize]);
void decodeCarConfig(const uint8_t in[carConfigSize], CarConfig& car);

// Reads base/career.inf (at most its 1408 bytes) and brings every index and
// amount into its range. A missing or short file starts a new career in memory
// (written at exit), so a first start has money and an open first race. A file
// that exists but cannot be read also starts a new career in memory, is named
// on the standard error stream and is never written over during this run.
// Ok only when a whole career was read; a short file counts as Missing.
ReadStatus readCareer(CareerState& state, const std::string& path = careerPath);
// The career from a file's bytes, as readCareer takes it: a shorter image
// starts a new career (false), a whole one is decoded and clamped (true).
bool careerFromBytes(const uint8_t* bytes, size_t size, CareerState& state);
// Writes the image atomically; false (old file intact, the cause on the
// standard error stream) when it cannot or must not.
bool writeCareer(const CareerState& state, const std::string& path = careerPath);
// Clamps what the game uses as an index or amount to its range: the stored car's
// parts, ratings and paint, the money, the stake, the owned car, the race, club
// and club progress. A value not a number becomes the bottom of its range.
void clampCareerRanges(CareerState& state);

// The catalogue of the 18 stock cars.
const CarConfig& stockCar(int index);
void fillCarPresets(CareerState& state);
// The default car of a new career (not preset 4, though it is car model 4).
CarConfig defaultCareerCar();
// New-career values for money and progress, and the default car as the stored car.
void setNewCareerValues(CareerState& state);

// working car 0..67 <-> stored car, model <-> ownedCar
void storeConfig();
void applyStoredConfig();
// Quick Race: the working car becomes stock car k without tech tuning.
void loadPresetConfig(int k);
// New career: new values, default car, garage repaint, file written.
void resetCareer();

// The player car's speed rating plus 0.05 per tech packet, at most 1.
float effectiveSpeedRating(const CarConfig& car);
