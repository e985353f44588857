#include "app/startup_content.h"

#include "content/car_loading.h"
#include "content/texture_tables.h"
#include "frontend/career_state.h"
#include "frontend/shop_prices.h"
#include "frontend/garage_scene.h"
#include "platform/platform.h"

void loadStartupContent() {
    // Without a GL context (the windowless test back end) there is nothing to upload to.
    if (platform::hasGlContext()) {
        loadBmpTable();
        loadTgaTableVinyls();
        loadAllCarModels();
    }
    fillCarPresets(careerState);
    fillPriceTables();
    applyStoredConfig();
    if (platform::hasGlContext()) {
        loadGarage();
        setGarageCar(careerState.ownedCar, careerState.storedCar.paintColor, careerState.storedCar.topVinyl,
                     careerState.storedCar.sideVinyl);
    }
}
