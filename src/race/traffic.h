// City traffic.
#pragma once

#include <cstdint>

// 0 none, 1 normal, 2 heavy; copied from the settings at start and when changed.
extern int32_t trafficLevel;
void setTrafficLevelFromSettings();
