// Flat drawing in a 2D projection: the overlays' 800 x 600 screen space (x to
// the right and y up from the lower-left corner, whatever the window's size)
// and a textured quad for any such projection.
#pragma once

// Sets the projection to screen space, keeping the previous one on the stack,
// and clears the modelview.
void beginScreenSpace();
// Restores the projection kept by beginScreenSpace and clears the modelview.
void endScreenSpace();

// A quad over x0..x1, y0..y1 showing the whole bound texture, its first row at y0.
void texturedQuad(float x0, float y0, float x1, float y1);
