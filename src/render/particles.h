// Particle effects: exhaust fire and smoke, wheel dust, the checkpoint light.
#pragma once

// Loads the thirteen emitters from base/effects/ (called by the renderer set-up).
void loadParticleEffects();
