// The AI driving line of a track: the chain of points the computer drivers
// follow and the race counts checkpoints on.
#pragma once

// Reads base/maps/<slot>/points/level.ai into the path. False when the slot has
// no readable path (the path is then empty).
bool loadAiPath(int slot);
