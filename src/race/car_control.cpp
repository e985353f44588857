#include "race/car_control.h"

float fieldOfViewBoost = 0.0f;
