#include "race/chase_camera.h"

Vec3 listenerPosition;

void updateChaseCamera(bool) {}
