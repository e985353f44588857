#include "render/post_processing.h"

int effectTextureWidth = 256;
int effectTextureHeight = 256;

void motionBlurPass() {}
void glowPasses() {}
