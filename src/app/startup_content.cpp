#include "app/startup_content.h"

#include "content/car_loading.h"
#include "frontend/career_state.h"
#include "frontend/garage_scene.h"

void loadStartupContent() {
    loadAllCarModels();
    fillCarPresets(careerState);
    applyStoredConfig();
    loadGarage();
    setGarageCar(careerState.ownedCar, careerState.storedCar.paintColor, careerState.storedCar.topVinyl,
                 careerState.storedCar.sideVinyl);
}
