// The race's start overlay: the countdown images and the clock.
#pragma once

void drawStartOverlay();
