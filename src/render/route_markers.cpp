#include "render/route_markers.h"

#include "content/texture_tables.h"
#include "race/ai_path.h"

#include <GL/gl.h>

#include <cmath>

float markerPhase = 0.0f;

namespace {

constexpr float nearest = 10.0f;
constexpr float farthest = 100.0f;
constexpr int arrowImage = 6;
constexpr int markerImage = 9;
constexpr int ringImage = 10;

// A flat quad over x -hx..hx and z -hz..hz at height y; the texture's t runs
// from the +z edge (0) to the -z edge (1).
void flatQuad(float hx, float hz, float y) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-hx, y, hz);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(hx, y, hz);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(hx, y, -hz);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-hx, y, -hz);
    glEnd();
}

}  // namespace

void advanceMarkerPhase(float frameTicks) { markerPhase += 0.075f * frameTicks; }

float markerAlpha(float d) {
    if (!(d > nearest && d < farthest)) return 0.0f;
    return std::fmin((d - nearest) * 0.1f, 1.0f);
}

std::vector<RouteMarker> routeMarkers(const TrackPoint* points, int32_t last, Vec3 player, int32_t nextCheckpoint) {
    std::vector<RouteMarker> markers;
    if (!points || last < 0) return markers;
    for (int32_t k = last; k >= 0; --k) {
        const Vec3 here = pointPosition(points[k]);
        const float d = length(here - player);
        if (!(d > nearest && d < farthest)) continue;
        const int32_t next = k == last ? 0 : k + 1;
        const int32_t previous = k == 0 ? last : k - 1;
        const Vec3 along = pointPosition(points[next]) - here;
        RouteMarker m;
        m.point = k;
        m.heading = std::atan2(-along.z, along.x) * 57.29578f;
        m.alpha = markerAlpha(d);
        const bool checkpoint = points[k].kind == checkpointKind;
        m.rings = checkpoint;
        m.green = !checkpoint || k == nextCheckpoint;
        m.arrow = !checkpoint && points[previous].kind != checkpointKind && points[next].kind != checkpointKind;
        markers.push_back(m);
    }
    return markers;
}

void drawRouteMarkers(const TrackPoint* points, const std::vector<RouteMarker>& markers) {
    if (markers.empty()) return;
    const float s1 = 0.5f * std::sin(markerPhase) + 1.5f;
    const float s2 = 0.75f * std::sin(markerPhase) + 1.5f;
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    for (const RouteMarker& m : markers) {
        const TrackPoint& p = points[m.point];
        if (m.green) glColor4f(0.0f, 1.0f, 0.0f, m.alpha);
        else glColor4f(1.0f, 0.25f, 0.0f, m.alpha);
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        glRotatef(m.heading - 90.0f, 0.0f, 1.0f, 0.0f);
        if (m.rings) {
            glBindTexture(GL_TEXTURE_2D, TgaTable[markerImage].texture);
            flatQuad(3.0f * s1, 3.0f * s1, -0.65f);
            glBindTexture(GL_TEXTURE_2D, TgaTable[ringImage].texture);
            flatQuad(4.0f * s2, 4.0f * s2, -0.65f);
        }
        if (m.arrow) {
            glBindTexture(GL_TEXTURE_2D, TgaTable[arrowImage].texture);
            flatQuad(1.0f, 4.0f, -0.75f);
        }
        glPopMatrix();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDepthMask(GL_TRUE);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
