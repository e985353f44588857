// The 3D garage behind the menus.
#pragma once

// Loads the garage models and light sprites at the end of the start-up screen.
void loadGarage();
// Repaints the player's livery for the garage.
void setGarageCar(int carModel, const float paintColor[3], int topVinyl, int sideVinyl);
