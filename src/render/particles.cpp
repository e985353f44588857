#include "render/particles.h"

void loadParticleEffects() {}
