// GL state, extensions, render targets and shader programs, set up when the window opens.
#pragma once

// Runs once per created window, right after its GL context exists: global GL
// state, the multitexture and shader entry points, TGA entries 0..40, the
// loading-screen textures and fonts, GameState 1, the render targets and
// livery textures, the particle effects and the five shader programs.
// Returns false when the shaders cannot be had (no GLSL support, a missing
// source, a program that does not link: the last shows its own message).
bool rendererSetup();
