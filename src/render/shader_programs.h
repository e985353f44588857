// The five GLSL programs and their uniform locations, built by the renderer
// set-up from base/shaders/. Each program keeps its own locations (the same
// name in two programs is two locations); -1 means the name was not found.
// What each program does with its uniforms is described in docs/shaders.md.
#pragma once

#include "render/gl_extensions.h"

#include <optional>
#include <string>
#include <vector>

// Lights the track, its glass, the cars, the garage and the environment view.
struct LightProgram {
    GLhandleARB program = 0;
    GLint lightColorGlobal = -1, lightColorLocal = -1;
    GLint lightOri = -1, lightPos = -1, light2Pos = -1, light3Pos = -1, light4Pos = -1, light5Pos = -1;
    GLint ambientColor = -1, matAmbient = -1, matDiffuse = -1, matSpecular = -1, emissive = -1, shininess = -1;
    GLint cameraPos = -1, cameraOri = -1;
    GLint decal = -1, decal2 = -1, decal3 = -1;
    GLint RefInt = -1, GlassNow = -1, GlassAlpha = -1, LightNow = -1, StrongLightNow = -1, NoiseNow = -1;
};

// Separable blur of one screen-effect pass.
struct BlurProgram {
    GLhandleARB program = 0;
    GLint texOffset = -1, intensity = -1, decal = -1;
};

// Bright pass of the glow chain.
struct HdrProgram {
    GLhandleARB program = 0;
    GLint exposure = -1, gamma = -1, decal = -1, decal2 = -1;
};

// Zoom blur of the motion blur.
struct RadialBlurProgram {
    GLhandleARB program = 0;
    GLint speed = -1, decal = -1;
};

// Foliage of the tracks and the garage.
struct TreesProgram {
    GLhandleARB program = 0;
    GLint lightColorLocal = -1;
    GLint lightPos = -1, light2Pos = -1, light3Pos = -1, light4Pos = -1;
    GLint light6Pos = -1, light7Pos = -1, light8Pos = -1, light9Pos = -1;
    GLint ambientColor = -1, matAmbient = -1, matDiffuse = -1, emissive = -1, shininess = -1;
    GLint decal = -1;
};

extern LightProgram lightProgram;
// The Light program built a second time, with SCENERY defined: the same
// lighting without the shine (highlights, reflections, paint flakes), for
// what never shines: the city, its glass and the garage room. The software
// renderer runs every line of a shader for every pixel, so this halves their
// cost. Its shine uniforms are not found (-1), which is expected.
extern LightProgram sceneryProgram;
extern BlurProgram blurProgram;
extern HdrProgram hdrProgram;
extern RadialBlurProgram radialBlurProgram;
extern TreesProgram treesProgram;

// The whole text of a shader source file (at most 1 MB), whatever its line
// lengths; nothing when it is missing, not a regular file, or cannot be read.
std::optional<std::string> readShaderSource(const std::string& path);

// Builds the programs in the order Light, Blur, HDR, Radial blur, Trees (then
// the scenery variant of Light), each
// from "base/shaders/<Name>VS.glsl" and "<Name>PS.glsl", and looks their
// uniforms up. The sampler uniforms are pointed at their texture units (decal
// 0, decal2 1, decal3 2) once, here. A missing source file fails silently; a
// program that does not link shows its log in a message box titled "Error
// linking shaders..." and fails. Needs loadShaderExtensions() first.
bool buildShaderPrograms();

// True once the programs are built (never without a GL context): the drawing
// passes do nothing before.
bool shadersReady();

// Binds a program (0: fixed-function drawing) and remembers which, so drawing
// code can tell whether the Light program is the one its values would reach.
void useProgram(GLhandleARB program);
GLhandleARB boundProgram();
// The record of whichever Light program variant is bound (the Light program's
// when neither is), and whether one is.
const LightProgram& boundLightProgram();
bool lightProgramBound();

// "Program: uniform" for every uniform whose location was not found.
std::vector<std::string> missingUniforms();
