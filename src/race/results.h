// The results panel after the player's last lap, and the prize.
#pragma once

void drawResults();
