#include "render/sky.h"

#include "app/frame_timer.h"
#include "content/texture_tables.h"
#include "render/gl_extensions.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>

float skyPhase = 0.0f;

namespace {

constexpr int slices = 16;
constexpr int stacks = 16;
constexpr float nightBlue = 0.05f;
constexpr float cloudGrey = 0.1f;

// A sphere of radius 1 laid out like a GLU quadric sphere (slices around z,
// stacks from -z to +z, s around and t upwards, smooth normals), kept in
// display lists: one with texture coordinates for one unit, one with the
// same coordinates for units 0 and 1.
GLuint sphereLists = 0;

void sphereVertex(int slice, int stack, bool twoUnits) {
    const float pi = 3.14159265f;
    const float rho = pi * float(stack) / stacks;
    const float theta = slice == slices ? 0.0f : 2.0f * pi * float(slice) / slices;
    const float x = -std::sin(theta) * std::sin(rho), y = std::cos(theta) * std::sin(rho), z = -std::cos(rho);
    const float s = float(slice) / slices, t = float(stack) / stacks;
    glNormal3f(x, y, z);
    if (twoUnits) {
        arb::glMultiTexCoord2fARB(GL_TEXTURE0_ARB, s, t);
        arb::glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, t);
    } else {
        glTexCoord2f(s, t);
    }
    glVertex3f(x, y, z);
}

void buildSphere(bool twoUnits) {
    for (int stack = 0; stack < stacks; ++stack) {
        glBegin(GL_QUAD_STRIP);
        for (int slice = 0; slice <= slices; ++slice) {
            sphereVertex(slice, stack + 1, twoUnits);
            sphereVertex(slice, stack, twoUnits);
        }
        glEnd();
    }
}

void sphere(float radius, bool twoUnits) {
    if (sphereLists == 0) {
        sphereLists = glGenLists(2);
        glNewList(sphereLists, GL_COMPILE);
        buildSphere(false);
        glEndList();
        if (multitextureSupported) {
            glNewList(sphereLists + 1, GL_COMPILE);
            buildSphere(true);
            glEndList();
        }
    }
    glPushMatrix();
    glScalef(radius, radius, radius);
    glCallList(sphereLists + (twoUnits ? 1 : 0));
    glPopMatrix();
}

void textureShift(float s, float r) {
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(skyPhase, 0.0f, 0.0f);
    glTranslatef(s, 0.0f, r);
    glMatrixMode(GL_MODELVIEW);
}

// The two drifting cloud layers as two additive passes over the dark dome.
void drawInPasses() {
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, nightBlue, 1.0f);
    sphere(14500.0f, false);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(cloudGrey, cloudGrey, cloudGrey, 1.0f);
    glBindTexture(GL_TEXTURE_2D, BmpTable[36]);
    textureShift(skyPhase * 10.0f, skyPhase * 3.7f);
    sphere(14000.0f, false);
    textureShift(skyPhase * 12.2f, skyPhase * 8.0f);
    sphere(12800.0f, false);
    glDisable(GL_BLEND);
}

void setCombine(GLenum function, GLenum source0, GLenum source1, GLenum source2) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GLint(function));
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GLint(source0));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GLint(source1));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_ARB, GLint(source2));
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB_ARB, GL_SRC_COLOR);
}

void useUnit(GLenum unit, float s, float r) {
    arb::glActiveTextureARB(unit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, BmpTable[36]);
    textureShift(s, r);
}

void resetUnit(GLenum unit) {
    arb::glActiveTextureARB(unit);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glBindTexture(GL_TEXTURE_2D, 0);
    if (unit != GL_TEXTURE0_ARB) glDisable(GL_TEXTURE_2D);
}

// The same picture in one pass (the dome is the only thing behind the sky,
// over a cleared black frame): dark blue + 0.1 x (layer A + layer B), built
// by the texture units. Unit 0: layer A x (0.1 / 0.9); unit 1: 0.1 x layer B
// + 0.9 x unit 0; unit 2: + the night blue. One sphere carries both layers;
// their spheres differ by a few per cent in radius, which no one can see.
void drawInOnePass() {
    const float constant[4] = {cloudGrey, cloudGrey, cloudGrey, 1.0f};
    const float blue[4] = {0.0f, 0.0f, nightBlue, 1.0f};
    glColor4f(cloudGrey / 0.9f, cloudGrey / 0.9f, cloudGrey / 0.9f, 1.0f);
    useUnit(GL_TEXTURE0_ARB, skyPhase * 10.0f, skyPhase * 3.7f);
    setCombine(GL_MODULATE, GL_TEXTURE, GL_PRIMARY_COLOR_ARB, GL_PRIMARY_COLOR_ARB);
    useUnit(GL_TEXTURE1_ARB, skyPhase * 12.2f, skyPhase * 8.0f);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
    setCombine(GL_INTERPOLATE_ARB, GL_TEXTURE, GL_PREVIOUS_ARB, GL_CONSTANT_ARB);
    useUnit(GL_TEXTURE2_ARB, 0.0f, 0.0f);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, blue);
    setCombine(GL_ADD, GL_PREVIOUS_ARB, GL_CONSTANT_ARB, GL_CONSTANT_ARB);

    sphere(13400.0f, true);

    resetUnit(GL_TEXTURE2_ARB);
    resetUnit(GL_TEXTURE1_ARB);
    resetUnit(GL_TEXTURE0_ARB);
}

}  // namespace

void drawSky() {
    glDisable(GL_CULL_FACE);
    skyPhase += 0.000001f * frameTiming.frameTicks;
    glPushMatrix();
    glTranslatef(0.0f, -700.0f, 0.0f);
    glScalef(1.0f, 0.14f, 1.0f);

    if (multitextureSupported && textureUnitCount >= 3) drawInOnePass();
    else drawInPasses();

    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
}
