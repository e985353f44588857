// The player's car control.
#pragma once

// Extra field of view while the nitro burns; widens the race projection.
extern float fieldOfViewBoost;
