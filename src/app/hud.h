// The race HUD: speed, revs, nitro, mini-map, times, place.
#pragma once

void drawHud();
