#include "content/car_loading.h"

void loadAllCarModels() {}
void drawCarShadowsAndNeon() {}
