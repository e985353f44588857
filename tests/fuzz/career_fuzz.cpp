// base/career.inf as the game reads it, and what the game derives from it
// before any screen: the working car, the garage car's looks, the opponents of
// a career race, the race speed and the statistics page.
#include "app/statistics_page.h"
#include "content/car_loading.h"
#include "content/livery.h"
#include "content/track_loading.h"
#include "frontend/career_state.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    careerFromBytes(data, size, careerState);
    fillCarPresets(careerState);
    applyStoredConfig();
    const CarAppearance looks = appearanceOf(workingCar);
    liveryTemplateImage(looks.carModel);
    vinylTopImage(looks.topVinyl);
    vinylSideImage(looks.sideVinyl);
    neonGlow(looks.neon, 1.0f);
    int opponents[3];
    pickOpponentModels(workingCar.carModel, true, careerState.currentClub, opponents);
    for (int m : opponents) appearanceOf(careerState.CarPreset[m]);
    if (!(effectiveSpeedRating(workingCar) <= 1.0f)) __builtin_trap();
    statisticsPageHtml(careerState);
    storeConfig();
    uint8_t image[careerImageSize];
    encodeCareer(careerState, image);
    return 0;
}
