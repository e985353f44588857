#include "frontend/garage_scene.h"

void loadGarage() {}
void setGarageCar(int, const float*, int, int) {}
