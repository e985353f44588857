// The race world: environment view, track layers, sky, trees, glass.
#pragma once

// Renders the view the reflections sample (race or garage).
void drawEnvironmentView(bool race);
// The track with its shader settings, the sky and the trees (after the camera).
void drawWorld();
