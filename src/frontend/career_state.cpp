#include "frontend/career_state.h"

#include "app/file_io.h"
#include "frontend/garage_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

CareerState careerState;
std::string careerPath = "base/career.inf";
CarConfig workingCar;
int32_t quickRaceTrack = 1;
int32_t quickRaceCar = 0;
bool prizePending = false;
bool careerRaceActive = false;

int careerTrack() { return careerState.currentClub * 10 + careerState.currentRace; }

namespace {

uint32_t floatBits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}
float bitsFloat(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// The 18 fields of a CarConfig as 32-bit words in file order.
void carWords(const CarConfig& c, uint32_t w[18]) {
    w[0] = floatBits(c.speedRating);
    w[1] = floatBits(c.accelRating);
    w[2] = floatBits(c.handlingRating);
    w[3] = static_cast<uint32_t>(c.roofScoop);
    w[4] = static_cast<uint32_t>(c.hoodScoop);
    w[5] = static_cast<uint32_t>(c.spoiler);
    w[6] = static_cast<uint32_t>(c.bodyKit);
    w[7] = static_cast<uint32_t>(c.optics);
    w[8] = static_cast<uint32_t>(c.rims);
    w[9] = static_cast<uint32_t>(c.sideVinyl);
    w[10] = static_cast<uint32_t>(c.topVinyl);
    w[11] = floatBits(c.paintColor[0]);
    w[12] = floatBits(c.paintColor[1]);
    w[13] = floatBits(c.paintColor[2]);
    w[14] = static_cast<uint32_t>(c.neon);
    w[15] = static_cast<uint32_t>(c.reservedPart);
    w[16] = static_cast<uint32_t>(c.techPacket);
    w[17] = static_cast<uint32_t>(c.carModel);
}

void setCarWords(CarConfig& c, const uint32_t w[18]) {
    c.speedRating = bitsFloat(w[0]);
    c.accelRating = bitsFloat(w[1]);
    c.handlingRating = bitsFloat(w[2]);
    c.roofScoop = static_cast<int32_t>(w[3]);
    c.hoodScoop = static_cast<int32_t>(w[4]);
    c.spoiler = static_cast<int32_t>(w[5]);
    c.bodyKit = static_cast<int32_t>(w[6]);
    c.optics = static_cast<int32_t>(w[7]);
    c.rims = static_cast<int32_t>(w[8]);
    c.sideVinyl = static_cast<int32_t>(w[9]);
    c.topVinyl = static_cast<int32_t>(w[10]);
    c.paintColor[0] = bitsFloat(w[11]);
    c.paintColor[1] = bitsFloat(w[12]);
    c.paintColor[2] = bitsFloat(w[13]);
    c.neon = static_cast<int32_t>(w[14]);
    c.reservedPart = static_cast<int32_t>(w[15]);
    c.techPacket = static_cast<int32_t>(w[16]);
    c.carModel = static_cast<int32_t>(w[17]);
}

// The image as 352 words: 18 cars of 18 words then 10 career words.
void careerWords(const CareerState& s, uint32_t w[careerImageSize / 4]) {
    carWords(s.storedCar, w);
    for (int k = 0; k < carPresetCount; ++k) carWords(s.CarPreset[k], w + 18 * (k + 1));
    uint32_t* t = w + 18 * (carPresetCount + 1);
    t[0] = floatBits(s.cash);
    t[1] = floatBits(s.stake);
    t[2] = static_cast<uint32_t>(s.reserved1376);
    t[3] = static_cast<uint32_t>(s.ownedCar);
    t[4] = static_cast<uint32_t>(s.reserved1384);
    t[5] = static_cast<uint32_t>(s.currentRace);
    t[6] = static_cast<uint32_t>(s.clubProgress[0]);
    t[7] = static_cast<uint32_t>(s.clubProgress[1]);
    t[8] = static_cast<uint32_t>(s.clubProgress[2]);
    t[9] = static_cast<uint32_t>(s.currentClub);
}

void setCareerWords(CareerState& s, const uint32_t w[careerImageSize / 4]) {
    setCarWords(s.storedCar, w);
    for (int k = 0; k < carPresetCount; ++k) setCarWords(s.CarPreset[k], w + 18 * (k + 1));
    const uint32_t* t = w + 18 * (carPresetCount + 1);
    s.cash = bitsFloat(t[0]);
    s.stake = bitsFloat(t[1]);
    s.reserved1376 = static_cast<int32_t>(t[2]);
    s.ownedCar = static_cast<int32_t>(t[3]);
    s.reserved1384 = static_cast<int32_t>(t[4]);
    s.currentRace = static_cast<int32_t>(t[5]);
    s.clubProgress[0] = static_cast<int32_t>(t[6]);
    s.clubProgress[1] = static_cast<int32_t>(t[7]);
    s.clubProgress[2] = static_cast<int32_t>(t[8]);
    s.currentClub = static_cast<int32_t>(t[9]);
}

CarConfig makeCar(float speed, float accel, float handling, int roof, int hood, int spoiler, int kit,
                  int optics, int rims, int side, int top, float r, float g, float b, int neon, int model) {
    CarConfig c;
    c.speedRating = speed;
    c.accelRating = accel;
    c.handlingRating = handling;
    c.roofScoop = roof;
    c.hoodScoop = hood;
    c.spoiler = spoiler;
    c.bodyKit = kit;
    c.optics = optics;
    c.rims = rims;
    c.sideVinyl = side;
    c.topVinyl = top;
    c.paintColor[0] = r;
    c.paintColor[1] = g;
    c.paintColor[2] = b;
    c.neon = neon;
    c.carModel = model;
    return c;
}

const CarConfig catalogue[carPresetCount] = {
    makeCar(0.5f, 0.52f, 0.53f, 1, 1, 1, 0, 2, 7, 14, 10, 0.0f, 0.8f, 0.266f, 12, 0),
    makeCar(0.52f, 0.54f, 0.55f, 4, 2, 0, 2, 3, 2, 12, 2, 1.0f, 0.0f, 0.667f, 2, 1),
    makeCar(0.53f, 0.55f, 0.53f, 5, 0, 1, 2, 3, 3, 15, 6, 0.999f, 0.999f, 0.999f, 4, 2),
    makeCar(0.55f, 0.52f, 0.55f, 1, 4, 5, 1, 2, 7, 7, 4, 1.0f, 1.0f, 0.0f, 10, 3),
    makeCar(0.54f, 0.57f, 0.54f, 3, 0, 4, 0, 2, 4, 3, 7, 0.399f, 0.0f, 0.399f, 17, 4),
    makeCar(0.56f, 0.54f, 0.58f, 4, 0, 3, 0, 0, 6, 11, 8, 1.0f, 0.0f, 0.0f, 10, 5),
    makeCar(0.57f, 0.55f, 0.6f, 3, 5, 2, 2, 1, 7, 13, 1, 0.0f, 0.8f, 0.8f, 14, 6),
    makeCar(0.59f, 0.6f, 0.58f, 1, 0, 2, 0, 1, 6, 18, 9, 0.0f, 0.2f, 0.066f, 1, 7),
    makeCar(0.62f, 0.58f, 0.64f, 5, 0, 1, 1, 2, 7, 17, 11, 1.0f, 0.333f, 0.0f, 4, 8),
    makeCar(0.63f, 0.6f, 0.63f, 2, 1, 5, 2, 3, 7, 15, 5, 0.0f, 0.133f, 0.4f, 16, 9),
    makeCar(0.67f, 0.64f, 0.63f, 2, 0, 1, 2, 1, 1, 10, 12, 0.667f, 1.0f, 0.0f, 11, 10),
    makeCar(0.66f, 0.67f, 0.68f, 1, 2, 4, 2, 3, 2, 16, 15, 0.4f, 0.4f, 0.4f, 18, 11),
    makeCar(0.68f, 0.7f, 0.67f, 5, 4, 5, 3, 0, 3, 7, 13, 0.04f, 0.04f, 0.04f, 4, 12),
    makeCar(0.72f, 0.69f, 0.7f, 2, 2, 3, 3, 3, 6, 6, 16, 1.0f, 0.0f, 0.0f, 13, 13),
    makeCar(0.71f, 0.71f, 0.72f, 2, 2, 2, 3, 2, 0, 4, 15, 1.0f, 0.7f, 0.2f, 16, 14),
    makeCar(0.73f, 0.76f, 0.72f, 0, 5, 1, 3, 2, 2, 20, 19, 0.2f, 1.0f, 0.7f, 15, 15),
    makeCar(0.76f, 0.72f, 0.71f, 4, 1, 4, 3, 2, 7, 3, 20, 0.8f, 0.532f, 0.0f, 14, 16),
    makeCar(0.75f, 0.74f, 0.76f, 4, 2, 1, 3, 3, 4, 8, 18, 0.4f, 0.0f, 0.6f, 19, 17),
};

// A career file that exists but could not be read: never written over.
std::string unreadableCareer;

float clampFloat(float v, float low, float high) {
    if (!(v >= low)) return low;  // also a value not a number
    return v > high ? high : v;
}

// Copies fields 0 .. count-1 (in 32-bit words) from one car to another.
void copyCarWords(const CarConfig& from, CarConfig& to, int count) {
    uint32_t src[18], dst[18];
    carWords(from, src);
    carWords(to, dst);
    std::copy(src, src + count, dst);
    setCarWords(to, dst);
}

}  // namespace

void encodeCarConfig(const CarConfig& car, uint8_t out[carConfigSize]) {
    uint32_t w[18];
    carWords(car, w);
    for (int i = 0; i < 18; ++i) putLe32(out + 4 * i, w[i]);
}

void decodeCarConfig(const uint8_t in[carConfigSize], CarConfig& car) {
    uint32_t w[18];
    for (int i = 0; i < 18; ++i) w[i] = getLe32(in + 4 * i);
    setCarWords(car, w);
}

void encodeCareer(const CareerState& state, uint8_t out[careerImageSize]) {
    uint32_t w[careerImageSize / 4];
    careerWords(state, w);
    for (int i = 0; i < careerImageSize / 4; ++i) putLe32(out + 4 * i, w[i]);
}

void decodeCareer(const uint8_t* bytes, size_t size, CareerState& state) {
    uint32_t w[careerImageSize / 4];
    careerWords(state, w);
    size_t words = std::min<size_t>(size, careerImageSize) / 4;
    for (size_t i = 0; i < words; ++i) w[i] = getLe32(bytes + 4 * i);
    setCareerWords(state, w);
}

ReadStatus readCareer(CareerState& state, const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string reason;
    const ReadStatus status = readFileBounded(path, careerImageSize, bytes, &reason);
    if (path == unreadableCareer) unreadableCareer.clear();
    if (status == ReadStatus::Unreadable) {
        unreadableCareer = path;
        std::fprintf(stderr, "Nightrun: %s cannot be read (%s); a new career is played and the file is left as it is\n",
                     path.c_str(), reason.c_str());
    }
    if (status != ReadStatus::Ok) {
        setNewCareerValues(state);
        return status;
    }
    if (careerFromBytes(bytes.data(), bytes.size(), state)) return ReadStatus::Ok;
    // A cut-short career is replaced by a new one at exit; its bytes are kept
    // beside it first, so what the player had is never lost to the new career.
    if (!bytes.empty()) {
        const std::string kept = path + ".damaged";
        const bool copied = writeFileAtomic(kept, bytes.data(), bytes.size());
        std::fprintf(stderr, "Nightrun: %s holds %zu of the career's %d bytes; a new career is played%s%s\n", path.c_str(),
                     bytes.size(), careerImageSize, copied ? " and the old file is kept as " : " (the old file could not be kept)",
                     copied ? kept.c_str() : "");
    }
    return ReadStatus::Missing;
}

bool careerFromBytes(const uint8_t* bytes, size_t size, CareerState& state) {
    if (size < static_cast<size_t>(careerImageSize)) {
        // A damaged career we cannot trust: begin a new one.
        setNewCareerValues(state);
        return false;
    }
    decodeCareer(bytes, size, state);
    clampCareerRanges(state);
    return true;
}

bool writeCareer(const CareerState& state, const std::string& path) {
    if (path == unreadableCareer) {
        std::fprintf(stderr, "Nightrun: the career is not saved: %s could not be read at start and is left as it is\n",
                     path.c_str());
        return false;
    }
    uint8_t image[careerImageSize];
    encodeCareer(state, image);
    return saveGameFile(path, image, sizeof image, "the career");
}

void clampCareerRanges(CareerState& state) {
    CarConfig& car = state.storedCar;
    car.speedRating = clampFloat(car.speedRating, 0.0f, 1.0f);
    car.accelRating = clampFloat(car.accelRating, 0.0f, 1.0f);
    car.handlingRating = clampFloat(car.handlingRating, 0.0f, 1.0f);
    car.roofScoop = std::clamp(car.roofScoop, 0, 5);
    car.hoodScoop = std::clamp(car.hoodScoop, 0, 5);
    car.spoiler = std::clamp(car.spoiler, 0, 5);
    car.bodyKit = std::clamp(car.bodyKit, 0, 3);
    car.optics = std::clamp(car.optics, 0, 3);
    car.rims = std::clamp(car.rims, 0, 7);
    car.sideVinyl = std::clamp(car.sideVinyl, 0, 20);
    car.topVinyl = std::clamp(car.topVinyl, 0, 20);
    for (float& c : car.paintColor) c = clampFloat(c, 0.0f, 1.0f);
    car.neon = std::clamp(car.neon, 0, 20);
    car.techPacket = std::clamp(car.techPacket, 0, 4);
    // Far beyond any prize or price, and still exact as a whole number of dollars.
    state.cash = std::isfinite(state.cash) ? clampFloat(state.cash, -1.0e9f, 1.0e9f) : 0.0f;
    state.stake = clampFloat(state.stake, 0.0f, 300.0f);
    state.ownedCar = std::clamp(state.ownedCar, 0, carPresetCount - 1);
    state.currentRace = std::clamp(state.currentRace, 1, 10);
    for (int32_t& progress : state.clubProgress) progress = std::clamp(progress, 1, 10);
    state.currentClub = std::clamp(state.currentClub, 0, 2);
}

const CarConfig& stockCar(int index) { return catalogue[std::clamp(index, 0, carPresetCount - 1)]; }

void fillCarPresets(CareerState& state) {
    for (int k = 0; k < carPresetCount; ++k) {
        // The catalogue leaves a preset's tech packet alone.
        int32_t tech = state.CarPreset[k].techPacket;
        state.CarPreset[k] = catalogue[k];
        state.CarPreset[k].techPacket = tech;
    }
}

CarConfig defaultCareerCar() {
    return makeCar(0.52f, 0.5f, 0.55f, 1, 1, 4, 3, 2, 6, 9, 13, 1.0f, 0.333f, 0.0f, 3, 4);
}

void setNewCareerValues(CareerState& state) {
    state.cash = 500.0f;
    state.stake = 0.0f;
    state.reserved1376 = 0;
    state.reserved1384 = 2;
    state.currentRace = 1;
    state.clubProgress[0] = state.clubProgress[1] = state.clubProgress[2] = 1;
    state.currentClub = 0;
    CarConfig car = defaultCareerCar();
    copyCarWords(car, state.storedCar, 17);
    state.ownedCar = car.carModel;
}

void storeConfig() {
    copyCarWords(workingCar, careerState.storedCar, 17);
    careerState.ownedCar = workingCar.carModel;
}

void applyStoredConfig() {
    copyCarWords(careerState.storedCar, workingCar, 17);
    workingCar.carModel = careerState.ownedCar;
}

void loadPresetConfig(int k) {
    copyCarWords(stockCar(k), workingCar, 16);
    workingCar.techPacket = 0;
    workingCar.carModel = std::clamp(k, 0, carPresetCount - 1);
}

void resetCareer() {
    setNewCareerValues(careerState);
    workingCar = defaultCareerCar();
    storeConfig();
    paintGarageWithWorkingCar();
    writeCareer(careerState);
}

float effectiveSpeedRating(const CarConfig& car) {
    return std::min(1.0f, car.speedRating + 0.05f * static_cast<float>(car.techPacket));
}
