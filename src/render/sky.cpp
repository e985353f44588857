#include "render/sky.h"

#include "app/frame_timer.h"
#include "content/texture_tables.h"

#include <GL/gl.h>
#include <GL/glu.h>

float skyPhase = 0.0f;

namespace {

// The dome is the same every frame: a sphere of radius 1 kept in a display
// list and scaled to each layer's radius (normals are not used: no lighting).
GLuint sphereList = 0;

void unitSphere() {
    if (sphereList == 0) {
        GLUquadric* quadric = gluNewQuadric();
        if (!quadric) return;
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, GL_TRUE);
        sphereList = glGenLists(1);
        glNewList(sphereList, GL_COMPILE);
        gluSphere(quadric, 1.0, 16, 16);
        glEndList();
        gluDeleteQuadric(quadric);
    }
    glCallList(sphereList);
}

void sphere(float radius) {
    glPushMatrix();
    glScalef(radius, radius, radius);
    unitSphere();
    glPopMatrix();
}

void shiftTexture(float s, float r) {
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glTranslatef(s, 0.0f, r);
    glMatrixMode(GL_MODELVIEW);
}

void unshiftTexture() {
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

void drawSky() {
    glDisable(GL_CULL_FACE);
    skyPhase += 0.000001f * frameTiming.frameTicks;
    glPushMatrix();
    glTranslatef(0.0f, -700.0f, 0.0f);
    glScalef(1.0f, 0.14f, 1.0f);

    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.05f, 1.0f);
    sphere(14500.0f);

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(0.1f, 0.1f, 0.1f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, BmpTable[36]);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glTranslatef(skyPhase, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    shiftTexture(skyPhase * 10.0f, skyPhase * 3.7f);
    sphere(14000.0f);
    unshiftTexture();
    shiftTexture(skyPhase * 12.2f, skyPhase * 8.0f);
    sphere(12800.0f);
    unshiftTexture();

    glDisable(GL_BLEND);
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
}
