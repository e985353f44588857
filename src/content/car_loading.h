// Race-car models, their parts and liveries.
#pragma once

// Loads every car model at the end of the start-up screen.
void loadAllCarModels();
// Shadows under the race cars and their neon glow.
void drawCarShadowsAndNeon();
