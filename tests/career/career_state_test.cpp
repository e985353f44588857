#include "app/file_io.h"
#include "app/statistics_page.h"
#include "frontend/career_state.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <limits>

#include <cstring>
#include <fstream>
#include <vector>

namespace {

std::vector<uint8_t> careerFile() {
    std::vector<uint8_t> bytes;
    readFileBounded(careerPath, 4096, bytes);
    return bytes;
}

void freshCareer() {
    careerState = CareerState{};
    workingCar = CarConfig{};
}

bool sameCar(const CarConfig& a, const CarConfig& b) {
    uint8_t x[carConfigSize], y[carConfigSize];
    encodeCarConfig(a, x);
    encodeCarConfig(b, y);
    return std::memcmp(x, y, carConfigSize) == 0;
}

}  // namespace

TEST(CareerFile, NewCareerWritesTheStartingValuesAtTheirOffsets) {
    ScopedTempDir dir;
    freshCareer();
    resetCareer();
    std::vector<uint8_t> bytes = careerFile();
    ASSERT_EQ(bytes.size(), 1408u);
    auto f = [](float v) { uint32_t u; std::memcpy(&u, &v, 4); return u; };
    // Cash, owned car, stake, the two reserved words, race, club 0's progress and the club;
    // the stored car is the default car (speed rating, acceleration, spoiler, paint green).
    const std::pair<size_t, uint32_t> words[] = {{1368, f(500.0f)}, {1380, 4}, {1372, f(0.0f)}, {1376, 0},
                                                 {1384, 2},          {1388, 1}, {1392, 1},       {1404, 0},
                                                 {0, f(0.52f)},      {4, f(0.5f)}, {20, 4},      {48, f(0.333f)}};
    for (auto [at, value] : words) EXPECT_EQ(getLe32(&bytes[at]), value) << "offset " << at;
}

TEST(CareerFile, RoundTripKeepsProgressAndTheStoredCar) {
    ScopedTempDir dir;
    freshCareer();
    setNewCareerValues(careerState);
    careerState.cash = 1234.5f;
    careerState.clubProgress[1] = 7;
    careerState.currentClub = 1;
    careerState.currentRace = 6;
    careerState.ownedCar = 13;
    careerState.storedCar.neon = 9;
    careerState.storedCar.carModel = 0x5EED;  // reserved slot keeps whatever it holds
    ASSERT_TRUE(writeCareer(careerState));
    CareerState loaded;
    ASSERT_EQ(readCareer(loaded), ReadStatus::Ok);
    uint8_t a[careerImageSize], b[careerImageSize];
    encodeCareer(careerState, a);
    encodeCareer(loaded, b);
    EXPECT_EQ(std::memcmp(a, b, careerImageSize), 0);
}

TEST(CareerFile, PresetsAlwaysComeFromTheCatalogue) {
    ScopedTempDir dir;
    freshCareer();
    setNewCareerValues(careerState);
    for (CarConfig& preset : careerState.CarPreset) {
        preset.speedRating = 9.0f;
        preset.rims = 77;
        preset.techPacket = 3;
    }
    ASSERT_TRUE(writeCareer(careerState));
    CareerState loaded;
    ASSERT_EQ(readCareer(loaded), ReadStatus::Ok);
    fillCarPresets(loaded);
    for (int k = 0; k < carPresetCount; ++k) {
        CarConfig expected = stockCar(k);
        expected.techPacket = 3;  // the catalogue never sets a preset's tech packet
        EXPECT_TRUE(sameCar(loaded.CarPreset[k], expected)) << k;
    }
}

TEST(CareerFile, MissingOrShortFileStartsANewCareerAndTheShortOneIsKept) {
    ScopedTempDir dir;
    CareerState state;
    EXPECT_EQ(readCareer(state), ReadStatus::Missing);
    EXPECT_EQ(state.cash, 500.0f);
    EXPECT_EQ(state.ownedCar, 4);
    std::ofstream(careerPath, std::ios::binary) << "short";
    CareerState shortState;
    EXPECT_EQ(readCareer(shortState), ReadStatus::Missing);
    EXPECT_EQ(shortState.cash, 500.0f);
    // The new career written at exit replaces the file, not what it held.
    ASSERT_TRUE(writeCareer(shortState));
    std::vector<uint8_t> kept;
    ASSERT_EQ(readFileBounded(careerPath + ".damaged", 4096, kept), ReadStatus::Ok);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "short");
    EXPECT_EQ(careerFile().size(), size_t(careerImageSize));
}

TEST(CareerFile, LongerFileReadsItsFirst1408Bytes) {
    ScopedTempDir dir;
    freshCareer();
    setNewCareerValues(careerState);
    careerState.cash = 42.0f;
    uint8_t image[careerImageSize];
    encodeCareer(careerState, image);
    std::ofstream file(careerPath, std::ios::binary);
    file.write(reinterpret_cast<const char*>(image), careerImageSize);
    file << "trailing garbage";
    file.close();
    CareerState loaded;
    ASSERT_EQ(readCareer(loaded), ReadStatus::Ok);
    EXPECT_EQ(loaded.cash, 42.0f);
}

TEST(CareerFile, IndicesAndAmountsOutOfRangeAreClampedWhenRead) {
    ScopedTempDir dir;
    CareerState damaged;
    setNewCareerValues(damaged);
    damaged.ownedCar = INT32_MAX;
    damaged.currentClub = -7;
    damaged.currentRace = 1000;
    damaged.clubProgress[0] = INT32_MIN;
    damaged.clubProgress[2] = 11;
    damaged.cash = std::numeric_limits<float>::quiet_NaN();
    damaged.stake = 1e30f;
    damaged.storedCar.rims = 99;
    damaged.storedCar.neon = -1;
    damaged.storedCar.techPacket = 1000;
    damaged.storedCar.speedRating = std::numeric_limits<float>::infinity();
    damaged.storedCar.paintColor[1] = std::numeric_limits<float>::quiet_NaN();
    damaged.storedCar.carModel = 0x5EED;  // the reserved slot and field are kept as they are
    damaged.reserved1384 = -9;
    uint8_t image[careerImageSize];
    encodeCareer(damaged, image);
    std::ofstream(careerPath, std::ios::binary).write(reinterpret_cast<const char*>(image), careerImageSize);

    CareerState c;
    ASSERT_EQ(readCareer(c), ReadStatus::Ok);
    EXPECT_EQ(c.ownedCar, 17);
    EXPECT_EQ(c.currentClub, 0);
    EXPECT_EQ(c.currentRace, 10);
    EXPECT_EQ(c.clubProgress[0], 1);
    EXPECT_EQ(c.clubProgress[2], 10);
    EXPECT_EQ(c.cash, 0.0f);
    EXPECT_EQ(c.stake, 300.0f);
    EXPECT_EQ(c.storedCar.rims, 7);
    EXPECT_EQ(c.storedCar.neon, 0);
    EXPECT_EQ(c.storedCar.techPacket, 4);
    EXPECT_EQ(c.storedCar.speedRating, 1.0f);
    EXPECT_EQ(c.storedCar.paintColor[1], 0.0f);
    EXPECT_EQ(c.storedCar.carModel, 0x5EED);
    EXPECT_EQ(c.reserved1384, -9);

    // The statistics page keeps its numbers in range whatever the career holds.
    const std::string page = statisticsPageHtml(damaged);
    EXPECT_NE(page.find("Car 18"), std::string::npos) << page;
    EXPECT_NE(page.find("NIGHT WIND Club</td><td class=\"v\">race 1 of 10"), std::string::npos) << page;
}

TEST(CarCopies, QuickRaceCopiesThePresetAndLeavingRestoresTheStoredCar) {
    freshCareer();
    setNewCareerValues(careerState);
    fillCarPresets(careerState);
    applyStoredConfig();
    CarConfig before = workingCar;
    workingCar.techPacket = 2;
    storeConfig();
    before.techPacket = 2;
    loadPresetConfig(7);
    EXPECT_TRUE(sameCar(workingCar, stockCar(7)));
    EXPECT_EQ(workingCar.techPacket, 0);
    applyStoredConfig();
    EXPECT_TRUE(sameCar(workingCar, before));
}

TEST(CarCopies, StoreConfigKeepsTheReservedModelSlot) {
    freshCareer();
    careerState.storedCar.carModel = 99;
    workingCar = stockCar(3);
    storeConfig();
    EXPECT_EQ(careerState.ownedCar, 3);
    EXPECT_EQ(careerState.storedCar.carModel, 99);
    EXPECT_EQ(careerState.storedCar.hoodScoop, stockCar(3).hoodScoop);
}
