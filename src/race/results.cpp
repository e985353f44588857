#include "race/results.h"

void drawResults() {}
