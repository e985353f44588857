#include "race/traffic.h"

#include "app/settings.h"

int32_t trafficLevel = 1;

void setTrafficLevelFromSettings() { trafficLevel = gameSettings.cityTraffic; }
