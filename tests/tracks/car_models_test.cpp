// Car models: every file lands in its slot, textures only where the car's own
// models carry them, and choosing a part draws another loaded model without
// reading any file.
#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "tracks_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <utility>
#include <vector>

using namespace tracks_test;

namespace {

const char* const partFiles[33] = {
    "car.sbm",          "glass_car.sbm",     "obves0.sbm",        "obves1.sbm",        "obves2.sbm",
    "obves3.sbm",       "krilo0.sbm",        "krilo1.sbm",        "krilo2.sbm",        "krilo3.sbm",
    "krilo4.sbm",       "krilo5.sbm",        "kovsh_top0.sbm",    "kovsh_top1.sbm",    "kovsh_top2.sbm",
    "kovsh_top3.sbm",   "kovsh_top4.sbm",    "kovsh_top5.sbm",    "kovsh0.sbm",        "kovsh1.sbm",
    "kovsh2.sbm",       "kovsh3.sbm",        "kovsh4.sbm",        "kovsh5.sbm",        "optika0.sbm",
    "optika1.sbm",      "optika2.sbm",       "optika3.sbm",       "glass_optika0.sbm", "glass_optika1.sbm",
    "glass_optika2.sbm", "glass_optika3.sbm", "pilot.sbm"};

// The models of one part set in the order of partFiles.
std::vector<const SbmModel*> partSlots(const CarPartSet& set) {
    std::vector<const SbmModel*> slots{&set.body, &set.windowGlass};
    for (const SbmModel& m : set.bodyKit) slots.push_back(&m);
    for (const SbmModel& m : set.spoiler) slots.push_back(&m);
    for (const SbmModel& m : set.roofScoop) slots.push_back(&m);
    for (const SbmModel& m : set.hoodScoop) slots.push_back(&m);
    for (const SbmModel& m : set.optics) slots.push_back(&m);
    for (const SbmModel& m : set.opticsGlass) slots.push_back(&m);
    slots.push_back(&set.driver);
    return slots;
}

constexpr const char* sharedTexture = "base/cars/skin.tga";

class CarModelsTest : public ::testing::Test {
protected:
    std::unique_ptr<ScopedTempDir> dir;

    void SetUp() override {
        ASSERT_TRUE(glContext());
        dir = std::make_unique<ScopedTempDir>("cars");
        ASSERT_TRUE(writeFileBytes(sharedTexture, solidTga32(4, 4, 200, 10, 10, 255)));
    }
    void TearDown() override {
        releaseAllCarModels();
        sendCarShaderValue = nullptr;
        dir.reset();
    }
};

// Renders with a plain orthographic view of x, y -8..8 onto the 320 x 320 window.
void beginPlainView() {
    orthoWindowView();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

// World x, y to window pixels for the view above.
bool litAt(float x, float y) {
    const auto rgba = pixelAt(int((x + 8.0f) * 20.0f), int((y + 8.0f) * 20.0f));
    return rgba[0] > 128 && rgba[1] > 128 && rgba[2] > 128;
}

}  // namespace

TEST_F(CarModelsTest, EveryFileLandsInItsSlot) {
    // Every model that carries a texture names the same one; only the optics,
    // the wheels and the traffic cars may load it.
    for (int body = 0; body < bodyModelCount; ++body)
        for (int f = 0; f < 33; ++f)
            ASSERT_TRUE(writeModel(std::string(carDirectory(body)) + partFiles[f],
                                   markerModel(body * 33 + f + 1, sharedTexture)));
    for (int k = 0; k < rimsCount; ++k)
        ASSERT_TRUE(writeModel("base/cars/wheels/" + std::to_string(k) + ".sbm", markerModel(200 + k, sharedTexture)));
    for (int k = 0; k < trafficCarModelCount; ++k)
        ASSERT_TRUE(writeModel("base/city/car" + std::to_string(k) + ".sbm", markerModel(210 + k, sharedTexture)));
    ASSERT_TRUE(writeModel("base/city/wheel.sbm", markerModel(215, sharedTexture)));

    loadAllCarModels();

    for (int body = 0; body < bodyModelCount; ++body) {
        const std::vector<const SbmModel*> slots = partSlots(carPartSets[body]);
        ASSERT_EQ(slots.size(), 33u);
        for (int f = 0; f < 33; ++f) {
            SCOPED_TRACE(std::string(carDirectory(body)) + partFiles[f]);
            EXPECT_EQ(slots[size_t(f)]->triangleCount(), body * 33 + f + 1);
            const bool optics = f >= 24 && f <= 27;
            EXPECT_EQ(slots[size_t(f)]->materials[0].texture != 0, optics);
        }
    }
    for (int k = 0; k < rimsCount; ++k) {
        EXPECT_EQ(wheelSet.rims[k].triangleCount(), 200 + k);
        EXPECT_NE(wheelSet.rims[k].materials[0].texture, 0u);
    }
    for (int k = 0; k < trafficCarModelCount; ++k) {
        EXPECT_EQ(trafficSet.cars[k].triangleCount(), 210 + k);
        EXPECT_NE(trafficSet.cars[k].materials[0].texture, 0u);
    }
    EXPECT_EQ(trafficSet.wheel.triangleCount(), 215);

    // Released, nothing is left.
    const uint32_t opticsTexture = carPartSets[3].optics[1].materials[0].texture;
    releaseAllCarModels();
    EXPECT_FALSE(glIsTexture(opticsTexture));
    EXPECT_TRUE(carPartSets[3].optics[1].empty());
    EXPECT_TRUE(wheelSet.rims[7].empty());
}

TEST_F(CarModelsTest, ChoosingAPartDrawsAnotherLoadedModelAndReadsNoFile) {
    // Spoiler k of body model 2 is a square at x = -6 + 2k; body model 2's body sits
    // low, body model 1's high.
    for (int k = 0; k < spoilerCount; ++k)
        ASSERT_TRUE(writeModel("base/cars/2/krilo" + std::to_string(k) + ".sbm",
                               rectangleModel(-6.0f + 2.0f * k, 0.0f, -5.0f + 2.0f * k, 1.0f)));
    ASSERT_TRUE(writeModel("base/cars/2/car.sbm", rectangleModel(-1, -6, 1, -5)));
    ASSERT_TRUE(writeModel("base/cars/1/car.sbm", rectangleModel(-1, 5, 1, 6)));
    loadAllCarModels();
    // From here on no car file exists.
    std::filesystem::remove_all("base");

    CarPlacement placement;
    placement.shown = true;
    for (int model : {2, 8, 14}) {
        for (int k = 0; k < spoilerCount; ++k) {
            SCOPED_TRACE("car " + std::to_string(model) + " spoiler " + std::to_string(k));
            CarAppearance looks;
            looks.carModel = model;
            looks.spoiler = k;
            beginPlainView();
            drawCar(looks, 0, placement);
            for (int other = 0; other < spoilerCount; ++other)
                EXPECT_EQ(litAt(-5.5f + 2.0f * other, 0.5f), other == k) << "square " << other;
            EXPECT_TRUE(litAt(0.0f, -5.5f));   // body model 2
            EXPECT_FALSE(litAt(0.0f, 5.5f));   // not body model 1
        }
    }

    // A value outside the set draws no spoiler at all.
    CarAppearance odd;
    odd.carModel = 2;
    odd.spoiler = 9;
    beginPlainView();
    drawCar(odd, 0, placement);
    for (int other = 0; other < spoilerCount; ++other) EXPECT_FALSE(litAt(-5.5f + 2.0f * other, 0.5f));
}

namespace {
std::vector<std::pair<CarShaderValue, float>> sentValues;
void recordValue(CarShaderValue value, float amount) { sentValues.emplace_back(value, amount); }
}  // namespace

TEST_F(CarModelsTest, OpticsGroupsAreLitByTheCarsThreeLightValues) {
    // Optics 1 of body model 0 with four groups.
    sbm::Model optics = markerModel(4);
    optics.groups.clear();
    for (uint16_t g = 0; g < 4; ++g) {
        sbm::Group group;
        group.name = "lamp";
        group.material = 0;
        group.triangles = {g};
        optics.groups.push_back(group);
    }
    ASSERT_TRUE(writeModel("base/cars/0/optika1.sbm", optics));
    loadAllCarModels();

    sentValues.clear();
    sendCarShaderValue = recordValue;
    CarAppearance looks;
    looks.optics = 1;
    CarPlacement placement;
    placement.lights[0] = 0.25f;
    placement.lights[1] = 0.5f;
    placement.lights[2] = 0.75f;
    beginPlainView();
    drawCar(looks, 0, placement);

    std::vector<float> lightNow;
    for (const auto& [value, amount] : sentValues)
        if (value == CarShaderValue::LightNow) lightNow.push_back(amount);
    EXPECT_EQ(lightNow, (std::vector<float>{0.25f, 0.5f, 0.75f, 0.0f, 0.0f}));

    // Whatever the drawing and the glass pass switch on (reflection, paint noise,
    // glass) is off again when they end, so nothing leaks into the next drawing.
    auto expectAllOff = [](const char* pass) {
        std::map<CarShaderValue, float> last;
        for (const auto& [value, amount] : sentValues) last[value] = amount;
        ASSERT_FALSE(last.empty()) << pass;
        for (const auto& [value, amount] : last)
            if (value != CarShaderValue::GlassAlpha) EXPECT_EQ(amount, 0.0f) << pass << " value " << int(value);
    };
    expectAllOff("car");
    EXPECT_NE(std::find(sentValues.begin(), sentValues.end(), std::make_pair(CarShaderValue::NoiseNow, 1.0f)),
              sentValues.end()) << "the paint carries its noise";
    placement.shown = true;
    sentValues.clear();
    drawCarGlass(&looks, &placement, 1);
    EXPECT_EQ(sentValues.front(), std::make_pair(CarShaderValue::GlassNow, 1.0f));
    expectAllOff("glass");
}
